#include "catalogue/CodeReferences.h"

#include <QSqlQuery>

namespace orvento::catalogue {

std::optional<QStringList> storedSpellings(core::Database& db, const QString& table,
                                           const QString& column, const QString& code) {
    QSqlQuery q = db.select(QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(column, table));
    if (!q.isActive())
        return std::nullopt;
    QStringList found;
    while (q.next()) {
        const QString value = q.value(0).toString();
        if (!value.isEmpty() && value.compare(code, Qt::CaseInsensitive) == 0)
            found << value;
    }
    return found;
}

bool runForEachSpelling(core::Database& db, const QString& table, const QString& column,
                        const QString& code, const QString& sql, core::SqlParams params) {
    const auto spellings = storedSpellings(db, table, column, code);
    if (!spellings)
        return false;
    params.emplace_back(QStringLiteral("Code"), QString());
    for (const QString& spelling : *spellings) {
        params.back().second = spelling;
        if (!db.execute(sql, params))
            return false;
    }
    return true;
}

} // namespace orvento::catalogue
