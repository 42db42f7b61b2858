#pragma once

#include "import/ImportProtocol.h"

#include <QStringList>

namespace orvento::testsupport {

// The texts of a protocol's lines, in order.
inline QStringList linesOf(const import::ImportProtocol& protocol) {
    QStringList texts;
    for (const auto& line : protocol.lines())
        texts << line.text;
    return texts;
}
// Whether the protocol has the line in that style.
inline bool hasLineIn(const import::ImportProtocol& protocol, const QString& text,
                      import::ImportProtocol::Style style) {
    for (const auto& line : protocol.lines())
        if (line.text == text && line.style == style)
            return true;
    return false;
}

} // namespace orvento::testsupport
