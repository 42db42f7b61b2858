#pragma once

#include "core/DataStore.h"
#include "core/ServerStoreFactory.h"
#include "core/StartupHooks.h"

#include <QString>

#include <optional>
#include <utility>

namespace orvento::core {

class AppContext;
class UserInteraction;
class Database;

// Starting and closing the program: the configuration file, the data folder and its folders, the
// template databases, the connections and the opening of an agenda. Every failure is reported
// once and makes the caller end the program; nothing is written to Tovaro.ini before closing.
class StartUp {
public:
    StartUp(AppContext& context, StartupHooks& hooks);

    // Sets the program folder and the folders derived from it. Call once before run().
    static void initProgramFolders(const QString& programFolder);
    // Where the local data folder is proposed.
    static QString proposedLocalDataFolder();

    // False when the program is to end: a failure has been reported once, or the agenda list
    // ended the program (with the closing steps already run when it asked for them).
    bool run();
    // After run() returned false: the program was asked to close and has run its closing steps
    // (the maintenance tool was started from the agenda list), rather than failed.
    bool closedOnRequest() const { return m_closedOnRequest; }
    // Opens an agenda (at start-up and from the agenda list). The wait window stays up.
    bool openAgenda(const QString& agenda);
    // The closing steps: Tovaro.ini, profile, window positions, the backup counter.
    void close();

    // Pieces of run(), callable on their own.
    void readConfiguration();
    // A data folder given from outside (the command line) in place of the one Tovaro.ini names.
    void useDataFolder(const QString& folder);
    bool settleDataFolder();
    // Makes the program's store for the settled data folder: its SQLite files, or the database
    // server its connection file names. False after the message (a connection file that cannot
    // be used, a build without server support).
    bool chooseStore();
    bool connectGlobal();
    // Makes a new database from one of the program's templates (whole or not at all); reports a
    // missing template or a failed copy.
    bool createDatabase(const DatabaseId& target, DatabaseTemplate from, bool showWait);
    // Puts the demo agenda's shared documents (the program folder's Res/DEMO/) into the data
    // folder's Dokumenty/DEMO/, leaving files that are already there alone. A document that
    // cannot be copied only leaves its link pointing nowhere, which the offer reports when used.
    void copyDemoDocuments();
    // Writes Tovaro.ini (the data folder, the last agenda), as the closing steps do; also for
    // an end without the other closing steps (after a restore).
    bool writeConfiguration();

    // How the stores are made: this build's server store unless a test gives its own.
    void setStoreMakers(StoreMakers makers) { m_storeMakers = std::move(makers); }

private:
    bool chooseDataFolder();
    // The global database made from its template where the store has none yet. On a server
    // whose creation failed the connection that follows tells why.
    bool createGlobal();
    bool makeDatabase(const DatabaseId& target, DatabaseTemplate from, bool showWait,
                      DataStore::CreateProblem& problem);
    void reportCreateProblem(const DatabaseId& target, DatabaseTemplate from,
                             DataStore::CreateProblem problem);
    bool createFolder(const QString& path);

    bool openAgendaFromList();
    // The data folder settled and its global database connected and checked.
    bool connectUsableGlobal();

    AppContext& m_context;
    UserInteraction& m_ui;
    StartupHooks& m_hooks;
    QString m_dataPath; // as read from Tovaro.ini, trimmed, with the trailing separator
    bool m_closedOnRequest = false;
    bool m_globalUnusable = false; // the last connectGlobal() met a damaged or foreign file
    StoreMakers m_storeMakers;
    std::optional<ServerConnection> m_server; // the data folder's server, when it has one
};

// The agenda of sample data that comes with the program.
QString demoAgendaName();
// Messages the start-up shows, where other parts need the same text.
QString noAgendaChosenMessage();
QString cannotCreateFolderMessage(const QString& path);
// Follows the message about an unusable global database, before the data folder dialog.
QString chooseAnotherDataFolderHint();
// The backup counter goes into the first row of the global configuration, where the start-up
// reads it. False when it could not be kept: a failed statement, or no row to keep it in.
bool storeBackupCounter(Database& global, int counter);

} // namespace orvento::core
