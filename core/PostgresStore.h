#pragma once

#include "core/DataStore.h"
#include "core/PostgresCatalog.h"
#include "core/ServerConnection.h"

#include <memory>
#include <optional>

namespace orvento::core {

class PostgresLockSession;

// The data of a data folder kept in one database on a PostgreSQL server: a schema per agenda
// ("agenda_<n>") and one for the global database ("global"), with the registry of their names,
// kinds and schema versions, the change stamps, the collation `czech` and the SQL functions in
// the schema `orvento`. Workstations meet through advisory locks: every connection to a schema
// holds its in-use lock shared, a unit of work holds the schema's writing lock, and the record
// locks and the exclusive-operation lock are held on one lock connection per store, so a
// program that ends, however it ends, frees them at once. New agendas are filled from the same
// template files as the file store, and a copy (backup, maintenance) is a SQLite file of the
// same layout, so that one archive serves both.
class PostgresStore final : public DataStore {
public:
    // The store on `server`, with the templates in the program's folder as programState() names
    // it at the moment.
    explicit PostgresStore(ServerConnection server);
    PostgresStore(ServerConnection server, QString programFolder);
    ~PostgresStore() override;
    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

    // Makes the schema `orvento` with its collation, functions and tables where the database
    // lacks it (once per store). False with the server's words in `error`.
    bool prepare(QString* error = nullptr) const;
    // The server's words for the last thing that failed on the store's own connection.
    QString lastError() const;

    const SqlDialect& dialect() const override;

    bool exists(const DatabaseId& which) const override;
    QString location(const DatabaseId& which) const override;
    bool open(Database& db, const DatabaseId& which, OpenFailure* failure = nullptr) override;
    std::vector<StoredDatabase> databases() const override;
    std::optional<DatabaseKind> kindOf(const DatabaseId& which) const override;
    QString label(const DatabaseId& which) const override;
    DatabaseId resolved(const DatabaseId& which) const override;

    bool create(const DatabaseId& which, DatabaseTemplate from,
                CreateProblem* problem = nullptr) override;
    QString noRightToCreateMessage() const override;
    QString templateLocation(DatabaseTemplate from) const override;
    bool remove(const DatabaseId& which) override;
    bool rename(const DatabaseId& which, const QString& newAgenda) override;
    std::optional<QString> freeAgendaName(int limit) const override;

    bool openedElsewhere(const DatabaseId& which) const override;
    bool takeExclusiveUse(const DatabaseId& which, HeldLock& out) override;

    bool recordLockHeldElsewhere(const RecordRef& record) override;
    bool takeRecordLock(const RecordRef& record, HeldLock& out) override;
    QString recordLockLocation(const RecordRef& record) const override;
    std::set<qint64> recordsWithLocks(const QString& agenda, const QString& table) const override;
    bool exclusiveLockHeldElsewhere() override;
    bool takeExclusiveLock(HeldLock& out) override;
    QString exclusiveLockLocation() const override;

    bool stampExists(const QString& agenda, StampedTable table) const override;
    std::optional<double> readStamp(const QString& agenda, StampedTable table) const override;
    double writeStamp(const QString& agenda, StampedTable table, double value) override;
    void removeStamps(const QString& agenda) override;

    bool copyTo(const DatabaseId& which, const QString& target) override;
    bool restoreFrom(const DatabaseId& which, const QString& copy) override;
    QStringList integrityProblems(Database& db) const override;
    bool rebuildIndexes(Database& db) const override;
    bool compact(Database& db) const override;
    qint64 sizeOf(const DatabaseId& which) const override;

    bool snapshotTo(const DatabaseId& which, const QString& target, QString* error) override;
    QString stagingLocation() const override;
    CopyCheck checkCopy(DatabaseKind kind, const QString& path) const override;
    bool putInPlace(const DatabaseId& which, const QString& checkedFile) override;

    // The schema that holds a database; empty when there is none.
    QString schemaOf(const DatabaseId& which) const;

private:
    struct Registered {
        QString schema;
        QString name;
        std::optional<int> kind;
    };

    Database& catalog() const;
    std::vector<Registered> registry() const;
    std::optional<Registered> find(const DatabaseId& which) const;
    QString programFolder() const;
    // Whether any connection holds the lock (this program's own among them).
    bool heldByAnyone(const postgres::LockKey& key) const;
    QString holderName(const postgres::LockKey& key) const;
    // Fills the new schema `schema` (or the one of `which`, replaced whole) from a SQLite file.
    bool fillFromFile(const DatabaseId& which, const QString& file, QString* error);
    bool takeLock(const postgres::LockKey& key, HeldLock& out);
    // False when the server says the role may not create schemas in the database; true when it
    // may, or when the server cannot be asked (the attempt itself then tells why).
    bool mayCreateSchemas() const;

    ServerConnection m_server;
    std::optional<QString> m_programFolder;
    QString m_connectionPrefix;
    mutable std::unique_ptr<Database> m_catalog;
    mutable bool m_prepared = false;
    std::shared_ptr<PostgresLockSession> m_locks;
};

} // namespace orvento::core
