#pragma once

// The program's wiring for the benchmarks that open its windows or cards: the quiet person at the
// screen, the profile session, the start-up steps and the program's own navigator.

#include "bench/support/QuietInteraction.h"
#include "core/AppContext.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "ui/ProgramNavigator.h"

namespace orvento::bench {

struct Program {
    QuietInteraction ui;
    services::ProfileSession profile;
    services::StandardStartupHooks hooks;
    ui::ProgramNavigator navigator{context, nullptr};
    core::AppContext context{ui, navigator, profile, hooks};
};

} // namespace orvento::bench
