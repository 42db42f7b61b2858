#pragma once

// The kinds of data store the store tests run over, by name, so that the test helper (another
// workstation) opens the same kind as the test that started it. A new engine adds its line here
// and every parameterised store test runs over it too.
#include "core/DataStore.h"
#include "core/SqliteFolderStore.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <memory>

namespace orvento::testsupport {

inline QStringList storeKinds() {
    return {QStringLiteral("SqliteFolder")};
}

// A store of `kind` over the data at `location` (for the folder store: the data folder), with
// the program's templates in `programFolder`. Nothing for an unknown kind.
inline std::unique_ptr<core::DataStore> makeStore(const QString& kind, const QString& location,
                                                  const QString& programFolder) {
    if (kind == QLatin1String("SqliteFolder"))
        return std::make_unique<core::SqliteFolderStore>(location, programFolder);
    return nullptr;
}

// Makes an empty place for a store of `kind` to keep its data, as the program's start-up does.
inline bool prepareLocation(const QString& kind, const QString& location) {
    if (kind == QLatin1String("SqliteFolder"))
        return QDir().mkpath(location) && QDir().mkpath(location + QStringLiteral("/LOCK"));
    return false;
}

} // namespace orvento::testsupport
