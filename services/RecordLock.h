#pragma once

#include "core/FileLock.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// Lock names that are not tied to the open agenda (desktop notes, post codes, import
// definitions).
enum class LockScope { Agenda, Global };

// The lock file of one record: <lock folder>~<agenda or Global>~<Table>~<ID>.lck
QString recordLockPath(const QString& table, qint64 id, LockScope scope = LockScope::Agenda);

// A card's hold on the record it edits. It lives exactly as long as the card: the lock is
// released (and its file removed) when the object goes away, however the card closes.
class RecordLock {
public:
    enum class State { Held, ReadOnly, Failed };

    RecordLock() = default;
    ~RecordLock();
    RecordLock(RecordLock&&) noexcept = default;
    RecordLock& operator=(RecordLock&&) noexcept;
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    // Takes the lock of a record. When another workstation edits it, says so ("Záznam je právě
    // používán jiným uživatelem...") and gives ReadOnly; a lock file that cannot be created gives
    // Failed after its error message.
    static State take(const QString& table, qint64 id, core::UserInteraction& ui, RecordLock& out,
                      LockScope scope = LockScope::Agenda);

    bool isHeld() const { return m_lock.isHeld(); }
    const QString& path() const { return m_path; }
    void release();

private:
    core::FileLock m_lock;
    QString m_path;
};

// Before a record is deleted: false (after the warning "Záznam není možné smazat - je právě
// používán jiným uživatelem.") when another workstation edits it.
bool mayDeleteRecord(const QString& table, qint64 id, core::UserInteraction& ui,
                     LockScope scope = LockScope::Agenda);

QString recordInUseMessage();
QString recordInUseDeleteMessage();

} // namespace orvento::services
