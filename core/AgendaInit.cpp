#include "core/AgendaInit.h"

#include "core/Database.h"
#include "core/UserInteraction.h"

namespace orvento::core {

bool createBasicGroup(Database& db, qint64 sheetId, UserInteraction& ui) {
    const bool ok = insertGroup(db, basicGroupRecord(sheetId)).has_value();
    if (!ok)
        ui.error(saveFailedMessage(QStringLiteral("Skupiny")));
    return ok;
}

void ensureFirstSheet(Database& db, UserInteraction& ui) {
    QSqlQuery sheets = db.select(QStringLiteral("SELECT ID FROM Sklady ORDER BY Poradi"));
    if (!sheets.isActive() || sheets.next())
        return;
    sheets.finish();
    const auto inserted = insertSheet(db, {QStringLiteral("List 1"), 1});
    if (!inserted) {
        ui.error(saveFailedMessage(QStringLiteral("Sklady")));
        return;
    }
    const qint64 newId = *inserted;
    const auto found = db.scalar(QStringLiteral("SELECT ID FROM Sklady WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), newId}});
    if (!found) {
        ui.error(newRowNotFoundMessage());
        return;
    }
    createBasicGroup(db, newId, ui);
}

} // namespace orvento::core
