#include "ui/AgendaListDialog.h"

#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;

namespace {

class AgendaListDialogTest : public ::testing::Test {
protected:
    QPushButton* button(const ui::AgendaListDialog& dialog, const char* name) {
        auto* b = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    core::StartUp& startUp = test.startUp();
};

TEST_F(AgendaListDialogTest, EmptyFolderOffersOnlyNewAgendasAndDemo) {
    env.useDataFolder();
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    core::programState().folders.setData(env.dataFolder());
    services::AgendaList list(test.context);
    list.fill();
    ui::AgendaListDialog dialog(list);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmSeznamFirem"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Seznam firem"));
    EXPECT_EQ(dialog.grid()->topLevelItemCount(), 0);
    EXPECT_FALSE(button(dialog, "btnOtevrit")->isEnabled());
    EXPECT_FALSE(button(dialog, "btnVyjmout")->isEnabled());
    EXPECT_FALSE(button(dialog, "btnOpravit")->isEnabled());
    EXPECT_TRUE(button(dialog, "btnPridat")->isEnabled());
    EXPECT_FALSE(button(dialog, "btnDemo")->isHidden());
    EXPECT_EQ(button(dialog, "btnDemo")->toolTip(), QStringLiteral("Přidat demonstrační firmu"));
}

TEST_F(AgendaListDialogTest, ListsTheAgendasAndOpensTheChosenOne) {
    env.useDataFolder();
    ASSERT_TRUE(startUp.run());
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB")));
    services::AgendaList list(test.context);
    list.fill();
    ui::AgendaListDialog dialog(list);
    dialog.show();
    QTreeWidget* grid = dialog.grid();
    ASSERT_EQ(grid->topLevelItemCount(), 2);
    EXPECT_EQ(grid->headerItem()->text(0), QStringLiteral("Název firmy"));
    EXPECT_EQ(grid->headerItem()->text(1), QStringLiteral("Databáze"));
    EXPECT_EQ(grid->currentItem()->text(1), QStringLiteral("DEMO.MDB"));
    EXPECT_TRUE(button(dialog, "btnDemo")->isHidden());

    grid->setCurrentItem(grid->topLevelItem(0));
    ASSERT_EQ(grid->currentItem()->text(1), QStringLiteral("FIRMA1.MDB"));
    QTest::mouseClick(button(dialog, "btnOtevrit"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.outcome(), core::AgendaListOutcome::Opened);
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
}

TEST_F(AgendaListDialogTest, MainWindowAsksForTheListAndEndsTheProgramWhenItSaysSo) {
    env.useDataFolder();
    ASSERT_TRUE(startUp.run());
    const QString iniBefore = env.readIni();
    ui::MainWindow window(test.context);
    window.show();
    EXPECT_TRUE(window.action(QStringLiteral("actNastaveni"))->isEnabled());
    ASSERT_TRUE(window.action(QStringLiteral("actSeznamFirem"))->isEnabled());
    test.navigator.onAgendaList([] { return core::AgendaListOutcome::Stay; });
    window.action(QStringLiteral("actSeznamFirem"))->trigger();
    EXPECT_TRUE(window.isVisible());
    // A redirected data folder: the program ends without writing the old folder back.
    test.navigator.onAgendaList([] { return core::AgendaListOutcome::EndProgram; });
    window.action(QStringLiteral("actSeznamFirem"))->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(env.readIni(), iniBefore) << "no closing steps";
    EXPECT_EQ(test.navigator.count(QStringLiteral("openAgendaList")), 2);
}

} // namespace
