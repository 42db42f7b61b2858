#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orvento::core {

class Database;
class SqlDialect;

// Column types in the terms the program thinks in; how each is stored is decided in one place
// (columnSql).
enum class ColumnType { Counter, Integer, Double, Bit, DateTime, Text, Memo, Binary };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0; // the longest text the program's fields accept; 0 = not limited
};

struct IndexDef {
    QString name;
    QStringList columns;
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;

    const ColumnDef* column(const QString& columnName) const;
};

enum class DatabaseKind { Global, Agenda };

// Every table of the global database and of an agenda database, as the current program version
// knows them.
const std::vector<TableDef>& schemaOf(DatabaseKind kind);
const TableDef* findTable(DatabaseKind kind, const QString& table);

// The schema version (`Verze.VerID`) the current program writes and expects.
int currentSchemaVersion(DatabaseKind kind);
// The mark each file carries so that a foreign file is never taken for one of ours.
int applicationIdOf(DatabaseKind kind);

// The statements in the embedded engine's words, or in those of `dialect`.
QString columnSql(const ColumnDef& column);
QString columnSql(const ColumnDef& column, const SqlDialect& dialect);
QString createTableSql(const TableDef& table);
QString createTableSql(const TableDef& table, const SqlDialect& dialect);
QString createIndexSql(const TableDef& table, const IndexDef& index);
QString createIndexSql(const TableDef& table, const IndexDef& index, const SqlDialect& dialect);
QString addColumnSql(const QString& table, const ColumnDef& column);
QString addColumnSql(const QString& table, const ColumnDef& column, const SqlDialect& dialect);

// Builds a complete empty database of that kind in an open, empty file: every table and index,
// `Verze` with its one row, `KonfigTab` with its one row, and the file marks. Runs in one
// transaction, so a failure leaves no half-built file behind.
bool createSchema(Database& db, DatabaseKind kind);

// Reads the file mark of an open database; nothing when it cannot be read.
std::optional<int> applicationIdOfOpen(Database& db);
// Why a database file could not be used.
enum class OpenProblem {
    None,
    Damaged,   // cut short, overwritten: its content is no sound database
    WrongKind, // a sound database, but not one of ours of that kind
    Refused,   // its server answered and will not open it; the reason says why, naming the server
    Other,     // anything else the database layer reports (access, a lock held too long)
};
// Opens a database file and makes sure it is one of ours of that kind; otherwise the connection
// stays closed, `reason` gives the database layer's words and `problem` the kind of failure.
bool openAsKind(Database& db, const QString& path, DatabaseKind kind, QString* reason,
                OpenProblem* problem = nullptr);
// The problem behind the last failure on a connection.
OpenProblem problemOf(const Database& db);
// The message about a database that cannot be used: which one (the global database, or the
// agenda's database with its name), its file, why, and the database layer's own words.
QString unusableDatabaseMessage(DatabaseKind kind, const QString& agenda, const QString& path,
                                OpenProblem problem, const QString& reason);
// Writes the schema version into `Verze` and mirrors it into the file header.
bool writeSchemaVersion(Database& db, int version);

} // namespace orvento::core
