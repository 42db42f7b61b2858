#include "services/PasswordScrambler.h"

namespace orvento::services::password {

namespace {
// Stored passwords depend on it: never change it.
constexpr char16_t kBase = 0x83;
} // namespace

QString scramble(const QString& text) {
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const auto key = static_cast<char16_t>(kBase + i);
        result[i] = QChar(static_cast<char16_t>(result[i].unicode() ^ key));
    }
    return result;
}

} // namespace orvento::services::password
