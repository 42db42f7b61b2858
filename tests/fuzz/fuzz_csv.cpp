// A supplier's price list or an address book as a text file, read by the imports.
#include "FuzzSupport.h"
#include "SourceDrain.h"

#include "core/sources/ImportSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString path = fuzz::writeFile(QStringLiteral("cenik.csv"), fuzz::bytes(data, size));
    QString error;
    if (const auto source = core::sources::openSource(core::sources::SourceKind::Csv, path, error))
        fuzz::drainSource(*source);
    return 0;
}
