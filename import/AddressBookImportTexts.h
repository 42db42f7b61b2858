#pragma once

#include "import/RunTexts.h"

#include <QString>

// The protocol lines and the question of an address-book run; the lines all runs share come from
// RunTexts.h.
namespace orvento::import::addressbooktext {

using runtext::added;
using runtext::emptyReference;
using runtext::emptySource;
using runtext::interrupted;
using runtext::mayTakeLong;
using runtext::missingColumn;
using runtext::readFailed;
using runtext::referenceUnknown;
using runtext::saveFailed;
using runtext::sourceRows;
using runtext::startAddingAll;
using runtext::startComparing;
using runtext::total;
using runtext::updated;

inline QString title() {
    return QStringLiteral("Import adresáře");
}
inline QString priceLevelGone() {
    return QStringLiteral("!CHYBA - cenová hladina pro nastavení na adresy již neexistuje - "
                          "opravte definici importu");
}
inline QString addressBookReadFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při čtení adresáře: ") + reason;
}
inline QString stopQuestion() {
    return QStringLiteral("Opravdu chcete přerušit import ?");
}
inline QString addressBookHeading() {
    return QStringLiteral("• adresář:");
}

} // namespace orvento::import::addressbooktext
