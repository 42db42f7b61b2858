#pragma once

#include "core/Database.h"

#include <QDateTime>
#include <QSqlRecord>
#include <QStringList>

#include <functional>
#include <type_traits>
#include <vector>

namespace orvento::core {

// How a record type's members map to its table's columns, declared once; the insert, the update
// and the read of the record are built from it, so a column added to the record cannot be
// forgotten in one of them. A test checks every mapping against the schema.
template <class Record> class RecordMapping {
public:
    using Getter = std::function<QVariant(const Record&)>;
    using Setter = std::function<void(Record&, const QVariant&)>;
    struct Field {
        QString column;
        Getter get;
        Setter set;
    };

    explicit RecordMapping(QString table)
        : m_table(std::move(table)) {}

    // A column held by a plain member (number, yes/no, text, date-time or an enumeration stored
    // as its number).
    template <class T> RecordMapping& member(const char* column, T Record::*m) {
        m_fields.push_back({QString::fromLatin1(column),
                            [m](const Record& r) { return toStored(r.*m); },
                            [m](Record& r, const QVariant& v) {
                                r.*m = fromStored<T>(v);
                            }});
        return *this;
    }
    // A column whose stored form differs from the member (a scrambled password, say).
    RecordMapping& custom(const char* column, Getter get, Setter set) {
        m_fields.push_back({QString::fromLatin1(column), std::move(get), std::move(set)});
        return *this;
    }

    const QString& table() const { return m_table; }
    const std::vector<Field>& fields() const { return m_fields; }
    QStringList columns() const {
        QStringList names;
        for (const Field& f : m_fields)
            names << f.column;
        return names;
    }

    SqlParams params(const Record& record) const {
        SqlParams p;
        p.reserve(m_fields.size());
        for (const Field& f : m_fields)
            p.emplace_back(f.column, f.get(record));
        return p;
    }
    // Fills a record from a row; columns the row lacks keep the record's defaults.
    Record read(const QSqlRecord& row) const {
        Record record{};
        for (const Field& f : m_fields) {
            const int at = row.indexOf(f.column);
            if (at >= 0)
                f.set(record, row.value(at));
        }
        return record;
    }

    QString insertSql() const {
        QStringList placeholders;
        for (const Field& f : m_fields)
            placeholders << QLatin1Char(':') + f.column;
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(m_table, columns().join(QStringLiteral(", ")),
                 placeholders.join(QStringLiteral(", ")));
    }
    QString updateSql() const {
        QStringList assignments;
        for (const Field& f : m_fields)
            assignments << QStringLiteral("%1 = :%1").arg(f.column);
        return QStringLiteral("UPDATE %1 SET %2 WHERE ID = :ID")
            .arg(m_table, assignments.join(QStringLiteral(", ")));
    }

    // Inserts the record; its new ID is the connection's newRowId().
    bool insert(Database& db, const Record& record) const {
        return db.execute(insertSql(), params(record));
    }
    // False also when no row has the ID (another workstation deleted it meanwhile), so that a
    // card never reports as saved changes that went nowhere.
    bool update(Database& db, const Record& record, qint64 id) const {
        SqlParams p = params(record);
        p.emplace_back(QStringLiteral("ID"), id);
        return db.execute(updateSql(), p) && db.rowsAffected() > 0;
    }

private:
    template <class T> static QVariant toStored(const T& value) {
        if constexpr (std::is_enum_v<T>)
            return static_cast<int>(value);
        else
            return QVariant::fromValue(value);
    }
    template <class T> static T fromStored(const QVariant& value) {
        if constexpr (std::is_same_v<T, bool>)
            return value.toInt() != 0;
        else if constexpr (std::is_same_v<T, QString>)
            return value.toString();
        else if constexpr (std::is_same_v<T, QDateTime>)
            return Database::toDateTime(value);
        else if constexpr (std::is_enum_v<T>)
            return static_cast<T>(value.toInt());
        else if constexpr (std::is_floating_point_v<T>)
            return static_cast<T>(value.toDouble());
        else
            return static_cast<T>(value.toLongLong());
    }

    QString m_table;
    std::vector<Field> m_fields;
};

// Updates the first row (lowest ID) that matches all `keys`, or inserts one when none does; the
// row gets the keys and the values. Runs as one unit, so two workstations saving the same key at
// once never leave two rows. Table and column names come from the program, never from input.
bool saveKeyedRow(Database& db, const QString& table, const SqlParams& keys,
                  const SqlParams& values);

} // namespace orvento::core
