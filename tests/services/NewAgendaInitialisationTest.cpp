#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "services/AgendaList.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace orvento;
using services::AgendaListOutcome;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// The program's own start-up steps, with the firm name of a new agenda refused while `refuse`
// is set, as a full disk or a broken file would refuse it.
class RefusingHooks : public services::StandardStartupHooks {
public:
    void agendaConnected(core::AppContext& context, bool firstOpener) override {
        services::StandardStartupHooks::agendaConnected(context, firstOpener);
        core::Database& db = context.db().agenda;
        EXPECT_TRUE(db.executeDdl(QStringLiteral("DROP TRIGGER IF EXISTS refuse")));
        if (refuse) {
            EXPECT_TRUE(db.executeDdl(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE INSERT ON Nastaveni WHEN NEW.IDHodnoty = 1 "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        }
    }
    bool refuse = false;
};

class NewAgendaInitialisationTest : public ::testing::Test {
protected:
    int seriesRows() {
        return core::programState()
            .db->agenda.scalar(QStringLiteral("SELECT count(*) FROM CisRady"))
            ->toInt();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    RefusingHooks hooks;
    testsupport::TestContext test{ui, &hooks};
};

// A new agenda gets its numbering series and firm name in one unit of work: when the name is
// refused, the series is not left behind either, the failure is told, the program shows no firm
// name that is not stored and the row stays new, so the next opening initialises it and asks for
// the name.
TEST_F(NewAgendaInitialisationTest, ARefusedFirstWriteLeavesTheAgendaNewAndUnchanged) {
    env.useDataFolder(QStringLiteral("LastDBName=DEMO\n"));
    ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
    ui.clear();
    test.navigator.onSettings([] { return core::NavigationStatus::Cancelled; });

    services::AgendaList list(test.context);
    list.fill();
    hooks.refuse = true;
    ui.answer(true);
    EXPECT_EQ(list.addNew(), AgendaListOutcome::Opened);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{core::saveFailedMessage(QStringLiteral("Nastaveni"))});
    EXPECT_EQ(test.navigator.count(QStringLiteral("openSettings")), 0);
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
    EXPECT_NE(core::programState().agendaName, QStringLiteral("<bez názvu>"));
    EXPECT_EQ(seriesRows(), 0);
    ASSERT_EQ(list.current(), static_cast<int>(list.rows().size()) - 1);
    EXPECT_TRUE(list.rows().back().nova);
    EXPECT_FALSE(ui.waitShown());

    hooks.refuse = false;
    ui.clear();
    EXPECT_EQ(list.openCurrent(), AgendaListOutcome::Opened);
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());
    EXPECT_EQ(test.navigator.count(QStringLiteral("openSettings")), 1);
    EXPECT_EQ(core::programState().agendaName, QStringLiteral("<bez názvu>"));
    EXPECT_EQ(seriesRows(), 1);
    EXPECT_FALSE(list.rows().back().nova);
}

} // namespace
