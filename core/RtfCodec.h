#pragma once

#include <QString>

class QTextDocument;

namespace orvento::core::rtf {

// Rich texts are stored as RTF documents. The writer puts down what the editor produces:
// paragraphs with their alignment, bold, italic, underline, font family, size and colour; letters
// beyond ASCII as \uN with a Windows-1250 fallback. The reader takes that back, and from RTF of
// other word processors it keeps the text and these formats and skips everything else.

QString write(const QTextDocument& document);

// Fills `document` from `rtf`. A value that is not RTF at all is taken as plain text. False when
// the RTF is broken beyond reading (unbalanced groups); the document then holds what could be
// read, never more than the input.
bool read(const QString& rtf, QTextDocument& document);

bool looksLikeRtf(const QString& text);

// The plain text of a stored value (RTF or not), lines joined by '\n'.
QString plainText(const QString& stored);

} // namespace orvento::core::rtf
