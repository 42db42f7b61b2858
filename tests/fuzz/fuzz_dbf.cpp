// A dBase or FoxPro table given to an import or to an offer's item import.
#include "SourceDrain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvento::core::sources::SourceKind;
    return orvento::fuzz::fuzzSourceFile(SourceKind::Dbf, QStringLiteral("cenik.dbf"), data, size);
}
