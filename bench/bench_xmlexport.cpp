// The XML export at the size of a busy year: 500 marked offers of 40 items each, and the address
// file of 10,000 firms, each written through the export's own routine (the print tables filled
// from the database, the file encoded and saved). Prints each figure beside its target.

#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "output/XmlExportLogic.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kOffers = 500;
constexpr int kItemsEach = 40;
constexpr int kFirms = 10000;
constexpr double kOffersTargetMs = 5000.0;
constexpr double kFirmsTargetMs = 2000.0;

bool generateOffers(core::Database& db, int offers, int items, std::vector<qint64>& ids) {
    core::Transaction unit(db);
    core::Statement offer(
        db, QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, AdrNazev, SazDPHZakl, SazDPHSniz, "
                           "Celkem, CelkemBDPH, IDStav, Zamek, DatVystaveni, TextPred) VALUES "
                           "(:Doklad, :Popis, :AdrNazev, 21, 12, 1210, 1000, 0, 0, :Dat, :Text)"));
    core::Statement item(
        db, QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, Popis, PocetMJ, ProdCena, "
                           "SDPH, SazbaDPH, NakCena, PCBDPHPOL, VyseDPHPol, PCSDPHPOL, Nakladova) "
                           "VALUES (:CisloNab, :Poradi, :Popis, 2, 12.5, 0, 21, 10, 25, 5.25, "
                           "30.25, 0)"));
    for (int o = 0; o < offers; ++o) {
        if (!offer.exec(
                {{QStringLiteral("Doklad"), QStringLiteral("NB%1").arg(o, 5, 10, QLatin1Char('0'))},
                 {QStringLiteral("Popis"), QStringLiteral("Nabídka č. %1 & <spol.>").arg(o)},
                 {QStringLiteral("AdrNazev"), QStringLiteral("Odběratel %1 s.r.o.").arg(o)},
                 {QStringLiteral("Dat"), QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
                 {QStringLiteral("Text"),
                  QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 Dobr\\'fd den,\\par "
                                 "nab\\'edz\\'edme...}")}}))
            return false;
        const qint64 id = offer.newRowId();
        ids.push_back(id);
        for (int i = 0; i < items; ++i)
            if (!item.exec({{QStringLiteral("CisloNab"), id},
                            {QStringLiteral("Poradi"), i + 1},
                            {QStringLiteral("Popis"), QStringLiteral("Položka %1 za 5 €").arg(i)}}))
                return false;
    }
    return unit.commit();
}

bool generateFirms(core::Database& db, int firms, std::vector<qint64>& ids) {
    core::Transaction unit(db);
    core::Statement firm(db, QStringLiteral("INSERT INTO Adresar (Nazev, Ulice, Psc, Misto, ICO, "
                                            "Telefon, Email, Poznamka) VALUES (:Nazev, :Ulice, "
                                            ":Psc, :Misto, :ICO, :Telefon, :Email, :Poznamka)"));
    for (int i = 0; i < firms; ++i) {
        if (!firm.exec(
                {{QStringLiteral("Nazev"), QStringLiteral("Řeznictví Šimek %1 s.r.o.").arg(i)},
                 {QStringLiteral("Ulice"), QStringLiteral("Hlavní %1").arg(i % 300)},
                 {QStringLiteral("Psc"), QStringLiteral("%1").arg(10000 + i % 89999)},
                 {QStringLiteral("Misto"), QStringLiteral("Jihlava")},
                 {QStringLiteral("ICO"), QString::number(10000000 + i * 7)},
                 {QStringLiteral("Telefon"), QStringLiteral("600 %1").arg(i)},
                 {QStringLiteral("Email"), QStringLiteral("info@f%1.cz").arg(i)},
                 {QStringLiteral("Poznamka"), QStringLiteral("Stálý zákazník\r\nod 2010")}}))
            return false;
        ids.push_back(firm.newRowId());
    }
    return unit.commit();
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QCoreApplication app(argc, argv);
    // Smaller sizes may be given for a quicker look; the targets are for the full ones.
    const int offers = argc > 1 ? std::max(1, std::atoi(argv[1])) : kOffers;
    const int firms = argc > 2 ? std::max(1, std::atoi(argv[2])) : kFirms;
    QTemporaryDir dir;
    core::Database* agenda = openBenchAgenda(dir);
    if (!agenda)
        return 1;
    core::ProgramState& state = core::programState();
    state.user.nakupniCeny = true;
    std::vector<qint64> offerIds;
    std::vector<qint64> firmIds;
    if (!generateOffers(*agenda, offers, kItemsEach, offerIds) ||
        !generateFirms(*agenda, firms, firmIds)) {
        std::fprintf(stderr, "%s\n", qPrintable(agenda->lastError()));
        return 1;
    }
    core::SilentInteraction ui;
    const output::ReportContext context{state.settings, state.user, *agenda, nullptr};
    std::printf("%d offers of %d items, %d firms\n", offers, kItemsEach, firms);

    const QString offerFile = dir.filePath(QStringLiteral("nabidky.xml"));
    output::XmlExportLogic offerExport(context, ui, output::xml_export::Kind::Offers, offerIds);
    bool written = true;
    const double offerMs =
        medianMilliseconds(3, [&] { written = offerExport.write(offerFile) && written; });
    report("offer file of the marked offers written", offerMs, kOffersTargetMs);

    const QString firmFile = dir.filePath(QStringLiteral("adresy.xml"));
    output::XmlExportLogic firmExport(context, ui, output::xml_export::Kind::Addresses, firmIds);
    const double firmMs =
        medianMilliseconds(3, [&] { written = firmExport.write(firmFile) && written; });
    report("address file of every firm written", firmMs, kFirmsTargetMs);
    std::printf("file sizes: %.1f MB, %.1f MB\n",
                static_cast<double>(QFileInfo(offerFile).size()) / 1e6,
                static_cast<double>(QFileInfo(firmFile).size()) / 1e6);
    return written ? 0 : 1;
}
