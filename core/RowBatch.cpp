#include "core/RowBatch.h"

#include "core/Database.h"
#include "core/SqlDialect.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace orvento::core {

namespace {

const QString kRowsParameter = QStringLiteral("Rows");
// The engine's limit on the values of one statement is far above this; the rows of one
// VALUES list stay few, so that the statement texts stay short.
constexpr std::size_t kBoundValuesPerStatement = 30000;
constexpr std::size_t kRowsPerValuesList = 100;

void appendJsonText(QByteArray& out, const QString& text) {
    out += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    out += '"';
}

// A number the way the server reads it back exactly: the shortest text that gives the same
// double. JSON has no words for the values that are no numbers, which the server reads from text.
void appendJsonNumber(QByteArray& out, double value) {
    if (std::isnan(value))
        out += "\"NaN\"";
    else if (std::isinf(value))
        out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    else
        out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

// The same stored forms as a bound value: texts never NULL, yes/no as 1 and 0, date-times as
// their stored text; only an unset value is NULL.
void appendJsonValue(QByteArray& out, const QVariant& value) {
    if (!value.isValid()) {
        out += "null";
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        out += value.toBool() ? '1' : '0';
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        out += QByteArray::number(value.toLongLong());
        break;
    case QMetaType::ULongLong:
        out += QByteArray::number(value.toULongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        appendJsonNumber(out, value.toDouble());
        break;
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime moment = value.metaType().id() == QMetaType::QDate
                                     ? value.toDate().startOfDay()
                                     : value.toDateTime();
        if (moment.isValid()) // an unset date is NULL, as a bound one is
            appendJsonText(out, Database::fromDateTime(moment).toString());
        else
            out += "null";
        break;
    }
    case QMetaType::QByteArray:
        // The server's binary type reads the hexadecimal form; no bytes at all are NULL, as
        // bound ones are.
        if (value.toByteArray().isNull())
            out += "null";
        else
            appendJsonText(out, QStringLiteral("\\x") +
                                    QString::fromLatin1(value.toByteArray().toHex()));
        break;
    default:
        appendJsonText(out, value.toString());
        break;
    }
}

} // namespace

RowBatchWriter::RowBatchWriter(Database& db, QString table, QStringList columns, Mode mode)
    : m_db(db)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_mode(mode)
    , m_rowSet(db.dialect().rowSetSql(m_table, kRowsParameter)) {
    for (const QString& column : m_columns)
        m_keys << db.dialect().storedName(column);
}

RowBatchWriter::~RowBatchWriter() = default;

bool RowBatchWriter::write(std::span<const RowValues> rows) {
    m_written = 0;
    if (rows.empty())
        return true;
    return m_rowSet.isEmpty() ? writeOneByOne(rows) : writeAsRowSets(rows);
}

// Updates go one by one (inside the caller's unit of work, so they share its commit); inserts a
// few rows to a statement, since outside a unit every statement commits on its own.
bool RowBatchWriter::writeOneByOne(std::span<const RowValues> rows) {
    const std::size_t perStatement = m_mode == Mode::Insert ? insertRowsPerStatement() : 1;
    SqlParams params;
    for (std::size_t first = 0; first < rows.size(); first += perStatement) {
        const std::size_t count = std::min(perStatement, rows.size() - first);
        params.clear();
        for (std::size_t r = 0; r < count; ++r)
            for (qsizetype c = 0; c < m_columns.size(); ++c)
                params.emplace_back(placeholder(r, c),
                                    rows[first + r][static_cast<std::size_t>(c)]);
        if (!m_db.execute(oneByOneSql(count), params))
            return false;
        m_written += m_db.rowsAffected();
    }
    return true;
}

// At most kRowsPerBatch rows to a statement, so that no statement text grows without bound.
bool RowBatchWriter::writeAsRowSets(std::span<const RowValues> rows) {
    const QString sql = manyRowsSql(m_rowSet);
    for (std::size_t first = 0; first < rows.size(); first += kRowsPerBatch) {
        const auto batch = rows.subspan(first, std::min(kRowsPerBatch, rows.size() - first));
        if (!m_db.execute(sql, {{kRowsParameter, QString::fromUtf8(jsonRows(batch, m_keys))}}))
            return false;
        m_written += m_db.rowsAffected();
    }
    return true;
}

std::size_t RowBatchWriter::insertRowsPerStatement() const {
    const auto columns = static_cast<std::size_t>(std::max<qsizetype>(m_columns.size(), 1));
    return std::clamp<std::size_t>(kBoundValuesPerStatement / columns, 1, kRowsPerValuesList);
}

QString RowBatchWriter::placeholder(std::size_t row, qsizetype column) const {
    if (m_mode == Mode::UpdateById)
        return m_columns[column];
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

QString RowBatchWriter::oneByOneSql(std::size_t rowCount) {
    QString& sql = m_oneByOne[rowCount];
    if (!sql.isEmpty())
        return sql;
    if (m_mode == Mode::Insert) {
        QStringList tuples;
        for (std::size_t r = 0; r < rowCount; ++r) {
            QStringList placeholders;
            for (qsizetype c = 0; c < m_columns.size(); ++c)
                placeholders << QLatin1Char(':') + placeholder(r, c);
            tuples << QLatin1Char('(') + placeholders.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                  .arg(m_table, m_columns.join(QStringLiteral(", ")),
                       tuples.join(QStringLiteral(", ")));
        return sql;
    }
    QStringList assignments;
    for (const QString& column : m_columns.mid(1))
        assignments << QStringLiteral("%1 = :%1").arg(column);
    sql = QStringLiteral("UPDATE %1 SET %2 WHERE ID = :ID")
              .arg(m_table, assignments.join(QStringLiteral(", ")));
    return sql;
}

QString RowBatchWriter::manyRowsSql(const QString& rowSet) const {
    if (m_mode == Mode::Insert)
        return QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 AS v")
            .arg(m_table, m_columns.join(QStringLiteral(", ")), rowSet);
    QStringList assignments;
    for (const QString& column : m_columns.mid(1))
        assignments << QStringLiteral("%1 = v.%1").arg(column);
    return QStringLiteral("UPDATE %1 SET %2 FROM %3 AS v WHERE %1.ID = v.ID")
        .arg(m_table, assignments.join(QStringLiteral(", ")), rowSet);
}

QByteArray RowBatchWriter::jsonRows(std::span<const RowValues> rows, const QStringList& keys) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(rows.size()) * keys.size() * 16);
    out += '[';
    bool firstRow = true;
    for (const RowValues& row : rows) {
        if (!std::exchange(firstRow, false))
            out += ',';
        out += '{';
        for (qsizetype c = 0; c < keys.size(); ++c) {
            if (c > 0)
                out += ',';
            appendJsonText(out, keys[c]);
            out += ':';
            appendJsonValue(out, row[static_cast<std::size_t>(c)]);
        }
        out += '}';
    }
    out += ']';
    return out;
}

} // namespace orvento::core
