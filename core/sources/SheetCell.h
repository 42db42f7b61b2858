#pragma once

#include "core/sources/ImportSource.h"

#include <QString>
#include <QStringView>

#include <optional>

// What the workbook formats share about one cell: where it stands and what it holds. The
// readers and a spreadsheet writer name cells and turn the stored values into cells here, so
// that one workbook reads the same whatever format it was saved in.
namespace orvento::core::sources::sheetcell {

// The largest sheet a workbook program makes; a cell beyond it marks a damaged file.
inline constexpr int maxRows = 1048576;
inline constexpr int maxColumns = 16384;

struct Position {
    int row = 0;    // from 0
    int column = 0; // from 0
};

// "C5" -> row 4, column 2; "$C$5" is read too. Nothing for a malformed or out-of-range name.
std::optional<Position> parsePosition(QStringView reference);
// The letters of a column from 0: 0 -> "A", 27 -> "AB".
QString columnLetters(int column);
QString positionName(Position position);

// A number written by a workbook program: always with a point, maybe with an exponent.
std::optional<double> parseStoredNumber(QStringView text);

// An xlsx cell from its type attribute ("s", "str", "inlineStr", "b", "e", "n", "d" or none)
// and the text of its value; for type "s" the caller passes the shared string itself. Error
// values and empty values are empty cells; a malformed number is nothing.
std::optional<Cell> xlsxValue(QStringView type, const QString& value);

// An OpenDocument cell from office:value-type and the attributes and text that belong to it.
struct OdsAttributes {
    QString valueType;    // office:value-type
    QString value;        // office:value (float, percentage, currency)
    QString booleanValue; // office:boolean-value
    QString dateValue;    // office:date-value
    QString timeValue;    // office:time-value
    QString stringValue;  // office:string-value, which some writers use instead of a paragraph
};
std::optional<Cell> odsValue(const OdsAttributes& attributes, const QString& text);

// The title of a column from its first-row cell; an empty one is named as the column's place
// ("F1", "F2", ...), as the database engines name untitled sheet columns.
QString columnTitle(const Cell& cell, int column);

} // namespace orvento::core::sources::sheetcell
