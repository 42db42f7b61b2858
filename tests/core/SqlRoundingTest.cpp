// A value rounded in SQL (the first phase of a repricing writes its new prices that way) comes out
// alike on every engine: the server rounds to given places only in its exact decimal type.
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "support/StoreAgendaTest.h"

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class SqlRoundingTest : public testsupport::StoreAgendaTest {
protected:
    SqlRoundingTest()
        : StoreAgendaTest(QStringLiteral("rounding-test")) {}
};

TEST_P(SqlRoundingTest, AStoredPriceRaisedAndMultipliedIsRoundedInPlace) {
    ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Zasoby (Popis, NakCena) VALUES ('a', "
                                          ":Cena)"),
                           {{QStringLiteral("Cena"), 1.23456}}));
    const QString multiplied = db.dialect().roundedSql(QStringLiteral("NakCena * :K"), 2);
    ASSERT_TRUE(db.execute(QStringLiteral("UPDATE Zasoby SET NakCena = ") + multiplied,
                           {{QStringLiteral("K"), 10.0}}))
        << db.lastError().toStdString();
    EXPECT_DOUBLE_EQ(db.scalar(QStringLiteral("SELECT NakCena FROM Zasoby"))->toDouble(), 12.35);
    const QString raised = db.dialect().roundedSql(QStringLiteral("NakCena + :K"), 4);
    ASSERT_TRUE(db.execute(QStringLiteral("UPDATE Zasoby SET NakCena = ") + raised,
                           {{QStringLiteral("K"), -20.000049}}));
    EXPECT_DOUBLE_EQ(db.scalar(QStringLiteral("SELECT NakCena FROM Zasoby"))->toDouble(), -7.65);
}

INSTANTIATE_TEST_SUITE_P(EveryStore, SqlRoundingTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
