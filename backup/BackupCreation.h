#pragma once

#include <QString>

namespace orvento::core {
class DataStore;
class UserInteraction;
} // namespace orvento::core

namespace orvento::backup {

// What a backup packs and where to.
struct BackupRequest {
    QString folder;
    bool sharedData = false; // the global database and the print templates too
};

// How a backup ended: made; failed or interrupted (told); or not begun because something the
// person can put right came first (a missing folder, No to overwriting) and the dialog stays.
enum class BackupResult { Made, Failed, NotBegun };

// Creates one archive of the open agenda (and optionally the shared data) while the program
// holds the exclusive operation: the file name, the consistent copies of the databases made by
// the store, the templates, `info.ini` in memory, the packing with its wait window and
// "<zrušit>", and every message. The backup counter goes up by one in memory.
class BackupCreation {
public:
    BackupCreation(core::DataStore& store, core::UserInteraction& ui);

    BackupResult create(const BackupRequest& request);
    // The archive written (or meant) by the last create().
    const QString& archivePath() const { return m_path; }

private:
    core::DataStore& m_store;
    core::UserInteraction& m_ui;
    QString m_path;
};

// The print folder's templates an archive carries: `.frx`, `.xls`, `.xlsx` in any letter case,
// none whose name begins with "_".
bool isPackedTemplate(const QString& fileName);

} // namespace orvento::backup
