#include "BackupFixture.h"

#include "backup/BackupSession.h"
#include "core/CurrentUser.h"
#include "support/TestContext.h"
#include "support/TestStore.h"

using namespace orvento;
using namespace orvento::testsupport;

namespace {

class BackupSessionTest : public BackupFixture {
protected:
    void SetUp() override {
        if (testsupport::testStoreIsServer())
            GTEST_SKIP() << "the session closes and locks the data folder's database files";
        BackupFixture::SetUp();
        core::ProgramState& state = core::programState();
        ASSERT_TRUE(state.db->global.open(globalFile()));
        ASSERT_TRUE(state.db->agenda.open(agendaFile()));
    }
    QString programLock() const {
        return core::programState().folders.lock + QStringLiteral("~program.lck");
    }
    TestContext test{ui};
};

TEST_F(BackupSessionTest, AnotherWorkstationRunningTheProgramKeepsTheBackupOut) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the session closes and locks the data folder's database files";
    core::ProgramState& state = core::programState();
    {
        OtherWorkstation other({QStringLiteral("open-db"), globalFile()});
        ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
        backup::BackupSession session(test.context);
        EXPECT_EQ(session.begin(core::BackupPage::Create),
                  backup::BackupSession::Start::OthersRunning);
        EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Warning),
                  QStringList{backup::othersRunningMessage()});
        EXPECT_TRUE(state.db->global.isOpen() && state.db->agenda.isOpen()) << "reconnected";
        EXPECT_FALSE(QFileInfo::exists(programLock()));
    }
    backup::BackupSession session(test.context);
    ASSERT_EQ(session.begin(core::BackupPage::Restore), backup::BackupSession::Start::Started);
    EXPECT_FALSE(state.db->global.isOpen());
    EXPECT_TRUE(QFileInfo::exists(programLock())) << "no workstation may start meanwhile";
    session.finish(false, nullptr);
    EXPECT_FALSE(QFileInfo::exists(programLock()));
    EXPECT_TRUE(state.db->global.isOpen() && state.db->agenda.isOpen());
}

TEST_F(BackupSessionTest, WithoutTheRightNothingIsClosedOrLocked) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the session closes and locks the data folder's database files";
    core::ProgramState& state = core::programState();
    state.user.obnoveniZalohy = false;
    backup::BackupSession session(test.context);
    EXPECT_EQ(session.begin(core::BackupPage::Restore), backup::BackupSession::Start::NoRight);
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Information),
              QStringList{core::noRightsMessage()});
    EXPECT_TRUE(state.db->global.isOpen());
    EXPECT_FALSE(QFileInfo::exists(programLock()));
}

} // namespace
