// A 1,000-item offer printed: its report data file written (the tables filled from the database
// and the DataSet XML saved), and its PDF rendered by the report runner, both in this process and
// as the program starts it (Dastrel as a process of its own). Then a price list of 100,000 items
// with six dealer columns on price levels: its tables, its report data file, its spreadsheet
// export and the peak memory, and a 10,000-item price list rendered to a PDF. Prints each figure
// beside its target.

#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "dastrel/ReportRenderer.h"
#include "offers/ItemLine.h"
#include "offers/OfferStore.h"
#include "output/DataSetReader.h"
#include "output/DataSetWriter.h"
#include "output/PriceListTables.h"
#include "output/ReportData.h"
#include "output/ReportSession.h"
#include "output/XlsxExport.h"
#include "output/XlsxTemplateFill.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

offers::OfferItem benchItem(int i) {
    offers::OfferItem item;
    item.Popis = QStringLiteral("Položka číslo %1 & <spol.>").arg(i);
    item.Katalog = QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'));
    item.MJ = QStringLiteral("ks");
    item.NakCena = 10.0 + i % 97;
    item.ProdCena = 15.0 + i % 113;
    item.SazbaDPH = i % 3 == 0 ? 12.0 : 21.0;
    item.PocetMJ = 1 + i % 9;
    item.Sleva = i % 5 == 0 ? 3.0 : 0.0;
    if (i % 10 == 0)
        item.Poznamka = QStringLiteral("Poznámka k položce %1, dodání do týdne.").arg(i);
    offers::computeLine(item);
    return item;
}

// The process's peak resident memory so far, in MB.
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A sheet of `groups` groups holding `items` items in all, every item in a price group of six
// computed levels.
bool fillCatalogue(core::Database& db, int items, int groups) {
    core::Transaction tx(db);
    if (!db.execute(QStringLiteral("DELETE FROM Zasoby")) ||
        !db.execute(QStringLiteral("DELETE FROM Skupiny")) ||
        !db.execute(QStringLiteral("DELETE FROM Sklady")) ||
        !db.execute(QStringLiteral("DELETE FROM CenSkup WHERE ID = 900")) ||
        !db.execute(QStringLiteral("DELETE FROM CenSkupPol WHERE IDCenSkup = 900")) ||
        !db.execute(
            QStringLiteral("INSERT INTO Sklady (ID, Nazev, Poradi) VALUES (1, 'Zboží', 1)")) ||
        !db.execute(QStringLiteral("INSERT INTO CenSkup (ID, Zkratka, Vlastni) VALUES (900, "
                                   "'BENCH', 1)")))
        return false;
    for (int k = 1; k <= 6; ++k)
        if (!db.execute(QStringLiteral("INSERT INTO CenSkupPol (IDCenSkup, Zkratka, Hodnota, "
                                       "TypHodnoty, VychCena, Zaok, Prevzato, Prepocitat, SDPH) "
                                       "VALUES (900, :Z, :H, 0, 0, 2, 0, 1, 0)"),
                        {{QStringLiteral("Z"), QStringLiteral("L%1").arg(k)},
                         {QStringLiteral("H"), 2.0 * k}}))
            return false;
    core::Statement group(db, QStringLiteral("INSERT INTO Skupiny (ID, Sklad, Nazev, Kod) VALUES "
                                             "(:ID, 1, :N, :K)"));
    for (int g = 1; g <= groups; ++g)
        if (!group.exec({{QStringLiteral("ID"), g},
                         {QStringLiteral("N"), QStringLiteral("Skupina %1").arg(g)},
                         {QStringLiteral("K"), QStringLiteral("S%1").arg(g)}}))
            return false;
    core::Statement item(db,
                         QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, Katalog, "
                                        "PrCenaBDPH, PrCenaSDPH, NakCena, SazbaDPH, SDPH, "
                                        "CenSkupina, TextMJ, Poznamka, Nakladova) VALUES (1, "
                                        ":G, :P, :K, :B, :S, :N, 21, 0, 'BENCH', 'ks', :Z, 0)"));
    for (int i = 0; i < items; ++i) {
        const double net = 10.0 + i % 997;
        if (!item.exec(
                {{QStringLiteral("G"), 1 + i % groups},
                 {QStringLiteral("P"), QStringLiteral("Výrobek číslo %1 & spol.").arg(i)},
                 {QStringLiteral("K"), QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'))},
                 {QStringLiteral("B"), net},
                 {QStringLiteral("S"), net * 1.21},
                 {QStringLiteral("N"), net * 0.7},
                 {QStringLiteral("Z"),
                  i % 10 == 0 ? QStringLiteral("Poznámka %1").arg(i) : QString()}}))
            return false;
    }
    return tx.commit();
}

output::PriceListSettings dealerSettings() {
    output::PriceListSettings s;
    s.dealer = true;
    for (int k = 0; k < output::kPriceColumns; ++k) {
        s.columns[static_cast<size_t>(k)].source = QStringLiteral("L%1").arg(k + 1);
        s.columns[static_cast<size_t>(k)].heading = QStringLiteral("Hladina %1").arg(k + 1);
        s.columns[static_cast<size_t>(k)].withVat = k % 2 == 1;
    }
    return s;
}

// The price list's figures over the agenda; false when the catalogue could not be made.
bool priceListFigures(core::Database& db, const QTemporaryDir& dir, int items) {
    core::ProgramState& state = core::programState();
    if (!fillCatalogue(db, items, 100))
        return false;
    std::printf("A price list of %d items in 100 groups, six dealer columns on levels\n", items);
    core::SilentInteraction ui;
    const output::ReportContext context{state.settings, state.user, db, nullptr};
    core::CatalogueView view;
    view.sheetId = 1;
    const output::PriceListSettings settings = dealerSettings();
    std::shared_ptr<const output::PriceListTables> tables;
    const double fill = medianMilliseconds(3, [&] {
        auto filled = output::fillPriceListTables(context, view, settings, ui);
        tables = std::make_shared<const output::PriceListTables>(std::move(*filled));
    });
    report("price-list tables filled (100,000 items)", fill, 2000.0);

    const QString dataFile = dir.filePath(QStringLiteral("cenik.xml"));
    const double data = medianMilliseconds(3, [&] {
        output::DataSetWriter writer(QStringLiteral("ReportDataset"));
        output::addPriceListTables(writer, tables);
        if (!writer.saveToFile(dataFile))
            std::fprintf(stderr, "%s\n", qPrintable(writer.lastError()));
    });
    report("price-list report data file written", data, 3000.0);

    // From "OK" to the closed file: the tables filled, the template filled beside the target,
    // the target replaced.
    const QString templ = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/FRMRES/_CEND6SK.xlsx");
    const QString target = dir.filePath(QStringLiteral("cenik.xlsx"));
    tables.reset();
    const double exported = millisecondsOf([&] {
        const auto filled = output::fillPriceListTables(context, view, settings, ui);
        const auto temporary = output::temporaryBeside(target);
        const QString error = output::fillXlsxTemplate(templ, *temporary, *filled);
        if (!error.isEmpty() || !output::replaceFile(*temporary, target))
            std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
    });
    report("price-list export from OK to the closed .xlsx", exported, 10000.0);
    report("peak memory of the process after the export", peakMegabytes(), "MB", 300.0);

    if (!fillCatalogue(db, items / 10, 20))
        return false;
    QFile::copy(QStringLiteral(ORVENTO_SOURCE_DIR "/resources/Res/FRMRES/_CEND6SK.FRX"),
                state.folders.print + QStringLiteral("_CEND6SK.FRX"));
    QString error;
    auto tmpl = dastrel::loadTemplate(state.folders.print + QStringLiteral("_CEND6SK.FRX"), &error);
    if (!tmpl)
        return false;
    const double pdf = millisecondsOf([&] {
        const auto filled = output::fillPriceListTables(context, view, settings, ui);
        output::DataSetWriter writer(QStringLiteral("ReportDataset"));
        output::addPriceListTables(writer, *filled);
        const auto set = output::readDataSetText(writer.text().toUtf8(), &error);
        dastrel::ReportRenderer renderer(*tmpl, *set);
        if (!renderer.exportPdf(dir.filePath(QStringLiteral("cenik.pdf")), &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    });
    report("10,000-item price list to a PDF (in this process)", pdf, 30000.0);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // The number of items may be given for a quicker look; the target is for 1,000.
    const int kItems = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    core::Database* agenda = openBenchAgenda(dir);
    if (!agenda)
        return 1;
    core::Database& db = *agenda;
    core::ProgramState& state = core::programState();
    state.folders.program = QStringLiteral(ORVENTO_PROGRAM_DIR "/");
    state.settings.nazev = QStringLiteral("Firma s.r.o.");
    QDir().mkpath(state.folders.print);
    QFile::copy(QStringLiteral(ORVENTO_SOURCE_DIR "/resources/Res/FRMRES/_NABKSP.FRX"),
                state.folders.print + QStringLiteral("_NABKSP.FRX"));
    core::SilentInteraction ui;
    offers::OfferStore store(db);
    auto opened = store.open(offers::OfferMode::New, std::nullopt, ui);
    if (!opened)
        return 1;
    for (int i = 0; i < kItems; ++i)
        opened->copy.insertItem(i + 1, benchItem(i));
    if (!store.save(opened->copy, ui))
        return 1;
    const qint64 id = *opened->copy.offerId();
    std::printf("One offer, %d items\n", kItems);

    const output::ReportContext context{state.settings, state.user, db, nullptr};
    const QString dataFile = dir.filePath(QStringLiteral("data.xml"));
    const double write = medianMilliseconds(7, [&] {
        const auto offer = output::offerReport(context, id);
        output::DataSetWriter writer(QStringLiteral("ReportDataset"));
        writer.addTable(offer->header);
        writer.addTable(offer->items);
        writer.addTable(offer->identifiers);
        if (!writer.saveToFile(dataFile))
            std::fprintf(stderr, "%s\n", qPrintable(writer.lastError()));
    });
    report("report data file filled and written", write, 200.0);

    QString error;
    auto tmpl = dastrel::loadTemplate(state.folders.print + QStringLiteral("_NABKSP.FRX"), &error);
    if (!tmpl) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString pdf = dir.filePath(QStringLiteral("nabidka.pdf"));
    const double render = medianMilliseconds(3, [&] {
        const auto data = output::readDataSet(dataFile, &error);
        dastrel::ReportRenderer renderer(*tmpl, *data);
        if (!renderer.exportPdf(pdf, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    });
    report("PDF read, filled and rendered (in this process)", render, 3000.0);

    output::ReportSession session(context, ui);
    output::ReportChoice choice;
    choice.file = QStringLiteral("_NABKSP");
    output::ReportSubject subject;
    subject.offerId = id;
    const double runner = medianMilliseconds(3, [&] {
        QFile::remove(pdf);
        if (session.prepareReportData(choice, subject, QStringLiteral("PDFEXPORT"), pdf) != 0 ||
            !session.startReportRunner() || !QFile::exists(pdf))
            std::fprintf(stderr, "the runner made no PDF\n");
    });
    report("PDF by the runner Dastrel, start to end", runner, 3000.0);

    // The price list: 100,000 items unless a second number is given.
    const int kPriceListItems = argc > 2 ? std::max(10, std::atoi(argv[2])) : 100000;
    if (!priceListFigures(db, dir, kPriceListItems))
        return 1;
    return 0;
}
