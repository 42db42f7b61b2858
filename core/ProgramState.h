#pragma once

#include "core/AgendaSettings.h"
#include "core/CurrentUser.h"
#include "core/DataStore.h"
#include "core/Database.h"

#include <QString>

#include <array>
#include <memory>

namespace orvento::core {

// The program's folders, all with '/' separators and a trailing '/'.
struct ProgramFolders {
    QString program; // where the executable and its templates are
    QString data;    // the shared data folder
    QString print;   // data + PRINT/
    QString lock;    // data + LOCK/
    QString work;    // the private work folder in the temporary folder
    QString backup;  // the standard folder for backup archives
    QString iniFile; // Tovaro.ini

    // Sets the data folder and the folders that live in it.
    void setData(const QString& dataFolder);
};

// The three connections: the global database, the open agenda and a spare one that lists and
// imports open on other files.
struct Connections {
    Connections() = default;
    // Connections that speak `dialect`, the one of the program's store.
    explicit Connections(const SqlDialect& dialect);

    Database global{QStringLiteral("orvento-global")};
    Database agenda{QStringLiteral("orvento-agenda")};
    Database spare{QStringLiteral("orvento-spare")};
};

// The store of the program's own data folder: the SQLite files the program's folders name.
std::unique_ptr<DataStore> makeProgramStore();
// Makes `store` the program's store. The program's connections are closed and made anew when
// they speak another engine than the store.
void useProgramStore(std::unique_ptr<DataStore> store);

// Everything that is loaded once per run or per opened agenda and read everywhere. There is
// exactly one, reached through programState().
struct ProgramState {
    ProgramFolders folders;
    QString agenda = QStringLiteral("DEMO"); // file name of the open agenda, without ".MDB"
    QString agendaName;                      // the firm's name shown in the status bar
    bool runPrgFirst = true;
    bool runPrgSetup = true;
    bool builderMode = false;
    CurrentUser user;
    AgendaSettings settings; // the open agenda's settings, logo and profile options
    int backupCounter = 1;
    bool showPurchasePrices = true; // the Ctrl+Q switch
    bool cancelRequested = false;   // set by the wait window's cancel link
    bool suppressStamps = false;
    // The post code list's last current row and sort column, kept for the run only.
    qint64 postCodeListId = 1;
    QString postCodeSortField = QStringLiteral("PSC");
    // The folder a document link was last chosen from, where the next file dialog starts.
    QString lastDocumentFolder;
    std::array<double, 3> lastStamps{};
    std::unique_ptr<Connections> db = std::make_unique<Connections>();
    // Where the data are kept; the program's context hands it on (AppContext::store()).
    std::unique_ptr<DataStore> store = makeProgramStore();

    // Purchase prices, margins and profit are shown only when the switch is on and the user has
    // the right to see them.
    bool purchasePricesVisible() const { return showPurchasePrices && user.nakupniCeny; }
    QString agendaFilePath() const;
    // The open agenda as the store names it.
    DatabaseId agendaId() const { return DatabaseId::agendaNamed(agenda); }
    // The shared document folders of the open agenda: Dokumenty/<agenda>/, a firm's
    // Dokumenty/<agenda>/<ID>/ and an offer's Dokumenty/<agenda>/Nabidky/<ID>/ (whatever the
    // letter case of the existing ones); not created here.
    QString agendaDocumentsFolder() const;
    QString firmDocumentsFolder(qint64 firmId) const;
    QString offerDocumentsFolder(qint64 offerId) const;
};

ProgramState& programState();
// Puts the state back to how a fresh program starts; for tests that run several start-ups.
void resetProgramState();

} // namespace orvento::core
