#pragma once

#include "core/Schema.h"

#include <QString>

namespace orvento::core {

// Writes a fresh database file of the given kind at `path` (replacing any file there), with the
// demo agenda's sample data when `demo` is set. The file appears under its name only when it is
// complete. False with a reason in `error`.
bool buildDatabaseFile(const QString& path, DatabaseKind kind, bool demo, QString* error);

// Fills an empty agenda with the sample firm "DEMO - fiktivní firma".
bool fillDemoAgenda(Database& db);

} // namespace orvento::core
