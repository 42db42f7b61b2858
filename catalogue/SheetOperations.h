#pragma once

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// A new sheet after the last tab, together with its basic group: both or neither. The new
// sheet's ID, or nothing after the failure's message.
std::optional<qint64> createSheet(core::Database& db, core::UserInteraction& ui,
                                  const QString& name);
bool renameSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId,
                 const QString& name);

// Moves a sheet one tab towards the first (-1) or the last (+1): the sheets are numbered 1..n in
// their order and the sheet trades places with its neighbour, all in one unit of work. False
// when it is already at that end or the sheet is gone, and after the message when the order
// could not be written.
bool moveSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId, int direction);

// Deletes a sheet with its groups and items after the confirmation. The only sheet is kept; a
// sheet, group or item that another workstation edits refuses the whole delete before anything
// is deleted. True when the sheet was deleted.
bool deleteSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId);

} // namespace orvento::catalogue
