#pragma once

namespace orvento::core {
class AppContext;
class ProgramEvents;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// Ctrl+Q: asks whether to switch the display of purchase prices, margins and profit off (or on)
// and switches it for the whole program on Yes. True when it was switched.
bool togglePurchasePriceDisplay(core::AppContext& context);
// The same for a window that has only the person at hand; the other windows are told through
// `events` when given.
bool togglePurchasePriceDisplay(core::UserInteraction& ui, core::ProgramEvents* events);

} // namespace orvento::services
