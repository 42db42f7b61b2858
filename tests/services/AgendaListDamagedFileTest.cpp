#include "core/ProgramState.h"
#include "services/AgendaList.h"
#include "support/DamagedFiles.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// A damaged agenda is not listed, but the list still offers the maintenance tool that can mend
// it, and no demo copied over it.
TEST(AgendaListWithADamagedFile, OffersTheMaintenanceToolButNoDemoOverIt) {
    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    env.useDataFolder();
    core::programState().folders.setData(env.dataFolder());
    const QString demo = env.dataFolder() + QStringLiteral("DEMO.MDB");
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    QFile::setPermissions(demo, QFile::ReadOwner | QFile::WriteOwner);
    testsupport::damageFile(demo, testsupport::Damage::RandomBytes);
    services::AgendaList list(test.context);
    list.fill();
    EXPECT_FALSE(list.hasRows());
    EXPECT_TRUE(list.repairAvailable());
    EXPECT_FALSE(list.demoAvailable());
    core::resetProgramState();
}

} // namespace
