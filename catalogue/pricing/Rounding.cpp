#include "catalogue/pricing/Rounding.h"

#include "catalogue/pricing/DecimalScale.h"
#include "catalogue/pricing/ExtendedPricing.h"

namespace orvento::catalogue {

namespace {

// The rounded price as a whole number of 10^-decimals units. The cut-off fraction, brought to
// one decimal with ties to even, moves the value from 5 tenths on; the only tie that decides
// anything is 4.5, which goes to 4 and stays. A stored .45 is never exactly .45 in binary
// (0.45 lies a hair above, 1.45 a hair below), so a fraction within the representation error of
// .45 counts as the tie and every .45 behaves alike.
long double priceUnits(long double value, int decimals) {
    return decimal_scale::roundToUnits(value, decimals,
                                       [](long double fraction, long double slack) {
                                           return 10.0L * fraction > 4.5L + 10.0L * slack;
                                       });
}

} // namespace

int decimalsOfZaok(int zaok) {
    switch (zaok) {
    case RoundingCode::WholeUnits:
        return 0;
    case RoundingCode::Tenths:
        return 1;
    default:
        return 4;
    }
}

double roundPrice(long double value, int decimals) {
    return decimal_scale::toDouble(priceUnits(value, decimals), decimals);
}

long double extended::roundPrice(long double value, int decimals) {
    return priceUnits(value, decimals) / decimal_scale::factorOf(decimals);
}

} // namespace orvento::catalogue
