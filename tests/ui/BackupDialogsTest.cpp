#include "ui/backup/BackupDialog.h"

#include "backup/BackupChoices.h"
#include "backup/BackupSession.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;

namespace {

class BackupDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("DEMO")));
        core::programState().settings.nazev = QStringLiteral("Stavebniny Novák");
        own = env.dataFolder() + QStringLiteral("../moje zalohy");
        ASSERT_TRUE(QDir().mkpath(own));
    }
    int sheets() {
        return core::programState()
            .db->agenda.scalar(QStringLiteral("SELECT COUNT(*) FROM Sklady"))
            .value_or(-1)
            .toInt();
    }
    void addSheet() {
        ASSERT_TRUE(core::programState().db->agenda.execute(
            QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('nový', 50)")));
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    QString own;
};

TEST_F(BackupDialogsTest, ABackupIntoATypedFolderIsMadeAndTheChoicesAreRemembered) {
    testsupport::onNextModal([this](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmZalohovani"));
        EXPECT_EQ(child<QLabel>(dialog, "lblFirma")->text(), QStringLiteral("Stavebniny Novák"));
        EXPECT_FALSE(child<QPushButton>(dialog, "btnSmazat")->isVisible());
        auto* standard = child<QCheckBox>(dialog, "chkStandardniSlozka");
        auto* folder = child<QLineEdit>(dialog, "edtSlozka");
        EXPECT_TRUE(standard->isChecked());
        EXPECT_FALSE(folder->isEnabled());
        EXPECT_EQ(folder->text(), backup::standardBackupFolder());
        QTest::mouseClick(standard, Qt::LeftButton, {}, QPoint(4, standard->height() / 2));
        ASSERT_TRUE(folder->isEnabled());
        child<QCheckBox>(dialog, "chkSpolecnaData")->setChecked(true);
        folder->clear();
        QTest::keyClicks(folder, QDir::toNativeSeparators(own));
        // Enter ends the typing and presses OK.
        QTest::keyClick(folder, Qt::Key_Return);
    });
    EXPECT_EQ(ui::BackupDialog::open(test.context, core::BackupPage::Create, nullptr),
              core::BackupOutcome::Stay);
    const QStringList made = QDir(own).entryList({QStringLiteral("*.zbf")}, QDir::Files);
    ASSERT_EQ(made.size(), 1) << ui.allTexts().join('\n').toStdString();
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Information)
                    .value(0)
                    .startsWith(QStringLiteral("Vytvoření záložní kopie proběhlo úspěšně.")));
    // The connections are back and hold the choices.
    ASSERT_TRUE(core::programState().db->agenda.isOpen());
    const backup::BackupChoices remembered = backup::BackupChoices::load();
    EXPECT_FALSE(remembered.standardFolder);
    EXPECT_TRUE(remembered.sharedData);
    EXPECT_EQ(QDir::fromNativeSeparators(remembered.ownFolder), own);
}

TEST_F(BackupDialogsTest, ARestoreAsksWhatToRestoreAndEndsTheProgram) {
    const int before = sheets();
    // A backup without the shared data in the standard folder.
    testsupport::onNextModal([](QWidget* dialog) {
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    ASSERT_EQ(ui::BackupDialog::open(test.context, core::BackupPage::Create, nullptr),
              core::BackupOutcome::Stay);
    addSheet();
    ASSERT_EQ(sheets(), before + 1);
    ui.clear();

    ui.answer(true); // "Varování: vybraná stávající data budou nenávratně přepsána ..."
    testsupport::onNextModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Zálohování"));
        auto* grid = child<QTreeWidget>(dialog, "grZalohy");
        ASSERT_EQ(grid->topLevelItemCount(), 1);
        EXPECT_EQ(grid->topLevelItem(0)->text(1), QStringLiteral("Stavebniny Novák"));
        EXPECT_TRUE(child<QPushButton>(dialog, "btnSmazat")->isVisible());
        testsupport::onNextModal([](QWidget* restore) {
            EXPECT_EQ(restore->objectName(), QStringLiteral("frmZalObnov"));
            EXPECT_FALSE(child<QCheckBox>(restore, "chkGlobalni")->isEnabled());
            EXPECT_FALSE(child<QCheckBox>(restore, "chkFormulare")->isEnabled());
            auto* firm = child<QCheckBox>(restore, "chkFirma");
            firm->setChecked(false);
            QTest::mouseClick(child<QPushButton>(restore, "btnOK"), Qt::LeftButton);
            EXPECT_TRUE(restore->isVisible()) << "nothing chosen: the dialog stays";
            firm->setChecked(true);
            QTest::mouseClick(child<QPushButton>(restore, "btnOK"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    EXPECT_EQ(ui::BackupDialog::open(test.context, core::BackupPage::Restore, nullptr),
              core::BackupOutcome::EndProgram);
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Information),
              (QStringList{QStringLiteral("Musíte vybrat, která data chcete obnovit."),
                           backup::restoredMessage()}));
    EXPECT_FALSE(core::programState().db->agenda.isOpen()) << "the program ends unconnected";
    ASSERT_TRUE(
        core::programState().db->agenda.open(env.dataFolder() + QStringLiteral("DEMO.MDB")));
    EXPECT_EQ(sheets(), before);
}

} // namespace
