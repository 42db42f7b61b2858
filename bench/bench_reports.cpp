// A 1,000-item offer printed: its report data file written (the tables filled from the database
// and the DataSet XML saved), and its PDF rendered by the report runner, both in this process and
// as the program starts it (Dastrel as a process of its own). Prints each figure beside its target.

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
#include "output/ReportData.h"
#include "output/ReportSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

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
    return 0;
}
