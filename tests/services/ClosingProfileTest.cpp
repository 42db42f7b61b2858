#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "services/ProfileValues.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class ClosingProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder(QStringLiteral("LastDBName=DEMO\n"));
        ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
        ui.clear();
    }
    static int rows(core::Database& db, const char* table) {
        return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))
            ->toInt();
    }
    static core::Database& agenda() { return core::programState().db->agenda; }
    static core::Database& global() { return core::programState().db->global; }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// The layouts, sort fields and window positions written at closing are one unit of work per
// database: one value that cannot be written leaves that database's values as they were, and the
// person is told once, after the rollback.
TEST_F(ClosingProfileTest, OneRefusedValueLeavesThatDatabasesValuesAsTheyWereAndIsTold) {
    ASSERT_EQ(rows(agenda(), "UzivMemo"), 0);
    ASSERT_TRUE(agenda().executeDdl(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON UzivMemo WHEN NEW.IDHodnoty = %1 "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")
            .arg(services::profile::memo::OfferItemsGrid)));
    const int agendaValues = rows(agenda(), "Uzivatelske");
    test.startUp().close();
    EXPECT_EQ(ui.texts(Kind::Error), QStringList{core::saveFailedMessage()});
    EXPECT_EQ(rows(agenda(), "UzivMemo"), 0);
    EXPECT_EQ(rows(agenda(), "Uzivatelske"), agendaValues);
    EXPECT_EQ(rows(global(), "Uzivatelske"), 20); // the other database's unit went through
    EXPECT_FALSE(core::Database::anyUnitOpen());

    ASSERT_TRUE(global().execute(QStringLiteral("UPDATE Uzivatelske SET Hodnota = 'x'")));
    ASSERT_TRUE(global().executeDdl(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Uzivatelske WHEN NEW.IDHodnoty = 17 "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    ASSERT_TRUE(agenda().executeDdl(QStringLiteral("DROP TRIGGER refuse")));
    ui.clear();
    test.startUp().close();
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{core::saveFailedMessage(QStringLiteral("Uzivatelske"))});
    EXPECT_EQ(rows(agenda(), "UzivMemo"), 5);
    EXPECT_EQ(global()
                  .scalar(QStringLiteral("SELECT count(*) FROM Uzivatelske WHERE Hodnota = 'x'"))
                  ->toInt(),
              20);
}

} // namespace
