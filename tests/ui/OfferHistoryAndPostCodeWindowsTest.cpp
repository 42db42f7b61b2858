#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/addressbook/PostCodeCardDialog.h"
#include "ui/addressbook/PostCodeListWindow.h"
#include "ui/offers/HistoryActionWindow.h"

#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;

namespace {

// With ORVENTO_HOLD_WINDOW_MS set the window stays on the screen that long, for a look at it.
void holdForALook(QWidget& window) {
    const int ms = qEnvironmentVariableIntValue("ORVENTO_HOLD_WINDOW_MS");
    if (ms <= 0)
        return;
    window.show();
    QTest::qWait(ms);
}

TEST(HistoryActionWindowTest, OpensOnTheLatestRowWithItsPreviewAndHidesPurchaseSumsOnCtrlQ) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    core::Database& db = core::programState().db->agenda;
    const qint64 id = db.scalar(QStringLiteral("SELECT ID FROM Nabidky WHERE IDStav = 3"))
                          .value_or(-1)
                          .toLongLong();
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    ui::HistoryActionWindow window(test.context, id);
    ASSERT_EQ(window.list()->rowCount(), 2);
    EXPECT_EQ(window.list()->currentRow(), 1);
    EXPECT_EQ(window.list()->item(1, 2)->text(), QStringLiteral("Změna"));
    EXPECT_EQ(window.list()->item(0, 2)->text(), QStringLiteral("Přidání"));
    ASSERT_TRUE(window.previewShown());
    EXPECT_TRUE(window.previewCaption().startsWith(QStringLiteral("Náhled na nabídku NAB0003 k ")));
    ASSERT_GE(window.items()->rowCount(), 3);
    EXPECT_TRUE(window.items()->item(0, 0)->font().bold());
    EXPECT_TRUE(window.items()->item(0, 1)->text().isEmpty());
    EXPECT_TRUE(window.purchaseSumsShown());
    holdForALook(window);

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui.answer(true);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.purchaseSumsShown());

    // A row recorded without snapshots has no preview.
    db.execute(QStringLiteral("UPDATE Akce SET ActionData1 = '', ActionData2 = ''"));
    ui::HistoryActionWindow basic(test.context, id);
    EXPECT_FALSE(basic.previewShown());
}

TEST(PostCodeListWindowTest, QuickFindSortingAndButtonsOverTheShippedList) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    core::programState().folders.setData(env.dataFolder());
    QDir().mkpath(core::programState().folders.lock);
    ASSERT_TRUE(
        core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    {
        ui::PostCodeListWindow window(test.context, addressbook::PostCodeList::Mode::Pick);
        window.show();
        ASSERT_GT(window.table()->model()->rowCount(), 16000);
        window.sortByColumn(1);
        EXPECT_EQ(window.table()->horizontalHeader()->visualIndex(1), 0);
        window.table()->setFocus();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.table()->setFocus();
        // The first key opens the find box, which takes the following ones.
        QTest::keyClick(window.table(), Qt::Key_Z);
        ASSERT_TRUE(window.findBox()->isVisible());
        QTest::keyClicks(window.findBox(), QStringLiteral("ab"));
        const int row = window.table()->currentIndex().row();
        ASSERT_GE(row, 0);
        EXPECT_TRUE(window.table()->model()->index(row, 1).data().toString().startsWith(
            QStringLiteral("Zab")));
        QTest::keyClick(window.findBox(), Qt::Key_Tab);
        EXPECT_FALSE(window.findBox()->isVisible());
        EXPECT_EQ(window.table()->currentIndex().row(), row);
        EXPECT_EQ(window.table()->selectionModel()->selectedRows().value(0).row(), row);
        holdForALook(window);
        window.reject();
    }
    // Reopened: sorted by place, on the same row.
    core::programState().db->global.execute(QStringLiteral("DELETE FROM Mista WHERE Misto > 'M'"));
    ui::PostCodeListWindow again(test.context, addressbook::PostCodeList::Mode::Manage);
    EXPECT_EQ(again.list().sortField(), QStringLiteral("MISTO"));
    core::programState().db->global.execute(QStringLiteral("DELETE FROM Mista"));
    again.refreshRows();
    EXPECT_FALSE(again.findChild<QPushButton*>(QStringLiteral("btnOK"))->isEnabled());
    EXPECT_FALSE(again.findChild<QPushButton*>(QStringLiteral("btnVyjmout"))->isEnabled());
}

TEST(PostCodeCardDialogTest, OkSavesTheCodeWithoutSpacesAndEmptyFieldsKeepTheCardOpen) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    core::programState().folders.setData(env.dataFolder());
    QDir().mkpath(core::programState().folders.lock);
    core::Database& global = core::programState().db->global;
    ASSERT_TRUE(global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
    ScriptedInteraction ui;
    addressbook::PostCodeList list(global, ui);
    ASSERT_TRUE(list.open());
    addressbook::PostCodeCard card(global, ui, list);
    card.startNew();
    ui::PostCodeCardDialog dialog(card);
    dialog.show();
    QTest::keyClicks(dialog.pscField(), QStringLiteral(" 999 01"));
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Information,
                       QStringLiteral("Musíte vyplnit PSČ a Místo.")));
    EXPECT_EQ(dialog.pscField()->text(), QStringLiteral("99901"));
    QTest::keyClicks(dialog.mistoField(), QStringLiteral("Nove Misto"));
    holdForALook(dialog);
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(addressbook::placeOfPostCode(global, QStringLiteral("999 01")),
              QStringLiteral("Nove Misto"));
}

} // namespace
