#pragma once

#include <QString>

#include <string_view>

struct sqlite3;

namespace orvento::core {

// Czech alphabetical order ignoring letter case (c < č, h < ch < i, r < ř), the same in SQL
// (`ORDER BY Nazev COLLATE CZECH`) and in memory.
//
// The order is computed by the program itself rather than by the system's locale library: an
// index kept in this order lives in a database file that several workstations share, and all of
// them must agree on it to the last character, whatever library versions they run. It is also
// fast enough to keep indexes on 100,000 names.
//
// Levels, as in Czech dictionaries: first the letters (digits before letters, spaces and
// punctuation before digits; "ch" is one letter after "h"; č, ř, š, ž are letters of their own),
// then the accents (a < á, e < é < ě, u < ú < ů), then the case (lower before upper), and at the
// very end the code points, so that only identical texts compare equal.
inline constexpr const char* kCzechCollationName = "CZECH";

int compareCzech(const QString& a, const QString& b);
int compareCzechUtf8(std::string_view a, std::string_view b);

// `CZECH_FIND(text, part)`: the 1-based place where `part` first occurs in `text`, letters
// compared regardless of case in every alphabet (SQLite's own LIKE and instr fold only the
// English letters), or 0 when it does not occur or either is NULL. Lists use it for "contains"
// and "starts with" with the typed text bound as a value, so that no character of it is special.
inline constexpr const char* kCzechFindName = "CZECH_FIND";
qsizetype findIgnoringCase(const QString& text, const QString& part);

// Registers the collation and CZECH_FIND on a SQLite connection. False when either could not be
// registered.
bool registerCzechCollation(sqlite3* handle);

} // namespace orvento::core
