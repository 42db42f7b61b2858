#include "ui/offers/OfferTotalsPanel.h"

#include "offers/OfferCardLogic.h"
#include "offers/OfferTotals.h"

#include <QHBoxLayout>
#include <QLabel>

namespace orvento::ui {

namespace {

constexpr int kValueWidth = 110;
const QColor kProfitColour(0, 128, 0);
const QColor kLossColour(128, 0, 0);

struct TotalLabel {
    const char* name;
    const char* caption;
};
constexpr TotalLabel kTotals[] = {{"lblCelkemBezDPH", "Celkem bez DPH"},
                                  {"lblCelkemSDPH", "s DPH"},
                                  {"lblCelkemZaokr", "Celkem s DPH zaokr."},
                                  {"lblZisk", "Celkový zisk"},
                                  {"lblNakup", "Celkem nákupní cena"}};
// The totals shown only with purchase prices.
constexpr const char* kPurchaseTotals[] = {"lblZisk", "lblNakup"};

QString captionName(const char* name) {
    return QString::fromLatin1(name) + QStringLiteral("Popis");
}

} // namespace

OfferTotalsPanel::OfferTotalsPanel(QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& t : kTotals) {
        auto* caption = new QLabel(QString::fromUtf8(t.caption), this);
        caption->setObjectName(captionName(t.name));
        auto* shown = new QLabel(this);
        shown->setObjectName(QString::fromLatin1(t.name));
        shown->setMinimumWidth(kValueWidth);
        shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(caption);
        layout->addWidget(shown);
    }
    layout->addStretch();
}

QLabel* OfferTotalsPanel::value(const char* name) const {
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void OfferTotalsPanel::showTotals(const offers::OfferTotals& t) {
    using offers::OfferCardLogic;
    value("lblCelkemBezDPH")->setText(OfferCardLogic::totalText(t.totalNet));
    value("lblCelkemSDPH")->setText(OfferCardLogic::totalText(t.totalGross));
    value("lblCelkemZaokr")->setText(OfferCardLogic::totalText(t.celkem));
    QLabel* profit = value("lblZisk");
    profit->setText(OfferCardLogic::totalText(t.profit));
    const QColor profitColour = t.profit == 0.0  ? QColor(Qt::gray)
                                : t.profit > 0.0 ? kProfitColour
                                                 : kLossColour;
    profit->setStyleSheet(QStringLiteral("color: %1").arg(profitColour.name()));
    value("lblNakup")->setText(OfferCardLogic::totalText(t.purchase));
}

void OfferTotalsPanel::setPurchaseShown(bool shown) {
    for (const char* name : kPurchaseTotals) {
        value(name)->setVisible(shown);
        findChild<QLabel*>(captionName(name))->setVisible(shown);
    }
}

} // namespace orvento::ui
