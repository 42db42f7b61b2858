// An Excel 97 workbook given to an import or to an offer's item import.
#include "SourceDrain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvento::core::sources::SourceKind;
    return orvento::fuzz::fuzzSourceFile(SourceKind::Xls, QStringLiteral("cenik.xls"), data, size);
}
