#pragma once

#include "core/AgendaSettings.h"

#include <optional>

namespace orvento::core {
class AppContext;
class ProgramEvents;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// The profile values the settings dialog shows (1, 2, 21, 44, 22); a missing or unreadable value
// takes its default.
core::ProfileOptions loadProfileOptions();
// Saves them, booleans as -1/0; false at the first value that could not be written (not
// reported here: the settings dialog reports its save as one).
bool saveProfileOptions(const core::ProfileOptions& options);

// Purchase prices and profit are shown unless the profile asks to hide them; tells every window.
void applyPurchasePriceDisplay(const core::ProfileOptions& options, core::ProgramEvents& events);

// Loads the open agenda's settings, logo and profile options into programState().settings, puts
// the firm name into the status bar and applies the purchase-price display. False (after the
// database's error) when the settings cannot be read.
bool loadOpenAgendaSettings(core::AppContext& context);

// The pieces of that: reading (nothing, after the database's error, when they cannot be read),
// and making read or saved settings the program's.
std::optional<core::AgendaSettings> readOpenAgendaSettings(core::UserInteraction& ui);
void takeOverSettings(core::AgendaSettings settings, core::ProgramEvents& events);

} // namespace orvento::services
