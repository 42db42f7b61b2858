#include "core/RtfCodec.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace orvento::core;

namespace {

QString sample(const char* name) {
    QFile file(QStringLiteral(ORVENTO_RTF_SAMPLES "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(file.readAll());
}

// The character format at a character position of the document.
QTextCharFormat formatAt(QTextDocument& document, const QString& word) {
    const QTextCursor found = document.find(word);
    EXPECT_FALSE(found.isNull()) << word.toStdString();
    QTextCursor at(&document);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

QString plainOf(const QTextDocument& document) {
    return document.toPlainText().replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
}

} // namespace

TEST(RtfCodec, CzechTextWithFormatsRoundTrips) {
    QTextDocument source;
    QTextCursor cursor(&source);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    italic.setForeground(QColor(200, 0, 0));
    QTextCharFormat sized;
    sized.setFontPointSize(14);
    sized.setFontUnderline(true);
    cursor.insertText(QStringLiteral("Příliš "));
    cursor.insertText(QStringLiteral("žluťoučký"), bold);
    cursor.insertText(QStringLiteral(" kůň "), QTextCharFormat());
    cursor.insertText(QStringLiteral("úpěl"), italic);
    cursor.insertText(QString(QChar(QChar::LineSeparator)) + QStringLiteral("ďábelské {ódy} \\ €"),
                      QTextCharFormat());
    cursor.insertBlock();
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("Nabídka č. 5"), sized);
    cursor.insertBlock();
    cursor.insertBlock(); // an empty last paragraph is kept

    const QString rtf = rtf::write(source);
    // Only ASCII is stored, Czech letters as \uN with their Windows-1250 byte after them.
    for (const QChar ch : rtf)
        ASSERT_LT(ch.unicode(), 0x80);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u345\\'f8")));

    QTextDocument back;
    ASSERT_TRUE(rtf::read(rtf, back));
    EXPECT_EQ(plainOf(back), plainOf(source));
    EXPECT_EQ(back.blockCount(), source.blockCount());
    EXPECT_EQ(formatAt(back, QStringLiteral("žluťoučký")).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatAt(back, QStringLiteral("kůň")).fontWeight() == QFont::Bold);
    EXPECT_TRUE(formatAt(back, QStringLiteral("úpěl")).fontItalic());
    EXPECT_EQ(formatAt(back, QStringLiteral("úpěl")).foreground().color(), QColor(200, 0, 0));
    EXPECT_TRUE(formatAt(back, QStringLiteral("Nabídka")).fontUnderline());
    EXPECT_EQ(formatAt(back, QStringLiteral("Nabídka")).fontPointSize(), 14);
    EXPECT_EQ(back.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // Written again, nothing changes.
    EXPECT_EQ(rtf::write(back), rtf);
}

TEST(RtfCodec, ReadsWhatWordProcessorsWrite) {
    struct Case {
        const char* file;
        QString text;
        QString boldWord;
        QString italicWord;
    };
    const Case cases[] = {
        {"wordpad.rtf",
         QStringLiteral("Dobrý den, tučný a kurzíva\nPříliš žluťoučký kůň\ndruhý řádek"),
         QStringLiteral("tučný"), QStringLiteral("kurzíva")},
        {"word.rtf", QStringLiteral("Nabídka č. 5\nCena včetně DPH"), QStringLiteral("Nabídka"),
         QStringLiteral("včetně")},
        {"libreoffice.rtf", QStringLiteral("Žluťoučký kůň úpěl „ďábelské“ ódy."),
         QStringLiteral("Žluťoučký"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QTextDocument document;
        ASSERT_TRUE(rtf::read(sample(c.file), document));
        // Nothing of the font tables, styles, document info or unknown destinations leaks in.
        EXPECT_EQ(plainOf(document), c.text);
        EXPECT_EQ(formatAt(document, c.boldWord).fontWeight(), QFont::Bold);
        if (!c.italicWord.isEmpty()) {
            EXPECT_TRUE(formatAt(document, c.italicWord).fontItalic());
        }
    }
    QTextDocument word;
    rtf::read(sample("word.rtf"), word);
    EXPECT_EQ(word.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(formatAt(word, QStringLiteral("včetně")).foreground().color(), QColor(192, 0, 0));
}

TEST(RtfCodec, BrokenOrForeignInputIsReadSafely) {
    QTextDocument document;
    // Not RTF at all: the text as it is.
    ASSERT_TRUE(rtf::read(QStringLiteral("Prostý text\nna dva řádky"), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Prostý text\nna dva řádky"));
    // Cut off in the middle: what was there, and the failure said.
    EXPECT_FALSE(rtf::read(QStringLiteral("{\\rtf1\\ansi {\\b Tu\\'e8"), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Tuè"));
    // Stray closing brace, a dangling backslash and a bad hex escape.
    EXPECT_FALSE(rtf::read(QStringLiteral("{\\rtf1 a}}b"), document) &&
                 document.toPlainText().contains(QLatin1Char('b')));
    rtf::read(QStringLiteral("{\\rtf1 x\\'zz y\\"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("x y"));
    // A huge parameter and a negative \u value (characters above 32767).
    ASSERT_TRUE(rtf::read(QStringLiteral("{\\rtf1\\fs99999999999999 \\u-4064?A}"), document));
    EXPECT_EQ(document.toPlainText(), QString(QChar(0xF020)) + QLatin1Char('A'));
    EXPECT_EQ(rtf::plainText(QStringLiteral("{\\rtf1 a\\line b\\par}")), QStringLiteral("a\nb"));
}
