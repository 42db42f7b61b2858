#include "core/sources/ImportSource.h"
#include "sources/CsvTestRows.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

using namespace orvento::core::sources;
using orvento::testsupport::readAllTexts;
using orvento::testsupport::writeBytes;

namespace {

class CsvReaderTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }

    std::unique_ptr<SourceTable> open(const QString& path) {
        QString error;
        m_source = openSource(SourceKind::Csv, path, error);
        EXPECT_TRUE(m_source) << error.toStdString();
        if (!m_source)
            return nullptr;
        auto table = m_source->openTable(m_source->tables().value(0), error);
        EXPECT_TRUE(table) << error.toStdString();
        return table;
    }

    // The message openTable gives, or an empty text when it opened.
    QString openError(const QString& path) {
        QString error;
        auto source = openSource(SourceKind::Csv, path, error);
        if (!source)
            return error;
        auto table = source->openTable(QStringLiteral("any"), error);
        return table ? QString() : error;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ImportSource> m_source;
};

const QString czechText =
    QStringLiteral("Kód;Název;Cena\r\nŽ-1;Příliš žluťoučký kůň úpěl ďábelské ódy;1 234,5\r\n");

TEST_F(CsvReaderTest, CzechLettersSurviveEachEncoding) {
    QStringEncoder windows1250("windows-1250");
    const QByteArray ansi = windows1250(czechText);
    ASSERT_FALSE(windows1250.hasError());
    const QByteArray utf8 = czechText.toUtf8();
    const QList<QByteArray> files{utf8, "\xEF\xBB\xBF" + utf8, ansi};
    for (const QByteArray& bytes : files) {
        auto table = open(write(QStringLiteral("ceník.csv"), bytes));
        ASSERT_TRUE(table);
        EXPECT_EQ(table->columns(), (QStringList{QStringLiteral("Kód"), QStringLiteral("Název"),
                                                 QStringLiteral("Cena")}));
        EXPECT_EQ(table->rowCount(), 1);
        Row row;
        ASSERT_TRUE(table->next(row));
        EXPECT_EQ(row[1].toText(), QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"));
        EXPECT_EQ(row[2].kind(), Cell::Kind::Text);
        EXPECT_EQ(row[2].toNumber(), 1234.5);
        EXPECT_FALSE(table->next(row));
    }
    EXPECT_EQ(m_source->tables(), QStringList{QStringLiteral("ceník.csv")});
}

TEST_F(CsvReaderTest, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    // LF-only line ends here; a quoted line break must not start a row nor be counted as one.
    const QByteArray text = "A;B;C\n"
                            "\"x;y\";\"He said \"\"hi\"\"\";\"first\r\nsecond\"\n"
                            "plain;\"\";last\n"
                            "\n"
                            "\"open\"tail;;";
    auto table = open(write(QStringLiteral("q.csv"), text));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 3);
    const auto rows = readAllTexts(*table);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("x;y"), QStringLiteral("He said \"hi\""),
                                    QStringLiteral("first\r\nsecond")}));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("plain"), QString(), QStringLiteral("last")}));
    EXPECT_EQ(rows[2], (QStringList{QStringLiteral("opentail"), QString(), QString()}));
}

TEST_F(CsvReaderTest, HeaderEndsAtFirstUnnamedColumnAndRowsFitIt) {
    const QByteArray text = "\"Kat\";\"Popis\";;\"Cena\"\r\n"
                            "K1;Stůl;x;100\r\n"
                            "K2\r\n"
                            "K3;Židle;;;;;\r\n";
    auto table = open(write(QStringLiteral("h.csv"), text));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->columns(), (QStringList{QStringLiteral("Kat"), QStringLiteral("Popis")}));
    Row row;
    ASSERT_TRUE(table->next(row));
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[1].toText(), QStringLiteral("Stůl"));
    ASSERT_TRUE(table->next(row)); // shorter than the header: padded
    ASSERT_EQ(row.size(), 2u);
    EXPECT_TRUE(row[1].isEmpty());
    ASSERT_TRUE(table->next(row)); // longer: cut
    ASSERT_EQ(row.size(), 2u);
    EXPECT_FALSE(table->next(row));

    // The raw grid keeps what the header leaves out.
    QString error;
    const auto grid = m_source->rawGrid(QStringLiteral("h.csv"), error);
    ASSERT_TRUE(grid) << error.toStdString();
    ASSERT_EQ(grid->size(), 4u);
    EXPECT_EQ((*grid)[0].size(), 7u);
    EXPECT_EQ((*grid)[0][3].toText(), QStringLiteral("Cena"));
    EXPECT_EQ((*grid)[1][3].toText(), QStringLiteral("100"));
}

TEST_F(CsvReaderTest, EmptyHeaderOnlyAndVanishedFiles) {
    EXPECT_TRUE(
        openError(write(QStringLiteral("empty.csv"), {})).contains(QStringLiteral("prázdný")));
    EXPECT_TRUE(openError(write(QStringLiteral("bom.csv"), "\xEF\xBB\xBF\r\n"))
                    .contains(QStringLiteral("prázdný")));
    EXPECT_FALSE(openError(write(QStringLiteral("nonames.csv"), ";a\r\n1;2\r\n")).isEmpty());

    auto table = open(write(QStringLiteral("header.csv"), "Kat;Popis\r\n"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 0);
    Row row;
    EXPECT_FALSE(table->next(row));
    EXPECT_EQ(table->error(), QString());

    // Chosen, then deleted before the run reads it.
    const QString path = write(QStringLiteral("gone.csv"), "Kat\r\nA\r\n");
    QString error;
    auto source = openSource(SourceKind::Csv, path, error);
    ASSERT_TRUE(source);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(source->openTable(QStringLiteral("gone.csv"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("neexistuje"))) << error.toStdString();
    EXPECT_FALSE(openSource(SourceKind::Csv, path, error));
}

TEST_F(CsvReaderTest, LongCellIsReadWhole) {
    const QString longText = QString(10000, QChar(0x0161)); // š, two bytes each in UTF-8
    const QByteArray text = "Popis;Cena\r\n\"" + longText.toUtf8() + "\";5\r\n";
    auto table = open(write(QStringLiteral("long.csv"), text));
    ASSERT_TRUE(table);
    Row row;
    ASSERT_TRUE(table->next(row));
    EXPECT_EQ(row[0].toText(), longText);
    EXPECT_EQ(row[1].toNumber(), 5.0);
}

TEST_F(CsvReaderTest, ClipboardTextIsTabSeparated) {
    auto source = openClipboardText(
        QStringLiteral("Kat\tPopis\tCena\r\nA1\tStůl; dub\t1 200\r\nA2\t\t3\r\n"));
    ASSERT_TRUE(source);
    QString error;
    auto table = source->openTable(source->tables().value(0), error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(table->rowCount(), 2);
    const auto rows = readAllTexts(*table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], QStringLiteral("Stůl; dub"));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("A2"), QString(), QStringLiteral("3")}));
    EXPECT_FALSE(openClipboardText(QStringLiteral(" \r\n"))->openTable(QString(), error));
}

TEST_F(CsvReaderTest, HundredThousandRowsReadQuickly) {
    constexpr int rows = 100000;
    constexpr int columns = 10;
    QByteArray text;
    for (int c = 0; c < columns; ++c)
        text += (c ? ";" : "") + QByteArray("Sloupec") + QByteArray::number(c);
    text += "\r\n";
    for (int r = 0; r < rows; ++r) {
        text += "KAT" + QByteArray::number(r) + ";\"Položka č. " + QByteArray::number(r) + "\"";
        for (int c = 2; c < columns; ++c)
            text += ";" + QByteArray::number(r * c) + ",5";
        text += "\r\n";
    }
    const QString path = write(QStringLiteral("big.csv"), text);
    // Processor time, so that other work on the machine does not count.
    const std::clock_t started = std::clock();
    auto table = open(path);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), rows);
    Row row;
    qint64 read = 0;
    QString lastName;
    while (table->next(row)) {
        ++read;
        lastName = row[1].toText();
    }
    EXPECT_EQ(read, rows);
    EXPECT_EQ(lastName, QStringLiteral("Položka č. 99999"));
    constexpr double limitSeconds = 1.0;
    EXPECT_LT(static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, limitSeconds);
}

} // namespace
