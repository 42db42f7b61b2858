#pragma once

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// Ctrl+Q: asks whether to switch the display of purchase prices, margins and profit off (or on)
// and switches it for the whole program on Yes. True when it was switched.
bool togglePurchasePriceDisplay(core::UserInteraction& ui);

} // namespace orvento::services
