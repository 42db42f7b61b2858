// An Office Open XML or OpenDocument workbook given to an import: a zip of XML parts, told apart
// from an Excel 97 file by its first bytes.
#include "SourceDrain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvento::core::sources::SourceKind;
    return orvento::fuzz::fuzzSourceFile(SourceKind::Xls, QStringLiteral("cenik.xlsx"), data, size);
}
