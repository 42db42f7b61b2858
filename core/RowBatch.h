#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <span>
#include <vector>

namespace orvento::core {

class Database;

// How many rows one statement carries to a server: big enough that the round trips no longer
// count, small enough that a slice of bulk work still ends within its lock budget.
inline constexpr std::size_t kRowsPerBatch = 500;

// The values of one row, in the order of the writer's columns.
using RowValues = std::vector<QVariant>;

// Rows of one table written together. A server is sent kRowsPerBatch rows to a statement: there
// every statement is a round trip, which is what bulk work spends its time on. The embedded
// engine, which runs in the program, is given prepared statements of one row (an update) or a
// few (an insert), which are as fast there and bind every value as a single write does. Either
// way the rows are written whole or the call fails (inside the caller's unit of work), and only
// the program's own table and column names reach the statement texts.
class RowBatchWriter {
public:
    enum class Mode {
        Insert,
        UpdateById, // the first column is `ID`; the rows are found by it
    };

    RowBatchWriter(Database& db, QString table, QStringList columns, Mode mode);
    ~RowBatchWriter();
    RowBatchWriter(const RowBatchWriter&) = delete;
    RowBatchWriter& operator=(const RowBatchWriter&) = delete;

    // Writes the rows, any number of them; false with the connection's error.
    bool write(std::span<const RowValues> rows);
    // How many rows the last write inserted or found by their ID: fewer than it was given when
    // another workstation deleted some meanwhile.
    int rowsWritten() const { return m_written; }

    // The rows as the JSON array a server's row source reads: each an object of the columns
    // under `keys`, NULL for an unset value, texts as they are stored. Public for its test.
    static QByteArray jsonRows(std::span<const RowValues> rows, const QStringList& keys);

private:
    bool writeOneByOne(std::span<const RowValues> rows);
    bool writeAsRowSets(std::span<const RowValues> rows);
    std::size_t insertRowsPerStatement() const;
    QString placeholder(std::size_t row, qsizetype column) const;
    QString oneByOneSql(std::size_t rowCount);
    QString manyRowsSql(const QString& rowSet) const;

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    Mode m_mode;
    QString m_rowSet;
    QStringList m_keys;
    std::map<std::size_t, QString> m_oneByOne; // statement texts by their row count
    int m_written = 0;
};

} // namespace orvento::core
