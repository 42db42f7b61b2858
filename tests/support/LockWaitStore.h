#pragma once

// The program's store with a moment in which another workstation works while a card waits for a
// record's lock: the server store waits a little for a lock that is held (its holder may be just
// letting go), and what the holder commits in that moment must be what the card then edits.
// Everything else goes to the store beneath unchanged.
#include "core/DataStore.h"

#include <functional>
#include <memory>
#include <utility>

namespace orvento::testsupport {

class LockWaitStore final : public core::DataStore {
public:
    // `meanwhile` runs once, at the first look at a record's lock.
    LockWaitStore(std::unique_ptr<core::DataStore> beneath, std::function<void()> meanwhile)
        : m_beneath(std::move(beneath))
        , m_meanwhile(std::move(meanwhile)) {}

    bool recordLockHeldElsewhere(const core::RecordRef& record) override {
        if (auto once = std::exchange(m_meanwhile, {}))
            once();
        return m_beneath->recordLockHeldElsewhere(record);
    }
    bool takeRecordLock(const core::RecordRef& record, core::HeldLock& out) override {
        if (auto once = std::exchange(m_meanwhile, {}))
            once();
        return m_beneath->takeRecordLock(record, out);
    }

    const core::SqlDialect& dialect() const override { return m_beneath->dialect(); }
    bool exists(const core::DatabaseId& which) const override { return m_beneath->exists(which); }
    QString location(const core::DatabaseId& which) const override {
        return m_beneath->location(which);
    }
    bool open(core::Database& db, const core::DatabaseId& which,
              core::OpenFailure* failure = nullptr) override {
        return m_beneath->open(db, which, failure);
    }
    std::vector<core::StoredDatabase> databases() const override { return m_beneath->databases(); }
    std::optional<core::DatabaseKind> kindOf(const core::DatabaseId& which) const override {
        return m_beneath->kindOf(which);
    }
    QString label(const core::DatabaseId& which) const override { return m_beneath->label(which); }
    core::DatabaseId resolved(const core::DatabaseId& which) const override {
        return m_beneath->resolved(which);
    }
    bool create(const core::DatabaseId& which, core::DatabaseTemplate from,
                CreateProblem* problem = nullptr) override {
        return m_beneath->create(which, from, problem);
    }
    QString noRightToCreateMessage() const override { return m_beneath->noRightToCreateMessage(); }
    QString templateLocation(core::DatabaseTemplate from) const override {
        return m_beneath->templateLocation(from);
    }
    bool remove(const core::DatabaseId& which) override { return m_beneath->remove(which); }
    bool rename(const core::DatabaseId& which, const QString& newAgenda) override {
        return m_beneath->rename(which, newAgenda);
    }
    std::optional<QString> freeAgendaName(int limit) const override {
        return m_beneath->freeAgendaName(limit);
    }
    bool openedElsewhere(const core::DatabaseId& which) const override {
        return m_beneath->openedElsewhere(which);
    }
    bool takeExclusiveUse(const core::DatabaseId& which, core::HeldLock& out) override {
        return m_beneath->takeExclusiveUse(which, out);
    }
    QString recordLockLocation(const core::RecordRef& record) const override {
        return m_beneath->recordLockLocation(record);
    }
    std::set<qint64> recordsWithLocks(const QString& agenda, const QString& table) const override {
        return m_beneath->recordsWithLocks(agenda, table);
    }
    bool exclusiveLockHeldElsewhere() override { return m_beneath->exclusiveLockHeldElsewhere(); }
    bool takeExclusiveLock(core::HeldLock& out) override {
        return m_beneath->takeExclusiveLock(out);
    }
    QString exclusiveLockLocation() const override { return m_beneath->exclusiveLockLocation(); }
    bool stampExists(const QString& agenda, core::StampedTable table) const override {
        return m_beneath->stampExists(agenda, table);
    }
    std::optional<double> readStamp(const QString& agenda,
                                    core::StampedTable table) const override {
        return m_beneath->readStamp(agenda, table);
    }
    double writeStamp(const QString& agenda, core::StampedTable table, double value) override {
        return m_beneath->writeStamp(agenda, table, value);
    }
    void removeStamps(const QString& agenda) override { m_beneath->removeStamps(agenda); }
    bool copyTo(const core::DatabaseId& which, const QString& target) override {
        return m_beneath->copyTo(which, target);
    }
    bool restoreFrom(const core::DatabaseId& which, const QString& copy) override {
        return m_beneath->restoreFrom(which, copy);
    }
    QStringList integrityProblems(core::Database& db) const override {
        return m_beneath->integrityProblems(db);
    }
    bool rebuildIndexes(core::Database& db) const override { return m_beneath->rebuildIndexes(db); }
    bool compact(core::Database& db) const override { return m_beneath->compact(db); }
    qint64 sizeOf(const core::DatabaseId& which) const override { return m_beneath->sizeOf(which); }
    bool snapshotTo(const core::DatabaseId& which, const QString& target, QString* error) override {
        return m_beneath->snapshotTo(which, target, error);
    }
    QString stagingLocation() const override { return m_beneath->stagingLocation(); }
    CopyCheck checkCopy(core::DatabaseKind kind, const QString& path) const override {
        return m_beneath->checkCopy(kind, path);
    }
    bool putInPlace(const core::DatabaseId& which, const QString& checkedFile) override {
        return m_beneath->putInPlace(which, checkedFile);
    }

private:
    std::unique_ptr<core::DataStore> m_beneath;
    std::function<void()> m_meanwhile;
};

} // namespace orvento::testsupport
