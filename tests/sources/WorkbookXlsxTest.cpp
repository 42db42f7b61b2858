#include "core/sources/Readers.h"
#include "core/sources/XlsReaders.h"
#include "sources/WorkbookTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

using namespace orvento::core::sources;
using namespace orvento::testsupport::workbooks;

namespace {

constexpr double barCode = 8594001234567.0;

// Two sheets as a supplier would send them: a price list with a number among the titles, an
// untitled column, a rich text, a row left out; and a sheet of dates and yes/no values.
void writePriceList(const QString& path) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* prices = workbook_add_worksheet(book, "Ceník");
    worksheet_write_string(prices, 0, 0, "Katalog", nullptr);
    worksheet_write_string(prices, 0, 1, "Název", nullptr);
    worksheet_write_number(prices, 0, 2, 2024, nullptr);
    worksheet_write_string(prices, 0, 4, "Cena", nullptr);
    worksheet_write_string(prices, 1, 0, "A-1", nullptr);
    worksheet_write_string(prices, 1, 1, "Žluťoučký kůň úpěl", nullptr);
    worksheet_write_number(prices, 1, 2, barCode, nullptr);
    worksheet_write_number(prices, 1, 4, 1234.5, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_rich_string_tuple first{bold, const_cast<char*>("Tučně")};
    lxw_rich_string_tuple second{nullptr, const_cast<char*>(" a obyčejně")};
    lxw_rich_string_tuple* rich[] = {&first, &second, nullptr};
    worksheet_write_string(prices, 2, 0, "A-2", nullptr);
    worksheet_write_rich_string(prices, 2, 1, rich, nullptr);
    worksheet_write_number(prices, 2, 2, 0.1, nullptr);
    worksheet_write_number(prices, 2, 4, -42, nullptr);
    worksheet_write_number(prices, 4, 4, 7, nullptr);

    lxw_worksheet* other = workbook_add_worksheet(book, "Druhý list");
    worksheet_write_string(other, 0, 0, "Kód", nullptr);
    worksheet_write_string(other, 0, 1, "Datum", nullptr);
    worksheet_write_string(other, 0, 2, "Platí", nullptr);
    worksheet_write_string(other, 1, 0, "X", nullptr);
    lxw_datetime date{2024, 1, 31, 0, 0, 0};
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "dd.mm.yyyy");
    worksheet_write_datetime(other, 1, 1, &date, dateFormat);
    worksheet_write_boolean(other, 1, 2, 1, nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

// Many rows of text: a sheet whose part unpacks to some megabytes.
void writeLongSheet(const QString& path, int rows, bool streamed) {
    lxw_workbook_options options{};
    options.constant_memory = streamed ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Data");
    worksheet_write_string(sheet, 0, 0, "Název", nullptr);
    worksheet_write_string(sheet, 0, 1, "Cena", nullptr);
    for (int row = 1; row <= rows; ++row) {
        const QByteArray name = QStringLiteral("Šroub M%1 pozinkovaný").arg(row).toUtf8();
        worksheet_write_string(sheet, static_cast<lxw_row_t>(row), 0, name.constData(), nullptr);
        worksheet_write_number(sheet, static_cast<lxw_row_t>(row), 1, row * 0.25, nullptr);
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

// A zip made entry by entry, for parts no writer would make.
void writeZip(const QString& path, const std::vector<std::pair<const char*, QByteArray>>& entries) {
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, data] : entries) {
        // libzip reads the buffers only when the archive closes, so they must live till then.
        zip_source_t* source =
            zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

const QByteArray relations = QByteArrayLiteral(
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(</Relationships>)");
const QByteArray workbook = QByteArrayLiteral(
    R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="List1" sheetId="1" r:id="rId1"/></sheets></workbook>)");

QByteArray sheetXml(const QByteArray& data) {
    return R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           data + "</sheetData></worksheet>";
}

// The message of a sheet that cannot be read, from the workbook or from its sheet.
QString failure(const QString& path, const QString& sheet,
                qint64 budget = ZipArchive::defaultBudget) {
    QString error;
    auto source = openWorkbookWithBudget(path, error, budget);
    if (!source)
        return error;
    auto table = source->openTable(sheet, error);
    if (!table)
        return error;
    Row row;
    while (table->next(row)) {
    }
    return table->error();
}

class XlsxReading : public ::testing::Test {
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(XlsxReading, ReadsSheetsWithTheirTitlesTextsNumbersAndGaps) {
    const QString path = file(QStringLiteral("cenik.xlsx"));
    writePriceList(path);
    QString error;
    auto source = openSource(SourceKind::Xls, path, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_EQ(source->tables(),
              (QStringList{QStringLiteral("Ceník"), QStringLiteral("Druhý list")}));

    const TableRead prices = readTable(*source, QStringLiteral("Ceník"));
    ASSERT_TRUE(prices.error.isEmpty()) << prices.error.toStdString();
    // The number title reads as its text, the untitled column by its place.
    EXPECT_EQ(prices.columns,
              (QStringList{QStringLiteral("Katalog"), QStringLiteral("Název"),
                           QStringLiteral("2024"), QStringLiteral("F4"), QStringLiteral("Cena")}));
    ASSERT_EQ(prices.rowCount, 4);
    ASSERT_EQ(prices.rows.size(), 4U);
    const Row& first = prices.rows[0];
    EXPECT_EQ(text(first, 1), QStringLiteral("Žluťoučký kůň úpěl"));
    EXPECT_EQ(first[2].kind(), Cell::Kind::Number);
    EXPECT_EQ(text(first, 2), QStringLiteral("8594001234567"));
    EXPECT_TRUE(first[3].isEmpty());
    EXPECT_EQ(first[4].toNumber(), 1234.5);
    const Row& second = prices.rows[1];
    EXPECT_EQ(text(second, 1), QStringLiteral("Tučně a obyčejně"));
    EXPECT_EQ(second[2].toNumber(), 0.1);
    EXPECT_EQ(second[4].toNumber(), -42);
    // The row left out reads as empty, and the next one still at its place.
    for (const Cell& cell : prices.rows[2])
        EXPECT_TRUE(cell.isEmpty());
    EXPECT_TRUE(prices.rows[3][0].isEmpty());
    EXPECT_EQ(prices.rows[3][4].toNumber(), 7);

    // The database engines name a sheet with a dollar sign: old definitions still find it.
    const TableRead other = readTable(*source, QStringLiteral("'Druhý list$'"));
    ASSERT_TRUE(other.error.isEmpty()) << other.error.toStdString();
    ASSERT_EQ(other.rows.size(), 1U);
    // A date stays the number the sheet holds; a yes is 1.
    EXPECT_EQ(other.rows[0][1].toNumber(), 45322);
    EXPECT_EQ(other.rows[0][2].toNumber(), 1);

    // The raw grid keeps the first line as cells, the number title a number.
    const auto grid = source->rawGrid(QStringLiteral("Ceník"), error);
    ASSERT_TRUE(grid) << error.toStdString();
    ASSERT_EQ(grid->size(), 5U);
    EXPECT_EQ((*grid)[0][2].kind(), Cell::Kind::Number);
    EXPECT_EQ((*grid)[0].size(), 5U);
}

TEST_F(XlsxReading, ReadsTheInlineTextsOfAStreamedWorkbook) {
    const QString path = file(QStringLiteral("streamed.xlsx"));
    writeLongSheet(path, 3, true);
    QString error;
    auto source = openWorkbook(path, error);
    ASSERT_TRUE(source) << error.toStdString();
    const TableRead read = readTable(*source, QStringLiteral("Data"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_EQ(read.rows.size(), 3U);
    EXPECT_EQ(text(read.rows[2], 0), QStringLiteral("Šroub M3 pozinkovaný"));
    EXPECT_EQ(read.rows[2][1].toNumber(), 0.75);
}

TEST_F(XlsxReading, RefusesDamagedMissingAndHostileFilesWithAMessage) {
    const QString cut = file(QStringLiteral("cut.xlsx"));
    writeLongSheet(cut, 2000, false);
    cutFile(cut, 0.5);
    EXPECT_TRUE(failure(cut, QStringLiteral("Data")).contains(QStringLiteral("poškozený")));

    // A sheet that unpacks beyond the budget is refused, although it is well formed.
    const QString large = file(QStringLiteral("large.xlsx"));
    writeLongSheet(large, 20000, false);
    EXPECT_TRUE(failure(large, QStringLiteral("Data")).isEmpty());
    EXPECT_TRUE(
        failure(large, QStringLiteral("Data"), 64 * 1024).contains(QStringLiteral("nepřiměřené")));

    const QString missing = file(QStringLiteral("gone.xlsx"));
    EXPECT_TRUE(failure(missing, QStringLiteral("Data")).contains(QStringLiteral("neexistuje")));
    EXPECT_TRUE(failure(large, QStringLiteral("Jiný")).contains(QStringLiteral("Jiný")));

    const QString plain = file(QStringLiteral("text.xlsx"));
    {
        QFile text(plain);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("Katalog;Cena\nA;1\n");
    }
    EXPECT_TRUE(failure(plain, QStringLiteral("Data")).contains(QStringLiteral("není sešitem")));
    const QString zipOnly = file(QStringLiteral("other.xlsx"));
    writeZip(zipOnly, {{"readme.txt", QByteArrayLiteral("nic")}});
    EXPECT_TRUE(failure(zipOnly, QStringLiteral("Data")).contains(QStringLiteral("není sešitem")));
}

TEST_F(XlsxReading, RefusesSheetPartsThatNoWriterMakes) {
    const std::vector<std::pair<QString, QByteArray>> cases = {
        {QStringLiteral("unclosed"), sheetXml(R"(<row r="1"><c r="A1"><v>1</v></row>)")},
        {QStringLiteral("cut off"),
         sheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)").left(120)},
        {QStringLiteral("unknown string"),
         sheetXml(R"(<row r="1"><c r="A1" t="s"><v>3</v></c></row>)")},
        {QStringLiteral("beyond the sheet"),
         sheetXml(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)")},
        {QStringLiteral("row zero"), sheetXml(R"(<row r="0"><c><v>1</v></c></row>)")},
        {QStringLiteral("no number"), sheetXml(R"(<row r="1"><c r="A1"><v>1,5</v></c></row>)")},
    };
    for (const auto& [what, sheet] : cases) {
        const QString path = file(what + QStringLiteral(".xlsx"));
        writeZip(path, {{"xl/workbook.xml", workbook},
                        {"xl/_rels/workbook.xml.rels", relations},
                        {"xl/worksheets/sheet1.xml", sheet}});
        EXPECT_FALSE(failure(path, QStringLiteral("List1")).isEmpty()) << what.toStdString();
    }
    // A part's name goes into the message as it stands, whatever it holds.
    const QString oddName = file(QStringLiteral("odd.xlsx"));
    QByteArray oddRelations = relations;
    oddRelations.replace("worksheets/sheet1.xml", "worksheets/%2.xml");
    writeZip(oddName, {{"xl/workbook.xml", workbook},
                       {"xl/_rels/workbook.xml.rels", oddRelations},
                       {"xl/worksheets/%2.xml", sheetXml("<row>")}});
    EXPECT_TRUE(
        failure(oddName, QStringLiteral("List1")).contains(QStringLiteral("xl/worksheets/%2.xml")));

    // Without its sheet's part the workbook is incomplete.
    const QString partless = file(QStringLiteral("partless.xlsx"));
    writeZip(partless, {{"xl/workbook.xml", workbook}, {"xl/_rels/workbook.xml.rels", relations}});
    EXPECT_TRUE(failure(partless, QStringLiteral("List1")).contains(QStringLiteral("chybí")));

    // Cells and rows that do not name their place follow the previous ones.
    const QString unnamed = file(QStringLiteral("unnamed.xlsx"));
    writeZip(
        unnamed,
        {{"xl/workbook.xml", workbook},
         {"xl/_rels/workbook.xml.rels", relations},
         {"xl/worksheets/sheet1.xml",
          sheetXml(
              R"(<row><c t="inlineStr"><is><t>A</t></is></c><c r="C1" t="inlineStr"><is><t>C</t></is></c></row>)"
              R"(<row><c><v>1</v></c><c/><c><v>3</v></c></row>)")}});
    QString error;
    auto source = openWorkbook(unnamed, error);
    ASSERT_TRUE(source) << error.toStdString();
    const TableRead read = readTable(*source, QStringLiteral("List1"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.columns,
              (QStringList{QStringLiteral("A"), QStringLiteral("F2"), QStringLiteral("C")}));
    ASSERT_EQ(read.rows.size(), 1U);
    EXPECT_EQ(read.rows[0][2].toNumber(), 3);
}
