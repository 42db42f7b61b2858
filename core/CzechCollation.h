#pragma once

#include <QCollator>
#include <QString>

struct sqlite3;

namespace orvento::core {

// Czech alphabetical order ignoring letter case (c < č, h < ch < i, r < ř), the same in SQL
// (`ORDER BY Nazev COLLATE CZECH`) and in memory.
inline constexpr const char* kCzechCollationName = "CZECH";

QCollator czechCollator();
int compareCzech(const QString& a, const QString& b);

// Registers the collation on a SQLite connection. False when it could not be registered.
bool registerCzechCollation(sqlite3* handle);

} // namespace orvento::core
