#include "offers/OfferTotals.h"
#include "core/Schema.h"
#include "offers/OfferNumbering.h"
#include "offers/OfferWorkingCopy.h"

#include <gtest/gtest.h>

using namespace orvento::offers;

namespace {

OfferItem line(double net, double vat, double rate, double purchase = 0.0, double quantity = 1.0) {
    OfferItem item;
    item.Popis = QStringLiteral("x");
    item.PCBDPHPOL = net;
    item.VyseDPHPol = vat;
    item.SazbaDPH = rate;
    item.NakCena = purchase;
    item.PocetMJ = quantity;
    return item;
}

} // namespace

TEST(OfferTotals, WholeUnitRoundingOfTheStoredTotalsKeepsTheProfitInHundredths) {
    struct Case {
        double net;
        double stored;
    };
    for (const Case c : {Case{1234.56, 1235.0}, Case{1234.46, 1235.0}, Case{1234.44, 1234.0}}) {
        const OfferTotals t = computeTotals({line(c.net, 0.0, 0.0, 100.0)}, {21.0, 12.0, 1});
        EXPECT_DOUBLE_EQ(t.celkem, c.stored) << c.net;
        EXPECT_DOUBLE_EQ(t.celkemBDPH, c.stored) << c.net;
        EXPECT_NEAR(t.zisk, c.net - 100.0, 1e-9) << c.net;
    }
    const OfferTotals unrounded = computeTotals({line(1234.56, 0.0, 0.0)}, {21.0, 12.0, 0});
    EXPECT_DOUBLE_EQ(unrounded.celkem, 1234.56);
}

TEST(OfferTotals, PurchaseTotalIsStoredAtTwoDecimals) {
    const OfferTotals t = computeTotals({line(0.0, 0.0, 0.0, 10.3333, 3.0)}, {21.0, 12.0, 0});
    EXPECT_DOUBLE_EQ(t.celkemNC, 31.00);
    EXPECT_DOUBLE_EQ(t.zisk, -31.00);
}

TEST(OfferTotals, BasesByRateAndAnItemOfNoKnownRate) {
    const OfferTotals t = computeTotals({line(100.0, 0.0, 0.0), line(200.0, 24.0, 12.0),
                                         line(300.0, 63.0, 21.0), line(50.0, 7.5, 15.0, 20.0)},
                                        {21.0, 12.0, 0});
    EXPECT_DOUBLE_EQ(t.baseZero, 100.0);
    EXPECT_DOUBLE_EQ(t.baseReduced, 200.0);
    EXPECT_DOUBLE_EQ(t.vatReduced, 24.0);
    EXPECT_DOUBLE_EQ(t.baseBasic, 300.0);
    EXPECT_DOUBLE_EQ(t.vatBasic, 63.0);
    EXPECT_DOUBLE_EQ(t.celkemBDPH, 600.0);
    EXPECT_DOUBLE_EQ(t.celkem, 687.0);
    // The 15 % item counts only in the purchase price, and so lowers the profit.
    EXPECT_DOUBLE_EQ(t.celkemNC, 20.0);
    EXPECT_DOUBLE_EQ(t.zisk, 580.0);

    // Coinciding rates never count an item twice.
    const OfferTotals same = computeTotals({line(100.0, 21.0, 21.0)}, {21.0, 21.0, 0});
    EXPECT_DOUBLE_EQ(same.celkem, 121.0);

    const OfferTotals none = computeTotals({}, {21.0, 12.0, 1});
    EXPECT_EQ(none.celkem, 0.0);
    EXPECT_EQ(none.zisk, 0.0);
    EXPECT_FALSE(none.anyDiscount);
}

TEST(OfferWorkingCopy, ItemsAreNumberedInDisplayOrderAfterEveryChange) {
    OfferWorkingCopy copy;
    copy.insertItem(1, line(1, 0, 0));
    copy.insertItem(1, titleItem(QStringLiteral("Nadpis")));
    copy.insertItem(copy.proposedPosition(0), textItem(QStringLiteral("text")));
    ASSERT_EQ(copy.items().size(), 3u);
    EXPECT_TRUE(copy.items()[0].Nadpisova);
    EXPECT_TRUE(copy.items()[1].Textova);
    copy.sortItems([](const OfferItem& a, const OfferItem& b) { return a.Popis < b.Popis; });
    copy.moveItem(2, 0);
    copy.removeItem(1);
    for (std::size_t i = 0; i < copy.items().size(); ++i)
        EXPECT_EQ(copy.items()[i].Poradi, static_cast<int>(i) + 1);
    EXPECT_EQ(copy.proposedPosition(std::nullopt), 3);
}

TEST(OfferNumbering, PrefixAndZeroPadding) {
    EXPECT_EQ(formatOfferNumber(QStringLiteral("NB"), 5, 1), QStringLiteral("NB00001"));
    EXPECT_EQ(formatOfferNumber(QStringLiteral("N"), 3, 12), QStringLiteral("N012"));
    EXPECT_EQ(formatOfferNumber(QStringLiteral("NB"), 4, 123456), QStringLiteral("NB123456"));
    EXPECT_EQ(formatOfferNumber(QStringLiteral("NB"), 5, 99999), QStringLiteral("NB99999"));
    EXPECT_EQ(formatOfferNumber(QStringLiteral("NB"), 5, 100000), QStringLiteral("NB100000"));
    EXPECT_EQ(formatOfferNumber(QString(), 9, 7), QStringLiteral("000007"));
}

// The three records cover their tables: every column is either mapped or written by the save
// itself, so a column added to a table cannot be forgotten.
TEST(OfferMappings, CoverTheirTables) {
    struct Case {
        const char* table;
        QStringList mapped;
        QStringList writtenApart;
    };
    for (const Case& c : {Case{"Nabidky",
                               headerMapping().columns(),
                               {QStringLiteral("ID"), QStringLiteral("VytvorID"),
                                QStringLiteral("Vytvoril"), QStringLiteral("Zamek")}},
                          Case{"NabPolozky",
                               itemMapping().columns(),
                               {QStringLiteral("ID"), QStringLiteral("CisloNab")}},
                          Case{"DokumentyNab",
                               documentMapping().columns(),
                               {QStringLiteral("ID"), QStringLiteral("CisloNab")}}}) {
        const auto* table = orvento::core::findTable(orvento::core::DatabaseKind::Agenda,
                                                     QString::fromLatin1(c.table));
        ASSERT_NE(table, nullptr);
        QStringList expected;
        for (const auto& column : table->columns)
            if (!c.writtenApart.contains(column.name))
                expected << column.name;
        QStringList mapped = c.mapped;
        mapped.sort();
        expected.sort();
        EXPECT_EQ(mapped, expected) << c.table;
    }
}
