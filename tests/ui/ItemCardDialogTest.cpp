#include "ui/catalogue/ItemCardDialog.h"
#include "catalogue/ItemCard.h"
#include "catalogue/PriceGroupCard.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "ui/catalogue/PriceGroupCardDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::catalogue;
using ui::ItemCardDialog;

namespace {

class ItemCardDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
        core::programState().settings.sazbaDphZakladni = 21;
        core::programState().settings.sazbaDphSnizena = 12;
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Zakladni) "
                                                "VALUES (1, :Nazev, 1)"),
                                 {{QStringLiteral("Nazev"), QStringLiteral("# Nezařazeno #")}}));
    }
    static core::Database& db() { return core::programState().db->agenda; }

    // Saves through the dialog's OK, as the person would.
    qint64 save(ItemCard& card, ItemCardDialog& dialog) {
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << ui.allTexts().join(u'|').toStdString();
        return card.id();
    }
    // Where a screenshot is asked for (a run under a real display), the window is photographed.
    static void photograph(QWidget& window, const char* name) {
        const QString folder = qEnvironmentVariable("ORVENTO_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        window.show();
        QTest::qWait(400);
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"),
                           folder + QLatin1Char('/') + QString::fromLatin1(name)});
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
};

TEST_F(ItemCardDialogTest, NewItemEditsFromEachPriceFieldAndACopy) {
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::New, -1, 1, 0));
    qint64 id = 0;
    {
        ItemCardDialog dialog(card, ui);
        dialog.descriptionField()->setText(QStringLiteral("Vypínač řazení 6"));
        dialog.priceField()->setValue(121);
        photograph(dialog, "ItemCardDialog.png");
        id = save(card, dialog);
    }
    auto stored = readItem(db(), id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Popis, QStringLiteral("Vypínač řazení 6"));
    EXPECT_EQ(stored->price.PrCenaBDPH, 121.0);
    EXPECT_EQ(stored->price.PrCenaSDPH, 146.41);

    // From the purchase price, the margin and the rabat, with automatic recomputation on.
    ItemCard edit(db(), ui);
    ASSERT_TRUE(edit.open(ItemCardMode::Edit, id, 1, 0));
    {
        ItemCardDialog dialog(edit, ui);
        dialog.findChild<QCheckBox*>(QStringLiteral("chckPrepocitat"))->setChecked(true);
        dialog.purchaseField()->setValue(100);
        dialog.marginField()->setValue(30);
        EXPECT_EQ(edit.prices().PrCenaBDPH, 130.0);
        dialog.findChild<QComboBox*>(QStringLiteral("cbxTypHodnoty"))->setCurrentIndex(1);
        dialog.rabatField()->setValue(20);
        EXPECT_EQ(edit.prices().PrCenaBDPH, 125.0);
        // The card puts the new price into its field without running the price handler again.
        EXPECT_EQ(dialog.priceField()->value(), 125.0);
        save(edit, dialog);
    }
    stored = readItem(db(), id);
    EXPECT_EQ(stored->price.PrCenaBDPH, 125.0);
    EXPECT_EQ(stored->price.Rabat, 20.0);

    ItemCard copy(db(), ui);
    ASSERT_TRUE(copy.open(ItemCardMode::Copy, id, 1, 0));
    ItemCardDialog dialog(copy, ui);
    const qint64 copied = save(copy, dialog);
    EXPECT_NE(copied, id);
    EXPECT_EQ(readItem(db(), copied)->price.PrCenaBDPH, 125.0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Zasoby"))->toInt(), 2);
}

// Ctrl+Q works while the card is open: after the question, for a user who may see purchase
// prices at all, and the purchase fields follow at once.
TEST_F(ItemCardDialogTest, CtrlQHidesAndShowsThePurchasePricesOfTheOpenCard) {
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::New, -1, 1, 0));
    ItemCardDialog dialog(card, ui);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_FALSE(dialog.purchaseField()->isHidden());
    const auto pressCtrlQ = [&dialog] {
        QTest::keyClick(&dialog, Qt::Key_Q, Qt::ControlModifier);
    };
    ui.answer(true);
    pressCtrlQ();
    EXPECT_TRUE(dialog.purchaseField()->isHidden());
    EXPECT_FALSE(core::programState().showPurchasePrices);
    ui.answer(false);
    pressCtrlQ();
    EXPECT_TRUE(dialog.purchaseField()->isHidden());
    ui.answer(true);
    pressCtrlQ();
    EXPECT_FALSE(dialog.purchaseField()->isHidden());

    core::programState().user.nakupniCeny = false;
    ui.clear();
    pressCtrlQ();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(dialog.purchaseField()->isHidden());
}

TEST_F(ItemCardDialogTest, GroupCardShowsItsLevelRows) {
    PriceLevel level;
    level.Zkratka = QStringLiteral("DEALER");
    level.values.TypHodnoty = LevelValueType::Discount;
    level.values.Hodnota = 8;
    ASSERT_TRUE(priceLevelMapping().insert(db(), level));
    level.ID = db().newRowId();
    PriceGroupCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    card.addLevel(level);
    ui::PriceGroupCardDialog dialog(card, ui);
    photograph(dialog, "PriceGroupCardDialog.png");
    ASSERT_EQ(dialog.levelGrid()->rowCount(), 1);
    EXPECT_EQ(dialog.levelGrid()->item(0, 1)->text(), QStringLiteral("DEALER"));
    EXPECT_EQ(dialog.levelGrid()->item(0, 3)->text(), QStringLiteral("sleva"));
}

} // namespace
