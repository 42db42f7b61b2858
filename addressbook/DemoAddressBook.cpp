#include "addressbook/DemoAddressBook.h"

#include "addressbook/FirmRecords.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/Database.h"

namespace orvento::addressbook {

namespace {

struct DemoFirm {
    const char* nazev;
    const char* ulice;
    const char* psc;
    const char* misto;
    const char* telefon;
    const char* level;          // "" for none
    const char* contacts[2][4]; // title, first name, surname, position
};

// Places and post codes as the post code list has them.
const DemoFirm kFirms[] = {
    {"Stavby Novák s.r.o.",
     "Husova 12",
     "58601",
     "Jihlava",
     "567 301 220",
     "VO",
     {{"Ing.", "Petr", "Novák", "jednatel"}, {"", "Jana", "Malá", "účetní"}}},
    {"Kancelář Plus a.s.",
     "Masarykovo náměstí 5",
     "55001",
     "Benešov",
     "317 722 410",
     "",
     {{"Mgr.", "Eva", "Svobodová", "ředitelka"}, {}}},
    {"Obec Lipnice",
     "Lipnice 1",
     "58291",
     "Lipnice nad Sázavou",
     "569 486 121",
     "",
     {{"", "Josef", "Marek", "starosta"}, {}}},
    {"Truhlářství Dvořák",
     "Dlouhá 48",
     "58601",
     "Jihlava",
     "567 210 335",
     "DEALER",
     {{"", "Karel", "Dvořák", "majitel"}, {}}},
    {"Elektro Beroun s.r.o.",
     "Plzeňská 112",
     "36461",
     "Beroun",
     "311 624 118",
     "VO",
     {{"Ing.", "Tomáš", "Kratochvíl", "obchodní ředitel"}, {"", "Lenka", "Pokorná", "nákup"}}},
    {"Pekárna U Zlatého klasu",
     "Nádražní 7",
     "35201",
     "Aš",
     "354 525 661",
     "",
     {{"", "Marie", "Horáková", "vedoucí"}, {}}},
    {"Blanenské strojírny a.s.",
     "Svitavská 21",
     "67801",
     "Blansko",
     "516 412 700",
     "VO",
     {{"Ing.", "Jiří", "Procházka", "technický ředitel"}, {"", "Pavel", "Kučera", "zásobování"}}},
    {"Autoservis Jeseník",
     "Lipovská 14",
     "79001",
     "Jeseník",
     "584 411 208",
     "",
     {{"", "Martin", "Veselý", "vedoucí servisu"}, {}}},
    {"Sklárny Jablonec s.r.o.",
     "Palackého 40",
     "46601",
     "Jablonec nad Nisou",
     "483 312 450",
     "DEALER",
     {{"Ing.", "Alena", "Krejčí", "nákup"}, {"", "Radek", "Němec", "výroba"}}},
    {"Lounská zemědělská a.s.",
     "Pražská 1250",
     "44001",
     "Louny",
     "415 652 100",
     "",
     {{"", "František", "Urban", "předseda"}, {}}},
    {"Vinařství Roudnice",
     "Havlíčkova 3",
     "41301",
     "Roudnice nad Labem",
     "416 837 221",
     "",
     {{"", "Ludmila", "Zemanová", "majitelka"}, {}}},
    {"Valašská dřevovýroba v.o.s.",
     "Zašovská 60",
     "75627",
     "Rožnov pod Radhoštěm",
     "571 654 020",
     "VO",
     {{"", "Vojtěch", "Bartoš", "společník"}, {"", "Ivana", "Bartošová", "administrativa"}}},
    {"Horská chata Vrchlabí",
     "Krkonošská 210",
     "54301",
     "Vrchlabí",
     "499 421 312",
     "",
     {{"", "David", "Šimek", "provozní"}, {}}},
    {"Vsetínské stavby a.s.",
     "Jiráskova 1329",
     "75501",
     "Vsetín",
     "571 411 601",
     "VO",
     {{"Ing.", "Zdeněk", "Holub", "stavbyvedoucí"}, {}}},
    {"Hotel Blatná",
     "Náměstí Míru 18",
     "38801",
     "Blatná",
     "383 422 515",
     "",
     {{"", "Hana", "Fialová", "recepce"}, {}}},
    {"Ivančická kovovýroba s.r.o.",
     "Krumlovská 35",
     "66491",
     "Ivančice",
     "546 451 310",
     "DEALER",
     {{"", "Miroslav", "Sedláček", "jednatel"}, {}}},
    {"Chrudimská tiskárna",
     "Resselovo náměstí 77",
     "53703",
     "Chrudim III",
     "469 622 433",
     "",
     {{"", "Jitka", "Doležalová", "obchod"}, {}}},
    {"Zámecký pivovar Jilemnice",
     "Zámek 1",
     "51401",
     "Jilemnice",
     "481 541 227",
     "",
     {{"", "Ondřej", "Kolář", "sládek"}, {}}},
    {"Statek Dřevčice",
     "Dřevčice 24",
     "25001",
     "Dřevčice",
     "326 903 118",
     "",
     {{"", "Jan", "Beneš", "hospodář"}, {}}},
    {"Lázně Lipová s.r.o.",
     "Lipová-lázně 400",
     "79061",
     "Lipová-lázně",
     "584 411 010",
     "VO",
     {{"MUDr.", "Irena", "Vlčková", "primářka"}, {"", "Petra", "Hájková", "ekonomka"}}},
    {"Luže Agro a.s.",
     "Komenského 60",
     "53854",
     "Luže",
     "469 644 182",
     "",
     {{"", "Stanislav", "Růžička", "ředitel"}, {}}},
    {"Ivanovická sladovna",
     "Palackého 12",
     "68323",
     "Ivanovice na Hané",
     "517 363 121",
     "",
     {{"Ing.", "Roman", "Štěpánek", "vedoucí výroby"}, {}}},
    {"Kovárna Jeřmanice",
     "Jeřmanice 58",
     "46312",
     "Jeřmanice",
     "485 146 220",
     "",
     {{"", "Antonín", "Kovář", "kovář"}, {}}},
    {"Pila Javoří",
     "Javoří 11",
     "39133",
     "Javoří",
     "381 291 045",
     "DEALER",
     {{"", "Luboš", "Pospíšil", "majitel"}, {}}},
    {"Obecní úřad Lideň",
     "Lideň 30",
     "43102",
     "Lideň",
     "474 385 112",
     "",
     {{"", "Věra", "Kopecká", "starostka"}, {}}},
    {"Rájov Dřevostavby s.r.o.",
     "Rájov 7",
     "33033",
     "Rájov",
     "377 912 406",
     "VO",
     {{"Ing. arch.", "Filip", "Moravec", "projektant"}, {}}},
    {"Truhlárna Vyhlídky",
     "Vyhlídky 3",
     "37401",
     "Vyhlídky",
     "386 322 719",
     "",
     {{"", "Michal", "Šťastný", "truhlář"}, {}}},
    {"Cukrárna Janovice",
     "Janovice 15",
     "50356",
     "Janovice",
     "493 598 214",
     "",
     {{"", "Kateřina", "Matoušková", "majitelka"}, {}}},
    {"Servis Litošice",
     "Litošice 42",
     "53501",
     "Litošice",
     "466 952 331",
     "",
     {{"", "Jaroslav", "Říha", "technik"}, {}}},
    {"Rybářství Loučej",
     "Loučej 2",
     "38203",
     "Loučej",
     "380 741 623",
     "",
     {{"", "Vladimír", "Havlíček", "rybníkář"}, {}}},
    {"Zahradnictví Jivany",
     "Jivany 19",
     "50601",
     "Jivany",
     "493 553 202",
     "",
     {{"", "Zuzana", "Navrátilová", "vedoucí"}, {}}},
    {"Vysokochlumecký statek a.s.",
     "Vysoký Chlumec 1",
     "26252",
     "Vysoký Chlumec",
     "318 881 130",
     "VO",
     {{"Ing.", "Aleš", "Vaněk", "ředitel"}, {"", "Monika", "Vaňková", "účetní"}}},
    {"Lubenská keramika",
     "Lubno 8",
     "50315",
     "Lubno",
     "495 442 671",
     "",
     {{"", "Tereza", "Benešová", "výtvarnice"}, {}}},
    {"Stolařství Zámostí",
     "Zámostí 25",
     "28934",
     "Zámostí",
     "325 611 904",
     "",
     {{"", "Ladislav", "Vlček", "majitel"}, {}}},
    {"Hospoda U Bílé Vody",
     "Bílá Voda 9",
     "56162",
     "Bílá Voda",
     "465 631 288",
     "",
     {{"", "Jiří", "O'Neill", "hostinský"}, {}}},
    {"Bernovská mechanizace",
     "Bernov 14",
     "36221",
     "Bernov",
     "353 944 107",
     "DEALER",
     {{"", "Rudolf", "Svoboda", "mechanik"}, {}}},
};

bool ensureLevel(core::Database& db, const char* code, const char* name, double discount) {
    if (catalogue::levelByCode(db, QString::fromLatin1(code)))
        return true;
    catalogue::PriceLevel level;
    level.Zkratka = QString::fromLatin1(code);
    level.Popis = QString::fromUtf8(name);
    level.values.Hodnota = discount;
    level.values.Zaok = 1;
    return catalogue::priceLevelMapping().insert(db, level);
}

} // namespace

int icoCheckDigit(const QString& firstSeven) {
    if (firstSeven.size() != 7)
        return -1;
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        const QChar c = firstSeven.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        sum += (c.unicode() - '0') * (8 - i);
    }
    const int remainder = sum % 11;
    return remainder == 0 ? 1 : remainder == 1 ? 0 : 11 - remainder;
}

bool fillDemoAddressBook(core::Database& db) {
    core::Transaction unit(db);
    if (!ensureLevel(db, "VO", "Velkoodběratelé", 8.0) ||
        !ensureLevel(db, "DEALER", "Smluvní partneři", 5.0))
        return false;
    int number = 0;
    for (const DemoFirm& demo : kFirms) {
        ++number;
        Firm firm;
        firm.Nazev = QString::fromUtf8(demo.nazev);
        firm.Ulice = QString::fromUtf8(demo.ulice);
        firm.Psc = QString::fromLatin1(demo.psc);
        firm.Misto = QString::fromUtf8(demo.misto);
        firm.Stat = QStringLiteral("Česká republika");
        const QString base =
            QString::number(2514000 + number * 37493 % 7400000).rightJustified(7, '0');
        firm.ICO = base + QString::number(icoCheckDigit(base));
        firm.DIC = QStringLiteral("CZ") + firm.ICO;
        firm.Telefon = QString::fromLatin1(demo.telefon);
        firm.Email = QStringLiteral("info@firma%1.cz").arg(number);
        firm.WWW = QStringLiteral("www.firma%1.cz").arg(number);
        firm.CenHladina = QString::fromLatin1(demo.level);
        clipTexts(firm);
        if (!firmMapping().insert(db, firm))
            return false;
        const qint64 id = db.newRowId();
        bool first = true;
        for (const auto& person : demo.contacts) {
            if (!person[2])
                continue;
            Contact contact;
            contact.TitulPred = QString::fromUtf8(person[0]);
            contact.Jmeno = QString::fromUtf8(person[1]);
            contact.Prijmeni = QString::fromUtf8(person[2]);
            contact.Funkce = QString::fromUtf8(person[3]);
            contact.Telefon = firm.Telefon;
            contact.Zobrazit = first;
            first = false;
            clipTexts(contact);
            core::SqlParams params = contactMapping().params(contact);
            params.emplace_back(QStringLiteral("CisloAdr"), id);
            if (!db.execute(insertWithOwnerSql(contactMapping()), params))
                return false;
        }
    }
    return unit.commit();
}

} // namespace orvento::addressbook
