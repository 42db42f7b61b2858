#pragma once

#include <QString>

namespace orvento::backup {

// The remembered choices of the backup dialog (profile values 23 to 25).
struct BackupChoices {
    QString ownFolder;          // "Uživatelská složka pro zálohy"
    bool standardFolder = true; // "Záloha do standardní složky"
    bool sharedData = false;    // "Záloha společných dat"

    // Read from the profile while the agenda is open.
    static BackupChoices load();
    // False when a value could not be written.
    bool save() const;
    // The folder the choices point at: the standard one (made when missing) or the user's own.
    QString folder() const;
};

// The program's standard folder for archives, made when it does not exist yet.
QString standardBackupFolder();

} // namespace orvento::backup
