#include "core/sources/Readers.h"
#include "sources/WorkbookTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento::core::sources;
using namespace orvento::testsupport::workbooks;

namespace {

// An Excel 97 price list: a number among the titles, an untitled column, whole and decimal
// numbers (the file keeps small whole ones in another record than decimals), a bar code, a
// date; rows enough to need more than one block of the file; and a second sheet.
const QString xlsWriter = QStringLiteral(R"(
import sys, datetime, xlwt
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Ceník")
for column, title in enumerate(["Katalog", "Název", 2024, None, "Cena"]):
    if title is not None:
        sheet.write(0, column, title)
sheet.write(1, 0, "Ž-1")
sheet.write(1, 1, "Příliš žluťoučký kůň")
sheet.write(1, 2, 8594001234567)
sheet.write(1, 4, 1234.5)
sheet.write(2, 0, "Ž-2")
sheet.write(2, 2, 7)
sheet.write(2, 4, -0.25)
sheet.write(3, 0, "datum")
sheet.write(3, 4, datetime.date(2024, 1, 31), xlwt.easyxf(num_format_str="DD.MM.YYYY"))
for row in range(4, 1004):
    sheet.write(row, 0, "Položka %d" % row)
    sheet.write(row, 4, row * 1.5)
other = book.add_sheet("Druhý")
other.write(0, 0, "Kód")
other.write(1, 0, 12)
book.save(sys.argv[1])
)");

class XlsReading : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.filePath(QStringLiteral("cenik.xls"));
        runPython(xlsWriter, {m_path});
    }
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_F(XlsReading, ReadsSheetsWithTitlesNumbersTextsAndEmptyCells) {
    if (HasFatalFailure())
        return;
    QString error;
    auto source = openSource(SourceKind::Xls, m_path, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_EQ(source->tables(), (QStringList{QStringLiteral("Ceník"), QStringLiteral("Druhý")}));

    const TableRead read = readTable(*source, QStringLiteral("Ceník"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.columns,
              (QStringList{QStringLiteral("Katalog"), QStringLiteral("Název"),
                           QStringLiteral("2024"), QStringLiteral("F4"), QStringLiteral("Cena")}));
    ASSERT_EQ(read.rowCount, 1003);
    ASSERT_EQ(read.rows.size(), 1003U);
    const Row& first = read.rows[0];
    EXPECT_EQ(text(first, 1), QStringLiteral("Příliš žluťoučký kůň"));
    EXPECT_EQ(first[2].kind(), Cell::Kind::Number);
    EXPECT_EQ(text(first, 2), QStringLiteral("8594001234567"));
    EXPECT_TRUE(first[3].isEmpty());
    EXPECT_EQ(first[4].toNumber(), 1234.5);
    const Row& second = read.rows[1];
    EXPECT_TRUE(second[1].isEmpty());
    EXPECT_EQ(second[2].toNumber(), 7);
    EXPECT_EQ(second[4].toNumber(), -0.25);
    // The library tells a date by its format and gives it as text.
    EXPECT_EQ(text(read.rows[2], 4), QStringLiteral("2024-01-31"));
    EXPECT_EQ(text(read.rows.back(), 0), QStringLiteral("Položka 1003"));
    EXPECT_EQ(read.rows.back()[4].toNumber(), 1504.5);

    const TableRead other = readTable(*source, QStringLiteral("druhý"));
    ASSERT_EQ(other.rows.size(), 1U);
    EXPECT_EQ(other.rows[0][0].toNumber(), 12);
}

TEST_F(XlsReading, RefusesADamagedWorkbookWithAMessage) {
    if (HasFatalFailure())
        return;
    // The same container with its inside overwritten, and the file cut short.
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(512));
        ASSERT_GT(file.write(QByteArray(4096, '\x7F')), 0);
    }
    QString error;
    auto source = openWorkbook(m_path, error);
    if (source) {
        const TableRead read = readTable(*source, QStringLiteral("Ceník"));
        error = read.error;
    }
    EXPECT_FALSE(error.isEmpty());

    runPython(xlsWriter, {m_path});
    cutFile(m_path, 0.5);
    error.clear();
    EXPECT_FALSE(openWorkbook(m_path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("poškozený"))) << error.toStdString();
}
