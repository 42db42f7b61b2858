#include "core/AgendaInit.h"

#include "core/Database.h"
#include "core/UserInteraction.h"

namespace orvento::core {

bool createBasicGroup(Database& db, qint64 sheetId, UserInteraction& ui) {
    const bool ok = db.execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Kod, Zakladni) "
                                              "VALUES (:Sklad, :Nazev, :Kod, :Zakladni)"),
                               {{QStringLiteral("Sklad"), sheetId},
                                {QStringLiteral("Nazev"), kBasicGroupName},
                                {QStringLiteral("Kod"), QString()},
                                {QStringLiteral("Zakladni"), true}});
    if (!ok)
        ui.error(saveFailedMessage(QStringLiteral("Skupiny")));
    return ok;
}

void ensureFirstSheet(Database& db, UserInteraction& ui) {
    QSqlQuery sheets = db.select(QStringLiteral("SELECT ID FROM Sklady ORDER BY Poradi"));
    if (!sheets.isActive() || sheets.next())
        return;
    sheets.finish();
    if (!db.execute(
            QStringLiteral("INSERT INTO Sklady (Poradi, Nazev) VALUES(:Poradi, :Nazev)"),
            {{QStringLiteral("Poradi"), 1}, {QStringLiteral("Nazev"), QStringLiteral("List 1")}})) {
        ui.error(saveFailedMessage(QStringLiteral("Sklady")));
        return;
    }
    const qint64 newId = db.newRowId();
    const auto found = db.scalar(QStringLiteral("SELECT ID FROM Sklady WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), newId}});
    if (!found) {
        ui.error(newRowNotFoundMessage());
        return;
    }
    createBasicGroup(db, newId, ui);
}

} // namespace orvento::core
