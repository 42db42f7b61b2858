#include "core/AmountFormat.h"

#include <QLocale>

namespace orvento::core {

QString formatAmount(double value) {
    const QString plain = QString::number(value, 'f', 2);
    const bool negative = plain.startsWith(QLatin1Char('-'));
    const QString digits = plain.mid(negative ? 1 : 0);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const QString whole = digits.left(point);
    const QString fraction = digits.mid(point + 1);
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += QLatin1Char(' ');
        grouped += whole.at(i);
    }
    // "-0,00" says nothing a plain zero does not.
    const bool zero = whole == QLatin1String("0") && fraction == QLatin1String("00");
    return (negative && !zero ? QStringLiteral("-") : QString()) + grouped + QLatin1Char(',') +
           fraction;
}

QString formatQuantity(double value) {
    return QLocale(QLocale::Czech).toString(value, 'f', 4);
}

} // namespace orvento::core
