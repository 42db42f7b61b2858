#pragma once

#include "output/ReportTable.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace orvento::output {

// Writes report tables as a DataSet XML file: an inline schema with captions, unique keys and
// relations, followed by the rows. The report runner reads it, and so can any XML parser.
class DataSetWriter {
public:
    static constexpr int kMaxTables = 255;

    explicit DataSetWriter(QString dataSetName);

    // Keeps a snapshot of the table as it is now; later changes to it do not reach the file.
    // False when the writer already holds its maximum of tables.
    bool addTable(const ReportTable& table);
    // Shares a table that does not change any more (a price list's 100,000 items) instead of
    // copying it.
    bool addTable(std::shared_ptr<const ReportTable> table);
    // Ties the detail table's column to the master table's column. The master pair gets a
    // unique key unless it has one already ("C0", "C1", ... by the keys made before).
    void addRelation(const QString& name, const QString& masterTable, const QString& masterColumn,
                     const QString& detailTable, const QString& detailColumn);

    // The whole file as text, lines ended by CR LF.
    QString text() const;
    // Writes the file as UTF-8 block by block, replacing an existing one only once the new one
    // is complete. False with lastError() when it cannot be written.
    bool saveToFile(const QString& path);
    const QString& lastError() const { return m_lastError; }

private:
    bool write(const std::function<bool(QString&)>& flush) const;

    struct UniqueKey {
        QString name;
        QString table;
        QString column;
    };
    struct Relation {
        QString name;
        QString key;
        QString table;
        QString column;
    };

    QString m_name;
    std::vector<std::shared_ptr<const ReportTable>> m_tables;
    std::vector<UniqueKey> m_keys;
    std::vector<Relation> m_relations;
    QString m_lastError;
};

// The pieces of the file format, shared with the reader and the tests.
namespace dataset {

QString schemaType(ColumnType type);
// Whether quotes and apostrophes are written as entities too.
enum class Quotes { Escaped, Kept };
// Escapes the five XML special characters (with `Quotes::Kept` only "&", "<" and ">"); every
// character XML 1.0 does not allow becomes a space; line breaks become CR LF.
QString escape(const QString& text, Quotes quotes = Quotes::Escaped);
// A number in the general decimal form: at most 15 significant digits, '.' as separator,
// scientific ("1.5E-7") below 0.0001 and from 10^15 on.
QString formatNumber(double value);
// A value as its row element holds it; a NULL gives the type's empty value.
QString formatValue(const QVariant& value, ColumnType type);

} // namespace dataset

} // namespace orvento::output
