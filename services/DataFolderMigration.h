#pragma once

#include "core/DataStore.h"
#include "core/SchemaUpgrade.h"
#include "core/ServerConnection.h"

#include <QString>

#include <functional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::services {

// Copies the rows of every table of `from` into the same table of `to`, with their IDs; what
// the target's tables held before (a template's rows) goes first. Both databases are of the
// same schema version. False with `problem` (the table and the engine's words); the target's
// unit of the failed table is rolled back.
bool copyAllTables(core::Database& from, core::Database& to, QString* problem = nullptr);

// Moves a data folder's databases into another store (a database server): the global database
// and every agenda, with their IDs. While it runs it holds the exclusive-operation lock and
// every database to itself, so no workstation starts or works meanwhile. Nothing of the source
// is changed; a failure removes what was made in the target.
class DataFolderMigration {
public:
    using Progress = std::function<void(const QString& line)>;

    struct Moved {
        core::StoredDatabase database;
        qint64 rows = 0;
    };

    DataFolderMigration(core::DataStore& source, core::DataStore& target, Progress progress);

    // Takes the locks and checks every database; false with `problem()` set.
    bool begin();
    // Copies every database; false with `problem()` set (what was made in the target is gone).
    bool copy();
    const std::vector<Moved>& moved() const { return m_moved; }
    const QString& problem() const { return m_problem; }
    // Removes the copies from the target again (the switch of the folder failed).
    void discard() { removeCopies(); }
    // Gives the locks back (also when the object goes).
    void end();

private:
    bool fail(const QString& problem);
    bool checkSource(const core::StoredDatabase& stored);
    bool copyOne(const core::StoredDatabase& stored);
    void removeCopies();

    core::DataStore& m_source;
    core::DataStore& m_target;
    Progress m_progress;
    core::HeldLock m_exclusive;
    std::vector<core::HeldLock> m_inUse;
    std::vector<core::StoredDatabase> m_databases; // the global database first
    std::vector<Moved> m_moved;
    std::vector<core::DatabaseId> m_made;
    QString m_problem;
};

// The name a database file of the data folder gets once its data are on the server.
QString movedAsideName(const QString& fileName);
// The stand-in global database the move leaves in the folder has the schema version
// core::kMovedToServerVersion.
using core::kMovedToServerVersion;

// The switch once everything is copied: the files of `moved` (labels are their names in the
// folder) renamed aside, the stand-in global database in their place, and, last, the folder's
// connection file. False with `problem`; the folder is then put back as it was.
bool switchFolderToServer(const QString& dataFolder, const QString& programFolder,
                          const std::vector<core::StoredDatabase>& moved,
                          const core::ServerConnection& server, QString* problem);

} // namespace orvento::services
