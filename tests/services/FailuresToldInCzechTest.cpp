// What the person reads when the data layer fails outside a card: Czech texts of the data layer,
// never the driver's own, and the backup counter's write at closing told like the other closing
// writes.
#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "services/UserDatabases.h"
#include "services/UserList.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class ReadFailuresTest : public testsupport::UserDatabases {};

TEST_F(ReadFailuresTest, UnreadableUsersAndSettingsAreToldInCzech) {
    addUser(1, QStringLiteral("Novák"), QStringLiteral("heslo"));
    services::UserList users(global(), ui);
    ASSERT_TRUE(users.reload());
    ASSERT_TRUE(global().executeDdl(QStringLiteral("ALTER TABLE Login RENAME TO LoginJinde")));
    EXPECT_FALSE(users.reload());

    core::AgendaSettings settings;
    ASSERT_TRUE(agenda().executeDdl(QStringLiteral("ALTER TABLE Nastaveni RENAME TO Jinde")));
    EXPECT_FALSE(core::loadAgendaSettings(agenda(), env.dataFolder(), QStringLiteral("FIRMA"),
                                          settings, ui));
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList({core::readFailedMessage(), core::readFailedMessage()}));
    EXPECT_FALSE(global().lastError().isEmpty()); // the driver's text kept for nobody's screen
}

class ClosingBackupCounterTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder(QStringLiteral("LastDBName=DEMO\n"));
        ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
        ui.clear();
    }
    static core::Database& global() { return core::programState().db->global; }
    static int storedCounter() {
        return global()
            .scalar(QStringLiteral("SELECT IDZalohy FROM KonfigTab ORDER BY ID"))
            ->toInt();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(ClosingBackupCounterTest, TheCounterIsKeptAtClosingAndAFailedWriteIsTold) {
    core::programState().backupCounter = 7;
    test.startUp().close();
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());
    EXPECT_EQ(storedCounter(), 7);

    ASSERT_TRUE(global().executeDdl(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON KonfigTab BEGIN SELECT "
                       "RAISE(ABORT, 'refused'); END")));
    core::programState().backupCounter = 8;
    test.startUp().close();
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("KonfigTab"))));
    EXPECT_EQ(storedCounter(), 7);
}

} // namespace
