// A single-value query is kept prepared on its connection and run again with new values: every
// run must answer for its own values and the data as they are now, a failed one must leave the
// next working, and a table whose columns changed must be read in its new shape.
#include "core/Database.h"
#include "support/StoreAgendaTest.h"

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class KeptScalarTest : public testsupport::StoreAgendaTest {
protected:
    KeptScalarTest()
        : StoreAgendaTest(QStringLiteral("test-kept-scalar")) {}

    qint64 insertSheet(const QString& name) {
        EXPECT_TRUE(db.execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 1)"),
                               {{QStringLiteral("N"), name}}))
            << db.lastError().toStdString();
        return db.newRowId();
    }

    std::optional<QVariant> nameOf(qint64 id) {
        return db.scalar(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                         {{QStringLiteral("ID"), id}});
    }
};

TEST_P(KeptScalarTest, EachRunAnswersForItsValuesAndTheCurrentData) {
    const qint64 first = insertSheet(QStringLiteral("Elektro"));
    const qint64 second = insertSheet(QStringLiteral("Voda"));
    EXPECT_EQ(nameOf(first).value_or(QVariant()).toString(), QStringLiteral("Elektro"));
    EXPECT_EQ(nameOf(second).value_or(QVariant()).toString(), QStringLiteral("Voda"));
    EXPECT_FALSE(nameOf(second + 1000).has_value());
    ASSERT_TRUE(
        db.execute(QStringLiteral("UPDATE Sklady SET Nazev = :N WHERE ID = :ID"),
                   {{QStringLiteral("N"), QStringLiteral("Plyn")}, {QStringLiteral("ID"), first}}));
    EXPECT_EQ(nameOf(first).value_or(QVariant()).toString(), QStringLiteral("Plyn"));
    // A NULL answer is a value, not the absence of a row.
    const auto none = db.scalar(QStringLiteral("SELECT NULL FROM Sklady WHERE ID = :ID"),
                                {{QStringLiteral("ID"), first}});
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isNull());
}

TEST_P(KeptScalarTest, AFailedQueryLeavesTheNextOnesWorking) {
    const qint64 id = insertSheet(QStringLiteral("Elektro"));
    const QString broken = QStringLiteral("SELECT NoSuchColumn FROM Sklady WHERE ID = :ID");
    EXPECT_FALSE(db.scalar(broken, {{QStringLiteral("ID"), id}}).has_value());
    EXPECT_FALSE(db.lastError().isEmpty());
    EXPECT_FALSE(db.scalar(broken, {{QStringLiteral("ID"), id}}).has_value());
    EXPECT_EQ(nameOf(id).value_or(QVariant()).toString(), QStringLiteral("Elektro"));
}

TEST_P(KeptScalarTest, ATableWhoseColumnsChangedIsReadInItsNewShape) {
    const qint64 id = insertSheet(QStringLiteral("Elektro"));
    const QString everything = QStringLiteral("SELECT * FROM Sklady WHERE ID = :ID");
    ASSERT_TRUE(db.scalar(everything, {{QStringLiteral("ID"), id}}).has_value());
    ASSERT_TRUE(db.executeDdl(QStringLiteral("ALTER TABLE Sklady ADD COLUMN Poznamka TEXT")))
        << db.lastError().toStdString();
    EXPECT_TRUE(db.scalar(everything, {{QStringLiteral("ID"), id}}).has_value())
        << db.lastError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryStore, KeptScalarTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
