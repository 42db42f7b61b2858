#pragma once

#include <QWidget>

class QLabel;

namespace orvento::offers {
struct OfferTotals;
}

namespace orvento::ui {

// The row of the offer's totals under the item grid: without and with VAT, rounded, the profit
// and the purchase price; the last two only for whoever sees purchase prices.
class OfferTotalsPanel : public QWidget {
    Q_OBJECT
public:
    explicit OfferTotalsPanel(QWidget* parent);

    void showTotals(const offers::OfferTotals& totals);
    void setPurchaseShown(bool shown);

private:
    QLabel* value(const char* name) const;
};

} // namespace orvento::ui
