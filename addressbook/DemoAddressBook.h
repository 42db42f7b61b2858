#pragma once

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::addressbook {

// The check digit of a Czech company number from its first seven digits (weights 8 to 2,
// modulo 11); -1 when the text is not seven digits.
int icoCheckDigit(const QString& firstSeven);

// Fills the demo agenda's address book: a few dozen firms with their contacts, some of them on
// one of two price levels (created when the agenda has none of that code).
bool fillDemoAddressBook(core::Database& db);

} // namespace orvento::addressbook
