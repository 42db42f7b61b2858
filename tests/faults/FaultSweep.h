#pragma once

#include "core/Database.h"
#include "core/FaultInjection.h"
#include "support/ScriptedInteraction.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

#include <gtest/gtest.h>

namespace orvento::testsupport {

// The stored rows of some tables: per table, each row's values by its ID. Time stamps read as
// "<čas>", since two runs of one scenario differ only there.
struct DataSnapshot {
    std::map<QString, std::map<qint64, QString>> tables;
    bool operator==(const DataSnapshot&) const = default;
    // The tables whose rows differ from `other`'s, for a test's message.
    QStringList differingTables(const DataSnapshot& other) const;
    // Only the named tables.
    DataSnapshot only(const QStringList& names) const;
    // True when every row here equals the same row of `before` or of `after`, and every row of
    // either that is missing here is missing in the other too or equal in both: each record is
    // whole, old or new, as bulk work committed slice by slice leaves it.
    bool eachRowBeforeOrAfter(const DataSnapshot& before, const DataSnapshot& after) const;
};

// The rows of `tables`, without the `ignored` columns.
DataSnapshot snapshotOf(core::Database& db, const QStringList& tables,
                        const QStringList& ignored = {});
std::ostream& operator<<(std::ostream& out, const DataSnapshot& snapshot);

// A copy of database files taken once and put back before each run of a sweep (the files'
// connections are closed for it and opened again).
class SavedDatabases {
public:
    // (connection, file) pairs; every connection must be open on its file.
    explicit SavedDatabases(std::vector<std::pair<core::Database*, QString>> databases);
    void putBack() const;

private:
    std::vector<std::pair<core::Database*, QString>> m_databases;
};

// The failure kinds a sweep goes through: a full disk and a database kept busy by another
// workstation lead to different messages; a broken rule fails like the full disk.
inline const std::vector<core::InjectedFailure>& sweptKinds() {
    static const std::vector<core::InjectedFailure> kinds{core::InjectedFailure::DiskFull,
                                                          core::InjectedFailure::Busy,
                                                          core::InjectedFailure::Constraint};
    return kinds;
}

const char* kindName(core::InjectedFailure kind);

// What one faulted run of a scenario met.
struct FaultedRun {
    int failAt = 0;
    core::InjectedFailure kind = core::InjectedFailure::DiskFull;
    QString failedStatement;
    bool reportedSuccess = false;
};

// Sweeps a scenario over its statements. `prepare` puts the data as before the scenario (and
// anything the run needs, outside the count); `run` is the scenario, true when it reported
// success; `check` looks at what a faulted run left. First one clean run counts the statements
// (`afterClean` is called after it, to take the data it left), then for every kind and every
// statement: prepare, run with that statement failing, check. Stops at the first run that
// failed a check. Gives the number of statements of the scenario.
int sweepStatements(const std::function<void()>& prepare, const std::function<bool()>& run,
                    const std::function<void()>& afterClean,
                    const std::function<void(const FaultedRun&)>& check,
                    const std::vector<core::InjectedFailure>& kinds = sweptKinds());

// Whether the person was told of a failure: an error or a warning in Czech (a text with at
// least one of its letters, which no engine message has).
bool toldFailure(const ScriptedInteraction& ui);

} // namespace orvento::testsupport
