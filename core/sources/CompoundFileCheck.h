#pragma once

#include <QByteArray>

namespace orvento::core::sources {

// Whether the directory of a compound file (the container of an Excel 97 workbook) can be handed
// to FreeXL. FreeXL trusts the length of every directory entry's name and reads that many bytes
// from a buffer of the most a name may have, so a damaged or hostile file makes it read far past
// the buffer. False when the header, the chain of directory sectors or any entry's name is not
// as a compound file has them; the file is then refused as damaged.
bool compoundDirectoryIsSound(const QByteArray& file);

} // namespace orvento::core::sources
