#include "core/AmountFormat.h"

#include <QLocale>

#include <sqlite3.h>

namespace orvento::core {

namespace {

void amountTextFunction(sqlite3_context* context, int count, sqlite3_value** values) {
    if (count != 1 || sqlite3_value_type(values[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray text = formatAmount(sqlite3_value_double(values[0])).toUtf8();
    sqlite3_result_text(context, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

} // namespace

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

bool registerAmountText(sqlite3* handle) {
    return handle != nullptr &&
           sqlite3_create_function_v2(handle, kAmountTextName, 1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      amountTextFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString formatQuantity(double value) {
    return QLocale(QLocale::Czech).toString(value, 'f', 4);
}

} // namespace orvento::core
