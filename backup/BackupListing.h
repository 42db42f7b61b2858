#pragma once

#include <QString>

#include <vector>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::backup {

// One archive of the restore list, as its `info.ini` describes it.
struct BackupListRow {
    QString soubor;     // the file name, upper case
    QString souborPlny; // the full path
    QString agendaName;
    QString vytvoril;
    QString datumCas;
    QString agendaFile;
    bool global = false;
    bool frm = false;
    QString verze;
    int idZal = 0;
};

// The archives (`*.zbf`, any letter case) of a folder that this program can restore, highest
// backup counter first; empty for a folder that does not exist. Archives that are no zip, lack
// `info.ini` or come from another program are left out. Shows its wait window.
std::vector<BackupListRow> listBackups(const QString& folder, core::UserInteraction& ui);

// "Smazat zálohu": asks, deletes the file; false when it was not deleted (No, or it remains).
bool deleteBackup(const BackupListRow& row, core::UserInteraction& ui);

} // namespace orvento::backup
