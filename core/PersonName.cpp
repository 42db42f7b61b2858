#include "core/PersonName.h"

#include <QStringList>

namespace orvento::core {

QString contactPersonName(const QString& titleBefore, const QString& surname,
                          const QString& firstName, const QString& titleAfter) {
    QStringList parts;
    for (const QString& part : {titleBefore, surname, firstName, titleAfter}) {
        // Blanks inside a part are single too: "Ph.  D." typed by hand reads "Ph. D.".
        const QString simplified = part.simplified();
        if (!simplified.isEmpty())
            parts << simplified;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace orvento::core
