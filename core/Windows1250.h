#pragma once

#include <QChar>

namespace orvento::core::cp1250 {

// The Windows-1250 code page (Central European), the one the program's Czech texts are kept in
// wherever a file names a single-byte code page: RTF documents and the XML export.

// The character of a byte; 0 for the five bytes the code page leaves unassigned.
char16_t toUnicode(unsigned char byte);
// The byte of a character; -1 when the code page has none for it.
int fromUnicode(char16_t ch);

} // namespace orvento::core::cp1250
