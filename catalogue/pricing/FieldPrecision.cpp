#include "catalogue/pricing/FieldPrecision.h"

#include "catalogue/pricing/DecimalScale.h"

namespace orvento::catalogue {

double toFieldPrecision(double value, int decimals) {
    const long double units =
        decimal_scale::roundToUnits(value, decimals, [](long double fraction, long double slack) {
            return fraction >= 0.5L - slack;
        });
    return decimal_scale::toDouble(units, decimals);
}

} // namespace orvento::catalogue
