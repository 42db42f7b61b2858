#include "catalogue/PriceLevelRecords.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "ui/catalogue/PriceGroupListWindow.h"
#include "ui/catalogue/PriceLevelListWindow.h"
#include "ui/catalogue/PriceSourceDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::catalogue;
using testsupport::child;
using testsupport::onNextModal;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class PriceLevelWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
    }
    void TearDown() override { core::programState().db->agenda.close(); }
    static core::Database& db() { return core::programState().db->agenda; }

    static void click(QWidget* window, const char* button) {
        QPushButton* b = child<QPushButton>(window, button);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The card the next command opens: its code and name typed in, then OK.
    static void fillNextCard(const QString& code, const QString& name) {
        onNextModal([code, name](QWidget* card) {
            child<QLineEdit>(card, "edtZkratka")->setText(code);
            child<QLineEdit>(card, "edtPopis")->setText(name);
            click(card, "btnOK");
        });
    }
    static QStringList codes(const QTableWidget* grid) {
        QStringList shown;
        for (int row = 0; row < grid->rowCount(); ++row)
            shown << grid->item(row, 0)->text();
        return shown;
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
};

TEST_F(PriceLevelWindowsTest, LevelListAddsEditsAndDeletesThroughItsCard) {
    ui::PriceLevelListWindow window(ui, ListMode::Manage, true);
    window.show();
    fillNextCard(QStringLiteral("dealer"), QStringLiteral("Dealerská cena"));
    click(&window, "btnPridat");
    fillNextCard(QStringLiteral("vo"), QStringLiteral("Velkoobchod"));
    click(&window, "btnPridat");
    EXPECT_EQ(codes(window.table()), QStringList({QStringLiteral("DEALER"), QStringLiteral("VO")}))
        << ui.allTexts().join(u'|').toStdString();

    // A rename asks first, then whether the firms follow.
    window.table()->setCurrentCell(0, 0);
    ui.answer(true);
    ui.answer(false);
    fillNextCard(QStringLiteral("MO"), QStringLiteral("Maloobchod"));
    click(&window, "btnOpravit");
    EXPECT_EQ(codes(window.table()), QStringList({QStringLiteral("MO"), QStringLiteral("VO")}));
    EXPECT_EQ(levelByCode(db(), QStringLiteral("MO"))->Popis, QStringLiteral("Maloobchod"));

    ui.answer(true);
    click(&window, "btnVyjmout");
    EXPECT_EQ(codes(window.table()), QStringList({QStringLiteral("VO")}));
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("smazat cenovou hladinu MO?")));
}

TEST_F(PriceLevelWindowsTest, GroupListAddsEditsAndDeletesThroughItsCard) {
    ui::PriceGroupListWindow window(ui, ListMode::Manage);
    window.show();
    fillNextCard(QStringLiteral("elektro"), QStringLiteral("Elektro"));
    click(&window, "btnPridat");
    ASSERT_EQ(codes(window.table()), QStringList({QStringLiteral("ELEKTRO")}))
        << ui.allTexts().join(u'|').toStdString();

    fillNextCard(QStringLiteral("ELEKTRO"), QStringLiteral("Elektroinstalace"));
    click(&window, "btnOpravit");
    EXPECT_EQ(window.table()->item(0, 1)->text(), QStringLiteral("Elektroinstalace"));
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("po provedení přepočtu cen")));

    ui.answer(true);
    click(&window, "btnVyjmout");
    EXPECT_EQ(window.table()->rowCount(), 0);
    EXPECT_EQ(groupIdOfCode(db(), QStringLiteral("ELEKTRO")), -1);
}

TEST_F(PriceLevelWindowsTest, PriceSourceNeedsALevelPickedFromTheListOrAnotherOption) {
    PriceLevel level;
    level.Zkratka = QStringLiteral("DEALER");
    ASSERT_TRUE(priceLevelMapping().insert(db(), level));
    const qint64 levelId = db().newRowId();

    onNextModal([](QWidget* window) {
        EXPECT_EQ(window->objectName(), QStringLiteral("frmVyberDealerCeny"));
        EXPECT_TRUE(child<QRadioButton>(window, "rbHladina")->isChecked());
        click(window, "btnOK"); // no level yet: stays open
        ASSERT_TRUE(window->isVisible());
        onNextModal([](QWidget* list) {
            EXPECT_EQ(list->objectName(), QStringLiteral("frmCenHlad"));
            EXPECT_EQ(list->findChild<QPushButton*>(QStringLiteral("btnPridat"))->isVisible(),
                      false);
            click(list, "btnOK");
        });
        click(window, "btnHladina");
        EXPECT_EQ(child<QLineEdit>(window, "edtHladina")->text(), QStringLiteral("DEALER"));
        click(window, "btnOK");
    });
    const PriceSource picked =
        ui::PriceSourceDialog::choose(ui, QStringLiteral("1. sloupec"), nullptr);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Vyberte cenovou hladinu.")));
    EXPECT_EQ(picked.kind, PriceSource::Level);
    EXPECT_EQ(picked.code(), levelId);
    EXPECT_EQ(picked.levelCode, QStringLiteral("DEALER"));

    onNextModal([](QWidget* window) {
        child<QRadioButton>(window, "rbZakladni")->click();
        EXPECT_FALSE(child<QPushButton>(window, "btnHladina")->isEnabled());
        click(window, "btnOK");
    });
    EXPECT_EQ(ui::PriceSourceDialog::choose(ui, QStringLiteral("2. sloupec"), nullptr).code(), 0);
    onNextModal([](QWidget* window) { window->close(); });
    EXPECT_EQ(ui::PriceSourceDialog::choose(ui, QStringLiteral("3. sloupec"), nullptr).code(), -2);
}

} // namespace
