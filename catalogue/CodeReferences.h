#pragma once

#include "core/Database.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::catalogue {

// Level and group codes are matched ignoring letter case, in every alphabet, while the engine's
// own case folding knows only ASCII. So a statement that selects rows by a code runs once for
// each spelling of the code that the column actually holds.

// The distinct stored values of `table`.`column` equal to `code` ignoring letter case. Table and
// column names come from the program, never from input.
std::optional<QStringList> storedSpellings(core::Database& db, const QString& table,
                                           const QString& column, const QString& code);

// Runs `sql`, which selects its rows with `column = :Code` (plus any `params`), once for each
// stored spelling of `code`. False when a statement fails.
bool runForEachSpelling(core::Database& db, const QString& table, const QString& column,
                        const QString& code, const QString& sql, core::SqlParams params = {});

} // namespace orvento::catalogue
