#include "SoakChecks.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace orvento::soak {
namespace {

// Findings listed by name before the figures; the rest only counted.
constexpr int kDetailsShown = 12;

std::optional<OperationKind> kindNamed(const QString& name) {
    if (name == QLatin1String("save"))
        return OperationKind::Save;
    if (name == QLatin1String("create"))
        return OperationKind::Create;
    if (name == QLatin1String("delete"))
        return OperationKind::Delete;
    if (name == QLatin1String("bulk"))
        return OperationKind::Bulk;
    return std::nullopt;
}

QMap<QString, QString> valuesOf(const QStringList& words, qsizetype from) {
    QMap<QString, QString> values;
    for (qsizetype i = from; i < words.size(); ++i) {
        const qsizetype eq = words[i].indexOf(QLatin1Char('='));
        if (eq > 0)
            values.insert(words[i].left(eq), words[i].mid(eq + 1));
    }
    return values;
}

// The journal lines of one kind carry at least this many words.
constexpr qsizetype kLockWords = 4;    // take|release|inuse <stamp> <table> <id>
constexpr qsizetype kIntentWords = 6;  // intent <stamp> <token> <kind> <table> <id> [values]
constexpr qsizetype kCommitWords = 5;  // commit <stamp> <token> <id> <ms> [values]
constexpr qsizetype kAbandonWords = 5; // abandon <stamp> <token> <reason> <ms>
constexpr qsizetype kProcessWords = 3; // started|ended <stamp> <journal> [killed]

} // namespace

QString recordKey(const QString& table, qint64 id) {
    return table + QLatin1Char(':') + QString::number(id);
}

QString Operation::recordKey() const {
    return soak::recordKey(table, id);
}

SoakHistory readHistory(const std::vector<JournalLine>& workstations,
                        const std::vector<JournalLine>& supervisor) {
    SoakHistory history;
    QHash<QString, qint64> endOf; // journal -> when its process was seen to end
    for (const JournalLine& line : supervisor) {
        const QStringList& w = line.words;
        if (w.size() < kProcessWords)
            continue;
        if (w[0] == QLatin1String("started")) {
            ++history.workstationsStarted;
        } else if (w[0] == QLatin1String("ended")) {
            endOf.insert(w[2], w[1].toLongLong());
            if (w.value(3) == QLatin1String("1"))
                ++history.kills;
        }
    }
    QHash<QString, std::size_t> byToken;
    QHash<QString, LockSpan> open; // writer + record -> the span being held
    for (const JournalLine& line : workstations) {
        const QStringList& w = line.words;
        const QString& what = w[0];
        const qint64 stamp = w.value(1).toLongLong();
        if ((what == QLatin1String("take") || what == QLatin1String("release")) &&
            w.size() >= kLockWords) {
            const QString record = recordKey(w[2], w[3].toLongLong());
            const QString key = line.file + QLatin1Char('|') + record;
            if (what == QLatin1String("take")) {
                open.insert(key, {line.file, record, stamp, 0});
            } else if (auto it = open.find(key); it != open.end()) {
                it->to = stamp;
                history.locks.push_back(*it);
                open.erase(it);
            }
        } else if (what == QLatin1String("inuse") && w.size() >= kLockWords) {
            ++history.cardsInUse;
        } else if (what == QLatin1String("intent") && w.size() >= kIntentWords) {
            const auto kind = kindNamed(w[3]);
            if (!kind)
                continue;
            Operation op;
            op.writer = line.file;
            op.token = w[2];
            op.kind = *kind;
            op.table = w[4];
            op.id = w[5].toLongLong();
            op.intentStamp = stamp;
            op.values = valuesOf(w, kIntentWords);
            byToken.insert(op.token, history.operations.size());
            history.operations.push_back(std::move(op));
        } else if (what == QLatin1String("commit") && w.size() >= kCommitWords) {
            const auto it = byToken.constFind(w[2]);
            if (it == byToken.constEnd())
                continue;
            Operation& op = history.operations[*it];
            op.commitStamp = stamp;
            if (const qint64 id = w[3].toLongLong(); id != 0)
                op.id = id;
            op.waitMs = w[4].toLongLong();
            const QMap<QString, QString> written = valuesOf(w, kCommitWords);
            for (auto v = written.begin(); v != written.end(); ++v)
                op.values.insert(v.key(), v.value());
        } else if (what == QLatin1String("abandon") && w.size() >= kAbandonWords) {
            const auto it = byToken.constFind(w[2]);
            if (it == byToken.constEnd())
                continue;
            Operation& op = history.operations[*it];
            op.abandoned = true;
            op.abandonReason = w[3];
            op.waitMs = w[4].toLongLong();
        }
    }
    // A lock still held when its process ended (killed, or a journal cut short) was held until
    // then: the system gives it back only with the process.
    for (LockSpan span : open) {
        span.to = endOf.value(span.writer, std::numeric_limits<qint64>::max());
        history.locks.push_back(span);
    }
    return history;
}

std::vector<LostEdit> findLostEdits(const SoakHistory& history, const StoredRecords& stored) {
    std::map<QString, std::vector<const Operation*>> byRecord;
    QHash<QString, const Operation*> byToken;
    std::vector<const Operation*> bulk;
    for (const Operation& op : history.operations) {
        byToken.insert(op.token, &op);
        if (op.kind == OperationKind::Bulk)
            bulk.push_back(&op);
        else if (op.id != 0)
            byRecord[op.recordKey()].push_back(&op);
    }
    // A value a bulk run on the table may have changed after the write (or while it ran).
    const auto bulkMayHaveChanged = [&bulk](const Operation& write, const QString& value) {
        return std::any_of(bulk.begin(), bulk.end(), [&](const Operation* run) {
            return run->table == write.table && run->values.contains(value) &&
                   (!run->commitStamp || *run->commitStamp > write.intentStamp);
        });
    };
    std::vector<LostEdit> lost;
    for (auto& [record, ops] : byRecord) {
        const Operation* last = nullptr;
        for (const Operation* op : ops)
            if (op->confirmed() && (!last || *op->commitStamp > *last->commitStamp))
                last = op;
        if (!last)
            continue;
        // Writes that a kill cut short after the last confirmed one began: each may have landed.
        const auto cutShortAfter = [&](OperationKind kind) {
            return std::any_of(ops.begin(), ops.end(), [&](const Operation* op) {
                return op->cutShort() && op->kind == kind && op->intentStamp > last->intentStamp;
            });
        };
        const auto found = stored.find(record);
        if (last->kind == OperationKind::Delete) {
            if (found != stored.end())
                lost.push_back(
                    {record, QStringLiteral("deleted by %1, still there").arg(last->token)});
            continue;
        }
        if (found == stored.end()) {
            if (!cutShortAfter(OperationKind::Delete))
                lost.push_back({record, QStringLiteral("written by %1, gone").arg(last->token)});
            continue;
        }
        const StoredRecord& now = found->second;
        if (now.token != last->token) {
            const Operation* holder = byToken.value(now.token);
            const bool laterCutShort = holder && holder->cutShort() &&
                                       holder->recordKey() == record &&
                                       holder->intentStamp > last->intentStamp;
            if (!laterCutShort)
                lost.push_back(
                    {record, QStringLiteral("written by %1, holds %2")
                                 .arg(last->token, now.token.isEmpty() ? QStringLiteral("nothing")
                                                                       : now.token)});
            continue;
        }
        for (auto v = last->values.begin(); v != last->values.end(); ++v) {
            const auto held = now.values.constFind(v.key());
            if (held != now.values.constEnd() && *held != v.value() &&
                !bulkMayHaveChanged(*last, v.key()))
                lost.push_back({record, QStringLiteral("%1 wrote %2=%3, holds %4")
                                            .arg(last->token, v.key(), v.value(), *held)});
        }
    }
    return lost;
}

std::vector<DoubleGrant> findDoubleGrants(const std::vector<LockSpan>& locks) {
    std::map<QString, std::vector<const LockSpan*>> byRecord;
    for (const LockSpan& span : locks)
        byRecord[span.record].push_back(&span);
    std::vector<DoubleGrant> found;
    for (auto& [record, spans] : byRecord) {
        std::sort(spans.begin(), spans.end(),
                  [](const LockSpan* a, const LockSpan* b) { return a->from < b->from; });
        const LockSpan* latest = nullptr; // the span that reaches furthest so far
        for (const LockSpan* span : spans) {
            if (latest && span->from < latest->to && span->writer != latest->writer)
                found.push_back({record, latest->writer, span->writer});
            if (!latest || span->to > latest->to)
                latest = span;
        }
    }
    return found;
}

void countOperations(const SoakHistory& history, SoakFigures& figures) {
    figures.workstationsStarted = history.workstationsStarted;
    figures.kills = history.kills;
    figures.cardsInUse = history.cardsInUse;
    for (const Operation& op : history.operations) {
        if (op.confirmed()) {
            if (op.kind == OperationKind::Save || op.kind == OperationKind::Create)
                ++figures.saves;
            else if (op.kind == OperationKind::Delete)
                ++figures.deletions;
            else
                ++figures.bulkRuns;
        } else if (op.abandoned && op.abandonReason == QLatin1String("busy")) {
            ++figures.busyRefusals;
        } else if (op.abandoned && op.abandonReason == QLatin1String("failed")) {
            ++figures.otherFailures;
        }
        if (op.kind != OperationKind::Bulk && !op.cutShort())
            figures.longestWaitMs = std::max(figures.longestWaitMs, op.waitMs);
    }
}

bool SoakFigures::passed() const {
    return lostEdits == 0 && doubleGrants == 0 && integrityProblems.isEmpty() &&
           inconsistentOffers == 0 && duplicateNumbers == 0 && otherFailures == 0 && saves > 0;
}

QString SoakFigures::text() const {
    QString out;
    for (qsizetype i = 0; i < details.size() && i < kDetailsShown; ++i)
        out += QStringLiteral("  %1\n").arg(details[i]);
    if (details.size() > kDetailsShown)
        out += QStringLiteral("  ... and %1 more\n").arg(details.size() - kDetailsShown);
    const auto figure = [&out](const char* name, const QString& value) {
        out += QStringLiteral("%1 %2\n").arg(QString::fromLatin1(name).leftJustified(26), value);
    };
    figure("workstations:", QString::number(workstations));
    figure("duration:", QStringLiteral("%1 s").arg(seconds));
    figure("workstations started:", QString::number(workstationsStarted));
    figure("saves:", QString::number(saves));
    figure("kills:", QString::number(kills));
    figure("deletions:", QString::number(deletions));
    figure("bulk runs:", QString::number(bulkRuns));
    figure("cards in use elsewhere:", QString::number(cardsInUse));
    figure("lost edits:", QString::number(lostEdits));
    figure("double grants:", QString::number(doubleGrants));
    figure("integrity:", integrityProblems.isEmpty()
                             ? QStringLiteral("ok")
                             : integrityProblems.join(QStringLiteral("; ")));
    figure("inconsistent offers:", QString::number(inconsistentOffers));
    figure("duplicate offer numbers:", QString::number(duplicateNumbers));
    figure("busy refusals:", QString::number(busyRefusals));
    figure("other failed saves:", QString::number(otherFailures));
    figure("longest wait:", QStringLiteral("%1 ms").arg(longestWaitMs));
    figure("result:", passed() ? QStringLiteral("passed") : QStringLiteral("FAILED"));
    return out;
}

} // namespace orvento::soak
