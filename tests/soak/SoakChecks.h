#pragma once

// What the soak concludes from the journals and the data left behind: writes that were lost,
// locks granted to two workstations at once, and the figures of the run.

#include "SoakLog.h"

#include <QMap>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace orvento::soak {

enum class OperationKind { Save, Create, Delete, Bulk };

// One write a workstation set out to make: announced before its unit of work, confirmed once it
// returned (or given up, with the reason). One neither confirmed nor given up was cut short by a
// kill, and may or may not have reached the database.
struct Operation {
    QString writer;
    QString token; // unique over the run; saves leave it in the record's `Poznamka`
    OperationKind kind = OperationKind::Save;
    QString table;
    qint64 id = 0; // 0 for a new record until its confirmation names it
    qint64 intentStamp = 0;
    std::optional<qint64> commitStamp;
    bool abandoned = false;
    QString abandonReason; // "busy", "failed", "refused", ...
    qint64 waitMs = 0;     // how long the save took, waiting for the write lock included
    // What the record holds after the write, as the workstation wrote it. A bulk run names
    // here the values of its table it may change, without a value.
    QMap<QString, QString> values;

    bool confirmed() const { return commitStamp.has_value(); }
    bool cutShort() const { return !commitStamp && !abandoned; }
    QString recordKey() const;
};

// A record lock as one workstation held it, from after it was granted to before it was given
// back (or to the end of its process).
struct LockSpan {
    QString writer;
    QString record;
    qint64 from = 0;
    qint64 to = 0;
};

struct SoakHistory {
    std::vector<Operation> operations;
    std::vector<LockSpan> locks;
    int workstationsStarted = 0;
    int kills = 0;
    int cardsInUse = 0; // cards that opened read-only because another workstation held them
};

// Reads the workstations' journals and the supervisor's (started, killed and ended processes).
SoakHistory readHistory(const std::vector<JournalLine>& workstations,
                        const std::vector<JournalLine>& supervisor);

QString recordKey(const QString& table, qint64 id);

// A record as the soak finds it in the database: the token of the last write and its values.
struct StoredRecord {
    QString token;
    QMap<QString, QString> values;
};
using StoredRecords = std::map<QString, StoredRecord>;

struct LostEdit {
    QString record;
    QString reason;
};

// Every confirmed write must be in the database unless a later one changed or deleted the
// record; a record may also hold a write that a kill cut short after the last confirmed one.
std::vector<LostEdit> findLostEdits(const SoakHistory& history, const StoredRecords& stored);

// Locks of one record held by two workstations at the same moment.
struct DoubleGrant {
    QString record;
    QString first;
    QString second;
};
std::vector<DoubleGrant> findDoubleGrants(const std::vector<LockSpan>& locks);

// The figures the soak prints, and whether the run passed.
struct SoakFigures {
    int workstations = 0;
    int seconds = 0;
    int workstationsStarted = 0;
    int saves = 0;
    int kills = 0;
    int deletions = 0;
    int bulkRuns = 0;
    int cardsInUse = 0;
    int lostEdits = 0;
    int doubleGrants = 0;
    QStringList integrityProblems;
    int inconsistentOffers = 0;
    int duplicateNumbers = 0;
    int busyRefusals = 0;
    int otherFailures = 0;
    qint64 longestWaitMs = 0;
    QStringList details; // the first findings, to say where to look

    bool passed() const;
    QString text() const;
};

// The counts of the history: saves, deletions, bulk runs, busy refusals, the longest wait.
void countOperations(const SoakHistory& history, SoakFigures& figures);

} // namespace orvento::soak
