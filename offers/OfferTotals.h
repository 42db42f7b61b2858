#pragma once

#include "offers/OfferRecords.h"

#include <vector>

namespace orvento::offers {

// The VAT rates and total rounding an offer keeps for itself.
struct OfferRates {
    double basic = 0.0;   // SazDPHZakl
    double reduced = 0.0; // SazDPHSniz
    int nabZaok = 0;      // non-zero rounds the two stored totals to whole units
};

// The sums of an offer as the card shows them. The stored four (celkem, celkemBDPH, zisk,
// celkemNC) are held as their two-decimal fields hold them.
struct OfferTotals {
    double baseZero = 0.0;
    double baseReduced = 0.0;
    double vatReduced = 0.0;
    double baseBasic = 0.0;
    double vatBasic = 0.0;
    double totalNet = 0.0; // unrounded sum of the three bases
    double totalVat = 0.0;
    double totalGross = 0.0; // unrounded, as the history description shows it
    double purchase = 0.0;   // Σ NakCena × PocetMJ
    double profit = 0.0;     // unrounded total without VAT − purchase
    bool anyDiscount = false;

    double celkem = 0.0;
    double celkemBDPH = 0.0;
    double zisk = 0.0;
    double celkemNC = 0.0;

    double grossAtReduced() const { return baseReduced + vatReduced; }
    double grossAtBasic() const { return baseBasic + vatBasic; }
};

// Every item counts in the purchase price; an item counts in the base and VAT of the first rate
// it equals in the order zero, reduced, basic (so rates that coincide never count it twice), and
// in none when it equals no rate.
OfferTotals computeTotals(const std::vector<OfferItem>& items, const OfferRates& rates);

// The footer of the item grid: the line totals of the marked items (zero when none is marked).
struct MarkedSums {
    double purchase = 0.0; // Σ NakCenaPol
    double net = 0.0;      // Σ PCBDPHPOL
    double gross = 0.0;    // Σ PCSDPHPOL
    double profit = 0.0;   // Σ ZiskPol
};
MarkedSums sumMarked(const std::vector<OfferItem>& items, const std::vector<bool>& marks);

} // namespace orvento::offers
