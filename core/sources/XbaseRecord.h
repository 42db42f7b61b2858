#pragma once

#include "core/sources/ImportSource.h"
#include "core/sources/XbaseLayout.h"
#include "core/sources/XbaseMemo.h"

#include <QStringDecoder>

#include <memory>
#include <vector>

namespace orvento::core::sources {

// Turns the records of one table into rows: numbers (N, F, I, B of Visual FoxPro, Y) into number
// cells; texts and memos, decoded in the table's code page with trailing spaces trimmed, into
// text cells; dates, date-times and logicals into texts; empty values into empty cells.
class XbaseRecordReader {
public:
    // `memo` may be null for a table without memo columns.
    XbaseRecordReader(XbaseLayout layout, const QByteArray& encoding,
                      std::unique_ptr<XbaseMemoFile> memo);

    // The names of the columns offered, in the table's order (or in the order selected).
    QStringList columns();
    // Offers only the named columns (found ignoring letter case and blanks around the name), in
    // the order of `names`, so a reader that needs few of many columns decodes no others. False,
    // with a Czech message naming the first missing column, when one is not in the table.
    bool selectColumns(const QStringList& names, QString& error);
    // The offered columns of a record of the layout's length; false, with a Czech message, when
    // a memo cannot be read.
    bool decode(QByteArrayView record, Row& row, QString& error);

private:
    Cell fieldCell(const XbaseField& field, QByteArrayView bytes, QString& error);
    Cell memoCell(const XbaseField& field, QByteArrayView bytes, QString& error);
    Cell text(QByteArrayView bytes);

    XbaseLayout m_layout;
    std::vector<std::size_t> m_offered; // the fields decoded, by their place in the layout
    QStringDecoder m_decoder;
    std::unique_ptr<XbaseMemoFile> m_memo;
};

} // namespace orvento::core::sources
