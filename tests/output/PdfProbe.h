#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

// What the poppler tools read from a PDF: its text, its fonts, its words with their boxes, its
// first page as a picture. A probe whose tool is missing gives an empty answer.
namespace orvento::testsupport {

bool popplerMissing();

// The text as `pdftotext -layout` lays it out, ligatures back to their letters and no-break
// spaces as plain ones.
QString pdfText(const QString& pdf);

// The names of the embedded fonts without their subset prefix ("DejaVuSans-Bold").
QStringList pdfFonts(const QString& pdf);

struct PdfWord {
    QString text;
    QRectF box; // in points, from the page's top left corner
};
// The words of the first page, and the page's width in points.
std::vector<PdfWord> pdfWords(const QString& pdf, double* pageWidth = nullptr);

// The first page at `dpi` dots per inch; a null image when it cannot be made.
QImage pdfFirstPage(const QString& pdf, int dpi);

int pdfImageCount(const QString& pdf);

} // namespace orvento::testsupport
