#include "catalogue/CatalogueAgenda.h"

#include "offers/OfferItemPricing.h"
#include "support/ModalDialogs.h"
#include "ui/offers/BulkValueDialog.h"
#include "ui/offers/OfferItemCardDialog.h"
#include "ui/offers/VatRatesDialog.h"

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
    ui::OfferItemCardDialog dialog(card, ui);
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
