// Price levels over a big catalogue: renaming a level code that 100,000 items name in their
// fixed slots, the level check before repricing, and opening the item card. Prints each figure
// beside its target.

#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "catalogue/ItemCard.h"
#include "catalogue/LevelConsistency.h"
#include "catalogue/PriceLevelCard.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kItems = 100'000;

// Answers Yes to every question and shows nothing.
class SilentYes : public core::SilentInteraction {
public:
    void warning(const QString& t) override { std::fprintf(stderr, "%s\n", qPrintable(t)); }
    void error(const QString& t) override { std::fprintf(stderr, "%s\n", qPrintable(t)); }
    core::Answer ask(const QString&, core::Buttons, core::Answer) override {
        return core::Answer::Yes;
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    core::Database* agenda = openBenchAgenda(dir);
    if (!agenda)
        return 1;
    core::Database& db = *agenda;
    SilentYes ui;

    catalogue::PriceLevel dealer;
    dealer.Zkratka = QStringLiteral("DEALER");
    dealer.values.Prepocitat = false;
    catalogue::priceLevelMapping().insert(db, dealer);
    const qint64 levelId = db.newRowId();
    catalogue::PriceGroup group;
    group.Zkratka = QStringLiteral("VO");
    catalogue::priceGroupMapping().insert(db, group);
    const qint64 groupId = db.newRowId();
    for (int g = 0; g < 200; ++g) {
        catalogue::GroupLevelRow row;
        row.IDCenSkup = g == 0 ? groupId : 1000 + g;
        row.Zkratka = QStringLiteral("DEALER");
        row.values.Prepocitat = false;
        catalogue::groupLevelRowMapping().insert(db, row);
    }
    {
        core::Transaction unit(db);
        core::Statement insert(db, QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, "
                                                  "PrCenaBDPH, CenSkupina, CenHlad1, "
                                                  "PrCenaBDPH1) VALUES (1, 1, :Popis, :Cena, "
                                                  ":CenSkupina, :CenHlad1, :Cena)"));
        for (int i = 0; i < kItems; ++i)
            insert.exec({{QStringLiteral("Popis"), QStringLiteral("Položka %1").arg(i)},
                         {QStringLiteral("Cena"), (i % 5000) / 10.0},
                         {QStringLiteral("CenSkupina"), QStringLiteral("VO")},
                         {QStringLiteral("CenHlad1"),
                          i % 2 ? QStringLiteral("DEALER") : QStringLiteral("Dealer")}});
        unit.commit();
    }
    std::printf("Price levels, %d items\n", kItems);

    const double rename = millisecondsOf([&] {
        catalogue::PriceLevelCard card(db, ui);
        card.startExisting(levelId);
        card.level().Zkratka = QStringLiteral("PARTNER");
        card.confirm();
    });
    report("renaming a level code named by 100,000 items", rename, 3000);
    const double check = millisecondsOf([&] { catalogue::checkLevelConsistency(db, ui); });
    report("level consistency check", check, 3000);
    const double open = millisecondsOf([&] {
        catalogue::ItemCard card(db, ui);
        card.open(catalogue::ItemCardMode::Edit, kItems / 2, 1, 0);
    });
    report("opening the item card", open, 100);
    return 0;
}
