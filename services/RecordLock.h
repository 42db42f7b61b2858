#pragma once

#include "core/DataStore.h"

#include <QString>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// Lock names that are not tied to the open agenda (desktop notes, post codes, import
// definitions).
enum class LockScope { Agenda, Global };

// The record of the open agenda (or of all agendas) as the store names it.
core::RecordRef recordRef(const QString& table, qint64 id, LockScope scope = LockScope::Agenda);
// Where the store keeps the record's lock, as messages show it.
QString recordLockPath(const QString& table, qint64 id, LockScope scope = LockScope::Agenda);
// True when another workstation (or another card of this one) edits the record; a lock left
// over by nobody is cleared on the way.
bool recordHeldElsewhere(const QString& table, qint64 id, LockScope scope = LockScope::Agenda);

// A card's hold on the record it edits. It lives exactly as long as the card: the lock is
// released (and its file removed) when the object goes away, however the card closes.
class RecordLock {
public:
    enum class State { Held, ReadOnly, Failed };

    RecordLock() = default;
    ~RecordLock();
    RecordLock(RecordLock&& other) noexcept;
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

    // Called by a card's save before anything is written, outside any unit of work: proves the
    // lock the card holds is still its own. When it was lost (its connection broke and another
    // workstation took the record meanwhile), says so ("Záznam už není zamčen pro úpravy...")
    // and gives false; the lock is then as a read-only card's and the card must become one.
    // True when no lock is held (a new record; a read-only card refuses its save by itself).
    bool stillHeldForSave(core::UserInteraction& ui);

private:
    core::HeldLock m_lock;
    std::optional<core::RecordRef> m_record;
    QString m_path;
};

// Before a record is deleted: false (after the warning "Záznam není možné smazat - je právě
// používán jiným uživatelem.") when another workstation edits it.
bool mayDeleteRecord(const QString& table, qint64 id, core::UserInteraction& ui,
                     LockScope scope = LockScope::Agenda);

QString recordInUseMessage();
QString recordInUseDeleteMessage();
QString recordLockLostMessage();

} // namespace orvento::services
