#include "core/Database.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "support/DamagedFiles.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

using testsupport::Damage;

class DamagedDatabasesAtStartUp : public ::testing::TestWithParam<Damage> {
protected:
    bool start() { return test.startUp().run(); }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// A damaged last agenda is named in Czech with its file and why, and the agenda list opens in
// its place, from which another agenda is opened.
TEST_P(DamagedDatabasesAtStartUp, AgendaLeadsToTheAgendaList) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=DEMO\n"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB")));
    testsupport::damageFile(env.dataFolder() + QStringLiteral("DEMO.MDB"), GetParam());
    test.navigator.onAgendaList([this] {
        return test.startUp().openAgenda(QStringLiteral("Firma1")) ? core::AgendaListOutcome::Opened
                                                                   : core::AgendaListOutcome::Stay;
    });
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(test.navigator.count(QStringLiteral("openAgendaList")), 1);
    const QStringList errors = ui.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1) << errors.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Databázi firmy DEMO (soubor ")));
    EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(env.dataFolder()) +
                                   QStringLiteral("DEMO.MDB")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("soubor je poškozený")));
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
}

// A damaged global database is named the same way, and the data folder dialog follows; another
// data folder gets a fresh one and the start goes on there.
TEST_P(DamagedDatabasesAtStartUp, GlobalDatabaseLeadsToTheDataFolderDialog) {
    env.useDataFolder();
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    testsupport::damageFile(env.dataFolder() + QStringLiteral("Global.MDB"), GetParam());
    const QString other = env.dataFolder() + QStringLiteral("jinde/");
    QDir().mkpath(other);
    test.navigator.scriptDataFolder(core::DataFolderChoice{false, other});
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(test.navigator.count(QStringLiteral("chooseDataFolder")), 1);
    const QStringList errors = ui.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1) << errors.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Hlavní databázi programu (soubor ")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("soubor je poškozený")));
    EXPECT_TRUE(errors[0].contains(core::chooseAnotherDataFolderHint()));
    EXPECT_FALSE(errors[0].contains(QStringLiteral("Zkontrolujte, zda je na počítači")));
    EXPECT_EQ(core::programState().folders.data, other);
    EXPECT_TRUE(QFile::exists(other + QStringLiteral("Global.MDB")));
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedDatabasesAtStartUp,
                         ::testing::Values(Damage::Truncated, Damage::RandomBytes));

} // namespace
