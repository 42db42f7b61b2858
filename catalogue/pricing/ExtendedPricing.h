#pragma once

// The arithmetic in 80-bit extended precision, for chaining inside this folder: a computation
// keeps its intermediate values extended and turns into a double only when it is rounded or
// returned. Callers elsewhere use the double routines of Rounding.h, VatConversion.h and
// PercentAdjustment.h.

#include "catalogue/pricing/VatConversion.h"

namespace orvento::catalogue::extended {

long double roundPrice(long double value, int decimals);
long double convertVat(bool fromGross, VatPart result, long double rate, long double value);
long double applyValueType(int levelType, long double base, long double percent);

} // namespace orvento::catalogue::extended
