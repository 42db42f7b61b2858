#pragma once

#include "core/sources/ImportSource.h"
#include "core/sources/SheetCell.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core::sources {

// The cells of one sheet, gathered once when the sheet opens. A row keeps its cells only up to
// its last filled one, and rows are added only up to the last filled row, so a sheet whose
// format repeats a million empty rows or thousands of empty columns costs nothing.
class SheetCellGrid {
public:
    // A grid this large would not fit the memory a workstation can spare.
    static constexpr qint64 maxCells = 5'000'000;

    // Puts a filled cell; false (with a Czech message in `error`) once the grid is too large.
    // Empty cells are skipped: the places between filled cells read as empty.
    bool put(sheetcell::Position position, Cell cell, QString& error);
    // Puts one cell into a block of `rows` x `columns` places, cut at the sheet's edges.
    bool putSpan(qint64 row, qint64 rows, qint64 column, qint64 columns, const Cell& cell,
                 QString& error);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return m_columns; }
    // The row with exactly columnCount() cells.
    Row paddedRow(int row) const;

private:
    std::vector<Row> m_rows;
    int m_columns = 0;
    qint64 m_cells = 0;
};

// A sheet read as a table: the first row gives the column names.
class SheetCellTable final : public SourceTable {
public:
    explicit SheetCellTable(SheetCellGrid grid);

    QStringList columns() const override { return m_columns; }
    qint64 rowCount() const override;
    bool next(Row& row) override;
    QString error() const override { return {}; }

private:
    SheetCellGrid m_grid;
    QStringList m_columns;
    int m_next = 1;
};

// A workbook: sheets by name, each read into a grid when it is opened.
class SheetCellBook : public ImportSource {
public:
    explicit SheetCellBook(QStringList sheets);

    QStringList tables() const override { return m_sheets; }
    std::unique_ptr<SourceTable> openTable(const QString& name, QString& error) override;
    std::optional<std::vector<Row>> rawGrid(const QString& name, QString& error) override;

protected:
    virtual std::optional<SheetCellGrid> loadSheet(int index, QString& error) = 0;

private:
    // The sheet's place; a name as the database engines list sheets ("List1$", "'List 1$'")
    // and a name in another letter case find the sheet too.
    std::optional<int> sheetIndex(const QString& name) const;
    std::optional<SheetCellGrid> load(const QString& name, QString& error);

    QStringList m_sheets;
};

} // namespace orvento::core::sources
