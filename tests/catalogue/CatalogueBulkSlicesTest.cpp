// Moves and deletions of many catalogue rows: written in several short units, a failure in a
// later one told after its rollback, with the finished slices kept and every group whole.
#include "catalogue/CatalogueRecords.h"
#include "catalogue/GroupOperations.h"
#include "catalogue/ItemDeletion.h"
#include "catalogue/MoveOperation.h"
#include "catalogue/SheetOperations.h"
#include "core/AgendaInit.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

#include <vector>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

constexpr int kManyItems = 3000;

class CatalogueBulkSlicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::ensureFirstSheet(db(), ui);
        sheet = catalogue::readSheets(db()).front().id;
        db().setWriteObserver([this](const QString& table) {
            if (table == QLatin1String("Zasoby"))
                ++itemUnits;
        });
    }
    void TearDown() override {
        db().setWriteObserver({});
        core::programState().db->agenda.close();
    }
    static core::Database& db() { return core::programState().db->agenda; }

    qint64 addGroup(qint64 inSheet, const QString& name) {
        return *catalogue::saveGroup(db(), ui, {0, inSheet, name, {}, false}, true);
    }
    // `count` items of one group, written at once.
    std::vector<qint64> addItems(qint64 group, int count) {
        std::vector<qint64> ids;
        core::Transaction unit(db());
        core::Statement insert(db(), QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis) "
                                                    "VALUES (:Sklad, :Skupina, :Popis)"));
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(insert.exec({{QStringLiteral("Sklad"), sheet},
                                     {QStringLiteral("Skupina"), group},
                                     {QStringLiteral("Popis"), QStringLiteral("p%1").arg(i)}}));
            ids.push_back(insert.newRowId());
        }
        EXPECT_TRUE(unit.commit());
        itemUnits = 0;
        return ids;
    }
    void refuse(const QString& event, qint64 itemId) {
        ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), event,
                                              QStringLiteral("Zasoby"),
                                              QStringLiteral("OLD.ID = %1").arg(itemId)));
    }
    int count(const QString& sql, const core::SqlParams& params = {}) {
        return db().scalar(sql, params)->toInt();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    qint64 sheet = 0;
    int itemUnits = 0;
};

TEST_F(CatalogueBulkSlicesTest, ManyItemsMoveInSeveralUnitsAndALaterFailureKeepsTheSlicesBefore) {
    const qint64 from = addGroup(sheet, QStringLiteral("Zdroj"));
    const qint64 otherSheet = *catalogue::createSheet(db(), ui, QStringLiteral("Druhý"));
    const qint64 to = addGroup(otherSheet, QStringLiteral("Cíl"));
    const std::vector<qint64> items = addItems(from, kManyItems);
    refuse(QStringLiteral("UPDATE"), items.back());

    catalogue::MoveOperation move(db(), ui, catalogue::MoveKind::ItemsToSheet, items, sheet);
    move.setSheet(otherSheet, QStringLiteral("Druhý"));
    move.setGroup(to, QStringLiteral("Cíl"));
    ASSERT_TRUE(move.validate());
    std::vector<int> shown;
    const int moved = move.run([&](int done, int) { shown.push_back(done); });

    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Zasoby"))));
    EXPECT_GT(moved, 0);
    EXPECT_LT(moved, kManyItems);
    EXPECT_GE(itemUnits, 2) << "the committed slices, each its own unit";
    EXPECT_EQ(shown.size(), static_cast<size_t>(itemUnits));
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
    // The moved items are in the target group and its sheet; the rest, the failed slice with
    // them, stayed where they were.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND Sklad = :S"),
                    {{QStringLiteral("G"), to}, {QStringLiteral("S"), otherSheet}}),
              moved);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND Sklad = :S"),
                    {{QStringLiteral("G"), from}, {QStringLiteral("S"), sheet}}),
              kManyItems - moved);
    EXPECT_FALSE(move.wasInterrupted());
}

TEST_F(CatalogueBulkSlicesTest, ItemsLandInTheSheetTheirGroupHasWhenTheirSliceIsWritten) {
    const qint64 from = addGroup(sheet, QStringLiteral("Zdroj"));
    const qint64 to = addGroup(sheet, QStringLiteral("Cíl"));
    const qint64 otherSheet = *catalogue::createSheet(db(), ui, QStringLiteral("Druhý"));
    const std::vector<qint64> items = addItems(from, kManyItems);
    catalogue::MoveOperation move(db(), ui, catalogue::MoveKind::ItemsToGroup, items, sheet);
    move.setGroup(to, QStringLiteral("Cíl"));
    bool groupMoved = false;
    // Between the first and the second slice another workstation moves the target group.
    const int moved = move.run([&](int, int) {
        if (!groupMoved)
            groupMoved =
                db().execute(QStringLiteral("UPDATE Skupiny SET Sklad = :S WHERE ID = :G"),
                             {{QStringLiteral("S"), otherSheet}, {QStringLiteral("G"), to}});
    });
    EXPECT_EQ(moved, kManyItems);
    ASSERT_TRUE(groupMoved);
    const int inOldSheet =
        count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND Sklad = :S"),
              {{QStringLiteral("G"), to}, {QStringLiteral("S"), sheet}});
    EXPECT_GT(inOldSheet, 0); // the first slice, before the group moved
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND Sklad = :S"),
                    {{QStringLiteral("G"), to}, {QStringLiteral("S"), otherSheet}}),
              kManyItems - inOldSheet);
}

TEST_F(CatalogueBulkSlicesTest, GroupsMoveWholeWithTheirItemsAndAFailedOneStaysWhole) {
    const qint64 target = *catalogue::createSheet(db(), ui, QStringLiteral("Cíl"));
    std::vector<qint64> groups;
    for (int g = 0; g < 3; ++g) {
        groups.push_back(addGroup(sheet, QStringLiteral("Skupina %1").arg(g)));
        addItems(groups.back(), 400);
    }
    // The last group's items refuse to move: its group stays with them.
    const qint64 lastItem = count(QStringLiteral("SELECT max(ID) FROM Zasoby WHERE Skupina = :G"),
                                  {{QStringLiteral("G"), groups.back()}});
    refuse(QStringLiteral("UPDATE"), lastItem);
    catalogue::MoveOperation move(db(), ui, catalogue::MoveKind::GroupsToSheet, groups, sheet);
    move.setSheet(target, QStringLiteral("Cíl"));
    move.setSliceRows(1);
    EXPECT_EQ(move.run(), 2);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Skupiny"))));
    EXPECT_EQ(itemUnits, 2);
    for (const qint64 group : groups) {
        const qint64 groupSheet = catalogue::readGroup(db(), group)->sklad;
        EXPECT_EQ(groupSheet, group == groups.back() ? sheet : target);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND "
                                       "Sklad <> :S"),
                        {{QStringLiteral("G"), group}, {QStringLiteral("S"), groupSheet}}),
                  0);
    }
}

TEST_F(CatalogueBulkSlicesTest, ManyItemsAreDeletedInSeveralUnitsAndALaterFailureIsTold) {
    const qint64 group = addGroup(sheet, QStringLiteral("Kabely"));
    const std::vector<qint64> items = addItems(group, kManyItems);
    refuse(QStringLiteral("DELETE"), items.back());
    ui.answer(true);
    const int deleted = catalogue::deleteItems(db(), ui, items);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Zasoby"))));
    EXPECT_GE(itemUnits, 2);
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
    EXPECT_GT(deleted, 0);
    EXPECT_LT(deleted, kManyItems);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), group}}),
              kManyItems - deleted);
    EXPECT_FALSE(ui.waitShown());

    // Without the refusal the rest goes too.
    ASSERT_TRUE(testsupport::allowWrites(db(), QStringLiteral("refuse"), QStringLiteral("Zasoby")));
    ui.clear();
    ui.answer(true);
    const std::vector<qint64> rest(items.begin() + deleted, items.end());
    EXPECT_EQ(catalogue::deleteItems(db(), ui, rest), kManyItems - deleted);
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), group}}),
              0);
}

TEST_F(CatalogueBulkSlicesTest, ABigGroupIsDeletedInSlicesAndAFailureKeepsTheGroupWithTheRest) {
    const qint64 group = addGroup(sheet, QStringLiteral("Kabely"));
    const std::vector<qint64> items = addItems(group, kManyItems);
    refuse(QStringLiteral("DELETE"), items.back());
    ui.answer(true);
    EXPECT_FALSE(catalogue::deleteGroup(db(), ui, group));
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Skupiny"))));
    EXPECT_GE(itemUnits, 2);
    EXPECT_TRUE(catalogue::readGroup(db(), group));
    const int left = count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                           {{QStringLiteral("G"), group}});
    EXPECT_GT(left, 0);
    EXPECT_LT(left, kManyItems);

    // Once nothing refuses, the rest goes with the group.
    ASSERT_TRUE(testsupport::allowWrites(db(), QStringLiteral("refuse"), QStringLiteral("Zasoby")));
    ui.clear();
    ui.answer(true);
    EXPECT_TRUE(catalogue::deleteGroup(db(), ui, group));
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());
    EXPECT_FALSE(catalogue::readGroup(db(), group));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), group}}),
              0);
}

} // namespace
