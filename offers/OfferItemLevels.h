#pragma once

#include "catalogue/ItemCard.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/pricing/VatConversion.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::offers {

// One entry of the price levels an offer item from the catalogue may take its price from.
struct ItemLevelChoice {
    QString code; // empty for the basic sale price
    catalogue::PricePair price;
    int Zaok = 0;
    bool SDPH = false;
    bool exists = true; // false: kept for an item whose level has gone from the group

    QString caption() const;
    // The price the item takes: with VAT when the level's price type is with VAT.
    double salePrice() const { return SDPH ? price.gross : price.net; }
};

QString basicLevelCaption(); // "<základní prodejní>"

// The basic sale price of the catalogue row, then each level row of its price group in the
// group's order with the price the level gives this item.
std::vector<ItemLevelChoice> levelChoices(const catalogue::ItemRecord& row,
                                          const catalogue::PriceGroupData& groups);
// The entry of a level code, compared ignoring letter case; an empty code is the basic price.
std::optional<std::size_t> findLevel(const std::vector<ItemLevelChoice>& levels,
                                     const QString& code);

} // namespace orvento::offers
