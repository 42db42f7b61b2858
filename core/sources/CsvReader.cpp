#include "core/sources/Readers.h"

namespace orvento::core::sources {

std::unique_ptr<ImportSource> openCsvFile(const QString& path, QString& error) {
    error = QStringLiteral("Soubor %1 nelze zatím číst.").arg(path);
    return nullptr;
}

} // namespace orvento::core::sources

namespace orvento::core::sources {

std::unique_ptr<ImportSource> openTabText(const QString& text) {
    (void)text;
    return nullptr;
}

} // namespace orvento::core::sources
