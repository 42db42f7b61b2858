#pragma once

#include <QString>

#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// Links of firms and offers to files in their own shared document folder: this mark followed by
// a bare file name. The mark is compared ignoring letter case.
QString sharedFolderMark();
bool isSharedLink(const QString& file);
QString sharedLink(const QString& fileName);
// The full path a link names; a shared link is resolved in `sharedFolder` (with trailing '/').
// A shared link that names no bare file (empty, ".", "..", with a separator) gives an empty path.
QString expandLink(const QString& file, const QString& sharedFolder);

// Copies the file `link` names into `sharedFolder` and turns `link` into a shared one. Whatever
// stops the copy is reported and leaves the link as it was. The file is written under a
// temporary name and renamed over the target only once complete, so an existing file survives a
// failed copy; source and target are compared as the file system resolves them, so a file is
// never copied onto itself.
bool copyIntoSharedFolder(QString& link, const QString& sharedFolder, core::UserInteraction& ui);

// A stored document row whose file is to be copied into the shared folder: its `ID` and its link
// in memory.
struct PendingCopy {
    qint64 rowId;
    QString* link;
};

// After the save that stored the rows, outside any unit of work (the copy may ask whether to
// overwrite a file, reports what stops it and may take its time): copies each file into
// `sharedFolder`, then writes the copied files' new links into `Soubor` of `table` (a name of the
// program's own, never input) in one unit. When that unit fails it is reported after the
// rollback, the links in memory go back to what the rows still hold and the copies it made where
// no file was before are removed again, so nothing is left in the shared folder that no row links
// to; false then, and the files are still to be copied.
bool copyLinkedFiles(core::Database& db, const QString& table,
                     const std::vector<PendingCopy>& copies, const QString& sharedFolder,
                     core::UserInteraction& ui);

// The check of a typed link before it is stored: not empty; a missing file refused when it is to
// be copied, otherwise stored only after the person agrees. `path` is the link resolved.
bool acceptDocumentLink(const QString& link, const QString& path, bool copy,
                        core::UserInteraction& ui);

} // namespace orvento::services
