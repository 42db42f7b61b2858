// The offer list of a firm that has made offers for many years: 50,000 offers. Opens the list
// window offscreen and times what a person does there: the opening, a filter by a part of the
// customer's name, a quick-find key and a sort by another column. Each figure is the median of
// several rounds, printed beside its target.
#include "bench/support/BenchFigures.h"
#include "bench/support/QuietInteraction.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "offers/OfferListLogic.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "ui/ProgramNavigator.h"
#include "ui/offers/OfferListWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kRounds = 5;

// The program's wiring, as far as the list needs it.
struct Program {
    QuietInteraction ui;
    services::ProfileSession profile;
    services::StandardStartupHooks hooks;
    ui::ProgramNavigator navigator{context, nullptr};
    core::AppContext context{ui, navigator, profile, hooks};
};

// A key with a letter of the Czech alphabet, which the test library's keys do not include.
void typeLetter(QWidget* widget, const QString& letter) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
    QApplication::sendEvent(widget, &press);
}

bool generateOffers(core::Database& db, int count) {
    static const char* const firms[] = {
        "Stavebniny Čížek", "Řezivo Žďár", "ŠROUBY A MATKY",      "Elektro Ďáblice",
        "Chata u Chrudimi", "Kovo Ústí",   "Instalatérství Říha", "Barvy laky Šťastný"};
    core::Transaction unit(db);
    core::Statement insert(
        db, QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, AdrNazev, DatVystaveni, "
                           "DatPlatnosti, DatVyrizeni, AdrCislo, IDStav, Celkem, CelkemBDPH, "
                           "CelkemNC, Zisk, VytvorID, Vytvoril, Zamek) VALUES (:Doklad, :Popis, "
                           ":AdrNazev, :DatVystaveni, :DatPlatnosti, :DatVyrizeni, :AdrCislo, "
                           ":IDStav, :Celkem, :CelkemBDPH, :CelkemNC, :Zisk, :VytvorID, "
                           ":Vytvoril, :Zamek)"));
    const QDate first(2010, 1, 4);
    for (int i = 0; i < count; ++i) {
        const QDate issued = first.addDays(i / 12);
        const int state = i % 7;
        const double net = 1000.0 + (i * 37) % 90000;
        if (!insert.exec(
                {{QStringLiteral("Doklad"),
                  QStringLiteral("NB%1").arg((i * 7919) % 1000000, 6, 10, QLatin1Char('0'))},
                 {QStringLiteral("Popis"), QStringLiteral("Zakázka číslo %1").arg(i)},
                 {QStringLiteral("AdrNazev"),
                  QStringLiteral("%1 %2").arg(QString::fromUtf8(firms[i % 8])).arg(i % 500)},
                 {QStringLiteral("DatVystaveni"), issued},
                 {QStringLiteral("DatPlatnosti"), issued.addDays(30)},
                 {QStringLiteral("DatVyrizeni"),
                  state >= 3 ? QVariant(issued.addDays(20)) : QVariant()},
                 {QStringLiteral("AdrCislo"), i % 500},
                 {QStringLiteral("IDStav"), state},
                 {QStringLiteral("Celkem"), net * 1.21},
                 {QStringLiteral("CelkemBDPH"), net},
                 {QStringLiteral("CelkemNC"), net * 0.7},
                 {QStringLiteral("Zisk"), net * 0.3},
                 {QStringLiteral("VytvorID"), i % 4},
                 {QStringLiteral("Vytvoril"), QStringLiteral("Uživatel %1").arg(i % 4)},
                 {QStringLiteral("Zamek"), i % 50 == 0}}))
            return false;
    }
    return unit.commit();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int offers = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;

    QTemporaryDir folder;
    core::ProgramState& state = core::programState();
    state.folders.setData(folder.path() + QLatin1Char('/'));
    QDir().mkpath(state.folders.lock);
    state.agenda = QStringLiteral("VELKA");
    const QString path = state.folders.data + QStringLiteral("VELKA.MDB");
    QString error;
    if (!core::buildDatabaseFile(path, core::DatabaseKind::Agenda, false, &error) ||
        !state.db->agenda.open(path)) {
        std::fprintf(stderr, "agenda: %s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    if (!generateOffers(state.db->agenda, offers)) {
        std::fprintf(stderr, "generating offers failed: %s\n",
                     qPrintable(state.db->agenda.lastError()));
        return 1;
    }
    std::printf("%d offers generated in %.0f ms\n", offers,
                static_cast<double>(timer.nsecsElapsed()) / 1e6);

    Program program;
    program.profile.loadGridLayouts();
    report("open the offer list (sorted by number)",
           medianMilliseconds(kRounds,
                              [&] {
                                  ui::OfferListWindow window(program.context);
                                  window.show();
                                  QApplication::processEvents();
                                  window.reject();
                              }),
           300);

    ui::OfferListWindow window(program.context);
    window.show();
    QApplication::processEvents();
    offers::OfferListLogic& logic = window.logic();

    offers::OfferFilter filter;
    filter.active = true;
    filter.byFirmText = true;
    filter.firmText = QStringLiteral("říha");
    report("filter: firm name contains a text",
           medianMilliseconds(kRounds,
                              [&] {
                                  logic.applyFilter(filter);
                                  QApplication::processEvents();
                              }),
           100);
    std::printf("%40s %8d rows shown\n", "", logic.rows().rowCount());
    offers::OfferFilter states;
    states.active = true;
    states.byState = true;
    states.state = 1;
    states.unsettled = true;
    report("filter: state and not settled",
           medianMilliseconds(kRounds,
                              [&] {
                                  logic.applyFilter(states);
                                  QApplication::processEvents();
                              }),
           100);
    logic.applyFilter({});

    QTableView* grid = window.grid();
    grid->setFocus();
    report("quick find, first key (number)",
           medianMilliseconds(kRounds,
                              [&] {
                                  QTest::keyClick(grid, Qt::Key_N);
                                  QApplication::processEvents();
                                  QTest::keyClick(window.findBox(), Qt::Key_Tab);
                              }),
           100);

    QHeaderView* header = grid->horizontalHeader();
    report("sort by firm name",
           medianMilliseconds(kRounds,
                              [&] {
                                  Q_EMIT header->sectionClicked(0); // number
                                  Q_EMIT header->sectionClicked(1); // firm name
                                  QApplication::processEvents();
                              }) /
               2,
           300);
    report("quick find, first key (firm name)",
           medianMilliseconds(kRounds,
                              [&] {
                                  typeLetter(grid, QStringLiteral("Ř"));
                                  QApplication::processEvents();
                                  QTest::keyClick(window.findBox(), Qt::Key_Tab);
                              }),
           100);
    report("quick find, next key (firm name)",
           medianMilliseconds(kRounds,
                              [&] {
                                  window.findBox()->setText(QStringLiteral("Ř"));
                                  QTest::keyClick(window.findBox(), Qt::Key_E);
                                  QApplication::processEvents();
                              }),
           100);
    window.reject();
    state.db->agenda.close();
    return 0;
}
