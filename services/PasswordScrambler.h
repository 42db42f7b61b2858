#pragma once

#include <QString>

namespace orvento::services::password {

// Passwords are compared case-sensitively and hold at most this many characters.
inline constexpr int kMaxLength = 15;

// Turns a password into its stored form and back (the operation is its own inverse): each
// character is combined by exclusive-or with the program's base value plus its position. The
// base lies among the control codes 128 to 159, which nobody types, so no character ever turns
// into NUL and printable ASCII turns into printable Latin-1.
QString scramble(const QString& text);
inline QString unscramble(const QString& stored) {
    return scramble(stored);
}

} // namespace orvento::services::password
