#pragma once

#include "core/Navigator.h"
#include "output/ReportData.h"
#include "output/ReportTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace orvento::output::xml_export {

// What the export dialog is opened for; the numbers are those of the commands that open it.
enum class Kind { Offers = core::XmlExportOffers, Addresses = core::XmlExportFirms };

// Writes the XML export file of offers or addresses: a fixed element structure whose value
// elements are named after the columns of the print tables, one element a line, lines ended by
// CR LF, in Windows-1250 as its declaration says. Unrelated to the report data file.
class XmlExportWriter {
public:
    // Writes the opening lines with the date and time of the export.
    XmlExportWriter(Kind kind, const QDateTime& at);

    // One offer's block from its print tables: the header, the printed items and the
    // identifier breakdown, the two lists only when they have rows.
    void addOffer(const OfferReport& offer);
    // One block per row of the address list table.
    void addAddresses(const ReportTable& addresses);

    // The closing lines; the whole file as its bytes.
    QByteArray finish();

private:
    void line(int indent, QStringView text);
    void valueLines(const ReportTable& table, int row, int indent, bool offerHeader);
    // A list element with one element per row, left out when the table has no rows.
    void rowList(const ReportTable& table, const QString& list, const QString& row);

    Kind m_kind;
    QByteArray m_bytes;
};

// A value as its element holds it, not yet escaped: booleans "True"/"False", integers in
// decimal, doubles in the general decimal form, dates "YYYY-MM-DD", all empty when NULL; texts
// as they are.
QString formatValue(const QVariant& value, ColumnType type);
// "&", "<" and ">" as entities; characters XML does not allow (control characters, unpaired
// surrogates) as blanks; line breaks of any kind as CR LF, as the file's own lines end; quotes
// stay.
QString escape(const QString& text);
// Appends the text in Windows-1250; a character the code page lacks as "&#N;".
void appendEncoded(QByteArray& out, QStringView text);
// A date of the offer header ("dd.MM.yyyy", as the print tables hold it) as "YYYY-MM-DD";
// empty when empty or not a date.
QString headerDate(const QString& text);

// Writes the bytes to the file through a save file: an old file is replaced only by a complete
// new one. False with the system's error text when it cannot be written.
bool saveFile(const QString& path, const QByteArray& bytes, QString& error);

} // namespace orvento::output::xml_export
