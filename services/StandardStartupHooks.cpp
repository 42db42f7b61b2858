#include "services/StandardStartupHooks.h"

#include "core/ProgramState.h"
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

bool StandardStartupHooks::exclusiveOperationRunning() {
    return heldElsewhere(programLockPath());
}

void StandardStartupHooks::agendaConnected(bool firstOpener) {
    core::ProgramState& state = core::programState();
    state.suppressStamps = false;
    state.lastStamps = {};
    if (firstOpener)
        clearStamps();
    state.db->agenda.setStatementObserver(stampAfterStatement);
}

bool StandardStartupHooks::loadSettings() {
    core::ProgramState& state = core::programState();
    const auto name = state.db->agenda.scalar(
        QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = :IDHodnoty"),
        {{QStringLiteral("IDHodnoty"), 1}});
    state.agendaName = name ? name->toString() : QString();
    return true;
}

} // namespace orvento::services
