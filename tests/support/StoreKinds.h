#pragma once

// The kinds of data store the store tests run over, by name, so that the test helper (another
// workstation) opens the same kind as the test that started it. A new engine adds its line here
// and every parameterised store test runs over it too.
#include "PostgresCluster.h"
#include "core/DataStore.h"
#include "core/PostgresStore.h"
#include "core/SqliteFolderStore.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace orvento::testsupport {

inline QStringList storeKinds() {
    return {QStringLiteral("SqliteFolder"), QStringLiteral("Postgres")};
}

// A store of `kind` over the data at `location` (for the folder store: the data folder), with
// the program's templates in `programFolder`. Nothing for an unknown kind.
inline std::unique_ptr<core::DataStore> makeStore(const QString& kind, const QString& location,
                                                  const QString& programFolder) {
    if (kind == QLatin1String("SqliteFolder"))
        return std::make_unique<core::SqliteFolderStore>(location, programFolder);
    // The server's database of the data folder (its name from the folder), on the test server
    // that the environment names, so that the test helper finds the same one.
    if (kind == QLatin1String("Postgres")) {
        const core::ServerConnection server = postgresTestConnection(location);
        return programFolder.isEmpty()
                   ? std::make_unique<core::PostgresStore>(server)
                   : std::make_unique<core::PostgresStore>(server, programFolder);
    }
    return nullptr;
}

// Makes an empty place for a store of `kind` to keep its data, as the program's start-up does.
inline bool prepareLocation(const QString& kind, const QString& location) {
    if (kind == QLatin1String("SqliteFolder"))
        return QDir().mkpath(location) && QDir().mkpath(location + QStringLiteral("/LOCK"));
    if (kind == QLatin1String("Postgres")) {
        PostgresCluster* const cluster = PostgresCluster::instance(nullptr);
        return cluster && QDir().mkpath(location) &&
               cluster->createDatabase(postgresDatabaseFor(location), nullptr);
    }
    return false;
}

// Why the stores of `kind` cannot be tested here (the server does not start, say); nothing when
// they can. A test skips with the reason, never silently.
inline std::optional<QString> storeKindUnavailable(const QString& kind) {
    QString why;
    if (kind == QLatin1String("Postgres") && PostgresCluster::instance(&why) == nullptr)
        return why;
    return std::nullopt;
}

} // namespace orvento::testsupport
