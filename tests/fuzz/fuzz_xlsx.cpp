// An Office Open XML or OpenDocument workbook given to an import: a zip of XML parts, told apart
// from an Excel 97 file by its first bytes.
#include "FuzzSupport.h"
#include "SourceDrain.h"

#include "core/sources/ImportSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString path = fuzz::writeFile(QStringLiteral("cenik.xlsx"), fuzz::bytes(data, size));
    QString error;
    if (const auto source = core::sources::openSource(core::sources::SourceKind::Xls, path, error))
        fuzz::drainSource(*source);
    return 0;
}
