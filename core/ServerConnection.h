#pragma once

#include <QString>

namespace orvento::core {

// The name of the file in a data folder that moves the folder's databases to a database server.
// Without it the data folder keeps its databases as files, as every workstation expects.
inline constexpr auto kConnectionFileName = "OrventoDB.ini";

// Where a data folder's databases are kept on a database server: what the connection file says,
// and the password found for it at run time (from the person's keyring or the server's password
// file), which is never written to the file.
struct ServerConnection {
    static constexpr int kDefaultPort = 5432;

    QString host; // a name, an address, or the folder of the server's Unix socket
    int port = kDefaultPort;
    QString database;
    QString user;
    QString sslMode = QStringLiteral("prefer");
    QString password; // empty when the server needs none (or the password file gives it)

    // How messages name the server ("server.firma.cz:5432/orvento").
    QString label() const { return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database); }
};

} // namespace orvento::core
