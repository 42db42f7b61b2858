#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace orvento::output {

struct PriceListTables;

// The print window's spreadsheet export of a price list: the template filled with its tables
// into the given file; nothing without tables.
std::function<QString(const QString& templatePath, const QString& exportFile)>
priceListExporter(std::shared_ptr<const PriceListTables> tables);

// A new empty file beside `file` (same folder, so that it can be renamed over it), or nothing
// when the folder takes no file.
std::optional<QString> temporaryBeside(const QString& file);
// Puts `from` in the place of `to` in one step, replacing an existing `to`; false when the
// system refuses (a folder of that name, a file held open by another program).
bool replaceFile(const QString& from, const QString& to);

} // namespace orvento::output
