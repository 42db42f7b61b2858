#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace orvento::output {

// The column types a report table knows; each has its own schema type and value form in the
// report data file.
enum class ColumnType {
    Text,     // cut to the column's size when stored
    Memo,     // text of any length
    SmallInt, // 16-bit
    Integer,  // 32-bit
    Word,     // unsigned 16-bit
    AutoInc,  // numbered by the table's owner; written like Integer
    LargeInt, // 64-bit, written as its 32-bit value
    Boolean,
    Double,
    Currency, // an amount kept to four decimals
    Date,
    Time,
    DateTime,
    Picture, // the encoded picture (PNG, BMP, JPEG...) as a QByteArray
};

struct ReportColumn {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0;    // characters of a Text column; 0 = no limit
    QString caption; // the display label; the name when empty

    QString label() const { return caption.isEmpty() ? name : caption; }
};

// A table handed to the report runner: its name (the element name of its rows), columns in order
// and rows in order. Values are held as QVariant: QString, integers, bool, double, QDate, QTime,
// QDateTime, QByteArray; an invalid QVariant is NULL. Copies are independent snapshots.
class ReportTable {
public:
    explicit ReportTable(QString name = QString());

    const QString& name() const { return m_name; }
    const std::vector<ReportColumn>& columns() const { return m_columns; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    // Declares the next column; returns the table for chaining declarations.
    ReportTable& column(const QString& name, ColumnType type, int size = 0,
                        const QString& caption = QString());
    // The column's position by its exact name, or -1.
    int columnIndex(const QString& name) const;

    // Appends a row of NULLs and returns its position.
    int appendRow();
    // Stores a value; a text longer than its Text column's size is cut to it. Unknown columns
    // are ignored, which would be a fault of the caller's table definition.
    void set(int row, const QString& column, const QVariant& value);
    void set(int row, int column, const QVariant& value);
    const QVariant& value(int row, int column) const;
    QVariant value(int row, const QString& column) const;

    void clearRows() { m_rows.clear(); }
    // Puts the rows in ascending order of a numeric column, keeping the order of equal values.
    void sortRowsBy(const QString& column);

private:
    QString m_name;
    std::vector<ReportColumn> m_columns;
    QHash<QString, int> m_index;
    std::vector<std::vector<QVariant>> m_rows;
};

} // namespace orvento::output
