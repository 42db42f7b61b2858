#pragma once

#include "dastrel/ReportTemplate.h"
#include "output/DataSetReader.h"

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace orvento::dastrel {

// Fills a template with the report data and paints it page by page: the body flows over the
// pages (table rows are never cut, a table's header rows repeat), the header and footer are
// filled again for every page with its number.
class ReportRenderer {
public:
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
    std::unique_ptr<struct RenderData> m_data;
    std::unique_ptr<QTextDocument> m_body;
    std::vector<Page> m_pages;
};

// Czech writing of values, as the reports show them.
QString czechAmount(double value);   // "1 234,50"
QString czechQuantity(double value); // up to four decimals without trailing zeros: "2", "2,5"
QString czechDate(const QDateTime& value);
// The plain text of a stored rich text (RTF) document; other text comes back unchanged.
QString plainText(const QString& stored);

} // namespace orvento::dastrel
