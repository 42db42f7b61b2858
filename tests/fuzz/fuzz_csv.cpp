// A supplier's price list or an address book as a text file, read by the imports.
#include "SourceDrain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvento::core::sources::SourceKind;
    return orvento::fuzz::fuzzSourceFile(SourceKind::Csv, QStringLiteral("cenik.csv"), data, size);
}
