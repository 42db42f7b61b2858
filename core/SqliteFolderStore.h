#pragma once

#include "core/DataStore.h"

#include <optional>

namespace orvento::core {

// The data kept as SQLite files in a shared folder, the way every workstation of a firm shares
// it: `Global.MDB` and `<agenda>.MDB` in the data folder, each with its `.ldb` that every
// connection holds a shared lock on, the record locks `LOCK/~<agenda>~<Table>~<ID>.lck`, the
// exclusive-operation lock `LOCK/~program.lck`, the change stamps `LOCK/0<n><agenda>.tsf`, and
// the templates `Res/0001.res` (an empty agenda), `0002.res` (the global database) and
// `0003.res` (the demo agenda) in the program folder. Names are found whatever their letter case.
class SqliteFolderStore final : public DataStore {
public:
    // The store of the program's own data folder, as programState() names it at the moment.
    SqliteFolderStore() = default;
    // The store of a given data folder (the maintenance tool works on a folder it is given).
    SqliteFolderStore(QString dataFolder, QString programFolder);

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

    // The files behind a database, its companion lock file and a change stamp; for the tests that
    // hold the layout to what other workstations expect.
    QString filePath(const DatabaseId& which) const;
    static QString ldbPathFor(const QString& databasePath);
    QString stampFilePath(const QString& agenda, StampedTable table) const;
    // The name of a template's file in the program folder's Res/ (the build makes them).
    static QString templateFileName(DatabaseTemplate from);

private:
    QString dataFolder() const;
    QString lockFolder() const;
    QString programFolder() const;

    // Set for a store of a given folder; otherwise the program's folders are followed.
    std::optional<QString> m_dataFolder;
    std::optional<QString> m_programFolder;
};

} // namespace orvento::core
