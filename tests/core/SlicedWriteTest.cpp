// Bulk writes slice by slice: what a failure, a stop and an open unit of work leave behind.
#include "core/SlicedWrite.h"
#include "core/Database.h"
#include "core/TemplateDatabases.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace orvento;

namespace {

class SlicedWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString path = dir.filePath(QStringLiteral("Firma.MDB"));
        QString error;
        ASSERT_TRUE(core::buildDatabaseFile(path, core::DatabaseKind::Agenda, false, &error))
            << error.toStdString();
        ASSERT_TRUE(db.open(path)) << db.lastError().toStdString();
        db.setWriteObserver([this](const QString&) { ++announced; });
        for (int i = 0; i < kRows; ++i)
            names.push_back(QStringLiteral("list %1").arg(i));
    }
    bool insertSheet(const QString& name) {
        return db.execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 1)"),
                          {{QStringLiteral("N"), name}});
    }
    int sheets() { return db.scalar(QStringLiteral("SELECT count(*) FROM Sklady"))->toInt(); }

    static constexpr int kRows = 10;
    QTemporaryDir dir;
    core::Database db{QStringLiteral("sliced")};
    std::vector<QString> names;
    int announced = 0;
};

TEST_F(SlicedWriteTest, EachSliceIsCommittedOnItsOwnAndProgressIsToldAfterEach) {
    const int before = sheets();
    std::vector<std::size_t> told;
    const auto result = core::writeInSlices(
        db, names, 4, [&](const QString& name) { return insertSheet(name); },
        [&](std::size_t done, std::size_t total) {
            EXPECT_FALSE(core::Database::anyUnitOpen());
            EXPECT_EQ(total, names.size());
            told.push_back(done);
            return true;
        });
    EXPECT_FALSE(result.failed);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.written, names.size());
    EXPECT_EQ(told, (std::vector<std::size_t>{4, 8, 10}));
    EXPECT_EQ(sheets(), before + kRows);
    EXPECT_EQ(announced, 3); // the table once per committed slice
}

TEST_F(SlicedWriteTest, AFailedRowRollsBackItsSliceOnlyAndStopsTheRun) {
    const int before = sheets();
    int calls = 0;
    const auto result = core::writeInSlices(db, names, 4, [&](const QString& name) {
        if (++calls == 6)
            return db.execute(QStringLiteral("INSERT INTO NoSuchTable (X) VALUES (1)"));
        return insertSheet(name);
    });
    EXPECT_TRUE(result.failed);
    EXPECT_FALSE(db.lastError().isEmpty()); // still there for the caller's message
    EXPECT_EQ(result.written, 4u);
    EXPECT_FALSE(core::Database::anyUnitOpen());
    EXPECT_EQ(sheets(), before + 4);
}

TEST_F(SlicedWriteTest, AStopBetweenSlicesKeepsTheFinishedOnes) {
    const int before = sheets();
    const auto result = core::writeInSlices(
        db, names, 3, [&](const QString& name) { return insertSheet(name); },
        [](std::size_t done, std::size_t) { return done < 6; });
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.written, 6u);
    EXPECT_EQ(sheets(), before + 6);
}

TEST_F(SlicedWriteTest, InsideAnOpenUnitNothingIsWritten) {
    const int before = sheets();
    core::Transaction unit(db);
    ASSERT_TRUE(unit.isActive());
    const auto result =
        core::writeInSlices(db, names, 4, [&](const QString& name) { return insertSheet(name); });
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.written, 0u);
    EXPECT_TRUE(unit.commit());
    EXPECT_EQ(sheets(), before);
}

} // namespace
