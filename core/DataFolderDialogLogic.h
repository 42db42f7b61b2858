#pragma once

#include "core/StartupHooks.h"

namespace orvento::core {

class UserInteraction;

// What the data folder dialog checks before it closes with OK: a network folder must exist.
// False (after the warning) keeps the dialog open.
bool acceptDataFolderChoice(const DataFolderChoice& choice, UserInteraction& ui);

// The explanation the dialog shows.
QString dataFolderExplanation();

} // namespace orvento::core
