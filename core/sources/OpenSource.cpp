#include "core/sources/ImportSource.h"
#include "core/sources/Readers.h"

namespace orvento::core::sources {

std::unique_ptr<ImportSource> openSource(SourceKind kind, const QString& path, QString& error) {
    switch (kind) {
    case SourceKind::Mdb:
        return openAccessFile(path, error);
    case SourceKind::Xls:
        return openWorkbook(path, error);
    case SourceKind::Dbf:
        return openDbfFile(path, error);
    case SourceKind::Csv:
        return openCsvFile(path, error);
    }
    return nullptr;
}

std::unique_ptr<ImportSource> openClipboardText(const QString& text) {
    return openTabText(text);
}

} // namespace orvento::core::sources
