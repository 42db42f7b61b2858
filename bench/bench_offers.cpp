// One large offer through the model: its totals after a single edit, the save with history at
// the detailed level, and the opening into a working copy, each the median of several rounds.
// Prints each figure beside its target.

#include "bench/support/BenchFigures.h"
#include "bench/support/BenchStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "offers/ItemLine.h"
#include "offers/OfferStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kItems = 1000;
constexpr int kRounds = 7;

offers::OfferItem benchItem(int i) {
    offers::OfferItem item;
    item.Popis = QStringLiteral("Položka číslo %1").arg(i);
    item.Katalog = QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'));
    item.MJ = QStringLiteral("ks");
    item.NakCena = 10.0 + i % 97;
    item.ProdCena = 15.0 + i % 113;
    item.SazbaDPH = i % 3 == 0 ? 12.0 : 21.0;
    item.PocetMJ = 1 + i % 9;
    item.Sleva = i % 5 == 0 ? 3.0 : 0.0;
    offers::computeLine(item);
    return item;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    int exitCode = 0;
    core::Database* agenda = prepareBenchStore(argc, argv, dir, QStringLiteral("Bench"), &exitCode);
    if (!agenda)
        return exitCode;
    core::Database& db = *agenda;
    core::programState().settings.urovenHistorie = 2;
    core::SilentInteraction ui;
    offers::OfferStore store(db);

    std::printf("One offer, %d items\n", kItems);
    auto opened = store.open(offers::OfferMode::New, std::nullopt, ui);
    if (!opened)
        return 1;
    offers::OfferWorkingCopy& copy = opened->copy;
    for (int i = 0; i < kItems; ++i)
        copy.insertItem(i + 1, benchItem(i));
    if (!store.save(copy, ui))
        return 1;
    const qint64 id = *copy.offerId();

    int round = 0;
    const double totals = medianMilliseconds(kRounds, [&] {
        offers::OfferItem item = copy.items()[500];
        item.PocetMJ = 2 + round++;
        offers::computeLine(item);
        copy.replaceItem(500, item);
    });
    report("totals recomputed after one edit", totals, 5.0);

    const double save = medianMilliseconds(kRounds, [&] {
        offers::OfferItem item = copy.items()[10];
        item.PocetMJ = 3 + round++;
        offers::computeLine(item);
        copy.replaceItem(10, item);
        if (!store.save(copy, ui))
            std::fprintf(stderr, "save failed\n");
    });
    report("saved with history at the detailed level", save, targetFor(300.0, 500.0));

    const double open = medianMilliseconds(kRounds, [&] {
        // With the rights check, the lock file and the address's price level, as the card has it.
        const auto existing = store.open(offers::OfferMode::Existing, id, ui);
        if (!existing || existing->copy.items().size() != kItems)
            std::fprintf(stderr, "open failed\n");
    });
    report("opened into its working copy", open, 200.0);
    return 0;
}
