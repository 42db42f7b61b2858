#pragma once

#include "core/FileLock.h"
#include "core/ServerConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvento::core {

class SqlDialect;
class SqlDialectSession;

// Named statement parameters: the name without the leading colon, and its value (int, double,
// bool, QDateTime/QDate, QString, QByteArray; an invalid QVariant binds NULL).
using SqlParams = std::vector<std::pair<QString, QVariant>>;

// What kind of failure the last statement met, for callers that react differently to a database
// another workstation is writing to (busy), a rule the data broke (constraint), a full or
// unreadable disk, and a file whose content is no sound database (damaged: cut short, overwritten).
// A server connection that broke (the server restarted, the network was cut) is lost.
enum class FailureKind { None, Busy, Constraint, Disk, Damaged, Other, ConnectionLost };

// One connection to one database file. Every statement is run with its values bound, never
// pasted into the text. What the engine needs besides (its pragmas, functions, busy waiting and
// the sign to other workstations that the database is in use) the connection's dialect sets up.
class Database {
public:
    // The connection speaks the embedded engine's dialect unless given another.
    explicit Database(QString connectionName);
    Database(QString connectionName, const SqlDialect& dialect);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file (which must exist) with the busy time-out, the journal mode and the Czech
    // collation. False with lastError() when the file cannot be opened or is not a database.
    bool open(const QString& filePath);
    // Opens a connection to a database on a server (the dialect's driver) whose tables are those
    // of `schema`. False with lastError() when the server cannot be reached or refuses.
    //
    // A server connection that broke still looks open. The next unit of work, and the next read
    // outside one, opens it again on the same server and schema and goes on; a unit that was
    // running when it broke fails whole, and a write outside a unit is never repeated. When it
    // cannot be opened again the statement fails as ConnectionLost with the server and the
    // reason in lastError().
    bool openOnServer(const ServerConnection& server, const QString& schema);
    // What the opener does again on a connection opened anew (the sign that the database is in
    // use, say); false refuses the new connection with lastError() saying why.
    void setReopenStep(std::function<bool(Database&)> step);
    void close();
    bool isOpen() const;
    const QString& filePath() const { return m_filePath; }
    // The schema a server connection works in; empty for a file.
    const QString& schema() const { return m_schema; }
    const QString& connectionName() const { return m_connectionName; }

    // Runs a statement that returns no rows. On success newRowId() holds the ID of the row an
    // INSERT into a table with an ID column created (the statement answers it itself, see
    // insertRow). The statement is prepared once per connection and reused by later calls with
    // the same text.
    bool execute(const QString& sql, const SqlParams& params = {});
    // Runs an INSERT into a table with an ID column and gives the new row's ID, which the
    // statement answers itself (the dialect's RETURNING clause), so no second query can read
    // another row's ID. Nothing on failure.
    std::optional<qint64> insertRow(const QString& sql, const SqlParams& params = {});
    // Runs a query; the result is positioned before its first row and is inactive on failure.
    QSqlQuery select(const QString& sql, const SqlParams& params = {});
    // A window of a query's rows: at most `limit` rows from row `offset` (0-based) on, read in
    // one step. The query needs an ORDER BY that makes the order unique for the windows to meet
    // without gaps. Nothing on failure.
    std::optional<std::vector<QSqlRecord>> selectWindow(const QString& sql, const SqlParams& params,
                                                        qint64 offset, int limit);
    // The first column of the first row, or nothing when there is no row or the query fails.
    std::optional<QVariant> scalar(const QString& sql, const SqlParams& params = {});
    // Runs schema statements (CREATE TABLE, ALTER TABLE ... ADD COLUMN, CREATE INDEX, PRAGMA).
    bool executeDdl(const QString& sql);

    qint64 newRowId() const { return m_newRowId; }
    // How many rows the last successful execute() changed.
    int rowsAffected() const { return m_rowsAffected; }
    const QString& lastError() const { return m_lastError; }
    FailureKind lastFailureKind() const { return m_lastFailureKind; }
    // The kind of failure of the last statement the program ran on any connection: the messages
    // of a failed save are built from it, after the unit of work that failed.
    static FailureKind lastFailureKindInProgram();
    // For a lost server connection, what the person is told (the server and the reason).
    static QString lostConnectionTextInProgram();
    // How long a statement waits by default for another workstation's write lock.
    static constexpr int kBusyTimeoutMs = 8000;
    // How long a statement waits for another workstation's write lock before it fails as busy.
    void setBusyTimeout(int milliseconds);

    // Transactions nest: the outermost begin starts the unit of work, inner ones are savepoints.
    // An inner scope that rolls back dooms the whole unit, whose commit then fails and rolls
    // everything back, so a save made of several helpers is written whole or not at all. Prefer
    // the Transaction scope below to calling these directly.
    bool beginTransaction();
    bool commit();
    void rollback();
    int transactionDepth() const { return m_depth; }
    // True while a unit of work is open on any connection of the program. Nothing may wait for
    // the person then (a question, a message, a dialog): the unit holds the write lock, and
    // every other workstation's save would wait for the answer and fail. Tests enforce it.
    static bool anyUnitOpen();

    // Schema inspection: (table, column) of every user table.
    std::vector<std::pair<QString, QString>> columns();
    bool hasTable(const QString& table);
    QStringList tableNames();
    bool hasColumn(const QString& table, const QString& column);

    // Told the name of every table that a successful INSERT, UPDATE, DELETE or REPLACE wrote:
    // right after the statement outside a transaction, or once per table after the unit of work
    // committed (never when it rolled back), so that other workstations learn of a change only
    // when its data can be read.
    void setWriteObserver(std::function<void(const QString& table)> observer);
    // The table a writing statement writes to, from its text; nothing for other statements.
    static std::optional<QString> tableWrittenBy(const QString& sql);

    QSqlDatabase handle() const;
    const SqlDialect& dialect() const { return *m_dialect; }

    // The companion lock file of a database file (`Name.MDB` -> `Name.ldb`).
    static QString ldbPathFor(const QString& databasePath);
    // True when another connection (this process included) has the database open. Only
    // meaningful while this program's own connection to it is closed.
    static bool openedElsewhere(const QString& databasePath);

    // Converts a stored date-time value back; a NULL or unreadable value gives an invalid one.
    static QDateTime toDateTime(const QVariant& stored);
    static QVariant fromDateTime(const QDateTime& value);

private:
    friend class Statement;
    friend class StatementSavepoint;

    void bindAll(QSqlQuery& query, const SqlParams& params) const;
    // A prepared Statement belongs to the connection it was prepared on: it never opens another.
    bool checkOpen(bool mayReopen = true);
    void fail(const QSqlError& error);
    void setFailureKind(FailureKind kind);
    void failWith(const QString& text);
    QSqlQuery& cachedQuery(const QString& sql, bool* prepared);
    // Runs the kept statement `kept` (prepared once, see cachedQuery) with `params` bound; fault
    // plans know it as `sql`. The query to read, or nothing after a failure (lastError()).
    QSqlQuery* runKept(const QString& kept, const QString& sql, const SqlParams& params);
    void wrote(const QString& table);
    // True when the INSERT into `table` answers the new row's ID (the table has an ID column).
    bool answersNewId(const QString& sql, const QString& table);
    QString withReturningId(const QString& sql) const;
    // Reads the IDs a RETURNING statement answered; false when a row failed on the way.
    bool readNewIds(QSqlQuery& query, qint64* newRowId);
    bool runControl(const QString& sql);
    // Sets up a connection the driver has just opened, and checks it reaches a database.
    bool finishOpening();
    // The outermost unit has ended (committed, rolled back or the connection closed).
    void endUnit();
    // Closes the connection but keeps where it leads, for opening it again.
    void closeConnection();
    // A server connection known broken, or whose last statement found it broken, outside a
    // unit of work: opened anew. False (ConnectionLost) when it cannot be.
    bool reopenIfBroken();
    bool reopen();
    // The last statement found the server connection broken, outside a unit of work.
    bool lostOutsideUnit() const;
    QSqlQuery selectOnce(const QString& sql, const SqlParams& params);
    std::optional<std::vector<QSqlRecord>>
    selectWindowOnce(const QString& sql, const SqlParams& params, qint64 offset, int limit);

    QString m_connectionName;
    QString m_filePath;
    QString m_schema;
    QString m_lastError;
    FailureKind m_lastFailureKind = FailureKind::None;
    qint64 m_newRowId = -1;
    int m_rowsAffected = 0;
    std::function<void(const QString&)> m_writeObserver;
    // Prepared statements of execute() and selectWindow(), by their text.
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_cache;
    std::unique_ptr<QSqlQuery> m_scratch; // a statement that failed to prepare, for its error
    int m_depth = 0;
    bool m_doomed = false;
    std::set<QString> m_writtenInUnit;
    const SqlDialect* m_dialect;
    int m_busyTimeoutMs = kBusyTimeoutMs;
    std::unique_ptr<SqlDialectSession> m_session;
    std::optional<ServerConnection> m_server; // while a server connection is open
    std::function<bool(Database&)> m_reopenStep;
    bool m_broken = false;
    bool m_reopening = false;
    // Whether an INSERT answers a new ID (its table has an ID column), by the statement text.
    std::unordered_map<QString, bool> m_tablesWithId;
};

// A statement prepared once and run many times with new values, for loops over many rows. Lives
// while its connection stays open; writes are reported to the write observer like execute().
class Statement {
public:
    Statement(Database& db, QString sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds the values and runs the statement; a query is positioned before its first row.
    bool exec(const SqlParams& params = {});
    bool next() { return m_query.next(); }
    QVariant value(int column) const { return m_query.value(column); }
    QVariant value(const QString& column) const { return m_query.value(column); }
    QSqlRecord record() const { return m_query.record(); }
    // Ends the reading of a query's rows early, so that the statement holds no lock.
    void finish() { m_query.finish(); }
    qint64 newRowId() const { return m_newRowId; }
    const QString& lastError() const { return m_db.lastError(); }

private:
    Database& m_db;
    QString m_sql;
    std::optional<QString> m_table;
    QSqlQuery m_query;
    bool m_prepared = false;
    bool m_returning = false;
    qint64 m_newRowId = -1;
};

// One unit of work (or a savepoint inside one): a crash leaves all of its writes or none. Rolls
// back unless committed.
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

// The standard messages of a failed write. When the last statement failed because another
// workstation kept the database busy past the time-out, each says so and asks to try again.
QString saveFailedMessage(const QString& table);
QString saveFailedMessage();
QString busyMessage();
// `usual`, or the busy message when the last statement failed as busy: for the few saves that
// word their failure in their own way.
QString writeFailureText(const QString& usual);
// A read that failed, in the same way: the busy case asks to try again later, any other says the
// data could not be read (the driver's own text stays in lastError(), for no one at the screen).
QString readFailedMessage();
// A server connection that broke and could not be opened again, or that broke during a unit of
// work (which then wrote nothing).
QString connectionNotRestoredMessage(const QString& server, const QString& reason);
QString connectionBrokeMessage(const QString& server);
QString newRowNotFoundMessage();

} // namespace orvento::core
