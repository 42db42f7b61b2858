// One large offer in its card: 1,000 items read from the agenda and shown in the offer card
// offscreen, then one change on every item (a lock set through the grid's menu command) shown
// again; then the identifier breakdown of those items built, and the items of half its
// identifiers marked in the card ("Označit v nabídce"). Each figure is the median of several
// rounds, printed beside its target.

#include "bench/support/BenchFigures.h"
#include "bench/support/BenchOffer.h"
#include "bench/support/BenchProgram.h"
#include "bench/support/QuietInteraction.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferIdentifierBreakdown.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "ui/ProgramNavigator.h"
#include "ui/offers/OfferCardWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kRounds = 5;
constexpr int kIdentifiers = 40;

int missed = 0;

// Every item carries one to three of the defined identifiers, a few of them in lower case.
bool tagItems(core::Database& db, qint64 offerId, int items) {
    core::Transaction unit(db);
    for (int i = 0; i < kIdentifiers; ++i)
        if (!db.execute(QStringLiteral("INSERT INTO SezIdentif (Zkratka, Popis, Nepouzivat) "
                                       "VALUES (:Zkratka, :Popis, :Nepouzivat)"),
                        {{QStringLiteral("Zkratka"), QStringLiteral("ID%1").arg(i)},
                         {QStringLiteral("Popis"), QStringLiteral("Identifikátor č. %1").arg(i)},
                         {QStringLiteral("Nepouzivat"), i % 10 == 9}}))
            return false;
    core::Statement tag(db, QStringLiteral("UPDATE NabPolozky SET Identif = :Identif WHERE "
                                           "CisloNab = :CisloNab AND Poradi = :Poradi"));
    for (int i = 0; i < items; ++i) {
        QString list = QStringLiteral("_ID%1_").arg(i % kIdentifiers);
        if (i % 2 == 0)
            list += QStringLiteral("id%1_").arg((i / 2) % kIdentifiers);
        if (i % 3 == 0)
            list += QStringLiteral("ID%1_").arg((i * 7) % kIdentifiers);
        if (!tag.exec({{QStringLiteral("Identif"), list},
                       {QStringLiteral("CisloNab"), offerId},
                       {QStringLiteral("Poradi"), i + 1}}))
            return false;
    }
    return unit.commit();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
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
    const auto id = generateOffer(state.db->agenda, items);
    if (!id || !tagItems(state.db->agenda, *id, items)) {
        std::fprintf(stderr, "generating the offer failed: %s\n",
                     qPrintable(state.db->agenda.lastError()));
        return 1;
    }
    Program program;
    program.profile.loadGridLayouts();

    bool opened = true;
    report("open a 1,000-item offer in its card",
           medianMilliseconds(kRounds,
                              [&] {
                                  auto offer = offers::OfferCardLogic::open(
                                      program.context, core::OfferCardMode::Existing, *id);
                                  if (!offer) {
                                      opened = false;
                                      return;
                                  }
                                  ui::OfferCardWindow window(program.context, std::move(*offer));
                                  window.show();
                                  QApplication::processEvents();
                                  window.done(QDialog::Rejected);
                              }),
           300);
    if (!opened) {
        std::fprintf(stderr, "the offer did not open\n");
        return 1;
    }

    auto offer = offers::OfferCardLogic::open(program.context, core::OfferCardMode::Existing, *id);
    ui::OfferCardWindow window(program.context, std::move(*offer));
    window.show();
    QApplication::processEvents();
    bool locked = false;
    report("lock every item and show the grid again",
           medianMilliseconds(kRounds,
                              [&] {
                                  locked = !locked;
                                  window.logic().setLocks(locked, true);
                                  window.showItems();
                                  QApplication::processEvents();
                              }),
           100);

    std::optional<offers::IdentifierBreakdown> breakdown;
    report("build the identifier breakdown of 1,000 items",
           medianMilliseconds(kRounds,
                              [&] {
                                  breakdown.reset();
                                  if (auto built = offers::IdentifierBreakdown::open(
                                          program.context, window.logic()))
                                      breakdown.emplace(std::move(*built));
                              }),
           20);
    if (!breakdown || breakdown->empty()) {
        std::fprintf(stderr, "the breakdown has no rows\n");
        return 1;
    }
    for (std::size_t row = 0; row < breakdown->rows().size(); row += 2)
        breakdown->setMark(row, true);
    report("\"Označit v nabídce\" for half the identifiers",
           medianMilliseconds(kRounds, [&] { breakdown->markInOffer(); }), 20);
    report("the same with the card's grid shown again",
           medianMilliseconds(kRounds,
                              [&] {
                                  breakdown->markInOffer();
                                  window.showItems();
                                  QApplication::processEvents();
                              }),
           20);
    window.done(QDialog::Rejected);
    return missed == 0 ? 0 : 1;
}
