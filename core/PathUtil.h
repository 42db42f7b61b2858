#pragma once

#include <QString>

namespace orvento::core {

// Folder paths are kept with '/' separators and a trailing '/', so that a file name can simply
// be appended.
QString withTrailingSlash(const QString& folder);

// Finds `name` (a file or a folder) in `folder` ignoring letter case (DEMO.MDB, Global.mdb,
// agenda names, RES), so that data folders copied from case-insensitive file systems keep
// working. Returns the full path of the existing entry, or folder + name when there is none.
QString resolveInFolder(const QString& folder, const QString& name);

// True when a file of that name exists in the folder, compared without regard to case.
bool existsInFolder(const QString& folder, const QString& name);

} // namespace orvento::core
