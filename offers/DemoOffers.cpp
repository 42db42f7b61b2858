#include "offers/DemoOffers.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "core/SilentInteraction.h"
#include "offers/ItemLine.h"
#include "offers/OfferStates.h"
#include "offers/OfferStore.h"
#include "offers/OfferTemplateRecords.h"
#include "offers/SharedDocuments.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QSqlQuery>
#include <QTextDocument>

namespace orvento::offers {

namespace {

struct DemoOffer {
    const char* popis;
    const char* adrNazev;
    const char* adrMisto;
    const char* adrPsc;
    int state;
    int firstItem;
    int itemCount;
    bool withDocument;
};

const DemoOffer kOffers[] = {
    {"Elektroinstalace rodinného domu", "Stavby Novák s.r.o.", "Brno", "60200", 0, 0, 6, true},
    {"Rekonstrukce kanceláří", "Kancelář Plus a.s.", "Praha 1", "11000", 1, 3, 5, false},
    {"Revize a měření", "Obec Lipnice", "Lipnice nad Sázavou", "58232", 3, 6, 4, false},
    {"Nářadí pro dílnu", "Truhlářství Dvořák", "Jihlava", "58601", 5, 1, 7, false},
};

// Catalogue items to take lines from: ID, sheet, group, name, catalogue number, unit, purchase
// and sale price, VAT and identifiers, as the price list stores them.
std::vector<OfferItem> catalogueLines(core::Database& db, const QString& condition, int limit) {
    std::vector<OfferItem> lines;
    QSqlQuery rows = db.select(
        QStringLiteral("SELECT ID, Sklad, Skupina, Popis, Katalog, TextMJ, NakCena, PrCenaBDPH, "
                       "SazbaDPH, Identif FROM Zasoby WHERE %1 ORDER BY ID LIMIT :Limit")
            .arg(condition),
        {{QStringLiteral("Limit"), limit}});
    while (rows.next()) {
        OfferItem item;
        item.CisloKarty = rows.value(0).toLongLong();
        item.CisloSkladu = rows.value(1).toLongLong();
        item.CisloSkup = rows.value(2).toLongLong();
        item.Popis = rows.value(3).toString();
        item.Katalog = rows.value(4).toString();
        item.MJ = rows.value(5).toString();
        item.NakCena = rows.value(6).toDouble();
        item.ProdCena = rows.value(7).toDouble();
        item.SazbaDPH = rows.value(8).toDouble();
        item.Identif = rows.value(9).toString();
        lines.push_back(item);
    }
    return lines;
}

// Material without identifiers, then material between devices and services that carry them, so
// that the later demo offers have an identifier breakdown to show; the first offer stays with
// material alone.
constexpr int kPlainFirst = 6;
constexpr int kPlainLines = 20;
constexpr int kDeviceLines = 12;
constexpr int kServiceLines = 8;

std::vector<OfferItem> catalogueLines(core::Database& db) {
    const std::vector<OfferItem> plain =
        catalogueLines(db, QStringLiteral("COALESCE(Identif, '') = ''"), kPlainLines);
    const std::vector<OfferItem> devices =
        catalogueLines(db, QStringLiteral("instr(Identif, '_HW_') > 0"), kDeviceLines);
    const std::vector<OfferItem> services =
        catalogueLines(db, QStringLiteral("instr(Identif, '_SLUZBY_') > 0"), kServiceLines);
    std::vector<OfferItem> lines;
    std::size_t plainAt = 0, deviceAt = 0, serviceAt = 0;
    const auto take = [&lines](const std::vector<OfferItem>& from, std::size_t& at) {
        if (at < from.size())
            lines.push_back(from[at++]);
    };
    for (int i = 0; i < kPlainFirst; ++i)
        take(plain, plainAt);
    while (plainAt < plain.size() || deviceAt < devices.size() || serviceAt < services.size()) {
        take(plain, plainAt);
        take(devices, deviceAt);
        take(plain, plainAt);
        take(services, serviceAt);
    }
    if (!lines.empty())
        return lines;
    // An empty price list: free items.
    struct Free {
        const char* popis;
        const char* mj;
        double nakCena;
        double prodCena;
        double rate;
        const char* identif;
    };
    for (const Free& f : {Free{"Kabel CYKY 3x2,5", "m", 18.5, 27.9, 21.0, ""},
                          Free{"Jistič 16 A jednopólový", "ks", 92.0, 139.0, 21.0, ""},
                          Free{"Zásuvka dvojnásobná bílá", "ks", 64.0, 99.0, 21.0, ""},
                          Free{"Montážní práce", "hod", 0.0, 450.0, 21.0, "_SLUZBY_"},
                          Free{"Svítidlo LED 36 W", "ks", 410.0, 629.0, 21.0, "_HW_"},
                          Free{"Revize elektroinstalace", "ks", 0.0, 2500.0, 21.0, "_SLUZBY_"},
                          Free{"Doprava materiálu", "km", 0.0, 14.0, 21.0, "_SLUZBY_"},
                          Free{"Vrtačka příklepová", "ks", 1450.0, 2190.0, 21.0, "_HW_AKCE_"},
                          Free{"Odborná literatura", "ks", 210.0, 290.0, 12.0, ""},
                          Free{"Měřicí přístroj", "ks", 3200.0, 4590.0, 21.0, "_HW_SW_"}}) {
        OfferItem item;
        item.Popis = QString::fromUtf8(f.popis);
        item.MJ = QString::fromUtf8(f.mj);
        item.NakCena = f.nakCena;
        item.ProdCena = f.prodCena;
        item.SazbaDPH = f.rate;
        item.Identif = QString::fromLatin1(f.identif);
        lines.push_back(item);
    }
    return lines;
}

// An offer to a firm of the demo address book points at it and carries its address, as when the
// firm is picked on the card; a firm not in the address book stays typed by hand.
void linkDemoFirm(core::Database& db, OfferHeader& h) {
    QSqlQuery firm = db.select(
        QStringLiteral("SELECT ID, Ulice, Psc, Misto, ICO, DIC FROM Adresar WHERE Nazev = :Nazev "
                       "ORDER BY ID"),
        {{QStringLiteral("Nazev"), h.AdrNazev}});
    if (!firm.next())
        return;
    h.AdrCislo = firm.value(0).toLongLong();
    h.AdrUlice = firm.value(1).toString();
    h.AdrPsc = firm.value(2).toString();
    h.AdrMisto = firm.value(3).toString();
    h.AdrICO = firm.value(4).toString();
    h.AdrDIC = firm.value(5).toString();
}

struct DemoTemplate {
    const char* zkratka;
    const char* nazev;
    const char* nadpis;
    const char* textPred; // formatted as HTML, stored as RTF
    const char* textZa;
};

const DemoTemplate kTemplates[] = {
    {"STD", "Standardní nabídka", "Cenová nabídka",
     "<p>Vážení obchodní přátelé,</p><p>děkujeme za Váš zájem a nabízíme Vám <b>dodávku zboží "
     "a&nbsp;služeb</b> podle Vaší poptávky:</p>",
     "<p>Ceny jsou uvedeny <i>včetně dopravy</i> na místo určení. Nabídka platí <b>30 dní</b> "
     "ode dne vystavení.</p><p>S pozdravem</p>"},
    {"SERVIS", "Nabídka servisních prací", "Nabídka servisu",
     "<p>Vážený zákazníku,</p><p>na základě prohlídky na místě Vám předkládáme nabídku "
     "<b>servisních prací</b>. Práce provedou <u>pracovníci s platným oprávněním</u>.</p>",
     "<p><i>Záruka na provedené práce činí 24 měsíců.</i> Případné vícepráce budou účtovány "
     "podle skutečně odpracovaných hodin.</p>"},
    {"KRÁTKÁ", "Krátká nabídka bez nadpisu", "", "<p>Nabízíme Vám:</p>", ""},
};

QString demoRtf(const char* html) {
    const QString text = QString::fromUtf8(html);
    if (text.isEmpty())
        return {};
    QTextDocument document;
    document.setHtml(text);
    return core::rtf::write(document);
}

// The demo templates and the demo user's default template for new offers (the profile of a
// program without users has no name).
bool fillDemoTemplates(core::Database& db) {
    for (const DemoTemplate& demo : kTemplates) {
        OfferTemplate row;
        row.Zkratka = QString::fromUtf8(demo.zkratka);
        row.Nazev = QString::fromUtf8(demo.nazev);
        row.Nadpis = QString::fromUtf8(demo.nadpis);
        row.TextPred = demoRtf(demo.textPred);
        row.TextZa = demoRtf(demo.textZa);
        if (!templateMapping().insert(db, row))
            return false;
    }
    namespace profile = services::profile;
    return profile::save(db, QStringLiteral("Uzivatelske"), QString(),
                         profile::value::DefaultTemplate,
                         profile::valueDescription(profile::value::DefaultTemplate),
                         QString::fromUtf8(kTemplates[0].zkratka));
}

} // namespace

bool fillDemoOffers(core::Database& db) {
    if (!fillDemoTemplates(db))
        return false;
    core::ProgramState& state = core::programState();
    // The demo agenda's own settings, whatever the program that builds the template was set to.
    state.settings.sazbaDphZakladni = 21.0;
    state.settings.sazbaDphSnizena = 12.0;
    state.settings.zaokrouhlitCelkem = 1;
    state.settings.urovenHistorie = 2;
    state.user.jmeno.clear();
    core::SilentInteraction ui;
    OfferStore store(db);
    const std::vector<OfferItem> lines = catalogueLines(db);
    int round = 0;
    for (const DemoOffer& demo : kOffers) {
        auto opened = store.open(OfferMode::New, std::nullopt, ui);
        if (!opened)
            return false;
        OfferWorkingCopy& copy = opened->copy;
        OfferHeader& h = copy.header();
        h.Popis = QString::fromUtf8(demo.popis);
        h.AdrNazev = QString::fromUtf8(demo.adrNazev);
        h.AdrMisto = QString::fromUtf8(demo.adrMisto);
        h.AdrPsc = QString::fromUtf8(demo.adrPsc);
        linkDemoFirm(db, h);
        h.ZpPlatby = QStringLiteral("převodem");
        h.Doprava = QStringLiteral("dodavatelem");
        h.DatPlatnosti = QDate::currentDate().addDays(30).startOfDay();
        copy.insertItem(1, titleItem(QStringLiteral("Materiál a práce")));
        for (int i = 0; i < demo.itemCount; ++i) {
            OfferItem item = lines[static_cast<std::size_t>(demo.firstItem + i) % lines.size()];
            item.PocetMJ = 1 + (i * 3 + round) % 7;
            item.Sleva = i == 1 ? 5.0 : 0.0;
            item.Zaok = 0;
            computeLine(item);
            copy.insertItem(i + 2, item);
        }
        copy.insertItem(demo.itemCount + 2,
                        textItem(QStringLiteral("Ceny platí při objednání celého rozsahu.")));
        if (demo.withDocument)
            copy.addDocument({-1, QStringLiteral("Technické podmínky"),
                              sharedLink(QStringLiteral("Technicke_podminky.txt")), false});
        if (!store.save(copy, ui))
            return false;
        if (demo.state != OfferState::InProgress) {
            // A later save in another state, as the person would make it.
            copy.header().IDStav = demo.state;
            if (isSettledState(demo.state))
                copy.header().DatVyrizeni = QDate::currentDate().startOfDay();
            if (!store.save(copy, ui))
                return false;
        }
        ++round;
    }
    return !ui.errorShown();
}

} // namespace orvento::offers
