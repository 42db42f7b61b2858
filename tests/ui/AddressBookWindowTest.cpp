#include "ui/addressbook/AddressBookWindow.h"
#include "addressbook/FirmRecords.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/ContactDialog.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;

namespace {

class AddressBookWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(
            core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
        QDir().mkpath(core::programState().folders.lock);
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    int count(const QString& sql) { return db().scalar(sql).value_or(0).toInt(); }

    // Runs the contact window the next click opens: a surname and the primary mark.
    void addContactThroughWindow(ui::FirmCardDialog* card, const QString& surname, bool primary) {
        onNextModal([surname, primary](QWidget* modal) {
            auto* dialog = qobject_cast<ui::ContactDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->surname()->setText(surname);
            dialog->primary()->setChecked(primary);
            dialog->accept();
        });
        child<QPushButton>(card, "btnPridatKontakt")->click();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(AddressBookWindowTest, ANewFirmWithTwoContactsAndACopiedDocumentThenItsDeletion) {
    const QString source = env.dataFolder() + QStringLiteral("cenik.txt");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ceník");
    }
    ui::AddressBookWindow window(test.context, addressbook::AddressBookMode::Browse);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Adresář firem"));
    EXPECT_FALSE(child<QPushButton>(&window, "btnOK")->isVisible());
    EXPECT_FALSE(child<QPushButton>(&window, "btnOpravit")->isEnabled()) << "no firms yet";

    bool cardRan = false;
    onNextModal([&](QWidget* modal) {
        auto* card = qobject_cast<ui::FirmCardDialog*>(modal);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->windowTitle(), QStringLiteral("Karta adresy"));
        card->field(QStringLiteral("Nazev"))->setText(QStringLiteral("Stavebniny Kovář s.r.o."));
        card->field(QStringLiteral("Psc"))->setText(QStringLiteral("352 01"));
        QFocusEvent leave(QEvent::FocusOut); // leaving the post code fills the place
        QApplication::sendEvent(card->field(QStringLiteral("Psc")), &leave);
        EXPECT_EQ(card->field(QStringLiteral("Misto"))->text(), QStringLiteral("Aš"));
        addContactThroughWindow(card, QStringLiteral("Kovář"), true);
        addContactThroughWindow(card, QStringLiteral("Bartoš"), true);
        EXPECT_EQ(card->contactsGrid()->rowCount(), 2);

        ui.chooseFile(source);
        onNextModal([](QWidget* linkModal) {
            auto* link = qobject_cast<ui::DocumentLinkDialog*>(linkModal);
            ASSERT_NE(link, nullptr);
            EXPECT_EQ(link->description()->text(), QStringLiteral("cenik"));
            link->copy()->setChecked(true);
            link->accept();
        });
        child<QPushButton>(card, "btnPridatOdkaz")->click();
        EXPECT_EQ(card->documentsGrid()->rowCount(), 1);
        card->okButton()->click();
        cardRan = true;
    });
    child<QPushButton>(&window, "btnPridat")->click();
    ASSERT_TRUE(cardRan);

    ASSERT_EQ(window.logic().firms().rowCount(), 1);
    const qint64 id = window.logic().currentFirmId();
    const auto firm = addressbook::readFirm(db(), id);
    ASSERT_TRUE(firm);
    EXPECT_EQ(firm->Misto, QStringLiteral("Aš"));
    EXPECT_EQ(firm->Psc, QStringLiteral("352 01"));
    const auto contacts = addressbook::readContacts(db(), id);
    ASSERT_TRUE(contacts && contacts->size() == 2);
    EXPECT_EQ(contacts->at(0).Prijmeni, QStringLiteral("Bartoš"));
    EXPECT_TRUE(contacts->at(0).Zobrazit);
    EXPECT_FALSE(contacts->at(1).Zobrazit);
    const auto documents = addressbook::readDocuments(db(), id);
    ASSERT_TRUE(documents && documents->size() == 1);
    EXPECT_EQ(documents->front().File, QStringLiteral("%SDILENA_SLOZKA%cenik.txt"));
    EXPECT_TRUE(QFile::exists(addressbook::sharedFolderOf(id) + QStringLiteral("cenik.txt")));
    EXPECT_TRUE(child<QPushButton>(&window, "btnOpravit")->isEnabled());

    ui.answer(true);
    child<QPushButton>(&window, "btnVyjmout")->click();
    EXPECT_EQ(window.logic().firms().rowCount(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Dokumenty")), 0);
    window.reject();
}

TEST_F(AddressBookWindowTest, PickModeTransfersTheFirmFoundByQuickFind) {
    for (const char* name : {"Alfa", "Beta", "Gama"})
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:N)"),
                                 {{QStringLiteral("N"), QString::fromLatin1(name)}}));
    ui::AddressBookWindow window(test.context, addressbook::AddressBookMode::Pick);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(child<QPushButton>(&window, "btnOK")->isVisible());
    QTableView* grid = window.grid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_G);
    ASSERT_TRUE(window.findBox()->isVisible());
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(window.pickedFirm());
    EXPECT_EQ(addressbook::readFirm(db(), *window.pickedFirm())->Nazev, QStringLiteral("Gama"));
}

TEST_F(AddressBookWindowTest, AnOfferViewsAFirmsCardWithoutOkAndALinkIntoItsFolder) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Náhled')")));
    const qint64 id = db().newRowId();
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO Dokumenty (CisloAdr, Popis, Soubor) VALUES (:ID, 'Plán', "
                       "'%SDILENA_SLOZKA%plan.pdf')"),
        {{QStringLiteral("ID"), id}}));
    bool shown = false;
    onNextModal([&](QWidget* modal) {
        auto* card = qobject_cast<ui::FirmCardDialog*>(modal);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->windowTitle(), QStringLiteral("Karta adresy - prohlížení"));
        EXPECT_FALSE(card->okButton()->isVisible());
        ASSERT_EQ(card->documentsGrid()->rowCount(), 1);
        card->documentsGrid()->setCurrentCell(0, 1);
        // A file in the shared folder is named there, not browsed for.
        onNextModal([&](QWidget* linkModal) {
            auto* link = qobject_cast<ui::DocumentLinkDialog*>(linkModal);
            ASSERT_NE(link, nullptr);
            EXPECT_EQ(link->windowTitle(), QStringLiteral("Opravit odkaz na dokument"));
            EXPECT_FALSE(child<QWidget>(link, "btnSoubor")->isVisible());
            EXPECT_FALSE(link->copy()->isVisible());
            auto* folder = link->findChild<QLabel*>(QStringLiteral("lblSdilenaSlozka"));
            ASSERT_NE(folder, nullptr);
            EXPECT_EQ(QDir::fromNativeSeparators(folder->text()), addressbook::sharedFolderOf(id));
            link->reject();
        });
        child<QPushButton>(card, "btnOpravitOdkaz")->click();
        card->reject();
        shown = true;
    });
    ui::ProgramNavigator navigator(test.context, nullptr);
    const auto answer = navigator.openFirmCard(id);
    EXPECT_TRUE(shown);
    EXPECT_EQ(answer->result().status, core::NavigationStatus::Done);
}

} // namespace
