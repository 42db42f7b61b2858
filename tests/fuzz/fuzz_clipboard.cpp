// Cells copied from a spreadsheet and pasted into an offer's item import: tab-separated lines.
#include "FuzzSupport.h"
#include "SourceDrain.h"

#include "core/sources/ImportSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    fuzz::drainSource(*core::sources::openClipboardText(text));
    return 0;
}
