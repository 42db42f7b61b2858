#include "core/sources/SheetCellGrid.h"
#include "core/sources/XlsReaders.h"

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

class XlsBook final : public SheetCellBook {
public:
    XlsBook(std::unique_ptr<XlsHandle> handle, QStringList names, QString path)
        : SheetCellBook(std::move(names))
        , m_handle(std::move(handle))
        , m_path(std::move(path)) {}

protected:
    std::optional<SheetCellGrid> loadSheet(int index, QString& error) override {
        const void* handle = m_handle->get();
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) !=
                FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            error = openMessage(m_path, FREEXL_BIFF_ILLEGAL_SHEET_INDEX);
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
                    error = openMessage(m_path, code);
                    return std::nullopt;
                }
                if (!grid.put({static_cast<int>(row), column}, cellValue(value), error))
                    return std::nullopt;
            }
        }
        return grid;
    }

private:
    std::unique_ptr<XlsHandle> m_handle;
    QString m_path;
};

} // namespace

std::unique_ptr<ImportSource> openXlsFile(const QString& path, QString& error) {
    const void* raw = nullptr;
    const int code = freexl_open(QFile::encodeName(path).constData(), &raw);
    if (code != FREEXL_OK) {
        error = openMessage(path, code);
        return nullptr;
    }
    auto handle = std::make_unique<XlsHandle>(raw);
    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        error = QStringLiteral("Sešit \"%1\" je chráněn heslem a nelze jej přečíst.").arg(path);
        return nullptr;
    }
    unsigned int count = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        error = openMessage(path, FREEXL_BIFF_WORKBOOK_NOT_FOUND);
        return nullptr;
    }
    QStringList names;
    for (unsigned int index = 0; index < count; ++index) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(index), &name) !=
            FREEXL_OK) {
            error = openMessage(path, FREEXL_BIFF_ILLEGAL_SHEET_INDEX);
            return nullptr;
        }
        names << QString::fromUtf8(name ? name : "");
    }
    return std::make_unique<XlsBook>(std::move(handle), std::move(names), path);
}

} // namespace orvento::core::sources
