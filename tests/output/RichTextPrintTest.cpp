#include "dastrel/ReportRenderer.h"
#include "output/ReportTables.h"

#include "BuiltInRender.h"
#include "PdfProbe.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento;

namespace {

// What the offer card's editor stores: a centred heading in a serif font, bold, italic, 18 pt;
// then a left-aligned paragraph with an underlined and a red word, and a right-aligned one.
// Windows-1250 bytes as the editor writes them.
const QString kTextPred = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fcharset238 DejaVu Sans;}"
    "{\\f1\\fcharset238 DejaVu Serif;}}{\\colortbl ;\\red204\\green0\\blue0;}\n"
    "{\\pard\\qc\\f1\\fs36\\b\\i V\\'e1\\'9een\\'fd z\\'e1kazn\\'edku,\\par}\n"
    "\\pard\\ql\\f0 nab\\'edz\\'edme {\\ul podtr\\'9een\\'e9} a {\\cf1 \\'e8erven\\'e9} "
    "zbo\\'9e\\'ed.\\par\n"
    "\\pard\\qr S pozdravem\\par}");
const QString kTextZa =
    QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0 T\\u283?\\'9a\\'edme se na "
                   "{\\b spolupr\\'e1ci}.\\par}");

class RichTextPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::popplerMissing())
            GTEST_SKIP() << "the poppler tools (poppler-utils) are not installed";
    }

    // The standard offer layout with the two texts and nothing else of an offer.
    QString renderOffer(const QString& textPred, const QString& textZa) {
        output::ReportTable header = output::offerHeaderTable();
        const int r = header.appendRow();
        header.set(r, QStringLiteral("Doklad"), QStringLiteral("NB00042"));
        header.set(r, QStringLiteral("TextPred"), textPred);
        header.set(r, QStringLiteral("TextZa"), textZa);
        output::ReportTable items = output::offerItemsTable();
        return testsupport::renderBuiltIn(QStringLiteral("_NABKSP"),
                                          testsupport::roundTrip({&header, &items}), m_dir);
    }

    QTemporaryDir m_dir;
};

const testsupport::PdfWord* wordOf(const std::vector<testsupport::PdfWord>& words,
                                   const QString& text) {
    const auto it = std::find_if(words.begin(), words.end(),
                                 [&text](const testsupport::PdfWord& w) { return w.text == text; });
    return it == words.end() ? nullptr : &*it;
}

constexpr int kDpi = 144;
constexpr double kPixelsPerPoint = kDpi / 72.0;

QRect pixelsOf(const QRectF& points, const QImage& page) {
    const QRectF px(points.topLeft() * kPixelsPerPoint, points.size() * kPixelsPerPoint);
    return px.toAlignedRect().intersected(page.rect());
}

// A line under the word: a row from its middle to just below it that is dark nearly all across.
bool underlined(const QImage& page, const QRectF& word) {
    const QRect box = pixelsOf(word.adjusted(0, word.height() / 2.0, 0, word.height() / 4.0), page);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int dark = 0;
        for (int x = box.left(); x <= box.right(); ++x)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        if (dark > box.width() * 85 / 100)
            return true;
    }
    return false;
}

int redPixels(const QImage& page, const QRectF& word) {
    const QRect box = pixelsOf(word, page);
    int red = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    return red;
}

} // namespace

// The texts before and after the items print as the user formatted them: the words without any
// RTF, the bold italic serif run in its own font, the heading centred and larger than the text,
// the closing words right-aligned, the underlined word underlined and the red word red.
TEST_F(RichTextPrintTest, OfferTextsPrintWithTheirFormats) {
    const QString pdf = renderOffer(kTextPred, kTextZa);
    const QString text = testsupport::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Vážený zákazníku,"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("nabízíme podtržené a červené zboží.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Těšíme se na spolupráci.")));
    EXPECT_FALSE(text.contains(QStringLiteral("rtf")));
    EXPECT_FALSE(text.contains(QStringLiteral("fonttbl")));

    const QStringList fonts = testsupport::pdfFonts(pdf);
    // Nothing else of the layout is set in the serif font.
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSerif-BoldItalic")))
        << fonts.join(' ').toStdString();

    double pageWidth = 0.0;
    const auto words = testsupport::pdfWords(pdf, &pageWidth);
    const auto* heading = wordOf(words, QStringLiteral("Vážený"));
    const auto* headingEnd = wordOf(words, QStringLiteral("zákazníku,"));
    const auto* body = wordOf(words, QStringLiteral("nabízíme"));
    ASSERT_TRUE(heading && headingEnd && body);
    // The margins left and right are the same, so the centred heading sits in the page's middle.
    const double middle = (heading->box.left() + headingEnd->box.right()) / 2.0;
    EXPECT_NEAR(middle, pageWidth / 2.0, 3.0);
    EXPECT_LT(body->box.left(), heading->box.left() - 50.0);
    EXPECT_GT(heading->box.height(), 1.6 * body->box.height());
    const auto* greeting = wordOf(words, QStringLiteral("pozdravem"));
    ASSERT_TRUE(greeting);
    EXPECT_NEAR(greeting->box.right(), pageWidth - body->box.left(), 3.0);

    const QImage page = testsupport::pdfFirstPage(pdf, kDpi);
    ASSERT_FALSE(page.isNull());
    const auto* underlinedWord = wordOf(words, QStringLiteral("podtržené"));
    const auto* redWord = wordOf(words, QStringLiteral("červené"));
    ASSERT_TRUE(underlinedWord && redWord);
    EXPECT_TRUE(underlined(page, underlinedWord->box));
    EXPECT_FALSE(underlined(page, body->box));
    EXPECT_GT(redPixels(page, redWord->box), 10);
    EXPECT_EQ(redPixels(page, underlinedWord->box), 0);
}

// A text that is not rich text prints as it is; an empty rich text prints nothing.
TEST_F(RichTextPrintTest, PlainAndEmptyTexts) {
    const QString pdf =
        renderOffer(QStringLiteral("Děkujeme za poptávku {a} \\par"), QStringLiteral("{\\rtf1 }"));
    const QString text = testsupport::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Děkujeme za poptávku {a} \\par")));
    EXPECT_FALSE(testsupport::pdfFonts(pdf).contains(QStringLiteral("DejaVuSerif-BoldItalic")));
}
