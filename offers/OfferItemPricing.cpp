#include "offers/OfferItemPricing.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "catalogue/pricing/PercentAdjustment.h"
#include "catalogue/pricing/Rounding.h"
#include "catalogue/pricing/VatConversion.h"

namespace orvento::offers {

namespace LevelValueType = catalogue::LevelValueType;
using catalogue::PriceFieldDecimals;
using catalogue::roundPrice;
using catalogue::StandardFieldDecimals;
using catalogue::toFieldPrecision;

namespace {

double price4(double value) {
    return toFieldPrecision(value, PriceFieldDecimals);
}
double held2(double value) {
    return toFieldPrecision(value, StandardFieldDecimals);
}
int decimalsOf(const OfferItem& item) {
    return catalogue::decimalsOfZaok(item.Zaok);
}

// The sale price in the item's price type for a net price computed from the purchase price.
double salePriceOfNet(const OfferItem& item, double net) {
    if (!item.SDPH)
        return net;
    return roundPrice(catalogue::convertVat(false, catalogue::VatPart::Gross, item.SazbaDPH, net),
                      decimalsOf(item));
}

// Steps 2 to 7 of the computation: everything that follows the price after discount.
void computeFromPriceAfter(OfferItem& item) {
    const int d = decimalsOf(item);
    const catalogue::PricePair unit =
        catalogue::pairFromLeading(item.ProdCenaPo, item.SDPH, item.SazbaDPH, item.Zaok);
    item.PCBDPHMJ = price4(unit.net);
    item.PCSDPHMJ = price4(unit.gross);
    item.VyseDPHMJ = price4(
        roundPrice(static_cast<long double>(item.PCSDPHMJ) - item.PCBDPHMJ, PriceFieldDecimals));
    item.ZiskMJ = held2(roundPrice(static_cast<long double>(item.PCBDPHMJ) - item.NakCena, 2));
    const long double quantity = item.PocetMJ;
    item.ZiskPol = held2(roundPrice(quantity * item.PCBDPHMJ - quantity * item.NakCena, 2));
    item.PCBDPHPOL = held2(roundPrice(quantity * item.PCBDPHMJ, d));
    item.PCSDPHPOL = held2(roundPrice(quantity * item.PCSDPHMJ, d));
    item.VyseDPHPol = held2(item.PCSDPHPOL - item.PCBDPHPOL);
    item.NakCenaPol = static_cast<double>(static_cast<long double>(item.NakCena) * item.PocetMJ);
}

} // namespace

void holdFieldPrecision(OfferItem& item) {
    for (double* v : {&item.NakCena, &item.ProdCena, &item.ProdCenaPo, &item.PCBDPHMJ,
                      &item.PCSDPHMJ, &item.VyseDPHMJ, &item.PocetMJ})
        *v = price4(*v);
    for (double* v : {&item.Sleva, &item.Marze, &item.Rabat, &item.ZiskMJ, &item.ZiskPol,
                      &item.PCBDPHPOL, &item.PCSDPHPOL, &item.VyseDPHPol})
        *v = held2(*v);
}

double netOfSalePrice(const OfferItem& item) {
    if (!item.SDPH)
        return item.ProdCena;
    return roundPrice(
        catalogue::convertVat(true, catalogue::VatPart::Net, item.SazbaDPH, item.ProdCena),
        decimalsOf(item));
}

void marginFromPrice(OfferItem& item) {
    item.Marze = held2(catalogue::actualMargin(item.NakCena, netOfSalePrice(item)));
}

void rabatFromPrice(OfferItem& item) {
    item.Rabat = held2(catalogue::actualRabat(item.NakCena, netOfSalePrice(item)));
}

void priceFromMargin(OfferItem& item) {
    const double net =
        roundPrice(catalogue::applyValueType(LevelValueType::Margin, item.NakCena, item.Marze),
                   decimalsOf(item));
    item.ProdCena = price4(salePriceOfNet(item, net));
}

void priceFromRabat(OfferItem& item) {
    // The level formula gives 0 at a rabat of 100 % instead of dividing by zero.
    const double net =
        roundPrice(catalogue::applyValueType(LevelValueType::Rabat, item.NakCena, item.Rabat),
                   decimalsOf(item));
    item.ProdCena = price4(salePriceOfNet(item, net));
}

void computeFromSalePrice(OfferItem& item) {
    item.ProdCenaPo = price4(
        roundPrice(catalogue::applyValueType(LevelValueType::Discount, item.ProdCena, item.Sleva),
                   decimalsOf(item)));
    computeFromPriceAfter(item);
}

void computeFromPriceAfterDiscount(OfferItem& item) {
    // The price before a discount is the rabat formula on the price after it; 0 at 100 %.
    item.ProdCena =
        price4(catalogue::applyValueType(LevelValueType::Rabat, item.ProdCenaPo, item.Sleva));
    marginFromPrice(item);
    rabatFromPrice(item);
    computeFromPriceAfter(item);
}

void recomputeItem(OfferItem& item, RecomputeKind kind) {
    if (!item.isPriceItem())
        return;
    holdFieldPrecision(item);
    switch (kind) {
    case RecomputeKind::Margin:
        priceFromMargin(item);
        rabatFromPrice(item);
        break;
    case RecomputeKind::Rabat:
        priceFromRabat(item);
        marginFromPrice(item);
        break;
    case RecomputeKind::None:
    case RecomputeKind::Discount:
        marginFromPrice(item);
        rabatFromPrice(item);
        break;
    }
    computeFromSalePrice(item);
}

} // namespace orvento::offers
