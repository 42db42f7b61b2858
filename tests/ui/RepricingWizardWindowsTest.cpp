// Both bulk wizards as a person walks them: the repricing of two items marked in the catalogue
// through both phases, and the bulk update from the main window narrowed to one sheet.
#include "catalogue/BulkItemUpdateRun.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/RepricingRun.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/MainWindow.h"
#include "ui/ProgramNavigator.h"
#include "ui/catalogue/CatalogueWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class RepricingWizardWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::ensureFirstSheet(db(), ui);
        sheet = catalogue::readSheets(db()).front().id;
    }
    void TearDown() override { core::programState().db->agenda.close(); }

    static core::Database& db() { return core::programState().db->agenda; }
    qint64 addItem(qint64 inSheet, const QString& popis, double nakCena) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, NakCena, Prepocitat, Marze) "
                           "VALUES (:Sklad, :Skupina, :Popis, :NakCena, 1, 20)"),
            {{QStringLiteral("Sklad"), inSheet},
             {QStringLiteral("Skupina"), catalogue::basicGroupOf(db(), inSheet)},
             {QStringLiteral("Popis"), popis},
             {QStringLiteral("NakCena"), nakCena}}));
        return db().newRowId();
    }
    QVariant column(const char* name, qint64 id) {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM Zasoby WHERE ID = :ID").arg(QLatin1String(name)),
                    {{QStringLiteral("ID"), id}})
            .value_or(QVariant());
    }
    static void press(QWidget* window, const char* name) {
        auto* button = child<QPushButton>(window, name);
        ASSERT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void tick(QWidget* window, const char* name) {
        QTest::mouseClick(child<QCheckBox>(window, name), Qt::LeftButton, {}, QPoint(4, 4));
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 sheet = 0;
};

TEST_F(RepricingWizardWindowsTest, TwoMarkedItemsRepricedFromTheCatalogueThroughBothPhases) {
    const qint64 first = addItem(sheet, QStringLiteral("Čerpadlo"), 100);
    const qint64 second = addItem(sheet, QStringLiteral("Hadice"), 50);
    const qint64 unmarked = addItem(sheet, QStringLiteral("Cihla"), 10);
    ui::CatalogueWindow window(ui, test.profile, catalogue::CatalogueMode::Browse);
    window.setNavigator(&test.navigator);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.logic().setFocusedGrid(catalogue::CatalogueGrid::Items);
    for (const qint64 id : {first, second}) {
        window.logic().setCurrentItemRow(*window.logic().items().rowOfId(id));
        window.toggleMark();
    }

    bool walked = false;
    onNextModal([&](QWidget* wizard) {
        EXPECT_EQ(wizard->objectName(), QStringLiteral("frmPreceneni"));
        QApplication::setActiveWindow(wizard);
        EXPECT_TRUE(QTest::qWaitForWindowActive(wizard));
        EXPECT_TRUE(child<QLabel>(wizard, "lblTip")->isVisible());
        EXPECT_FALSE(child<QPushButton>(wizard, "btnZpet")->isVisible());
        tick(wizard, "chkNastavit");
        press(wizard, "btnDalsi");
        tick(wizard, "chkNakCena");
        child<QComboBox>(wizard, "cmbNakCena")->setCurrentIndex(2); // "Vynásobit koef."
        auto* coefficient = child<QDoubleSpinBox>(wizard, "edtNakCena");
        // A click into the field selects its text, so typing replaces it.
        QLineEdit* typed = coefficient->findChild<QLineEdit*>();
        QTest::mouseClick(typed, Qt::LeftButton, {}, QPoint(4, typed->height() / 2));
        EXPECT_EQ(typed->selectedText(), coefficient->cleanText());
        QTest::keyClicks(coefficient, QStringLiteral("1,1"));
        EXPECT_EQ(typed->text(), QStringLiteral("1,1"));
        press(wizard, "btnDalsi"); // marked items: no filter page
        EXPECT_EQ(child<QWidget>(wizard, "tsStart")->isVisible(), true);
        press(wizard, "btnDalsi"); // the run
        walked = true;
    });
    window.runBulkWizard(false);
    EXPECT_TRUE(walked);
    EXPECT_DOUBLE_EQ(column("NakCena", first).toDouble(), 110);
    EXPECT_DOUBLE_EQ(column("PrCenaBDPH", first).toDouble(), 132);
    EXPECT_DOUBLE_EQ(column("NakCena", second).toDouble(), 55);
    EXPECT_DOUBLE_EQ(column("NakCena", unmarked).toDouble(), 10);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0"))->toInt(),
              0);
    EXPECT_TRUE(ui.saw(Kind::Information, catalogue::RepricingRun::finishedMessage()));
    EXPECT_TRUE(window.logic().items().marks().empty());
}

TEST_F(RepricingWizardWindowsTest, BulkUpdateFromTheMainWindowLimitedToOneSheet) {
    ASSERT_TRUE(
        db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('Druhý', 2)")));
    const qint64 otherSheet = db().newRowId();
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Zakladni) VALUES "
                                            "(:S, '# Nezařazeno #', 1)"),
                             {{QStringLiteral("S"), otherSheet}}));
    const qint64 inSheet = addItem(sheet, QStringLiteral("Čerpadlo"), 1);
    const qint64 elsewhere = addItem(otherSheet, QStringLiteral("Hadice"), 1);

    ui::MainWindow main(test.context);
    ui::ProgramNavigator windows(test.context, nullptr);
    test.navigator.passOn(windows);
    test.navigator.answerWindow({core::NavigationStatus::Done, {sheet}}); // the sheet list
    QAction* command = main.action(QStringLiteral("actHromadneNastaveni"));
    ASSERT_TRUE(command->isEnabled());
    bool walked = false;
    onNextModal([&](QWidget* wizard) {
        EXPECT_EQ(wizard->objectName(), QStringLiteral("frmNastavText"));
        EXPECT_FALSE(child<QLabel>(wizard, "lblTip")->isVisible());
        press(wizard, "btnDalsi");
        tick(wizard, "chkZkratka");
        QTest::keyClicks(child<QLineEdit>(wizard, "edtZkratka"), QStringLiteral("NOVA"));
        press(wizard, "btnDalsi");
        tick(wizard, "chkVse");
        press(wizard, "btnDalsi"); // nothing narrowed yet: refused
        tick(wizard, "chkList");
        press(wizard, "btnList");
        EXPECT_EQ(child<QLineEdit>(wizard, "edtList")->text(), QStringLiteral("List 1"));
        press(wizard, "btnDalsi");
        press(wizard, "btnDalsi"); // the run
        walked = true;
    });
    command->trigger();
    EXPECT_TRUE(walked);
    EXPECT_EQ(column("Zkratka", inSheet).toString(), QStringLiteral("NOVA"));
    EXPECT_EQ(column("Zkratka", elsewhere).toString(), QString());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nastavte správně filtr nebo jej vypněte (zaškrtněte "
                                      "\"Provést změny na všech položkách...\").")));
    EXPECT_TRUE(ui.saw(Kind::Information, catalogue::BulkItemUpdateRun::finishedMessage()));
    EXPECT_EQ(test.navigator.requests(),
              (QStringList{QStringLiteral("openCatalogueWizard bulkUpdate"),
                           QStringLiteral("pickSheet")}));
}

} // namespace
