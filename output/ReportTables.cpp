#include "output/ReportTables.h"

namespace orvento::output {

namespace {

using T = ColumnType;

struct Col {
    const char* name;
    ColumnType type;
    int size;
    const char* caption;
};

ReportTable build(const char* name, std::initializer_list<Col> columns) {
    ReportTable table(QString::fromLatin1(name));
    for (const Col& c : columns)
        table.column(QString::fromLatin1(c.name), c.type, c.size, QString::fromUtf8(c.caption));
    return table;
}

} // namespace

ReportTable infoTable() {
    // Paths and the printer's name are not cut to their nominal 255 characters: a cut path names
    // another file. The schema is the same either way.
    return build("Info", {{"OperationType", T::Text, 255, ""},
                          {"ReportFileName", T::Text, 0, ""},
                          {"PrinterName", T::Text, 0, ""},
                          {"PageRangeFrom", T::Integer, 0, ""},
                          {"PageRangeTo", T::Integer, 0, ""},
                          {"PageCopies", T::Integer, 0, ""},
                          {"ExportFileName", T::Text, 0, ""}});
}

ReportTable offerHeaderTable() {
    return build("mtHlavickaNab",
                 {{"Doklad", T::Text, 10, "Číslo nabídky"},
                  {"Popis", T::Text, 50, "Popis nabídky"},
                  {"ZpPlatby", T::Text, 20, "Způsob platby"},
                  {"Doprava", T::Text, 20, ""},
                  {"DatVystaveni", T::Text, 10, "Datum vystavení"},
                  {"DatVyrizeni", T::Text, 10, "Datum vyřízení"},
                  {"DatPlatnosti", T::Text, 10, "Datum platnosti"},
                  {"AdrNazev", T::Text, 50, "Odběratel - název"},
                  {"AdrUlice", T::Text, 30, "Odběratel - ulice"},
                  {"AdrPsc", T::Text, 10, "Odběratel - PSČ"},
                  {"AdrMisto", T::Text, 40, "Odběratel - místo"},
                  {"AdrICO", T::Text, 10, "Odběratel - IČO"},
                  {"AdrDIC", T::Text, 20, "Odběratel - DIČ"},
                  {"Nadpis", T::Text, 50, "Nadpis dokladu"},
                  {"TextPred", T::Memo, 0, "Text před položkami"},
                  {"TextZa", T::Memo, 0, "Text za položkami"},
                  {"Poznamka", T::Memo, 0, "Poznámka"},
                  {"AdrKontakt", T::Text, 85, "Odběratel - kontakt. osoba"},
                  {"Celkem", T::Double, 0, "Cena celkem s DPH"},
                  {"DodNazev", T::Text, 50, "Dodavatel - Název"},
                  {"DodUlice", T::Text, 30, "Dodavatel - ulice"},
                  {"DodPSC", T::Text, 10, "Dodavatel - PSČ"},
                  {"DodMisto", T::Text, 40, "Dodavatel - Místo"},
                  {"DodICO", T::Text, 10, "Dodavatel - IČO"},
                  {"DodDIC", T::Text, 20, "Dodavatel - DIČ"},
                  {"DodTel", T::Text, 40, "Dodavatel - Telefon"},
                  {"DodFax", T::Text, 40, "Dodavatel - Fax"},
                  {"DodMobil", T::Text, 40, "Dodavatel - Mobil"},
                  {"DodEmail", T::Text, 50, "Dodavatel - Email"},
                  {"DodWWW", T::Text, 50, "Dodavatel - WWW"},
                  {"CelkemBDPH", T::Double, 0, "Cena celkem bez DPH"},
                  {"DodStat", T::Text, 20, "Dodavatel - Stát"},
                  {"Logo", T::Picture, 0, "Dodavatel - Logo"},
                  {"CelkemNC", T::Double, 0, "Nák. cena celkem"},
                  {"Zisk", T::Double, 0, "Zisk celkem"},
                  {"Vytvoril", T::Text, 50, "Vytvořil"},
                  {"Uzivatel", T::Text, 50, "Přihlášený uživatel"},
                  {"AdrStat", T::Text, 20, "Odběratel - stát"},
                  {"AdrTelefon", T::Text, 30, "Odběratel - telefon"},
                  {"AdrFax", T::Text, 30, "Odběratel - fax"},
                  {"AdrEmail", T::Text, 50, "Odběratel - e-mail"},
                  {"AdrWWW", T::Text, 50, "Odběratel - www"},
                  {"AdrPoznamka", T::Memo, 0, "Odběratel - poznámka"},
                  {"AdrEANKod", T::Text, 20, "Odběratel - EAN kód"},
                  {"AdrZprava", T::Text, 255, "Odběratel - zpráva"},
                  {"ZaklSazbaDPH", T::Double, 0, "Základní sazba DPH"},
                  {"SnizSazbaDPH", T::Double, 0, "Snížená sazba DPH"},
                  {"ZakladDPHNula", T::Double, 0, "Základ DPH v nulové sazbě"},
                  {"ZakladDPHSniz", T::Double, 0, "Základ DPH ve snížené sazbě"},
                  {"ZakladDPHZakl", T::Double, 0, "Základ DPH v základní sazbě"},
                  {"DPHSniz", T::Double, 0, "DPH celk. ve snížené sazbě"},
                  {"DPHZakl", T::Double, 0, "DPH celk. v základní sazbě"},
                  {"CelkemSDPHSniz", T::Double, 0, "S DPH celk. ve snížené sazbě"},
                  {"CelkemSDPHZakl", T::Double, 0, "S DPH celk. v základní sazbě"},
                  {"Zaokrouhleno", T::Double, 0, "Zaokrouhleno s DPH"},
                  {"Mena", T::Text, 4, "Měna"},
                  {"KontaktVytvoril", T::Text, 255, "Vytvořil (kontakt)"},
                  {"CelkemVyseSlevyBDPH", T::Double, 0, "Celkem výše slevy bez DPH"},
                  {"CelkemVyseSlevySDPH", T::Double, 0, "Celkem výše slevy s DPH"},
                  // The sums of the VAT table, so that a page can show how the bases and the VAT
                  // make the total: base + VAT = with VAT before rounding, + rounding = Celkem.
                  {"ZakladDPHCelkem", T::Double, 0, "Základ DPH celkem"},
                  {"DPHCelkem", T::Double, 0, "DPH celkem"},
                  {"CelkemSDPHPredZaokr", T::Double, 0, "S DPH celkem před zaokrouhlením"}});
}

ReportTable offerItemsTable() {
    return build("mtPolozkyNab",
                 {{"Popis", T::Text, 50, "Popis položky"},
                  {"Poradi", T::Integer, 0, "Pořadí tisku"},
                  {"Katalog", T::Text, 20, ""},
                  {"BarCode", T::Text, 20, "Čárový kód"},
                  {"Poznamka", T::Memo, 0, "Poznámka"},
                  {"SazbaDPH", T::Double, 0, "Sazba DPH"},
                  {"Sleva", T::Double, 0, "Sleva v %"},
                  {"NakCena", T::Double, 0, "Nák. cena za mj"},
                  {"PocetMJ", T::Double, 0, "Počet m.j."},
                  {"MJ", T::Text, 10, "Text m.j."},
                  {"PCSDPHMJ", T::Double, 0, "Prod. s DPH za m.j."},
                  {"PCBDPHMJ", T::Double, 0, "Prod. bez DPH za m.j."},
                  {"PCSDPHPOL", T::Double, 0, "Prod. s DPH za pol."},
                  {"PCBDPHPOL", T::Double, 0, "Prod. bez DPH za pol."},
                  {"ZiskMJ", T::Double, 0, "Zisk za m.j."},
                  {"ZiskPol", T::Double, 0, "Zisk za pol."},
                  {"VyseDPHMJ", T::Double, 0, "Výše DPH za m.j."},
                  {"VyseDPHPol", T::Double, 0, "Výše DPH za pol."},
                  {"PLU", T::Text, 6, ""},
                  {"Zkratka", T::Text, 20, ""},
                  {"ProdCena", T::Double, 0, "Prodejní cena"},
                  {"NakCenaPol", T::Double, 0, "Nák. cena za pol."},
                  {"Marze", T::Double, 0, "Marže"},
                  {"Rabat", T::Double, 0, ""},
                  {"IDKarty", T::Integer, 0, "ID karty"},
                  {"IDListu", T::Integer, 0, "ID listu"},
                  {"IDSkupiny", T::Integer, 0, "ID skupiny"},
                  {"CenHladina", T::Text, 10, "Cenová hladina"},
                  {"Identif", T::Text, 255, ""},
                  {"Obrazek", T::Text, 255, ""},
                  {"Mena", T::Text, 4, "Měna"},
                  {"Nadpisova", T::Boolean, 0, ""},
                  {"Textova", T::Boolean, 0, ""},
                  {"VyseSlBDPHCelk", T::Double, 0, "Výše slevy bez DPH za položku"},
                  {"VyseSlSDPHCelk", T::Double, 0, "Výše slevy s DPH za položku"},
                  // The unit price before the discount as a pair: the layouts
                  // that show "Sleva %" print it beside the discount.
                  {"ProdCenaBDPH", T::Double, 0, "Prod. bez DPH za m.j. před slevou"},
                  {"ProdCenaSDPH", T::Double, 0, "Prod. s DPH za m.j. před slevou"}});
}

ReportTable identifierTable() {
    return build("mtRozpisIdentif", {{"ZkrIdent", T::Text, 10, "Zkratka identifikátoru"},
                                     {"PopisIdent", T::Text, 50, "Popis identifikátoru"},
                                     {"NakCena", T::Double, 0, "Nákupní cena identif."},
                                     {"ProdBDPH", T::Double, 0, "Prod. bez DPH identif."},
                                     {"ProdSDPH", T::Double, 0, "Prod. s DPH identif."},
                                     {"Zisk", T::Double, 0, "Zisk identif."},
                                     {"Nepouzivat", T::Boolean, 0, ""}});
}

ReportTable offerListTable() {
    return build("mtSeznamNab", {{"Doklad", T::Text, 10, "Číslo dokladu"},
                                 {"Popis", T::Text, 50, "Popis dokladu"},
                                 {"ZpPlatby", T::Text, 20, "Způsob platby"},
                                 {"Doprava", T::Text, 20, ""},
                                 {"DatVyst", T::Date, 0, "Datum vystavení"},
                                 {"DatVyrizeni", T::Date, 0, "Datum vyřízení"},
                                 {"DatPlat", T::Date, 0, "Datum platnosti"},
                                 {"AdrNazev", T::Text, 50, "Odběratel - název"},
                                 {"AdrUlice", T::Text, 30, "Odběratel - ulice"},
                                 {"AdrPsc", T::Text, 10, "Odběratel - PSČ"},
                                 {"AdrMisto", T::Text, 40, "Odběratel - místo"},
                                 {"AdrICO", T::Text, 10, "Odběratel - IČO"},
                                 {"AdrDIC", T::Text, 20, "Odběratel - DIČ"},
                                 {"Poznamka", T::Memo, 0, "Poznámka"},
                                 {"AdrKontakt", T::Text, 85, "Odběratel - kontakt"},
                                 {"CelkemSDPH", T::Double, 0, "Celkem s DPH"},
                                 {"CelkemBDPH", T::Double, 0, "Celkem bez DPH"},
                                 {"Vytvoril", T::Text, 50, "Vytvořil"},
                                 {"Mena", T::Text, 4, "Měna"}});
}

ReportTable offerListHeaderTable() {
    return build("mtHlavNab", {{"FaNazev", T::Text, 50, "Firma - název"},
                               {"CelkemBDPH", T::Double, 0, "Suma - celkem bez DPH"},
                               {"CelkemSDPH", T::Double, 0, "Suma - celkem s DPH"},
                               {"Uzivatel", T::Text, 50, "Přihlášený uživatel"},
                               {"SymbolMeny", T::Text, 4, "Symbol domácí měny"}});
}

ReportTable addressListTable() {
    return build("mtSeznamAdres", {{"Nazev", T::Text, 50, "Název firmy"},
                                   {"Ulice", T::Text, 30, ""},
                                   {"Misto", T::Text, 40, "Místo"},
                                   {"Psc", T::Text, 10, "PSČ"},
                                   {"Stat", T::Text, 20, "Stát"},
                                   {"ICO", T::Text, 10, "IČO"},
                                   {"Telefon", T::Text, 30, ""},
                                   {"Fax", T::Text, 30, ""},
                                   {"Email", T::Text, 50, "E-mail"},
                                   {"WWW", T::Text, 50, ""},
                                   {"Poznamka", T::Memo, 0, "Poznámka"},
                                   {"DIC", T::Text, 20, "DIČ"},
                                   {"EANKod", T::Text, 20, "EAN kód"},
                                   {"CenHladina", T::Text, 10, "Cenová hladina"},
                                   {"Zprava", T::Text, 255, "Zpráva"},
                                   {"ID", T::Integer, 0, ""}});
}

ReportTable noteTable() {
    return build("mtPoznTisk", {{"Nazev", T::Text, 50, "Název poznámky"},
                                {"Detail", T::Memo, 0, "Text poznámky"}});
}

ReportTable priceListHeaderTable() {
    return build(
        "mtTiskHlavicka",
        {{"Nadpis1", T::Text, 30, "Nadpis sl. 1"},   {"Nadpis2", T::Text, 30, "Nadpis sl. 2"},
         {"Nadpis3", T::Text, 30, "Nadpis sl. 3"},   {"Nadpis4", T::Text, 30, "Nadpis sl. 4"},
         {"Nadpis5", T::Text, 30, "Nadpis sl. 5"},   {"Nadpis6", T::Text, 30, "Nadpis sl. 6"},
         {"DodNazev", T::Text, 50, "Firma - název"}, {"DodUlice", T::Text, 30, "Firma - ulice"},
         {"DodPSC", T::Text, 10, "Firma - PSČ"},     {"DodMisto", T::Text, 40, "Firma - místo"},
         {"DodICO", T::Text, 10, "Firma - IČO"},     {"DodDIC", T::Text, 20, "Firma - DIČ"},
         {"DodTel", T::Text, 30, "Firma - telefon"}, {"DodFax", T::Text, 30, "Firma - fax"},
         {"DodMobil", T::Text, 30, "Firma - mobil"}, {"DodEmail", T::Text, 50, "Firma - e-mail"},
         {"DodWWW", T::Text, 50, "Firma - www"},     {"DodStat", T::Text, 20, "Firma - stát"},
         {"Logo", T::Picture, 0, "Firma - logo"},    {"NadpisCen", T::Text, 255, "Nadpis ceníku"}});
}

ReportTable priceListSheetsTable() {
    return build("mtTiskSklady",
                 {{"ID", T::Integer, 0, "ID listu"}, {"Nazev", T::Text, 30, "Název listu"}});
}

ReportTable priceListGroupsTable() {
    return build("mtTiskSkupiny", {{"Sklad", T::Integer, 0, "ID listu"},
                                   {"Nazev", T::Text, 50, "Název skupiny"},
                                   {"Kod", T::Text, 10, "Kód skupiny"},
                                   {"ID", T::Integer, 0, ""}});
}

ReportTable priceListItemsTable() {
    return build("mtTiskZasoby", {{"Sklad", T::Integer, 0, "ID listu"},
                                  {"Skupina", T::Integer, 0, "ID skupiny"},
                                  {"Popis", T::Text, 50, "Popis položky"},
                                  {"ID", T::Integer, 0, ""},
                                  {"Katalog", T::Text, 20, ""},
                                  {"BarCode", T::Text, 20, "Čárový kód"},
                                  {"Poznamka", T::Memo, 0, "Poznámka"},
                                  {"NakCena", T::Double, 0, "Nák. cena bez DPH"},
                                  {"PrCenaSDPH", T::Double, 0, "Zákl. prod. s DPH"},
                                  {"PrCenaBDPH", T::Double, 0, "Zákl. prod. bez DPH"},
                                  {"SazbaDPH", T::Double, 0, "Sazba DPH"},
                                  {"TextMJ", T::Text, 10, "Měrná jednotka"},
                                  {"PLU", T::Text, 6, ""},
                                  {"Zkratka", T::Text, 20, ""},
                                  {"Cena1", T::Double, 0, "Cena 1"},
                                  {"Cena2", T::Double, 0, "Cena 2"},
                                  {"Cena3", T::Double, 0, "Cena 3"},
                                  {"Cena4", T::Double, 0, "Cena 4"},
                                  {"Cena5", T::Double, 0, "Cena 5"},
                                  {"Cena6", T::Double, 0, "Cena 6"},
                                  {"Obrazek", T::Text, 255, ""}});
}

} // namespace orvento::output
