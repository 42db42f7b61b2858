#include "core/sources/SheetCell.h"
#include "core/sources/SheetCellGrid.h"
#include "core/sources/XlsReaders.h"

#include <algorithm>
#include <utility>

namespace orvento::core::sources {

namespace {

const QString contentPart = QStringLiteral("content.xml");
const QString tableNamespace = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString officeNamespace = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString textNamespace = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
// A run of spaces in a cell is written as a count; a hostile count is held to this.
constexpr qint64 maxSpaces = 1024;

bool isElement(const QXmlStreamReader& xml, const QString& ns, QStringView name) {
    return xml.namespaceUri() == ns && xml.name() == name;
}

QString attribute(const QXmlStreamReader& xml, const QString& ns, QStringView name) {
    return xml.attributes().value(ns, name.toString()).toString();
}

// A repeat count: 1 when absent or unreadable.
qint64 repeats(const QXmlStreamReader& xml, QStringView name) {
    bool ok = false;
    const qint64 count = attribute(xml, tableNamespace, name).toLongLong(&ok);
    return ok && count > 0 ? count : 1;
}

std::optional<QStringList> readSheetNames(ZipArchive& archive, QString& error) {
    auto stream = ZipXmlStream::open(archive, contentPart, error);
    if (!stream)
        return std::nullopt;
    QStringList names;
    int depth = 0;
    const bool read = stream->forEach(
        [&](QXmlStreamReader& xml) {
            if (!isElement(xml, tableNamespace, u"table"))
                return true;
            // Only the outer tables are sheets; a table nested in a cell is part of it.
            if (xml.isStartElement() && depth++ == 0)
                names << attribute(xml, tableNamespace, u"name");
            else if (xml.isEndElement())
                --depth;
            return true;
        },
        error);
    if (!read)
        return std::nullopt;
    return names;
}

const QString settingsPart = QStringLiteral("settings.xml");
const QString configNamespace = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:config:1.0");

// The sheet the office suite showed when the file was saved, from its view settings; empty when
// the file keeps no settings or names no sheet of the workbook. Unreadable settings are no fault
// of the data: the first sheet is shown then.
QString readActiveSheet(ZipArchive& archive, const QStringList& names) {
    if (!archive.contains(settingsPart))
        return {};
    QString error;
    auto stream = ZipXmlStream::open(archive, settingsPart, error);
    if (!stream)
        return {};
    QString active;
    bool inItem = false;
    bool found = false;
    stream->forEach(
        [&](QXmlStreamReader& xml) {
            if (found)
                return true;
            if (isElement(xml, configNamespace, u"config-item")) {
                inItem = xml.isStartElement() &&
                         attribute(xml, configNamespace, u"name") == QLatin1String("ActiveTable");
                found = !inItem && !active.isEmpty();
            } else if (inItem && xml.isCharacters()) {
                active += xml.text();
            }
            return true;
        },
        error);
    return names.contains(active) ? active : QString();
}

// The cells of the sheet with the given place, repeats expanded only where they hold a value.
class SheetParser {
public:
    SheetParser(int sheet, QString name)
        : m_wanted(sheet)
        , m_name(std::move(name)) {}

    std::optional<SheetCellGrid> parse(ZipXmlStream& stream, QString& error) {
        if (!stream.forEach([&](QXmlStreamReader& xml) { return take(xml, error); }, error))
            return std::nullopt;
        return std::move(m_grid);
    }

private:
    struct Span {
        qint64 column = 0;
        qint64 count = 0;
        Cell cell;
    };

    bool take(QXmlStreamReader& xml, QString& error) {
        if (isElement(xml, tableNamespace, u"table")) {
            if (xml.isStartElement()) {
                if (m_depth++ == 0)
                    ++m_sheet;
            } else if (xml.isEndElement()) {
                --m_depth;
            }
            return true;
        }
        // Everything outside the wanted sheet, and tables nested in its cells, pass by.
        if (m_depth != 1 || m_sheet != m_wanted)
            return true;
        if (xml.isStartElement())
            start(xml);
        else if (xml.isEndElement())
            return end(xml, error);
        else if (xml.isCharacters() && m_paragraph > 0 && m_annotation == 0)
            m_text += xml.text();
        return true;
    }

    void start(QXmlStreamReader& xml) {
        if (isElement(xml, tableNamespace, u"table-row")) {
            m_rowRepeats = repeats(xml, u"number-rows-repeated");
            m_column = 0;
            m_spans.clear();
        } else if (isElement(xml, tableNamespace, u"table-cell") ||
                   isElement(xml, tableNamespace, u"covered-table-cell")) {
            m_columnRepeats = repeats(xml, u"number-columns-repeated");
            m_attributes = {attribute(xml, officeNamespace, u"value-type"),
                            attribute(xml, officeNamespace, u"value"),
                            attribute(xml, officeNamespace, u"boolean-value"),
                            attribute(xml, officeNamespace, u"date-value"),
                            attribute(xml, officeNamespace, u"time-value"),
                            attribute(xml, officeNamespace, u"string-value")};
            m_paragraphs.clear();
        } else if (isElement(xml, officeNamespace, u"annotation")) {
            ++m_annotation;
        } else if (m_annotation > 0) {
            return;
        } else if (isElement(xml, textNamespace, u"p") || isElement(xml, textNamespace, u"h")) {
            if (m_paragraph++ == 0)
                m_text.clear();
        } else if (m_paragraph > 0 && isElement(xml, textNamespace, u"s")) {
            bool ok = false;
            const qint64 count = attribute(xml, textNamespace, u"c").toLongLong(&ok);
            m_text +=
                QString(static_cast<qsizetype>(ok ? std::clamp<qint64>(count, 1, maxSpaces) : 1),
                        QLatin1Char(' '));
        } else if (m_paragraph > 0 && isElement(xml, textNamespace, u"tab")) {
            m_text += QLatin1Char('\t');
        } else if (m_paragraph > 0 && isElement(xml, textNamespace, u"line-break")) {
            m_text += QLatin1Char('\n');
        }
    }

    bool end(QXmlStreamReader& xml, QString& error) {
        if (isElement(xml, officeNamespace, u"annotation")) {
            --m_annotation;
        } else if (m_annotation > 0) {
            return true;
        } else if (isElement(xml, textNamespace, u"p") || isElement(xml, textNamespace, u"h")) {
            if (--m_paragraph == 0)
                m_paragraphs << m_text;
        } else if (isElement(xml, tableNamespace, u"table-cell") ||
                   isElement(xml, tableNamespace, u"covered-table-cell")) {
            return endCell(error);
        } else if (isElement(xml, tableNamespace, u"table-row")) {
            return endRow(error);
        }
        return true;
    }

    bool endCell(QString& error) {
        const auto cell = sheetcell::odsValue(m_attributes, m_paragraphs.join(QLatin1Char('\n')));
        if (!cell) {
            // The place as far as it is inside the sheet; the counters stop at its edges.
            const sheetcell::Position place{
                static_cast<int>(std::min<qint64>(m_row, sheetcell::maxRows - 1)),
                static_cast<int>(std::min<qint64>(m_column, sheetcell::maxColumns - 1))};
            error = QStringLiteral("List \"%1\" sešitu je poškozený (buňka %2 neobsahuje číslo).")
                        .arg(m_name, sheetcell::positionName(place));
            return false;
        }
        if (!cell->isEmpty())
            m_spans.push_back({m_column, m_columnRepeats, *cell});
        m_column = std::min<qint64>(m_column + m_columnRepeats, sheetcell::maxColumns);
        return true;
    }

    bool endRow(QString& error) {
        for (const Span& span : m_spans) {
            if (!m_grid.putSpan(m_row, m_rowRepeats, span.column, span.count, span.cell, error))
                return false;
        }
        m_row = std::min<qint64>(m_row + m_rowRepeats, sheetcell::maxRows);
        return true;
    }

    int m_wanted;
    QString m_name;
    SheetCellGrid m_grid;
    int m_sheet = -1;
    int m_depth = 0;
    qint64 m_row = 0;
    qint64 m_rowRepeats = 1;
    qint64 m_column = 0;
    qint64 m_columnRepeats = 1;
    std::vector<Span> m_spans;
    sheetcell::OdsAttributes m_attributes;
    QStringList m_paragraphs;
    QString m_text;
    int m_paragraph = 0;
    int m_annotation = 0;
};

class OdsBook final : public SheetCellBook {
public:
    OdsBook(std::unique_ptr<ZipArchive> archive, QStringList names)
        : SheetCellBook(names)
        , m_archive(std::move(archive))
        , m_names(std::move(names))
        , m_active(readActiveSheet(*m_archive, m_names)) {}

    QString activeTable() const override {
        return m_active.isEmpty() ? SheetCellBook::activeTable() : m_active;
    }

protected:
    std::optional<SheetCellGrid> loadSheet(int index, QString& error) override {
        m_archive->renewBudget();
        auto stream = ZipXmlStream::open(*m_archive, contentPart, error);
        if (!stream)
            return std::nullopt;
        return SheetParser(index, m_names[index]).parse(*stream, error);
    }

private:
    std::unique_ptr<ZipArchive> m_archive;
    QStringList m_names;
    QString m_active;
};

} // namespace

std::unique_ptr<ImportSource> openOdsArchive(std::unique_ptr<ZipArchive> archive, QString& error) {
    auto names = readSheetNames(*archive, error);
    if (!names)
        return nullptr;
    return std::make_unique<OdsBook>(std::move(archive), std::move(*names));
}

} // namespace orvento::core::sources
