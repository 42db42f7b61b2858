#include "core/AppContext.h"

#include "core/ProgramState.h"

namespace orvento::core {

AppContext::AppContext(UserInteraction& ui, Navigator& navigator, services::ProfileSession& profile,
                       StartupHooks& hooks)
    : m_ui(ui)
    , m_navigator(navigator)
    , m_profile(profile)
    , m_startUp(*this, hooks) {}

Connections& AppContext::db() const {
    return *programState().db;
}

DataStore& AppContext::store() const {
    return *programState().store;
}

} // namespace orvento::core
