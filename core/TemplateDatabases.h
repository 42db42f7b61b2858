#pragma once

#include "core/Schema.h"

#include <QString>

#include <functional>

namespace orvento::core {

// Fills a freshly built database further (the demo agenda's price list comes from the catalogue,
// which the core cannot reach).
using DatabaseFiller = std::function<bool(Database&)>;

// Writes a fresh database file of the given kind at `path` (replacing any file there), with the
// demo agenda's sample data when `demo` is set, and then what `fill` adds. The file appears under
// its name only when it is complete. False with a reason in `error`.
bool buildDatabaseFile(const QString& path, DatabaseKind kind, bool demo, QString* error,
                       const DatabaseFiller& fill = {});

// Fills an empty agenda with the sample firm "DEMO - fiktivní firma".
bool fillDemoAgenda(Database& db);

} // namespace orvento::core
