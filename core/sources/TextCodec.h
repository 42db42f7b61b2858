#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orvento::core::sources {

// The text of a file that names no encoding: UTF-8 when it starts with a byte-order mark or its
// bytes are valid UTF-8, else Windows-1250, the code page Czech Windows writes text files in.
QString decodeUnlabelledText(QByteArrayView bytes);

// The name of a Windows or DOS code page (852, 1250, ...) that QStringDecoder knows; empty when
// this system cannot decode it.
QByteArray codePageEncodingName(int codePage);

} // namespace orvento::core::sources
