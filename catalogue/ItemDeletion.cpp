#include "catalogue/ItemDeletion.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/LockedRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/LockFiles.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

namespace {

const QString kItems = QStringLiteral("Zasoby");

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
    core::ProgressScope wait(ui, messages::deletingItems(), 0, false);
    int deleted = 0;
    for (const qint64 id : ids) {
        if (services::recordHeldElsewhere(kItems, id)) {
            wait.end();
            ui.warning(services::recordInUseDeleteMessage());
            break;
        }
        if (!removeOne(db, ui, id))
            break;
        ++deleted;
        if (deleted % 50 == 0)
            ui.keepAlive();
    }
    return deleted;
}

} // namespace orvento::catalogue
