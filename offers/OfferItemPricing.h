#pragma once

#include "offers/OfferRecords.h"

namespace orvento::offers {

// What an operation changed on an item before the rest of it follows: a discount (or nothing
// but the rate or the price) keeps the sale price, a margin or rabat computes the sale price from
// the purchase price.
enum class RecomputeKind { None, Discount, Margin, Rabat };

// The decimals the item card's fields hold: four for the unit prices, the VAT per unit and the
// quantity, two for the percentages, the profit and the line values.
void holdFieldPrecision(OfferItem& item);

// The sale price without VAT: the price itself when it is without VAT, else derived from it by
// the item's rate and rounding code.
double netOfSalePrice(const OfferItem& item);

// The steps the card and every silent recomputation chain. Each reads the item as its fields hold
// it and leaves every value it sets held as its field holds it.
void marginFromPrice(OfferItem& item);
void rabatFromPrice(OfferItem& item);
void priceFromMargin(OfferItem& item);
void priceFromRabat(OfferItem& item);
// From the sale price before discount: the price after discount, the unit pair, the VAT, the
// line totals and the profit. The price after discount is rounded by the code before the VAT is
// added or taken away, and the line totals come from the rounded unit prices.
void computeFromSalePrice(OfferItem& item);
// After the price after discount was typed: the sale price back from it (0 at a discount of
// 100 %), margin and rabat, then the rest from the typed price.
void computeFromPriceAfterDiscount(OfferItem& item);

// The recomputation without a card: the item as the fields would hold it, then the steps of the
// kind. Title and text items are left alone.
void recomputeItem(OfferItem& item, RecomputeKind kind);

} // namespace orvento::offers
