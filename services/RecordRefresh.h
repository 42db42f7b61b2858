#pragma once

#include <QString>

namespace orvento::services {

// A list reloaded before a card opens or a record is deleted no longer holds the record.
inline QString recordGoneMessage() {
    return QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný záznam byl pravděpodobně "
                          "smazán jiným uživatelem.");
}

} // namespace orvento::services
