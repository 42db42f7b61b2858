#pragma once

#include <QString>

#include <optional>

namespace orvento::core {

// The choice made in the data folder dialog.
struct DataFolderChoice {
    bool local = true;
    QString folder; // the proposed local folder, or the network folder as typed
};

// The steps of starting and closing that belong to other parts of the program (services,
// profiles, settings, the agenda list, notes). The start-up calls them at their place in its
// order; each default does nothing and lets the start-up go on.
class StartupHooks {
public:
    virtual ~StartupHooks() = default;

    // The data folder dialog; nothing when the person pressed "Storno".
    virtual std::optional<DataFolderChoice> chooseDataFolder(const QString& proposedLocal) = 0;
    // False, after its warning, while a backup or restore runs on another workstation.
    virtual bool checkNoExclusiveOperation() = 0;

    virtual bool checkGlobalSchema() { return true; }
    virtual bool login() { return true; }
    virtual void loadWindowPositions() {}
    virtual void setListDefaults() {}
    // The agenda list, when the last agenda is gone: true when the person opened an agenda.
    virtual bool openAgendaFromList() { return false; }
    // The agenda connection is open; `firstOpener` when no other workstation had it open.
    virtual void agendaConnected(bool firstOpener) { (void)firstOpener; }
    virtual bool checkAgendaSchema() { return true; }
    virtual void loadProfile() {}
    virtual bool loadSettings() { return true; }
    virtual void loadNotes() {}

    virtual void saveProfile() {}
    virtual void saveWindowPositions() {}
};

} // namespace orvento::core
