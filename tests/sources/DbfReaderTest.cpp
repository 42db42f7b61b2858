#include "core/sources/ImportSource.h"
#include "sources/CsvTestRows.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <shapefil.h>

using namespace orvento::core::sources;
using orvento::testsupport::readAllTexts;
using orvento::testsupport::writeBytes;

namespace {

struct Sample {
    QString name;
    std::optional<double> price; // nothing: left empty
    int count;
    QByteArray date; // yyyyMMdd or empty
    char active;
    bool deleted;
};

const std::vector<Sample> samples{
    {QStringLiteral("Žluťoučký kůň"), 1234.5, 3, "20240315", 'T', false},
    {QStringLiteral("Smazaný řádek"), 1.0, 1, "20240101", 'F', true},
    {QStringLiteral("Ďábelské ódy"), std::nullopt, 0, {}, 'F', false},
    {QStringLiteral("Úpěl"), -0.25, 12, "19991231", '?', false},
};

// A table as shapelib writes it: dBase III, the texts encoded in `encoding`, the code page
// marked by `codePage` ("LDID/100" is the language driver of code page 852).
void writeTable(const QString& path, const char* codePage, const char* encoding) {
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), codePage);
    ASSERT_NE(dbf, nullptr);
    ASSERT_EQ(DBFAddField(dbf, "NAZEV", FTString, 30, 0), 0);
    ASSERT_EQ(DBFAddField(dbf, "CENA", FTDouble, 12, 2), 1);
    ASSERT_EQ(DBFAddField(dbf, "POCET", FTInteger, 6, 0), 2);
    ASSERT_EQ(DBFAddNativeFieldType(dbf, "DATUM", 'D', 8, 0), 3);
    ASSERT_EQ(DBFAddField(dbf, "AKTIVNI", FTLogical, 1, 0), 4);
    QStringEncoder encoder(encoding);
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const Sample& sample = samples[static_cast<std::size_t>(i)];
        const QByteArray name = encoder(sample.name);
        DBFWriteStringAttribute(dbf, i, 0, name.constData());
        if (sample.price)
            DBFWriteDoubleAttribute(dbf, i, 1, *sample.price);
        else
            DBFWriteNULLAttribute(dbf, i, 1);
        DBFWriteIntegerAttribute(dbf, i, 2, sample.count);
        QByteArray date = sample.date.isEmpty() ? QByteArray(8, ' ') : sample.date;
        DBFWriteAttributeDirectly(dbf, i, 3, date.data());
        DBFWriteLogicalAttribute(dbf, i, 4, sample.active);
        if (sample.deleted)
            DBFMarkRecordDeleted(dbf, i, 1);
    }
    DBFClose(dbf);
}

std::unique_ptr<SourceTable> openTable(ImportSource& source, QString& error) {
    return source.openTable(source.tables().value(0), error);
}

// The message of opening the file as a dBase source and its table; empty when both open.
QString openError(const QString& path) {
    QString error;
    auto source = openSource(SourceKind::Dbf, path, error);
    if (!source)
        return error;
    return openTable(*source, error) ? QString() : error;
}

void expectSampleRows(SourceTable& table) {
    EXPECT_EQ(table.columns(),
              (QStringList{QStringLiteral("NAZEV"), QStringLiteral("CENA"), QStringLiteral("POCET"),
                           QStringLiteral("DATUM"), QStringLiteral("AKTIVNI")}));
    EXPECT_EQ(table.rowCount(), 3); // the deleted record is not counted
    Row row;
    ASSERT_TRUE(table.next(row));
    EXPECT_EQ(row[0].toText(), QStringLiteral("Žluťoučký kůň"));
    EXPECT_EQ(row[1].kind(), Cell::Kind::Number);
    EXPECT_EQ(row[1].toNumber(), 1234.5);
    EXPECT_EQ(row[2].toText(), QStringLiteral("3"));
    EXPECT_EQ(row[3].toText(), QStringLiteral("2024-03-15"));
    EXPECT_EQ(row[4].toText(), QStringLiteral("True"));
    const auto rest = readAllTexts(table);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0], (QStringList{QStringLiteral("Ďábelské ódy"), QString(), QStringLiteral("0"),
                                    QString(), QStringLiteral("False")}));
    EXPECT_EQ(rest[1],
              (QStringList{QStringLiteral("Úpěl"), QStringLiteral("-0.25"), QStringLiteral("12"),
                           QStringLiteral("1999-12-31"), QString()}));
}

class DbfReaderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(DbfReaderTest, CodePageFromTheHeaderAndDeletedRecordsSkipped) {
    const QString file = path(QStringLiteral("cenik.dbf"));
    writeTable(file, "LDID/100", "IBM852");
    QString error;
    auto source = openSource(SourceKind::Dbf, file, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_EQ(source->tables(), QStringList{QStringLiteral("cenik")});
    auto table = openTable(*source, error);
    ASSERT_TRUE(table) << error.toStdString();
    expectSampleRows(*table);

    // The same texts in code page 1250, marked so by the header's language driver.
    const QString windows = path(QStringLiteral("cenik1250.dbf"));
    writeTable(windows, "LDID/200", "windows-1250");
    source = openSource(SourceKind::Dbf, windows, error);
    ASSERT_TRUE(source) << error.toStdString();
    table = openTable(*source, error);
    ASSERT_TRUE(table) << error.toStdString();
    expectSampleRows(*table);
}

TEST_F(DbfReaderTest, CodePageFileWinsAndAnyExtensionIsATable) {
    // An accounting table kept as .dat, its header claiming 852 while a .cpg beside it says 1250.
    const QString file = path(QStringLiteral("Zasoby.dat"));
    writeTable(path(QStringLiteral("Zasoby.dbf")), "LDID/100", "windows-1250");
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("Zasoby.dbf")), file));
    writeBytes(path(QStringLiteral("ZASOBY.CPG")), "1250\r\n");
    QString error;
    auto source = openSource(SourceKind::Dbf, file, error);
    ASSERT_TRUE(source) << error.toStdString();
    EXPECT_EQ(source->tables(), QStringList{QStringLiteral("Zasoby")});
    auto table = source->openTable(QStringLiteral("Zasoby"), error);
    ASSERT_TRUE(table) << error.toStdString();
    expectSampleRows(*table);
}

TEST_F(DbfReaderTest, DamagedFilesGiveCzechMessages) {
    const QString good = path(QStringLiteral("good.dbf"));
    writeTable(good, "LDID/100", "IBM852");
    QFile source(good);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    source.close();
    const qint64 headerLength = static_cast<quint8>(bytes[8]) | static_cast<quint8>(bytes[9]) << 8;

    const auto damaged = [&](const QString& name, const QByteArray& content) {
        const QString file = path(name);
        writeBytes(file, content);
        return openError(file);
    };
    // Cut within the records, within the header, and within the fixed prefix.
    EXPECT_TRUE(damaged(QStringLiteral("records.dbf"), bytes.first(bytes.size() - 10))
                    .contains(QStringLiteral("zkrácený")));
    EXPECT_FALSE(damaged(QStringLiteral("header.dbf"), bytes.first(headerLength - 8)).isEmpty());
    EXPECT_FALSE(damaged(QStringLiteral("prefix.dbf"), bytes.first(20)).isEmpty());
    EXPECT_FALSE(damaged(QStringLiteral("empty.dbf"), {}).isEmpty());
    QByteArray zeroRecord = bytes;
    zeroRecord[10] = 0;
    zeroRecord[11] = 0;
    EXPECT_FALSE(damaged(QStringLiteral("zero.dbf"), zeroRecord).isEmpty());
    QByteArray hugeHeader = bytes;
    hugeHeader[8] = char(0xFF);
    hugeHeader[9] = char(0xFF);
    EXPECT_FALSE(damaged(QStringLiteral("huge.dbf"), hugeHeader).isEmpty());
    // A field claiming more than the record holds.
    QByteArray wideField = bytes;
    wideField[32 + 16] = char(0xFF);
    EXPECT_FALSE(damaged(QStringLiteral("wide.dbf"), wideField).isEmpty());
    EXPECT_FALSE(damaged(QStringLiteral("text.dbf"), "Kat;Popis\r\n1;2\r\n").isEmpty());
    EXPECT_TRUE(
        openError(path(QStringLiteral("missing.dbf"))).contains(QStringLiteral("neexistuje")));

    // Cut short after the rows were counted: a read error, not a crash or a silent end.
    QString error;
    auto opened = openSource(SourceKind::Dbf, good, error);
    ASSERT_TRUE(opened);
    auto table = openTable(*opened, error);
    ASSERT_TRUE(table);
    ASSERT_TRUE(QFile::resize(good, headerLength + 10));
    Row row;
    while (table->next(row)) {
    }
    EXPECT_FALSE(table->error().isEmpty());

    // Deleted after choosing.
    ASSERT_TRUE(QFile::remove(good));
    EXPECT_FALSE(openTable(*opened, error));
    EXPECT_TRUE(error.contains(QStringLiteral("neexistuje"))) << error.toStdString();
}

// A text column wider than 255, its width's high byte kept where the decimals go.
TEST_F(DbfReaderTest, WideTextColumn) {
    const QString file = path(QStringLiteral("wide.dbf"));
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(file).constData(), "LDID/200");
    ASSERT_NE(dbf, nullptr);
    ASSERT_EQ(DBFAddField(dbf, "KOD", FTString, 5, 0), 0);
    ASSERT_EQ(DBFAddField(dbf, "POPIS", FTString, 250, 0), 1);
    ASSERT_EQ(DBFAddField(dbf, "CENA", FTDouble, 8, 2), 2);
    const QByteArray longText = QByteArray(250, 'x');
    DBFWriteStringAttribute(dbf, 0, 0, "A1");
    DBFWriteStringAttribute(dbf, 0, 1, longText.constData());
    DBFWriteDoubleAttribute(dbf, 0, 2, 9.5);
    DBFClose(dbf);
    // Rewrite POPIS as 300 wide (44 + 256), its record longer by 50 spaces before CENA.
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    QByteArray bytes = raw.readAll();
    raw.close();
    const int headerLength = static_cast<quint8>(bytes[8]) | static_cast<quint8>(bytes[9]) << 8;
    constexpr int popisDescriptor = 32 + 32;
    bytes[popisDescriptor + 16] = char(44);
    bytes[popisDescriptor + 17] = char(1);
    const int recordLength = 1 + 5 + 300 + 8;
    bytes[10] = char(recordLength & 0xFF);
    bytes[11] = char(recordLength >> 8);
    bytes.insert(headerLength + 1 + 5 + 250, QByteArray(50, 'y'));
    writeBytes(file, bytes);

    QString error;
    auto source = openSource(SourceKind::Dbf, file, error);
    ASSERT_TRUE(source) << error.toStdString();
    auto table = openTable(*source, error);
    ASSERT_TRUE(table) << error.toStdString();
    const auto rows = readAllTexts(*table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("A1"),
                                    QString::fromLatin1(longText + QByteArray(50, 'y')),
                                    QStringLiteral("9.5")}));
}

} // namespace
