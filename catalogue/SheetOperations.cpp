#include "catalogue/SheetOperations.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/ItemDeletion.h"
#include "catalogue/LockedRecords.h"
#include "core/CatalogueRows.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

std::optional<qint64> createSheet(core::Database& db, core::UserInteraction& ui,
                                  const QString& name) {
    // The failure is told after the unit of work has rolled back.
    QString failure;
    qint64 id = 0;
    {
        core::Transaction tx(db);
        const auto last = db.scalar(QStringLiteral("SELECT max(Poradi) FROM Sklady"));
        const int poradi = last && !last->isNull() ? last->toInt() + 1 : 1;
        const auto inserted = core::insertSheet(db, {name, poradi});
        if (!inserted) {
            failure = core::saveFailedMessage();
        } else {
            id = *inserted;
            if (!core::insertGroup(db, core::basicGroupRecord(id)))
                failure = messages::basicGroupInsertFailed();
            else if (!tx.commit())
                failure = core::saveFailedMessage();
        }
    }
    if (!failure.isEmpty()) {
        ui.error(failure);
        return std::nullopt;
    }
    return id;
}

bool renameSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId,
                 const QString& name) {
    if (!db.execute(QStringLiteral("UPDATE Sklady SET Nazev = :Nazev WHERE ID = :ID"),
                    {{QStringLiteral("Nazev"), name}, {QStringLiteral("ID"), sheetId}})) {
        ui.error(core::saveFailedMessage());
        return false;
    }
    return true;
}

bool moveSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId, int direction) {
    const std::vector<SheetRow> sheets = readSheets(db);
    const auto at = indexOfId(sheets, sheetId);
    if (!at)
        return false;
    const auto target = static_cast<qsizetype>(*at) + direction;
    if (target < 0 || target >= static_cast<qsizetype>(sheets.size()))
        return false;
    bool written = true;
    {
        core::Transaction tx(db);
        for (size_t i = 0; i < sheets.size() && written; ++i) {
            int poradi = static_cast<int>(i) + 1;
            if (i == *at)
                poradi = static_cast<int>(target) + 1;
            else if (static_cast<qsizetype>(i) == target)
                poradi = static_cast<int>(*at) + 1;
            written = db.execute(
                QStringLiteral("UPDATE Sklady SET Poradi = :Poradi WHERE ID = :ID"),
                {{QStringLiteral("Poradi"), poradi}, {QStringLiteral("ID"), sheets[i].id}});
        }
        written = written && tx.commit();
    }
    // Told after the unit of work has rolled back; the tabs keep their old order.
    if (!written)
        ui.error(core::saveFailedMessage(QStringLiteral("Sklady")));
    return written;
}

bool deleteSheet(core::Database& db, core::UserInteraction& ui, qint64 sheetId) {
    if (!ui.question(messages::confirmDeleteSheet()))
        return false;
    const std::vector<SheetRow> sheets = readSheets(db);
    if (!indexOfId(sheets, sheetId)) {
        ui.warning(services::recordGoneMessage());
        return false;
    }
    if (sheets.size() < 2) {
        ui.warning(messages::onlySheet());
        return false;
    }
    if (!services::mayDeleteRecord(QStringLiteral("Sklady"), sheetId, ui))
        return false;
    core::ProgressScope wait(ui, messages::deletingSheet(), 0, false);
    const SqlFilter bySheet{QStringLiteral("Sklad = :Sklad"), {{QStringLiteral("Sklad"), sheetId}}};
    if (anyLocked(db, QStringLiteral("Zasoby"), bySheet) ||
        anyLocked(db, QStringLiteral("Skupiny"), bySheet)) {
        wait.end();
        ui.warning(messages::sheetContentLocked());
        return false;
    }
    const bool ok = deleteItemsThenContainer(
        db, bySheet,
        [&] {
            const core::SqlParams params = {{QStringLiteral("ID"), sheetId}};
            return db.execute(QStringLiteral("DELETE FROM Skupiny WHERE Sklad = :ID"), params) &&
                   db.execute(QStringLiteral("DELETE FROM Sklady WHERE ID = :ID"), params);
        },
        wait);
    wait.end();
    if (!ok)
        ui.error(core::saveFailedMessage(QStringLiteral("Sklady")));
    return ok;
}

} // namespace orvento::catalogue
