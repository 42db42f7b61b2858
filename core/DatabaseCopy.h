#pragma once

#include "core/Schema.h"

#include <QString>

namespace orvento::core {

class Database;

// Copies every table of the open database `source` (a database of `kind`) into the open database
// `target`, which has none of them yet, whatever engine either of them runs on: each table made in
// the target's own words with the columns the source has (an older database keeps its layout
// and is upgraded at its next opening), its rows with their IDs, its indexes, and then the
// target's marks of kind and schema version. It runs in one unit of work on the target, so the
// target gets all of it or nothing; a caller that needs a consistent copy reads the source inside
// one snapshot. False with the reason in `error`.
bool copyDatabase(Database& source, Database& target, DatabaseKind kind, QString* error);

} // namespace orvento::core
