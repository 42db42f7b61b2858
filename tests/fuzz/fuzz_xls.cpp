// An Excel 97 workbook given to an import or to an offer's item import.
#include "FuzzSupport.h"
#include "SourceDrain.h"

#include "core/sources/ImportSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString path = fuzz::writeFile(QStringLiteral("cenik.xls"), fuzz::bytes(data, size));
    QString error;
    if (const auto source = core::sources::openSource(core::sources::SourceKind::Xls, path, error))
        fuzz::drainSource(*source);
    return 0;
}
