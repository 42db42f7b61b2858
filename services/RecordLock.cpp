#include "services/RecordLock.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/LockFiles.h"

#include <utility>

namespace orvento::services {

namespace {
core::DataStore& store() {
    return *core::programState().store;
}
} // namespace

core::RecordRef recordRef(const QString& table, qint64 id, LockScope scope) {
    return {scope == LockScope::Global ? QString() : core::programState().agenda, table, id};
}

QString recordLockPath(const QString& table, qint64 id, LockScope scope) {
    return store().recordLockLocation(recordRef(table, id, scope));
}

bool recordHeldElsewhere(const QString& table, qint64 id, LockScope scope) {
    return store().recordLockHeldElsewhere(recordRef(table, id, scope));
}

QString recordInUseMessage() {
    return QStringLiteral(
        "Záznam je právě používán jiným uživatelem. Případné změny nebude možné uložit!");
}

QString recordInUseDeleteMessage() {
    return QStringLiteral("Záznam není možné smazat - je právě používán jiným uživatelem.");
}

QString recordLockLostMessage() {
    return QStringLiteral("Záznam už není zamčen pro úpravy: spojení s databázovým serverem bylo "
                          "přerušeno a záznam mezitím upravuje jiná pracovní stanice. Karta "
                          "zůstane otevřena jen pro čtení.");
}

RecordLock::~RecordLock() {
    release();
}

RecordLock::RecordLock(RecordLock&& other) noexcept
    : m_lock(std::move(other.m_lock))
    , m_record(std::exchange(other.m_record, std::nullopt))
    , m_path(std::exchange(other.m_path, QString())) {}

RecordLock& RecordLock::operator=(RecordLock&& other) noexcept {
    if (this != &other) {
        release();
        m_lock = std::move(other.m_lock);
        m_record = std::exchange(other.m_record, std::nullopt);
        m_path = std::exchange(other.m_path, QString());
    }
    return *this;
}

RecordLock::State RecordLock::take(const QString& table, qint64 id, core::UserInteraction& ui,
                                   RecordLock& out, LockScope scope) {
    out.release();
    core::DataStore& data = store();
    out.m_record = recordRef(table, id, scope);
    out.m_path = data.recordLockLocation(*out.m_record);
    if (data.recordLockHeldElsewhere(*out.m_record)) {
        ui.information(recordInUseMessage());
        return State::ReadOnly;
    }
    if (!data.takeRecordLock(*out.m_record, out.m_lock)) {
        ui.error(lockCreateFailedMessage(out.m_path));
        return State::Failed;
    }
    return State::Held;
}

void RecordLock::release() {
    if (m_lock.isHeld())
        m_lock.release();
    else if (m_record)
        store().recordLockHeldElsewhere(*m_record); // a read-only card only clears what nobody
                                                    // holds any more
    m_record.reset();
    m_path.clear();
}

bool RecordLock::stillHeldForSave(core::UserInteraction& ui) {
    if (!m_lock.isHeld() || m_lock.stillHeld())
        return true;
    // What is left is a read-only card's: nothing to let go, only a left-over lock to clear.
    m_lock.release();
    ui.warning(recordLockLostMessage());
    return false;
}

bool mayDeleteRecord(const QString& table, qint64 id, core::UserInteraction& ui, LockScope scope) {
    if (recordHeldElsewhere(table, id, scope)) {
        ui.warning(recordInUseDeleteMessage());
        return false;
    }
    return true;
}

} // namespace orvento::services
