#pragma once

#include "core/sources/ImportSource.h"

#include <QDateTime>
#include <QString>

// The protocol lines every kind of file import writes alike: the opening of the source, the start
// of the rows, the warnings and errors of a row and the summary.
namespace orvento::import::runtext {

// The time of a run's start and end lines.
inline QString now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
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
inline QString startAddingAll() {
    return QStringLiteral("• zahájen import dat - přidat vše jako nové");
}
inline QString mayTakeLong() {
    return QStringLiteral("• operace může trvat delší dobu, prosím čekejte...");
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
inline QString missingColumn(const QString& column) {
    return QStringLiteral("ve zdrojové tabulce není sloupec [") + column + QLatin1Char(']');
}
inline QString saveFailed(const QString& reason) {
    return QStringLiteral("!CHYBA při ukládání do databáze: ") + reason;
}
inline QString sourceRows(qint64 count) {
    return QStringLiteral("• počet záznamů ve zdrojové databázi: ") + QString::number(count);
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

} // namespace orvento::import::runtext
