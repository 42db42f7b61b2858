#include "ui/MainWindow.h"
#include "core/ProgramState.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/DataFolderDialog.h"
#include "ui/InformationWindow.h"
#include "ui/SplashWindow.h"
#include "ui/WorkingWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        core::programState().agendaName = QStringLiteral("DEMO - fiktivní firma");
        core::programState().user.jmeno = QStringLiteral("Jana Nováková");
    }
    void TearDown() override { core::resetProgramState(); }
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(MainWindowTest, ShowsButtonsMenuAndStatusFieldsWithTheirHints) {
    ui::MainWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvento"));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmMain"));

    for (const char* name : {"actNabidky", "actCenik", "actAdresar", "actKonec", "actNapoveda"})
        EXPECT_NE(window.action(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_TRUE(window.action(QStringLiteral("actKonec"))->isEnabled());
    EXPECT_TRUE(window.action(QStringLiteral("actOAplikaci"))->isEnabled());

    EXPECT_EQ(window.statusField(0)->text(), QStringLiteral("DEMO - fiktivní firma"));
    EXPECT_EQ(window.statusField(0)->toolTip(), QStringLiteral("Název aktuální firmy"));
    EXPECT_EQ(window.statusField(1)->text(), QStringLiteral("Verze 2.05"));
    EXPECT_EQ(window.statusField(1)->toolTip(), QStringLiteral("Verze programu"));
    EXPECT_EQ(window.statusField(2)->text(), QStringLiteral("Jana Nováková"));
    EXPECT_EQ(window.statusField(2)->toolTip(), QStringLiteral("Přihlášený uživatel"));

    QStringList menuTexts;
    for (QAction* a : window.otherMenu()->actions())
        menuTexts << a->text();
    for (const char* text : {"Nastavení programu", "Seznam uživatelů", "Import dat",
                             "Operace s ceníkem", "Zálohování", "O aplikaci...", "Seznam firem"})
        EXPECT_TRUE(menuTexts.contains(QString::fromUtf8(text))) << text;
}

TEST_F(MainWindowTest, ClosingRunsTheClosingStepsOnceWhicheverWayItCloses) {
    ui::MainWindow window(test.context);
    window.show();
    window.action(QStringLiteral("actKonec"))->trigger();
    EXPECT_FALSE(window.isVisible());
    window.close();
    EXPECT_EQ(ui.waitTexts().count(
                  QStringLiteral("Uložení uživatelského profilu...\npočkejte prosím na dokončení")),
              1);
}

TEST_F(MainWindowTest, CtrlQAsksAndSwitchesPurchasePricesOnlyOnYes) {
    ui::MainWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ui.answer(false);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(core::programState().showPurchasePrices);
    ui.answer(true);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(core::programState().showPurchasePrices);
    ui.answer(true);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(core::programState().showPurchasePrices);
    EXPECT_EQ(ui.texts(Kind::Question),
              (QStringList{
                  QStringLiteral("Opravdu chcete vypnout zobrazování nákupních cen a zisku ?"),
                  QStringLiteral("Opravdu chcete vypnout zobrazování nákupních cen a zisku ?"),
                  QStringLiteral("Opravdu chcete zapnout zobrazování nákupních cen a zisku ?")}));
}

TEST_F(MainWindowTest, SplashShowsVersionAndWaitingState) {
    ui::SplashWindow splash;
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Vítejte..."));
    EXPECT_EQ(splash.versionText(), QStringLiteral("Verze 2.05"));
    EXPECT_EQ(splash.stateText(), QStringLiteral("Prosím čekejte..."));
}

TEST_F(MainWindowTest, WaitWindowCancelLinkSetsTheProgramsCancelFlag) {
    ui::WorkingWindow working;
    working.showText(QStringLiteral("Import\nprosím čekejte..."), true);
    EXPECT_EQ(working.windowTitle(), QStringLiteral("Pracuji..."));
    EXPECT_TRUE(working.isCancellable());
    EXPECT_FALSE(core::programState().cancelRequested);
    auto* link = working.findChildren<QLabel*>().at(1);
    Q_EMIT link->linkActivated(QStringLiteral("cancel"));
    EXPECT_TRUE(core::programState().cancelRequested);
    working.showText(QStringLiteral("Inicializace databáze\nprosím čekejte..."), false);
    EXPECT_FALSE(working.isCancellable());
}

TEST_F(MainWindowTest, InformationWindowListsHeadingAndProblems) {
    ui::InformationWindow info;
    info.setLines(QStringLiteral("Při hromadné operaci došlo k těmto chybám:"),
                  {QStringLiteral("Položka 1"), QStringLiteral("Položka 2")});
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Informace"));
    EXPECT_EQ(info.text(), QStringLiteral("Při hromadné operaci došlo k těmto chybám:\nPoložka "
                                          "1\nPoložka 2"));
}

TEST_F(MainWindowTest, DataFolderDialogKeepsANonexistentNetworkFolderOut) {
    QTemporaryDir dir;
    ui::DataFolderDialog dialog(QStringLiteral("/opt/orvento/DATA/"), ui);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Umístění datové složky"));
    auto* networkField = dialog.findChildren<QLineEdit*>().at(1);
    EXPECT_FALSE(networkField->isEnabled()) << "only the network choice enables its field";
    EXPECT_TRUE(dialog.choice().local);

    dialog.show();
    dialog.chooseNetwork(dir.path() + QStringLiteral("/nic"));
    EXPECT_TRUE(networkField->isEnabled());
    dialog.accept();
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Složka %1/nic neexistuje! Zadejte platné "
                                                     "umístění.")
                                          .arg(dir.path())));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.chooseNetwork(QStringLiteral("  ") + dir.path() + QStringLiteral("  "));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.choice().local);
    EXPECT_EQ(dialog.choice().folder, dir.path());
}

} // namespace
