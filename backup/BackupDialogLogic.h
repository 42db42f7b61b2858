#pragma once

#include "backup/BackupChoices.h"
#include "backup/BackupListing.h"
#include "backup/BackupRestore.h"
#include "core/Navigator.h"

#include <QString>

#include <functional>
#include <vector>

namespace orvento::core {
class AppContext;
}

namespace orvento::backup {

// What "Obnova ze záložní kopie" shows for one archive.
struct RestoreOffer {
    QString activeFirm;
    QString archiveFirm;
    bool sharedDataInside = false; // "obnovit globální databázi" may be chosen
    bool templatesInside = false;  // "obnovit upravené tiskové formuláře" may be chosen
};

// How OK in "Obnova ze záložní kopie" ended.
enum class RestoreStep {
    NothingChosen, // the message was shown, the restore dialog stays
    Declined,      // No to the warning: back to the list, nothing changed
    Refused,       // the archive was refused or the restore stopped (told); back to the list
    Restored,      // data were put back: every dialog closes and the program ends
};

// The dialog "Zálohování" without its widgets: the backup page (the folder, the remembered
// choices, the backup itself) and the restore page (the list of archives, deleting one, the
// restore). The window shows what this says and hands every press to it.
class BackupDialogLogic {
public:
    BackupDialogLogic(core::AppContext& context, core::BackupPage page, BackupChoices choices);

    core::BackupPage page() const { return m_page; }
    QString firmName() const;

    // ---- the folder (both pages)
    bool standardFolder() const { return m_choices.standardFolder; }
    void setStandardFolder(bool on);
    QString folder() const;
    bool folderEditable() const { return !m_choices.standardFolder; }
    // The folder typed or chosen while the standard one is off (the restore list reloads).
    void setOwnFolder(const QString& folder);
    // The folder browser ("Složka pro zálohování:"); true when a folder was chosen.
    bool browseFolder();

    // ---- the backup page
    bool sharedData() const { return m_choices.sharedData; }
    void setSharedData(bool on) { m_choices.sharedData = on; }
    // OK: true when the dialog closes (made, or failed after its message).
    bool createBackup();
    bool busy() const { return m_busy; }

    // ---- the restore page
    void reloadList();
    const std::vector<BackupListRow>& rows() const { return m_rows; }
    bool okEnabled() const { return m_page == core::BackupPage::Create || !m_rows.empty(); }
    // "Smazat zálohu" on a row; true when it went.
    bool deleteRow(int row);
    RestoreOffer offerFor(int row) const;
    RestoreStep restore(int row, const RestoreChoice& choice);
    bool restored() const { return m_restored; }

    // What is remembered in the profile when the dialog closes.
    const BackupChoices& choices() const { return m_choices; }

private:
    core::AppContext& m_context;
    core::BackupPage m_page;
    BackupChoices m_choices;
    std::vector<BackupListRow> m_rows;
    bool m_busy = false;
    bool m_restored = false;
};

// The whole command from the menu: the session around the dialog, which `showDialog` shows
// modally on the logic. EndProgram after a restore.
core::BackupOutcome runBackupDialog(core::AppContext& context, core::BackupPage page,
                                    const std::function<void(BackupDialogLogic&)>& showDialog);

} // namespace orvento::backup
