#include "core/sources/SheetCellGrid.h"

#include <algorithm>
#include <utility>

namespace orvento::core::sources {

namespace {

QString tooLargeMessage() {
    return QStringLiteral("List sešitu je příliš velký: obsahuje více než %L1 vyplněných buněk.")
        .arg(SheetCellGrid::maxCells);
}

} // namespace

bool SheetCellGrid::put(sheetcell::Position position, Cell cell, QString& error) {
    if (cell.isEmpty())
        return true;
    if (position.row < 0 || position.row >= sheetcell::maxRows || position.column < 0 ||
        position.column >= sheetcell::maxColumns)
        return true; // beyond the sheet: the readers have told the damage already
    if (m_cells >= maxCells) {
        error = tooLargeMessage();
        return false;
    }
    if (position.row >= rowCount())
        m_rows.resize(static_cast<std::size_t>(position.row) + 1);
    Row& row = m_rows[static_cast<std::size_t>(position.row)];
    if (position.column >= static_cast<int>(row.size()))
        row.resize(static_cast<std::size_t>(position.column) + 1);
    Cell& place = row[static_cast<std::size_t>(position.column)];
    if (place.isEmpty())
        ++m_cells;
    place = std::move(cell);
    m_columns = std::max(m_columns, position.column + 1);
    return true;
}

bool SheetCellGrid::putSpan(qint64 row, qint64 rows, qint64 column, qint64 columns,
                            const Cell& cell, QString& error) {
    if (cell.isEmpty())
        return true;
    const qint64 rowEnd = std::min<qint64>(row + rows, sheetcell::maxRows);
    const qint64 columnEnd = std::min<qint64>(column + columns, sheetcell::maxColumns);
    // Each round puts a filled cell, so the cell limit ends even a huge repeat soon.
    for (qint64 r = row; r < rowEnd; ++r) {
        for (qint64 c = column; c < columnEnd; ++c) {
            if (!put({static_cast<int>(r), static_cast<int>(c)}, cell, error))
                return false;
        }
    }
    return true;
}

Row SheetCellGrid::paddedRow(int row) const {
    Row cells = m_rows[static_cast<std::size_t>(row)];
    cells.resize(static_cast<std::size_t>(m_columns));
    return cells;
}

SheetCellTable::SheetCellTable(SheetCellGrid grid)
    : m_grid(std::move(grid)) {
    if (m_grid.rowCount() == 0)
        return;
    const Row titles = m_grid.paddedRow(0);
    for (int column = 0; column < static_cast<int>(titles.size()); ++column)
        m_columns << sheetcell::columnTitle(titles[static_cast<std::size_t>(column)], column);
}

qint64 SheetCellTable::rowCount() const {
    return m_grid.rowCount() > 0 ? m_grid.rowCount() - 1 : 0;
}

bool SheetCellTable::next(Row& row) {
    if (m_next >= m_grid.rowCount())
        return false;
    row = m_grid.paddedRow(m_next++);
    return true;
}

SheetCellBook::SheetCellBook(QStringList sheets)
    : m_sheets(std::move(sheets)) {}

std::optional<int> SheetCellBook::sheetIndex(const QString& name) const {
    if (const auto exact = m_sheets.indexOf(name); exact >= 0)
        return static_cast<int>(exact);
    QString bare = name.trimmed();
    if (bare.size() >= 2 && bare.startsWith(QLatin1Char('\'')) && bare.endsWith(QLatin1Char('\'')))
        bare = bare.mid(1, bare.size() - 2);
    if (bare.endsWith(QLatin1Char('$')))
        bare.chop(1);
    for (qsizetype i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets[i].compare(bare, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<SheetCellGrid> SheetCellBook::load(const QString& name, QString& error) {
    const auto index = sheetIndex(name);
    if (!index) {
        error = QStringLiteral("Sešit neobsahuje list \"%1\".").arg(name);
        return std::nullopt;
    }
    return loadSheet(*index, error);
}

std::unique_ptr<SourceTable> SheetCellBook::openTable(const QString& name, QString& error) {
    auto grid = load(name, error);
    if (!grid)
        return nullptr;
    return std::make_unique<SheetCellTable>(std::move(*grid));
}

std::optional<std::vector<Row>> SheetCellBook::rawGrid(const QString& name, QString& error) {
    const auto grid = load(name, error);
    if (!grid)
        return std::nullopt;
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(grid->rowCount()));
    for (int row = 0; row < grid->rowCount(); ++row)
        rows.push_back(grid->paddedRow(row));
    return rows;
}

} // namespace orvento::core::sources
