#include "core/sources/Readers.h"

namespace orvento::core::sources {

std::unique_ptr<ImportSource> openWorkbook(const QString& path, QString& error) {
    error = QStringLiteral("Soubor %1 nelze zatím číst.").arg(path);
    return nullptr;
}

} // namespace orvento::core::sources
