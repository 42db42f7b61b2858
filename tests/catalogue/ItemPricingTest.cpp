#include "catalogue/pricing/ItemPricing.h"

#include <gtest/gtest.h>

using namespace orvento::catalogue;

namespace {

// Purchase 100, margin 25 %, rate 21 %, no rounding, sale price following the purchase price.
ItemPriceFields marginItem(bool sdph) {
    ItemPriceFields f;
    f.NakCena = 100;
    f.SazbaDPH = 21;
    f.SDPH = sdph;
    f.Prepocitat = true;
    f.Marze = 25;
    f.Rabat = 20;
    return f;
}

PricePair pairOf(const ItemPricing& item) {
    return {item.fields().PrCenaBDPH, item.fields().PrCenaSDPH};
}

TEST(ItemPricing, FullRecomputationDerivesNetAgainFromRoundedGross) {
    ItemPricing withoutVat(marginItem(false));
    withoutVat.recompute();
    EXPECT_EQ(pairOf(withoutVat), (PricePair{125, 151.25}));

    ItemPricing withVat(marginItem(true));
    withVat.recompute();
    EXPECT_EQ(pairOf(withVat), (PricePair{124.993, 151.25}));
    EXPECT_DOUBLE_EQ(withVat.actualMargin(), 24.993);
}

TEST(ItemPricing, FullRecomputationWithoutFollowingOnlyDerives) {
    ItemPriceFields f = marginItem(true);
    f.Prepocitat = false;
    f.PrCenaSDPH = 121;
    f.PrCenaBDPH = 1; // stale
    f.Zaok = 9;       // unknown codes keep four decimals
    ItemPricing item(f);
    item.recompute();
    EXPECT_EQ(pairOf(item), (PricePair{99.9944, 121}));
}

TEST(ItemPricing, PurchaseSidePricesTheItemOnlyWhileFollowing) {
    ItemPriceFields f = marginItem(false);
    f.Prepocitat = false;
    f.PrCenaBDPH = 150;
    f.PrCenaSDPH = 181.5;
    ItemPricing item(f);
    item.setNakCena(120);
    item.setMarze(50);
    item.setTypHodnoty(ItemValueType::Rabat);
    EXPECT_EQ(pairOf(item), (PricePair{150, 181.5}));
    EXPECT_DOUBLE_EQ(item.actualMargin(), 25);
    EXPECT_DOUBLE_EQ(item.actualRabat(), 20);

    item.setPrepocitat(true); // rabat 20 % on 120
    EXPECT_EQ(pairOf(item), (PricePair{150, 181.5}));
    item.setRabat(40);
    EXPECT_EQ(pairOf(item), (PricePair{200, 242}));
    item.setTypHodnoty(ItemValueType::Margin);
    EXPECT_EQ(pairOf(item), (PricePair{180, 217.8}));
    item.setNakCena(200);
    EXPECT_EQ(pairOf(item), (PricePair{300, 363}));
}

TEST(ItemPricing, SwitchingFollowingOnRecomputesButKeepingItOnDoesNot) {
    ItemPricing item(marginItem(false));
    item.setLeadingPrice(130);
    item.setPrepocitat(true);
    EXPECT_EQ(item.fields().PrCenaBDPH, 130);
    item.setPrepocitat(false);
    item.setPrepocitat(true);
    EXPECT_EQ(item.fields().PrCenaBDPH, 125);
}

TEST(ItemPricing, SellingSideDerivesFromTheUnroundedLeadingPrice) {
    ItemPricing item(marginItem(false));
    item.setZaok(RoundingCode::WholeUnits);
    item.setLeadingPrice(100.45678); // held to four decimals, not rounded by the code
    EXPECT_EQ(pairOf(item), (PricePair{100.4568, 122}));
    item.setSazbaDPH(0); // the derived member is still rounded by the code: .4568 is above .45
    EXPECT_EQ(pairOf(item), (PricePair{100.4568, 101}));
    item.setSazbaDPH(21);
    item.setZaok(RoundingCode::Tenths);
    EXPECT_EQ(pairOf(item), (PricePair{100.4568, 121.6}));
}

TEST(ItemPricing, ChangingThePriceTypeReinterpretsTheLeadingNumber) {
    ItemPricing item(marginItem(false));
    item.setLeadingPrice(100);
    item.setSDPH(true);
    EXPECT_EQ(pairOf(item), (PricePair{82.64, 100}));
    item.setSDPH(false);
    EXPECT_EQ(pairOf(item), (PricePair{100, 121}));
}

TEST(ItemPricing, FieldsHoldTheirDecimals) {
    ItemPriceFields f = marginItem(false);
    f.NakCena = 10.123456;
    f.PrCenaBDPH = 0.00005;
    f.Marze = 12.345;
    f.Rabat = -0.005;
    const ItemPricing item(f);
    EXPECT_EQ(item.fields().NakCena, 10.1235);
    EXPECT_EQ(item.fields().PrCenaBDPH, 0.0001);
    EXPECT_EQ(item.fields().Marze, 12.35);
    EXPECT_EQ(item.fields().Rabat, -0.01);

    ItemPricing edited(marginItem(false));
    edited.setMarze(33.333333); // 100 × 133.33 %
    EXPECT_EQ(edited.fields().Marze, 33.33);
    EXPECT_EQ(pairOf(edited), (PricePair{133.33, 161.3293}));
}

} // namespace
