#include "core/sources/CsvParser.h"
#include "core/sources/Readers.h"
#include "core/sources/TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace orvento::core::sources {

namespace {

constexpr QChar fileSeparator = QLatin1Char(';');
constexpr QChar clipboardSeparator = QLatin1Char('\t');

bool isBlank(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

Cell textCell(QString text) {
    if (text.isEmpty())
        return {};
    return Cell::text(std::move(text));
}

// The header line names the columns; a column without a name ends them, so what stands to its
// right is not offered.
QStringList headerColumns(CsvParser& parser) {
    QStringList names;
    bool ended = false;
    parser.read([&](int, QString name) {
        if (ended || name.isEmpty()) {
            ended = true;
            return;
        }
        names.push_back(std::move(name));
    });
    return names;
}

class TextTable final : public SourceTable {
public:
    TextTable(CsvParser parser, QStringList columns, qint64 rowCount)
        : m_parser(std::move(parser))
        , m_columns(std::move(columns))
        , m_rowCount(rowCount) {}

    QStringList columns() const override { return m_columns; }
    qint64 rowCount() const override { return m_rowCount; }
    QString error() const override { return {}; }

    bool next(Row& row) override {
        const auto width = static_cast<std::size_t>(m_columns.size());
        row.assign(width, Cell());
        return m_parser.read([&](int index, QString text) {
            if (static_cast<std::size_t>(index) < width)
                row[static_cast<std::size_t>(index)] = textCell(std::move(text));
        });
    }

private:
    CsvParser m_parser;
    QStringList m_columns;
    qint64 m_rowCount = 0;
};

// A text file or the clipboard's text: one table whose first line names the columns.
class TextSource final : public ImportSource {
public:
    // A file, read anew by each openTable() so that a file changed since choosing is seen as it
    // is now.
    static std::unique_ptr<TextSource> forFile(const QString& path) {
        auto source = std::unique_ptr<TextSource>(new TextSource(fileSeparator));
        source->m_path = path;
        source->m_name = QFileInfo(path).fileName();
        return source;
    }
    static std::unique_ptr<TextSource> forText(QString text) {
        auto source = std::unique_ptr<TextSource>(new TextSource(clipboardSeparator));
        source->m_text = std::move(text);
        source->m_name = QStringLiteral("Schránka");
        return source;
    }

    QStringList tables() const override { return {m_name}; }

    std::unique_ptr<SourceTable> openTable(const QString&, QString& error) override {
        auto text = load(error);
        if (!text)
            return nullptr;
        CsvParser parser(*std::move(text), m_separator);
        QStringList columns = headerColumns(parser);
        if (columns.isEmpty()) {
            error = QStringLiteral("V prvním řádku %1 nejsou názvy sloupců.").arg(describe());
            return nullptr;
        }
        // Counted in a pass of its own over the text, so no row is kept twice.
        qint64 rowCount = 0;
        CsvParser counter = parser;
        while (counter.skip())
            ++rowCount;
        return std::make_unique<TextTable>(std::move(parser), std::move(columns), rowCount);
    }

    // Every line as it stands, the columns after an unnamed one included, each line as wide as
    // the widest.
    std::optional<std::vector<Row>> rawGrid(const QString&, QString& error) override {
        auto text = load(error);
        if (!text)
            return std::nullopt;
        CsvParser parser(*std::move(text), m_separator);
        std::vector<Row> grid;
        std::size_t width = 0;
        Row row;
        while (
            parser.read([&](int, QString piece) { row.push_back(textCell(std::move(piece))); })) {
            width = std::max(width, row.size());
            grid.push_back(std::move(row));
            row.clear();
        }
        for (Row& line : grid)
            line.resize(width);
        return grid;
    }

private:
    explicit TextSource(QChar separator)
        : m_separator(separator) {}

    QString describe() const {
        return m_path.isEmpty() ? QStringLiteral("vloženého textu")
                                : QStringLiteral("souboru %1").arg(m_path);
    }

    std::optional<QString> load(QString& error) const {
        if (m_path.isEmpty()) {
            if (isBlank(m_text)) {
                error = QStringLiteral("Vložený text je prázdný.");
                return std::nullopt;
            }
            return m_text;
        }
        QFile file(m_path);
        if (!file.exists()) {
            error = QStringLiteral("Soubor %1 neexistuje.").arg(m_path);
            return std::nullopt;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("Soubor %1 nelze otevřít pro čtení.").arg(m_path);
            return std::nullopt;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            error = QStringLiteral("Při čtení souboru %1 došlo k chybě.").arg(m_path);
            return std::nullopt;
        }
        QString text = decodeUnlabelledText(bytes);
        if (isBlank(text)) {
            error = QStringLiteral("Soubor %1 je prázdný.").arg(m_path);
            return std::nullopt;
        }
        return text;
    }

    QChar m_separator;
    QString m_path;
    QString m_text;
    QString m_name;
};

} // namespace

std::unique_ptr<ImportSource> openCsvFile(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        error = QStringLiteral("Soubor %1 neexistuje.").arg(path);
        return nullptr;
    }
    return TextSource::forFile(path);
}

std::unique_ptr<ImportSource> openTabText(const QString& text) {
    return TextSource::forText(text);
}

} // namespace orvento::core::sources
