// The folder store keeps every file where and as the previous versions of the program do, since
// workstations running them share the same data folder: database names, the `.ldb` each open
// connection locks, the record and exclusive lock files, the stamp files and their bytes, and
// the marks in the database files.
#include "core/Database.h"
#include "core/FileLock.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/SqliteFolderStore.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

#include <gtest/gtest.h>

using namespace orvento;
using core::DatabaseId;
using core::DatabaseTemplate;
using core::FileLock;
using core::HeldLock;
using core::SqliteFolderStore;
using core::StampedTable;
using testsupport::OtherWorkstation;

namespace {

class SqliteFolderLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(data() + QStringLiteral("LOCK")));
        ASSERT_TRUE(store.create(DatabaseId::global(), DatabaseTemplate::Global));
        ASSERT_TRUE(store.create(demo, DatabaseTemplate::DemoAgenda));
    }

    QString data() const { return env.dataFolder(); }
    QString lock(const QString& name) const { return data() + QStringLiteral("LOCK/") + name; }

    testsupport::TestEnvironment env;
    SqliteFolderStore store{env.dataFolder(), env.programFolder()};
    const DatabaseId demo = DatabaseId::agendaNamed(QStringLiteral("DEMO"));
};

TEST_F(SqliteFolderLayoutTest, DatabasesAreTheFilesOfTheDataFolderUnderTheirOldNames) {
    EXPECT_TRUE(QFileInfo::exists(data() + QStringLiteral("Global.MDB")));
    EXPECT_TRUE(QFileInfo::exists(data() + QStringLiteral("DEMO.MDB")));
    EXPECT_EQ(store.filePath(demo), data() + QStringLiteral("DEMO.MDB"));
    EXPECT_EQ(store.label(demo), QStringLiteral("DEMO.MDB"));
    // A folder copied from a file system that ignores case keeps working.
    ASSERT_TRUE(
        QFile::rename(data() + QStringLiteral("DEMO.MDB"), data() + QStringLiteral("demo.mdb")));
    EXPECT_TRUE(store.exists(demo));
    EXPECT_EQ(store.resolved(demo).agenda, QStringLiteral("demo"));

    core::Database db(QStringLiteral("layout"));
    ASSERT_TRUE(store.open(db, DatabaseId::global()));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA application_id"))->toInt(), 0x4F525647);
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA user_version"))->toInt(),
              core::currentSchemaVersion(core::DatabaseKind::Global));
    // Every open connection holds the shared lock on the companion file.
    EXPECT_EQ(FileLock::probe(data() + QStringLiteral("Global.ldb")),
              FileLock::Result::HeldElsewhere);
    db.close();
    EXPECT_EQ(FileLock::probe(data() + QStringLiteral("Global.ldb")), FileLock::Result::Taken);
}

TEST_F(SqliteFolderLayoutTest, AProgramOfThePreviousVersionHoldingTheDatabaseIsSeen) {
    // The previous version's connection: a plain shared lock on the companion file.
    OtherWorkstation old({QStringLiteral("open-db"), data() + QStringLiteral("DEMO.MDB")});
    ASSERT_EQ(old.firstLine(), QStringLiteral("ready"));
    EXPECT_TRUE(store.openedElsewhere(demo));
    EXPECT_FALSE(store.remove(demo));
    HeldLock exclusive;
    EXPECT_FALSE(store.takeExclusiveUse(demo, exclusive));
}

TEST_F(SqliteFolderLayoutTest, LockFilesKeepTheirNamesAndMeetThoseOfThePreviousVersion) {
    HeldLock record;
    ASSERT_TRUE(
        store.takeRecordLock({QStringLiteral("DEMO"), QStringLiteral("Zasoby"), 12}, record));
    EXPECT_TRUE(QFileInfo::exists(lock(QStringLiteral("~DEMO~Zasoby~12.lck"))));
    HeldLock shared;
    ASSERT_TRUE(store.takeRecordLock({QString(), QStringLiteral("Mista"), 3}, shared));
    EXPECT_TRUE(QFileInfo::exists(lock(QStringLiteral("~Global~Mista~3.lck"))));
    HeldLock exclusive;
    ASSERT_TRUE(store.takeExclusiveLock(exclusive));
    EXPECT_TRUE(QFileInfo::exists(lock(QStringLiteral("~program.lck"))));
    // Another workstation of the previous version tries the same files and is refused.
    OtherWorkstation old({QStringLiteral("hold"), lock(QStringLiteral("~DEMO~Zasoby~12.lck"))});
    EXPECT_EQ(old.firstLine(), QStringLiteral("failed"));
    record.release();
    shared.release();
    exclusive.release();
    EXPECT_FALSE(QFileInfo::exists(lock(QStringLiteral("~DEMO~Zasoby~12.lck"))));
    EXPECT_FALSE(QFileInfo::exists(lock(QStringLiteral("~program.lck"))));

    // And its held lock is seen by this one.
    OtherWorkstation editing({QStringLiteral("hold"), lock(QStringLiteral("~DEMO~Adresar~5.lck"))});
    ASSERT_EQ(editing.firstLine(), QStringLiteral("ready"));
    EXPECT_TRUE(
        store.recordLockHeldElsewhere({QStringLiteral("DEMO"), QStringLiteral("Adresar"), 5}));
    OtherWorkstation backup({QStringLiteral("hold"), lock(QStringLiteral("~program.lck"))});
    ASSERT_EQ(backup.firstLine(), QStringLiteral("ready"));
    EXPECT_TRUE(store.exclusiveLockHeldElsewhere());
}

TEST_F(SqliteFolderLayoutTest, StampsAreEightByteLittleEndianDaysInTheLockFolder) {
    constexpr double kDays = 45000.5;
    store.writeStamp(QStringLiteral("DEMO"), StampedTable::Zasoby, kDays);
    EXPECT_EQ(store.stampFilePath(QStringLiteral("DEMO"), StampedTable::Adresar),
              lock(QStringLiteral("01DEMO.tsf")));
    QFile file(lock(QStringLiteral("02DEMO.tsf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 8);
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double read = 0;
    std::memcpy(&read, &bits, sizeof read);
    EXPECT_DOUBLE_EQ(read, kDays);

    // A stamp the previous version wrote is read as it stands; a short file is unreadable.
    QFile groups(lock(QStringLiteral("03DEMO.tsf")));
    ASSERT_TRUE(groups.open(QIODevice::WriteOnly));
    groups.write(bytes);
    groups.close();
    EXPECT_DOUBLE_EQ(*store.readStamp(QStringLiteral("DEMO"), StampedTable::Skupiny), kDays);
    ASSERT_TRUE(groups.open(QIODevice::WriteOnly | QIODevice::Truncate));
    groups.write("abc");
    groups.close();
    EXPECT_TRUE(store.stampExists(QStringLiteral("DEMO"), StampedTable::Skupiny));
    EXPECT_EQ(store.readStamp(QStringLiteral("DEMO"), StampedTable::Skupiny), std::nullopt);
}

TEST_F(SqliteFolderLayoutTest, RemovingAnAgendaTakesItsJournalAlong) {
    QFile journal(data() + QStringLiteral("DEMO.MDB-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("stale");
    journal.close();
    ASSERT_TRUE(store.remove(demo));
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("DEMO.MDB")));
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("DEMO.MDB-journal")))
        << "a journal left behind would be played into a new agenda of the same name";
}

TEST_F(SqliteFolderLayoutTest, ACopyTakesTheJournalOfAnInterruptedWriteAlong) {
    QFile journal(data() + QStringLiteral("DEMO.MDB-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("half a unit of work");
    journal.close();
    const QString copy = env.programFolder() + QStringLiteral("DEMO.MDB");
    ASSERT_TRUE(store.copyTo(demo, copy));
    EXPECT_TRUE(QFileInfo::exists(copy + QStringLiteral("-journal")));
    // Restoring the copy replaces the database's own journal with the copy's.
    ASSERT_TRUE(QFile::remove(data() + QStringLiteral("DEMO.MDB-journal")));
    ASSERT_TRUE(store.restoreFrom(demo, copy));
    EXPECT_TRUE(QFileInfo::exists(data() + QStringLiteral("DEMO.MDB-journal")));
}

} // namespace
