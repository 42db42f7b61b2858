#pragma once

#include "core/sources/ImportSource.h"

#include <QString>

// The protocol lines and questions of a price-list run.
namespace orvento::import::pricelisttext {

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
inline QString sourceKind(const QString& caption) {
    return QStringLiteral("• zdroj dat: ") + caption;
}
inline QString sourceFile(const QString& file) {
    return QStringLiteral("• zdrojový soubor: ") + file;
}
inline QString sourceFileMissing() {
    return QStringLiteral("!CHYBA - zdrojový soubor neexistuje");
}
inline QString opening() {
    return QStringLiteral("• otevření databáze...");
}
inline QString pleaseWait() {
    return QStringLiteral("• [prosím čekejte]");
}
inline QString openFailed() {
    return QStringLiteral("!CHYBA - nepodařilo se otevřít databázi");
}
inline QString tableFailed(const QString& name) {
    return QStringLiteral("!CHYBA - nepodařilo se otevřít zdrojovou tabulku [") + name +
           QLatin1Char(']');
}
inline QString tableFailedHint() {
    return QStringLiteral("- zkontrolujte, zda nemáte soubor otevřený v nějaké jiné aplikaci "
                          "(např. MS Excel, apod.)");
}
inline QString catalogueReadFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při čtení ceníku: ") + reason;
}
inline QString referenceUnknown() {
    return QStringLiteral("!CHYBA - referenční položka není správně přiřazena - opravte definici "
                          "importu");
}
inline QString emptySource() {
    return QStringLiteral("• zdrojová databáze je prázdná");
}
inline QString startComparing(const QString& reference, const QString& column) {
    return QStringLiteral("• zahájen import dat - hledat podle (ref. pol.): ") + reference +
           QStringLiteral(", ref. pol. zdroj. databáze: [") + column + QLatin1Char(']');
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
inline QString startAddingAll() {
    return QStringLiteral("• zahájen import dat - přidat vše jako nové");
}
inline QString mayTakeLong() {
    return QStringLiteral("• operace může trvat delší dobu, prosím čekejte...");
}
inline QString phaseOne() {
    return QStringLiteral("• I. fáze - import dat ze zdrojového souboru");
}
inline QString phaseTwo() {
    return QStringLiteral(
        "• II. fáze - přepočet cen importovaných záznamů... [počkejte prosím na dokončení]");
}
inline QString emptyReference(int row, const QString& column) {
    return QStringLiteral("• varování: zdroj. řádek č. %1 - prázdná referenční položka (%2)")
        .arg(row)
        .arg(column);
}
inline QString readFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při čtení zdroje: ") + reason;
}
inline QString fieldReadFailed(const QString& field, const QString& reason) {
    return QStringLiteral("!CHYBA při čtení zdroje pro \"") + field + QStringLiteral("\": ") +
           reason;
}
inline QString notANumber(int row, const QString& value) {
    return QStringLiteral("zdroj. řádek č. %1 - hodnota \"%2\" není číslo").arg(row).arg(value);
}
inline QString missingColumn(const QString& column) {
    return QStringLiteral("ve zdrojové tabulce není sloupec [") + column + QLatin1Char(']');
}
inline QString saveFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při ukládání do databáze: ") + reason;
}
inline QString stopImportQuestion() {
    return QStringLiteral("Opravdu chcete přerušit import ? Varování: dosud "
                          "naimportované/aktualizované záznamy budou odstraněny z ceníku!");
}
inline QString stopRecomputeQuestion() {
    return QStringLiteral("Opravdu chcete přerušit přepočet ? Varování: nepřepočtené záznamy "
                          "nebude možné použít!");
}
inline QString sourceRows(qint64 count) {
    return QStringLiteral("• počet záznamů ve zdrojové databázi: ") + QString::number(count);
}
inline QString catalogueHeading() {
    return QStringLiteral("• ceník:");
}
inline QString added(qint64 count) {
    return QStringLiteral("  + přidáno nových záznamů: ") + QString::number(count);
}
inline QString updated(qint64 count) {
    return QStringLiteral("  + zaktualizováno záznamů: ") + QString::number(count);
}
inline QString total(qint64 count) {
    return QStringLiteral("  = počet naimportovaných záznamů celkem: ") + QString::number(count);
}
inline QString interrupted() {
    return QStringLiteral("Operace přerušena uživatelem!");
}

// The file types as a definition names them.
inline QString sourceKindCaption(core::sources::SourceKind kind) {
    switch (kind) {
    case core::sources::SourceKind::Mdb:
        return QStringLiteral("Soubor Access (*.mdb)");
    case core::sources::SourceKind::Xls:
        return QStringLiteral("Sešit MS Excel / OpenDocument (*.xls, *.xlsx, *.ods)");
    case core::sources::SourceKind::Dbf:
        return QStringLiteral("Soubor dBase (*.dbf)");
    case core::sources::SourceKind::Csv:
        return QStringLiteral("Textový soubor (*.csv)");
    }
    return {};
}

} // namespace orvento::import::pricelisttext
