#include "core/sources/Readers.h"
#include "sources/WorkbookTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento::core::sources;
using namespace orvento::testsupport::workbooks;

namespace {

// The Access samples come from outside and are not kept with the sources.
QString sample(const QString& name) {
    return QDir(QStringLiteral(ORVENTO_SHARED_TESTDATA)).filePath(name);
}

#define REQUIRE_SAMPLE(name)                                                                       \
    do {                                                                                           \
        if (!QFile::exists(sample(name))) {                                                        \
            GTEST_SKIP() << "The Access sample " << sample(name).toStdString()                     \
                         << " is not here; put the shared test data beside the work tree.";        \
        }                                                                                          \
    } while (false)

std::vector<Row> rowsWhere(const TableRead& read, int column, const QString& value) {
    std::vector<Row> found;
    std::copy_if(
        read.rows.begin(), read.rows.end(), std::back_inserter(found),
        [&](const Row& row) { return text(row, static_cast<std::size_t>(column)) == value; });
    return found;
}

} // namespace

TEST(AccessReading, ListsUserTablesAndReadsTextsNumbersAndCurrency) {
    REQUIRE_SAMPLE(QStringLiteral("nwind.mdb"));
    QString error;
    auto source = openSource(SourceKind::Mdb, sample(QStringLiteral("nwind.mdb")), error);
    ASSERT_TRUE(source) << error.toStdString();
    const QStringList tables = source->tables();
    EXPECT_TRUE(tables.contains(QStringLiteral("Products")));
    EXPECT_TRUE(tables.contains(QStringLiteral("Order Details")));
    EXPECT_TRUE(tables.contains(QStringLiteral("Umsätze")));
    for (const QString& table : tables)
        EXPECT_FALSE(table.startsWith(QStringLiteral("MSys"), Qt::CaseInsensitive))
            << table.toStdString();

    const TableRead products = readTable(*source, QStringLiteral("Products"));
    ASSERT_TRUE(products.error.isEmpty()) << products.error.toStdString();
    EXPECT_EQ(products.columns.value(1), QStringLiteral("ProductName"));
    EXPECT_EQ(products.columns.value(5), QStringLiteral("UnitPrice"));
    EXPECT_GT(products.rowCount, 0);
    EXPECT_EQ(products.rowCount, static_cast<qint64>(products.rows.size()));
    const auto chai = rowsWhere(products, 1, QStringLiteral("Chai"));
    ASSERT_EQ(chai.size(), 1U);
    EXPECT_EQ(chai[0][0].kind(), Cell::Kind::Number);
    EXPECT_EQ(chai[0][5].kind(), Cell::Kind::Number); // currency
    EXPECT_EQ(chai[0][5].toNumber(), 18);
    EXPECT_EQ(text(chai[0], 4), QStringLiteral("10 boxes x 20 bags"));

    // Freight is currency with cents; a text with accents stays whole.
    const TableRead orders = readTable(*source, QStringLiteral("orders"));
    ASSERT_TRUE(orders.error.isEmpty()) << orders.error.toStdString();
    const auto lilas = rowsWhere(orders, 0, QStringLiteral("10330"));
    ASSERT_EQ(lilas.size(), 1U);
    EXPECT_EQ(lilas[0][7].toNumber(), 12.75);
    EXPECT_EQ(text(lilas[0], 9), QStringLiteral("Carrera 52 con Ave. Bolívar #65-98 Llano Largo"));
    EXPECT_EQ(text(lilas[0], 3), QStringLiteral("1994-11-16 00:00:00"));

    const TableRead sales = readTable(*source, QStringLiteral("Umsätze"));
    EXPECT_TRUE(sales.error.isEmpty()) << sales.error.toStdString();
    EXPECT_FALSE(sales.columns.isEmpty());

    EXPECT_FALSE(source->openTable(QStringLiteral("Nic"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nic")));
}

TEST(AccessReading, GivesDatesAsIsoTextAcrossTheWholeRange) {
    REQUIRE_SAMPLE(QStringLiteral("DateTestDatabase.mdb"));
    QString error;
    auto source = openAccessFile(sample(QStringLiteral("DateTestDatabase.mdb")), error);
    ASSERT_TRUE(source) << error.toStdString();
    const TableRead dates = readTable(*source, QStringLiteral("DateTest"));
    ASSERT_TRUE(dates.error.isEmpty()) << dates.error.toStdString();
    ASSERT_EQ(dates.columns.value(1), QStringLiteral("DateTimeCol"));
    const auto hello = rowsWhere(dates, 0, QStringLiteral("1"));
    ASSERT_EQ(hello.size(), 1U);
    EXPECT_EQ(text(hello[0], 1), QStringLiteral("2021-12-02 00:00:00"));
    EXPECT_EQ(text(hello[0], 5), QStringLiteral("Hello"));
    // Years the library's own conversion loses: far ahead, and before 1900 and 1000.
    const auto late = rowsWhere(dates, 0, QStringLiteral("2"));
    ASSERT_EQ(late.size(), 1U);
    EXPECT_EQ(text(late[0], 1), QStringLiteral("9999-01-01 00:00:00"));
    const auto early = rowsWhere(dates, 0, QStringLiteral("3"));
    ASSERT_EQ(early.size(), 1U);
    EXPECT_EQ(text(early[0], 1), QStringLiteral("1898-01-01 00:00:00"));
    EXPECT_EQ(text(early[0], 3), QStringLiteral("1900-01-01 00:00:00"));
    const auto ancient = rowsWhere(dates, 0, QStringLiteral("4"));
    ASSERT_EQ(ancient.size(), 1U);
    EXPECT_EQ(text(ancient[0], 1), QStringLiteral("0632-01-01 00:00:00"));
    const auto lines = rowsWhere(dates, 0, QStringLiteral("6"));
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(text(lines[0], 4), QStringLiteral("New line\r\nin field"));
}

TEST(AccessReading, RefusesAFileThatIsNoDatabase) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cenik.mdb"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    QString error;
    EXPECT_FALSE(openAccessFile(path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("není databází"))) << error.toStdString();
    EXPECT_FALSE(openAccessFile(dir.filePath(QStringLiteral("gone.mdb")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("neexistuje")));
    {
        QFile empty(dir.filePath(QStringLiteral("empty.mdb")));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(openAccessFile(dir.filePath(QStringLiteral("empty.mdb")), error));
}

TEST(AccessReading, TellsATableCutShortByADamagedFile) {
    REQUIRE_SAMPLE(QStringLiteral("nwind.mdb"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nwind.mdb"));
    ASSERT_TRUE(QFile::copy(sample(QStringLiteral("nwind.mdb")), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    cutFile(path, 0.3);
    QString error;
    auto source = openAccessFile(path, error);
    if (!source) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    // Every table either reads whole or says that it could not; at this cut one table has
    // lost its later pages, which the library alone would end quietly.
    bool cutShort = false;
    for (const QString& table : source->tables()) {
        const TableRead read = readTable(*source, table);
        if (read.error.contains(QStringLiteral("celou")))
            cutShort = true;
        if (read.error.isEmpty()) {
            EXPECT_EQ(read.rowCount, static_cast<qint64>(read.rows.size())) << table.toStdString();
        }
    }
    EXPECT_TRUE(cutShort);
}
