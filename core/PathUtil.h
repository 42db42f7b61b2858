#pragma once

#include <QString>
#include <Qt>

namespace orvento::core {

// Folder paths are kept with '/' separators and a trailing '/', so that a file name can simply
// be appended.
QString withTrailingSlash(const QString& folder);

// Finds `name` (a file or a folder) in `folder` ignoring letter case (DEMO.MDB, Global.mdb,
// agenda names, RES), so that data folders copied from case-insensitive file systems keep
// working. Returns the full path of the existing entry, or folder + name when there is none.
QString resolveInFolder(const QString& folder, const QString& name);

// How this platform's file system compares names.
Qt::CaseSensitivity fileNameCase();

// Resolves a relative path ("Dokumenty/DEMO/OBRAZKY/") under `folder` one part at a time, each
// part ignoring letter case where an entry of that name exists, so that a folder is found under
// whatever spelling it was created and only a missing part takes the spelling given. A trailing
// '/' is kept.
QString resolvePathInFolder(const QString& folder, const QString& relative);

// The data folder's own subfolders, found whatever their letter case (a data folder copied from
// elsewhere may hold Lock/ or DOKUMENTY/), each with a trailing '/'.
QString lockFolderOf(const QString& dataFolder);
QString printFolderOf(const QString& dataFolder);
QString documentsFolderOf(const QString& dataFolder);

// True when a file of that name exists in the folder, compared without regard to case.
bool existsInFolder(const QString& folder, const QString& name);

} // namespace orvento::core
