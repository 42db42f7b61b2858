#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

// Shared by the price rounding and the field precision; not meant for callers outside this
// folder.
namespace orvento::catalogue::decimal_scale {

// Prices are kept to at most four decimals; a request outside 0..4 is brought into that range.
inline long double factorOf(int decimals) {
    static constexpr std::array<long double, 5> factors{1.0L, 10.0L, 100.0L, 1000.0L, 10000.0L};
    return factors[static_cast<std::size_t>(std::clamp(decimals, 0, 4))];
}

// How far a scaled value may sit from the decimal it stands for only because a double cannot
// hold most decimals exactly (a few units in the last place of a double, plus what one or two
// operations add). A fraction within this distance of a midpoint counts as the midpoint.
inline long double representationSlack(long double scaled) {
    return std::fabs(scaled) * 0x1p-49L;
}

// From this magnitude on every long double is an integer: 2^63 with the 80-bit type.
inline constexpr long double integerThreshold = [] {
    long double power = 1.0L;
    for (int bit = 1; bit < std::numeric_limits<long double>::digits; ++bit) {
        power *= 2.0L;
    }
    return power;
}();

// The integer part, toward zero. std::trunc on long double switches the x87 rounding mode on every
// call, which costs more than all the rest of a rounding. Below half the threshold, adding and
// taking away the threshold leaves an adjacent integer instead (the sum still has a spacing of
// one), which is then corrected to the one toward zero.
inline long double integerPart(long double x) {
    const long double magnitude = std::fabs(x);
    if (!(magnitude < integerThreshold / 2.0L)) {
        return std::trunc(x);
    }
    long double whole = (magnitude + integerThreshold) - integerThreshold;
    if (whole > magnitude) {
        whole -= 1.0L;
    }
    return std::copysign(whole, x);
}

// `value` as a whole number of 10^-decimals units: cut toward zero, then moved one unit away
// from zero when `movesAway(fraction, slack)` says so for the cut-off fraction (0 <= fraction < 1)
// and the representation slack of the scaled value. Non-finite input gives 0.
template <typename MovesAway>
long double roundToUnits(long double value, int decimals, MovesAway movesAway) {
    if (!std::isfinite(value)) {
        return 0.0L;
    }
    const long double scaled = value * factorOf(decimals);
    const long double units = integerPart(scaled);
    if (!movesAway(std::fabs(scaled - units), representationSlack(scaled))) {
        return units;
    }
    return value < 0.0L ? units - 1.0L : units + 1.0L;
}

// Turns a whole number of 10^-decimals units back into a double. Dividing in double gives the
// double nearest to the decimal, so a value that is already held to these decimals comes back
// bit for bit. Negative zero and values that do not fit a double become plain 0: neither may
// reach a field or a stored row.
inline double toDouble(long double units, int decimals) {
    const double result = static_cast<double>(units) / static_cast<double>(factorOf(decimals));
    return (result == 0.0 || !std::isfinite(result)) ? 0.0 : result;
}

} // namespace orvento::catalogue::decimal_scale
