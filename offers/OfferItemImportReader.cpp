#include "offers/OfferItemImportReader.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "core/sources/ImportSource.h"

namespace orvento::offers {

using core::sources::Cell;
using core::sources::Row;

namespace {

QString loadFailure(const QString& path) {
    return QStringLiteral("Nastala chyba při načítání souboru \"%1\". Zkontrolujte prosím, zda "
                          "není používán jiným programem (např. zda není otevřen v MS Excel, "
                          "apod.).")
        .arg(path);
}

QString noDataInFile() {
    return QStringLiteral("Zdrojový soubor neobsahuje požadovaná data.");
}

QString noDataOnClipboard() {
    return QStringLiteral("Schránka neobsahuje požadovaná data.");
}

QString keyOf(const Cell& cell) {
    return cell.toText().left(itemimport::maxKeyLength);
}

// The quantity is kept at four decimals, as the item's field holds it.
std::optional<double> quantityOf(const Cell& cell) {
    const auto number = cell.toNumber();
    if (!number)
        return std::nullopt;
    return catalogue::toFieldPrecision(*number, catalogue::PriceFieldDecimals);
}

// Rows of a workbook sheet or of the clipboard's lines, columns numbered from 1; a column beyond
// the row reads as empty.
class GridRecords {
public:
    GridRecords(const ItemImportSettings& settings, QString rowError)
        : m_settings(settings)
        , m_rowError(std::move(rowError))
        , m_keyColumn(settings.keyColumn.trimmed().toInt() - 1)
        , m_countColumn(settings.countColumn.trimmed().toInt() - 1) {}

    // `firstLine` is the 1-based number of grid[first] as the person sees it.
    std::optional<std::vector<ParsedRecord>> read(const std::vector<Row>& grid, std::size_t first,
                                                  QString& error) const {
        std::vector<ParsedRecord> records;
        records.reserve(grid.size() - first);
        for (std::size_t i = first; i < grid.size(); ++i) {
            ParsedRecord record;
            record.number = static_cast<int>(records.size()) + 1;
            record.key = keyOf(cellAt(grid[i], m_keyColumn));
            if (!m_settings.defaultCount) {
                const Cell& cell = cellAt(grid[i], m_countColumn);
                const auto quantity = quantityOf(cell);
                if (!quantity) {
                    error = m_rowError.arg(i + 1).arg(cell.toText());
                    return std::nullopt;
                }
                record.quantity = *quantity;
            }
            records.push_back(std::move(record));
        }
        return records;
    }

private:
    static const Cell& cellAt(const Row& row, int column) {
        static const Cell empty;
        return column >= 0 && static_cast<std::size_t>(column) < row.size()
                   ? row[static_cast<std::size_t>(column)]
                   : empty;
    }

    const ItemImportSettings& m_settings;
    QString m_rowError;
    int m_keyColumn;
    int m_countColumn;
};

const QString fileRowError = QStringLiteral("Chyba ve zdrojovém souboru na řádku %1: hodnotu "
                                            "\"%2\" nelze konvertovat na počet mj.");

std::size_t firstDataRow(const ItemImportSettings& settings) {
    return settings.titlesInFirstRow ? 1 : 0;
}

std::optional<std::vector<ParsedRecord>> readWorkbook(const ItemImportSettings& settings,
                                                      QString& error) {
    QString reason;
    auto source =
        core::sources::openSource(core::sources::SourceKind::Xls, settings.fileName, reason);
    if (!source || source->tables().isEmpty()) {
        error = loadFailure(settings.fileName);
        return std::nullopt;
    }
    const auto grid = source->rawGrid(source->activeTable(), reason);
    if (!grid) {
        error = loadFailure(settings.fileName);
        return std::nullopt;
    }
    const std::size_t first = firstDataRow(settings);
    if (grid->size() <= first) {
        error = noDataInFile();
        return std::nullopt;
    }
    return GridRecords(settings, fileRowError).read(*grid, first, error);
}

std::optional<std::vector<ParsedRecord>> readClipboard(const ItemImportSettings& settings,
                                                       const QString& text, QString& error) {
    const std::size_t first = firstDataRow(settings);
    QString reason;
    std::optional<std::vector<Row>> grid;
    if (!text.trimmed().isEmpty())
        grid = core::sources::openClipboardText(text)->rawGrid(QString(), reason);
    if (!grid || grid->size() <= first) {
        error = noDataOnClipboard();
        return std::nullopt;
    }
    return GridRecords(settings, QStringLiteral("Chyba ve zdroji na řádku %1: hodnotu \"%2\" "
                                                "nelze konvertovat na počet mj."))
        .read(*grid, first, error);
}

// A field of the table by its name in any letter case, as dBase names are case-blind.
std::optional<std::size_t> fieldIndex(const QStringList& fields, const QString& name) {
    const QString wanted = name.trimmed();
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return static_cast<std::size_t>(i);
    return std::nullopt;
}

std::optional<std::vector<ParsedRecord>> readDbase(const ItemImportSettings& settings,
                                                   QString& error) {
    QString reason;
    auto source =
        core::sources::openSource(core::sources::SourceKind::Dbf, settings.fileName, reason);
    std::unique_ptr<core::sources::SourceTable> table;
    if (source && !source->tables().isEmpty())
        table = source->openTable(source->tables().front(), reason);
    if (!table) {
        error = loadFailure(settings.fileName);
        return std::nullopt;
    }
    if (table->rowCount() == 0) {
        error = noDataInFile();
        return std::nullopt;
    }
    const auto missing = [&error](const QString& name) {
        error = QStringLiteral("Sloupec \"%1\" nebyl ve zdrojovém souboru nalezen.").arg(name);
        return std::nullopt;
    };
    const auto keyField = fieldIndex(table->columns(), settings.keyColumn);
    if (!keyField)
        return missing(settings.keyColumn);
    std::optional<std::size_t> countField;
    if (!settings.defaultCount) {
        countField = fieldIndex(table->columns(), settings.countColumn);
        if (!countField)
            return missing(settings.countColumn);
    }
    std::vector<ParsedRecord> records;
    records.reserve(static_cast<std::size_t>(table->rowCount()));
    Row row;
    while (table->next(row)) {
        ParsedRecord record;
        record.number = static_cast<int>(records.size()) + 1;
        record.key = keyOf(row[*keyField]);
        if (countField) {
            const auto quantity = quantityOf(row[*countField]);
            if (!quantity) {
                error = fileRowError.arg(record.number).arg(row[*countField].toText());
                return std::nullopt;
            }
            record.quantity = *quantity;
        }
        records.push_back(std::move(record));
    }
    if (!table->error().isEmpty()) {
        error = loadFailure(settings.fileName);
        return std::nullopt;
    }
    return records;
}

} // namespace

std::optional<std::vector<ParsedRecord>> readItemImportRecords(const ItemImportSettings& settings,
                                                               const QString& clipboardText,
                                                               QString& error) {
    switch (settings.source) {
    case ItemImportSource::Workbook:
        break;
    case ItemImportSource::Dbase:
        return readDbase(settings, error);
    case ItemImportSource::Clipboard:
        return readClipboard(settings, clipboardText, error);
    }
    return readWorkbook(settings, error);
}

} // namespace orvento::offers
