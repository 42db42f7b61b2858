#include "ui/SettingsDialog.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace orvento;
using services::SettingsDialogLogic;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    }

    template <typename T> T* field(const ui::SettingsDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString stored(int number) {
        return db
            .scalar(QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = :N"),
                    {{QStringLiteral("N"), number}})
            ->toString();
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    core::Database& db = core::programState().db->agenda;
};

TEST_F(SettingsDialogTest, ShowsTheLoadedValuesOnThePagesTheUserMaySee) {
    core::programState().user.udajeFirma = false;
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    ui::SettingsDialog dialog(logic, test.context);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmNastaveni"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Nastavení"));
    QTabWidget* pages = dialog.pages();
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Údaje o firmě"));
    EXPECT_FALSE(pages->isTabVisible(0));
    EXPECT_TRUE(pages->isTabVisible(1));
    EXPECT_TRUE(pages->isTabVisible(2));
    EXPECT_EQ(pages->currentIndex(), 1);

    EXPECT_EQ(field<QLineEdit>(dialog, "edtNazev")->text(),
              QStringLiteral("DEMO - fiktivní firma"));
    EXPECT_EQ(field<QLineEdit>(dialog, "edtNazev")->maxLength(), 50);
    EXPECT_EQ(field<QLineEdit>(dialog, "edtPsc")->maxLength(), 10);
    EXPECT_EQ(field<QLineEdit>(dialog, "edtPrefix")->text(), QStringLiteral("NAB"));
    EXPECT_DOUBLE_EQ(field<QDoubleSpinBox>(dialog, "curSnizenaSazba")->value(), 12.0);
    EXPECT_EQ(field<QDoubleSpinBox>(dialog, "curSnizenaSazba")->decimals(), 2);
    EXPECT_TRUE(field<QLineEdit>(dialog, "edtObrazky")->isReadOnly());
    // The demo user's new offers take the standard template.
    EXPECT_TRUE(field<QCheckBox>(dialog, "chckSablona")->isChecked());
    EXPECT_EQ(field<QLineEdit>(dialog, "edtSablona")->text(), QStringLiteral("STD"));
    field<QCheckBox>(dialog, "chckSablona")->setChecked(false);
    EXPECT_FALSE(field<QToolButton>(dialog, "btnSablona")->isEnabled());
    field<QCheckBox>(dialog, "chckSablona")->setChecked(true);
    EXPECT_TRUE(field<QLineEdit>(dialog, "edtSablona")->isEnabled());
    EXPECT_TRUE(field<QToolButton>(dialog, "btnSablona")->isEnabled());
}

TEST_F(SettingsDialogTest, OkTakesOnlyTheVisiblePagesAndStaysOpenOnAFailedCheck) {
    core::programState().user.globalniNastaveni = false;
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    ui::SettingsDialog dialog(logic, test.context);
    dialog.show();
    // The hidden page's field is not taken over even if it holds another value.
    field<QDoubleSpinBox>(dialog, "curZakladniSazba")->setValue(5.0);
    field<QLineEdit>(dialog, "edtNazev")->clear();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit název firmy.")));

    field<QLineEdit>(dialog, "edtNazev")->setText(QStringLiteral("Nový název"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(1), QStringLiteral("Nový název"));
    EXPECT_EQ(stored(13), QStringLiteral("21"));
}

TEST_F(SettingsDialogTest, PrefixIsTypedInUpperCaseAndThePicturesFolderUnlocksOnYes) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    ui::SettingsDialog dialog(logic, test.context);
    dialog.show();
    QLineEdit* prefix = field<QLineEdit>(dialog, "edtPrefix");
    prefix->clear();
    QTest::keyClicks(prefix, QStringLiteral("ofr12x"));
    EXPECT_EQ(prefix->text(), QStringLiteral("OFR12"));

    QLabel* change = field<QLabel>(dialog, "lblZmenit");
    QLineEdit* folder = field<QLineEdit>(dialog, "edtObrazky");
    ui.answer(false);
    Q_EMIT change->linkActivated(QStringLiteral("zmenit"));
    EXPECT_TRUE(folder->isReadOnly());
    ui.answer(true);
    Q_EMIT change->linkActivated(QStringLiteral("zmenit"));
    EXPECT_FALSE(folder->isReadOnly());
    EXPECT_FALSE(change->isEnabled());
    EXPECT_TRUE(field<QToolButton>(dialog, "btnObrazky")->isEnabled());
    EXPECT_FALSE(folder->text().endsWith(QLatin1Char('/')));

    folder->setText(env.dataFolder() + QStringLiteral("jinde"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(16), QStringLiteral("%DATAPATH%jinde/"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT PrefixOzn FROM CisRady"))->toString(),
              QStringLiteral("OFR12"));
}

} // namespace
