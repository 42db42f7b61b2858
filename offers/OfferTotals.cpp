#include "offers/OfferTotals.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "catalogue/pricing/Rounding.h"

namespace orvento::offers {

OfferTotals computeTotals(const std::vector<OfferItem>& items, const OfferRates& rates) {
    // Sums are kept extended so a thousand lines add up without drift before the rounding.
    long double baseZero = 0, baseReduced = 0, vatReduced = 0, baseBasic = 0, vatBasic = 0;
    long double purchase = 0;
    OfferTotals t;
    for (const OfferItem& item : items) {
        purchase += static_cast<long double>(item.NakCena) * item.PocetMJ;
        if (item.Sleva != 0.0)
            t.anyDiscount = true;
        if (item.SazbaDPH == 0.0) {
            baseZero += item.PCBDPHPOL;
        } else if (item.SazbaDPH == rates.reduced) {
            baseReduced += item.PCBDPHPOL;
            vatReduced += item.VyseDPHPol;
        } else if (item.SazbaDPH == rates.basic) {
            baseBasic += item.PCBDPHPOL;
            vatBasic += item.VyseDPHPol;
        }
    }
    const long double net = baseZero + baseReduced + baseBasic;
    const long double vat = vatReduced + vatBasic;
    const long double gross = net + vat;
    t.baseZero = static_cast<double>(baseZero);
    t.baseReduced = static_cast<double>(baseReduced);
    t.vatReduced = static_cast<double>(vatReduced);
    t.baseBasic = static_cast<double>(baseBasic);
    t.vatBasic = static_cast<double>(vatBasic);
    t.totalNet = static_cast<double>(net);
    t.totalVat = static_cast<double>(vat);
    t.totalGross = static_cast<double>(gross);
    t.purchase = static_cast<double>(purchase);
    t.profit = static_cast<double>(net - purchase);

    using catalogue::toFieldPrecision;
    const double storedNet = rates.nabZaok != 0 ? catalogue::roundPrice(net, 0) : t.totalNet;
    const double storedGross = rates.nabZaok != 0 ? catalogue::roundPrice(gross, 0) : t.totalGross;
    t.celkemBDPH = toFieldPrecision(storedNet);
    t.celkem = toFieldPrecision(storedGross);
    t.zisk = toFieldPrecision(t.profit);
    t.celkemNC = toFieldPrecision(t.purchase);
    return t;
}

MarkedSums sumMarked(const std::vector<OfferItem>& items, const std::vector<bool>& marks) {
    long double purchase = 0, net = 0, gross = 0, profit = 0;
    for (std::size_t i = 0; i < items.size() && i < marks.size(); ++i) {
        if (!marks[i])
            continue;
        purchase += items[i].NakCenaPol;
        net += items[i].PCBDPHPOL;
        gross += items[i].PCSDPHPOL;
        profit += items[i].ZiskPol;
    }
    return {static_cast<double>(purchase), static_cast<double>(net), static_cast<double>(gross),
            static_cast<double>(profit)};
}

} // namespace orvento::offers
