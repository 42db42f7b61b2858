#pragma once

#include "core/ProgramEvents.h"
#include "core/RunSecrets.h"
#include "core/StartUp.h"

namespace orvento::services {
class ProfileSession;
}

namespace orvento::core {

class DataStore;
class Navigator;
class StartupHooks;
class UserInteraction;
struct Connections;

// Everything a window or a logic class of this run needs besides its own data: the connections,
// the profile session (grid layouts, sort fields, window placements), the person at the screen,
// the other windows, the start-up and the program-wide notifications. The application builds
// one and hands it to every window and logic class; tests build one from their doubles.
//
// The profile session is a service above this layer: it is only named here, never used.
class AppContext {
public:
    AppContext(UserInteraction& ui, Navigator& navigator, services::ProfileSession& profile,
               StartupHooks& hooks);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    UserInteraction& ui() const { return m_ui; }
    Navigator& navigator() const { return m_navigator; }
    services::ProfileSession& profile() const { return m_profile; }
    // The connections of programState(): the global database, the open agenda and the spare one.
    Connections& db() const;
    // Where the data are kept: the databases, their locks and change stamps.
    DataStore& store() const;
    ProgramEvents& events() { return m_events; }
    StartUp& startUp() { return m_startUp; }
    // Secrets typed during this run where no password store keeps them.
    RunSecrets& secrets() { return m_secrets; }

private:
    UserInteraction& m_ui;
    Navigator& m_navigator;
    services::ProfileSession& m_profile;
    ProgramEvents m_events;
    StartUp m_startUp;
    RunSecrets m_secrets;
};

} // namespace orvento::core
