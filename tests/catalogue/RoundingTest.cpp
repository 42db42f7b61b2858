#include "catalogue/pricing/Rounding.h"
#include "catalogue/pricing/FieldPrecision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace orvento::catalogue;

namespace {

struct RoundCase {
    double value;
    int decimals;
    double expected;
};

// Exact comparisons throughout: a rounded value must be the double nearest to its decimal.
class RoundPriceCase : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundPriceCase, Rounds) {
    EXPECT_EQ(roundPrice(GetParam().value, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, RoundPriceCase,
                         ::testing::Values(RoundCase{10.451, 0, 11}, RoundCase{10.449, 0, 10},
                                           RoundCase{12.46, 0, 13}, RoundCase{-12.46, 0, -13},
                                           RoundCase{2.5, 0, 3}, RoundCase{1.25, 1, 1.3},
                                           RoundCase{2.345, 2, 2.35}, RoundCase{1.005, 2, 1.01},
                                           RoundCase{2.675, 2, 2.68}, RoundCase{151.25, 0, 151},
                                           RoundCase{151.5, 0, 152}, RoundCase{-151.5, 0, -152},
                                           RoundCase{99.99444, 4, 99.9944}, RoundCase{0.46, 0, 1},
                                           RoundCase{-0.46, 0, -1}, RoundCase{1.2345, 3, 1.235},
                                           RoundCase{-1e16 - 2, 4, -1e16 - 2}));

// A fraction of exactly .45 stays down however the double happens to lie around it.
INSTANTIATE_TEST_SUITE_P(ExactlyFortyFiveHundredths, RoundPriceCase,
                         ::testing::Values(RoundCase{0.45, 0, 0}, RoundCase{1.45, 0, 1},
                                           RoundCase{2.45, 0, 2}, RoundCase{-2.45, 0, -2},
                                           RoundCase{0.045, 1, 0},
                                           RoundCase{123456.789445, 4, 123456.7894}));

TEST(RoundPrice, ExtendedInputAtTheTieStaysDown) {
    EXPECT_EQ(roundPrice(0.45L, 0), 0.0);
}

TEST(RoundPrice, DecimalsOfEveryRoundingCode) {
    EXPECT_EQ(decimalsOfZaok(RoundingCode::FourDecimals), 4);
    EXPECT_EQ(decimalsOfZaok(RoundingCode::WholeUnits), 0);
    EXPECT_EQ(decimalsOfZaok(RoundingCode::Tenths), 1);
    for (const int stray : {-1, 3, 99}) {
        EXPECT_EQ(decimalsOfZaok(stray), 4) << stray;
    }
}

TEST(RoundPrice, NeverYieldsNegativeZeroOrNonFiniteValues) {
    EXPECT_FALSE(std::signbit(roundPrice(-0.3, 0)));
    EXPECT_FALSE(std::signbit(toFieldPrecision(-0.001, 2)));
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(roundPrice(bad, 2), 0.0);
        EXPECT_EQ(toFieldPrecision(bad, 2), 0.0);
    }
}

class FieldPrecisionCase : public ::testing::TestWithParam<RoundCase> {};

TEST_P(FieldPrecisionCase, HoldsHalfAwayFromZero) {
    EXPECT_EQ(toFieldPrecision(GetParam().value, GetParam().decimals), GetParam().expected);
}

// Plain half away from zero: unlike prices, a fraction of .46 stays down.
INSTANTIATE_TEST_SUITE_P(Examples, FieldPrecisionCase,
                         ::testing::Values(RoundCase{408.375, 2, 408.38}, RoundCase{2.345, 2, 2.35},
                                           RoundCase{-2.345, 2, -2.35}, RoundCase{1.005, 2, 1.01},
                                           RoundCase{2.675, 2, 2.68}, RoundCase{0.125, 2, 0.13},
                                           RoundCase{1.2349, 2, 1.23},
                                           RoundCase{1.23456, 4, 1.2346}, RoundCase{-2.5, 0, -3},
                                           RoundCase{1.46, 0, 1}, RoundCase{12.344999, 2, 12.34}));

TEST(RoundPrice, EveryFortyFiveStaysAndEveryFortySixMoves) {
    for (long long n = -20000; n <= 20000; n += 7) {
        const double held = static_cast<double>(n) / 1000.0;
        const double away = static_cast<double>(n < 0 ? n - 1 : n + 1) / 1000.0;
        const double step = n < 0 ? -1.0 : 1.0;
        ASSERT_EQ(roundPrice(held + step * 0.00045, 3), held) << n;
        ASSERT_EQ(roundPrice(held + step * 0.00046, 3), away) << n;
    }
}

// Properties every rounding of the system must have, checked on a spread of values at each
// number of decimals.
struct Rounder {
    const char* name;
    std::function<double(double, int)> round;
};

class RoundingProperties : public ::testing::TestWithParam<Rounder> {
protected:
    static std::vector<double> samples() {
        std::mt19937_64 random(20240605);
        std::uniform_real_distribution<double> wide(0.0, 1.0e6);
        std::uniform_int_distribution<long long> thousandths(0, 100'000'000);
        std::vector<double> values;
        for (int i = 0; i < 20000; ++i) {
            values.push_back(wide(random));
            values.push_back(static_cast<double>(thousandths(random)) / 1000.0 + 0.00045);
        }
        std::sort(values.begin(), values.end());
        return values;
    }
};

TEST_P(RoundingProperties, SymmetricIdempotentMonotonicAndClose) {
    const auto& round = GetParam().round;
    const std::vector<double> values = samples();
    for (int decimals = 0; decimals <= 4; ++decimals) {
        const double unit = std::pow(10.0, -decimals);
        double previous = round(values.front(), decimals);
        for (const double x : values) {
            const double r = round(x, decimals);
            ASSERT_EQ(round(-x, decimals), -r) << x << " at " << decimals;
            ASSERT_EQ(round(r, decimals), r) << x << " at " << decimals;
            ASSERT_LE(std::fabs(r - x), 0.55 * unit + 1e-9) << x << " at " << decimals;
            ASSERT_LE(previous, r) << x << " at " << decimals;
            previous = r;
        }
    }
}

TEST_P(RoundingProperties, ValueHeldToTheDecimalsIsNeverMoved) {
    const auto& round = GetParam().round;
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long long> units(-10'000'000'000, 10'000'000'000);
    for (int held = 0; held <= 4; ++held) {
        for (int i = 0; i < 20000; ++i) {
            const double x = static_cast<double>(units(random)) / std::pow(10.0, held);
            for (int decimals = held; decimals <= 4; ++decimals) {
                ASSERT_EQ(round(x, decimals), x) << x << " at " << decimals;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Both, RoundingProperties,
                         ::testing::Values(Rounder{"RoundPrice",
                                                   [](double x, int d) {
                                                       return roundPrice(x, d);
                                                   }},
                                           Rounder{"FieldPrecision",
                                                   [](double x, int d) {
                                                       return toFieldPrecision(x, d);
                                                   }}),
                         [](const ::testing::TestParamInfo<Rounder>& rounder) {
                             return std::string(rounder.param.name);
                         });

} // namespace
