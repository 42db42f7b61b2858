// The catalogue at the size of a large firm's price list: 100,000 items on one sheet. Opens the
// catalogue window offscreen and times what a person does first: the opening, a quick-find key,
// a sort by another column and scrolling to the end; then the process's peak memory. Each figure
// is printed beside its target.
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchStore.h"
#include "bench/support/QuietInteraction.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/DemoCatalogue.h"
#include "catalogue/ItemFilter.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "ui/catalogue/CatalogueWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>

using namespace orvento;
using namespace orvento::bench;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    int exitCode = 0;
    if (!prepareBenchStore(argc, argv, folder, QStringLiteral("VELKY"), &exitCode))
        return exitCode;
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    core::ProgramState& state = core::programState();
    QuietInteraction ui;
    core::ensureFirstSheet(state.db->agenda, ui);
    const qint64 sheet = catalogue::readSheets(state.db->agenda).front().id;
    QElapsedTimer timer;
    timer.start();
    if (!catalogue::generateItems(state.db->agenda, sheet,
                                  catalogue::basicGroupOf(state.db->agenda, sheet), items, 7)) {
        std::fprintf(stderr, "generating items failed\n");
        return 1;
    }
    std::printf("%d items generated in %.0f ms\n", items, elapsedMs(timer));
    // Every third item a device, every fifth on promotion with software: identifiers to filter by.
    if (!state.db->agenda.execute(
            QStringLiteral("UPDATE Zasoby SET Identif = CASE WHEN ID % 3 = 0 THEN :Device "
                           "WHEN ID % 5 = 0 THEN :Promotion ELSE :None END"),
            {{QStringLiteral("Device"), QStringLiteral("_HW_")},
             {QStringLiteral("Promotion"), QStringLiteral("_SW_AKCE_")},
             {QStringLiteral("None"), QString()}})) {
        std::fprintf(stderr, "identifiers failed\n");
        return 1;
    }
    if (!settleServerStatistics(state.db->agenda))
        return 1;
    // The whole sheet, as with the groups panel switched off.
    services::profile::saveBool(services::profile::value::CatalogueGroupsShown, false);
    services::ProfileSession session;

    timer.restart();
    ui::CatalogueWindow window(ui, session, catalogue::CatalogueMode::Browse);
    window.show();
    QApplication::processEvents();
    report("open the catalogue", elapsedMs(timer), "ms", 300);

    QTableView* grid = window.itemsView();
    timer.restart();
    QTest::keyClick(grid, Qt::Key_K);
    QApplication::processEvents();
    report("quick find, first key", elapsedMs(timer), "ms", targetFor(20, 50));
    timer.restart();
    QTest::keyClick(window.findBox(), Qt::Key_A);
    QApplication::processEvents();
    report("quick find, second key", elapsedMs(timer), "ms", targetFor(20, 50));
    QTest::keyClick(window.findBox(), Qt::Key_Tab);

    timer.restart();
    Q_EMIT grid->horizontalHeader()->sectionClicked(1); // "Katalog"
    QApplication::processEvents();
    report("sort by catalogue number", elapsedMs(timer), "ms", 300);

    timer.restart();
    grid->scrollToBottom();
    grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 0));
    QApplication::processEvents();
    report("scroll to the end", elapsedMs(timer), "ms", 300);

    // The filter: part of a description and two identifiers, over the same 100,000 items.
    catalogue::ItemFilter filter;
    filter.active = true;
    filter.byDescription = true;
    filter.descriptionPart = true;
    filter.description = QStringLiteral("-1");
    filter.byIdentifiers = true;
    filter.identifiers = QStringLiteral("_HW_AKCE_");
    timer.restart();
    window.logic().applyFilter(filter);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::processEvents();
    report("filter applied, first rows shown", elapsedMs(timer), "ms", 300);
    std::printf("  %d items kept\n", grid->model()->rowCount());
    grid->setFocus();
    timer.restart();
    QTest::keyClick(grid, Qt::Key_K);
    QApplication::processEvents();
    report("quick find with the filter, first key", elapsedMs(timer), "ms", 50);
    timer.restart();
    QTest::keyClick(window.findBox(), Qt::Key_0);
    QApplication::processEvents();
    report("quick find with the filter, second key", elapsedMs(timer), "ms", 50);
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    timer.restart();
    Q_EMIT grid->horizontalHeader()->sectionClicked(0); // "Popis"
    QApplication::processEvents();
    report("re-sort with the filter", elapsedMs(timer), "ms", 300);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0, "MB", 150);
    window.close();
    state.db->agenda.close();
    return 0;
}
