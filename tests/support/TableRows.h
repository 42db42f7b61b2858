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

// A value as the row texts show it: blobs as hex, NULL as "NULL".
inline QString cellText(const QVariant& v) {
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromLatin1(v.toByteArray().toHex());
    return v.toString();
}

// Every row of a table as text in the order of `columns`, sorted. A server folds unquoted names
// to lower case, so the values alone are compared.
inline QStringList rowsOf(core::Database& db, const QString& table, const QStringList& columns) {
    QStringList rows;
    QSqlQuery query = db.select(
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table));
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < columns.size(); ++i)
            values << cellText(query.value(i));
        rows << values.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

} // namespace orvento::testsupport
