#include "catalogue/CatalogueRecords.h"

#include "core/Database.h"

namespace orvento::catalogue {

namespace {

GroupRow groupFrom(const QSqlQuery& q) {
    return {q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString(),
            q.value(3).toString(), q.value(4).toBool()};
}

} // namespace

std::vector<SheetRow> readSheets(core::Database& db) {
    std::vector<SheetRow> sheets;
    QSqlQuery q =
        db.select(QStringLiteral("SELECT ID, Nazev, Poradi FROM Sklady ORDER BY Poradi, ID"));
    while (q.next())
        sheets.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt()});
    return sheets;
}

std::vector<GroupRow> readGroups(core::Database& db, qint64 sheetId, const QString& sortField) {
    const QString order = sortField.compare(QLatin1String("KOD"), Qt::CaseInsensitive) == 0
                              ? QStringLiteral("Kod COLLATE CZECH, Nazev COLLATE CZECH, ID")
                              : QStringLiteral("Nazev COLLATE CZECH, ID");
    std::vector<GroupRow> groups;
    QSqlQuery q = db.select(QStringLiteral("SELECT ID, Sklad, Nazev, Kod, Zakladni FROM Skupiny "
                                           "WHERE Sklad = :Sklad ORDER BY ") +
                                order,
                            {{QStringLiteral("Sklad"), sheetId}});
    while (q.next())
        groups.push_back(groupFrom(q));
    return groups;
}

std::optional<GroupRow> readGroup(core::Database& db, qint64 groupId) {
    QSqlQuery q = db.select(
        QStringLiteral("SELECT ID, Sklad, Nazev, Kod, Zakladni FROM Skupiny WHERE ID = :ID"),
        {{QStringLiteral("ID"), groupId}});
    if (!q.next())
        return std::nullopt;
    return groupFrom(q);
}

qint64 basicGroupOf(core::Database& db, qint64 sheetId) {
    const auto id =
        db.scalar(QStringLiteral("SELECT ID FROM Skupiny WHERE Sklad = :Sklad AND "
                                 "Zakladni = :Zakladni ORDER BY ID"),
                  {{QStringLiteral("Sklad"), sheetId}, {QStringLiteral("Zakladni"), true}});
    return id ? id->toLongLong() : 0;
}

} // namespace orvento::catalogue
