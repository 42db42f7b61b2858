#include "services/StandardStartupHooks.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SchemaUpgrade.h"
#include "core/UserInteraction.h"
#include "services/AgendaSettingsLoading.h"
#include "services/ChangeStamps.h"
#include "services/Login.h"
#include "services/ProfileSession.h"
#include "services/Workstations.h"

namespace orvento::services {

bool StandardStartupHooks::checkNoExclusiveOperation(core::AppContext& context) {
    if (!context.store().exclusiveLockHeldElsewhere())
        return true;
    context.ui().warning(exclusiveOperationRunningWarning());
    return false;
}

void StandardStartupHooks::agendaConnected(core::AppContext& context, bool firstOpener) {
    core::ProgramState& state = core::programState();
    state.suppressStamps = false;
    state.lastStamps = {};
    if (firstOpener)
        clearStamps();
    context.db().agenda.setWriteObserver(stampAfterWrite);
}

bool StandardStartupHooks::checkGlobalSchema(core::AppContext& context) {
    return core::checkSchemaVersion(context.store(), context.db().global,
                                    core::DatabaseId::global(), context.ui());
}

bool StandardStartupHooks::checkAgendaSchema(core::AppContext& context) {
    return core::checkSchemaVersion(context.store(), context.db().agenda,
                                    core::programState().agendaId(), context.ui());
}

bool StandardStartupHooks::loadSettings(core::AppContext& context) {
    return loadOpenAgendaSettings(context);
}

bool StandardStartupHooks::login(core::AppContext& context) {
    return logIn(context);
}

void StandardStartupHooks::loadWindowPositions(core::AppContext& context) {
    context.profile().loadWindowPlacements();
}

void StandardStartupHooks::loadProfile(core::AppContext& context) {
    context.profile().loadGridLayouts();
}

// A profile that cannot be written is told once its unit of work has rolled back; the program
// closes anyway, with the values of the previous run kept.
void StandardStartupHooks::saveProfile(core::AppContext& context) {
    if (context.db().agenda.isOpen() && !context.profile().saveGridLayouts())
        context.ui().error(core::saveFailedMessage());
}

void StandardStartupHooks::saveWindowPositions(core::AppContext& context) {
    if (context.db().global.isOpen() && !context.profile().saveWindowPlacements())
        context.ui().error(core::saveFailedMessage(QStringLiteral("Uzivatelske")));
}

} // namespace orvento::services
