#pragma once

#include "core/Schema.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <optional>

class QSqlError;
class QSqlQuery;

namespace orvento::core {

class Database;
enum class FailureKind;

// What a dialect keeps for one open connection (the engine's waiting state, say); it goes when the
// connection closes.
class SqlDialectSession {
public:
    virtual ~SqlDialectSession() = default;
};

// What the statements and the connection set-up need to say differently for each database
// engine. The data layer asks its connection's dialect; the statements of the program stay the
// same for every engine.
class SqlDialect {
public:
    using Session = SqlDialectSession;

    virtual ~SqlDialect() = default;

    // The Qt driver and its options for a connection that waits `busyTimeoutMs` for a lock.
    virtual QString driverName() const = 0;
    virtual QString connectOptions(int busyTimeoutMs) const = 0;
    // A statement that fails when the connection does not reach a sound database.
    virtual QString probeStatement() const = 0;
    // Sets up a connection just opened (collations, functions, the way it waits for locks, the
    // journal); `busyTimeoutMs` stays readable as long as the connection lives.
    virtual std::unique_ptr<Session> setUp(Database& db, const int& busyTimeoutMs) const = 0;

    // The start of a unit of work that takes the write lock at once.
    virtual QString beginUnit() const = 0;
    // What a unit takes right after it began, where the engine's BEGIN takes no write lock of its
    // own; false (the connection's error set) when it cannot be had within `busyTimeoutMs`.
    virtual bool afterBegin(Database& db, int busyTimeoutMs) const;
    // Appended to an INSERT so that it answers the new row's ID as its one row.
    virtual QString returningId() const = 0;
    // Whether the engine keeps the ID of the row an INSERT made, for free, beside the statement;
    // where it does not, the INSERT answers it itself (returningId()). Reading a result for every
    // row would cost bulk writes dearly, so the free one is taken where there is one.
    virtual bool keepsLastInsertedId() const = 0;
    // That ID, right after the INSERT ran; nothing where the engine keeps none.
    virtual std::optional<qint64> lastInsertedId(const QSqlQuery& insert) const = 0;
    // The kind of a failure, from the engine's error.
    virtual FailureKind failureKindOf(const QSqlError& error) const = 0;

    // How a column of that type is declared (after its name).
    virtual QString columnTypeSql(ColumnType type) const = 0;
    // Makes the ID counter of a table whose rows were copied with their IDs continue after the
    // highest of them, where the engine does not do so by itself.
    virtual bool reseatCounter(Database& db, const QString& table) const;

    // `expression` (a floating-point value) rounded to `decimals` places in SQL.
    virtual QString roundedSql(const QString& expression, int decimals) const;

    // The name under which the engine keeps a table written unquoted in a statement (the
    // driver looks its columns up by that name).
    virtual QString storedName(const QString& table) const;

    // The names of the tables and of the indexes of the open database.
    virtual QString tableNamesQuery() const = 0;
    virtual QString indexNamesQuery() const = 0;

    // The marks a database file of ours carries: its kind and its schema version.
    virtual bool writeKindMark(Database& db, DatabaseKind kind) const = 0;
    virtual std::optional<int> readKindMark(Database& db) const = 0;
    virtual int kindMarkOf(DatabaseKind kind) const = 0;
    virtual bool writeVersionMark(Database& db, int version) const = 0;

    // The statements of the maintenance of one database.
    virtual QString integrityCheck() const = 0;
    virtual QString rebuildIndexes() const = 0;
    virtual QString compact() const = 0;

    // Many rows in one statement: a row source (for a FROM clause) of the rows given as a JSON
    // array in the parameter `parameter`, each row an object of `table`'s columns under their
    // stored names. Empty where one prepared statement per row is as fast, as with an engine
    // that runs in the program.
    virtual QString rowSetSql(const QString& table, const QString& parameter) const;
    // Whether the engine's indexes end in the row's ID by themselves. Where they do not, the
    // indexes are given it, so that a list sorted by an indexed column with the ID breaking ties
    // is read from the index alone.
    virtual bool indexesEndInRowId() const;
    // What follows a table's definition: how the engine is to keep its rows.
    virtual QString tableOptionsSql() const;
};

// The dialect of the embedded engine, the one every connection uses unless told otherwise.
const SqlDialect& sqliteDialect();
// The dialect of a database server (PostgreSQL through Qt's QPSQL driver).
const SqlDialect& postgresDialect();

} // namespace orvento::core
