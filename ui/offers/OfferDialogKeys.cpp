#include "ui/offers/OfferDialogKeys.h"

#include "core/DesktopCalculator.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>

namespace orvento::ui {

QHBoxLayout* calculatorButtonRow(QDialog* dialog, core::UserInteraction& ui) {
    auto* calculator = new QPushButton(QStringLiteral("Kalkulačka"), dialog);
    calculator->setObjectName(QStringLiteral("btnKalkulacka"));
    calculator->setAutoDefault(false);
    QObject::connect(calculator, &QPushButton::clicked, dialog,
                     [&ui] { core::calculator::start(ui); });
    auto* row = new QHBoxLayout;
    row->addWidget(calculator);
    row->addStretch();
    row->addWidget(okCancelButtons(dialog));
    return row;
}

void installPurchaseKey(QDialog* dialog, core::UserInteraction& ui,
                        std::function<void()> afterToggle) {
    auto* key = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), dialog);
    QObject::connect(key, &QShortcut::activated, dialog,
                     [&ui, afterToggle = std::move(afterToggle)] {
                         if (services::togglePurchasePriceDisplay(ui, nullptr) && afterToggle)
                             afterToggle();
                     });
}

} // namespace orvento::ui
