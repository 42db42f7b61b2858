#pragma once

namespace orvento::catalogue {

// Rounding codes (`Zaok`) as stored and as indexed in every rounding combo box. Any other stored
// value behaves like FourDecimals.
namespace RoundingCode {
inline constexpr int FourDecimals = 0; // "nezaokrouhlovat": still the precision of entry
inline constexpr int WholeUnits = 1;   // "na koruny"
inline constexpr int Tenths = 2;       // "na desetníky"
} // namespace RoundingCode

// The decimals a rounding code keeps: 1 → 0, 2 → 1, anything else → 4.
int decimalsOfZaok(int zaok);

// Rounds a price, a VAT coefficient, a VAT amount or a line total to `decimals` (0..4; values
// outside are brought into that range). The scaled fraction is first brought to one decimal and
// moves the value away from zero from 5 tenths on: fractions above .45 round away from zero, a
// fraction of exactly .45 stays, and a value stored a hair below a midpoint still rounds up
// (1.005 → 1.01 at two decimals). Negative values round symmetrically. Takes the extended
// intermediate so that callers chaining a computation lose nothing before the rounding. Non-finite
// input gives 0.
double roundPrice(long double value, int decimals);

} // namespace orvento::catalogue
