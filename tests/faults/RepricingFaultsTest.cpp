// Repricing (with settings and the plain recomputation) and the bulk item update with each of
// their statements failing in turn. Phase I is all or nothing; what later batches did not reach
// keeps its old values or, after phase I, its unfinished mark; the failure is told in Czech and
// the same run afterwards finishes the work.
#include "FaultSweep.h"

#include "catalogue/BulkItemUpdateRun.h"
#include "catalogue/CatalogueAgenda.h"
#include "catalogue/RepricingRun.h"

#include <QSqlQuery>

using namespace orvento;
using namespace orvento::testsupport;
using catalogue::RunEnd;

namespace {

const QStringList kItemTables{QStringLiteral("Zasoby")};

class RepricingFaultsTest : public CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        for (int i = 1; i <= 3; ++i) {
            catalogue::ItemRecord item;
            item.Popis = QStringLiteral("Položka %1").arg(i);
            item.Identif = QStringLiteral("_A_");
            item.price.NakCena = 100.0 * i;
            item.price.SazbaDPH = 21;
            item.price.Prepocitat = true;
            item.price.Marze = 25;
            items.push_back(addItem(item));
        }
    }
    catalogue::RunSelection selection() const {
        catalogue::RunSelection s;
        s.mode = catalogue::SelectionMode::MarkedItems;
        s.marked.items = items;
        return s;
    }
    // Rows that differ from the clean run's carry the unfinished mark.
    void expectUnfinishedWhereNotDone(const DataSnapshot& now, const DataSnapshot& after) {
        QSqlQuery q = db().select(QStringLiteral("SELECT ID, Chyba FROM Zasoby ORDER BY ID"));
        while (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            if (now.tables.at(QStringLiteral("Zasoby")).at(id) !=
                after.tables.at(QStringLiteral("Zasoby")).at(id)) {
                EXPECT_NE(q.value(1).toInt(), 0) << "item " << id << " neither done nor marked";
            }
        }
    }
    // Sweeps `run`; `whenFailed` checks what a failed run left. After a failure the same run
    // finishes the work, or `finish` where the failed one had changed something already.
    int sweep(const std::function<RunEnd()>& run,
              const std::function<void(const DataSnapshot& before, const DataSnapshot& now,
                                       const DataSnapshot& after)>& whenFailed,
              const std::function<RunEnd()>& finish = {}) {
        const SavedDatabases saved({{&db(), db().filePath()}});
        const DataSnapshot before = snapshotOf(db(), kItemTables);
        DataSnapshot after;
        auto prepare = [&] {
            saved.putBack();
            ui.clear();
        };
        auto finished = [&] {
            return run() == RunEnd::Finished;
        };
        auto check = [&](const FaultedRun& faulted) {
            const DataSnapshot now = snapshotOf(db(), kItemTables);
            if (faulted.reportedSuccess) {
                EXPECT_EQ(now, after);
            } else {
                EXPECT_TRUE(toldFailure(ui)) << ui.allTexts().join(u'\n').toStdString();
                whenFailed(before, now, after);
            }
            ui.clear();
            const bool partial = !faulted.reportedSuccess && now != before;
            ASSERT_EQ(partial && finish ? finish() : run(), RunEnd::Finished)
                << ui.allTexts().join(u'\n').toStdString();
            EXPECT_EQ(snapshotOf(db(), kItemTables), after);
        };
        return sweepStatements(
            prepare, finished, [&] { after = snapshotOf(db(), kItemTables); }, check);
    }

    std::vector<qint64> items;
};

TEST_F(RepricingFaultsTest, RepricingWithSettingsKeepsOldPricesOrMarksWhatItDidNotRecompute) {
    catalogue::RepricingSettings s;
    s.purchasePrice = {true, catalogue::ValueAction::Multiply, 1.10};
    const int statements =
        sweep([&] { return catalogue::RepricingRun(db(), ui, {}).run(selection(), s); },
              [&](const DataSnapshot& before, const DataSnapshot& now, const DataSnapshot& after) {
                  if (now != before) {
                      expectUnfinishedWhereNotDone(now, after);
                      EXPECT_TRUE(ui.sawContaining(ScriptedInteraction::Kind::Error,
                                                   catalogue::RepricingRun::unfinishedMessage()));
                  }
              },
              // What phase I wrote stays; the plain recomputation finishes the marked items.
              [&] { return catalogue::RepricingRun(db(), ui, {}).run(selection(), std::nullopt); });
    EXPECT_GE(statements, 6);
}

TEST_F(RepricingFaultsTest, ThePlainRecomputationLeavesEachItemOldOrRecomputed) {
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Zasoby SET Chyba = 1, PrCenaBDPH = 0")));
    const int statements =
        sweep([&] { return catalogue::RepricingRun(db(), ui, {}).run(selection(), std::nullopt); },
              [&](const DataSnapshot& before, const DataSnapshot& now, const DataSnapshot& after) {
                  EXPECT_TRUE(now.eachRowBeforeOrAfter(before, after)) << now;
              });
    EXPECT_GE(statements, 4);
}

TEST_F(RepricingFaultsTest, TheBulkUpdateLeavesEachItemOldOrUpdated) {
    catalogue::BulkUpdateSettings s;
    s.identifiersOn = true;
    s.identifierAction = catalogue::IdentifierAction::Add;
    s.identifiers = QStringLiteral("_B_");
    const int statements =
        sweep([&] { return catalogue::BulkItemUpdateRun(db(), ui, {}).run(selection(), s); },
              [&](const DataSnapshot& before, const DataSnapshot& now, const DataSnapshot& after) {
                  EXPECT_TRUE(now.eachRowBeforeOrAfter(before, after)) << now;
              });
    EXPECT_GE(statements, 3);
}

} // namespace
