#include "services/Workstations.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/LockFiles.h"

namespace orvento::services {

namespace {

core::DataStore& store() {
    return *core::programState().store;
}

} // namespace

bool otherWorkstationsRunning() {
    return store().openedElsewhereBesides(core::programState().db->global,
                                          core::DatabaseId::global());
}

bool agendaOpenElsewhere() {
    core::ProgramState& state = core::programState();
    return store().openedElsewhereBesides(state.db->agenda, state.agendaId());
}

QString otherWorkstationsWarning() {
    return QStringLiteral(
        "Upozornění: na některé další stanici v síti je nyní spuštěný tento program - to sice "
        "přímo neznemožňuje použití této funkce, celá operace však může být výrazně pomalejší. "
        "Pokud je to možné, ukončete na ostatních stanicích program.");
}

QString exclusiveOperationRunningWarning() {
    return QStringLiteral(
        "Na některé stanici v síti nyní probíhá operace, která vyžaduje jedinečný přístup (např. "
        "zálohování). Počkejte na dokončení a zkuste program znovu spustit.");
}

QString programLockPath() {
    return store().exclusiveLockLocation();
}

bool reopenConnections() {
    core::ProgramState& state = core::programState();
    bool ok = store().open(state.db->global, core::DatabaseId::global());
    if (store().exists(state.agendaId()))
        ok = store().open(state.db->agenda, state.agendaId()) && ok;
    return ok;
}

ExclusiveOperation::Start ExclusiveOperation::begin(core::UserInteraction& ui) {
    core::ProgramState& state = core::programState();
    state.db->agenda.close();
    state.db->spare.close();
    state.db->global.close();
    if (store().openedElsewhere(core::DatabaseId::global())) {
        reopenConnections();
        return Start::OthersRunning;
    }
    if (!store().takeExclusiveLock(m_lock)) {
        ui.error(lockCreateFailedMessage(programLockPath()));
        reopenConnections();
        return Start::LockFailed;
    }
    return Start::Started;
}

void ExclusiveOperation::end() {
    m_lock.release();
}

} // namespace orvento::services
