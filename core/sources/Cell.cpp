#include "core/sources/ImportSource.h"

#include <QLocale>

#include <cmath>
#include <utility>

namespace orvento::core::sources {

Cell Cell::text(QString value) {
    Cell cell;
    cell.m_kind = Kind::Text;
    cell.m_text = std::move(value);
    return cell;
}

Cell Cell::number(double value) {
    Cell cell;
    cell.m_kind = Kind::Number;
    cell.m_number = value;
    return cell;
}

QString Cell::toText() const {
    switch (m_kind) {
    case Kind::Empty:
        return {};
    case Kind::Text:
        return m_text;
    case Kind::Number:
        break;
    }
    if (!std::isfinite(m_number))
        return {};
    // Whole numbers up to 2^53 are exact in a double: a bar code or a post code stays itself.
    if (m_number == std::trunc(m_number) && std::fabs(m_number) < 9007199254740992.0)
        return QString::number(static_cast<qint64>(m_number));
    // The shortest form that reads back as the same double, never with an exponent.
    QString text = QString::number(m_number, 'f', QLocale::FloatingPointShortest);
    return text;
}

std::optional<double> Cell::toNumber() const {
    switch (m_kind) {
    case Kind::Empty:
        return std::nullopt;
    case Kind::Number:
        return std::isfinite(m_number) ? std::optional<double>(m_number) : std::nullopt;
    case Kind::Text:
        break;
    }
    QString normalised = m_text.trimmed();
    // Thousands written apart with a space, a no-break space or a narrow no-break space.
    normalised.remove(QLatin1Char(' '));
    normalised.remove(QChar(0x00A0));
    normalised.remove(QChar(0x202F));
    normalised.replace(QLatin1Char(','), QLatin1Char('.'));
    if (normalised.isEmpty())
        return std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(normalised, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString ImportSource::activeTable() const {
    return tables().value(0);
}

std::optional<std::vector<Row>> ImportSource::rawGrid(const QString& name, QString& error) {
    auto table = openTable(name, error);
    if (!table)
        return std::nullopt;
    std::vector<Row> grid;
    Row titles;
    for (const QString& column : table->columns())
        titles.push_back(Cell::text(column));
    grid.push_back(std::move(titles));
    Row row;
    while (table->next(row))
        grid.push_back(row);
    if (!table->error().isEmpty()) {
        error = table->error();
        return std::nullopt;
    }
    return grid;
}

std::optional<SourceKind> sourceKindFromCode(const QString& code) {
    const QString upper = code.trimmed().toUpper();
    if (upper == QLatin1String("MDB"))
        return SourceKind::Mdb;
    if (upper == QLatin1String("XLS"))
        return SourceKind::Xls;
    if (upper == QLatin1String("DBF"))
        return SourceKind::Dbf;
    if (upper == QLatin1String("CSV"))
        return SourceKind::Csv;
    return std::nullopt;
}

QString sourceKindCode(SourceKind kind) {
    switch (kind) {
    case SourceKind::Mdb:
        return QStringLiteral("MDB");
    case SourceKind::Xls:
        return QStringLiteral("XLS");
    case SourceKind::Dbf:
        return QStringLiteral("DBF");
    case SourceKind::Csv:
        return QStringLiteral("CSV");
    }
    return {};
}

} // namespace orvento::core::sources
