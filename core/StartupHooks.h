#pragma once

#include <QString>

#include <optional>

namespace orvento::core {

// The choice made in the data folder dialog.
struct DataFolderChoice {
    bool local = true;
    QString folder; // the proposed local folder, or the network folder as typed
};

class AppContext;

// The steps of starting and closing that belong to other parts of the program (services,
// profiles, settings, notes). The start-up calls them at their place in its order, with the
// context of the run; each default does nothing and lets the start-up go on.
class StartupHooks {
public:
    virtual ~StartupHooks() = default;

    // False, after its warning, while a backup or restore runs on another workstation.
    virtual bool checkNoExclusiveOperation(AppContext& context) = 0;

    virtual bool checkGlobalSchema(AppContext&) { return true; }
    virtual bool login(AppContext&) { return true; }
    virtual void loadWindowPositions(AppContext&) {}
    virtual void setListDefaults(AppContext&) {}
    // The agenda connection is open; `firstOpener` when no other workstation had it open.
    virtual void agendaConnected(AppContext&, bool firstOpener) { (void)firstOpener; }
    virtual bool checkAgendaSchema(AppContext&) { return true; }
    virtual void loadProfile(AppContext&) {}
    virtual bool loadSettings(AppContext&) { return true; }
    virtual void loadNotes(AppContext&) {}

    virtual void saveProfile(AppContext&) {}
    virtual void saveWindowPositions(AppContext&) {}
};

} // namespace orvento::core
