#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace orvento::core::sources {

// The encoding (a QStringDecoder name) of the language-driver byte of an xBase header; empty
// when the byte names none this system knows.
QByteArray xbaseDriverEncoding(quint8 languageDriver);

// The encoding a code-page file beside a table names ("1250", "CP852", "ANSI 1250", "UTF-8",
// "LDID/100" or an encoding's own name); empty when it names none this system can decode.
QByteArray xbaseCodePageFileEncoding(QByteArrayView text);

} // namespace orvento::core::sources
