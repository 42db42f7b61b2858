#include "services/Workstations.h"

#include "core/Database.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "services/LockFiles.h"

#include <QFile>

namespace orvento::services {

namespace {

bool openedElsewhereWhileClosed(core::Database& db, const QString& fallbackPath) {
    const QString path = db.filePath().isEmpty() ? fallbackPath : db.filePath();
    const bool wasOpen = db.isOpen();
    db.close();
    const bool elsewhere = core::Database::openedElsewhere(path);
    if (wasOpen)
        db.open(path);
    return elsewhere;
}

} // namespace

bool otherWorkstationsRunning() {
    core::ProgramState& state = core::programState();
    return openedElsewhereWhileClosed(
        state.db->global, core::resolveInFolder(state.folders.data, QStringLiteral("Global.MDB")));
}

bool agendaOpenElsewhere() {
    core::ProgramState& state = core::programState();
    return openedElsewhereWhileClosed(state.db->agenda, state.agendaFilePath());
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
    return core::programState().folders.lock + programLockName();
}

QString programLockName() {
    return QStringLiteral("~program.lck");
}

QString programLockPathIn(const QString& dataFolder) {
    return core::lockFolderOf(dataFolder) + programLockName();
}

bool reopenConnections() {
    core::ProgramState& state = core::programState();
    bool ok = state.db->global.open(
        core::resolveInFolder(state.folders.data, QStringLiteral("Global.MDB")));
    const QString agendaPath = state.agendaFilePath();
    if (QFile::exists(agendaPath))
        ok = state.db->agenda.open(agendaPath) && ok;
    return ok;
}

ExclusiveOperation::Start ExclusiveOperation::begin(core::UserInteraction& ui) {
    core::ProgramState& state = core::programState();
    state.db->agenda.close();
    state.db->spare.close();
    state.db->global.close();
    const QString globalPath =
        core::resolveInFolder(state.folders.data, QStringLiteral("Global.MDB"));
    if (core::Database::openedElsewhere(globalPath)) {
        reopenConnections();
        return Start::OthersRunning;
    }
    if (!createLockFile(programLockPath(), m_lock, ui)) {
        reopenConnections();
        return Start::LockFailed;
    }
    return Start::Started;
}

void ExclusiveOperation::end() {
    if (m_lock.isHeld())
        m_lock.removeAndRelease();
}

} // namespace orvento::services
