#include "offers/OfferItemImportAgenda.h"

#include "sources/WorkbookTestSupport.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <shapefil.h>
#include <xlsxwriter.h>

using namespace orvento;
using offers::ItemImportKey;
using offers::ItemImportSource;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

// The same order in every format: keys in other letter case, a number as a key, quantities as
// numbers and as text with a blank between the thousands.
const QString xlsWriter = QStringLiteral(R"(
import sys, xlwt
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Objednávka")
sheet.write(0, 0, "Kód")
sheet.write(0, 1, "Počet")
sheet.write(1, 0, "kab-01")
sheet.write(1, 1, 2)
sheet.write(2, 0, 12345)
sheet.write(2, 1, "1 000")
sheet.write(3, 0, "záS-žlutá")
sheet.write(3, 1, 2.5)
book.save(sys.argv[1])
)");

const QString odsWriter = QStringLiteral(R"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P

doc = OpenDocumentSpreadsheet()
table = Table(name="Objednávka")

def text_cell(value):
    cell = TableCell(valuetype="string")
    cell.addElement(P(text=value))
    return cell

def number_cell(value):
    cell = TableCell(valuetype="float", value=value)
    cell.addElement(P(text=str(value)))
    return cell

for key, count in [(text_cell("Kód"), text_cell("Počet")),
                   (text_cell("kab-01"), number_cell(2)),
                   (number_cell(12345), text_cell("1 000")),
                   (text_cell("záS-žlutá"), number_cell("2.5"))]:
    row = TableRow()
    row.addElement(key)
    row.addElement(count)
    table.addElement(row)
doc.spreadsheet.addElement(table)
doc.save(sys.argv[1])
)");

void writeXlsx(const QString& path, bool withData) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Objednávka");
    worksheet_write_string(sheet, 0, 0, "Kód", nullptr);
    worksheet_write_string(sheet, 0, 1, "Počet", nullptr);
    worksheet_write_string(sheet, 0, 2, "EAN", nullptr);
    if (withData) {
        worksheet_write_string(sheet, 1, 0, "kab-01", nullptr);
        worksheet_write_number(sheet, 1, 1, 2, nullptr);
        worksheet_write_number(sheet, 1, 2, 8594001234567.0, nullptr);
        worksheet_write_number(sheet, 2, 0, 12345, nullptr);
        worksheet_write_string(sheet, 2, 1, "1 000", nullptr);
        worksheet_write_string(sheet, 3, 0, "záS-žlutá", nullptr);
        worksheet_write_number(sheet, 3, 1, 2.5, nullptr);
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

// dBase III in code page 852, as shapelib writes it: texts padded with blanks to the field's
// width, and a record marked deleted in the middle.
void writeDbf(const QString& path, bool withData) {
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/100");
    ASSERT_NE(dbf, nullptr);
    ASSERT_EQ(DBFAddField(dbf, "KOD", FTString, 20, 0), 0);
    ASSERT_EQ(DBFAddField(dbf, "POCET", FTDouble, 12, 2), 1);
    if (withData) {
        QStringEncoder encoder("IBM852");
        const std::vector<std::pair<QString, double>> rows{{QStringLiteral("kab-01"), 2},
                                                           {QStringLiteral("SMAZANÝ"), 1},
                                                           {QStringLiteral("12345"), 1000},
                                                           {QStringLiteral("záS-žlutá"), 2.5}};
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const QByteArray key = encoder(rows[static_cast<std::size_t>(i)].first);
            DBFWriteStringAttribute(dbf, i, 0, key.constData());
            DBFWriteDoubleAttribute(dbf, i, 1, rows[static_cast<std::size_t>(i)].second);
        }
        DBFMarkRecordDeleted(dbf, 1, 1);
    }
    DBFClose(dbf);
}

// Two sheets, the second shown when the file was saved: the order is on it.
const QString odsTwoSheets = QStringLiteral(R"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P
from odf.config import ConfigItemSet, ConfigItemMapIndexed, ConfigItemMapEntry, ConfigItem

doc = OpenDocumentSpreadsheet()
for name, key in [("Poznámky", "NIC"), ("Objednávka", "kab-01")]:
    table = Table(name=name)
    for value in ["Kód", key]:
        row = TableRow()
        cell = TableCell(valuetype="string")
        cell.addElement(P(text=value))
        row.addElement(cell)
        table.addElement(row)
    doc.spreadsheet.addElement(table)
views = ConfigItemSet(name="ooo:view-settings")
indexed = ConfigItemMapIndexed(name="Views")
entry = ConfigItemMapEntry()
item = ConfigItem(name="ActiveTable", type="string")
item.addText("Objednávka")
entry.addElement(item)
indexed.addElement(entry)
views.addElement(indexed)
doc.settings.addElement(views)
doc.save(sys.argv[1])
)");

class OfferItemImportSourcesTest : public testsupport::OfferItemImportAgenda {
protected:
    void SetUp() override {
        OfferItemImportAgenda::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(dir.isValid());
        catalogueItem({QStringLiteral("KAB-01"), QStringLiteral("8594001234567"),
                       QStringLiteral("Kabel CYKY"), 100.0});
        catalogueItem({QStringLiteral("12345"), QString(), QStringLiteral("Svorka"), 1.0});
        catalogueItem({QStringLiteral("ZÁS-ŽLUTÁ"), QString(), QStringLiteral("Zásuvka"), 50.0});
        catalogueItem({QStringLiteral("SMAZANÝ"), QString(), QStringLiteral("Smazaný"), 1.0});
    }

    static offers::ItemImportSettings fileSettings(ItemImportSource source, const QString& path,
                                                   const QString& key, const QString& count) {
        offers::ItemImportSettings s;
        s.source = source;
        s.fileName = path;
        s.titlesInFirstRow = true;
        s.keyColumn = key;
        s.countColumn = count;
        s.defaultCount = false;
        return s;
    }

    bool run(const offers::ItemImportSettings& settings) {
        auto logic = import();
        logic->settings() = settings;
        return logic->accept(QStringLiteral("nečte se\t1"));
    }

    // The three items of the order with their quantities, nothing listed.
    void expectTheOrder() {
        EXPECT_TRUE(ui.texts(Kind::Error).isEmpty()) << ui.allTexts().join('\n').toStdString();
        EXPECT_TRUE(ui.problemLines().isEmpty()) << ui.problemLines().join('\n').toStdString();
        ASSERT_EQ(descriptions(), (QStringList{"Kabel CYKY", "Svorka", "Zásuvka"}));
        const auto& items = card->offer().items();
        EXPECT_DOUBLE_EQ(items[0].PocetMJ, 2.0);
        EXPECT_DOUBLE_EQ(items[1].PocetMJ, 1000.0);
        EXPECT_DOUBLE_EQ(items[2].PocetMJ, 2.5);
        EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 2 * 100.0 + 1000 * 1.0 + 2.5 * 50.0);
    }

    QString loadFailure(const QString& path) const {
        return QStringLiteral("Nastala chyba při načítání souboru \"%1\". Zkontrolujte prosím, "
                              "zda není používán jiným programem (např. zda není otevřen v MS "
                              "Excel, apod.).")
            .arg(path);
    }

    QTemporaryDir dir;
};

TEST_F(OfferItemImportSourcesTest, AnXlsxOrderIsAddedAndItsBarCodeIsFoundAsANumber) {
    const QString path = dir.filePath(QStringLiteral("objednavka.xlsx"));
    writeXlsx(path, true);
    ASSERT_TRUE(run(fileSettings(ItemImportSource::Workbook, path, "1", "2")));
    expectTheOrder();

    // The bar code is kept as a number in the sheet: it is the key without decimals.
    ui.clear();
    offers::ItemImportSettings s = fileSettings(ItemImportSource::Workbook, path, "3", "2");
    s.key = ItemImportKey::BarCode;
    ASSERT_TRUE(run(s));
    EXPECT_EQ(card->offer().items().back().Popis, QStringLiteral("Kabel CYKY"));
    // The other two rows have no bar code.
    EXPECT_EQ(ui.problemLines(), (QStringList{"• záznam č. 2 - spojovací klíč je prázdný",
                                              "• záznam č. 3 - spojovací klíč je prázdný"}));
}

TEST_F(OfferItemImportSourcesTest, TheSheetShownWhenTheWorkbookWasSavedIsRead) {
    const QString xlsx = dir.filePath(QStringLiteral("dva-listy.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(xlsx).constData());
    lxw_worksheet* notes = workbook_add_worksheet(book, "Poznámky");
    worksheet_write_string(notes, 0, 0, "Kód", nullptr);
    worksheet_write_string(notes, 1, 0, "NIC", nullptr);
    lxw_worksheet* order = workbook_add_worksheet(book, "Objednávka");
    worksheet_write_string(order, 0, 0, "Kód", nullptr);
    worksheet_write_string(order, 1, 0, "zás-žlutá", nullptr);
    worksheet_activate(order);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    offers::ItemImportSettings s = fileSettings(ItemImportSource::Workbook, xlsx, "1", "2");
    s.defaultCount = true;
    ASSERT_TRUE(run(s));
    EXPECT_EQ(descriptions(), QStringList{QStringLiteral("Zásuvka")});

    const QString ods = dir.filePath(QStringLiteral("dva-listy.ods"));
    testsupport::workbooks::runPython(odsTwoSheets, {ods});
    s.fileName = ods;
    ASSERT_TRUE(run(s));
    EXPECT_EQ(descriptions(), (QStringList{"Zásuvka", "Kabel CYKY"}));
    EXPECT_TRUE(ui.problemLines().isEmpty()) << ui.problemLines().join('\n').toStdString();
}

TEST_F(OfferItemImportSourcesTest, AnXlsAndAnOdsOrderReadAsTheXlsxDoes) {
    const QString xls = dir.filePath(QStringLiteral("objednavka.xls"));
    testsupport::workbooks::runPython(xlsWriter, {xls});
    ASSERT_TRUE(run(fileSettings(ItemImportSource::Workbook, xls, "1", "2")));
    expectTheOrder();

    for (std::size_t i = card->offer().items().size(); i > 0; --i)
        card->offer().removeItem(i - 1);
    card->setCurrent(std::nullopt);
    const QString ods = dir.filePath(QStringLiteral("objednavka.ods"));
    testsupport::workbooks::runPython(odsWriter, {ods});
    ASSERT_TRUE(run(fileSettings(ItemImportSource::Workbook, ods, "1", "2")));
    expectTheOrder();
}

TEST_F(OfferItemImportSourcesTest, ADbaseTableInCodePage852IsReadByItsFieldNames) {
    const QString path = dir.filePath(QStringLiteral("objednavka.dbf"));
    writeDbf(path, true);
    // Field names in any letter case; the padded keys are found, the deleted record is skipped.
    ASSERT_TRUE(run(fileSettings(ItemImportSource::Dbase, path, "kod", "Pocet")));
    expectTheOrder();

    ui.clear();
    EXPECT_FALSE(run(fileSettings(ItemImportSource::Dbase, path, "KOD", "MNOZSTVI")));
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{"Sloupec \"MNOZSTVI\" nebyl ve zdrojovém souboru nalezen."});
    ui.clear();
    EXPECT_FALSE(run(fileSettings(ItemImportSource::Dbase, path, "KLIC", "POCET")));
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{"Sloupec \"KLIC\" nebyl ve zdrojovém souboru nalezen."});

    const QString empty = dir.filePath(QStringLiteral("prazdna.dbf"));
    writeDbf(empty, false);
    ui.clear();
    EXPECT_FALSE(run(fileSettings(ItemImportSource::Dbase, empty, "KOD", "POCET")));
    EXPECT_EQ(ui.texts(Kind::Error), QStringList{"Zdrojový soubor neobsahuje požadovaná data."});
    EXPECT_EQ(card->itemCount(), 3);
}

TEST_F(OfferItemImportSourcesTest, FilesThatCannotBeReadAddNothing) {
    const auto refused = [&](const offers::ItemImportSettings& s, const QString& message) {
        ui.clear();
        EXPECT_FALSE(run(s)) << s.fileName.toStdString();
        EXPECT_EQ(ui.texts(Kind::Error), QStringList{message});
        EXPECT_EQ(card->itemCount(), 0);
    };
    // Only titles: the header switch leaves no data row.
    const QString titles = dir.filePath(QStringLiteral("nadpisy.xlsx"));
    writeXlsx(titles, false);
    refused(fileSettings(ItemImportSource::Workbook, titles, "1", "2"),
            QStringLiteral("Zdrojový soubor neobsahuje požadovaná data."));

    // A text named as a workbook, a workbook cut short, a table that is no dBase table.
    const QString fake = dir.filePath(QStringLiteral("text.xlsx"));
    QFile file(fake);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Kód;Počet\nKAB-01;1\n");
    file.close();
    refused(fileSettings(ItemImportSource::Workbook, fake, "1", "2"), loadFailure(fake));
    refused(fileSettings(ItemImportSource::Dbase, fake, "KOD", "POCET"), loadFailure(fake));
    const QString cut = dir.filePath(QStringLiteral("cut.xls"));
    testsupport::workbooks::runPython(xlsWriter, {cut});
    testsupport::workbooks::cutFile(cut, 0.5);
    refused(fileSettings(ItemImportSource::Workbook, cut, "1", "2"), loadFailure(cut));

    // A quantity that is no number stops the reading at its row.
    const QString order = dir.filePath(QStringLiteral("objednavka.xlsx"));
    writeXlsx(order, true);
    refused(fileSettings(ItemImportSource::Workbook, order, "1", "1"),
            QStringLiteral("Chyba ve zdrojovém souboru na řádku 2: hodnotu \"kab-01\" nelze "
                           "konvertovat na počet mj."));
}

} // namespace
