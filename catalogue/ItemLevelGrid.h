#pragma once

#include "catalogue/LevelPrice.h"

#include <vector>

namespace orvento::catalogue {

// One row of the item card's grid "Cenové hladiny": a level row of the item's group and the
// item's price on it.
struct ItemLevelRow {
    QString Zkratka;
    LevelParameters values;
    PricePair price;

    bool fixed() const { return !values.Prepocitat; }
};

// The level grid of the item card, in memory: loaded from the group's level rows, recomputed
// after every change of the basic price, merged when another group is chosen, and written back
// into the item's three fixed-level slots.
class ItemLevelGrid {
public:
    // One row per level row of the group, priced from the stored item.
    void load(const std::vector<GroupLevelRow>& groupRows, const LevelPriceItem& item);
    void clear() { m_rows.clear(); }
    // Computed rows follow the item's current prices; fixed rows keep the price in their own
    // price type and derive the other with their rounding and the item's current rate.
    void recompute(const LevelPriceItem& item);
    // Another group: rows of a code already here (ignoring letter case) keep their prices, new
    // rows start at 0, rows the group lacks go; then recompute.
    void merge(const std::vector<GroupLevelRow>& groupRows, const LevelPriceItem& item);
    // The fixed rows in grid order fill the slots; the other slots are free.
    FixedSlots toSlots() const;

    const std::vector<ItemLevelRow>& rows() const { return m_rows; }
    bool empty() const { return m_rows.empty(); }
    // Writes both prices of a row, as the price dialog of a fixed row does on OK.
    void setRowPrice(size_t index, const PricePair& price);

private:
    std::vector<ItemLevelRow> m_rows;
};

// The dialog that edits one row's price (frmCenaCenHlad): the first price is the one of the
// row's price type; only a fixed row's can be changed, and the second follows it.
class LevelRowPriceEdit {
public:
    LevelRowPriceEdit(const ItemLevelRow& row, double rate);

    static QString computedRowMessage() {
        return QStringLiteral("Manuální změnu ceny lze provádět pouze u fixních hladin!");
    }
    const QString& code() const { return m_row.Zkratka; }
    bool editable() const { return m_row.fixed(); }
    bool firstIsGross() const { return m_row.values.SDPH; }
    double first() const { return firstIsGross() ? m_price.gross : m_price.net; }
    double second() const { return firstIsGross() ? m_price.net : m_price.gross; }
    void setFirst(double value);
    const PricePair& price() const { return m_price; }
    // The captions the dialog shows: type, value, base and rounding.
    QString typeCaption() const;
    QString valueCaption() const;
    QString baseCaption() const;
    QString roundingCaption() const;

private:
    ItemLevelRow m_row;
    double m_rate;
    PricePair m_price;
};

} // namespace orvento::catalogue
