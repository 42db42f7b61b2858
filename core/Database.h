#pragma once

#include "core/FileLock.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace orvento::core {

// Named statement parameters: the name without the leading colon, and its value (int, double,
// bool, QDateTime/QDate, QString, QByteArray; an invalid QVariant binds NULL).
using SqlParams = std::vector<std::pair<QString, QVariant>>;

// One connection to one database file. Every statement is run with its values bound, never
// pasted into the text. While the connection is open it holds a shared lock on the file's
// companion `.ldb`, by which other workstations learn that the database is in use.
class Database {
public:
    explicit Database(QString connectionName);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file (which must exist) with the busy time-out, the journal mode and the Czech
    // collation. False with lastError() when the file cannot be opened or is not a database.
    bool open(const QString& filePath);
    void close();
    bool isOpen() const;
    const QString& filePath() const { return m_filePath; }
    const QString& connectionName() const { return m_connectionName; }

    // Runs a statement that returns no rows. On success the statement observer is told the
    // statement's text and newRowId() holds the row an INSERT created.
    bool execute(const QString& sql, const SqlParams& params = {});
    // Runs a query; the result is positioned before its first row and is inactive on failure.
    QSqlQuery select(const QString& sql, const SqlParams& params = {});
    // The first column of the first row, or nothing when there is no row or the query fails.
    std::optional<QVariant> scalar(const QString& sql, const SqlParams& params = {});
    // Runs schema statements (CREATE TABLE, ALTER TABLE ... ADD COLUMN, CREATE INDEX, PRAGMA).
    bool executeDdl(const QString& sql);

    qint64 newRowId() const { return m_newRowId; }
    const QString& lastError() const { return m_lastError; }

    bool beginTransaction();
    bool commit();
    void rollback();

    // Schema inspection: (table, column) of every user table.
    std::vector<std::pair<QString, QString>> columns();
    bool hasTable(const QString& table);
    bool hasColumn(const QString& table, const QString& column);

    // Called after every successful statement run by execute(), with its text.
    void setStatementObserver(std::function<void(const QString&)> observer);

    QSqlDatabase handle() const;

    // The companion lock file of a database file (`Name.MDB` -> `Name.ldb`).
    static QString ldbPathFor(const QString& databasePath);
    // True when another connection (this process included) has the database open. Only
    // meaningful while this program's own connection to it is closed.
    static bool openedElsewhere(const QString& databasePath);

    // Converts a stored date-time value back; a NULL or unreadable value gives an invalid one.
    static QDateTime toDateTime(const QVariant& stored);
    static QVariant fromDateTime(const QDateTime& value);

private:
    void bindAll(QSqlQuery& query, const SqlParams& params) const;
    bool prepareAndRun(QSqlQuery& query, const QString& sql, const SqlParams& params);

    QString m_connectionName;
    QString m_filePath;
    QString m_lastError;
    qint64 m_newRowId = -1;
    FileLock m_ldbLock;
    std::function<void(const QString&)> m_observer;
};

// Groups many writes so that a crash leaves all of them or none. Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool isActive() const { return m_active; }
    bool commit();

private:
    Database& m_db;
    bool m_active = false;
};

// The standard messages of a failed write.
QString saveFailedMessage(const QString& table);
QString saveFailedMessage();
QString newRowNotFoundMessage();

} // namespace orvento::core
