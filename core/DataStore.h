#pragma once

#include "core/Schema.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace orvento::core {

class Database;
class SqlDialect;

// One database of the data folder: the global one, or an agenda by its name ("DEMO", "Firma2").
struct DatabaseId {
    DatabaseKind kind = DatabaseKind::Global;
    QString agenda; // empty for the global database

    static DatabaseId global() { return {}; }
    static DatabaseId agendaNamed(QString name) { return {DatabaseKind::Agenda, std::move(name)}; }
};

// Why a database could not be opened: the kind of problem and the engine's own words.
struct OpenFailure {
    OpenProblem problem = OpenProblem::None;
    QString reason;
};

// A database the store holds, as a list shows it.
struct StoredDatabase {
    DatabaseId id;
    QString label; // how the person knows it ("DEMO.MDB")
};

// What a new database is made from.
enum class DatabaseTemplate { EmptyAgenda, Global, DemoAgenda };

// The change stamps of the address book, the catalogue items and the catalogue groups that this
// workstation last saw or wrote (days since 30 December 1899, 0 = never).
enum class StampedTable { Adresar = 0, Zasoby = 1, Skupiny = 2 };

// The record a lock guards. `agenda` is empty for records shared by all agendas (desktop notes,
// post codes, import definitions).
struct RecordRef {
    QString agenda;
    QString table;
    qint64 id = 0;
};

// A lock the store granted: held while the object lives (or until release()), movable.
class HeldLock {
public:
    class Token {
    public:
        virtual ~Token() = default;
        // Whether the lock is still this program's: a lock held on a connection that broke may
        // have gone to another workstation before it could be taken again.
        virtual bool stillHeld() { return true; }
    };

    HeldLock() = default;
    explicit HeldLock(std::unique_ptr<Token> token)
        : m_token(std::move(token)) {}
    bool isHeld() const { return m_token != nullptr; }
    // Asks the store (a round trip on a server); false when the lock was lost.
    bool stillHeld() const { return m_token && m_token->stillHeld(); }
    void release() { m_token.reset(); }

private:
    std::unique_ptr<Token> m_token;
};

// Everything the program does with its data as a whole, whatever keeps it: opening the global
// database and the agendas, the list of agendas, making, removing and renaming them, telling
// whether another workstation works with a database, the record locks and the lock of an
// exclusive operation, the change stamps that make other workstations reload their lists, and
// the maintenance of a database (a consistent copy, the integrity check, compacting, restoring).
//
// Nothing outside the store knows how these are kept (files, lock files, a server): the rest of
// the program names databases by DatabaseId and records by RecordRef. Messages that must say
// where something is use location() and the lock locations, which are texts for the person.
class DataStore {
public:
    virtual ~DataStore() = default;

    // The statements that differ from engine to engine.
    virtual const SqlDialect& dialect() const = 0;

    // ---- databases
    virtual bool exists(const DatabaseId& which) const = 0;
    // Where the database is, as messages show it.
    virtual QString location(const DatabaseId& which) const = 0;
    // Opens the connection on the database and makes sure it is one of ours of that kind;
    // otherwise the connection stays closed and `failure` says why.
    virtual bool open(Database& db, const DatabaseId& which, OpenFailure* failure = nullptr) = 0;
    // Every database the store holds, the global one among them, in the order of their labels.
    // A database that cannot be read is listed too (as an agenda).
    virtual std::vector<StoredDatabase> databases() const = 0;
    // The agendas only, each name once whatever its letter case.
    std::vector<StoredDatabase> agendas() const;
    // The kind a database says it is; nothing for a foreign or unreadable one.
    virtual std::optional<DatabaseKind> kindOf(const DatabaseId& which) const = 0;
    // The label a database would have in databases().
    virtual QString label(const DatabaseId& which) const = 0;
    // The same database under the spelling of its name the store keeps ("demo" -> "DEMO").
    virtual DatabaseId resolved(const DatabaseId& which) const = 0;

    // ---- making and removing
    // Makes a new database from a template (whole or not at all). False with `problem` set:
    // NoRight when the store may not make databases where it keeps them (a server's role).
    enum class CreateProblem { None, TemplateMissing, NoRight, Failed };
    virtual bool create(const DatabaseId& which, DatabaseTemplate from,
                        CreateProblem* problem = nullptr) = 0;
    // What the person is told of NoRight: what is missing, and whom to ask.
    virtual QString noRightToCreateMessage() const { return {}; }
    // Where the template is, for the message about a missing one.
    virtual QString templateLocation(DatabaseTemplate from) const = 0;
    // Removes an agenda that nobody has open; false when somebody does or it cannot go.
    virtual bool remove(const DatabaseId& which) = 0;
    // Gives an agenda another name; false when it is open anywhere, the name is taken, or it fails.
    virtual bool rename(const DatabaseId& which, const QString& newAgenda) = 0;
    // The lowest free name "Firma<n>" (n from 1 to `limit`); nothing when all are taken.
    virtual std::optional<QString> freeAgendaName(int limit) const = 0;

    // ---- other workstations
    // True when another connection (this process included) has the database open. Only
    // meaningful while this program's own connection to it is closed.
    virtual bool openedElsewhere(const DatabaseId& which) const = 0;
    // The same for a database this program may have open on `own`: the connection is closed for
    // the test and opened again.
    bool openedElsewhereBesides(Database& own, const DatabaseId& which);
    // Keeps every other connection out of the database while `out` lives (maintenance, removal);
    // false when somebody has it open.
    virtual bool takeExclusiveUse(const DatabaseId& which, HeldLock& out) = 0;

    // ---- record locks and the exclusive-operation lock
    // True when another workstation holds the record's lock; a lock nobody holds is cleared.
    virtual bool recordLockHeldElsewhere(const RecordRef& record) = 0;
    virtual bool takeRecordLock(const RecordRef& record, HeldLock& out) = 0;
    virtual QString recordLockLocation(const RecordRef& record) const = 0;
    // The records of a table that have a lock at all (held or left over), found in one step.
    virtual std::set<qint64> recordsWithLocks(const QString& agenda,
                                              const QString& table) const = 0;
    // The lock of an operation that needs the data to itself (a backup, a restore, maintenance):
    // while it is held no workstation starts the program.
    virtual bool exclusiveLockHeldElsewhere() = 0;
    virtual bool takeExclusiveLock(HeldLock& out) = 0;
    virtual QString exclusiveLockLocation() const = 0;

    // ---- change stamps (days since 30 December 1899, as every workstation writes them)
    virtual bool stampExists(const QString& agenda, StampedTable table) const = 0;
    // Nothing when the stamp cannot be read.
    virtual std::optional<double> readStamp(const QString& agenda, StampedTable table) const = 0;
    // Errors are ignored: a list then simply misses one reload. Gives the value stored, which is
    // `value` unless the store keeps a clock of its own that all workstations share (a server
    // stamps by its time, so that workstations whose clocks are wrong still see each other's
    // changes in order); `value` too when the write failed.
    virtual double writeStamp(const QString& agenda, StampedTable table, double value) = 0;
    virtual void removeStamps(const QString& agenda) = 0;

    // ---- maintenance (under takeExclusiveUse)
    // A consistent copy of the database at `target`, whole or not at all.
    virtual bool copyTo(const DatabaseId& which, const QString& target) = 0;
    // Puts a copy made by copyTo() in the database's place; false leaves it as it was.
    virtual bool restoreFrom(const DatabaseId& which, const QString& copy) = 0;
    // The problems the integrity check finds on an open connection; empty when it is sound.
    virtual QStringList integrityProblems(Database& db) const = 0;
    // Rebuilds the indexes, the damage that can be cured without touching the data.
    virtual bool rebuildIndexes(Database& db) const = 0;
    virtual bool compact(Database& db) const = 0;
    virtual qint64 sizeOf(const DatabaseId& which) const = 0;

    // ---- backup and restore (under the exclusive-operation lock, all connections closed)
    // A consistent copy of the database written by the engine itself into the new file
    // `target`, never a copy of its file, which could catch half a unit of work or a journal
    // that belongs to it. False with the engine's words in `error`.
    virtual bool snapshotTo(const DatabaseId& which, const QString& target, QString* error) = 0;
    // The folder in which a restore makes its private folder for the files it checks before
    // putting them in place: on the file system of the databases, so that the last step is a
    // rename.
    virtual QString stagingLocation() const = 0;
    // Checks a database file that is not (yet) the store's: one of ours of that kind, sound
    // throughout, and of a schema version this program opens (an older one is upgraded at its
    // next opening).
    struct CopyCheck {
        enum class Problem { None, WrongKind, Damaged, Newer, Other };
        Problem problem = Problem::None;
        QString detail;        // the engine's words or the integrity check's first findings
        int storedVersion = 0; // for a newer database
        bool passed() const { return problem == Problem::None; }
    };
    virtual CopyCheck checkCopy(DatabaseKind kind, const QString& path) const = 0;
    // Puts a file that checkCopy() passed (in the staging location) in the database's place by
    // moving it there; the old database stays until the new one stands, and what belonged to the
    // old one only (its journal) goes. False leaves the database as it was.
    virtual bool putInPlace(const DatabaseId& which, const QString& checkedFile) = 0;
};

} // namespace orvento::core
