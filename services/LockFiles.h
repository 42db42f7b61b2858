#pragma once

#include <QString>

namespace orvento::services {

// The error shown when a lock (a record's, the program's) cannot be created at `path`: "Nelze
// vytvořit pomocný soubor <path>".
QString lockCreateFailedMessage(const QString& path);

} // namespace orvento::services
