#include "dastrel/ReportRenderer.h"

#include "core/AmountFormat.h"
#include "core/RtfCodec.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <kainjow/mustache.hpp>

#include <cmath>

namespace orvento::dastrel {

using Data = kainjow::mustache::data;
using Mustache = kainjow::mustache::mustache;
using output::ColumnType;
using output::DataSet;
using output::ReportTable;

QString czechAmount(double value) {
    return core::formatAmount(value);
}

QString czechQuantity(double value) {
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole =
        text.mid(negative ? 1 : 0, (point < 0 ? text.size() : point) - (negative ? 1 : 0));
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += QLatin1Char(' ');
        grouped += whole.at(i);
    }
    return (negative ? QStringLiteral("-") : QString()) + grouped +
           (point < 0 ? QString() : QLatin1Char(',') + text.mid(point + 1));
}

QString czechDate(const QDateTime& value) {
    return value.isValid() ? value.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

// The filled-in data of one report: the Mustache data of all tables and the compiled parts.
struct RenderData {
    Data root{Data::type::object};
    std::unique_ptr<Mustache> header;
    std::unique_ptr<Mustache> footer;
};

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Private-use characters around a number: the place of a rich text in the filled-in HTML. They
// pass the HTML escaping and parsing unchanged and occur in no text of the data.
constexpr char16_t kRichTextOpen = 0xE000;
constexpr char16_t kRichTextClose = 0xE001;

QString richTextMark(std::size_t index) {
    return QChar(kRichTextOpen) + QString::number(index) + QChar(kRichTextClose);
}

bool isPicturePath(const QString& text) {
    if (text.size() < 5 || text.size() > 1024)
        return false;
    const QString lower = text.right(5).toLower();
    return lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg")) ||
           lower.endsWith(QLatin1String(".png")) || lower.endsWith(QLatin1String(".bmp")) ||
           lower.endsWith(QLatin1String(".gif"));
}

// Turns the data set into Mustache data: every table a list of rows, every row its columns in
// the forms the template may ask for, and for each relation whose master it is the matching
// detail rows under the relation's name.
class DataBuilder {
public:
    DataBuilder(const DataSet& set, std::vector<QImage>& images,
                std::vector<ReportRenderer::RichText>& richTexts)
        : m_set(set)
        , m_images(images)
        , m_richTexts(richTexts) {
        for (const DataSet::Relation& r : set.relations) {
            const ReportTable* detail = set.table(r.detailTable);
            const int column = detail ? detail->columnIndex(r.detailColumn) : -1;
            if (column < 0)
                continue;
            Index index{r, {}};
            for (int row = 0; row < detail->rowCount(); ++row)
                index.rows[keyOf(detail->value(row, column))].push_back(row);
            m_relations.push_back(std::move(index));
        }
    }

    Data build() {
        Data root{Data::type::object};
        for (const ReportTable& t : m_set.tables)
            root.set(utf8(t.name()), rows(t, nullptr, 0));
        root.set("today", utf8(czechDate(QDateTime::currentDateTime())));
        return root;
    }

private:
    struct Index {
        DataSet::Relation relation;
        QHash<QString, std::vector<int>> rows;
    };

    static QString keyOf(const QVariant& v) { return v.toString(); }

    Data rows(const ReportTable& t, const std::vector<int>* only, int depth) {
        Data list{Data::type::list};
        const int count = only ? static_cast<int>(only->size()) : t.rowCount();
        for (int i = 0; i < count; ++i) {
            const int row = only ? (*only)[static_cast<std::size_t>(i)] : i;
            Data item = rowData(t, row, depth);
            item.set("_index", utf8(QString::number(i + 1)));
            item.set("_odd", Data(i % 2 == 0));
            item.set("_first", Data(i == 0));
            item.set("_last", Data(i == count - 1));
            list.push_back(item);
        }
        return list;
    }

    Data rowData(const ReportTable& t, int row, int depth) {
        Data item{Data::type::object};
        const auto& columns = t.columns();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string name = utf8(columns[c].name);
            const QVariant& v = t.value(row, static_cast<int>(c));
            switch (columns[c].type) {
            case ColumnType::Text:
            case ColumnType::Memo: {
                const QString stored = v.toString();
                QString text = stored;
                if (core::rtf::looksLikeRtf(stored)) {
                    // Stored rich text goes onto the page with its formats: the tag gets a
                    // placeholder that the laid-out document replaces by the text itself.
                    QTextDocument rich;
                    core::rtf::read(stored, rich);
                    text =
                        rich.toPlainText().replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
                    m_richTexts.push_back({QTextDocumentFragment(&rich),
                                           rich.firstBlock().blockFormat().alignment()});
                    item.set(name, utf8(richTextMark(m_richTexts.size() - 1)));
                } else {
                    item.set(name, utf8(text));
                }
                item.set(name + "_text", utf8(text));
                item.set(name + "_set", Data(!text.trimmed().isEmpty()));
                if (isPicturePath(text)) {
                    // Many items may show the same picture: each file is read once.
                    auto known = m_pictureFiles.constFind(text);
                    if (known == m_pictureFiles.cend()) {
                        const QImage image(text);
                        int at = -1;
                        if (!image.isNull()) {
                            m_images.push_back(image);
                            at = static_cast<int>(m_images.size()) - 1;
                        }
                        known = m_pictureFiles.insert(text, at);
                    }
                    if (*known >= 0)
                        item.set(name + "_image", utf8(QStringLiteral("img:%1").arg(*known)));
                }
                break;
            }
            case ColumnType::SmallInt:
            case ColumnType::Integer:
            case ColumnType::Word:
            case ColumnType::AutoInc:
            case ColumnType::LargeInt:
                item.set(name, utf8(QString::number(v.toLongLong())));
                item.set(name + "_set", Data(v.toLongLong() != 0));
                break;
            case ColumnType::Boolean:
                item.set(name, Data(v.toBool()));
                break;
            case ColumnType::Double:
            case ColumnType::Currency: {
                const double d = v.toDouble();
                item.set(name, utf8(czechAmount(d)));
                item.set(name + "_qty", utf8(czechQuantity(d)));
                item.set(name + "_int", utf8(czechQuantity(std::round(d))));
                item.set(name + "_set", Data(std::fabs(d) >= 0.00005));
                break;
            }
            case ColumnType::Date:
            case ColumnType::DateTime:
            case ColumnType::Time: {
                const QDateTime at = v.toDateTime();
                item.set(name, utf8(czechDate(at)));
                item.set(name + "_time",
                         utf8(at.isValid() ? at.toString(QStringLiteral("HH:mm")) : QString()));
                item.set(name + "_set", Data(at.isValid()));
                break;
            }
            case ColumnType::Picture: {
                const QImage image = QImage::fromData(v.toByteArray());
                if (!image.isNull()) {
                    m_images.push_back(image);
                    item.set(name, utf8(QStringLiteral("img:%1").arg(m_images.size() - 1)));
                }
                item.set(name + "_set", Data(!image.isNull()));
                break;
            }
            }
        }
        if (depth < 8) {
            for (const Index& index : m_relations) {
                if (index.relation.masterTable != t.name())
                    continue;
                const int column = t.columnIndex(index.relation.masterColumn);
                const ReportTable* detail = m_set.table(index.relation.detailTable);
                if (column < 0 || !detail)
                    continue;
                static const std::vector<int> none;
                const auto found = index.rows.constFind(keyOf(t.value(row, column)));
                item.set(utf8(index.relation.name),
                         rows(*detail, found == index.rows.cend() ? &none : &*found, depth + 1));
            }
        }
        return item;
    }

    const DataSet& m_set;
    std::vector<QImage>& m_images;
    std::vector<ReportRenderer::RichText>& m_richTexts;
    QHash<QString, int> m_pictureFiles; // the picture's place in m_images, -1 when unreadable
    std::vector<Index> m_relations;
};

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '\n':
            out += "<br/>";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::unique_ptr<Mustache> compile(const QString& text) {
    auto m = std::make_unique<Mustache>(utf8(text));
    m->set_custom_escape(htmlEscape);
    return m;
}

} // namespace

ReportRenderer::ReportRenderer(ReportTemplate report, const output::DataSet& data)
    : m_template(std::move(report))
    , m_data(std::make_unique<RenderData>()) {
    m_data->root = DataBuilder(data, m_images, m_richTexts).build();
    m_data->header = compile(m_template.header);
    m_data->footer = compile(m_template.footer);
    auto body = compile(m_template.body);
    m_bodyHtml = QString::fromStdString(body->render(m_data->root));
}

ReportRenderer::~ReportRenderer() = default;

QString ReportRenderer::pagePart(const QString& part, int page, int pages) const {
    Mustache& m = part == QLatin1String("header") ? *m_data->header : *m_data->footer;
    Data pageData{Data::type::object};
    pageData.set("page", std::to_string(page));
    pageData.set("pages", std::to_string(pages));
    kainjow::mustache::context<std::string> ctx(&m_data->root);
    ctx.push(&pageData);
    return QString::fromStdString(m.render(ctx));
}

std::unique_ptr<QTextDocument>
ReportRenderer::makeDocument(const QString& html, QPagedPaintDevice& device, double width) const {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&device);
    doc->setDocumentMargin(0);
    QFont font(m_template.fontFamily);
    font.setPointSizeF(m_template.fontSize);
    doc->setDefaultFont(font);
    doc->setDefaultStyleSheet(m_template.style);
    for (std::size_t i = 0; i < m_images.size(); ++i)
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img:%1").arg(i)),
                         m_images[i]);
    doc->setTextWidth(width);
    doc->setHtml(html);
    if (html.contains(QChar(kRichTextOpen)))
        insertRichTexts(*doc);
    return doc;
}

void ReportRenderer::insertRichTexts(QTextDocument& doc) const {
    for (std::size_t i = 0; i < m_richTexts.size(); ++i) {
        const QString mark = richTextMark(i);
        for (QTextCursor at = doc.find(mark); !at.isNull(); at = doc.find(mark, at)) {
            // A placeholder alone in its paragraph gives the paragraph to the rich text.
            const bool alone = at.block().text() == mark;
            const int start = at.selectionStart();
            at.insertFragment(m_richTexts[i].fragment);
            if (alone) {
                QTextBlockFormat aligned;
                aligned.setAlignment(m_richTexts[i].firstAlignment);
                QTextCursor(doc.findBlock(start)).mergeBlockFormat(aligned);
            }
        }
    }
}

namespace {

// A stretch of the laid-out body that no page break may cut (a line of text, a table row), and
// where a break in front of it goes.
struct Unbreakable {
    double top;
    double bottom;
    double cutAt;
};

struct TableZone {
    double headTop;    // where the table starts
    double headBottom; // where its repeated header rows end and its first data row begins
    double bottom;
};

// The extent of a table's row: from the top of its highest cell content to the bottom of its
// lowest, rows spanned by a cell included in the row where the cell starts.
std::vector<std::pair<double, double>> rowExtents(QTextTable& table,
                                                  QAbstractTextDocumentLayout& layout) {
    std::vector<std::pair<double, double>> rows(static_cast<std::size_t>(table.rows()),
                                                {1e300, -1e300});
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            auto& extent = rows[static_cast<std::size_t>(r)];
            for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
                const QRectF rect = it.currentFrame() ? layout.frameBoundingRect(it.currentFrame())
                                                      : layout.blockBoundingRect(it.currentBlock());
                extent.first = std::min(extent.first, rect.top());
                extent.second = std::max(extent.second, rect.bottom());
            }
        }
    }
    // An empty row takes the place between its neighbours.
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].first > rows[r].second)
            rows[r] =
                r == 0 ? std::pair{0.0, 0.0} : std::pair{rows[r - 1].second, rows[r - 1].second};
    return rows;
}

} // namespace

void ReportRenderer::paginate(double pageHeight) {
    QAbstractTextDocumentLayout& layout = *m_body->documentLayout();
    std::vector<Unbreakable> keep;
    std::vector<TableZone> tables;
    std::vector<double> forced;
    // Where the content before a frame ends: a break in front of a table goes there, since the
    // table's borders and cell backgrounds reach above its first row's text.
    double contentBottom = 0.0;
    for (QTextFrame::iterator it = m_body->rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            const QRectF box = layout.frameBoundingRect(frame);
            const double before = std::min(contentBottom, box.top());
            contentBottom = box.bottom();
            auto* table = qobject_cast<QTextTable*>(frame);
            if (!table) {
                keep.push_back({box.top(), box.bottom(), before});
                continue;
            }
            if (table->format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                forced.push_back(box.top());
            const auto rows = rowExtents(*table, layout);
            const int headerRows = std::min(table->format().headerRowCount(), table->rows());
            double previous = box.top();
            for (int r = 0; r < table->rows(); ++r) {
                const auto [top, bottom] = rows[static_cast<std::size_t>(r)];
                const double cut = r == 0 ? box.top() : (previous + top) / 2.0;
                if (r == headerRows && headerRows > 0)
                    tables.push_back({box.top(), cut, box.bottom()});
                // The header rows stay with the first data row.
                if (r >= headerRows)
                    keep.push_back({r == headerRows ? box.top() : top, bottom,
                                    r == headerRows ? before : cut});
                previous = bottom;
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        const QRectF box = layout.blockBoundingRect(block);
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            forced.push_back(box.top());
        const QTextLayout* lines = block.layout();
        for (int l = 0; lines && l < lines->lineCount(); ++l) {
            const QTextLine line = lines->lineAt(l);
            const double top = box.top() + line.y();
            keep.push_back({top, top + line.height(), top});
        }
        contentBottom = box.bottom();
    }
    std::sort(keep.begin(), keep.end(),
              [](const Unbreakable& a, const Unbreakable& b) { return a.top < b.top; });
    std::sort(forced.begin(), forced.end());

    m_pages.clear();
    const double total = m_body->size().height();
    double start = 0.0;
    while (start < total - 0.5 || m_pages.empty()) {
        Page page{start, total, 0.0, 0.0};
        for (const TableZone& t : tables)
            if (start > t.headBottom + 0.5 && start < t.bottom - 0.5) {
                page.headTop = t.headTop;
                page.headBottom = t.headBottom;
            }
        const double capacity = pageHeight - (page.headBottom - page.headTop);
        double end = start + std::max(capacity, pageHeight / 4.0);
        const auto breakAt = std::upper_bound(forced.begin(), forced.end(), start + 0.5);
        if (breakAt != forced.end() && *breakAt < end) {
            end = *breakAt;
        } else if (end < total) {
            // The last stretch that begins before the end and reaches over it moves to the next
            // page, unless it alone is taller than a page.
            auto it = std::upper_bound(keep.begin(), keep.end(), end,
                                       [](double y, const Unbreakable& u) { return y < u.top; });
            double cut = end;
            while (it != keep.begin()) {
                --it;
                if (it->top <= start)
                    break;
                if (it->bottom > end + 0.01 && it->cutAt > start + 0.5)
                    cut = std::min(cut, it->cutAt);
                if (it->bottom < end - pageHeight)
                    break;
            }
            end = cut;
        }
        page.bottom = std::min(end, total);
        m_pages.push_back(page);
        if (end >= total)
            break;
        start = end;
    }
}

int ReportRenderer::paint(QPagedPaintDevice& device, QPainter& painter, int fromPage, int toPage) {
    const QRectF area(QPointF(0, 0),
                      QSizeF(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()));
    const double width = area.width();
    const bool hasHeader = !m_template.header.trimmed().isEmpty();
    const bool hasFooter = !m_template.footer.trimmed().isEmpty();
    const double headerHeight =
        hasHeader ? makeDocument(pagePart(QStringLiteral("header"), 1, 999), device, width)
                        ->size()
                        .height()
                  : 0.0;
    const double footerHeight =
        hasFooter ? makeDocument(pagePart(QStringLiteral("footer"), 1, 999), device, width)
                        ->size()
                        .height()
                  : 0.0;
    // Header and footer never take more than half the page between them.
    const double bodyHeight =
        std::max(area.height() - headerHeight - footerHeight, area.height() / 2.0);
    // The body is laid out as one long page and cut into pages here, between lines and between
    // table rows, never through them; a table's header rows repeat on the pages it continues on.
    m_body = makeDocument(m_bodyHtml, device, width);
    paginate(bodyHeight);
    const int pages = static_cast<int>(m_pages.size());
    const int last = std::min(toPage, pages);
    const auto drawSlice = [this, &painter](double top, double bottom, double at) {
        painter.save();
        painter.translate(0, at - top);
        const QRectF clip(0, top, m_body->textWidth(), bottom - top);
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        m_body->documentLayout()->draw(&painter, context);
        painter.restore();
    };
    for (int page = std::max(1, fromPage); page <= last; ++page) {
        if (page != std::max(1, fromPage))
            device.newPage();
        if (hasHeader && (page > 1 || m_template.headerOnFirstPage)) {
            painter.save();
            makeDocument(pagePart(QStringLiteral("header"), page, pages), device, width)
                ->drawContents(&painter);
            painter.restore();
        }
        const Page& slice = m_pages[static_cast<std::size_t>(page - 1)];
        const double repeated = slice.headBottom - slice.headTop;
        if (repeated > 0)
            drawSlice(slice.headTop, slice.headBottom, headerHeight);
        drawSlice(slice.top, slice.bottom, headerHeight + repeated);
        if (hasFooter) {
            painter.save();
            painter.translate(0, area.height() - footerHeight);
            makeDocument(pagePart(QStringLiteral("footer"), page, pages), device, width)
                ->drawContents(&painter);
            painter.restore();
        }
    }
    return pages;
}

bool ReportRenderer::exportPdf(const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error =
                QStringLiteral("Soubor PDF %1 nelze vytvořit: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Dastrel"));
        writer.setPageLayout(m_template.pageLayout());
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("Soubor PDF %1 nelze vytvořit.").arg(path);
            return false;
        }
        paint(writer, painter);
        painter.end();
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("Soubor PDF %1 nelze uložit: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

std::vector<std::pair<int, int>> ReportRenderer::rowPages() const {
    std::vector<std::pair<int, int>> out;
    if (!m_body || m_pages.empty())
        return out;
    const auto pageOf = [this](double y) {
        int page = 1;
        for (std::size_t p = 0; p < m_pages.size(); ++p)
            if (y >= m_pages[p].top)
                page = static_cast<int>(p) + 1;
        return page;
    };
    for (QTextFrame* frame : m_body->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        for (const auto& [top, bottom] : rowExtents(*table, *m_body->documentLayout()))
            out.emplace_back(pageOf(top), pageOf(bottom - 0.5));
    }
    return out;
}

} // namespace orvento::dastrel
