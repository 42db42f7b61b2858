#pragma once

#include "dastrel/ReportTemplate.h"
#include "output/DataSetReader.h"

#include <QImage>
#include <QString>
#include <QTextDocumentFragment>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace orvento::dastrel {

// Fills a template with the report data and paints it page by page: the body flows over the
// pages (table rows are never cut, a table's header rows repeat), the header and footer are
// filled again for every page with its number. A text stored as rich text (RTF) is put onto the
// page with its formats where the template names it; `{{Column_text}}` gives its plain text.
class ReportRenderer {
public:
    // A stored rich text ready for the page: its paragraphs, and the alignment of its first one,
    // which an insertion into a paragraph of the template would not bring along.
    struct RichText {
        QTextDocumentFragment fragment;
        Qt::Alignment firstAlignment;
    };

    ReportRenderer(ReportTemplate report, const output::DataSet& data);
    ~ReportRenderer();
    ReportRenderer(const ReportRenderer&) = delete;
    ReportRenderer& operator=(const ReportRenderer&) = delete;

    // The body as HTML after the tags are filled; for the editor and for tests.
    const QString& bodyHtml() const { return m_bodyHtml; }

    // Lays the report out for the device (which gets the template's page layout) and paints
    // pages `fromPage` to `toPage` (1-based, cut to the pages there are) with `painter`, which
    // must be active on the device. Returns the number of pages the report has.
    int paint(QPagedPaintDevice& device, QPainter& painter, int fromPage = 1, int toPage = 9999);
    // Writes the whole report as a PDF file. False with a Czech reason when it cannot.
    bool exportPdf(const QString& path, QString* error);

    // Only for tests: where every table row of the laid-out body starts and ends, as page
    // numbers, after a paint.
    std::vector<std::pair<int, int>> rowPages() const;

private:
    std::unique_ptr<QTextDocument> makeDocument(const QString& html, QPagedPaintDevice& device,
                                                double width) const;
    // Puts every stored rich text where the filled-in HTML holds its placeholder.
    void insertRichTexts(QTextDocument& doc) const;
    QString pagePart(const QString& part, int page, int pages) const;
    void paginate(double pageHeight);

    // One page of the body: the stretch [top, bottom) of the laid-out body, and the header rows
    // of the table it continues, [headTop, headBottom), repeated above it (empty when none).
    struct Page {
        double top;
        double bottom;
        double headTop;
        double headBottom;
    };

    ReportTemplate m_template;
    QString m_bodyHtml;
    std::vector<QImage> m_images;
    std::vector<RichText> m_richTexts;
    std::unique_ptr<struct RenderData> m_data;
    std::unique_ptr<QTextDocument> m_body;
    std::vector<Page> m_pages;
};

// Czech writing of values, as the reports show them.
QString czechAmount(double value);   // "1 234,50"
QString czechQuantity(double value); // up to four decimals without trailing zeros: "2", "2,5"
QString czechDate(const QDateTime& value);

} // namespace orvento::dastrel
