#include "output/XlsxTemplateFill.h"

#include "core/sources/ZipArchive.h"
#include "core/sources/ZipUpdate.h"
#include "output/DataSetWriter.h"
#include "output/PriceListTables.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <map>
#include <vector>

namespace orvento::output {

namespace {

using core::sources::ZipArchive;

// The bands of rows, from the outermost: what a template row repeats with.
enum class Band { Static, Sheet, Group, Item, Note };

const QRegularExpression& placeholderPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("\\{\\{\\s*(Hlavicka|Sklady|Skupiny|Zasoby)\\.([A-Za-z0-9_]+)\\s*\\}\\}"));
    return pattern;
}

// A piece of a cell's text: literal text, or the value of a table's column.
struct Part {
    QString text;   // the literal, or the table's name
    QString column; // empty for a literal
};

struct Cell {
    int column = 0; // 0-based
    QString style;  // the `s` attribute, kept by reference
    QString type;   // the `t` attribute as read
    QString raw;    // the inner XML of a cell without placeholders
    QString text;   // the text of a string cell (shared or inline)
    bool hasPlaceholder = false;
    std::vector<Part> parts; // the text cut at its placeholders
    bool single = false;     // the whole text is one placeholder
};

struct Row {
    int number = 0;                  // in the template
    QXmlStreamAttributes attributes; // without `r` and `spans`
    std::vector<Cell> cells;
    Band band = Band::Static;
};

QString columnName(int column) {
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

// "AB12" → column 27 (0-based) and row 12.
bool parseRef(const QString& ref, int& column, int& row) {
    int c = 0;
    qsizetype i = 0;
    while (i < ref.size() && ref.at(i).isLetter()) {
        c = c * 26 + (ref.at(i).toUpper().unicode() - u'A' + 1);
        ++i;
    }
    bool ok = false;
    row = ref.mid(i).toInt(&ok);
    column = c - 1;
    return ok && c > 0;
}

QString escaped(const QString& text) {
    return dataset::escape(text, dataset::Quotes::Escaped);
}

// The source of a value: one row of one table.
struct Scope {
    const PriceListTables& tables;
    int sheet = -1;
    int group = -1;
    int item = -1;

    const ReportTable* table(const QString& name, int& row) const {
        if (name == QLatin1String("Hlavicka")) {
            row = tables.header.rowCount() > 0 ? 0 : -1;
            return &tables.header;
        }
        if (name == QLatin1String("Sklady")) {
            row = sheet;
            return &tables.sheets;
        }
        if (name == QLatin1String("Skupiny")) {
            row = group;
            return &tables.groups;
        }
        row = item;
        return &tables.items;
    }
    QVariant value(const QString& tableName, const QString& column, ColumnType& type) const {
        int row = -1;
        const ReportTable* t = table(tableName, row);
        const int at = t->columnIndex(column);
        if (at < 0 || row < 0)
            return {};
        type = t->columns()[static_cast<size_t>(at)].type;
        return t->value(row, at);
    }
};

bool numeric(ColumnType type) {
    switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Word:
    case ColumnType::AutoInc:
    case ColumnType::LargeInt:
    case ColumnType::Double:
    case ColumnType::Currency:
        return true;
    default:
        return false;
    }
}

QString numberText(const QVariant& v) {
    return dataset::formatNumber(v.isValid() ? v.toDouble() : 0.0);
}

class SheetFiller {
public:
    SheetFiller(const PriceListTables& tables, const QStringList& shared)
        : m_tables(tables)
        , m_shared(shared) {}

    // The worksheet with its rows expanded; false with `error` when it is no worksheet.
    bool fill(const QByteArray& xml, QByteArray& out, QString& error) {
        const QByteArray open = "<sheetData";
        const qsizetype start = xml.indexOf(open);
        if (start < 0) {
            out = xml;
            return true;
        }
        qsizetype end = xml.indexOf("</sheetData>", start);
        qsizetype after = end < 0 ? -1 : end + qsizetype(sizeof("</sheetData>") - 1);
        if (end < 0) {
            // An empty sheet: <sheetData/>.
            end = xml.indexOf("/>", start);
            if (end < 0) {
                error = QStringLiteral("list sešitu nelze přečíst");
                return false;
            }
            out = xml;
            return true;
        }
        if (!readRows(xml.mid(start, after - start), error))
            return false;
        if (!anyPlaceholder()) {
            out = xml;
            return true;
        }
        // One buffer for the whole sheet: a sheet of 100,000 rows is not copied again.
        out = withDimensionPending(xml.left(start));
        out.reserve(out.size() + 1 + static_cast<qsizetype>(m_rows.size()) * 64 +
                    estimatedRows() * 400);
        out += "<sheetData>";
        writeRows(out);
        out += "</sheetData>";
        out += withMerges(xml.mid(after));
        setDimension(out);
        return true;
    }

private:
    bool anyPlaceholder() const {
        for (const Row& r : m_rows)
            for (const Cell& c : r.cells)
                if (c.hasPlaceholder)
                    return true;
        return false;
    }

    bool readRows(const QByteArray& sheetData, QString& error) {
        QXmlStreamReader xml(sheetData);
        Row* row = nullptr;
        Cell* cell = nullptr;
        int nextRow = 1;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto name = xml.name();
                if (name == QLatin1String("row")) {
                    Row r;
                    const QString number = xml.attributes().value(QLatin1String("r")).toString();
                    r.number = number.isEmpty() ? nextRow : number.toInt();
                    nextRow = r.number + 1;
                    for (const QXmlStreamAttribute& a : xml.attributes())
                        if (a.name() != QLatin1String("r") && a.name() != QLatin1String("spans"))
                            r.attributes.append(a);
                    m_rows.push_back(std::move(r));
                    row = &m_rows.back();
                } else if (name == QLatin1String("c") && row) {
                    Cell c;
                    int column = static_cast<int>(row->cells.size());
                    int ignored = 0;
                    const QString ref = xml.attributes().value(QLatin1String("r")).toString();
                    if (!ref.isEmpty())
                        parseRef(ref, column, ignored);
                    c.column = column;
                    c.style = xml.attributes().value(QLatin1String("s")).toString();
                    c.type = xml.attributes().value(QLatin1String("t")).toString();
                    row->cells.push_back(std::move(c));
                    cell = &row->cells.back();
                    readCell(xml, *cell);
                    cell = nullptr;
                }
            }
        }
        if (xml.hasError()) {
            error = QStringLiteral("list sešitu nelze přečíst (%1)").arg(xml.errorString());
            return false;
        }
        for (Row& r : m_rows)
            r.band = bandOf(r);
        return true;
    }

    // The cell's content: its text for a string cell, else its inner XML as it was.
    void readCell(QXmlStreamReader& xml, Cell& c) {
        QString value;
        QString inlineText;
        QString raw;
        int depth = 1;
        while (depth > 0 && !xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                ++depth;
                raw += QLatin1Char('<') + xml.name().toString();
                for (const QXmlStreamAttribute& a : xml.attributes())
                    raw += QLatin1Char(' ') + a.qualifiedName().toString() + QStringLiteral("=\"") +
                           escaped(a.value().toString()) + QLatin1Char('"');
                raw += QLatin1Char('>');
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                    raw += escaped(value) + QStringLiteral("</v>");
                    --depth;
                } else if (xml.name() == QLatin1String("t")) {
                    const QString t = xml.readElementText();
                    inlineText += t;
                    raw += escaped(t) + QStringLiteral("</t>");
                    --depth;
                }
            } else if (xml.isEndElement()) {
                --depth;
                if (depth > 0)
                    raw += QStringLiteral("</") + xml.name().toString() + QLatin1Char('>');
            }
        }
        c.raw = raw;
        if (c.type == QLatin1String("s")) {
            const int index = value.toInt();
            c.text = index >= 0 && index < m_shared.size() ? m_shared.at(index) : QString();
        } else if (c.type == QLatin1String("inlineStr") || c.type == QLatin1String("str")) {
            c.text = c.type == QLatin1String("str") ? value : inlineText;
        }
        c.hasPlaceholder = (c.type == QLatin1String("s") || c.type == QLatin1String("inlineStr")) &&
                           placeholderPattern().match(c.text).hasMatch();
        if (c.hasPlaceholder)
            cutAtPlaceholders(c);
    }

    // Read once per template cell, so that the rows written need no pattern matching.
    static void cutAtPlaceholders(Cell& c) {
        qsizetype from = 0;
        auto it = placeholderPattern().globalMatch(c.text);
        while (it.hasNext()) {
            const auto m = it.next();
            if (m.capturedStart() > from)
                c.parts.push_back({c.text.mid(from, m.capturedStart() - from), QString()});
            c.parts.push_back({m.captured(1), m.captured(2)});
            from = m.capturedEnd();
        }
        if (from < c.text.size())
            c.parts.push_back({c.text.mid(from), QString()});
        c.single = c.parts.size() == 1 && !c.parts.front().column.isEmpty();
    }

    static Band bandOf(const Row& r) {
        Band band = Band::Static;
        bool onlyNote = true;
        bool item = false;
        for (const Cell& c : r.cells) {
            if (!c.hasPlaceholder)
                continue;
            auto it = placeholderPattern().globalMatch(c.text);
            while (it.hasNext()) {
                const auto m = it.next();
                const QString table = m.captured(1);
                Band b = Band::Static;
                if (table == QLatin1String("Sklady"))
                    b = Band::Sheet;
                else if (table == QLatin1String("Skupiny"))
                    b = Band::Group;
                else if (table == QLatin1String("Zasoby")) {
                    b = Band::Item;
                    item = true;
                    if (m.captured(2) != QLatin1String("Poznamka"))
                        onlyNote = false;
                }
                if (b > band)
                    band = b;
            }
        }
        // A row naming only the item's note is left out for items without one.
        return item && onlyNote ? Band::Note : band;
    }

    // The rows of the output, each from a template row and a scope.
    void writeRows(QByteArray& out) {
        // The template in three parts: rows before the first band row, the band rows, the rest.
        size_t firstBand = m_rows.size();
        size_t lastBand = 0;
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].band != Band::Static) {
                firstBand = std::min(firstBand, i);
                lastBand = i;
            }
        Scope scope{m_tables};
        for (size_t i = 0; i < firstBand && i < m_rows.size(); ++i)
            writeRow(out, m_rows[i], scope);
        if (firstBand < m_rows.size()) {
            std::vector<const Row*> sheetRows, groupRows, itemRows;
            // A row naming nothing among band rows (column titles under each group, a gap)
            // repeats with the band row above it.
            std::vector<const Row*>* into = &sheetRows;
            for (size_t i = firstBand; i <= lastBand; ++i) {
                const Row& r = m_rows[i];
                if (r.band == Band::Sheet)
                    into = &sheetRows;
                else if (r.band == Band::Group)
                    into = &groupRows;
                else if (r.band != Band::Static)
                    into = &itemRows;
                into->push_back(&r);
            }
            writeBands(out, sheetRows, groupRows, itemRows);
        }
        for (size_t i = firstBand < m_rows.size() ? lastBand + 1 : m_rows.size(); i < m_rows.size();
             ++i)
            writeRow(out, m_rows[i], scope);
    }

    void writeBands(QByteArray& out, const std::vector<const Row*>& sheetRows,
                    const std::vector<const Row*>& groupRows,
                    const std::vector<const Row*>& itemRows) {
        const ReportTable& sheets = m_tables.sheets;
        const ReportTable& groups = m_tables.groups;
        const ReportTable& items = m_tables.items;
        const int sheetId = sheets.columnIndex(QStringLiteral("ID"));
        const int groupId = groups.columnIndex(QStringLiteral("ID"));
        const int groupSheet = groups.columnIndex(QStringLiteral("Sklad"));
        const int itemOwner = items.columnIndex(m_tables.withGroups ? QStringLiteral("Skupina")
                                                                    : QStringLiteral("Sklad"));
        // The rows are filled in order, so the details of one owner follow one another.
        QHash<qint64, std::vector<int>> itemsOf;
        for (int i = 0; i < items.rowCount(); ++i)
            itemsOf[items.value(i, itemOwner).toLongLong()].push_back(i);
        QHash<qint64, std::vector<int>> groupsOf;
        for (int g = 0; g < groups.rowCount(); ++g)
            groupsOf[groups.value(g, groupSheet).toLongLong()].push_back(g);

        Scope scope{m_tables};
        const auto writeItems = [&](qint64 owner) {
            const auto found = itemsOf.constFind(owner);
            if (found == itemsOf.constEnd())
                return;
            for (const int i : *found) {
                scope.item = i;
                for (const Row* r : itemRows)
                    writeRow(out, *r, scope);
            }
            scope.item = -1;
        };
        for (int s = 0; s < sheets.rowCount(); ++s) {
            scope.sheet = s;
            for (const Row* r : sheetRows)
                writeRow(out, *r, scope);
            const qint64 id = sheets.value(s, sheetId).toLongLong();
            if (!m_tables.withGroups) {
                writeItems(id);
                continue;
            }
            for (const int g : groupsOf.value(id)) {
                scope.group = g;
                for (const Row* r : groupRows)
                    writeRow(out, *r, scope);
                writeItems(groups.value(g, groupId).toLongLong());
            }
            scope.group = -1;
        }
    }

    void writeRow(QByteArray& out, const Row& r, const Scope& scope) {
        if (r.band == Band::Note) {
            int row = -1;
            const ReportTable* t = scope.table(QStringLiteral("Zasoby"), row);
            if (row < 0 || t->value(row, QStringLiteral("Poznamka")).toString().trimmed().isEmpty())
                return;
        }
        const int number = ++m_written;
        m_rowsOf[r.number].push_back(number);
        QString text = QStringLiteral("<row r=\"%1\"").arg(number);
        for (const QXmlStreamAttribute& a : r.attributes)
            text += QLatin1Char(' ') + a.qualifiedName().toString() + QStringLiteral("=\"") +
                    escaped(a.value().toString()) + QLatin1Char('"');
        text += QLatin1Char('>');
        for (const Cell& c : r.cells) {
            m_lastColumn = std::max(m_lastColumn, c.column);
            const QString ref = columnName(c.column) + QString::number(number);
            QString open = QStringLiteral("<c r=\"") + ref + QLatin1Char('"');
            if (!c.style.isEmpty())
                open += QStringLiteral(" s=\"") + c.style + QLatin1Char('"');
            if (!c.hasPlaceholder) {
                if (!c.type.isEmpty())
                    open += QStringLiteral(" t=\"") + c.type + QLatin1Char('"');
                text += c.raw.isEmpty() ? open + QStringLiteral("/>")
                                        : open + QLatin1Char('>') + c.raw + QStringLiteral("</c>");
                continue;
            }
            if (c.single) {
                ColumnType type = ColumnType::Text;
                const QVariant v = scope.value(c.parts.front().text, c.parts.front().column, type);
                if (numeric(type)) {
                    text +=
                        open + QStringLiteral("><v>") + numberText(v) + QStringLiteral("</v></c>");
                    continue;
                }
            }
            QString filled;
            for (const Part& part : c.parts) {
                if (part.column.isEmpty()) {
                    filled += part.text;
                    continue;
                }
                ColumnType type = ColumnType::Text;
                const QVariant v = scope.value(part.text, part.column, type);
                filled += numeric(type) ? numberText(v) : v.toString();
            }
            text += open + QStringLiteral(" t=\"inlineStr\"><is><t xml:space=\"preserve\">") +
                    escaped(filled) + QStringLiteral("</t></is></c>");
        }
        text += QStringLiteral("</row>");
        out += text.toUtf8();
    }

    qsizetype estimatedRows() const {
        return m_tables.sheets.rowCount() + m_tables.groups.rowCount() +
               2 * static_cast<qsizetype>(m_tables.items.rowCount());
    }

    // The dimension is known only once the rows are written: its place is kept wide enough for
    // any reference and filled in afterwards, so the sheet is never copied for it.
    QByteArray withDimensionPending(const QByteArray& head) {
        static const QRegularExpression dimension(
            QStringLiteral("<dimension ref=\"[^\"]*\"\\s*/>"));
        QString text = QString::fromUtf8(head);
        const auto m = dimension.match(text);
        if (!m.hasMatch())
            return head;
        m_dimensionAt = text.left(m.capturedStart()).toUtf8().size();
        text.replace(m.capturedStart(), m.capturedLength(),
                     QStringLiteral("<dimension ref=\"%1\"/>")
                         .arg(QString(kDimensionWidth, QLatin1Char(' '))));
        return text.toUtf8();
    }

    // The reference, its closing quote and spaces before "/>" in the place kept.
    void setDimension(QByteArray& sheet) const {
        if (m_dimensionAt < 0)
            return;
        const QByteArray ref = (QStringLiteral("A1:") + columnName(std::max(m_lastColumn, 0)) +
                                QString::number(std::max(m_written, 1)))
                                   .toLatin1();
        QByteArray field = ref + '"';
        field += QByteArray(kDimensionWidth - ref.size(), ' ');
        sheet.replace(m_dimensionAt + qsizetype(sizeof("<dimension ref=\"") - 1),
                      kDimensionWidth + 1, field);
    }

    // Each merge again for every output row its template rows became.
    QByteArray withMerges(const QByteArray& tail) const {
        static const QRegularExpression merges(
            QStringLiteral("<mergeCells[^>]*>(.*?)</mergeCells>"),
            QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression merge(
            QStringLiteral("<mergeCell ref=\"([A-Z]+)(\\d+):([A-Z]+)(\\d+)\"\\s*/>"));
        QString text = QString::fromUtf8(tail);
        const auto block = merges.match(text);
        if (!block.hasMatch())
            return tail;
        QStringList out;
        auto it = merge.globalMatch(block.captured(1));
        while (it.hasNext()) {
            const auto m = it.next();
            const int top = m.captured(2).toInt();
            const int bottom = m.captured(4).toInt();
            const std::vector<int> tops = m_rowsOf.value(top);
            const std::vector<int> bottoms = m_rowsOf.value(bottom);
            if (top == bottom) {
                for (const int r : tops)
                    out << QStringLiteral("<mergeCell ref=\"%1%2:%3%2\"/>")
                               .arg(m.captured(1))
                               .arg(r)
                               .arg(m.captured(3));
            } else if (!tops.empty() && !bottoms.empty() && tops.size() == 1 &&
                       bottoms.size() == 1) {
                out << QStringLiteral("<mergeCell ref=\"%1%2:%3%4\"/>")
                           .arg(m.captured(1))
                           .arg(tops.front())
                           .arg(m.captured(3))
                           .arg(bottoms.front());
            }
        }
        const QString replaced = out.isEmpty()
                                     ? QString()
                                     : QStringLiteral("<mergeCells count=\"%1\">").arg(out.size()) +
                                           out.join(QString()) + QStringLiteral("</mergeCells>");
        text.replace(block.capturedStart(), block.capturedLength(), replaced);
        return text.toUtf8();
    }

    const PriceListTables& m_tables;
    const QStringList& m_shared;
    std::vector<Row> m_rows;
    QHash<int, std::vector<int>> m_rowsOf;
    static constexpr int kDimensionWidth = 24;
    qsizetype m_dimensionAt = -1;
    int m_written = 0;
    int m_lastColumn = 0;
};

QStringList readSharedStrings(ZipArchive& zip, QString& error) {
    QStringList strings;
    if (!zip.contains(QStringLiteral("xl/sharedStrings.xml")))
        return strings;
    const auto data = zip.read(QStringLiteral("xl/sharedStrings.xml"), error);
    if (!data)
        return strings;
    QXmlStreamReader xml(*data);
    QString current;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("t") && inItem) {
            current += xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

// The worksheets of the package, as [Content_Types].xml names them.
QStringList worksheetParts(const QByteArray& contentTypes) {
    QStringList parts;
    QXmlStreamReader xml(contentTypes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Override") &&
            xml.attributes()
                .value(QLatin1String("ContentType"))
                .endsWith(QLatin1String("worksheet+xml")))
            parts << xml.attributes().value(QLatin1String("PartName")).toString().mid(1);
    }
    return parts;
}

// Without the calculation chain: the rows moved, so the chain names cells that changed.
QByteArray withoutCalcChain(const QByteArray& xml, const QByteArray& element) {
    static const QRegularExpression chain(QStringLiteral("<%1[^>]*calcChain[^>]*/>"));
    QString text = QString::fromUtf8(xml);
    text.replace(QRegularExpression(chain.pattern().arg(QString::fromLatin1(element))), QString());
    return text.toUtf8();
}

} // namespace

QString fillXlsxTemplate(const QString& templatePath, const QString& target,
                         const PriceListTables& tables) {
    QString error;
    std::map<QString, QByteArray> replaced;
    {
        auto zip = ZipArchive::open(templatePath, error);
        if (!zip)
            return error;
        const QString types = QStringLiteral("[Content_Types].xml");
        const auto contentTypes = zip->read(types, error);
        if (!contentTypes || !zip->contains(QStringLiteral("xl/workbook.xml")))
            return QStringLiteral("Soubor \"%1\" není sešit XLSX.").arg(templatePath);
        const QStringList shared = readSharedStrings(*zip, error);
        if (!error.isEmpty())
            return error;
        const QStringList sheets = worksheetParts(*contentTypes);
        if (sheets.isEmpty())
            return QStringLiteral("Soubor \"%1\" není sešit XLSX.").arg(templatePath);
        for (const QString& part : sheets) {
            zip->renewBudget();
            const auto xml = zip->read(part, error);
            if (!xml)
                return error;
            QByteArray filled;
            SheetFiller filler(tables, shared);
            if (!filler.fill(*xml, filled, error))
                return error;
            if (filled != *xml)
                replaced.emplace(part, std::move(filled));
        }
        replaced.emplace(types, withoutCalcChain(*contentTypes, "Override"));
        const QString rels = QStringLiteral("xl/_rels/workbook.xml.rels");
        if (zip->contains(rels)) {
            const auto relations = zip->read(rels, error);
            if (!relations)
                return error;
            replaced.emplace(rels, withoutCalcChain(*relations, "Relationship"));
        }
    }
    QFile::remove(target);
    if (!QFile::copy(templatePath, target))
        return QStringLiteral("Soubor \"%1\" nelze zapsat.").arg(target);
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    if (!core::sources::updateZip(target, replaced, {QStringLiteral("xl/calcChain.xml")}, error))
        return error;
    return QString();
}

} // namespace orvento::output
