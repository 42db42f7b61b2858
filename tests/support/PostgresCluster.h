#pragma once

// A throw-away PostgreSQL server for the tests and the benchmarks of the server store: made with
// initdb in a temporary folder the first time a program asks for it, reached only through a Unix
// socket in that folder (no TCP, so programs running side by side never meet), with a template
// database that already has the store's bookkeeping, and stopped when the program ends.
#include "core/ServerConnection.h"

#include <QCryptographicHash>
#include <QString>

#include <memory>

namespace orvento::testsupport {

// How the test helper, started by a test as another workstation, finds the test's server.
inline constexpr auto kPostgresSocketVariable = "ORVENTO_TEST_PGHOST";
inline constexpr auto kPostgresTestUser = "postgres";

// The database that stands for a test's data folder: the same name in the test and its helper.
inline QString postgresDatabaseFor(const QString& location) {
    return QStringLiteral("t_") +
           QString::fromLatin1(QCryptographicHash::hash(location.toUtf8(), QCryptographicHash::Md5)
                                   .toHex()
                                   .left(24));
}

// The connection to the test database of `location` on the server named by the environment.
inline core::ServerConnection postgresTestConnection(const QString& location) {
    core::ServerConnection server;
    server.host = qEnvironmentVariable(kPostgresSocketVariable);
    server.database = postgresDatabaseFor(location);
    server.user = QString::fromLatin1(kPostgresTestUser);
    server.sslMode = QStringLiteral("disable");
    return server;
}

class PostgresCluster {
public:
    // The server of this test program, started at the first call; nothing when it cannot start,
    // with the reason in `why` (no server programs, no driver, initdb or the start failed).
    static PostgresCluster* instance(QString* why);

    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // A new empty database `name` made from the template. False with the server's words.
    bool createDatabase(const QString& name, QString* error);
    // Runs a statement as the server's superuser (making databases, ending others' connections).
    bool runAsAdmin(const QString& sql, QString* error = nullptr);
    QString socketFolder() const;
    void stop();
    // A restart in two steps, for the program's view of a server that goes away and comes back
    // while it runs: the server stopped as an administrator stops it, then started again on
    // the same data. False with the server programs' words.
    bool shutDown(QString* why = nullptr);
    bool startAgain(QString* why = nullptr);

private:
    struct Private;
    PostgresCluster();
    bool start(QString* why);
    QString initialisedCluster(QString* why) const;

    std::unique_ptr<Private> d;
};

} // namespace orvento::testsupport
