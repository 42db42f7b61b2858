#include "catalogue/pricing/PercentAdjustment.h"
#include "catalogue/pricing/Rounding.h"
#include "catalogue/pricing/VatConversion.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvento::catalogue;

namespace {

TEST(ConvertVat, CoefficientFromTheGrossSideKeepsFourDecimals) {
    const struct {
        double rate;
        double coefficient;
    } cases[] = {{21, 0.1736}, {15, 0.1304}, {12, 0.1071}, {10, 0.0909}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(convertVat(true, VatPart::Vat, c.rate, 1.0), c.coefficient) << c.rate;
        EXPECT_DOUBLE_EQ(convertVat(true, VatPart::Net, c.rate, 1.0), 1.0 - c.coefficient);
    }
}

TEST(ConvertVat, DirectionsUseCoefficientAndExactRate) {
    EXPECT_DOUBLE_EQ(convertVat(false, VatPart::Gross, 21, 100), 121);
    EXPECT_DOUBLE_EQ(convertVat(false, VatPart::Vat, 21, 100), 21);
    EXPECT_DOUBLE_EQ(convertVat(true, VatPart::Net, 21, 121), 99.9944);
    EXPECT_DOUBLE_EQ(convertVat(true, VatPart::Vat, 21, 121), 21.0056);
}

TEST(ConvertVat, DerivedPriceIsRoundedByTheRecordsCode) {
    EXPECT_EQ(derivedPrice(121, true, 21, RoundingCode::FourDecimals), 99.9944);
    EXPECT_EQ(derivedPrice(121, true, 21, RoundingCode::WholeUnits), 100);
    EXPECT_EQ(derivedPrice(121, true, 21, RoundingCode::Tenths), 100);
    EXPECT_EQ(derivedPrice(121, true, 21, 7), 99.9944);
    EXPECT_EQ(derivedPrice(125, false, 21, RoundingCode::FourDecimals), 151.25);
    EXPECT_EQ(derivedPrice(151.25, true, 21, RoundingCode::FourDecimals), 124.993);
}

TEST(ConvertVat, PairKeepsTheLeadingPriceUnrounded) {
    EXPECT_EQ(pairFromLeading(100.4567, false, 21, RoundingCode::WholeUnits),
              (PricePair{100.4567, 122}));
    // 121.55 - 121.55 * 0.1736 = 100.44892: a scaled fraction above .45 rounds up.
    EXPECT_EQ(pairFromLeading(121.55, true, 21, RoundingCode::Tenths), (PricePair{100.5, 121.55}));
}

TEST(ConvertVat, RateZeroOrMinusHundredKeepsBothMembersEqual) {
    for (const bool fromGross : {false, true}) {
        EXPECT_EQ(pairFromLeading(99.99, fromGross, 0, RoundingCode::FourDecimals),
                  (PricePair{99.99, 99.99}));
        EXPECT_EQ(convertVat(fromGross, VatPart::Vat, 0, 99.99), 0);
    }
    // The coefficient rate / (rate + 100) would divide by zero.
    EXPECT_EQ(convertVat(true, VatPart::Net, -100, 50), 50);
}

struct AdjustCase {
    int levelType;
    double base;
    double percent;
    double expected;
};

class ApplyValueTypeCase : public ::testing::TestWithParam<AdjustCase> {};

TEST_P(ApplyValueTypeCase, Adjusts) {
    const AdjustCase& c = GetParam();
    EXPECT_DOUBLE_EQ(applyValueType(c.levelType, c.base, c.percent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, ApplyValueTypeCase,
                         ::testing::Values(AdjustCase{LevelValueType::Discount, 200, 10, 180},
                                           AdjustCase{LevelValueType::Discount, 200, -10, 220},
                                           AdjustCase{LevelValueType::Margin, 100, 25, 125},
                                           AdjustCase{LevelValueType::Margin, 100, 100, 200},
                                           AdjustCase{LevelValueType::Margin, 100, -20, 80},
                                           AdjustCase{LevelValueType::Margin, 100, -100, 0},
                                           AdjustCase{LevelValueType::Rabat, 100, 20, 125},
                                           AdjustCase{LevelValueType::Rabat, 100, 100, 0},
                                           AdjustCase{LevelValueType::Rabat, 100, 120, -500},
                                           AdjustCase{5, 100, 50, 100}));

TEST(SalePriceFromPurchase, NetFirstThenGross) {
    EXPECT_EQ(salePriceFromPurchase(100, ItemValueType::Margin, 25, 21, 0),
              (PricePair{125, 151.25}));
    EXPECT_EQ(salePriceFromPurchase(100, ItemValueType::Margin, 25, 21, RoundingCode::WholeUnits),
              (PricePair{125, 151}));
    EXPECT_EQ(salePriceFromPurchase(100, ItemValueType::Rabat, 20, 21, 0),
              (PricePair{125, 151.25}));
    EXPECT_EQ(salePriceFromPurchase(100, ItemValueType::Rabat, 100, 21, 0), (PricePair{0, 0}));
    EXPECT_EQ(salePriceFromPurchase(0, ItemValueType::Margin, 25, 21, 0), (PricePair{0, 0}));
    EXPECT_EQ(salePriceFromPurchase(100, 9, 25, 21, 0), (PricePair{125, 151.25}));
    // Rounded net, then the gross price from it: 123.456 → 123.5 → 149.435 → 149.4.
    EXPECT_EQ(salePriceFromPurchase(123.456, ItemValueType::Margin, 0, 21, RoundingCode::Tenths),
              (PricePair{123.5, 149.4}));
}

TEST(SalePriceFromPurchase, LevelPriceLeadsWithTheBasesType) {
    EXPECT_EQ(levelPricePair(LevelValueType::Discount, 151.25, true, 10, 21, 0),
              (PricePair{112.4937, 136.125}));
    EXPECT_EQ(levelPricePair(LevelValueType::Rabat, 100, false, 100, 21, 0), (PricePair{0, 0}));
}

TEST(ActualPercentages, FromPurchaseAndNetPrice) {
    EXPECT_DOUBLE_EQ(actualMargin(100, 125), 25);
    EXPECT_DOUBLE_EQ(actualRabat(100, 125), 20);
    EXPECT_EQ(actualMargin(0, 125), 0);
    EXPECT_EQ(actualRabat(0, 125), 100);
    EXPECT_EQ(actualMargin(100, 0), -100);
    EXPECT_EQ(actualRabat(100, 0), 0);
    EXPECT_EQ(actualRabat(0, 0), 0);
}

} // namespace
