#pragma once

namespace orvento::catalogue {

// The member a VAT conversion returns.
enum class VatPart { Net, Gross, Vat };

// The two members of a price pair: without VAT and with VAT.
struct PricePair {
    double net = 0.0;
    double gross = 0.0;

    bool operator==(const PricePair&) const = default;
};

// Converts `value`, a price with VAT when `fromGross`, else without VAT, at `rate` percent and
// returns the member asked for. From the price without VAT the exact rate applies; from the
// price with VAT the coefficient rate / (rate + 100) kept to four decimals (21 % → 0.1736), so
// the two directions need not give back the starting value. The result is not rounded.
double convertVat(bool fromGross, VatPart result, double rate, double value);

// The other member of a price pair whose leading member is `leading`, converted and rounded with
// the decimals of the rounding code `zaok`.
double derivedPrice(double leading, bool leadingIsGross, double rate, int zaok);

// The whole pair: the leading member exactly as given (it is never rounded here) and the derived
// member from it.
PricePair pairFromLeading(double leading, bool leadingIsGross, double rate, int zaok);

} // namespace orvento::catalogue
