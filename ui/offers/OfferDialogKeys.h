#pragma once

#include <functional>

class QDialog;
class QHBoxLayout;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// The bottom row the offer's small dialogs share: "Kalkulačka" on the left, "OK" and "Storno" on
// the right; and Ctrl+Q, which switches the display of purchase prices and then calls
// `afterToggle` when given.
QHBoxLayout* calculatorButtonRow(QDialog* dialog, core::UserInteraction& ui);
void installPurchaseKey(QDialog* dialog, core::UserInteraction& ui,
                        std::function<void()> afterToggle = {});

} // namespace orvento::ui
