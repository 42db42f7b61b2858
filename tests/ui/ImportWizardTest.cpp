#include "ui/import/ImportWizard.h"
#include "core/ProgramState.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportWizardLogic.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/MainWindow.h"
#include "ui/import/DefinitionListPanel.h"
#include "ui/import/ProtocolView.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class ImportWizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        // The list as these tests build it: without the Money definition new agendas hold.
        ASSERT_TRUE(core::programState().db->agenda.execute(QStringLiteral("DELETE FROM Import")));
    }
    void TearDown() override { core::resetProgramState(); }

    qint64 addDefinition(const QString& name, import::DefinitionKind kind, const QString& file) {
        import::ImportDefinition d = import::newDefinition(kind);
        d.name = name;
        d.fileName = file;
        QString error;
        const auto id =
            import::ImportDefinitionStore(core::programState().db->agenda).insert(d, error);
        EXPECT_TRUE(id.has_value()) << error.toStdString();
        return id.value_or(0);
    }

    // The wizard as the main window opens it, shown.
    std::unique_ptr<ui::ImportWizard> openWizard() {
        auto wizard = std::make_unique<ui::ImportWizard>(test.context);
        wizard->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
        return wizard;
    }

    static QString currentPage(ui::ImportWizard& wizard) {
        return child<QStackedWidget>(&wizard, "pgcMain")->currentWidget()->objectName();
    }
    // The wizard's buttons that are shown, in their order.
    static QStringList shownButtons(ui::ImportWizard& wizard) {
        QStringList shown;
        for (const char* name : {"btnZpet", "btnDalsi", "btnZavrit", "btnPrerusit"}) {
            if (child<QPushButton>(&wizard, name)->isVisible())
                shown << child<QPushButton>(&wizard, name)->text();
        }
        return shown;
    }
    static void press(ui::ImportWizard& wizard, const char* button) {
        QTest::mouseClick(child<QPushButton>(&wizard, button), Qt::LeftButton);
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(ImportWizardTest, WalksItsPagesWithTheButtonsEachPageShows) {
    const QString file = env.dataFolder() + QStringLiteral("cenik.csv");
    addDefinition(QStringLiteral("Ceník A"), import::DefinitionKind::PriceList, file);
    auto wizard = openWizard();
    EXPECT_EQ(wizard->objectName(), QStringLiteral("frmImportMain"));
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Import dat"));

    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsWelcome"));
    EXPECT_EQ(shownButtons(*wizard),
              (QStringList{QStringLiteral("Další >"), QStringLiteral("Zavřít")}));
    auto* heading = child<QLabel>(wizard.get(), "lblVarovani");
    EXPECT_EQ(heading->text(), QStringLiteral("Varování:"));
    EXPECT_TRUE(heading->font().bold());
    EXPECT_TRUE(child<QLabel>(wizard.get(), "lblVarovaniText")
                    ->text()
                    .contains(QStringLiteral("Před použitím této funkce je proto důrazně "
                                             "doporučeno provést zálohu dat")));
    EXPECT_EQ(child<QLabel>(wizard.get(), "lblPokracovat")->text(),
              QStringLiteral("Pokračovat můžete tlačítkem [Další]"));
    EXPECT_FALSE(child<QLabel>(wizard.get(), "lblUpozorneni")->isVisible())
        << "nobody else runs the program";

    press(*wizard, "btnDalsi");
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsVyberDef"));
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Načítání seznamu, prosím čekejte ...")));
    EXPECT_EQ(shownButtons(*wizard),
              (QStringList{QStringLiteral("< Zpět"), QStringLiteral("Další >"),
                           QStringLiteral("Zavřít")}));

    press(*wizard, "btnDalsi");
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsImportBeforeStart"));
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Příprava importu, prosím čekejte ...")));
    EXPECT_EQ(child<QLineEdit>(wizard.get(), "edtNazevSouboru")->text(), file);
    EXPECT_EQ(shownButtons(*wizard),
              (QStringList{QStringLiteral("< Zpět"), QStringLiteral("Další >"),
                           QStringLiteral("Zavřít")}));

    press(*wizard, "btnZpet");
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsVyberDef"));
    press(*wizard, "btnZpet");
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsWelcome"));
    EXPECT_FALSE(child<QPushButton>(wizard.get(), "btnZpet")->isVisible());
    press(*wizard, "btnZavrit");
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_TRUE(ui.messages().empty()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ImportWizardTest, StartsOnTheDefinitionUsedLastAndExpandsTheDataFolderMark) {
    addDefinition(QStringLiteral("První"), import::DefinitionKind::PriceList,
                  QStringLiteral("/jinde/prvni.csv"));
    const qint64 second = addDefinition(QStringLiteral("Druhá"), import::DefinitionKind::PriceList,
                                        QStringLiteral("%DATAPATH%Dokumenty/Import/druha.csv"));
    ASSERT_TRUE(services::profile::saveInt(services::profile::value::CurrentImportDefinition,
                                           static_cast<int>(second)));
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    EXPECT_EQ(wizard->findChild<ui::DefinitionListPanel*>()->currentId(), second);
    press(*wizard, "btnDalsi");
    EXPECT_EQ(child<QLineEdit>(wizard.get(), "edtNazevSouboru")->text(),
              env.dataFolder() + QStringLiteral("Dokumenty/Import/druha.csv"));
}

TEST_F(ImportWizardTest, AnEmptyListSaysHowToAddADefinitionAndStays) {
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Seznam je zatím prázdný - tlačítkem \"Přidat\" nejprve "
                                      "nastavte parametry importu.")));
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsVyberDef"));
}

TEST_F(ImportWizardTest, RightsRefuseTheWizardAndTheRunOfAKind) {
    core::CurrentUser& user = core::programState().user;
    user.import = core::AccessLevel::Denied;
    ui::ImportWizard::open(test.context, nullptr);
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ui.clear();

    // Read-only imports still run; a read-only catalogue refuses a price list, and the
    // definition is not remembered as the one used last.
    user.import = core::AccessLevel::ReadOnly;
    user.cenik = core::AccessLevel::ReadOnly;
    const qint64 prices =
        addDefinition(QStringLiteral("Ceník"), import::DefinitionKind::PriceList, QString());
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsVyberDef"));
    EXPECT_EQ(services::profile::loadInt(services::profile::value::CurrentImportDefinition, 0), 0);

    // Without the right to delete the catalogue may still be imported into.
    ui.clear();
    user.cenik = core::AccessLevel::NoDelete;
    press(*wizard, "btnDalsi");
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsImportBeforeStart"));
    EXPECT_EQ(services::profile::loadInt(services::profile::value::CurrentImportDefinition, 0),
              prices);
}

TEST_F(ImportWizardTest, AnAddressBookRunNeedsTheAddressBooksRight) {
    core::programState().user.adresar = core::AccessLevel::Denied;
    addDefinition(QStringLiteral("Adresy"), import::DefinitionKind::AddressBook, QString());
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsVyberDef"));
}

TEST_F(ImportWizardTest, AMoneyDefinitionLeadsToItsOwnStartPageInsteadOfABlankOne) {
    addDefinition(QStringLiteral("Money"), import::DefinitionKind::Money, QString());
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsMoneyBeforeStart"));
}

TEST_F(ImportWizardTest, AnEmptySourceFileIsRefusedOnTheStartPage) {
    addDefinition(QStringLiteral("Ceník"), import::DefinitionKind::PriceList,
                  QStringLiteral("/kde/cenik.csv"));
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    auto* file = child<QLineEdit>(wizard.get(), "edtNazevSouboru");
    file->setFocus();
    file->selectAll();
    QTest::keyClick(file, Qt::Key_Delete);
    QTest::keyClicks(file, QStringLiteral("   "));
    press(*wizard, "btnDalsi");
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Zadejte název zdrojového souboru.")));
    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsImportBeforeStart"));
    EXPECT_TRUE(wizard->logic().protocol().lines().empty()) << "nothing ran";
}

TEST_F(ImportWizardTest, AFailedRunShowsTheErrorAndItsProtocolIsSavedAsText) {
    addDefinition(QStringLiteral("Ceník"), import::DefinitionKind::PriceList, QString());
    auto wizard = openWizard();
    press(*wizard, "btnDalsi");
    press(*wizard, "btnDalsi");
    auto* file = child<QLineEdit>(wizard.get(), "edtNazevSouboru");
    QTest::keyClicks(file, env.dataFolder() + QStringLiteral("neni.csv"));
    press(*wizard, "btnDalsi");

    EXPECT_EQ(currentPage(*wizard), QStringLiteral("tsProtocol"));
    EXPECT_EQ(shownButtons(*wizard), QStringList{QStringLiteral("Zavřít")});
    auto* failed = child<QLabel>(wizard.get(), "lblChyba");
    EXPECT_TRUE(failed->isVisible());
    EXPECT_EQ(failed->text(), QStringLiteral("V průběhu importu dat došlo k chybě!"));
    const import::ImportProtocol& protocol = wizard->logic().protocol();
    ASSERT_FALSE(protocol.lines().empty());
    EXPECT_TRUE(protocol.lines().front().text.startsWith(QStringLiteral("Import dat - Start ")));
    // The view shows every line of the protocol in order.
    EXPECT_EQ(child<ui::ProtocolView>(wizard.get(), "reProtocol")->toPlainText() +
                  QLatin1Char('\n'),
              protocol.toPlainText());

    const QString saved = env.dataFolder() + QStringLiteral("protokol");
    ui.chooseFile(saved);
    press(*wizard, "btnUlozitProtokol");
    QFile text(saved + QStringLiteral(".TXT"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << "the default extension is added";
    EXPECT_EQ(QString::fromUtf8(text.readAll()), protocol.toPlainText());

    press(*wizard, "btnZavrit");
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(ImportWizardTest, WarnsOnTheWelcomePageWhileAnotherWorkstationRunsTheProgram) {
    testsupport::OtherWorkstation running(
        {QStringLiteral("open-db"), env.dataFolder() + QStringLiteral("Global.MDB")});
    ASSERT_EQ(running.firstLine(), QStringLiteral("ready"));
    auto wizard = openWizard();
    auto* notice = child<QLabel>(wizard.get(), "lblUpozorneni");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith(
        QStringLiteral("Upozornění: na některé další stanici v síti je nyní spuštěný tento "
                       "program")));
}

TEST_F(ImportWizardTest, TheMainWindowOpensTheWizardThroughTheNavigator) {
    ui::MainWindow window(test.context);
    QAction* import = window.action(QStringLiteral("actImport"));
    ASSERT_NE(import, nullptr);
    EXPECT_TRUE(import->isEnabled());
    test.navigator.answerWindow({core::NavigationStatus::Done, {}});
    import->trigger();
    EXPECT_EQ(test.navigator.requests(), QStringList{QStringLiteral("openImportWizard")});
}

} // namespace
