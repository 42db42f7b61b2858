#pragma once

// Whole tables as text, to compare a database with its copy on another engine row by row.
#include "core/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace orvento::testsupport {

// The column names of a table in the order the database keeps them.
inline QStringList columnsOf(core::Database& db, const QString& table) {
    QStringList names;
    const QSqlRecord record = db.handle().record(table);
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

// Every row of a table as text in the order of `columns`, sorted. A server folds unquoted names
// to lower case, so the values alone are compared; blobs as hex, NULL as "NULL".
inline QStringList rowsOf(core::Database& db, const QString& table, const QStringList& columns) {
    QStringList rows;
    QSqlQuery query = db.select(
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table));
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = query.value(i);
            values << (v.isNull() ? QStringLiteral("NULL")
                       : v.typeId() == QMetaType::QByteArray
                           ? QString::fromLatin1(v.toByteArray().toHex())
                           : v.toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

} // namespace orvento::testsupport
