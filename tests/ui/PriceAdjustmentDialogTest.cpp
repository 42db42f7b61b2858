#include "ui/offers/PriceAdjustmentDialog.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedInteraction.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// The original price is an amount like every other one the windows show (thousands grouped by
// plain spaces), and a typed new price turns the percentage into a discount or a surcharge.
TEST(PriceAdjustmentDialogTest, ShowsTheOriginalAsAnAmountAndTypedPricesAsPercent) {
    testsupport::ScriptedInteraction ui;
    ui::PriceAdjustmentDialog dialog(12345.5, true, ui);
    dialog.show();
    EXPECT_EQ(testsupport::child<QLineEdit>(&dialog, "curPuvodni")->text(),
              QStringLiteral("12 345,50"));

    QDoubleSpinBox* price = dialog.newPriceField();
    price->selectAll();
    QTest::keyClicks(price, QStringLiteral("14814") + price->locale().decimalPoint() +
                                QStringLiteral("6"));
    EXPECT_DOUBLE_EQ(dialog.percentField()->value(), -20.0);
    EXPECT_DOUBLE_EQ(dialog.newPrice(), 14814.6);
}

} // namespace
