#include "core/sources/SheetCell.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace orvento::core::sources::sheetcell {

namespace {

constexpr int lettersInAlphabet = 26;
// "XFD" is the last column: three letters at most.
constexpr int maxColumnLetters = 3;

} // namespace

std::optional<Position> parsePosition(QStringView reference) {
    qsizetype at = 0;
    const qsizetype size = reference.size();
    auto skipDollar = [&] {
        if (at < size && reference[at] == QLatin1Char('$'))
            ++at;
    };
    skipDollar();
    qint64 column = 0;
    int letters = 0;
    while (at < size) {
        const char16_t c = reference[at].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            break;
        column = column * lettersInAlphabet + (c - u'A' + 1);
        ++letters;
        ++at;
        if (letters > maxColumnLetters)
            return std::nullopt;
    }
    if (letters == 0)
        return std::nullopt;
    skipDollar();
    qint64 row = 0;
    int digits = 0;
    while (at < size && reference[at].isDigit() && reference[at].unicode() < 128) {
        row = row * 10 + (reference[at].unicode() - u'0');
        ++digits;
        ++at;
        if (row > maxRows)
            return std::nullopt;
    }
    if (digits == 0 || at != size || row < 1 || column > maxColumns)
        return std::nullopt;
    return Position{static_cast<int>(row - 1), static_cast<int>(column - 1)};
}

QString columnLetters(int column) {
    QString letters;
    int rest = column + 1;
    while (rest > 0) {
        const int digit = (rest - 1) % lettersInAlphabet;
        letters.prepend(QChar(u'A' + digit));
        rest = (rest - 1) / lettersInAlphabet;
    }
    return letters;
}

QString positionName(Position position) {
    return columnLetters(position.column) + QString::number(position.row + 1);
}

std::optional<double> parseStoredNumber(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<Cell> xlsxValue(QStringView type, const QString& value) {
    if (type == u"s" || type == u"str" || type == u"inlineStr")
        return value.isEmpty() ? Cell() : Cell::text(value);
    if (type == u"e")
        return Cell();
    if (type == u"d") // an ISO date kept as its text
        return value.isEmpty() ? Cell() : Cell::text(value);
    if (value.trimmed().isEmpty())
        return Cell();
    if (type == u"b")
        return Cell::number(value.trimmed() == u"1" ? 1 : 0);
    if (!type.isEmpty() && type != u"n")
        return std::nullopt;
    const auto number = parseStoredNumber(value);
    if (!number)
        return std::nullopt;
    return Cell::number(*number);
}

namespace {

// "PT12H30M05S" (an OpenDocument duration) -> "12:30:05"; other texts as they are.
QString odsTimeText(const QString& duration) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^-?PT(\d+)H(\d+)M(\d+)(?:[.,]\d+)?S$)"));
    const auto match = pattern.match(duration);
    if (!match.hasMatch())
        return duration;
    auto two = [](const QString& digits) {
        return digits.rightJustified(2, QLatin1Char('0'));
    };
    return two(match.captured(1)) + QLatin1Char(':') + two(match.captured(2)) + QLatin1Char(':') +
           two(match.captured(3));
}

} // namespace

std::optional<Cell> odsValue(const OdsAttributes& attributes, const QString& text) {
    const QString& type = attributes.valueType;
    if (type == u"float" || type == u"percentage" || type == u"currency") {
        const auto number = parseStoredNumber(attributes.value);
        if (!number)
            return std::nullopt;
        return Cell::number(*number);
    }
    if (type == u"boolean") {
        const QString value = attributes.booleanValue.trimmed().toLower();
        return Cell::number(value == u"true" || value == u"1" ? 1 : 0);
    }
    if (type == u"date" && !attributes.dateValue.isEmpty()) {
        QString date = attributes.dateValue;
        date.replace(QLatin1Char('T'), QLatin1Char(' '));
        return Cell::text(date);
    }
    if (type == u"time" && !attributes.timeValue.isEmpty())
        return Cell::text(odsTimeText(attributes.timeValue));
    if (type == u"string" && text.isEmpty() && !attributes.stringValue.isEmpty())
        return Cell::text(attributes.stringValue);
    // A string, or a cell without a type that still shows a text.
    return text.isEmpty() ? Cell() : Cell::text(text);
}

QString columnTitle(const Cell& cell, int column) {
    const QString title = cell.toText().trimmed();
    if (!title.isEmpty())
        return title;
    return QStringLiteral("F%1").arg(column + 1);
}

} // namespace orvento::core::sources::sheetcell
