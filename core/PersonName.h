#pragma once

#include <QString>

namespace orvento::core {

// A contact person as offers and the address book show it: the title before the name, the
// surname, the first name and the title after it, each trimmed, joined by single blanks, empty
// parts left out ("Ing. Novák Jan Ph.D.").
QString contactPersonName(const QString& titleBefore, const QString& surname,
                          const QString& firstName, const QString& titleAfter);

} // namespace orvento::core
