#include "addressbook/FirmCard.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/addressbook/AddressBookWindow.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// The windows are built panel by panel; the person still moves through them in the order of the
// card and the list.
class AddressBookWindowsOrder : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Alfa')")));
        firm = db().newRowId();
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }

    // The object names the Tab key goes through from the focused widget, `count` presses.
    static QStringList tabbedThrough(int count) {
        QStringList names;
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 firm = 0;
};

TEST_F(AddressBookWindowsOrder, FirmCardTabsThroughTheFieldsAndTheirButtons) {
    addressbook::FirmCard card(db(), core::programState().db->global, ui);
    ASSERT_TRUE(card.open(addressbook::FirmCardMode::Edit, firm));
    ui::FirmCardDialog dialog(test.context, card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    ASSERT_EQ(QApplication::focusWidget(),
              static_cast<QWidget*>(dialog.field(QStringLiteral("Nazev"))));
    EXPECT_EQ(tabbedThrough(6), (QStringList{QStringLiteral("edtUlice"), QStringLiteral("edtPsc"),
                                             QStringLiteral("btnPSC"), QStringLiteral("edtMisto"),
                                             QStringLiteral("edtStat"), QStringLiteral("edtICO")}));
    dialog.reject();
}

TEST_F(AddressBookWindowsOrder, AddressBookTabsFromTheGridDownTheButtons) {
    ui::AddressBookWindow book(test.context, addressbook::AddressBookMode::Browse);
    book.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&book));
    QApplication::setActiveWindow(&book);
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(book.grid()));
    EXPECT_EQ(tabbedThrough(4),
              (QStringList{QStringLiteral("btnOpravit"), QStringLiteral("btnKopirovat"),
                           QStringLiteral("btnVyjmout"), QStringLiteral("btnTisk")}));
    book.reject();
}

} // namespace
