#include "core/RecordMapping.h"

namespace orvento::core {

bool saveKeyedRow(Database& db, const QString& table, const SqlParams& keys,
                  const SqlParams& values) {
    QStringList conditions;
    for (const auto& [name, value] : keys)
        conditions << QStringLiteral("%1 = :%1").arg(name);
    SqlParams all = keys;
    all.insert(all.end(), values.begin(), values.end());

    Transaction unit(db);
    if (!unit.isActive())
        return false;
    const auto id = db.scalar(QStringLiteral("SELECT ID FROM %1 WHERE %2 ORDER BY ID")
                                  .arg(table, conditions.join(QStringLiteral(" AND "))),
                              keys);
    QStringList columns;
    for (const auto& param : all)
        columns << param.first;
    bool ok = false;
    if (id) {
        QStringList assignments;
        for (const QString& c : columns)
            assignments << QStringLiteral("%1 = :%1").arg(c);
        SqlParams withId = all;
        withId.emplace_back(QStringLiteral("ID"), *id);
        ok = db.execute(QStringLiteral("UPDATE %1 SET %2 WHERE ID = :ID")
                            .arg(table, assignments.join(QStringLiteral(", "))),
                        withId);
    } else {
        QStringList placeholders;
        for (const QString& c : columns)
            placeholders << QLatin1Char(':') + c;
        ok = db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 placeholders.join(QStringLiteral(", "))),
                        all);
    }
    return ok && unit.commit();
}

} // namespace orvento::core
