#include "core/sources/CompoundFileCheck.h"
#include "core/sources/IsolatedRead.h"
#include "core/sources/SheetCellGrid.h"
#include "core/sources/XlsReaders.h"

#include <QDataStream>
#include <QFile>

#include <freexl.h>

#include <utility>

namespace orvento::core::sources {

namespace {

QString openMessage(const QString& path, int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("Soubor \"%1\" se nepodařilo otevřít.").arg(path);
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("Na přečtení sešitu \"%1\" není dost paměti.").arg(path);
    case FREEXL_INVALID_CFBF_HEADER:
        return QStringLiteral("Soubor \"%1\" není sešitem MS Excel.").arg(path);
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        // An encrypted workbook of a later version comes in the same container.
        return QStringLiteral("Soubor \"%1\" neobsahuje sešit MS Excel 97 (může být chráněn "
                              "heslem).")
            .arg(path);
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("Sešit \"%1\" používá nepodporovanou znakovou sadu.").arg(path);
    default:
        return QStringLiteral("Sešit \"%1\" je poškozený a nelze jej přečíst.").arg(path);
    }
}

// The handle FreeXL keeps for one open workbook.
class XlsHandle {
public:
    explicit XlsHandle(const void* handle)
        : m_handle(handle) {}
    ~XlsHandle() { freexl_close(m_handle); }
    XlsHandle(const XlsHandle&) = delete;
    XlsHandle& operator=(const XlsHandle&) = delete;
    const void* get() const { return m_handle; }

private:
    const void* m_handle;
};

Cell cellValue(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return Cell::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return Cell::number(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    // FreeXL gives dates and times as ISO texts ("2024-01-31", "2024-01-31 08:15:00").
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
        if (!value.value.text_value)
            return {};
        QString text = QString::fromUtf8(value.value.text_value);
        return text.isEmpty() ? Cell() : Cell::text(std::move(text));
    }
    default:
        return {};
    }
}

// One sheet as the reading process sends it: its cells, or why it could not be read.
struct ReadSheet {
    std::optional<SheetCellGrid> grid;
    QString error;
};

// The child's answer: a status of the FreeXL codes (or kObfuscated), the sheet names and, for
// every sheet, whether it was read, then its rows and columns and each cell's kind and value.
constexpr qint32 kObfuscated = 1;
constexpr quint8 kEmptyCell = 0;
constexpr quint8 kTextCell = 1;
constexpr quint8 kNumberCell = 2;
// FreeXL reads a workbook in well under a second a megabyte; a minute without a sign of life is a
// loop it will not leave.
constexpr std::chrono::milliseconds kSilence{60'000};

std::optional<SheetCellGrid> readSheet(const void* handle, int index, const QString& path,
                                       QString& error) {
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
        error = openMessage(path, FREEXL_BIFF_ILLEGAL_SHEET_INDEX);
        return std::nullopt;
    }
    SheetCellGrid grid;
    const unsigned int rowEnd = std::min<unsigned int>(rows, sheetcell::maxRows);
    const unsigned short columnEnd =
        static_cast<unsigned short>(std::min<int>(columns, sheetcell::maxColumns));
    for (unsigned int row = 0; row < rowEnd; ++row) {
        for (unsigned short column = 0; column < columnEnd; ++column) {
            FreeXL_CellValue value;
            const int code = freexl_get_cell_value(handle, row, column, &value);
            if (code != FREEXL_OK) {
                error = openMessage(path, code);
                return std::nullopt;
            }
            if (!grid.put({static_cast<int>(row), column}, cellValue(value), error))
                return std::nullopt;
        }
    }
    return grid;
}

void writeCell(QDataStream& out, const Cell& cell) {
    switch (cell.kind()) {
    case Cell::Kind::Text:
        out << kTextCell << cell.toText();
        break;
    case Cell::Kind::Number:
        out << kNumberCell << cell.toNumber().value_or(0.0);
        break;
    case Cell::Kind::Empty:
        out << kEmptyCell;
        break;
    }
}

// Everything FreeXL makes of the file, in the child process.
QByteArray readWorkbook(const QString& path) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const void* raw = nullptr;
    const int code = freexl_open(QFile::encodeName(path).constData(), &raw);
    if (code != FREEXL_OK) {
        out << qint32{code};
        return bytes;
    }
    const XlsHandle handle(raw);
    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        out << kObfuscated;
        return bytes;
    }
    unsigned int count = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        out << qint32{FREEXL_BIFF_WORKBOOK_NOT_FOUND};
        return bytes;
    }
    QStringList names;
    for (unsigned int index = 0; index < count; ++index) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(index), &name) !=
            FREEXL_OK) {
            out << qint32{FREEXL_BIFF_ILLEGAL_SHEET_INDEX};
            return bytes;
        }
        names << QString::fromUtf8(name ? name : "");
    }
    out << qint32{FREEXL_OK} << names;
    for (int index = 0; index < names.size(); ++index) {
        QString error;
        const auto grid = readSheet(raw, index, path, error);
        out << grid.has_value();
        if (!grid) {
            out << error;
            continue;
        }
        out << qint32{grid->rowCount()} << qint32{grid->columnCount()};
        for (int row = 0; row < grid->rowCount(); ++row)
            for (const Cell& cell : grid->paddedRow(row))
                writeCell(out, cell);
    }
    return bytes;
}

std::optional<Cell> readCell(QDataStream& in) {
    quint8 kind = kEmptyCell;
    in >> kind;
    if (kind == kTextCell) {
        QString text;
        in >> text;
        return Cell::text(std::move(text));
    }
    if (kind == kNumberCell) {
        double number = 0;
        in >> number;
        return Cell::number(number);
    }
    if (kind == kEmptyCell)
        return Cell();
    return std::nullopt;
}

// Nothing when the answer is cut short or holds what the child never writes.
std::optional<ReadSheet> readSheetAnswer(QDataStream& in) {
    bool read = false;
    in >> read;
    ReadSheet sheet;
    if (!read) {
        in >> sheet.error;
        return sheet;
    }
    qint32 rows = 0;
    qint32 columns = 0;
    in >> rows >> columns;
    if (rows < 0 || columns < 0 || in.status() != QDataStream::Ok)
        return std::nullopt;
    SheetCellGrid grid;
    for (qint32 row = 0; row < rows; ++row)
        for (qint32 column = 0; column < columns; ++column) {
            const auto cell = readCell(in);
            if (!cell || in.status() != QDataStream::Ok)
                return std::nullopt;
            if (!cell->isEmpty() && !grid.put({row, column}, *cell, sheet.error))
                return sheet;
        }
    sheet.grid = std::move(grid);
    return sheet;
}

class XlsBook final : public SheetCellBook {
public:
    XlsBook(QStringList names, std::vector<ReadSheet> sheets)
        : SheetCellBook(std::move(names))
        , m_sheets(std::move(sheets)) {}

protected:
    std::optional<SheetCellGrid> loadSheet(int index, QString& error) override {
        const ReadSheet& sheet = m_sheets.at(static_cast<std::size_t>(index));
        if (!sheet.grid)
            error = sheet.error;
        return sheet.grid;
    }

private:
    std::vector<ReadSheet> m_sheets;
};

// The container's directory checked before FreeXL reads it. A file that cannot be mapped is left
// to FreeXL, which tells why it cannot be read.
bool containerIsSound(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return true;
    uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return true;
    const bool sound = compoundDirectoryIsSound(QByteArray::fromRawData(
        reinterpret_cast<const char*>(mapped), static_cast<qsizetype>(file.size())));
    file.unmap(mapped);
    return sound;
}

} // namespace

// FreeXL reads damaged workbooks past its buffers (the lengths of names and texts in the file are
// taken as they stand), so it reads every workbook in a child process: a file that brings it down
// is told as damaged, and this process never runs on memory it spoilt.
std::unique_ptr<ImportSource> openXlsFile(const QString& path, QString& error) {
    const QString damaged = openMessage(path, FREEXL_CRAFTED_FILE);
    if (!containerIsSound(path)) {
        error = damaged;
        return nullptr;
    }
    const auto answer = readApart([&path] { return readWorkbook(path); }, kSilence);
    if (!answer) {
        error = damaged;
        return nullptr;
    }
    QDataStream in(*answer);
    qint32 status = FREEXL_OK;
    in >> status;
    if (status == kObfuscated) {
        error = QStringLiteral("Sešit \"%1\" je chráněn heslem a nelze jej přečíst.").arg(path);
        return nullptr;
    }
    if (status != FREEXL_OK) {
        error = openMessage(path, status);
        return nullptr;
    }
    QStringList names;
    in >> names;
    std::vector<ReadSheet> sheets;
    for (qsizetype index = 0; index < names.size(); ++index) {
        auto sheet = readSheetAnswer(in);
        if (!sheet) {
            error = damaged;
            return nullptr;
        }
        sheets.push_back(std::move(*sheet));
    }
    return std::make_unique<XlsBook>(std::move(names), std::move(sheets));
}

} // namespace orvento::core::sources
