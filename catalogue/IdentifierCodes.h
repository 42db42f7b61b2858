#pragma once

#include <QString>
#include <QStringList>

namespace orvento::catalogue {

// How an item, an offer item or an import setting carries its identifiers in one text: nothing
// for none, else "_" and each code followed by "_" ("_A_B_"), in the order they were added.
inline constexpr int kIdentifierListLength = 255; // the stored column, separators included
inline constexpr int kIdentifierCodeLength = 10;
inline constexpr int kIdentifierNameLength = 50;
inline constexpr QChar kIdentifierSeparator = QLatin1Char('_');

// The codes of a list in their order. Text before the first separator is ignored; reading stops
// where no separator follows or two stand side by side, so no empty code is ever returned.
QStringList splitIdentifiers(const QString& list);
// The list of these codes: the empty text for none, never a lone separator.
QString joinIdentifiers(const QStringList& codes);
// Whether the list fits its column.
bool fitsIdentifierColumn(const QString& list);

// Codes match ignoring letter case, Czech letters included.
bool sameIdentifier(const QString& a, const QString& b);
bool holdsIdentifier(const QStringList& codes, const QString& code);
// Whether a list carries the code anywhere in it.
bool carriesIdentifier(const QString& list, const QString& code);

// The bulk update's "Přidat": the item's codes in upper case with each chosen code not yet there
// appended in the chosen order.
QString addIdentifiers(const QString& itemList, const QString& chosenList);
// "Odebrat": the item's codes in upper case without the chosen ones; nothing left gives the
// empty text.
QString removeIdentifiers(const QString& itemList, const QString& chosenList);

} // namespace orvento::catalogue
