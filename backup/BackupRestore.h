#pragma once

#include "core/DataStore.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::backup {

// What a restore puts back.
struct RestoreChoice {
    bool agenda = true;     // the open agenda's database, whatever its name in the archive
    bool global = false;    // the global database
    bool templates = false; // the print templates
    bool any() const { return agenda || global || templates; }
};

// Restores from one archive while the program holds the exclusive operation. Every chosen part
// is extracted into a private folder on the data's file system and checked there by the store
// (its kind, its integrity, a schema version this program opens); only when all have passed does
// the store put each in place, so a refused archive leaves every live file as it was. Entries are
// read only under bare names, so nothing from an archive lands outside that folder.
class BackupRestore {
public:
    BackupRestore(core::DataStore& store, core::UserInteraction& ui);

    // True when something was put in place (the program must then end). `agenda` is the open
    // agenda, `printFolder` where the templates go.
    bool restore(const QString& archivePath, const RestoreChoice& choice,
                 const core::DatabaseId& agenda, const QString& printFolder);

private:
    core::DataStore& m_store;
    core::UserInteraction& m_ui;
};

} // namespace orvento::backup
