#pragma once

// The engine a benchmark runs on. `--store SqliteFolder` (the default) keeps the agenda in a file
// of a temporary data folder, `--store Postgres` on a throw-away PostgreSQL server reached over
// its Unix socket, and `--store all` runs the benchmark once per engine and sets their figures
// side by side. Either way the agenda is made and opened through the program's store, so the
// code measured runs as the program runs it.

#include "core/Database.h"

#include <QString>
#include <QTemporaryDir>

namespace orvento::bench {

inline constexpr auto kSqliteStore = "SqliteFolder";
inline constexpr auto kPostgresStore = "Postgres";
inline constexpr auto kEveryStore = "all";

// The exit code of a run on the server when the server cannot start: not a failure of the
// benchmark, which then has its SQLite figures only.
inline constexpr int kServerUnavailable = 77;

// Takes `--store <kind>` out of the arguments, so that the benchmark's own arguments keep their
// places. The default store when there is none; an empty text for an option without its kind.
QString takeStoreOption(int& argc, char** argv);

// Runs this benchmark (`argv` with the option taken out) once on each engine, one after the
// other, and prints the figures of both beside their target. The benchmark's exit code.
int runOnEveryStore(int argc, char** argv);

// The agenda `agenda` made empty through the store of `kind` over the data folder `folder`, and
// opened as the program's agenda; nullptr after saying why. `serverMissing` is set when the
// server cannot start at all.
core::Database* openStoreAgenda(const QString& kind, const QTemporaryDir& folder,
                                const QString& agenda, bool* serverMissing);

// Whether the benchmark runs on the server, where some figures have targets of their own.
bool benchOnServer();
// `embedded` on the SQLite file, `server` on the server.
inline double targetFor(double embedded, double server) {
    return benchOnServer() ? server : embedded;
}

// After the rows a benchmark generated at once, the server's planner statistics and visibility
// map as its autovacuum brings them up to date within a minute on a live server (a person opens a
// catalogue that has stood there for longer); nothing on the SQLite file. False after saying why.
bool settleServerStatistics(core::Database& db);

// What a benchmark's main does first: the engine chosen, the runs on every engine when asked for,
// and otherwise the agenda open. Gives the exit code to end with right away in `exitCode` (and
// nullptr), or the open agenda.
core::Database* prepareBenchStore(int& argc, char** argv, const QTemporaryDir& folder,
                                  const QString& agenda, int* exitCode);

} // namespace orvento::bench
