#include "catalogue/GroupOperations.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/ItemDeletion.h"
#include "catalogue/LockedRecords.h"
#include "core/CatalogueRows.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

std::optional<qint64> saveGroup(core::Database& db, core::UserInteraction& ui,
                                const GroupRow& group, bool isNew) {
    const core::GroupRecord row{group.sklad, group.nazev, group.kod.toUpper(), false};
    std::optional<qint64> id;
    if (isNew)
        id = core::insertGroup(db, row);
    else if (core::updateGroup(db, row, group.id))
        id = group.id;
    // An edited group that is gone was deleted elsewhere meanwhile: its update found no row.
    if (!id && !isNew && !readGroup(db, group.id)) {
        ui.warning(services::recordGoneMessage());
        return std::nullopt;
    }
    if (!id) {
        ui.error(core::saveFailedMessage(QStringLiteral("Skupiny")));
        return std::nullopt;
    }
    if (!readGroup(db, *id)) {
        // An edited group that is gone was deleted elsewhere meanwhile.
        if (isNew)
            ui.error(core::newRowNotFoundMessage());
        else
            ui.warning(services::recordGoneMessage());
        return std::nullopt;
    }
    return id;
}

std::optional<GroupRow> groupToEdit(core::UserInteraction& ui,
                                    const std::optional<GroupRow>& current,
                                    const std::function<std::optional<GroupRow>()>& relocate) {
    if (services::moduleLevel(core::programState().user, services::Module::Cenik) ==
        core::AccessLevel::Denied) {
        services::showNoRights(ui);
        return std::nullopt;
    }
    if (!current)
        return std::nullopt;
    if (current->zakladni) {
        ui.information(messages::basicGroupNotEditable(current->nazev));
        return std::nullopt;
    }
    return relocate();
}

bool deleteGroup(core::Database& db, core::UserInteraction& ui, qint64 groupId) {
    if (!ui.question(messages::confirmDeleteGroup()))
        return false;
    if (!services::mayDeleteRecord(QStringLiteral("Skupiny"), groupId, ui))
        return false;
    const auto group = readGroup(db, groupId);
    if (!group) {
        ui.warning(services::recordGoneMessage());
        return false;
    }
    if (group->zakladni) {
        ui.warning(messages::basicGroupNotDeletable(group->nazev));
        return false;
    }
    core::ProgressScope wait(ui, messages::deletingGroup(), 0, false);
    if (anyLocked(db, QStringLiteral("Zasoby"),
                  {QStringLiteral("Skupina = :Skupina"), {{QStringLiteral("Skupina"), groupId}}})) {
        wait.end();
        ui.warning(messages::groupItemsLocked());
        return false;
    }
    const bool ok = deleteItemsThenContainer(
        db, {QStringLiteral("Skupina = :Skupina"), {{QStringLiteral("Skupina"), groupId}}},
        [&] {
            return db.execute(QStringLiteral("DELETE FROM Skupiny WHERE ID = :ID"),
                              {{QStringLiteral("ID"), groupId}});
        },
        wait);
    wait.end();
    if (!ok)
        ui.error(core::saveFailedMessage(QStringLiteral("Skupiny")));
    return ok;
}

} // namespace orvento::catalogue
