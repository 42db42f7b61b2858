// Rich texts come from the database, where another program or an import may have put anything:
// the card reads them into its editor, the reports take their plain text.
#include "FuzzSupport.h"

#include "core/RtfCodec.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString stored = QString::fromUtf8(orvento::fuzz::bytes(data, size));
    QTextDocument document;
    if (orvento::core::rtf::read(stored, document))
        (void)orvento::core::rtf::write(document);
    (void)orvento::core::rtf::plainText(stored);
    return 0;
}
