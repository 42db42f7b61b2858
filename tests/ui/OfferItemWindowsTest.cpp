#include "catalogue/CatalogueAgenda.h"

#include "offers/OfferItemPricing.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedNavigator.h"
#include "ui/offers/BulkValueDialog.h"
#include "ui/offers/DiscountToTotalDialog.h"
#include "ui/offers/OfferItemCardDialog.h"
#include "ui/offers/VatRatesDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvento;
using namespace orvento::offers;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class OfferItemWindowsTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        offer.header().SazDPHZakl = 21.0;
        offer.header().SazDPHSniz = 12.0;
    }
    static void pressOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    }

    OfferWorkingCopy offer;
};

} // namespace

TEST_F(OfferItemWindowsTest, ItemCardComputesFromTheTypedFieldsAndWritesTheItem) {
    OfferItemCard card(db(), ui, offer, {21.0, 12.0, 1});
    card.openNew(std::nullopt);
    testsupport::ScriptedNavigator navigator;
    ui::OfferItemCardDialog dialog(card, ui, navigator);
    dialog.show();
    pressOk(dialog);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit popis položky.")));
    EXPECT_TRUE(dialog.isVisible());

    dialog.descriptionField()->setText(QStringLiteral("Montáž rozvaděče"));
    dialog.purchaseField()->setValue(100.0);
    dialog.priceField()->setValue(125.0);
    dialog.discountField()->setValue(10.0);
    dialog.quantityField()->setValue(3.0);
    EXPECT_EQ(dialog.lineWithVatField()->text(), QStringLiteral("408,38"));
    pressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(offer.items().size(), 1u);
    const OfferItem& item = offer.items()[0];
    EXPECT_EQ(item.Popis, QStringLiteral("Montáž rozvaděče"));
    EXPECT_DOUBLE_EQ(item.PCSDPHPOL, 408.38);
    EXPECT_DOUBLE_EQ(item.Rabat, 20.0);
    EXPECT_EQ(offer.header().NabZaok, 1);
}

TEST_F(OfferItemWindowsTest, BulkDialogStaysOpenOnARateTheOfferHasNot) {
    OfferItem item;
    item.Popis = QStringLiteral("A");
    item.ProdCena = 100.0;
    item.PocetMJ = 1.0;
    item.SazbaDPH = 21.0;
    recomputeItem(item, RecomputeKind::None);
    offer.insertItem(1, item);
    OfferBulkOperations operations(offer, {}, ui);
    ui::BulkValueDialog dialog(operations, BulkField::VatRate, ui);
    EXPECT_EQ(dialog.modeButton(BulkMode::Set), nullptr);
    dialog.show();
    dialog.valueField()->setValue(15.0);
    pressOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    dialog.valueField()->setValue(12.0);
    pressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(offer.items()[0].PCSDPHMJ, 112.0);

    ui::VatRatesDialog rates(offer, {21.0, 15.0, 0});
    rates.show();
    QTest::mouseClick(rates.findChild<QPushButton*>(QStringLiteral("btnNastavit")), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(offer.items()[0].SazbaDPH, 15.0);
    EXPECT_DOUBLE_EQ(offer.header().SazDPHSniz, 15.0);
}

TEST_F(OfferItemWindowsTest, PercentCalculatorPutsItsPriceBackHeldAtTwoDecimals) {
    OfferItemCard card(db(), ui, offer, {21.0, 12.0, 0});
    card.openNew(std::nullopt);
    card.setNakCena(80.0);
    card.setProdCena(100.1234);
    testsupport::ScriptedNavigator navigator;
    ui::OfferItemCardDialog dialog(card, ui, navigator);
    dialog.show();
    testsupport::onNextModal([](QWidget* modal) {
        auto* percent = testsupport::child<QDoubleSpinBox>(modal, "curProcento");
        percent->setValue(10.0);
        EXPECT_DOUBLE_EQ(testsupport::child<QDoubleSpinBox>(modal, "curNovaCena")->value(), 90.11);
        QTest::mouseClick(testsupport::child<QPushButton>(modal, "btnOK"), Qt::LeftButton);
    });
    QTest::mouseClick(testsupport::child<QPushButton>(&dialog, "btnUpravaPC"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(card.item().ProdCena, 90.11);
    EXPECT_DOUBLE_EQ(dialog.priceField()->value(), 90.11);
    EXPECT_DOUBLE_EQ(card.item().Marze, 12.64); // 90.11 / 80 − 1
}

TEST_F(OfferItemWindowsTest, DiscountToTotalDialogStartsFromTheCurrentTotal) {
    OfferItem item;
    item.Popis = QStringLiteral("A");
    item.ProdCena = 200.0;
    item.PocetMJ = 1.0;
    item.SazbaDPH = 21.0;
    recomputeItem(item, RecomputeKind::None);
    offer.insertItem(1, item);
    OfferBulkOperations operations(offer, {}, ui);
    ui::DiscountToTotalDialog dialog(operations);
    dialog.show();
    EXPECT_DOUBLE_EQ(dialog.totalField()->value(), 200.0);
    dialog.withVatButton()->setChecked(true); // the amount stays as prefilled
    EXPECT_DOUBLE_EQ(dialog.totalField()->value(), 200.0);
    dialog.totalField()->setValue(217.8);
    pressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(offer.items()[0].Sleva, 10.0);
}

TEST_F(OfferItemWindowsTest, ATypedQuantityCountsWhenEnterConfirmsTheCard) {
    OfferItemCard card(db(), ui, offer, {21.0, 12.0, 0});
    card.openNew(std::nullopt);
    card.item().Popis = QStringLiteral("Kabel CYKY");
    card.setProdCena(10.0);
    testsupport::ScriptedNavigator navigator;
    ui::OfferItemCardDialog dialog(card, ui, navigator);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.quantityField()->setFocus();
    dialog.quantityField()->selectAll();
    QTest::keyClicks(dialog.quantityField(), QStringLiteral("3"));
    QTest::keyClick(dialog.quantityField(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(offer.items().size(), 1u);
    EXPECT_DOUBLE_EQ(offer.items()[0].PocetMJ, 3.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].PCBDPHPOL, 30.0);
}
