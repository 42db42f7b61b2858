#include "output/MailHandOver.h"

namespace orvento::output {

bool isSingleAddress(const QString& address) {
    const QString a = address.trimmed();
    if (a.count(QLatin1Char('@')) != 1)
        return false;
    const qsizetype at = a.indexOf(QLatin1Char('@'));
    if (at == 0 || at == a.size() - 1)
        return false;
    // Separators of recipients, of URL parameters and headers, quoting of a command line.
    static constexpr QStringView forbidden = u",;<>?&%\"'()[]\\:";
    for (const QChar c : a) {
        if (c.isSpace() || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format || forbidden.contains(c))
            return false;
    }
    return true;
}

} // namespace orvento::output
