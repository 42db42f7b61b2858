#include "output/ReportData.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "catalogue/pricing/Rounding.h"
#include "catalogue/pricing/VatConversion.h"
#include "core/AgendaSettings.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "offers/OfferIdentifierBreakdown.h"
#include "offers/OfferRecords.h"
#include "output/ReportTables.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvento::output {

double addHeld(double sum, double add) {
    return std::nearbyint((sum + add) * 10000.0) / 10000.0;
}

namespace {

using core::SqlParams;

// The unit prices of an item are held as its card's fields hold them.
constexpr int kUnitPriceDecimals = catalogue::PriceFieldDecimals;

QString shortDate(const QDateTime& at) {
    return at.isValid() ? at.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

std::optional<std::pair<qint64, offers::OfferHeader>> readOffer(core::Database& db, qint64 id) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Nabidky WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    if (!q.next())
        return std::nullopt;
    const QSqlRecord row = q.record();
    offers::OfferHeader h = offers::headerMapping().read(row);
    // The mapping leaves out what the save writes itself; the report wants it too.
    h.Vytvoril = row.value(QStringLiteral("Vytvoril")).toString();
    h.VytvorID = row.value(QStringLiteral("VytvorID")).toInt();
    h.Zamek = row.value(QStringLiteral("Zamek")).toInt() != 0;
    return std::pair{id, h};
}

// "Jan Novák, tel. 123, e-mail jan@firma.cz": the author of an offer as its reports name him.
QString authorContact(core::Database* global, int userNumber) {
    if (!global || !global->isOpen() || userNumber == 0)
        return QString();
    QSqlQuery q = global->select(
        QStringLiteral("SELECT Jmeno, Telefon, Email FROM Login WHERE UzivID = :UzivID"),
        {{QStringLiteral("UzivID"), userNumber}});
    if (!q.next())
        return QString();
    QStringList parts{q.value(0).toString().trimmed()};
    if (!q.value(1).toString().trimmed().isEmpty())
        parts << QStringLiteral("tel. %1").arg(q.value(1).toString().trimmed());
    if (!q.value(2).toString().trimmed().isEmpty())
        parts << QStringLiteral("e-mail %1").arg(q.value(2).toString().trimmed());
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace

void fillFirm(ReportTable& t, int row, const core::AgendaSettings& s) {
    t.set(row, QStringLiteral("DodNazev"), s.nazev);
    t.set(row, QStringLiteral("DodUlice"), s.ulice);
    t.set(row, QStringLiteral("DodPSC"), s.psc);
    t.set(row, QStringLiteral("DodMisto"), s.misto);
    t.set(row, QStringLiteral("DodICO"), s.ico);
    t.set(row, QStringLiteral("DodDIC"), s.dic);
    t.set(row, QStringLiteral("DodTel"), s.telefon);
    t.set(row, QStringLiteral("DodFax"), s.fax);
    t.set(row, QStringLiteral("DodMobil"), s.mobil);
    t.set(row, QStringLiteral("DodEmail"), s.email);
    t.set(row, QStringLiteral("DodWWW"), s.internet);
    t.set(row, QStringLiteral("DodStat"), s.stat);
    if (!s.logo.isEmpty())
        t.set(row, QStringLiteral("Logo"), s.logo);
    t.set(row, QStringLiteral("Mena"), s.symbolMeny);
}

namespace {

void fillCustomer(ReportTable& t, int row, core::Database& db, qint64 firmId) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Adresar WHERE ID = :ID"),
                            {{QStringLiteral("ID"), firmId}});
    if (!q.next())
        return;
    for (const auto& [from, to] :
         {std::pair{"Stat", "AdrStat"}, std::pair{"Telefon", "AdrTelefon"},
          std::pair{"Fax", "AdrFax"}, std::pair{"Email", "AdrEmail"}, std::pair{"WWW", "AdrWWW"},
          std::pair{"Poznamka", "AdrPoznamka"}, std::pair{"EANKod", "AdrEANKod"},
          std::pair{"Zprava", "AdrZprava"}})
        t.set(row, QString::fromLatin1(to), q.value(QString::fromLatin1(from)).toString());
}

struct Sums {
    double netBase = 0, vatBase = 0, grossBase = 0;
    double netReduced = 0, vatReduced = 0, grossReduced = 0;
    double netZero = 0;
    double discountNet = 0, discountGross = 0;
};

} // namespace

std::optional<OfferReport> offerReport(const ReportContext& context, qint64 offerId) {
    const auto offer = readOffer(context.agenda, offerId);
    if (!offer)
        return std::nullopt;
    const offers::OfferHeader& h = offer->second;
    const bool purchase = context.user.nakupniCeny;
    OfferReport report{offerHeaderTable(), offerItemsTable(), identifierTable()};
    ReportTable& head = report.header;
    const int r = head.appendRow();
    const auto set = [&head, r](const char* column, const QVariant& value) {
        head.set(r, QString::fromLatin1(column), value);
    };
    set("Doklad", h.Doklad);
    set("Popis", h.Popis);
    set("ZpPlatby", h.ZpPlatby);
    set("Doprava", h.Doprava);
    set("DatVystaveni", shortDate(h.DatVystaveni));
    set("DatVyrizeni", shortDate(h.DatVyrizeni));
    set("DatPlatnosti", shortDate(h.DatPlatnosti));
    set("AdrNazev", h.AdrNazev);
    set("AdrUlice", h.AdrUlice);
    set("AdrPsc", h.AdrPsc);
    set("AdrMisto", h.AdrMisto);
    set("AdrICO", h.AdrICO);
    set("AdrDIC", h.AdrDIC);
    set("Nadpis", h.Nadpis);
    set("TextPred", h.TextPred);
    set("TextZa", h.TextZa);
    set("Poznamka", h.Poznamka);
    set("AdrKontakt", h.AdrKontakt);
    set("Celkem", h.Celkem);
    set("CelkemBDPH", h.CelkemBDPH);
    set("Vytvoril", h.Vytvoril);
    set("ZaklSazbaDPH", h.SazDPHZakl);
    set("SnizSazbaDPH", h.SazDPHSniz);
    set("CelkemNC", purchase ? h.CelkemNC : 0.0);
    set("Zisk", purchase ? h.Zisk : 0.0);
    fillFirm(head, r, context.settings);
    set("KontaktVytvoril", authorContact(context.global, h.VytvorID));
    set("Uzivatel", context.user.jmeno);
    if (h.AdrCislo != 0)
        fillCustomer(head, r, context.agenda, h.AdrCislo);

    // The items are read whole before the pictures are asked for: a statement run while another
    // one's rows are still being fetched is not something every engine allows.
    std::vector<offers::OfferItem> offerItems;
    {
        QSqlQuery rows = context.agenda.select(
            QStringLiteral("SELECT * FROM NabPolozky WHERE CisloNab = :CisloNab ORDER BY ID"),
            {{QStringLiteral("CisloNab"), offerId}});
        if (!rows.isActive())
            return std::nullopt;
        while (rows.next())
            offerItems.push_back(offers::itemMapping().read(rows.record()));
    }
    core::Statement picture(context.agenda,
                            QStringLiteral("SELECT Obrazek FROM Zasoby WHERE ID = :ID"));
    Sums sums;
    ReportTable& items = report.items;
    std::vector<offers::OfferItem> printed;
    for (const offers::OfferItem& item : offerItems) {
        // Every item counts in one VAT sum only, cost items too.
        if (item.SazbaDPH == h.SazDPHZakl) {
            sums.netBase = addHeld(sums.netBase, item.PCBDPHPOL);
            sums.vatBase = addHeld(sums.vatBase, item.VyseDPHPol);
            sums.grossBase = addHeld(sums.grossBase, item.PCSDPHPOL);
        } else if (item.SazbaDPH == h.SazDPHSniz) {
            sums.netReduced = addHeld(sums.netReduced, item.PCBDPHPOL);
            sums.vatReduced = addHeld(sums.vatReduced, item.VyseDPHPol);
            sums.grossReduced = addHeld(sums.grossReduced, item.PCSDPHPOL);
        } else if (item.SazbaDPH == 0.0) {
            sums.netZero = addHeld(sums.netZero, item.PCBDPHPOL);
        }
        if (item.Nakladova)
            continue;
        printed.push_back(item);
        const int i = items.appendRow();
        const auto put = [&items, i](const char* column, const QVariant& value) {
            items.set(i, QString::fromLatin1(column), value);
        };
        put("Popis", item.Popis);
        put("Poradi", item.Poradi);
        put("Katalog", item.Katalog);
        put("BarCode", item.BarCode);
        put("Poznamka", item.Poznamka);
        put("SazbaDPH", item.SazbaDPH);
        put("Sleva", item.Sleva);
        put("PocetMJ", item.PocetMJ);
        put("MJ", item.MJ);
        put("PCSDPHMJ", item.PCSDPHMJ);
        put("PCBDPHMJ", item.PCBDPHMJ);
        put("PCSDPHPOL", item.PCSDPHPOL);
        put("PCBDPHPOL", item.PCBDPHPOL);
        put("VyseDPHMJ", item.VyseDPHMJ);
        put("VyseDPHPol", item.VyseDPHPol);
        put("PLU", item.PLU);
        put("Zkratka", item.Zkratka);
        put("ProdCena", item.ProdCena);
        put("Marze", item.Marze);
        put("Rabat", item.Rabat);
        put("CenHladina", item.CenHladina);
        put("Identif", item.Identif);
        put("Nadpisova", item.Nadpisova);
        put("Textova", item.Textova);
        put("IDKarty", item.CisloKarty);
        put("IDListu", item.CisloSkladu);
        put("IDSkupiny", item.CisloSkup);
        put("NakCena", purchase ? item.NakCena : 0.0);
        put("ZiskMJ", purchase ? item.ZiskMJ : 0.0);
        put("ZiskPol", purchase ? item.ZiskPol : 0.0);
        put("NakCenaPol", purchase ? item.NakCena * item.PocetMJ : 0.0);
        put("Mena", context.settings.symbolMeny);
        put("Obrazek", QString());
        const double full = item.ProdCena * item.PocetMJ;
        const double fullNet = catalogue::roundPrice(
            catalogue::convertVat(item.SDPH, catalogue::VatPart::Net, item.SazbaDPH, full), 4);
        const double fullGross = catalogue::roundPrice(
            catalogue::convertVat(item.SDPH, catalogue::VatPart::Gross, item.SazbaDPH, full), 4);
        const double discountNet = fullNet - item.PCBDPHPOL;
        const double discountGross = fullGross - item.PCSDPHPOL;
        if (item.isPriceItem()) {
            const catalogue::PricePair before =
                catalogue::pairFromLeading(item.ProdCena, item.SDPH, item.SazbaDPH, item.Zaok);
            put("ProdCenaBDPH", catalogue::toFieldPrecision(before.net, kUnitPriceDecimals));
            put("ProdCenaSDPH", catalogue::toFieldPrecision(before.gross, kUnitPriceDecimals));
        }
        put("VyseSlBDPHCelk", discountNet);
        put("VyseSlSDPHCelk", discountGross);
        sums.discountNet = addHeld(sums.discountNet, discountNet);
        sums.discountGross = addHeld(sums.discountGross, discountGross);
        if (context.settings.obrazkyPriTisku && item.CisloKarty != 0 &&
            picture.exec({{QStringLiteral("ID"), item.CisloKarty}}) && picture.next()) {
            const QString file = picture.value(0).toString().trimmed();
            if (!file.isEmpty())
                put("Obrazek", context.settings.slozkaObrazku + file);
        }
    }
    set("ZakladDPHNula", sums.netZero);
    set("ZakladDPHSniz", sums.netReduced);
    set("ZakladDPHZakl", sums.netBase);
    set("DPHSniz", sums.vatReduced);
    set("DPHZakl", sums.vatBase);
    set("CelkemSDPHSniz", sums.grossReduced);
    set("CelkemSDPHZakl", sums.grossBase);
    set("CelkemVyseSlevyBDPH", sums.discountNet);
    set("CelkemVyseSlevySDPH", sums.discountGross);
    const double grossBeforeRounding =
        addHeld(addHeld(sums.grossBase, sums.grossReduced), sums.netZero);
    set("ZakladDPHCelkem", addHeld(addHeld(sums.netBase, sums.netReduced), sums.netZero));
    set("DPHCelkem", addHeld(sums.vatBase, sums.vatReduced));
    set("CelkemSDPHPredZaokr", grossBeforeRounding);
    set("Zaokrouhleno", addHeld(h.Celkem, -grossBeforeRounding));
    items.sortRowsBy(QStringLiteral("Poradi"));
    // The breakdown of the printed items in their print order, as the offer card shows it.
    std::stable_sort(
        printed.begin(), printed.end(),
        [](const offers::OfferItem& a, const offers::OfferItem& b) { return a.Poradi < b.Poradi; });
    const auto breakdown = offers::buildIdentifierBreakdown(context.agenda, printed, purchase);
    if (!breakdown)
        return std::nullopt;
    for (const offers::IdentifierBreakdownRow& row : *breakdown) {
        const int i = report.identifiers.appendRow();
        const auto put = [&report, i](const char* column, const QVariant& value) {
            report.identifiers.set(i, QString::fromLatin1(column), value);
        };
        put("ZkrIdent", row.ZkrIdent);
        put("PopisIdent", row.PopisIdent);
        put("NakCena", row.NakCena);
        put("ProdBDPH", row.ProdBDPH);
        put("ProdSDPH", row.ProdSDPH);
        put("Zisk", row.Zisk);
        put("Nepouzivat", row.Nepouzivat);
    }
    return report;
}

ReportTable addressListReport(core::Database& agenda, const std::vector<qint64>& firmIds) {
    ReportTable list = addressListTable();
    for (const qint64 id : firmIds) {
        QSqlQuery q = agenda.select(QStringLiteral("SELECT * FROM Adresar WHERE ID = :ID"),
                                    {{QStringLiteral("ID"), id}});
        if (!q.next())
            continue;
        const int r = list.appendRow();
        for (const ReportColumn& c : list.columns())
            list.set(r, c.name, q.value(c.name));
    }
    return list;
}

std::optional<OfferListReport> offerListReport(const ReportContext& context,
                                               const std::vector<qint64>& offerIds) {
    OfferListReport report{offerListHeaderTable(), offerListTable()};
    double net = 0.0;
    double gross = 0.0;
    ReportTable& list = report.offers;
    for (const qint64 id : offerIds) {
        const auto offer = readOffer(context.agenda, id);
        if (!offer)
            continue; // deleted meanwhile by another workstation
        const offers::OfferHeader& h = offer->second;
        const int r = list.appendRow();
        const auto put = [&list, r](const char* column, const QVariant& value) {
            list.set(r, QString::fromLatin1(column), value);
        };
        put("Doklad", h.Doklad);
        put("Popis", h.Popis);
        put("ZpPlatby", h.ZpPlatby);
        put("Doprava", h.Doprava);
        put("DatVyst", h.DatVystaveni);
        put("DatVyrizeni", h.DatVyrizeni);
        put("DatPlat", h.DatPlatnosti);
        put("AdrNazev", h.AdrNazev);
        put("AdrUlice", h.AdrUlice);
        put("AdrPsc", h.AdrPsc);
        put("AdrMisto", h.AdrMisto);
        put("AdrICO", h.AdrICO);
        put("AdrDIC", h.AdrDIC);
        put("Poznamka", h.Poznamka);
        put("AdrKontakt", h.AdrKontakt);
        put("CelkemSDPH", h.Celkem);
        put("CelkemBDPH", h.CelkemBDPH);
        put("Vytvoril", h.Vytvoril);
        put("Mena", context.settings.symbolMeny);
        net += h.CelkemBDPH;
        gross += h.Celkem;
    }
    ReportTable& head = report.header;
    const int r = head.appendRow();
    head.set(r, QStringLiteral("FaNazev"), context.settings.nazev);
    head.set(r, QStringLiteral("CelkemBDPH"), net);
    head.set(r, QStringLiteral("CelkemSDPH"), gross);
    head.set(r, QStringLiteral("Uzivatel"), context.user.jmeno);
    head.set(r, QStringLiteral("SymbolMeny"), context.settings.symbolMeny);
    return report;
}

std::optional<ReportTable> noteReport(core::Database& global, qint64 noteId) {
    QSqlQuery q = global.select(QStringLiteral("SELECT Nazev, Detail FROM Poznamky WHERE ID = :ID"),
                                {{QStringLiteral("ID"), noteId}});
    if (!q.next())
        return std::nullopt;
    return noteReport(q.value(0).toString(), q.value(1).toString());
}

ReportTable noteReport(const QString& nazev, const QString& detail) {
    ReportTable note = noteTable();
    const int r = note.appendRow();
    note.set(r, QStringLiteral("Nazev"), nazev);
    note.set(r, QStringLiteral("Detail"), detail);
    return note;
}

} // namespace orvento::output
