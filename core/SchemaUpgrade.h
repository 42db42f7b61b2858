#pragma once

#include "core/Schema.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace orvento::core {

class Database;
class DataStore;
class UserInteraction;
struct DatabaseId;

// One step that brings an older database up to date: a column added and set in every existing
// row, or (with an empty column) a whole table created with its indexes.
struct UpgradeStep {
    QString table;
    QString column;
    QVariant initialValue;

    bool createsTable() const { return column.isEmpty(); }
};

// The steps in the order they run. A step runs when the database lacks its column (or its
// table), whatever version number the database carries.
const std::vector<UpgradeStep>& upgradeStepsOf(DatabaseKind kind);

// Compares the stored schema version with the program's. A newer database is refused with a
// warning; an older one is upgraded in place, but only while no other workstation has it open.
// The upgrade runs in one transaction with the new version written last, so a failure leaves
// the database exactly as it was (and the next opening tries again). `agenda` is the agenda's
// file name without extension (empty for the global database). On failure the connection may
// stay closed.
bool checkSchemaVersion(DataStore& store, Database& db, const DatabaseId& which,
                        UserInteraction& ui);
// The same for a database of the program's store.
bool checkSchemaVersion(Database& db, DatabaseKind kind, const QString& agenda,
                        UserInteraction& ui);

// Creates the indexes of the current schema that the database lacks. Indexes change no stored
// data and older programs read the file as before, so they are added whatever the version and
// while other workstations have the file open; a failure (another workstation writing, say) only
// leaves the lists slower until the next opening. False when an index could not be made.
bool ensureIndexes(Database& db, DatabaseKind kind);

// The version stored in `Verze`; nothing when it cannot be read.
std::optional<int> storedSchemaVersion(Database& db);

// The schema version of the stand-in global database a data folder keeps once its data moved
// to a database server: higher than any program opens, so that a program that does not know the
// connection file (an older version on another workstation) stops with its message about a
// newer database instead of starting on an empty folder.
inline constexpr int kMovedToServerVersion = 1000000;

QString newerDatabaseMessage(DatabaseKind kind, const QString& agenda, int stored);
QString upgradeRefusedMessage();

} // namespace orvento::core
