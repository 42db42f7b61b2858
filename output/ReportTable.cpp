#include "output/ReportTable.h"

#include <algorithm>

namespace orvento::output {

ReportTable::ReportTable(QString name)
    : m_name(std::move(name)) {}

ReportTable& ReportTable::column(const QString& name, ColumnType type, int size,
                                 const QString& caption) {
    m_index.insert(name, static_cast<int>(m_columns.size()));
    m_columns.push_back({name, type, size, caption});
    for (auto& row : m_rows)
        row.emplace_back();
    return *this;
}

int ReportTable::columnIndex(const QString& name) const {
    return m_index.value(name, -1);
}

int ReportTable::appendRow() {
    m_rows.emplace_back(m_columns.size());
    return rowCount() - 1;
}

void ReportTable::set(int row, const QString& column, const QVariant& value) {
    set(row, columnIndex(column), value);
}

void ReportTable::set(int row, int column, const QVariant& value) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= static_cast<int>(m_columns.size()))
        return;
    const ReportColumn& c = m_columns[static_cast<std::size_t>(column)];
    QVariant stored = value;
    if (c.type == ColumnType::Text && c.size > 0 && value.isValid()) {
        const QString text = value.toString();
        if (text.size() > c.size)
            stored = text.left(c.size);
    }
    m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(stored);
}

const QVariant& ReportTable::value(int row, int column) const {
    return m_rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

QVariant ReportTable::value(int row, const QString& column) const {
    const int at = columnIndex(column);
    return at < 0 ? QVariant() : value(row, at);
}

void ReportTable::sortRowsBy(const QString& column) {
    const int at = columnIndex(column);
    if (at < 0)
        return;
    const auto key = static_cast<std::size_t>(at);
    std::stable_sort(m_rows.begin(), m_rows.end(), [key](const auto& a, const auto& b) {
        return a[key].toDouble() < b[key].toDouble();
    });
}

} // namespace orvento::output
