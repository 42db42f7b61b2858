#include "output/PrintTypes.h"

namespace orvento::output {

const PrintTypeEntry* printTypeEntry(int printType) {
    for (const PrintTypeEntry& entry : kPrintTypes)
        if (entry.number == printType)
            return &entry;
    return nullptr;
}

QStringList reportKinds(int printType) {
    QStringList kinds;
    if (const PrintTypeEntry* entry = printTypeEntry(printType))
        for (const char* kind : entry->kinds)
            if (kind)
                kinds << QString::fromUtf8(kind);
    return kinds;
}

} // namespace orvento::output
