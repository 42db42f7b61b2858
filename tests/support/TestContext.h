#pragma once

#include "core/AppContext.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "support/ScriptedInteraction.h"
#include "support/ScriptedNavigator.h"

namespace orvento::testsupport {

// The application context of a test: the person at the screen and the other windows answered
// from scripts, the program's own start-up steps and a profile session.
struct TestContext {
    // `hooks` replaces the program's start-up steps where a test needs to watch them.
    explicit TestContext(ScriptedInteraction& interaction, core::StartupHooks* hooks = nullptr)
        : context(interaction, navigator, profile, hooks ? *hooks : standardHooks) {}

    ScriptedNavigator navigator;
    services::ProfileSession profile;
    services::StandardStartupHooks standardHooks;
    core::AppContext context;

    core::StartUp& startUp() { return context.startUp(); }
};

} // namespace orvento::testsupport
