#pragma once

#include "core/Database.h"

#include <QString>

namespace orvento::core {

// A condition over one table with its values bound: the text after WHERE (empty for every row).
// Column names come from the program, never from what was typed; every typed value is a
// parameter.
struct SqlCondition {
    QString where;
    SqlParams params;

    // Both conditions must hold.
    void add(const QString& condition, const SqlParams& values = {}) {
        where = where.isEmpty() ? condition : where + QStringLiteral(" AND ") + condition;
        params.insert(params.end(), values.begin(), values.end());
    }
    bool empty() const { return where.isEmpty(); }
    // " AND (condition)", or nothing for every row: to append to a WHERE of the caller's own.
    QString andClause() const {
        return where.isEmpty() ? QString() : QStringLiteral(" AND (") + where + QLatin1Char(')');
    }
};

// A list's filter whose query failed (a value the engine refused): the filter is not applied.
inline QString filterCannotApplyMessage() {
    return QStringLiteral("Některá položka filtru je vyplněná chybně, nelze aplikovat filtr.");
}

} // namespace orvento::core
