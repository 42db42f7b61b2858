#pragma once

#include "catalogue/pricing/VatConversion.h"

namespace orvento::catalogue {

// Value types of a catalogue item and of a price group (`TypHodnoty` of `Zasoby`, `CenSkup`):
// how the sale price follows the purchase price. Any other stored value behaves like Margin.
namespace ItemValueType {
inline constexpr int Margin = 0; // "pevné marže"
inline constexpr int Rabat = 1;  // "pevného rabatu"
} // namespace ItemValueType

// Value types of a price level and a group's level row (`TypHodnoty` of `CenHlad`, `CenSkupPol`).
namespace LevelValueType {
inline constexpr int Discount = 0; // "sleva":  base − base × p / 100
inline constexpr int Margin = 1;   // "marže":  base × (p + 100) / 100
inline constexpr int Rabat = 2;    // "rabat":  base × 100 / (100 − p), 0 when p is 100
} // namespace LevelValueType

// Applies `percent` to `base` by a level value type; unrounded. A rabat of exactly 100 % gives 0
// (no division), a rabat above 100 % a negative price. An unknown type leaves the base as it is.
// The same formulas serve offer items: a discount is Discount, and the price before a discount
// from the price after it is Rabat.
double applyValueType(int levelType, double base, double percent);

// A level's price pair: the adjusted base rounded by the level's code is the leading member, with
// VAT exactly when the base is; the other member is derived from it.
PricePair levelPricePair(int levelType, double base, bool baseIsGross, double percent, double rate,
                         int zaok);

// The sale price pair an item's purchase price gives by its value type (`TypHodnoty`) and the
// matching percentage (`Marze` or `Rabat`): the net price rounded by the code first, the price
// with VAT from it, whatever the item's price type.
PricePair salePriceFromPurchase(double purchase, int itemValueType, double percent, double rate,
                                int zaok);

// The percentages that a purchase price and a net sale price actually give; for display only.
// Margin: net / purchase × 100 − 100, 0 without a purchase price. Rabat: 100 − purchase / net ×
// 100, 0 without a sale price.
double actualMargin(double purchase, double net);
double actualRabat(double purchase, double net);

// The discount in percent that takes `base` to `target`: 100 − target × 100 / base; a target
// above the base gives a negative discount, a surcharge. 0 without a base, so a base that rounds
// to nothing never divides by zero.
double discountPercent(double base, double target);

} // namespace orvento::catalogue
