// Rows written many to a statement must be stored exactly as the same values bound one by one
// would be, on every engine: awkward texts, unset values, numbers at their limits, yes/no, dates
// and bytes. Updates find their rows by ID and count the ones another workstation deleted.
#include "core/RowBatch.h"
#include "core/Database.h"
#include "support/StoreAgendaTest.h"

#include <QDateTime>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace orvento;
using core::RowBatchWriter;
using core::RowValues;

namespace {

class RowBatchTest : public testsupport::StoreAgendaTest {
protected:
    RowBatchTest()
        : StoreAgendaTest(QStringLiteral("row-batch-test")) {}

    // The row of `table` with `id`, every column as read back, for comparing two rows.
    std::vector<QVariant> rowOf(const QString& table, const QStringList& columns, qint64 id) {
        std::vector<QVariant> values;
        QSqlQuery query = db.select(QStringLiteral("SELECT %1 FROM %2 WHERE ID = :ID")
                                        .arg(columns.join(QStringLiteral(", ")), table),
                                    {{QStringLiteral("ID"), id}});
        if (!query.next())
            return values;
        for (int c = 0; c < columns.size(); ++c)
            values.push_back(query.value(c));
        return values;
    }

    // Each row written once through the writer and once by a bound single insert (with the ID
    // moved by `offset`); the two copies must read back alike.
    void expectStoredAsBound(const QString& table, const QStringList& columns,
                             const std::vector<RowValues>& rows) {
        constexpr qint64 kOffset = 1000;
        RowBatchWriter writer(db, table, columns, RowBatchWriter::Mode::Insert);
        ASSERT_TRUE(writer.write(rows)) << db.lastError().toStdString();
        EXPECT_EQ(writer.rowsWritten(), static_cast<int>(rows.size()));
        QStringList placeholders;
        for (const QString& column : columns)
            placeholders << QLatin1Char(':') + column;
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, columns.join(QStringLiteral(", ")),
                                        placeholders.join(QStringLiteral(", ")));
        for (const RowValues& row : rows) {
            core::SqlParams params;
            for (qsizetype c = 0; c < columns.size(); ++c)
                params.emplace_back(columns[c], c == 0 ? QVariant(row[0].toLongLong() + kOffset)
                                                       : row[static_cast<std::size_t>(c)]);
            ASSERT_TRUE(db.execute(insert, params)) << db.lastError().toStdString();
        }
        const QStringList compared = columns.mid(1);
        for (const RowValues& row : rows) {
            const qint64 id = row[0].toLongLong();
            const auto batched = rowOf(table, compared, id);
            ASSERT_EQ(batched.size(), static_cast<std::size_t>(compared.size())) << "row " << id;
            EXPECT_EQ(batched, rowOf(table, compared, id + kOffset)) << "row " << id;
        }
    }
};

TEST_P(RowBatchTest, TextsDatesAndUnsetValuesAreStoredAsBoundOnes) {
    const QStringList columns{QStringLiteral("ID"), QStringLiteral("Nazev"),
                              QStringLiteral("Poznamka"), QStringLiteral("Znacka"),
                              QStringLiteral("Ulice")};
    const QDateTime noon(QDate(2026, 2, 28), QTime(12, 30, 15));
    const std::vector<RowValues> rows{
        {1, QStringLiteral("Žluťoučký kůň \"U Nováků\""), QStringLiteral("a\\b\\\\c\n\td\r"), noon,
         QString()},
        {2, QStringLiteral("'; DROP TABLE Adresar; --"), QStringLiteral("\x01\x1f end"),
         QDate(1999, 12, 31), QVariant()},
        {3, QStringLiteral("{\"key\": [1, 2]}"), QString::fromUtf8("€ ✓ 𝄞"), QDateTime(),
         QStringLiteral(" ")},
    };
    expectStoredAsBound(QStringLiteral("Adresar"), columns, rows);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Nazev FROM Adresar WHERE ID = 1"))->toString(),
              QStringLiteral("Žluťoučký kůň \"U Nováků\""));
}

TEST_P(RowBatchTest, NumbersYesNoAndBytesAreStoredAsBoundOnes) {
    const QStringList prices{QStringLiteral("ID"), QStringLiteral("Hodnota"),
                             QStringLiteral("TypHodnoty"), QStringLiteral("SDPH"),
                             QStringLiteral("Prepocitat")};
    const std::vector<RowValues> levels{
        {1, 0.1, 0, true, false},
        {2, 1e-300, std::numeric_limits<int>::max(), false, true},
        {3, -123456789.123456789, -1, false, false},
        {4, std::numeric_limits<double>::max(), 7, true, true},
    };
    expectStoredAsBound(QStringLiteral("CenHlad"), prices, levels);
    EXPECT_DOUBLE_EQ(
        db.scalar(QStringLiteral("SELECT Hodnota FROM CenHlad WHERE ID = 3"))->toDouble(),
        -123456789.123456789);

    const QStringList images{QStringLiteral("ID"), QStringLiteral("Popis"),
                             QStringLiteral("Hodnota")};
    const std::vector<RowValues> bytes{
        {1, QStringLiteral("logo"), QByteArray("\x00\xff\\\"x", 5)},
        {2, QStringLiteral("prázdné"), QByteArray()},
    };
    expectStoredAsBound(QStringLiteral("ImgData"), images, bytes);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Hodnota FROM ImgData WHERE ID = 1"))->toByteArray(),
              QByteArray("\x00\xff\\\"x", 5));
}

TEST_P(RowBatchTest, UpdatesFindTheirRowsByIdAndCountTheDeletedOnesOut) {
    const QStringList columns{QStringLiteral("ID"), QStringLiteral("Popis"),
                              QStringLiteral("NakCena")};
    std::vector<RowValues> rows;
    for (int id = 1; id <= 600; ++id)
        rows.push_back({id, QStringLiteral("položka %1").arg(id), id * 1.5});
    RowBatchWriter insert(db, QStringLiteral("Zasoby"), columns, RowBatchWriter::Mode::Insert);
    ASSERT_TRUE(insert.write(rows)) << db.lastError().toStdString();
    ASSERT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby"))->toInt(), 600);

    ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Zasoby WHERE ID IN (2, 599)")));
    for (RowValues& row : rows)
        row[2] = row[2].toDouble() * 2;
    RowBatchWriter update(db, QStringLiteral("Zasoby"), columns, RowBatchWriter::Mode::UpdateById);
    ASSERT_TRUE(update.write(rows)) << db.lastError().toStdString();
    EXPECT_EQ(update.rowsWritten(), 598);
    EXPECT_DOUBLE_EQ(
        db.scalar(QStringLiteral("SELECT NakCena FROM Zasoby WHERE ID = 600"))->toDouble(), 1800.0);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby"))->toInt(), 598)
        << "a deleted row stays deleted";

    // A row the engine refuses fails the whole write, and nothing of it is kept.
    ASSERT_TRUE(db.executeDdl(QStringLiteral("CREATE UNIQUE INDEX JedinyPopis ON Zasoby (Popis)")));
    const std::vector<RowValues> clash{{700, QStringLiteral("nová"), 1.0},
                                       {701, QStringLiteral("položka 1"), 1.0}};
    EXPECT_FALSE(insert.write(clash));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby WHERE ID >= 700"))->toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryStore, RowBatchTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
