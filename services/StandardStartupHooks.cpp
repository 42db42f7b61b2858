#include "services/StandardStartupHooks.h"

#include "core/ProgramState.h"
#include "core/SchemaUpgrade.h"
#include "core/UserInteraction.h"
#include "services/AgendaSettingsLoading.h"
#include "services/ChangeStamps.h"
#include "services/LockFiles.h"
#include "services/Workstations.h"

namespace orvento::services {

StandardStartupHooks::StandardStartupHooks(core::UserInteraction& ui, FolderChooser chooser)
    : m_ui(ui)
    , m_chooser(std::move(chooser)) {}

std::optional<core::DataFolderChoice>
StandardStartupHooks::chooseDataFolder(const QString& proposedLocal) {
    if (!m_chooser)
        return std::nullopt;
    return m_chooser(proposedLocal);
}

bool StandardStartupHooks::checkNoExclusiveOperation() {
    if (!heldElsewhere(programLockPath()))
        return true;
    m_ui.warning(exclusiveOperationRunningWarning());
    return false;
}

void StandardStartupHooks::agendaConnected(bool firstOpener) {
    core::ProgramState& state = core::programState();
    state.suppressStamps = false;
    state.lastStamps = {};
    if (firstOpener)
        clearStamps();
    state.db->agenda.setWriteObserver(stampAfterWrite);
}

bool StandardStartupHooks::checkGlobalSchema() {
    return core::checkSchemaVersion(core::programState().db->global, core::DatabaseKind::Global,
                                    QString(), m_ui);
}

bool StandardStartupHooks::checkAgendaSchema() {
    core::ProgramState& state = core::programState();
    return core::checkSchemaVersion(state.db->agenda, core::DatabaseKind::Agenda, state.agenda,
                                    m_ui);
}

bool StandardStartupHooks::loadSettings() {
    return loadOpenAgendaSettings(m_ui);
}

bool StandardStartupHooks::openAgendaFromList() {
    return m_agendaList && m_agendaList();
}

bool StandardStartupHooks::login() {
    return logIn(core::programState().db->global, m_ui, m_passwordPrompt);
}

void StandardStartupHooks::loadWindowPositions() {
    m_profile.loadWindowPlacements();
}

void StandardStartupHooks::loadProfile() {
    m_profile.loadGridLayouts();
}

void StandardStartupHooks::saveProfile() {
    if (core::programState().db->agenda.isOpen())
        m_profile.saveGridLayouts();
}

void StandardStartupHooks::saveWindowPositions() {
    if (core::programState().db->global.isOpen())
        m_profile.saveWindowPlacements();
}

} // namespace orvento::services
