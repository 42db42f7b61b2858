#include "core/SqlDialect.h"

#include "core/AmountFormat.h"
#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/FileLock.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace orvento::core {

namespace {

// How often a waiting writer looks whether the lock is free again. Bulk work leaves the lock free
// only for a moment between its slices; a waiter that looked only every 100 ms, as SQLite's own
// waiting does after a while, would miss most of those moments and wait behind the whole run.
constexpr int kBusyPollMs = 2;

// A bulk unit of work over a big catalogue touches more pages than the default cache holds;
// spilling them to the file half way costs more than the rest of the work. The cache grows only
// as far as it is used (the figure is in KiB when negative).
constexpr int kCacheKib = 65536;

// What one connection keeps while it is open: its waiting for another workstation's write lock,
// and the shared lock on the file's companion `.ldb`, by which other workstations learn that the
// database is in use.
class BusyWait final : public SqlDialect::Session {
public:
    BusyWait(const int& timeoutMs, const QString& databasePath)
        : m_timeoutMs(timeoutMs) {
        FileLock::acquire(Database::ldbPathFor(databasePath), FileLock::Mode::Shared, true,
                          m_inUse);
    }

    // SQLite's busy handler: non-zero to try the statement again.
    static int retry(void* context, int attempt) {
        auto* const wait = static_cast<BusyWait*>(context);
        if (attempt == 0)
            wait->m_since.start();
        if (wait->m_since.elapsed() >= wait->m_timeoutMs)
            return 0;
        sqlite3_sleep(kBusyPollMs);
        return 1;
    }

private:
    const int& m_timeoutMs;
    QElapsedTimer m_since;
    FileLock m_inUse;
};

sqlite3* nativeHandle(const Database& db) {
    const QVariant h = db.handle().driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(h.constData());
    return nullptr;
}

class SqliteDialect final : public SqlDialect {
public:
    QString driverName() const override { return QStringLiteral("QSQLITE"); }

    QString connectOptions(int busyTimeoutMs) const override {
        return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    }

    // A file that is not a database opens fine; the first read tells.
    QString probeStatement() const override {
        return QStringLiteral("SELECT count(*) FROM sqlite_master");
    }

    std::unique_ptr<Session> setUp(Database& db, const int& busyTimeoutMs) const override {
        // Rollback journal: the write-ahead log does not work on network file systems.
        db.executeDdl(QStringLiteral("PRAGMA journal_mode=DELETE"));
        db.executeDdl(QStringLiteral("PRAGMA cache_size=-%1").arg(kCacheKib));
        // Temporary tables (an import's rows set aside) and large sorts stay in memory instead of
        // a file in the temporary folder: they are written and read once, in one burst.
        db.executeDdl(QStringLiteral("PRAGMA temp_store=MEMORY"));
        auto wait = std::make_unique<BusyWait>(busyTimeoutMs, db.filePath());
        if (sqlite3* const handle = nativeHandle(db)) {
            registerCzechCollation(handle);
            registerAmountText(handle);
            sqlite3_busy_handler(handle, &BusyWait::retry, wait.get());
        }
        return wait;
    }

    // The write lock is taken at once: two workstations that both read and then write would
    // otherwise meet as a deadlock that waiting cannot resolve.
    QString beginUnit() const override { return QStringLiteral("BEGIN IMMEDIATE"); }

    QString returningId() const override { return QStringLiteral(" RETURNING ID"); }

    bool keepsLastInsertedId() const override { return true; }

    // The driver asks the connection (sqlite3_last_insert_rowid); no statement runs.
    std::optional<qint64> lastInsertedId(const QSqlQuery& insert) const override {
        const QVariant id = insert.lastInsertId();
        if (!id.isValid())
            return std::nullopt;
        return id.toLongLong();
    }

    FailureKind failureKindOf(const QSqlError& error) const override {
        bool numeric = false;
        constexpr int kPrimaryCodeMask = 0xFF;
        const int code = error.nativeErrorCode().toInt(&numeric) & kPrimaryCodeMask;
        if (!numeric)
            return FailureKind::Other;
        switch (code) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return FailureKind::Busy;
        case SQLITE_CONSTRAINT:
            return FailureKind::Constraint;
        case SQLITE_IOERR:
        case SQLITE_FULL:
        case SQLITE_CANTOPEN:
        case SQLITE_READONLY:
            return FailureKind::Disk;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return FailureKind::Damaged;
        default:
            return FailureKind::Other;
        }
    }

    QString columnTypeSql(ColumnType type) const override {
        switch (type) {
        case ColumnType::Counter:
            return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        case ColumnType::Integer:
            return QStringLiteral("INTEGER");
        case ColumnType::Double:
            return QStringLiteral("REAL");
        case ColumnType::Bit:
            // A yes/no column is never unknown: it reads "no" until set.
            return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
        case ColumnType::DateTime:
        case ColumnType::Text:
        case ColumnType::Memo:
            return QStringLiteral("TEXT");
        case ColumnType::Binary:
            return QStringLiteral("BLOB");
        }
        return {};
    }

    QString tableNamesQuery() const override {
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                              "LIKE 'sqlite_%' ORDER BY name");
    }

    QString indexNamesQuery() const override {
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
    }

    bool writeKindMark(Database& db, DatabaseKind kind) const override {
        return db.executeDdl(QStringLiteral("PRAGMA application_id = %1").arg(kindMarkOf(kind)));
    }

    std::optional<int> readKindMark(Database& db) const override {
        const auto value = db.scalar(QStringLiteral("PRAGMA application_id"));
        if (!value)
            return std::nullopt;
        return value->toInt();
    }

    // "ORVG" and "ORVA" as 32-bit marks in the file header.
    int kindMarkOf(DatabaseKind kind) const override {
        return kind == DatabaseKind::Global ? 0x4F525647 : 0x4F525641;
    }

    bool writeVersionMark(Database& db, int version) const override {
        return db.executeDdl(QStringLiteral("PRAGMA user_version = %1").arg(version));
    }

    QString integrityCheck() const override { return QStringLiteral("PRAGMA integrity_check"); }
    QString rebuildIndexes() const override { return QStringLiteral("REINDEX"); }
    QString compact() const override { return QStringLiteral("VACUUM"); }
};

} // namespace

// Most engines take the write lock with their BEGIN and move an ID counter past explicit IDs.
bool SqlDialect::afterBegin(Database& /*db*/, int /*busyTimeoutMs*/) const {
    return true;
}

QString SqlDialect::roundedSql(const QString& expression, int decimals) const {
    return QStringLiteral("ROUND(%1, %2)").arg(expression).arg(decimals);
}

QString SqlDialect::storedName(const QString& table) const {
    return table;
}

QString SqlDialect::rowSetSql(const QString&, const QString&) const {
    return {};
}

bool SqlDialect::indexesEndInRowId() const {
    return true;
}

QString SqlDialect::tableOptionsSql() const {
    return {};
}

bool SqlDialect::reseatCounter(Database& /*db*/, const QString& /*table*/) const {
    return true;
}

const SqlDialect& sqliteDialect() {
    static const SqliteDialect dialect;
    return dialect;
}

} // namespace orvento::core
