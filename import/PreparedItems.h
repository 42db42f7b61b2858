#pragma once

#include "catalogue/ItemRecord.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::import {

// The columns of `Zasoby` a price-list run writes from its source or its settings.
enum class ItemColumn {
    Popis,
    Katalog,
    BarCode,
    Poznamka,
    SazbaDPH,
    TextMJ,
    Obrazek,
    PLU,
    Zkratka,
    NakCena,
    Marze,
    Rabat,
    PrCenaBDPH,
    PrCenaSDPH,
    CenSkupina,
    Identif,
    Zaok,
    SDPH,
    Prepocitat,
    TypHodnoty
};

// A source row made ready: the item as it is to be stored, with `ID` the item it updates
// (kNewItem for one to create) and its place among the source rows.
struct PreparedItem {
    static constexpr qint64 kNewItem = 0;
    catalogue::ItemRecord item;
    int sourceRow = 0;
    bool isNew() const { return item.ID == kNewItem; }
};

// The prepared rows of one run in a temporary table of the agenda connection, applied to
// `Zasoby` by two set statements. Filling it writes to the connection's own temporary storage
// only, so other workstations can save meanwhile; the two statements belong in one short unit of
// work of the caller. The table goes when the object does. Only the program's own column names
// reach the statement texts; every value is bound.
class PreparedItemsTable {
public:
    explicit PreparedItemsTable(core::Database& db)
        : m_db(db) {}
    ~PreparedItemsTable();
    PreparedItemsTable(const PreparedItemsTable&) = delete;
    PreparedItemsTable& operator=(const PreparedItemsTable&) = delete;

    // Creates the table afresh and writes the rows, telling `between` after every few of them
    // (the interface repaints). False with the connection's error.
    bool fill(const std::vector<PreparedItem>& rows, const std::function<void()>& between);
    // New items in source order into `sheet` and `group`, marked unfinished with `mark`; every
    // column the run does not write takes its empty value.
    bool insertNew(qint64 sheet, qint64 group, const QDateTime& mark);
    // The found items: exactly `columns` from their rows, and the unfinished mark.
    bool updateFound(const std::vector<ItemColumn>& columns, const QDateTime& mark);

    static QString tableName() { return QStringLiteral("ImportZasobyDavka"); }

private:
    core::Database& m_db;
    bool m_created = false;
};

} // namespace orvento::import
