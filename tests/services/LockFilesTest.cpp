#include "services/LockFiles.h"
#include "core/ProgramState.h"
#include "services/RecordLock.h"
#include "services/Workstations.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using services::RecordLock;
using testsupport::OtherWorkstation;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// Record locks between this process and a second one that plays another workstation.
class RecordLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        lockFolder = env.dataFolder() + QStringLiteral("LOCK/");
        QDir().mkpath(lockFolder);
        core::programState().folders.setData(env.dataFolder());
        core::programState().agenda = QStringLiteral("DEMO");
    }

    OtherWorkstation otherOpens(const QString& table, int id) {
        return OtherWorkstation({QStringLiteral("record-lock"), lockFolder, QStringLiteral("DEMO"),
                                 table, QString::number(id)});
    }

    testsupport::TestEnvironment env;
    QString lockFolder;
    ScriptedInteraction ui;
};

TEST_F(RecordLockTest, PathNamesAgendaTableAndRecord) {
    EXPECT_EQ(services::recordLockPath(QStringLiteral("Zasoby"), 12),
              lockFolder + QStringLiteral("~DEMO~Zasoby~12.lck"));
    EXPECT_EQ(services::recordLockPath(QStringLiteral("Mista"), 3, services::LockScope::Global),
              lockFolder + QStringLiteral("~Global~Mista~3.lck"));
}

TEST_F(RecordLockTest, SecondWorkstationGetsReadOnlyUntilTheFirstCloses) {
    RecordLock mine;
    {
        OtherWorkstation other = otherOpens(QStringLiteral("Nabidky"), 7);
        ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
        EXPECT_EQ(RecordLock::take(QStringLiteral("Nabidky"), 7, ui, mine),
                  RecordLock::State::ReadOnly);
        EXPECT_TRUE(ui.saw(Kind::Information, services::recordInUseMessage()));
        EXPECT_FALSE(mine.isHeld());
        EXPECT_FALSE(services::mayDeleteRecord(QStringLiteral("Nabidky"), 7, ui));
        EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
        mine.release(); // a read-only card only tries the deletion
        EXPECT_TRUE(QFileInfo::exists(services::recordLockPath(QStringLiteral("Nabidky"), 7)));
        other.stop();
    }
    ui.clear();
    EXPECT_EQ(RecordLock::take(QStringLiteral("Nabidky"), 7, ui, mine), RecordLock::State::Held);
    EXPECT_TRUE(ui.messages().empty());
    // Now the other workstation is the one that reads only.
    OtherWorkstation later = otherOpens(QStringLiteral("Nabidky"), 7);
    EXPECT_EQ(later.firstLine(), QStringLiteral("readonly"));
    mine.release();
    EXPECT_FALSE(QFileInfo::exists(services::recordLockPath(QStringLiteral("Nabidky"), 7)));
}

TEST_F(RecordLockTest, LockLeftByAKilledWorkstationIsStaleAndTakenOver) {
    const QString path = services::recordLockPath(QStringLiteral("Zasoby"), 3);
    {
        OtherWorkstation crashed = otherOpens(QStringLiteral("Zasoby"), 3);
        ASSERT_EQ(crashed.firstLine(), QStringLiteral("held"));
        crashed.kill();
    }
    ASSERT_TRUE(QFileInfo::exists(path)) << "the killed holder could not remove its file";
    EXPECT_TRUE(services::mayDeleteRecord(QStringLiteral("Zasoby"), 3, ui));
    RecordLock mine;
    EXPECT_EQ(RecordLock::take(QStringLiteral("Zasoby"), 3, ui, mine), RecordLock::State::Held);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RecordLockTest, TwoCardsOfOneProgramExcludeEachOtherToo) {
    RecordLock first;
    RecordLock second;
    ASSERT_EQ(RecordLock::take(QStringLiteral("Adresar"), 1, ui, first), RecordLock::State::Held);
    EXPECT_EQ(RecordLock::take(QStringLiteral("Adresar"), 1, ui, second),
              RecordLock::State::ReadOnly);
    EXPECT_EQ(RecordLock::take(QStringLiteral("Adresar"), 2, ui, second), RecordLock::State::Held);
}

TEST_F(RecordLockTest, LockFileThatCannotBeCreatedIsReported) {
    QDir(lockFolder).removeRecursively();
    RecordLock mine;
    EXPECT_EQ(RecordLock::take(QStringLiteral("Sklady"), 5, ui, mine), RecordLock::State::Failed);
    EXPECT_TRUE(ui.saw(
        Kind::Error,
        QStringLiteral("Nelze vytvořit pomocný soubor %1~DEMO~Sklady~5.lck").arg(lockFolder)));
}

TEST_F(RecordLockTest, HeldElsewhereClearsOnlyStaleFiles) {
    const QString path = services::recordLockPath(QStringLiteral("Sklady"), 7);
    EXPECT_FALSE(services::recordHeldElsewhere(QStringLiteral("Sklady"), 7));
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(services::recordHeldElsewhere(QStringLiteral("Sklady"), 7));
    EXPECT_FALSE(QFileInfo::exists(path)) << "a lock nobody holds is a left-over";
    OtherWorkstation other = otherOpens(QStringLiteral("Sklady"), 7);
    ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
    EXPECT_TRUE(services::recordHeldElsewhere(QStringLiteral("Sklady"), 7));
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(RecordLockTest, ExclusiveOperationIsRefusedWhileAnotherWorkstationRunsTheProgram) {
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    const QString global = env.dataFolder() + QStringLiteral("Global.MDB");
    ASSERT_TRUE(core::programState().db->global.open(global));
    {
        OtherWorkstation running({QStringLiteral("open-db"), global});
        ASSERT_EQ(running.firstLine(), QStringLiteral("ready"));
        EXPECT_TRUE(services::otherWorkstationsRunning());
        EXPECT_TRUE(core::programState().db->global.isOpen()) << "the test reopens our connection";
        services::ExclusiveOperation op;
        EXPECT_EQ(op.begin(ui), services::ExclusiveOperation::Start::OthersRunning);
        EXPECT_TRUE(core::programState().db->global.isOpen());
    }
    EXPECT_FALSE(services::otherWorkstationsRunning());
    services::ExclusiveOperation op;
    ASSERT_EQ(op.begin(ui), services::ExclusiveOperation::Start::Started);
    EXPECT_FALSE(core::programState().db->global.isOpen());
    // Meanwhile another workstation cannot take the program lock, so it does not start.
    OtherWorkstation starting({QStringLiteral("hold"), services::programLockPath()});
    EXPECT_EQ(starting.firstLine(), QStringLiteral("failed"));
    op.end();
    EXPECT_FALSE(QFileInfo::exists(services::programLockPath()));
}

} // namespace
