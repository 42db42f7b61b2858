#include "services/ChangeStamps.h"
#include "core/ProgramState.h"
#include "core/SqliteFolderStore.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using core::StampedTable;

namespace {

TEST(ChangeStampRule, TableIsTakenFromTheStatementText) {
    struct Case {
        const char* sql;
        std::optional<QString> table;
    };
    const Case cases[] = {
        {"UPDATE Zasoby SET Chyba = :Chyba", QStringLiteral("Zasoby")},
        {"update adresar set Nazev = :Nazev", QStringLiteral("adresar")},
        {"INSERT INTO Skupiny (Sklad, Nazev) VALUES (:Sklad, :Nazev)", QStringLiteral("Skupiny")},
        {"insert into Zasoby (Popis) values (:Popis)", QStringLiteral("Zasoby")},
        {"DELETE FROM Adresar WHERE ID = :ID", QStringLiteral("Adresar")},
        {"UPDATE Nabidky SET Zamek = :Zamek", QStringLiteral("Nabidky")},
        {"UPDATE Zasoby", QStringLiteral("Zasoby")},
        {"  update \"Zasoby\" set Chyba = 1", QStringLiteral("Zasoby")},
        {"INSERT INTO [Skupiny](Sklad) VALUES (1)", QStringLiteral("Skupiny")},
        {"INSERT INTO Skupiny(Sklad) VALUES (1)", QStringLiteral("Skupiny")},
        {"INSERT OR REPLACE INTO `Adresar` (ID) VALUES (1)", QStringLiteral("Adresar")},
        {"REPLACE INTO Zasoby (ID) VALUES (1)", QStringLiteral("Zasoby")},
        {"UPDATE OR IGNORE main.Zasoby SET Chyba = 0", QStringLiteral("Zasoby")},
        {"SELECT * FROM Zasoby", std::nullopt},
        {"UPDATEX Zasoby SET A = 1", std::nullopt},
        {"DELETE Zasoby", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::Database::tableWrittenBy(QString::fromUtf8(c.sql)), c.table) << c.sql;

    EXPECT_EQ(services::stampedTable(QStringLiteral("adresar")), StampedTable::Adresar);
    EXPECT_EQ(services::stampedTable(QStringLiteral("ZASOBY")), StampedTable::Zasoby);
    EXPECT_EQ(services::stampedTable(QStringLiteral("Skupiny")), StampedTable::Skupiny);
    EXPECT_EQ(services::stampedTable(QStringLiteral("Nabidky")), std::nullopt);
}

TEST(ChangeStampRule, StampValueCountsDaysSinceTheEndOf1899) {
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_DOUBLE_EQ(services::toStampValue(epoch), 0.0);
    EXPECT_DOUBLE_EQ(services::toStampValue(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    const QDateTime now(QDate(2026, 12, 9), QTime(10, 30, 15, 250));
    EXPECT_EQ(services::fromStampValue(services::toStampValue(now)), now);
}

class ChangeStampsTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        core::ProgramState& s = core::programState();
        s.folders.setData(env.dataFolder());
        s.agenda = QStringLiteral("DEMO");
        QDir().mkpath(s.folders.lock);
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
        ASSERT_TRUE(s.db->agenda.open(env.dataFolder() + QStringLiteral("DEMO.MDB")));
        s.db->agenda.setWriteObserver(services::stampAfterWrite);
    }

    static QString file(StampedTable t) {
        return core::SqliteFolderStore().stampFilePath(core::programState().agenda, t);
    }
    static QByteArray bytes(StampedTable t) {
        QFile f(file(t));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    testsupport::TestEnvironment env;
};

TEST_F(ChangeStampsTest, WritesOnTheAgendaConnectionStampTheirTable) {
    core::Database& db = core::programState().db->agenda;
    EXPECT_EQ(file(StampedTable::Zasoby), env.dataFolder() + QStringLiteral("LOCK/02DEMO.tsf"));
    ASSERT_TRUE(db.execute(QStringLiteral("UPDATE Zasoby SET Chyba = :Chyba"),
                           {{QStringLiteral("Chyba"), false}}));
    EXPECT_EQ(bytes(StampedTable::Zasoby).size(), 8);
    EXPECT_FALSE(QFileInfo::exists(file(StampedTable::Adresar)));
    ASSERT_TRUE(db.execute(QStringLiteral("update adresar set Nazev = :N where ID = 0"),
                           {{QStringLiteral("N"), QStringLiteral("x")}}));
    EXPECT_TRUE(QFileInfo::exists(file(StampedTable::Adresar)));
    ASSERT_TRUE(db.execute(QStringLiteral("UPDATE Nabidky SET Zamek = :Z"),
                           {{QStringLiteral("Z"), false}}));
    EXPECT_FALSE(QFileInfo::exists(file(StampedTable::Skupiny)));
    const double written = core::programState().lastStamps[1];
    EXPECT_GT(written, 0.0);
    EXPECT_DOUBLE_EQ(services::readStamp(StampedTable::Zasoby), written);
}

TEST_F(ChangeStampsTest, BulkOperationStampsOnceBeforeAndOnceAfter) {
    core::Database& db = core::programState().db->agenda;
    QByteArray before;
    {
        services::SuppressedStamps bulk({StampedTable::Zasoby});
        before = bytes(StampedTable::Zasoby);
        ASSERT_EQ(before.size(), 8);
        EXPECT_TRUE(core::programState().suppressStamps);
        QFile::remove(file(StampedTable::Zasoby));
        ASSERT_TRUE(db.execute(QStringLiteral("UPDATE Zasoby SET Chyba = :Chyba"),
                               {{QStringLiteral("Chyba"), true}}));
        EXPECT_FALSE(QFileInfo::exists(file(StampedTable::Zasoby))) << "suppressed while running";
    }
    EXPECT_FALSE(core::programState().suppressStamps);
    EXPECT_TRUE(QFileInfo::exists(file(StampedTable::Zasoby)));
}

TEST_F(ChangeStampsTest, OtherWorkstationsChangeIsNoticedOnceAndMissingStampIsCreated) {
    EXPECT_FALSE(QFileInfo::exists(file(StampedTable::Skupiny)));
    services::rememberCurrentStamp(StampedTable::Skupiny);
    EXPECT_TRUE(QFileInfo::exists(file(StampedTable::Skupiny)));
    EXPECT_FALSE(services::changedSinceLastSeen(StampedTable::Skupiny));

    // Another workstation writes a later stamp.
    const double later = services::toStampValue(QDateTime::currentDateTime().addSecs(60));
    QFile f(file(StampedTable::Skupiny));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(&later), 8);
    f.close();
    EXPECT_TRUE(services::changedSinceLastSeen(StampedTable::Skupiny));
    EXPECT_FALSE(services::changedSinceLastSeen(StampedTable::Skupiny));

    services::clearStamps();
    EXPECT_FALSE(QFileInfo::exists(file(StampedTable::Skupiny)));
}

} // namespace
