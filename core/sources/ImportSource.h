#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace orvento::core::sources {

// One cell of an outside table: empty, a text or a number, as the file holds it.
class Cell {
public:
    enum class Kind { Empty, Text, Number };

    Cell() = default;
    static Cell text(QString value);
    static Cell number(double value);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }

    // The cell as text. A number is written without an exponent and a whole one without
    // decimals, so a bar code kept as a number reads back as 8594001234567.
    QString toText() const;
    // The cell as a number. A text is read with a decimal comma or point, with spaces (also
    // no-break ones) between the thousands ("1 234,5"); nothing when it is no number. An empty
    // cell is nothing too.
    std::optional<double> toNumber() const;

private:
    Kind m_kind = Kind::Empty;
    QString m_text;
    double m_number = 0;
};

using Row = std::vector<Cell>;

// One table of a source, read forward once.
class SourceTable {
public:
    virtual ~SourceTable() = default;
    // The column names in source order (the header line of a text file or a sheet).
    virtual QStringList columns() const = 0;
    // The number of data rows, known before the first row is read.
    virtual qint64 rowCount() const = 0;
    // The next row, with exactly columns().size() cells. False at the end, or on a read error,
    // which error() then tells in Czech.
    virtual bool next(Row& row) = 0;
    virtual QString error() const = 0;
};

// A file from outside the program, opened read-only: an Access database, a workbook, a dBase
// table or a text file. Every reader rejects damaged or hostile input with a Czech message and
// never crashes.
class ImportSource {
public:
    virtual ~ImportSource() = default;
    // The tables (Access), sheets (workbooks) or the one name of a single-table file.
    virtual QStringList tables() const = 0;
    // The table with its first line as the column names. A single-table source accepts any name.
    // Nothing, with `error` set, when it cannot be read.
    virtual std::unique_ptr<SourceTable> openTable(const QString& name, QString& error) = 0;
    // The cells of a table as they stand, its first line included, for callers that decide
    // themselves whether the first line holds titles.
    virtual std::optional<std::vector<Row>> rawGrid(const QString& name, QString& error);
    // The table shown first when the file is opened: a workbook's active sheet where the file
    // records one, else the first table.
    virtual QString activeTable() const;
};

// The kinds a definition names ("MDB", "XLS", "DBF", "CSV"). Kind XLS covers .xls, .xlsx and
// .ods, told apart by the file's content.
enum class SourceKind { Mdb, Xls, Dbf, Csv };

std::optional<SourceKind> sourceKindFromCode(const QString& code); // any letter case
QString sourceKindCode(SourceKind kind);

// Opens a file of the kind; nothing, with a Czech message in `error`, when it cannot be opened.
std::unique_ptr<ImportSource> openSource(SourceKind kind, const QString& path, QString& error);
// Text copied from a spreadsheet (tab-separated lines) as a single-table source.
std::unique_ptr<ImportSource> openClipboardText(const QString& text);

} // namespace orvento::core::sources
