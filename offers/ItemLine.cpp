#include "offers/ItemLine.h"

#include "offers/OfferItemPricing.h"

namespace orvento::offers {

void computeLine(OfferItem& item) {
    if (!item.isPriceItem())
        return;
    computeFromSalePrice(item);
}

} // namespace orvento::offers
