#include "catalogue/LockedRecords.h"

#include "core/DataStore.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"

#include <set>

namespace orvento::catalogue {

bool anyLocked(core::Database& db, const QString& table, const SqlFilter& filter) {
    // Most rows have no lock at all; asking the store once is far cheaper than testing a lock per
    // row of a sheet with thousands of items.
    core::DataStore& store = *core::programState().store;
    const std::set<qint64> present = store.recordsWithLocks(core::programState().agenda, table);
    if (present.empty())
        return false;
    QSqlQuery q = db.select(QStringLiteral("SELECT ID FROM ") + table + QStringLiteral(" WHERE ") +
                                filter.condition,
                            filter.params);
    std::vector<qint64> ids;
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    q.finish();
    bool locked = false;
    for (const qint64 id : ids) {
        if (present.contains(id) && services::recordHeldElsewhere(table, id))
            locked = true;
    }
    return locked;
}

std::optional<bool> lockForCard(const QString& table, qint64 id, services::RecordAccess access,
                                core::UserInteraction& ui, services::RecordLock& lock) {
    if (access == services::RecordAccess::Denied)
        return std::nullopt;
    if (access == services::RecordAccess::ReadOnly)
        return true;
    const auto state = services::RecordLock::take(table, id, ui, lock);
    if (state == services::RecordLock::State::Failed)
        return std::nullopt;
    return state == services::RecordLock::State::ReadOnly;
}

} // namespace orvento::catalogue
