#pragma once

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::addressbook {

// Fills `Mista` from a UTF-8 text of "name,zipcode" lines under a header line, in one unit of
// work. False with the reason in `error` when the file cannot be read or a line is not a place
// and a five-digit code.
bool loadPostCodes(core::Database& global, const QString& csvPath, QString* error);

} // namespace orvento::addressbook
