#include "output/DataSetWriter.h"
#include "output/DataSetReader.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <map>

#include <gtest/gtest.h>

using namespace orvento::output;

namespace {

// The text of every element of a row of `table`, by column name, as a standard parser reads it.
std::vector<std::map<QString, QString>> rowsOf(const QByteArray& xml, const QString& table) {
    std::vector<std::map<QString, QString>> rows;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != table)
            continue;
        std::map<QString, QString> row;
        while (reader.readNextStartElement()) {
            const QString name = reader.name().toString();
            row[name] = reader.readElementText();
        }
        rows.push_back(row);
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return rows;
}

ReportTable sampleTable() {
    ReportTable t(QStringLiteral("mtVzorek"));
    t.column(QStringLiteral("Text"), ColumnType::Text, 8, QStringLiteral("Odběratel - PSČ"))
        .column(QStringLiteral("Memo"), ColumnType::Memo)
        .column(QStringLiteral("Flag"), ColumnType::Boolean)
        .column(QStringLiteral("Amount"), ColumnType::Double)
        .column(QStringLiteral("Money"), ColumnType::Currency)
        .column(QStringLiteral("Day"), ColumnType::Date)
        .column(QStringLiteral("At"), ColumnType::DateTime)
        .column(QStringLiteral("Clock"), ColumnType::Time)
        .column(QStringLiteral("Big"), ColumnType::LargeInt)
        .column(QStringLiteral("Small"), ColumnType::SmallInt)
        .column(QStringLiteral("Picture"), ColumnType::Picture);
    return t;
}

} // namespace

// What a standard parser reads back: escaped specials, Czech letters, control characters that
// XML forbids turned into spaces, line breaks, and the type-by-type value forms.
TEST(DataSetWriter, ValuesSurviveAStandardParser) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    ReportTable t = sampleTable();
    int r = t.appendRow();
    t.set(r, QStringLiteral("Text"), QStringLiteral("A&B<C>\"D'Ežluťoučký"));
    t.set(r, QStringLiteral("Memo"),
          QStringLiteral("řádek 1\nřádek 2\r\nnul") + QChar(0) + QStringLiteral("x") + QChar(0x1B) +
              QChar(0x0B) + QStringLiteral("\ttab") + QChar(0xFFFF) + QChar(0xD800) +
              QStringLiteral("😀"));
    t.set(r, QStringLiteral("Flag"), true);
    t.set(r, QStringLiteral("Amount"), 1234.5);
    t.set(r, QStringLiteral("Money"), 10.123456);
    t.set(r, QStringLiteral("Day"), QDate(2024, 3, 5));
    t.set(r, QStringLiteral("At"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    t.set(r, QStringLiteral("Clock"), QTime(8, 5, 0));
    t.set(r, QStringLiteral("Big"), qint64(0x100000005LL));
    t.set(r, QStringLiteral("Small"), -3);
    // A second row of NULLs: the empty value of each type.
    t.appendRow();
    DataSetWriter writer(QStringLiteral("ReportDataset"));
    ASSERT_TRUE(writer.addTable(t));
    const QByteArray xml = writer.text().toUtf8();
    const auto rows = rowsOf(xml, QStringLiteral("mtVzorek"));
    ASSERT_EQ(rows.size(), 2u);
    const auto& v = rows[0];
    EXPECT_EQ(v.at(QStringLiteral("Text")), QStringLiteral("A&B<C>\"D")); // cut to 8 characters
    EXPECT_EQ(v.at(QStringLiteral("Memo")), QStringLiteral("řádek 1\nřádek 2\nnul x  \ttab  😀"));
    EXPECT_EQ(v.at(QStringLiteral("Flag")), QStringLiteral("1"));
    EXPECT_EQ(v.at(QStringLiteral("Amount")), QStringLiteral("1234.5"));
    EXPECT_EQ(v.at(QStringLiteral("Money")), QStringLiteral("10.1235"));
    EXPECT_EQ(v.at(QStringLiteral("Day")), QStringLiteral("2024-03-05"));
    EXPECT_EQ(v.at(QStringLiteral("At")), QStringLiteral("2024-03-05T14:07:09"));
    EXPECT_EQ(v.at(QStringLiteral("Clock")), QStringLiteral("0001-01-01T08:05:00"));
    EXPECT_EQ(v.at(QStringLiteral("Big")), QStringLiteral("5"));
    EXPECT_EQ(v.at(QStringLiteral("Small")), QStringLiteral("-3"));
    EXPECT_EQ(v.count(QStringLiteral("Picture")), 0u);
    const auto& empty = rows[1];
    EXPECT_EQ(empty.at(QStringLiteral("Text")), QString());
    EXPECT_EQ(empty.at(QStringLiteral("Flag")), QStringLiteral("0"));
    EXPECT_EQ(empty.at(QStringLiteral("Amount")), QStringLiteral("0"));
    EXPECT_EQ(empty.at(QStringLiteral("Day")), QStringLiteral("0001-01-01T00:00:00"));
    EXPECT_EQ(empty.at(QStringLiteral("At")), QStringLiteral("0001-01-01T00:00:00"));
    EXPECT_EQ(empty.at(QStringLiteral("Clock")), QStringLiteral("0001-01-01T00:00:00"));
    EXPECT_EQ(empty.at(QStringLiteral("Big")), QStringLiteral("0"));
    QLocale::setDefault(QLocale::c());
}

TEST(DataSetWriter, NumbersInTheGeneralDecimalForm) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    EXPECT_EQ(dataset::formatNumber(1234.5), QStringLiteral("1234.5"));
    EXPECT_EQ(dataset::formatNumber(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(dataset::formatNumber(-21.0), QStringLiteral("-21"));
    EXPECT_EQ(dataset::formatNumber(0.0001), QStringLiteral("0.0001"));
    EXPECT_EQ(dataset::formatNumber(1.5e-7), QStringLiteral("1.5E-7"));
    EXPECT_EQ(dataset::formatNumber(-0.00002), QStringLiteral("-2E-5"));
    EXPECT_EQ(dataset::formatNumber(999999999999999.0), QStringLiteral("999999999999999"));
    EXPECT_EQ(dataset::formatNumber(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(dataset::formatNumber(123456789012345678.0), QStringLiteral("1.23456789012346E17"));
    EXPECT_EQ(dataset::formatNumber(0.0), QStringLiteral("0"));
    QLocale::setDefault(QLocale::c());
}

// The file itself: UTF-8 without a byte-order mark, every line ended by CR LF, the schema with
// captions and types, keys and relations in order, a reused key for the same master column.
TEST(DataSetWriter, FileLayoutKeysAndRelations) {
    ReportTable sheets(QStringLiteral("mtTiskSklady"));
    sheets.column(QStringLiteral("ID"), ColumnType::Integer)
        .column(QStringLiteral("Nazev"), ColumnType::Text, 50, QStringLiteral("Název listu"));
    ReportTable groups(QStringLiteral("mtTiskSkupiny"));
    groups.column(QStringLiteral("ID"), ColumnType::Integer)
        .column(QStringLiteral("Sklad"), ColumnType::Integer);
    ReportTable items(QStringLiteral("mtTiskZasoby"));
    items.column(QStringLiteral("Sklad"), ColumnType::Integer)
        .column(QStringLiteral("Skupina"), ColumnType::Integer);
    for (int i = 1; i <= 2; ++i) {
        const int s = sheets.appendRow();
        sheets.set(s, 0, i);
        sheets.set(s, 1, QStringLiteral("List č. %1").arg(i));
        const int g = groups.appendRow();
        groups.set(g, 0, 10 + i);
        groups.set(g, 1, i);
        const int z = items.appendRow();
        items.set(z, 0, i);
        items.set(z, 1, 10 + i);
    }
    DataSetWriter writer(QStringLiteral("ReportDataset"));
    writer.addTable(sheets);
    writer.addTable(groups);
    writer.addTable(items);
    // The source changes after it was added; the file keeps the snapshot.
    sheets.set(0, 1, QStringLiteral("změněno"));
    writer.addRelation(QStringLiteral("Sklady_Skupiny"), QStringLiteral("mtTiskSklady"),
                       QStringLiteral("ID"), QStringLiteral("mtTiskSkupiny"),
                       QStringLiteral("Sklad"));
    writer.addRelation(QStringLiteral("Sklady_Zasoby"), QStringLiteral("mtTiskSklady"),
                       QStringLiteral("ID"), QStringLiteral("mtTiskZasoby"),
                       QStringLiteral("Sklad"));
    writer.addRelation(QStringLiteral("Skupiny_Zasoby"), QStringLiteral("mtTiskSkupiny"),
                       QStringLiteral("ID"), QStringLiteral("mtTiskZasoby"),
                       QStringLiteral("Skupina"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("{data}"));
    ASSERT_TRUE(writer.saveToFile(path)) << writer.lastError().toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(
        bytes.startsWith("<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<ReportDataset>\r\n"));
    EXPECT_TRUE(bytes.endsWith("</ReportDataset>\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.contains(
        QStringLiteral("msdata:Caption=\"Název listu\" type=\"xs:string\"").toUtf8()));
    EXPECT_TRUE(bytes.contains("<xs:unique name=\"C0\">\r\n<xs:selector xpath=\".//mtTiskSklady\" "
                               "/>\r\n<xs:field xpath=\"ID\" />\r\n</xs:unique>"));
    EXPECT_TRUE(
        bytes.contains("<xs:unique name=\"C1\">\r\n<xs:selector xpath=\".//mtTiskSkupiny\""));
    EXPECT_FALSE(bytes.contains("\"C2\""));
    EXPECT_TRUE(bytes.contains("<xs:keyref name=\"Sklady_Zasoby\" refer=\"C0\">"));
    EXPECT_TRUE(bytes.contains("<xs:keyref name=\"Skupiny_Zasoby\" refer=\"C1\">"));

    QString error;
    const auto set = readDataSet(path, &error);
    ASSERT_TRUE(set) << error.toStdString();
    ASSERT_EQ(set->tables.size(), 3u);
    EXPECT_EQ(set->tables[0].value(0, QStringLiteral("Nazev")).toString(),
              QStringLiteral("List č. 1"));
    EXPECT_EQ(set->tables[0].columns()[1].label(), QStringLiteral("Název listu"));
    ASSERT_EQ(set->relations.size(), 3u);
    EXPECT_EQ(set->relations[2].masterTable, QStringLiteral("mtTiskSkupiny"));
    EXPECT_EQ(set->relations[2].masterColumn, QStringLiteral("ID"));
    EXPECT_EQ(set->relations[2].detailTable, QStringLiteral("mtTiskZasoby"));
    EXPECT_EQ(set->relations[2].detailColumn, QStringLiteral("Skupina"));
}

TEST(DataSetWriter, PictureAndTableLimit) {
    ReportTable t(QStringLiteral("mtHlavickaNab"));
    t.column(QStringLiteral("Logo"), ColumnType::Picture);
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    t.set(t.appendRow(), 0, png);
    DataSetWriter writer(QStringLiteral("ReportDataset"));
    writer.addTable(t);
    const QString text = writer.text();
    EXPECT_TRUE(text.contains(QStringLiteral("<Logo>Qk"))); // "BM", a Windows bitmap
    const auto set = readDataSetText(text.toUtf8(), nullptr);
    ASSERT_TRUE(set);
    const QImage back = QImage::fromData(set->tables[0].value(0, 0).toByteArray());
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixelColor(1, 1), QColor(Qt::red));

    for (int i = 1; i < DataSetWriter::kMaxTables; ++i)
        ASSERT_TRUE(writer.addTable(ReportTable(QStringLiteral("t%1").arg(i))));
    EXPECT_FALSE(writer.addTable(ReportTable(QStringLiteral("navic"))));
}

TEST(DataSetWriter, UnwritableFileGivesTheFailureText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chybi/soubor"));
    DataSetWriter writer(QStringLiteral("SystemDataset"));
    EXPECT_FALSE(writer.saveToFile(path));
    EXPECT_TRUE(writer.lastError().startsWith(
        QStringLiteral("Při ukládání souboru %1 došlo k chybě. ").arg(path)))
        << writer.lastError().toStdString();
    EXPECT_GT(writer.lastError().size(),
              QStringLiteral("Při ukládání souboru %1 došlo k chybě. ").arg(path).size());
}

TEST(DataSetReader, DamagedFilesAreRefusedWithAReason) {
    QString error;
    EXPECT_FALSE(readDataSetText("<ReportDataset><xs:schema", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readDataSetText("", &error));
    EXPECT_FALSE(readDataSetText("<A><mtNeznama><X>1</X></mtNeznama></A>", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("mtNeznama")));
    EXPECT_FALSE(readDataSet(QStringLiteral("/nonexistent/file"), &error));
}
