#pragma once

namespace orvento::core {
class AppContext;
}

namespace orvento::services {

// Ctrl+Q: asks whether to switch the display of purchase prices, margins and profit off (or on)
// and switches it for the whole program on Yes. True when it was switched.
bool togglePurchasePriceDisplay(core::AppContext& context);

} // namespace orvento::services
