#pragma once

#include "core/ServerStoreFactory.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace orvento::services {

// What `orvento --migrate-to-postgresql <connection> [--data <folder>]` was asked to do.
struct MigrationRequest {
    QString connection; // libpq's keyword/value string or a postgresql:// URI
    QString dataFolder; // --data, else Tovaro.ini's
};

bool asksForMigration(const QStringList& arguments);
std::optional<MigrationRequest> parseMigrationRequest(const QStringList& arguments, QString& error);
QString migrationUsage();

// Moves a data folder's databases to a database server, from the command line: the start-up's
// steps up to the login (ORVENTO_PASSWORD), the right to redirect the data folder, then the copy
// of every database under the exclusive-operation lock and the switch of the folder. Progress
// and the summary go to `out`, messages to `err`. Exit 0 when the folder is on the server, 1
// otherwise (the folder then stays as it was).
class CommandLineMigration {
public:
    CommandLineMigration(MigrationRequest request, QTextStream& out, QTextStream& err);

    // Tests give their own server store.
    void setStoreMakers(core::StoreMakers makers) { m_makers = std::move(makers); }
    int run(const QString& programFolder);
    // The process was told to end: before the switch nothing is changed.
    void interrupt() { m_interrupted = true; }

private:
    MigrationRequest m_request;
    QTextStream& m_out;
    QTextStream& m_err;
    core::StoreMakers m_makers;
    bool m_interrupted = false;
};

} // namespace orvento::services
