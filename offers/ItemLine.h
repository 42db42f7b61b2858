#pragma once

#include "offers/OfferRecords.h"

namespace orvento::offers {

// Fills the computed prices of a price item from its sale price (`ProdCena`, with or without VAT
// by `SDPH`), discount, VAT rate, rounding code and quantity: the price after discount, the unit
// pair, the VAT, the line totals and the profit, each as its field holds it. Title and text items
// are left alone.
void computeLine(OfferItem& item);

} // namespace orvento::offers
