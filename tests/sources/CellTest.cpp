#include "core/sources/ImportSource.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <limits>

using orvento::core::sources::Cell;

namespace {

TEST(CellTest, NumbersReadAsTextHaveNoExponent) {
    EXPECT_EQ(Cell::number(8594001234567.0).toText(), QStringLiteral("8594001234567"));
    EXPECT_EQ(Cell::number(1234.5).toText(), QStringLiteral("1234.5"));
    EXPECT_EQ(Cell::number(-0.1).toText(), QStringLiteral("-0.1"));
    EXPECT_EQ(Cell::number(0.0000001).toText(), QStringLiteral("0.0000001"));
    EXPECT_EQ(Cell::number(1e21).toText(), QStringLiteral("1000000000000000000000"));
    EXPECT_EQ(Cell::number(-0.0).toText(), QStringLiteral("0"));
}

TEST(CellTest, TextsReadAsNumbersWithCommaPointAndThousandsSpaces) {
    EXPECT_EQ(Cell::text(QStringLiteral("1 234,5")).toNumber(), 1234.5);
    EXPECT_EQ(Cell::text(QStringLiteral("1\u00A0234,50")).toNumber(), 1234.5);
    EXPECT_EQ(Cell::text(QStringLiteral("1\u202F000")).toNumber(), 1000.0);
    EXPECT_EQ(Cell::text(QStringLiteral(" 12.25 ")).toNumber(), 12.25);
    EXPECT_EQ(Cell::text(QStringLiteral("-0,5")).toNumber(), -0.5);
    EXPECT_EQ(Cell::number(7).toNumber(), 7.0);

    for (const QString& notNumber :
         {QStringLiteral(""), QStringLiteral("  "), QStringLiteral("abc"), QStringLiteral("12 Kč"),
          QStringLiteral("1,2,3"), QStringLiteral("1.234,5"), QStringLiteral("inf"),
          QStringLiteral("nan")})
        EXPECT_EQ(Cell::text(notNumber).toNumber(), std::nullopt) << notNumber.toStdString();
    EXPECT_EQ(Cell().toNumber(), std::nullopt);
    EXPECT_EQ(Cell::number(std::numeric_limits<double>::infinity()).toNumber(), std::nullopt);
}

} // namespace
