#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/output/PrintWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class PrintWindowUnreadableReports : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.print);
        ASSERT_TRUE(global().execute(
            QStringLiteral("INSERT INTO Sestavy (Nazev, Soubor, Popis, IDModulu, TypSest) VALUES "
                           "('Moje adresy', 'MOJE', '', 4, 1)")));
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& global() { return core::programState().db->global; }
    static int storedCount() {
        return global()
            .scalar(QStringLiteral("SELECT count(*) FROM Sestavy WHERE IDModulu = 4"))
            .value_or(-1)
            .toInt();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// The window over unreadable user reports keeps their four commands off; ticking "upravit tisk.
// sestavu" reads them again, and once that works the commands and the reports are there.
TEST_F(PrintWindowUnreadableReports, CommandsStayOffUntilTheReportsAreRead) {
    ASSERT_TRUE(global().executeDdl(QStringLiteral("ALTER TABLE Sestavy RENAME TO Jinde")));
    ui::PrintRequest request;
    request.printType = output::print_type::AddressBook;
    ui::PrintWindow window(test.context, request, [] { return output::PrinterList{}; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("se nepodařilo načíst")));
    EXPECT_EQ(window.grid()->rowCount(), 2);
    const char* commands[] = {"btnVytvoritKopii", "btnVyjmoutSestavu", "btnVlastnostiSestavy",
                              "btnPridatSestavu"};
    window.editBox()->setChecked(true); // still unreadable: told once more
    EXPECT_EQ(ui.texts(Kind::Error).size(), 2);
    for (const char* name : commands)
        EXPECT_FALSE(child<QPushButton>(&window, name)->isEnabled()) << name;
    EXPECT_TRUE(child<QPushButton>(&window, "btnOpravitSestavu")->isEnabled());

    ASSERT_TRUE(global().executeDdl(QStringLiteral("ALTER TABLE Jinde RENAME TO Sestavy")));
    window.editBox()->setChecked(false);
    window.editBox()->setChecked(true);
    EXPECT_EQ(ui.texts(Kind::Error).size(), 2);
    for (const char* name : commands)
        EXPECT_TRUE(child<QPushButton>(&window, name)->isEnabled()) << name;
    ASSERT_EQ(window.grid()->rowCount(), 3);
    EXPECT_EQ(window.grid()->item(2, 1)->text(), QStringLiteral("Moje adresy"));
    window.reject();
    EXPECT_EQ(storedCount(), 1);
}

} // namespace
