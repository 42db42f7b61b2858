#pragma once

#include "core/CatalogueRows.h"

#include <QString>

namespace orvento::core {

class Database;
class UserInteraction;

// Creates the basic group of a sheet. False (after the standard message) when it fails.
bool createBasicGroup(Database& db, qint64 sheetId, UserInteraction& ui);

// An agenda always has at least one sheet: an empty catalogue gets "List 1" with its basic group.
// Failures are reported and do not stop the opening of the agenda.
void ensureFirstSheet(Database& db, UserInteraction& ui);

} // namespace orvento::core
