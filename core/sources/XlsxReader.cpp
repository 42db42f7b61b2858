#include "core/sources/SheetCell.h"
#include "core/sources/SheetCellGrid.h"
#include "core/sources/XlsReaders.h"

#include <QDir>
#include <QHash>

#include <utility>

namespace orvento::core::sources {

namespace {

const QString workbookPart = QStringLiteral("xl/workbook.xml");
const QString workbookRelations = QStringLiteral("xl/_rels/workbook.xml.rels");
const QString defaultSharedStrings = QStringLiteral("xl/sharedStrings.xml");

QString attribute(const QXmlStreamReader& xml, QStringView localName) {
    for (const auto& item : xml.attributes()) {
        if (item.name() == localName)
            return item.value().toString();
    }
    return {};
}

// A relationship's target, relative to the workbook's folder unless it starts with "/".
QString partPath(const QString& target) {
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(QStringLiteral("xl/") + target);
}

struct Sheet {
    QString name;
    QString part;
};

struct Layout {
    std::vector<Sheet> sheets;
    QString sharedStrings;
    QString activeSheet; // empty when the workbook names none, or a chart sheet
};

// Hands each element of the given name in a part to `take`.
bool forEachElement(ZipArchive& archive, const QString& part, QStringView element,
                    const std::function<void(const QXmlStreamReader&)>& take, QString& error) {
    auto stream = ZipXmlStream::open(archive, part, error);
    if (!stream)
        return false;
    return stream->forEach(
        [&](QXmlStreamReader& xml) {
            if (xml.isStartElement() && xml.name() == element)
                take(xml);
            return true;
        },
        error);
}

std::optional<Layout> readLayout(ZipArchive& archive, QString& error) {
    QHash<QString, QString> targets;
    QString sharedStrings;
    const bool related = forEachElement(
        archive, workbookRelations, u"Relationship",
        [&](const QXmlStreamReader& xml) {
            const QString type = attribute(xml, u"Type");
            const QString target = partPath(attribute(xml, u"Target"));
            if (type.endsWith(QLatin1String("/worksheet")))
                targets.insert(attribute(xml, u"Id"), target);
            else if (type.endsWith(QLatin1String("/sharedStrings")))
                sharedStrings = target;
        },
        error);
    if (!related)
        return std::nullopt;
    Layout layout;
    layout.sharedStrings = !sharedStrings.isEmpty()                 ? sharedStrings
                           : archive.contains(defaultSharedStrings) ? defaultSharedStrings
                                                                    : QString();
    // The active tab counts every sheet, chart sheets too.
    QStringList everySheet;
    const bool listed = forEachElement(
        archive, workbookPart, u"sheet",
        [&](const QXmlStreamReader& xml) {
            everySheet << attribute(xml, u"name");
            // Chart sheets have a relationship of another type: they hold no cells.
            const auto target = targets.constFind(attribute(xml, u"id"));
            if (target != targets.constEnd())
                layout.sheets.push_back({attribute(xml, u"name"), *target});
        },
        error);
    if (!listed)
        return std::nullopt;
    std::optional<int> activeTab;
    const bool viewed = forEachElement(
        archive, workbookPart, u"workbookView",
        [&](const QXmlStreamReader& xml) {
            bool ok = false;
            const int tab = attribute(xml, u"activeTab").toInt(&ok);
            if (ok && !activeTab)
                activeTab = tab;
        },
        error);
    if (!viewed)
        return std::nullopt;
    if (activeTab && *activeTab >= 0 && *activeTab < everySheet.size()) {
        const QString& name = everySheet[*activeTab];
        for (const Sheet& sheet : layout.sheets)
            if (sheet.name == name)
                layout.activeSheet = name;
    }
    return layout;
}

// The texts that cells name by number; a rich text is its runs joined, without the reading
// aids of far-east scripts.
std::optional<QStringList> readSharedStrings(ZipArchive& archive, const QString& part,
                                             QString& error) {
    QStringList strings;
    if (part.isEmpty())
        return strings;
    auto stream = ZipXmlStream::open(archive, part, error);
    if (!stream)
        return std::nullopt;
    QString current;
    bool inText = false;
    int phonetic = 0;
    const bool read = stream->forEach(
        [&](QXmlStreamReader& xml) {
            if (xml.isStartElement()) {
                if (xml.name() == u"si")
                    current.clear();
                else if (xml.name() == u"rPh")
                    ++phonetic;
                else if (xml.name() == u"t" && phonetic == 0)
                    inText = true;
            } else if (xml.isEndElement()) {
                if (xml.name() == u"si")
                    strings << current;
                else if (xml.name() == u"rPh")
                    --phonetic;
                else if (xml.name() == u"t")
                    inText = false;
            } else if (xml.isCharacters() && inText) {
                current += xml.text();
            }
            return true;
        },
        error);
    if (!read)
        return std::nullopt;
    return strings;
}

// One sheet's part read into a grid. Rows and cells that do not name their place follow the
// previous one.
class SheetParser {
public:
    SheetParser(const QStringList& sharedStrings, QString sheetName)
        : m_shared(sharedStrings)
        , m_sheet(std::move(sheetName)) {}

    std::optional<SheetCellGrid> parse(ZipXmlStream& stream, QString& error) {
        if (!stream.forEach([&](QXmlStreamReader& xml) { return take(xml, error); }, error))
            return std::nullopt;
        return std::move(m_grid);
    }

private:
    bool take(QXmlStreamReader& xml, QString& error) {
        if (xml.isStartElement())
            return start(xml, error);
        if (xml.isEndElement())
            return end(xml.name(), error);
        if (xml.isCharacters() && m_collecting)
            m_value += xml.text();
        return true;
    }

    bool start(QXmlStreamReader& xml, QString& error) {
        const QStringView name = xml.name();
        if (name == u"row") {
            const QString number = attribute(xml, u"r");
            bool ok = true;
            m_row = number.isEmpty() ? m_row + 1 : number.toInt(&ok) - 1;
            if (!ok || m_row < 0 || m_row >= sheetcell::maxRows)
                return fail(error, QStringLiteral("řádek %1").arg(number));
            m_column = -1;
        } else if (name == u"c") {
            const QString reference = attribute(xml, u"r");
            if (reference.isEmpty()) {
                m_position = {m_row, m_column + 1};
            } else {
                const auto position = sheetcell::parsePosition(reference);
                if (!position)
                    return fail(error, QStringLiteral("buňka %1").arg(reference));
                m_position = *position;
            }
            if (m_position.row < 0 || m_position.column >= sheetcell::maxColumns)
                return fail(error, QStringLiteral("buňka mimo list"));
            m_column = m_position.column;
            m_type = attribute(xml, u"t");
            m_value.clear();
        } else if (name == u"v") {
            m_collecting = true;
        } else if (name == u"is") {
            m_inline = true;
        } else if (name == u"rPh") {
            ++m_phonetic;
        } else if (name == u"t" && m_inline && m_phonetic == 0) {
            m_collecting = true;
        }
        return true;
    }

    bool end(QStringView name, QString& error) {
        if (name == u"v" || name == u"t") {
            m_collecting = false;
        } else if (name == u"is") {
            m_inline = false;
        } else if (name == u"rPh") {
            --m_phonetic;
        } else if (name == u"c") {
            QString value = m_value;
            if (m_type == u"s" && !value.isEmpty()) {
                bool ok = false;
                const int index = value.trimmed().toInt(&ok);
                if (!ok || index < 0 || index >= m_shared.size())
                    return fail(
                        error, QStringLiteral("buňka %1").arg(sheetcell::positionName(m_position)));
                value = m_shared[index];
            }
            const auto cell = sheetcell::xlsxValue(m_type, value);
            if (!cell)
                return fail(error,
                            QStringLiteral("buňka %1").arg(sheetcell::positionName(m_position)));
            return m_grid.put(m_position, *cell, error);
        }
        return true;
    }

    bool fail(QString& error, const QString& where) const {
        error = QStringLiteral("List \"%1\" sešitu je poškozený (%2).").arg(m_sheet, where);
        return false;
    }

    const QStringList& m_shared;
    QString m_sheet;
    SheetCellGrid m_grid;
    int m_row = -1;
    int m_column = -1;
    sheetcell::Position m_position;
    QString m_type;
    QString m_value;
    bool m_collecting = false;
    bool m_inline = false;
    int m_phonetic = 0;
};

class XlsxBook final : public SheetCellBook {
public:
    XlsxBook(std::unique_ptr<ZipArchive> archive, Layout layout)
        : SheetCellBook(names(layout))
        , m_archive(std::move(archive))
        , m_layout(std::move(layout)) {}

protected:
    std::optional<SheetCellGrid> loadSheet(int index, QString& error) override {
        m_archive->renewBudget();
        if (!m_shared) {
            m_shared = readSharedStrings(*m_archive, m_layout.sharedStrings, error);
            if (!m_shared)
                return std::nullopt;
        }
        const Sheet& sheet = m_layout.sheets[static_cast<std::size_t>(index)];
        auto stream = ZipXmlStream::open(*m_archive, sheet.part, error);
        if (!stream)
            return std::nullopt;
        return SheetParser(*m_shared, sheet.name).parse(*stream, error);
    }

public:
    QString activeTable() const override {
        return m_layout.activeSheet.isEmpty() ? SheetCellBook::activeTable() : m_layout.activeSheet;
    }

private:
    static QStringList names(const Layout& layout) {
        QStringList list;
        for (const Sheet& sheet : layout.sheets)
            list << sheet.name;
        return list;
    }

    std::unique_ptr<ZipArchive> m_archive;
    Layout m_layout;
    std::optional<QStringList> m_shared;
};

} // namespace

std::unique_ptr<ImportSource> openXlsxArchive(std::unique_ptr<ZipArchive> archive, QString& error) {
    auto layout = readLayout(*archive, error);
    if (!layout)
        return nullptr;
    return std::make_unique<XlsxBook>(std::move(archive), std::move(*layout));
}

} // namespace orvento::core::sources
