#pragma once

#include "core/StartupHooks.h"

namespace orvento::services {

// The start-up steps that the shared services carry out: the exclusive-operation test, the
// schema checks, the login, the change stamps of a newly opened agenda, the settings, and the
// profile's window placements and grid layouts (kept in the context's profile session), loaded
// and saved at their places.
class StandardStartupHooks : public core::StartupHooks {
public:
    bool checkNoExclusiveOperation(core::AppContext& context) override;
    bool checkGlobalSchema(core::AppContext& context) override;
    bool login(core::AppContext& context) override;
    void loadWindowPositions(core::AppContext& context) override;
    void agendaConnected(core::AppContext& context, bool firstOpener) override;
    bool checkAgendaSchema(core::AppContext& context) override;
    void loadProfile(core::AppContext& context) override;
    bool loadSettings(core::AppContext& context) override;
    void saveProfile(core::AppContext& context) override;
    void saveWindowPositions(core::AppContext& context) override;
};

} // namespace orvento::services
