#include "addressbook/FirmCard.h"
#include "core/ProgramState.h"
#include "services/RecordLock.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/addressbook/ContactDialog.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using addressbook::FirmCardMode;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class FirmCardSaveAndLock : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Alfa')")));
        firm = db().newRowId();
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Kontakty (Prijmeni, CisloAdr, Zobrazit) VALUES ('Novák', "
                           ":F, 1)"),
            {{QStringLiteral("F"), firm}}));
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Dokumenty (Popis, Soubor, CisloAdr) "
                                                "VALUES ('Smlouva', '/tmp/smlouva.pdf', :F)"),
                                 {{QStringLiteral("F"), firm}}));
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    QString stored(const QString& sql) {
        return db().scalar(sql, {{QStringLiteral("F"), firm}}).value_or(QVariant()).toString();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 firm = 0;
};

// A save that fails leaves the card open with what was typed and the new contact, so that "OK"
// saves it once the database takes it.
TEST_F(FirmCardSaveAndLock, AFailedSaveKeepsTheCardOpenWithEveryEdit) {
    ASSERT_TRUE(db().executeDdl(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE UPDATE ON Adresar BEGIN SELECT RAISE(ABORT, 'refused'); "
        "END")));
    addressbook::FirmCard card(db(), core::programState().db->global, ui);
    ASSERT_TRUE(card.open(FirmCardMode::Edit, firm));
    ui::FirmCardDialog dialog(test.context, card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.field(QStringLiteral("Telefon")), QStringLiteral("123 456"));
    onNextModal([](QWidget* modal) {
        auto* contact = qobject_cast<ui::ContactDialog*>(modal);
        ASSERT_NE(contact, nullptr);
        QTest::keyClicks(contact->surname(), QStringLiteral("Dvorak"));
        contact->accept();
    });
    child<QPushButton>(&dialog, "btnPridatKontakt")->click();
    ASSERT_EQ(dialog.contactsGrid()->rowCount(), 2);

    dialog.okButton()->click();
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Při ukládání záznamu")));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.field(QStringLiteral("Telefon"))->text(), QStringLiteral("123 456"));
    EXPECT_EQ(dialog.contactsGrid()->rowCount(), 2);
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM Kontakty WHERE CisloAdr = :F")),
              QStringLiteral("1"));

    ASSERT_TRUE(db().executeDdl(QStringLiteral("DROP TRIGGER refuse")));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(QStringLiteral("SELECT Telefon FROM Adresar WHERE ID = :F")),
              QStringLiteral("123 456"));
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM Kontakty WHERE CisloAdr = :F")),
              QStringLiteral("2"));
}

// A firm open on another workstation: its contacts and links can be looked at, not changed,
// since nothing of it could be saved.
TEST_F(FirmCardSaveAndLock, ALockedCardShowsContactsAndLinksWithoutTakingChanges) {
    services::RecordLock elsewhere;
    ASSERT_EQ(services::RecordLock::take(QStringLiteral("Adresar"), firm, ui, elsewhere),
              services::RecordLock::State::Held);
    addressbook::FirmCard card(db(), core::programState().db->global, ui);
    ASSERT_TRUE(card.open(FirmCardMode::Edit, firm));
    ASSERT_FALSE(card.editable());
    ui::FirmCardDialog dialog(test.context, card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnPridatKontakt")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnVyjmoutKontakt")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnPridatOdkaz")->isEnabled());

    bool contactShown = false;
    onNextModal([&contactShown](QWidget* modal) {
        auto* contact = qobject_cast<ui::ContactDialog*>(modal);
        ASSERT_NE(contact, nullptr);
        contactShown = true;
        EXPECT_EQ(contact->surname()->text(), QStringLiteral("Novák"));
        QTest::keyClicks(contact->surname(), QStringLiteral("ova"));
        EXPECT_FALSE(child<QPushButton>(contact, "btnOK")->isVisible());
        QTest::keyClick(contact, Qt::Key_Return);
        if (contact->isVisible()) {
            ADD_FAILURE() << "Enter did not close the contact";
            contact->reject();
        }
    });
    child<QPushButton>(&dialog, "btnOpravitKontakt")->click();
    EXPECT_TRUE(contactShown);
    ASSERT_EQ(card.contacts().size(), 1U);
    EXPECT_EQ(card.contacts()[0].Prijmeni, QStringLiteral("Novák"));
    addressbook::Contact changed = card.contacts()[0];
    changed.Prijmeni = QStringLiteral("Jiný");
    EXPECT_FALSE(card.storeContact(0, changed));

    bool linkShown = false;
    onNextModal([&linkShown](QWidget* modal) {
        auto* link = qobject_cast<ui::DocumentLinkDialog*>(modal);
        ASSERT_NE(link, nullptr);
        linkShown = true;
        QTest::keyClicks(link->description(), QStringLiteral(" nova"));
        EXPECT_FALSE(child<QPushButton>(link, "btnOK")->isVisible());
        link->accept();
        if (link->isVisible()) {
            ADD_FAILURE() << "OK did not close the link";
            link->reject();
        }
    });
    child<QPushButton>(&dialog, "btnOpravitOdkaz")->click();
    EXPECT_TRUE(linkShown);
    ASSERT_EQ(card.documents().size(), 1U);
    EXPECT_EQ(card.documents()[0].Popis, QStringLiteral("Smlouva"));
    dialog.reject();
}

} // namespace
