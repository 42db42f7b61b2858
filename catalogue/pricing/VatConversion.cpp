#include "catalogue/pricing/VatConversion.h"

#include "catalogue/pricing/ExtendedPricing.h"
#include "catalogue/pricing/Rounding.h"

namespace orvento::catalogue {

namespace {

long double vatCoefficient(bool fromGross, long double rate) {
    if (rate == 0.0L) {
        return 0.0L;
    }
    if (!fromGross) {
        return rate / 100.0L;
    }
    // A rate of -100 % has no price with VAT to come from; rather than an infinite coefficient
    // that would end up in stored prices, such a price is taken to carry no VAT.
    const long double divisor = rate + 100.0L;
    return divisor == 0.0L ? 0.0L : extended::roundPrice(rate / divisor, 4);
}

} // namespace

long double extended::convertVat(bool fromGross, VatPart result, long double rate,
                                 long double value) {
    const long double vat = value * vatCoefficient(fromGross, rate);
    switch (result) {
    case VatPart::Net:
        return fromGross ? value - vat : value;
    case VatPart::Gross:
        return fromGross ? value : value + vat;
    case VatPart::Vat:
        break;
    }
    return vat;
}

double convertVat(bool fromGross, VatPart result, double rate, double value) {
    return static_cast<double>(extended::convertVat(fromGross, result, rate, value));
}

double derivedPrice(double leading, bool leadingIsGross, double rate, int zaok) {
    const VatPart other = leadingIsGross ? VatPart::Net : VatPart::Gross;
    return roundPrice(extended::convertVat(leadingIsGross, other, rate, leading),
                      decimalsOfZaok(zaok));
}

PricePair pairFromLeading(double leading, bool leadingIsGross, double rate, int zaok) {
    const double derived = derivedPrice(leading, leadingIsGross, rate, zaok);
    return leadingIsGross ? PricePair{derived, leading} : PricePair{leading, derived};
}

} // namespace orvento::catalogue
