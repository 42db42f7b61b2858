#pragma once

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
}

namespace orvento::services::profile {

// Per-profile values of the logged-in user's profile (users who share a profile name share them;
// without users the profile name is empty). Three stores:
//  - values 1 to 52: short values in the open agenda,
//  - memos 1 to 8: long values (grid layouts, remembered positions) in the open agenda,
//  - window values 1 to 20: window positions and sizes in the global database.
// A missing row reads as an empty text; saving writes the number's fixed description too.
// A save gives false when the value could not be written; telling it is the caller's (the closing
// steps write all their values in one unit of work and tell its failure).

QString loadValue(int number);
bool saveValue(int number, const QString& value);
QString loadMemo(int number);
bool saveMemo(int number, const QString& value);
QString loadWindowValue(int number);
bool saveWindowValue(int number, const QString& value);

// Typed reads: booleans are stored as -1/0 and read back from any number (non-zero is true) or
// the words True/False; a missing or unreadable value gives the fallback.
bool loadBool(int number, bool fallback);
int loadInt(int number, int fallback);
bool saveBool(int number, bool value);
bool saveInt(int number, int value);

std::optional<bool> parseBool(const QString& text);
std::optional<int> parseInt(const QString& text);
QString formatBool(bool value);

// The fixed descriptions written with each value.
QString valueDescription(int number);
QString memoDescription(int number);
QString windowValueDescription(int number);

// The same operations on an explicit table and connection, for the three stores above and for
// tests that need two profiles side by side.
QString load(core::Database& db, const QString& table, const QString& profileName, int number);
bool save(core::Database& db, const QString& table, const QString& profileName, int number,
          const QString& description, const QString& value);

} // namespace orvento::services::profile
