#pragma once

#include "core/AgendaSettings.h"

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// The profile values the settings dialog shows (1, 2, 21, 44, 22); a missing or unreadable value
// takes its default.
core::ProfileOptions loadProfileOptions();
// Saves them, booleans as -1/0. Failures are not reported: the value is simply not remembered.
void saveProfileOptions(const core::ProfileOptions& options);

// Purchase prices and profit are shown unless the profile asks to hide them; tells every window.
void applyPurchasePriceDisplay(const core::ProfileOptions& options);

// Loads the open agenda's settings, logo and profile options into programState().settings, puts
// the firm name into the status bar and applies the purchase-price display. False (after the
// database's error) when the settings cannot be read.
bool loadOpenAgendaSettings(core::UserInteraction& ui);

} // namespace orvento::services
