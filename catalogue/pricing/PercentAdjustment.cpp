#include "catalogue/pricing/PercentAdjustment.h"

#include "catalogue/pricing/ExtendedPricing.h"
#include "catalogue/pricing/Rounding.h"

namespace orvento::catalogue {

long double extended::applyValueType(int levelType, long double base, long double percent) {
    switch (levelType) {
    case LevelValueType::Discount:
        return base - base * percent / 100.0L;
    case LevelValueType::Margin:
        return base * (percent + 100.0L) / 100.0L;
    case LevelValueType::Rabat:
        return percent == 100.0L ? 0.0L : base * 100.0L / (100.0L - percent);
    default:
        return base;
    }
}

double applyValueType(int levelType, double base, double percent) {
    return static_cast<double>(extended::applyValueType(levelType, base, percent));
}

PricePair levelPricePair(int levelType, double base, bool baseIsGross, double percent, double rate,
                         int zaok) {
    const double leading =
        roundPrice(extended::applyValueType(levelType, base, percent), decimalsOfZaok(zaok));
    return pairFromLeading(leading, baseIsGross, rate, zaok);
}

PricePair salePriceFromPurchase(double purchase, int itemValueType, double percent, double rate,
                                int zaok) {
    // An item's margin and rabat are the level formulas on the purchase price, without VAT.
    const int levelType =
        itemValueType == ItemValueType::Rabat ? LevelValueType::Rabat : LevelValueType::Margin;
    return levelPricePair(levelType, purchase, false, percent, rate, zaok);
}

double actualMargin(double purchase, double net) {
    if (purchase == 0.0) {
        return 0.0;
    }
    return static_cast<double>(static_cast<long double>(net) / purchase * 100.0L - 100.0L);
}

double actualRabat(double purchase, double net) {
    if (net == 0.0) {
        return 0.0;
    }
    return static_cast<double>(100.0L - static_cast<long double>(purchase) / net * 100.0L);
}

double discountPercent(double base, double target) {
    if (base == 0.0) {
        return 0.0;
    }
    return static_cast<double>(100.0L - static_cast<long double>(target) * 100.0L / base);
}

} // namespace orvento::catalogue
