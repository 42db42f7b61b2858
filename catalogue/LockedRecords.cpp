#include "catalogue/LockedRecords.h"

#include "core/UserInteraction.h"
#include "services/LockFiles.h"
#include "services/RecordLock.h"

#include <QDir>

namespace orvento::catalogue {

bool anyLocked(core::Database& db, const QString& table, const SqlFilter& filter) {
    // Most rows have no lock file at all; asking the folder once is far cheaper than testing a
    // file per row of a sheet with thousands of items.
    const QString prefix = QFileInfo(services::recordLockPath(table, 0)).fileName().chopped(5);
    const QStringList present = QDir(QFileInfo(services::recordLockPath(table, 0)).path())
                                    .entryList({prefix + QStringLiteral("*.lck")}, QDir::Files);
    if (present.isEmpty())
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
        const QString path = services::recordLockPath(table, id);
        if (!present.contains(QFileInfo(path).fileName()))
            continue;
        if (services::heldElsewhere(path))
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
