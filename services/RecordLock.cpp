#include "services/RecordLock.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/LockFiles.h"

namespace orvento::services {

QString recordLockPath(const QString& table, qint64 id, LockScope scope) {
    const core::ProgramState& state = core::programState();
    const QString owner = scope == LockScope::Global ? QStringLiteral("Global") : state.agenda;
    return state.folders.lock + QLatin1Char('~') + owner + QLatin1Char('~') + table +
           QLatin1Char('~') + QString::number(id) + QStringLiteral(".lck");
}

QString recordInUseMessage() {
    return QStringLiteral(
        "Záznam je právě používán jiným uživatelem. Případné změny nebude možné uložit!");
}

QString recordInUseDeleteMessage() {
    return QStringLiteral("Záznam není možné smazat - je právě používán jiným uživatelem.");
}

RecordLock::~RecordLock() {
    release();
}

RecordLock& RecordLock::operator=(RecordLock&& other) noexcept {
    if (this != &other) {
        release();
        m_lock = std::move(other.m_lock);
        m_path = std::move(other.m_path);
    }
    return *this;
}

RecordLock::State RecordLock::take(const QString& table, qint64 id, core::UserInteraction& ui,
                                   RecordLock& out, LockScope scope) {
    out.release();
    out.m_path = recordLockPath(table, id, scope);
    if (heldElsewhere(out.m_path)) {
        ui.information(recordInUseMessage());
        return State::ReadOnly;
    }
    if (!createLockFile(out.m_path, out.m_lock, ui))
        return State::Failed;
    return State::Held;
}

void RecordLock::release() {
    if (m_lock.isHeld())
        m_lock.removeAndRelease();
    else if (!m_path.isEmpty())
        heldElsewhere(m_path); // a read-only card only clears what nobody holds any more
    m_path.clear();
}

bool mayDeleteRecord(const QString& table, qint64 id, core::UserInteraction& ui, LockScope scope) {
    if (heldElsewhere(recordLockPath(table, id, scope))) {
        ui.warning(recordInUseDeleteMessage());
        return false;
    }
    return true;
}

} // namespace orvento::services
