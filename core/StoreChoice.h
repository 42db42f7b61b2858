#pragma once

#include "core/DataStore.h"
#include "core/ServerConnection.h"
#include "core/ServerStoreFactory.h"

#include <QString>

#include <memory>
#include <optional>

namespace orvento::core {

// What keeps a data folder's databases: the SQLite files in the folder, or, when the folder has
// a connection file, the database server it names.
struct StoreChoice {
    std::unique_ptr<DataStore> store;       // nothing when the folder cannot be used
    std::optional<ServerConnection> server; // the server the connection file names
    QString problem;                        // why there is no store, for the person
};

// The store of a data folder given from outside (the maintenance tool, the agenda list).
StoreChoice storeOfDataFolder(const QString& dataFolder, const QString& programFolder,
                              const StoreMakers& makers = {});
// The store of the program's own data folder (programState().folders); its file store follows
// the program's folders, as it always has.
StoreChoice programStoreChoice(const StoreMakers& makers = {});

// The message about a data folder whose server cannot be reached; `reason` is the store's.
QString serverUnreachableMessage(const ServerConnection& server, const QString& reason);

} // namespace orvento::core
