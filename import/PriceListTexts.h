#pragma once

#include "import/RunTexts.h"

#include <QString>

// The protocol lines and questions of a price-list run; the lines all runs share come from
// RunTexts.h.
namespace orvento::import::pricelisttext {

using runtext::added;
using runtext::emptyReference;
using runtext::emptySource;
using runtext::fieldReadFailed;
using runtext::interrupted;
using runtext::mayTakeLong;
using runtext::missingColumn;
using runtext::openFailed;
using runtext::opening;
using runtext::pleaseWait;
using runtext::readFailed;
using runtext::referenceUnknown;
using runtext::saveFailed;
using runtext::sourceFile;
using runtext::sourceFileMissing;
using runtext::sourceKind;
using runtext::sourceKindCaption;
using runtext::sourceRows;
using runtext::startAddingAll;
using runtext::startComparing;
using runtext::tableFailed;
using runtext::tableFailedHint;
using runtext::total;
using runtext::updated;

inline QString title() {
    return QStringLiteral("Import ceníku");
}
inline QString newItemsPlaceGone() {
    return QStringLiteral("!CHYBA - list nebo skupina pro zařazení nových položek již neexistuje - "
                          "opravte definici importu");
}
inline QString filterSheetGone() {
    return QStringLiteral("!CHYBA - list, ve kterém má program hledat referenční položku (filtr) "
                          "již neexistuje - opravte definici importu");
}
inline QString filterGroupGone() {
    return QStringLiteral("!CHYBA - skupina, ve které má program hledat referenční položku (filtr) "
                          "již neexistuje - opravte definici importu");
}
inline QString catalogueReadFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při čtení ceníku: ") + reason;
}
inline QString filterSheet(const QString& sheet) {
    return QStringLiteral("• filtr: zapnutý, hledat ref. pol. - pouze v listu \"") + sheet +
           QLatin1Char('"');
}
inline QString filterGroup(const QString& group) {
    constexpr int kIndent = 47;
    return QString(kIndent, QLatin1Char(' ')) + QStringLiteral("- pouze ve skupině \"") + group +
           QLatin1Char('"');
}
inline QString filterOff() {
    return QStringLiteral("  - filtr: vypnutý (hledat ref. pol. ve všech listech)");
}
inline QString phaseOne() {
    return QStringLiteral("• I. fáze - import dat ze zdrojového souboru");
}
inline QString phaseTwo() {
    return QStringLiteral(
        "• II. fáze - přepočet cen importovaných záznamů... [počkejte prosím na dokončení]");
}
inline QString notANumber(int row, const QString& value) {
    return QStringLiteral("zdroj. řádek č. %1 - hodnota \"%2\" není číslo").arg(row).arg(value);
}
inline QString stopImportQuestion() {
    return QStringLiteral("Opravdu chcete přerušit import ? Varování: dosud "
                          "naimportované/aktualizované záznamy budou odstraněny z ceníku!");
}
inline QString stopRecomputeQuestion() {
    return QStringLiteral("Opravdu chcete přerušit přepočet ? Varování: nepřepočtené záznamy "
                          "nebude možné použít!");
}
inline QString catalogueHeading() {
    return QStringLiteral("• ceník:");
}

} // namespace orvento::import::pricelisttext
