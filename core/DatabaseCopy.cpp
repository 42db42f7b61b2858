#include "core/DatabaseCopy.h"

#include "core/Database.h"
#include "core/RowBatch.h"
#include "core/SchemaUpgrade.h"
#include "core/SqlDialect.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>

namespace orvento::core {

namespace {

// One table as it is made in the target: the columns the source has, typed as the schema knows
// them.
struct CopiedTable {
    QString sourceName;
    TableDef def;
    bool hasCounter = false;
};

// The type of a column the schema does not know (a table or column of another program version),
// from what the source's driver reads from it.
ColumnType typeOfField(const QSqlField& field) {
    switch (field.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return ColumnType::Double;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return ColumnType::Integer;
    case QMetaType::QByteArray:
        return ColumnType::Binary;
    default:
        return ColumnType::Text;
    }
}

QString baseColumnOf(const QString& indexColumn) {
    return indexColumn.section(QLatin1Char(' '), 0, 0);
}

CopiedTable layoutOf(Database& source, const QString& sourceName, DatabaseKind kind) {
    CopiedTable copied;
    copied.sourceName = sourceName;
    const TableDef* known = findTable(kind, sourceName);
    copied.def.name = known ? known->name : sourceName;
    const QSqlRecord fields = source.handle().record(sourceName);
    for (int i = 0; i < fields.count(); ++i) {
        const QSqlField field = fields.field(i);
        const ColumnDef* def = known ? known->column(field.name()) : nullptr;
        ColumnDef column = def ? *def : ColumnDef{field.name(), typeOfField(field), 0};
        copied.hasCounter = copied.hasCounter || column.type == ColumnType::Counter;
        copied.def.columns.push_back(std::move(column));
    }
    if (known) {
        for (const IndexDef& index : known->indexes) {
            const bool complete =
                std::all_of(index.columns.begin(), index.columns.end(), [&](const QString& c) {
                    return copied.def.column(baseColumnOf(c)) != nullptr;
                });
            if (complete)
                copied.def.indexes.push_back(index);
        }
    }
    return copied;
}

bool copyRows(Database& source, Database& target, const CopiedTable& table) {
    QStringList names;
    for (const ColumnDef& column : table.def.columns)
        names << column.name;
    QSqlQuery rows = source.select(QStringLiteral("SELECT %1 FROM %2")
                                       .arg(names.join(QStringLiteral(", ")), table.sourceName));
    if (!rows.isActive())
        return false;
    // Many rows to a statement: a copy onto a server is otherwise one round trip per row.
    RowBatchWriter writer(target, table.def.name, names, RowBatchWriter::Mode::Insert);
    std::vector<RowValues> batch;
    batch.reserve(kRowsPerBatch);
    while (rows.next()) {
        RowValues& row = batch.emplace_back();
        row.reserve(static_cast<std::size_t>(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QVariant value = rows.value(int(i));
            // NULL stays NULL (an unset date); the data layer would store an empty text.
            row.push_back(value.isNull() ? QVariant() : value);
        }
        if (batch.size() == kRowsPerBatch) {
            if (!writer.write(batch))
                return false;
            batch.clear();
        }
    }
    if (rows.lastError().type() != QSqlError::NoError)
        return false;
    return writer.write(batch);
}

bool copyTable(Database& source, Database& target, const CopiedTable& table) {
    if (!target.executeDdl(createTableSql(table.def, target.dialect())))
        return false;
    if (!copyRows(source, target, table))
        return false;
    for (const IndexDef& index : table.def.indexes) {
        if (!target.executeDdl(createIndexSql(table.def, index, target.dialect())))
            return false;
    }
    return !table.hasCounter || target.dialect().reseatCounter(target, table.def.name);
}

} // namespace

bool copyDatabase(Database& source, Database& target, DatabaseKind kind, QString* error) {
    auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QStringList tables = source.tableNames();
    if (tables.isEmpty())
        return failed(source.lastError().isEmpty() ? QStringLiteral("Databáze neobsahuje tabulky.")
                                                   : source.lastError());
    const std::optional<int> version = storedSchemaVersion(source);
    if (!version)
        return failed(source.lastError());
    Transaction unit(target);
    if (!unit.isActive())
        return failed(target.lastError());
    for (const QString& name : tables) {
        const CopiedTable table = layoutOf(source, name, kind);
        if (!copyTable(source, target, table)) {
            const QString reason =
                !target.lastError().isEmpty() ? target.lastError() : source.lastError();
            return failed(QStringLiteral("%1: %2").arg(table.def.name, reason));
        }
    }
    if (!target.dialect().writeKindMark(target, kind) ||
        !target.dialect().writeVersionMark(target, *version) || !unit.commit())
        return failed(target.lastError());
    return true;
}

} // namespace orvento::core
