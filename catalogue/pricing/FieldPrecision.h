#pragma once

namespace orvento::catalogue {

// Decimals an amount or percentage field holds: two as a rule, four for prices and quantities.
inline constexpr int StandardFieldDecimals = 2;
inline constexpr int PriceFieldDecimals = 4;

// The value as a field of `decimals` (0..4) holds it: rounded half away from zero, so 408.375
// becomes 408.38 and -2.5 at no decimals -3. A value that misses a decimal midpoint only by the
// representation error of a double counts as the midpoint (1.005 → 1.01). Cards put every
// computed value through this, and writers store what the fields hold. Non-finite input gives 0.
double toFieldPrecision(double value, int decimals = StandardFieldDecimals);

} // namespace orvento::catalogue
