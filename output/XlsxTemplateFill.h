#pragma once

#include <QString>

namespace orvento::output {

struct PriceListTables;

// Fills a spreadsheet template (.xlsx) with the price list into `target`, which is written
// whole (the caller gives a temporary file and renames it). The template's package is copied
// and only its worksheets change: a row whose cells name a table and a column ("{{Zasoby.Popis}}"
// and the like) is repeated per sheet (`Sklady`), group (`Skupiny`) or item (`Zasoby`); rows
// naming nothing or only the header (`Hlavicka`) stay where they are. Cell references, merges and
// the dimension are renumbered, values are written as numbers or inline strings with the
// template cell's style, and the calculation chain is dropped. The error text, empty when the
// file was written.
QString fillXlsxTemplate(const QString& templatePath, const QString& target,
                         const PriceListTables& tables);

} // namespace orvento::output
