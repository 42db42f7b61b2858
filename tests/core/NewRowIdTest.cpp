// A new row's ID reaches the caller the same way whether the engine keeps the last one for free
// or only the INSERT itself can answer it (RETURNING), as a database server would.
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "support/TestEnvironment.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// The embedded engine's dialect, but without the free last ID.
class AnsweringDialect final : public core::SqlDialect {
public:
    QString driverName() const override { return base().driverName(); }
    QString connectOptions(int ms) const override { return base().connectOptions(ms); }
    QString probeStatement() const override { return base().probeStatement(); }
    std::unique_ptr<Session> setUp(core::Database& db, const int& ms) const override {
        return base().setUp(db, ms);
    }
    QString beginUnit() const override { return base().beginUnit(); }
    QString returningId() const override { return base().returningId(); }
    bool keepsLastInsertedId() const override { return false; }
    std::optional<qint64> lastInsertedId(const QSqlQuery&) const override { return std::nullopt; }
    core::FailureKind failureKindOf(const QSqlError& e) const override {
        return base().failureKindOf(e);
    }
    QString columnTypeSql(core::ColumnType t) const override { return base().columnTypeSql(t); }
    QString tableNamesQuery() const override { return base().tableNamesQuery(); }
    QString indexNamesQuery() const override { return base().indexNamesQuery(); }
    bool writeKindMark(core::Database& db, core::DatabaseKind k) const override {
        return base().writeKindMark(db, k);
    }
    std::optional<int> readKindMark(core::Database& db) const override {
        return base().readKindMark(db);
    }
    int kindMarkOf(core::DatabaseKind k) const override { return base().kindMarkOf(k); }
    bool writeVersionMark(core::Database& db, int v) const override {
        return base().writeVersionMark(db, v);
    }
    QString integrityCheck() const override { return base().integrityCheck(); }
    QString rebuildIndexes() const override { return base().rebuildIndexes(); }
    QString compact() const override { return base().compact(); }

private:
    static const core::SqlDialect& base() { return core::sqliteDialect(); }
};

class NewRowIdTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB")));
        ASSERT_TRUE(db.open(env.dataFolder() + QStringLiteral("Firma1.MDB")));
    }

    qint64 highestId() {
        return db.scalar(QStringLiteral("SELECT max(ID) FROM Sklady"))->toLongLong();
    }

    testsupport::TestEnvironment env;
    AnsweringDialect answering;
    core::Database db{QStringLiteral("new-row-id"), GetParam() ? core::sqliteDialect() : answering};
};

TEST_P(NewRowIdTest, EveryWayOfInsertingGivesTheRowsOwnId) {
    const QString insert =
        QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi);");
    ASSERT_TRUE(db.execute(
        insert, {{QStringLiteral("Nazev"), QStringLiteral("A")}, {QStringLiteral("Poradi"), 1}}));
    EXPECT_EQ(db.newRowId(), highestId());
    const auto row = db.insertRow(
        insert, {{QStringLiteral("Nazev"), QStringLiteral("B")}, {QStringLiteral("Poradi"), 2}});
    ASSERT_TRUE(row);
    EXPECT_EQ(*row, highestId());
    core::Statement loop(db, insert);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(loop.exec(
            {{QStringLiteral("Nazev"), QStringLiteral("C")}, {QStringLiteral("Poradi"), 3 + i}}));
        EXPECT_EQ(loop.newRowId(), highestId());
        EXPECT_EQ(db.newRowId(), loop.newRowId());
    }
    // Several rows at once: the last one's ID, as for one row.
    ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) SELECT Nazev, "
                                          "Poradi FROM Sklady WHERE Nazev = :Nazev"),
                           {{QStringLiteral("Nazev"), QStringLiteral("C")}}));
    EXPECT_EQ(db.newRowId(), highestId());
    // A table without an ID column takes its row and leaves the last ID alone.
    const qint64 kept = db.newRowId();
    ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Verze (VerID) VALUES (:VerID)"),
                           {{QStringLiteral("VerID"), 99}}));
    EXPECT_EQ(db.newRowId(), kept);
}

INSTANTIATE_TEST_SUITE_P(FreeLastIdOrReturning, NewRowIdTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& kind) {
                             return std::string(kind.param ? "FreeLastId" : "Returning");
                         });

} // namespace
