#include "core/sources/ImportSource.h"
#include "core/sources/XbaseCodePage.h"
#include "sources/CsvTestRows.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <shapefil.h>

using namespace orvento::core::sources;
using orvento::testsupport::readAllTexts;
using orvento::testsupport::writeBytes;

namespace {

constexpr qsizetype versionAt = 0;
constexpr char dbaseIVWithMemo = char(0x8B);
constexpr qsizetype memoBlockSizeAt = 20;
constexpr quint16 memoBlockSize = 64;

// A dBase IV table with a memo column: shapelib writes the table (block numbers as text), the
// memo file is laid out here with its block size in the header and a marked, counted memo.
TEST(DbfMemoTest, DbaseIVMemoWithItsOwnBlockSize) {
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("poznamky.dbf"));
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(table).constData(), "LDID/200");
    ASSERT_NE(dbf, nullptr);
    ASSERT_EQ(DBFAddField(dbf, "KOD", FTString, 5, 0), 0);
    ASSERT_EQ(DBFAddNativeFieldType(dbf, "POZN", 'M', 10, 0), 1);
    DBFWriteStringAttribute(dbf, 0, 0, "A1");
    DBFWriteStringAttribute(dbf, 0, 1, "         2");
    DBFWriteStringAttribute(dbf, 1, 0, "A2");
    DBFWriteStringAttribute(dbf, 1, 1, "          ");
    DBFClose(dbf);
    QFile raw(table);
    ASSERT_TRUE(raw.open(QIODevice::ReadWrite));
    ASSERT_TRUE(raw.seek(versionAt));
    ASSERT_EQ(raw.write(&dbaseIVWithMemo, 1), 1);
    raw.close();

    const QString text =
        QStringLiteral("Řádek první\r\nŘádek druhý, delší než jeden blok ").repeated(3);
    QStringEncoder encoder("windows-1250");
    const QByteArray body = encoder(text);
    QByteArray memo(2 * memoBlockSize, '\0');
    qToLittleEndian<quint16>(memoBlockSize, memo.data() + memoBlockSizeAt);
    QByteArray head(8, '\0');
    qToLittleEndian<quint32>(0x0008FFFF, head.data());
    qToLittleEndian<quint32>(static_cast<quint32>(body.size() + head.size()), head.data() + 4);
    memo += head + body;
    writeBytes(dir.filePath(QStringLiteral("POZNAMKY.DBT")), memo);

    QString error;
    auto source = openSource(SourceKind::Dbf, table, error);
    ASSERT_TRUE(source) << error.toStdString();
    auto rows = source->openTable(QString(), error);
    ASSERT_TRUE(rows) << error.toStdString();
    const auto texts = readAllTexts(*rows);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], (QStringList{QStringLiteral("A1"), text.trimmed()}));
    EXPECT_EQ(texts[1], (QStringList{QStringLiteral("A2"), QString()}));

    // A block number past the memo file's end is a read error of that row.
    memo.truncate(memoBlockSize * 2 + 4);
    writeBytes(dir.filePath(QStringLiteral("POZNAMKY.DBT")), memo);
    rows = source->openTable(QString(), error);
    ASSERT_TRUE(rows) << error.toStdString();
    Row row;
    EXPECT_FALSE(rows->next(row));
    EXPECT_FALSE(rows->error().isEmpty());
}

// Each code page a header or a code-page file may name decodes on this system.
TEST(DbfMemoTest, NamedCodePagesDecode) {
    const auto decodes = [](const QByteArray& encoding, const QByteArray& byte, QChar expected) {
        if (encoding.isEmpty())
            return false;
        QStringDecoder decoder(encoding.constData());
        return decoder.isValid() && QString(decoder(byte)) == QString(expected);
    };
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0x64), "\xA7", QChar(0x017E))); // ž in 852
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0xC8), "\x9E", QChar(0x017E))); // ž in 1250
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0x65), "\x80", QChar(0x0410))); // А in 866
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0x03), "\xE9", QChar(0x00E9))); // é in 1252
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0x57), "\xE9", QChar(0x00E9)));
    EXPECT_TRUE(decodes(xbaseDriverEncoding(0x01), "\x82", QChar(0x00E9))); // é in 437
    EXPECT_TRUE(xbaseDriverEncoding(0x00).isEmpty());

    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("1250\r\n"), "\x9E", QChar(0x017E)));
    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("ANSI 1250"), "\x9E", QChar(0x017E)));
    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("CP852"), "\xA7", QChar(0x017E)));
    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("LDID/100"), "\xA7", QChar(0x017E)));
    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("UTF-8"), "\xC5\xBE", QChar(0x017E)));
    EXPECT_TRUE(decodes(xbaseCodePageFileEncoding("ISO-8859-2"), "\xBE", QChar(0x017E)));
    EXPECT_TRUE(xbaseCodePageFileEncoding("no such page").isEmpty());
    EXPECT_TRUE(xbaseCodePageFileEncoding("").isEmpty());
}

} // namespace
