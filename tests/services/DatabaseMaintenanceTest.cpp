#include "services/DatabaseMaintenance.h"
#include "core/Database.h"
#include "core/FileLock.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using services::DatabaseMaintenance;
using Status = DatabaseMaintenance::Status;
using testsupport::OtherWorkstation;
using testsupport::TestEnvironment;

namespace {

class DatabaseMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
        QFile foreign(env.dataFolder() + QStringLiteral("Cizi.mdb"));
        ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
        foreign.write(QByteArray(1000, 'z'));
    }

    QString path(const QString& name) const { return env.dataFolder() + name; }

    TestEnvironment env;
};

TEST_F(DatabaseMaintenanceTest, ListsTheFolderGlobalFirstAndTellsTheKinds) {
    const DatabaseMaintenance maintenance(env.dataFolder());
    const auto entries = maintenance.databases();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].fileName, QStringLiteral("Global.MDB"));
    EXPECT_EQ(entries[0].kind, DatabaseMaintenance::FileKind::Global);
    EXPECT_EQ(entries[1].fileName, QStringLiteral("Cizi.mdb"));
    EXPECT_EQ(entries[1].kind, DatabaseMaintenance::FileKind::Unknown);
    EXPECT_EQ(entries[2].kind, DatabaseMaintenance::FileKind::Agenda);
}

TEST_F(DatabaseMaintenanceTest, KeepsACopyChecksAndCompacts) {
    {
        // Lots of deleted rows leave free pages behind.
        core::Database db(QStringLiteral("grow"));
        ASSERT_TRUE(db.open(path(QStringLiteral("DEMO.MDB"))));
        core::Transaction tx(db);
        for (int i = 0; i < 2000; ++i)
            ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Akce (Description) VALUES (:D)"),
                                   {{QStringLiteral("D"), QString(200, QLatin1Char('x'))}}));
        ASSERT_TRUE(tx.commit());
        ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Akce")));
    }
    const QByteArray original = [&] {
        QFile f(path(QStringLiteral("DEMO.MDB")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    DatabaseMaintenance maintenance(env.dataFolder());
    ASSERT_TRUE(maintenance.beginExclusive());
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("LOCK/~program.lck"))));
    const auto result = maintenance.maintain(QStringLiteral("DEMO.MDB"));
    maintenance.endExclusive();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("LOCK/~program.lck"))));

    EXPECT_EQ(result.status, Status::Ok) << result.detail.toStdString();
    EXPECT_LT(result.sizeAfter, result.sizeBefore);
    ASSERT_FALSE(result.copyPath.isEmpty());
    EXPECT_TRUE(result.copyPath.startsWith(maintenance.copyFolder()));
    QFile copy(result.copyPath);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original);
    EXPECT_TRUE(DatabaseMaintenance::describe(result).startsWith(
        QStringLiteral("DEMO.MDB: databáze je v pořádku, zkomprimována z ")));

    core::Database check(QStringLiteral("check"));
    ASSERT_TRUE(check.open(path(QStringLiteral("DEMO.MDB"))));
    EXPECT_GT(check.scalar(QStringLiteral("SELECT count(*) FROM Skupiny"))->toInt(), 0);
}

TEST_F(DatabaseMaintenanceTest, RefusesADatabaseOpenElsewhereAndLeavesForeignFilesAlone) {
    {
        OtherWorkstation other({QStringLiteral("open-db"), path(QStringLiteral("Global.MDB"))});
        ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
        DatabaseMaintenance maintenance(env.dataFolder());
        const auto busy = maintenance.maintain(QStringLiteral("Global.MDB"));
        EXPECT_EQ(busy.status, Status::InUse);
        EXPECT_TRUE(busy.copyPath.isEmpty());
        EXPECT_TRUE(DatabaseMaintenance::describe(busy).contains(QStringLiteral("jiné stanici")));

        const auto foreign = maintenance.maintain(QStringLiteral("Cizi.mdb"));
        EXPECT_EQ(foreign.status, Status::NotADatabase);
        QFile f(path(QStringLiteral("Cizi.mdb")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray(1000, 'z'));
        EXPECT_FALSE(QDir(maintenance.copyFolder()).exists());
    }
    {
        // A backup on another workstation holds the exclusive-operation lock.
        QDir().mkpath(path(QStringLiteral("LOCK")));
        OtherWorkstation backup(
            {QStringLiteral("hold"), path(QStringLiteral("LOCK/~program.lck"))});
        ASSERT_EQ(backup.firstLine(), QStringLiteral("ready"));
        DatabaseMaintenance maintenance(env.dataFolder());
        EXPECT_FALSE(maintenance.beginExclusive());
    }
}

TEST_F(DatabaseMaintenanceTest, DamagedIndexIsRebuilt) {
    const QString file = path(QStringLiteral("DEMO.MDB"));
    {
        // Make the index disagree with its table, as a torn write would.
        core::Database db(QStringLiteral("damage"));
        ASSERT_TRUE(db.open(file));
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Akce (ObjectType, ObjectID) VALUES "
                                              "(1, 5), (2, 7), (3, 4)")));
        ASSERT_TRUE(db.executeDdl(QStringLiteral("PRAGMA writable_schema = ON")));
        ASSERT_TRUE(db.executeDdl(
            QStringLiteral("UPDATE sqlite_master SET sql = 'CREATE INDEX \"ObjectTypeAndID\" ON "
                           "\"Akce\" (\"ObjectID\", \"ObjectType\")' WHERE name = "
                           "'ObjectTypeAndID'")));
    }
    DatabaseMaintenance maintenance(env.dataFolder());
    const auto result = maintenance.maintain(QStringLiteral("DEMO.MDB"));
    EXPECT_EQ(result.status, Status::Repaired) << result.detail.toStdString();
    core::Database check(QStringLiteral("check"));
    ASSERT_TRUE(check.open(file));
    EXPECT_EQ(check.scalar(QStringLiteral("PRAGMA integrity_check"))->toString(),
              QStringLiteral("ok"));
}

} // namespace
