#include "core/sources/Readers.h"
#include "core/sources/XlsReaders.h"
#include "sources/WorkbookTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

using namespace orvento::core::sources;
using namespace orvento::testsupport::workbooks;

namespace {

// A price list as an office suite saves it: repeated cells and rows, a million empty rows and
// all columns repeated at the end, texts in several paragraphs and with runs of spaces, a note
// on a cell, percentages and currencies; and a second sheet.
const QString odsWriter = QStringLiteral(R"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell, CoveredTableCell
from odf.text import P, S, Span
from odf.office import Annotation

doc = OpenDocumentSpreadsheet()
table = Table(name="Ceník 2024")

def text_cell(value, repeat=1):
    cell = TableCell(valuetype="string", numbercolumnsrepeated=repeat)
    cell.addElement(P(text=value))
    return cell

def number_cell(value, kind="float", repeat=1):
    cell = TableCell(valuetype=kind, value=value, numbercolumnsrepeated=repeat)
    cell.addElement(P(text=str(value)))
    return cell

head = TableRow()
for title in ["Katalog", "Název", "Cena"]:
    head.addElement(text_cell(title))
head.addElement(number_cell(21))
table.addElement(head)

row = TableRow()
row.addElement(text_cell("Ž-1"))
name = TableCell(valuetype="string")
first = P(text="Šroub")
first.addElement(S(c=3))
first.addElement(Span(text="velký"))
name.addElement(first)
name.addElement(P(text="druhý řádek"))
note = Annotation()
note.addElement(P(text="poznámka"))
name.addElement(note)
row.addElement(name)
row.addElement(number_cell("1234.5", "currency"))
row.addElement(number_cell("0.21", "percentage"))
table.addElement(row)

# Two equal rows written once, with a gap of two empty cells before the last value.
twice = TableRow(numberrowsrepeated=2)
twice.addElement(text_cell("R"))
twice.addElement(TableCell(numbercolumnsrepeated=2))
twice.addElement(number_cell("8594001234567"))
table.addElement(twice)

# An empty row in the middle stays; the same cell three times over fills three columns.
table.addElement(TableRow())
three = TableRow()
three.addElement(text_cell("x", repeat=3))
three.addElement(CoveredTableCell())
three.addElement(TableCell(numbercolumnsrepeated=16380))
table.addElement(three)

tail = TableRow(numberrowsrepeated=1048570)
tail.addElement(TableCell(numbercolumnsrepeated=16384))
table.addElement(tail)
doc.spreadsheet.addElement(table)

other = Table(name="Druhý")
other_row = TableRow()
other_row.addElement(text_cell("jen titulek"))
other.addElement(other_row)
doc.spreadsheet.addElement(other)
doc.save(sys.argv[1])
)");

class OdsReading : public ::testing::Test {
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(OdsReading, ExpandsRepeatsOnlyWhereTheyHoldValues) {
    const QString path = file(QStringLiteral("cenik.ods"));
    runPython(odsWriter, {path});
    if (HasFatalFailure())
        return;
    QString error;
    auto source = openSource(SourceKind::Xls, path, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_EQ(source->tables(),
              (QStringList{QStringLiteral("Ceník 2024"), QStringLiteral("Druhý")}));

    const TableRead read = readTable(*source, QStringLiteral("Ceník 2024"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.columns, (QStringList{QStringLiteral("Katalog"), QStringLiteral("Název"),
                                         QStringLiteral("Cena"), QStringLiteral("21")}));
    // The million empty rows at the end and the thousands of empty columns are gone.
    ASSERT_EQ(read.rowCount, 5);
    ASSERT_EQ(read.rows.size(), 5U);
    const Row& first = read.rows[0];
    EXPECT_EQ(text(first, 0), QStringLiteral("Ž-1"));
    EXPECT_EQ(text(first, 1), QStringLiteral("Šroub   velký\ndruhý řádek"));
    EXPECT_EQ(first[2].toNumber(), 1234.5);
    EXPECT_EQ(first[3].toNumber(), 0.21);
    for (int repeat = 1; repeat <= 2; ++repeat) {
        const Row& row = read.rows[static_cast<std::size_t>(repeat)];
        EXPECT_EQ(text(row, 0), QStringLiteral("R"));
        EXPECT_TRUE(row[1].isEmpty());
        EXPECT_TRUE(row[2].isEmpty());
        EXPECT_EQ(text(row, 3), QStringLiteral("8594001234567"));
    }
    for (const Cell& cell : read.rows[3])
        EXPECT_TRUE(cell.isEmpty());
    const Row& three = read.rows[4];
    EXPECT_EQ(text(three, 0), QStringLiteral("x"));
    EXPECT_EQ(text(three, 2), QStringLiteral("x"));
    EXPECT_TRUE(three[3].isEmpty());

    const TableRead titlesOnly = readTable(*source, QStringLiteral("Druhý"));
    EXPECT_EQ(titlesOnly.columns, QStringList{QStringLiteral("jen titulek")});
    EXPECT_EQ(titlesOnly.rowCount, 0);
    EXPECT_TRUE(titlesOnly.rows.empty());
}

TEST_F(OdsReading, RefusesACutOffOrOverBudgetContent) {
    const QString path = file(QStringLiteral("cenik.ods"));
    runPython(odsWriter, {path});
    if (HasFatalFailure())
        return;
    QString error;
    EXPECT_FALSE(openWorkbookWithBudget(path, error, 1024));
    EXPECT_TRUE(error.contains(QStringLiteral("nepřiměřené"))) << error.toStdString();

    cutFile(path, 0.6);
    error.clear();
    auto source = openWorkbook(path, error);
    EXPECT_FALSE(source);
    EXPECT_TRUE(error.contains(QStringLiteral("poškozený"))) << error.toStdString();
}

namespace {

QByteArray contentXml(const QByteArray& rows) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>)"
           R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
           R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
           R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">)"
           R"(<office:body><office:spreadsheet><table:table table:name="List1">)" +
           rows + "</table:table></office:spreadsheet></office:body></office:document-content>";
}

void writeOds(const QString& path, const QByteArray& content) {
    const QByteArray mime = QByteArrayLiteral("application/vnd.oasis.opendocument.spreadsheet");
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(archive, nullptr);
    ASSERT_GE(zip_file_add(archive, "mimetype",
                           zip_source_buffer(archive, mime.constData(), mime.size(), 0), 0),
              0);
    ASSERT_GE(zip_file_add(archive, "content.xml",
                           zip_source_buffer(archive, content.constData(), content.size(), 0), 0),
              0);
    ASSERT_EQ(zip_close(archive), 0);
}

} // namespace

TEST_F(OdsReading, HoldsHostileRepeatsAndCountsToWhatMemoryAllows) {
    // A filled cell repeated over the whole sheet would be 17 billion cells.
    const QString flood = file(QStringLiteral("flood.ods"));
    writeOds(flood, contentXml(R"(<table:table-row table:number-rows-repeated="1048576">)"
                               R"(<table:table-cell office:value-type="float" office:value="1" )"
                               R"(table:number-columns-repeated="16384"/></table:table-row>)"));
    QString error;
    auto source = openWorkbook(flood, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_FALSE(source->openTable(QStringLiteral("List1"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("příliš velký"))) << error.toStdString();

    // Counts beyond the sheet's edges and a run of a billion spaces are held in bounds.
    const QString wide = file(QStringLiteral("wide.ods"));
    writeOds(wide, contentXml(R"(<table:table-row table:number-rows-repeated="99999999999">)"
                              R"(<table:table-cell table:number-columns-repeated="-5"><text:p>a)"
                              R"(<text:s text:c="1000000000"/>b</text:p></table:table-cell>)"
                              R"(</table:table-row><table:table-row><table:table-cell )"
                              R"(office:value-type="float" office:value="2"/></table:table-row>)"));
    source = openWorkbook(wide, error);
    ASSERT_TRUE(source) << error.toStdString();
    error.clear();
    auto table = source->openTable(QStringLiteral("List1"), error);
    if (table) {
        EXPECT_LE(table->rowCount(), 1048575);
        EXPECT_LE(table->columns().value(0).size(), 2048);
    } else {
        EXPECT_TRUE(error.contains(QStringLiteral("příliš velký"))) << error.toStdString();
    }

    // A number cell without its number is a damaged sheet, not a zero.
    const QString bad = file(QStringLiteral("bad.ods"));
    writeOds(bad, contentXml(R"(<table:table-row><table:table-cell office:value-type="float" )"
                             R"(office:value="x"/></table:table-row>)"));
    source = openWorkbook(bad, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_FALSE(source->openTable(QStringLiteral("List1"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("A1"))) << error.toStdString();
}
