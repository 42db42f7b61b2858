#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// A sheet of the catalogue (`Sklady`), shown as a tab.
struct SheetRow {
    qint64 id = 0;
    QString nazev;
    int poradi = 0;
};

// A group of a sheet (`Skupiny`).
struct GroupRow {
    qint64 id = 0;
    qint64 sklad = 0;
    QString nazev;
    QString kod;
    bool zakladni = false;
};

// The sheets in tab order.
std::vector<SheetRow> readSheets(core::Database& db);
// The groups of a sheet sorted by a groups-grid field (`NAZEV` or `KOD`, in Czech order);
// anything else sorts by name.
std::vector<GroupRow> readGroups(core::Database& db, qint64 sheetId, const QString& sortField);
std::optional<GroupRow> readGroup(core::Database& db, qint64 groupId);

// The basic group of a sheet, or 0 when it has none.
qint64 basicGroupOf(core::Database& db, qint64 sheetId);

// After deleting the row at `current`: the ID of the following row, or of the previous one when
// the current row is the last; -1 when fewer than two rows are listed.
template <typename Row> qint64 neighbourId(const std::vector<Row>& rows, size_t current) {
    if (rows.size() < 2 || current >= rows.size())
        return -1;
    return current + 1 < rows.size() ? rows[current + 1].id : rows[current - 1].id;
}

// The index of the row with the ID, if listed.
template <typename Row> std::optional<size_t> indexOfId(const std::vector<Row>& rows, qint64 id) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return i;
    return std::nullopt;
}

} // namespace orvento::catalogue
