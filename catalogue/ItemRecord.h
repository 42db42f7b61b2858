#pragma once

#include "catalogue/pricing/ItemPricing.h"
#include "core/RecordMapping.h"

#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// One slot of a fixed level's prices on an item (`CenHlad1`, `PrCenaBDPH1`, `PrCenaSDPH1`,
// `SDPH1` and the same for 2 and 3); an empty code is a free slot.
struct FixedSlot {
    QString CenHlad;
    double PrCenaBDPH = 0.0;
    double PrCenaSDPH = 0.0;
    bool SDPH = false;

    bool operator==(const FixedSlot&) const = default;
};
using FixedSlots = std::array<FixedSlot, 3>;

// The widths of the item's texts; the card's fields and every writer keep to them.
namespace ItemWidth {
inline constexpr int Popis = 50;
inline constexpr int Katalog = 20;
inline constexpr int BarCode = 20;
inline constexpr int PLU = 6;
inline constexpr int Zkratka = 20;
inline constexpr int TextMJ = 10;
inline constexpr int Identif = 255;
inline constexpr int Obrazek = 30;
} // namespace ItemWidth

// A catalogue item (`Zasoby`) as the item card reads and writes it.
struct ItemRecord {
    qint64 ID = -1;
    qint64 Sklad = 0;
    qint64 Skupina = 0;
    QString Popis;
    QString Katalog;
    QString BarCode;
    QString PLU;
    QString Poznamka;
    QString Zkratka;
    QString TextMJ;
    QString Identif;
    QString Dostupnost;
    QString Obrazek;
    QString CenSkupina;
    ItemPriceFields price;
    bool Nakladova = false;
    bool Chyba = false; // unfinished: the prices must be recomputed
    FixedSlots fixedSlots;
};

// The columns a new item is inserted with (every column the card knows).
const core::RecordMapping<ItemRecord>& zasobyMapping();
// What saving an existing item from its card writes: the same without `Sklad` and `Skupina`.
const core::RecordMapping<ItemRecord>& zasobyCardUpdateMapping();
// What the silent recomputation writes: the price data only, never the descriptive columns.
const core::RecordMapping<ItemRecord>& zasobyPriceMapping();

// The stored item, or nothing when it is gone (or the table cannot be read).
std::optional<ItemRecord> readItem(core::Database& db, qint64 id);
// The stored rows of many items at once, a chunk of IDs per query; an ID without a row is simply
// absent. Reading them one by one would cost a query per item.
std::map<qint64, ItemRecord> readCatalogueRows(core::Database& db, const std::vector<qint64>& ids);

// Texts cut to the widths of their columns.
void clipTexts(ItemRecord& item);

} // namespace orvento::catalogue
