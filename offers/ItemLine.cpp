#include "offers/ItemLine.h"

#include "catalogue/FieldPrecision.h"
#include "catalogue/PercentAdjustment.h"
#include "catalogue/Rounding.h"
#include "catalogue/VatConversion.h"

namespace orvento::offers {

void computeLine(OfferItem& item) {
    if (!item.isPriceItem())
        return;
    using catalogue::PriceFieldDecimals;
    using catalogue::toFieldPrecision;
    const double afterDiscount = catalogue::roundPrice(
        catalogue::applyValueType(catalogue::LevelValueType::Discount, item.ProdCena, item.Sleva),
        catalogue::decimalsOfZaok(item.Zaok));
    item.ProdCenaPo = toFieldPrecision(afterDiscount, PriceFieldDecimals);
    const catalogue::PricePair unit =
        catalogue::pairFromLeading(item.ProdCenaPo, item.SDPH, item.SazbaDPH, item.Zaok);
    item.PCBDPHMJ = toFieldPrecision(unit.net, PriceFieldDecimals);
    item.PCSDPHMJ = toFieldPrecision(unit.gross, PriceFieldDecimals);
    item.VyseDPHMJ = toFieldPrecision(item.PCSDPHMJ - item.PCBDPHMJ, PriceFieldDecimals);
    item.PCBDPHPOL = toFieldPrecision(item.PCBDPHMJ * item.PocetMJ);
    item.PCSDPHPOL = toFieldPrecision(item.PCSDPHMJ * item.PocetMJ);
    item.VyseDPHPol = toFieldPrecision(item.PCSDPHPOL - item.PCBDPHPOL);
    item.ZiskMJ = toFieldPrecision(item.PCBDPHMJ - item.NakCena);
    item.ZiskPol = toFieldPrecision((item.PCBDPHMJ - item.NakCena) * item.PocetMJ);
    item.NakCenaPol = item.NakCena * item.PocetMJ;
}

} // namespace orvento::offers
