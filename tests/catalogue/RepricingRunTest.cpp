#include "catalogue/RepricingRun.h"

#include "CatalogueAgenda.h"
#include "catalogue/RepricingBatches.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/TestStore.h"

#include <QFileInfo>

using namespace orvento;
using namespace orvento::catalogue;
using orvento::testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

ItemRecord marginItem(double nakCena, double marze) {
    ItemRecord item;
    item.Popis = QStringLiteral("Položka");
    item.price.NakCena = nakCena;
    item.price.SazbaDPH = 21;
    item.price.Prepocitat = true;
    item.price.Marze = marze;
    item.price.Zaok = RoundingCode::FourDecimals;
    return item;
}

class RepricingRunTest : public testsupport::CatalogueAgenda {
protected:
    // The working page: records the phases and can press "Přerušit" at a step of a phase.
    RunDisplay display() {
        return {[this](const QString& text) { phases << text; },
                [this](const QString& text) { groups << text; },
                [this](int done, int total) {
                    if (onStep)
                        onStep(phases.isEmpty() ? QString() : phases.back(), done, total);
                }};
    }
    RunEnd run(const RunSelection& selection, const std::optional<RepricingSettings>& settings) {
        RepricingRun reprice(db(), ui, display());
        const RunEnd end = reprice.run(selection, settings);
        mark = reprice.mark();
        return end;
    }
    double column(const char* name, qint64 id) {
        return value(
                   QStringLiteral("SELECT %1 FROM Zasoby WHERE ID = :ID").arg(QLatin1String(name)),
                   {{QStringLiteral("ID"), id}})
            .toDouble();
    }
    int unfinished() {
        return value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0")).toInt();
    }
    static RunSelection marked(std::vector<qint64> items) {
        RunSelection s;
        s.mode = SelectionMode::MarkedItems;
        s.marked.items = std::move(items);
        return s;
    }

    QStringList phases;
    QStringList groups;
    std::function<void(const QString& phase, int done, int total)> onStep;
    QDateTime mark;
};

TEST_F(RepricingRunTest, CoefficientOnPurchasePriceRecomputesTheSalePriceInPhaseTwo) {
    const qint64 id = addItem(marginItem(100, 25));
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Multiply, 1.10};
    EXPECT_EQ(run(marked({id}), s), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("NakCena", id), 110);
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", id), 137.5);
    EXPECT_EQ(unfinished(), 0);
    EXPECT_TRUE(phases.contains(QStringLiteral("I. fáze: nastavení údajů na položkách")));
    EXPECT_TRUE(ui.saw(Kind::Information, RepricingRun::finishedMessage()));
}

TEST_F(RepricingRunTest, SalePriceRaisedFromTheLeadingPriceIntoBothMembers) {
    ItemRecord item = marginItem(0, 0);
    item.price.Prepocitat = false;
    item.price.SDPH = true;
    item.price.PrCenaSDPH = 121;
    item.price.PrCenaBDPH = 100;
    const qint64 withVat = addItem(item);
    item.price.SDPH = false;
    const qint64 net = addItem(item);
    RepricingSettings s;
    s.salePrice = {true, ValueAction::Increase, 10};
    s.priceTypeOn = true; // a raised price keeps each item's own type
    s.withVat = false;
    EXPECT_EQ(QString(RepricingRun::phaseOneSql(s)).count(QStringLiteral("SDPH = :SDPH")), 0);
    EXPECT_EQ(run(marked({withVat, net}), s), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("PrCenaSDPH", withVat), 131);
    // The net price derived from 131 by the pricing rules.
    ItemPriceFields derived = item.price;
    derived.SDPH = true;
    derived.PrCenaSDPH = 131;
    ItemPricing pricing(derived);
    pricing.recompute();
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", withVat), pricing.fields().PrCenaBDPH);
    EXPECT_NEAR(column("PrCenaBDPH", withVat), 131 / 1.21, 0.01);
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", net), 110);
    EXPECT_DOUBLE_EQ(column("PrCenaSDPH", net), 133.1);
    // "Navýšit o" with a negative amount lowers the stored value.
    s.salePrice = {true, ValueAction::Increase, -31};
    EXPECT_EQ(run(marked({withVat}), s), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("PrCenaSDPH", withVat), 100);
}

TEST_F(RepricingRunTest, WholeCatalogueFilterTouchesOnlyTheSheetAndRate) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('B', 2)")));
    const qint64 otherSheet = db().newRowId();
    const qint64 inScope = addItem(marginItem(100, 10));
    ItemRecord lowRate = marginItem(100, 10);
    lowRate.price.SazbaDPH = 12;
    const qint64 otherRate = addItem(lowRate);
    const qint64 elsewhere = addItem(marginItem(100, 10));
    ASSERT_TRUE(
        db().execute(QStringLiteral("UPDATE Zasoby SET Sklad = :S WHERE ID = :ID"),
                     {{QStringLiteral("S"), otherSheet}, {QStringLiteral("ID"), elsewhere}}));
    RunSelection selection;
    selection.scope.everything = false;
    selection.scope.sheetOn = true;
    selection.scope.sheetId = sheet;
    selection.scope.rateOn = true;
    selection.scope.rate = 21;
    EXPECT_EQ(scopeCondition(selection.scope, ScopeKind::Repricing).where,
              QStringLiteral("(Sklad = :Sklad) AND (SazbaDPH = :SazbaDPH)"));
    RepricingSettings s;
    s.margin = {true, ValueAction::Increase, 15};
    EXPECT_EQ(run(selection, s), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("Marze", inScope), 25);
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", inScope), 125);
    EXPECT_DOUBLE_EQ(column("Marze", otherRate), 10);
    EXPECT_DOUBLE_EQ(column("Marze", elsewhere), 10);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Znacka = :Z"),
                    {{QStringLiteral("Z"), mark}})
                  .toInt(),
              1);
}

TEST_F(RepricingRunTest, PlainRunRecomputesWithoutTouchingTextsAndSkipsVanishedItems) {
    ItemRecord item = marginItem(100, 20);
    item.Chyba = true;
    item.Katalog = QStringLiteral("K-1");
    const qint64 id = addItem(item);
    EXPECT_EQ(run(marked({id, 99998, 99999}), std::nullopt), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", id), 120);
    EXPECT_EQ(unfinished(), 0);
    EXPECT_EQ(value(QStringLiteral("SELECT Katalog FROM Zasoby")).toString(),
              QStringLiteral("K-1"));
    // Two items deleted elsewhere: the failure told once, the second one listed.
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);
    ASSERT_EQ(ui.problemLines().size(), 1);
    EXPECT_TRUE(ui.problemLines().front().contains(QStringLiteral("99999")));
}

TEST_F(RepricingRunTest, FailedOrInterruptedPhaseOneLeavesEveryPriceAsItWas) {
    const qint64 first = addItem(marginItem(100, 25));
    const qint64 second = addItem(marginItem(100, 25));
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Multiply, 2};
    // The second item's write fails after the first one's went through.
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("Refuse"), QStringLiteral("UPDATE"),
                                          QStringLiteral("Zasoby"),
                                          QStringLiteral("OLD.ID = %1").arg(second)));
    EXPECT_EQ(run(marked({first, second}), s), RunEnd::Failed);
    EXPECT_DOUBLE_EQ(column("NakCena", first), 100);
    EXPECT_EQ(unfinished(), 0);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, RepricingRun::failedMessage()));
    ASSERT_TRUE(testsupport::allowWrites(db(), QStringLiteral("Refuse"), QStringLiteral("Zasoby")));

    // "Přerušit" while the marked groups are read.
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev) VALUES (:S, 'G')"),
                             {{QStringLiteral("S"), sheet}}));
    const qint64 group = db().newRowId();
    RunSelection groupsSelection;
    groupsSelection.mode = SelectionMode::MarkedGroups;
    groupsSelection.marked.groups = {basicGroup, group};
    onStep = [](const QString&, int done, int) {
        if (done == 1)
            core::programState().cancelRequested = true;
    };
    EXPECT_EQ(run(groupsSelection, s), RunEnd::Interrupted);
    EXPECT_DOUBLE_EQ(column("NakCena", first), 100);
    EXPECT_EQ(unfinished(), 0);
    EXPECT_TRUE(ui.saw(Kind::Information, RepricingRun::interruptedMessage()));
}

TEST_F(RepricingRunTest, InterruptedPhaseTwoKeepsRecomputedItemsAndMarksTheRest) {
    // More than two units of work can take.
    constexpr int kItems = 2 * kBatchRows * kBatchesPerUnit + 100;
    std::vector<qint64> ids;
    {
        core::Transaction unit(db());
        for (int i = 0; i < kItems; ++i)
            ids.push_back(addItem(marginItem(100, 25)));
        ASSERT_TRUE(unit.commit());
    }
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Set, 200};
    onStep = [](const QString& phase, int done, int) {
        if (phase.startsWith(QStringLiteral("II.")) && done > 0)
            core::programState().cancelRequested = true;
    };
    ui.answer(false); // go on after the first batch...
    ui.answer(true);  // ...and stop after the second one
    EXPECT_EQ(run(marked(ids), s), RunEnd::Interrupted);
    EXPECT_EQ(ui.texts(Kind::Question), QStringList(2, RepricingRun::stopQuestion()));
    // The recomputed items are the first ones in ID order, whole batches of them; the rest keep
    // the unfinished mark of the run.
    const int recomputed =
        value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba = 0 AND PrCenaBDPH = 250"))
            .toInt();
    const core::SqlParams run{{QStringLiteral("Z"), mark}};
    const int marked = value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0 AND "
                                            "Znacka = :Z AND NakCena = 200"),
                             run)
                           .toInt();
    EXPECT_GT(recomputed, 0);
    EXPECT_EQ(recomputed % kBatchRows, 0);
    EXPECT_EQ(recomputed + marked, kItems);
    EXPECT_LT(value(QStringLiteral("SELECT MAX(ID) FROM Zasoby WHERE Chyba = 0")).toLongLong(),
              value(QStringLiteral("SELECT MIN(ID) FROM Zasoby WHERE Chyba <> 0")).toLongLong());
}

TEST_F(RepricingRunTest, PriceSavedElsewhereJustBeforePhaseOneIsRaisedNotOverwritten) {
    const qint64 id = addItem(marginItem(100, 25));
    core::Database other(QStringLiteral("repricing-other"), db().dialect());
    ASSERT_TRUE(testsupport::openAgendaElsewhere(other));
    onStep = [&](const QString& phase, int done, int total) {
        // After the selection was read, before phase I writes.
        if (phase.startsWith(QStringLiteral("I.")) && done == 0 && total == 1) {
            ASSERT_TRUE(
                other.execute(QStringLiteral("UPDATE Zasoby SET NakCena = 200 WHERE ID = :ID"),
                              {{QStringLiteral("ID"), id}}));
        }
    };
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Multiply, 1.1};
    EXPECT_EQ(run(marked({id}), s), RunEnd::Finished);
    EXPECT_DOUBLE_EQ(column("NakCena", id), 220);
    other.close();
}

TEST_F(RepricingRunTest, GroupRowWithoutItsLevelStopsBeforeAnyChange) {
    const qint64 group = addGroup(QStringLiteral("VO"));
    addRow(group, QStringLiteral("GONE"), testsupport::computed(0, 10), false);
    ItemRecord item = marginItem(100, 25);
    item.CenSkupina = QStringLiteral("VO");
    const qint64 id = addItem(item);
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Set, 1};
    EXPECT_EQ(run(marked({id}), s), RunEnd::Refused);
    EXPECT_DOUBLE_EQ(column("NakCena", id), 100);
    EXPECT_FALSE(ui.saw(Kind::Information, RepricingRun::finishedMessage()));
}

} // namespace

TEST_F(RepricingRunTest, StopInsidePhaseOnesUnitRollsItBackWithoutPhaseTwo) {
    // Enough items for the unit to look at the stop more than once.
    std::vector<qint64> ids;
    {
        core::Transaction unit(db());
        for (int i = 0; i < 700; ++i)
            ids.push_back(addItem(marginItem(100, 25)));
        ASSERT_TRUE(unit.commit());
    }
    RepricingSettings s;
    s.purchasePrice = {true, ValueAction::Multiply, 1.1};
    ui.cancelAtStopLook(2);
    EXPECT_EQ(run(marked(ids), s), RunEnd::Interrupted);
    // Rows written before the stop and after it alike keep their old prices and no mark.
    EXPECT_DOUBLE_EQ(column("NakCena", ids.front()), 100);
    EXPECT_DOUBLE_EQ(column("NakCena", ids.back()), 100);
    EXPECT_EQ(unfinished(), 0);
    EXPECT_EQ(ui.texts(Kind::Information), QStringList{RepricingRun::interruptedMessage()});
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_FALSE(phases.back().startsWith(QStringLiteral("II.")));
    EXPECT_GE(ui.stopLooksInUnit(), 2);
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
    EXPECT_FALSE(core::Database::anyUnitOpen());
}
