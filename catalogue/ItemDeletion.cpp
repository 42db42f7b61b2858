#include "catalogue/ItemDeletion.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/LockedRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>

namespace orvento::catalogue {

namespace {

const QString kItems = QStringLiteral("Zasoby");
// The most items deleted in one slice; the lock budget of core/SlicedWrite may end it sooner.
constexpr std::size_t kSliceRows = 1000;

auto deleteById(core::Database& db) {
    return [&db](qint64 id) {
        return db.execute(QStringLiteral("DELETE FROM Zasoby WHERE ID = :ID"),
                          {{QStringLiteral("ID"), id}});
    };
}

bool removeOne(core::Database& db, core::UserInteraction& ui, qint64 id) {
    if (!db.execute(QStringLiteral("DELETE FROM Zasoby WHERE ID = :ID"),
                    {{QStringLiteral("ID"), id}})) {
        ui.error(core::saveFailedMessage(kItems));
        return false;
    }
    return true;
}

} // namespace

bool deleteItem(core::Database& db, core::UserInteraction& ui, qint64 itemId) {
    if (!ui.question(messages::confirmDeleteItem()))
        return false;
    if (!db.scalar(QStringLiteral("SELECT ID FROM Zasoby WHERE ID = :ID"),
                   {{QStringLiteral("ID"), itemId}})) {
        ui.warning(services::recordGoneMessage());
        return false;
    }
    if (!services::mayDeleteRecord(kItems, itemId, ui))
        return false;
    return removeOne(db, ui, itemId);
}

int deleteItems(core::Database& db, core::UserInteraction& ui, const std::vector<qint64>& ids) {
    if (!ui.question(messages::confirmDeleteMarkedItems()))
        return 0;
    core::ProgressScope wait(ui, messages::deletingItems(), static_cast<int>(ids.size()), false);
    // The items to delete are settled before the first slice: those before the first one that
    // another workstation edits.
    std::vector<qint64> free;
    bool inUse = false;
    for (const qint64 id : ids) {
        if (services::recordHeldElsewhere(kItems, id)) {
            inUse = true;
            break;
        }
        free.push_back(id);
        ui.keepAlive();
    }
    // Each item is a record of its own: a failed slice leaves the earlier ones deleted and the
    // rest whole.
    const core::SlicedWriteResult result =
        core::writeInSlices(db, free, kSliceRows, deleteById(db), core::progressOf(wait));
    wait.end();
    if (result.failed)
        ui.error(core::saveFailedMessage(kItems));
    else if (inUse)
        ui.warning(services::recordInUseDeleteMessage());
    return static_cast<int>(result.written);
}

bool deleteItemsThenContainer(core::Database& db, const SqlFilter& items,
                              const std::function<bool()>& container, core::ProgressScope& wait) {
    std::vector<qint64> ids;
    {
        QSqlQuery q = db.select(QStringLiteral("SELECT ID FROM Zasoby WHERE ") + items.condition,
                                items.params);
        if (!q.isActive())
            return false;
        while (q.next())
            ids.push_back(q.value(0).toLongLong());
    }
    const core::SlicedWriteResult result =
        core::writeInSlices(db, ids, kSliceRows, deleteById(db), core::progressOf(wait));
    if (result.failed)
        return false;
    core::Transaction last(db);
    return last.isActive() &&
           db.execute(QStringLiteral("DELETE FROM Zasoby WHERE ") + items.condition,
                      items.params) &&
           container() && last.commit();
}

} // namespace orvento::catalogue
