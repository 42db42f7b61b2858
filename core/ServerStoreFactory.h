#pragma once

#include "core/DataStore.h"
#include "core/ServerConnection.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace orvento::core {

// Makes the store of a data folder whose databases are on a database server (the program
// folder holds the templates new databases are made from).
using ServerStoreFactory = std::function<std::unique_ptr<DataStore>(const ServerConnection& server,
                                                                    const QString& programFolder)>;

// The server store this build of the program has; empty when it has none, and a data folder
// that names a server is then refused with a message.
ServerStoreFactory builtInServerStoreFactory();

// Finds the password of the server's user; nothing when none is kept here (the server's own
// password file, ~/.pgpass or PGPASSFILE, may still give one).
using ServerPasswordLookup = std::function<std::optional<QString>(const ServerConnection& server)>;

// The password kept in the person's keyring under the server's label.
std::optional<QString> keyringPassword(const ServerConnection& server);
// Keeps a password in the person's keyring under the server's label; false when there is no
// keyring to keep it in.
bool keepInKeyring(const ServerConnection& server, const QString& password);

// How the stores of data folders are made: this build's server store and the keyring, unless a
// test gives its own.
struct StoreMakers {
    ServerStoreFactory server = builtInServerStoreFactory();
    ServerPasswordLookup password = keyringPassword;
};

} // namespace orvento::core
