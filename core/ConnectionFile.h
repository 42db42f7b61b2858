#pragma once

#include "core/ServerConnection.h"

#include <QString>

#include <optional>

namespace orvento::core {

// The connection file of a data folder (kConnectionFileName): when it is there, the folder's
// databases are on the database server it names, for every workstation that uses the folder.
// It holds where the server is and who logs in, never a password.
bool hasConnectionFile(const QString& dataFolder);
// The path of the folder's connection file (whatever the letter case of an existing one).
QString connectionFilePath(const QString& dataFolder);

// Reads the folder's connection file. Nothing when it cannot be used; `problem` then says in
// Czech which file and what is wrong with it. The password stays empty.
std::optional<ServerConnection> readConnectionFile(const QString& dataFolder, QString* problem);
// Writes the connection file whole (a reader never sees half of it), without the password.
// False with `problem` set.
bool writeConnectionFile(const QString& dataFolder, const ServerConnection& server,
                         QString* problem);

// The checks a connection file and a connection string share: one of libpq's sslmode values,
// and a port from 1 to 65535.
bool isKnownSslMode(const QString& mode);
std::optional<int> portFrom(const QString& text);

} // namespace orvento::core
