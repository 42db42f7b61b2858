#pragma once

#include "catalogue/ItemRecord.h"
#include "catalogue/PriceLevelRecords.h"
#include "catalogue/pricing/VatConversion.h"

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// What a level price needs of the item: its basic price data and its fixed-level slots.
struct LevelPriceItem {
    bool SDPH = false;     // the item's price type
    double SazbaDPH = 0.0; // the item's rate
    double leading = 0.0;  // the leading basic price (with VAT when SDPH)
    double NakCena = 0.0;  // purchase price
    FixedSlots fixedSlots;

    static LevelPriceItem of(const ItemRecord& item);
};

// The first slot (1..3) whose code equals `code` ignoring letter case; the search stops at the
// first free slot. 0 when none.
int fixedSlotOf(const QString& code, const FixedSlots& fixedSlots);

// The price of a computed level: the level's value type applied to the item's leading basic
// price (with VAT when the item's is) or to the purchase price (without VAT), rounded by the
// level's code. The level's own price type plays no part.
PricePair computedLevelPrice(const LevelParameters& level, const LevelPriceItem& item);

// The price of the level row on the item: computed, or the stored prices of the item's slot for
// a fixed level (0 and 0 when no slot holds the level).
PricePair levelRowPrice(const QString& code, const LevelParameters& level,
                        const LevelPriceItem& item);

// An item's price on a level through the level rows of its group: nothing when the group has
// no row of that code.
std::optional<PricePair> levelPrice(const std::vector<GroupLevelRow>& groupRows,
                                    const QString& levelCode, const LevelPriceItem& item);
std::optional<PricePair> levelPrice(core::Database& db, qint64 groupId, const QString& levelCode,
                                    const LevelPriceItem& item);

} // namespace orvento::catalogue
