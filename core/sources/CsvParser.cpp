#include "core/sources/CsvParser.h"

#include <utility>

namespace orvento::core::sources {

namespace {

constexpr QChar quote = QLatin1Char('"');
constexpr QChar carriageReturn = QLatin1Char('\r');
constexpr QChar lineFeed = QLatin1Char('\n');

bool isLineBreak(QChar c) {
    return c == carriageReturn || c == lineFeed;
}

} // namespace

CsvParser::CsvParser(QString text, QChar separator)
    : m_text(std::move(text))
    , m_separator(separator) {}

bool CsvParser::startRecord() {
    const qsizetype size = m_text.size();
    while (m_position < size && isLineBreak(m_text.at(m_position)))
        ++m_position;
    return m_position < size;
}

CsvParser::RawField CsvParser::nextField() {
    const qsizetype size = m_text.size();
    const QChar* data = m_text.constData();
    const auto endsField = [&](qsizetype at) {
        return at >= size || data[at] == m_separator || isLineBreak(data[at]);
    };
    RawField field;
    if (m_position < size && data[m_position] == quote) {
        const qsizetype bodyStart = ++m_position;
        // A quote that is never closed takes the rest of the text: nothing is lost or read
        // beyond it.
        while (m_position < size) {
            if (data[m_position] == quote) {
                if (m_position + 1 < size && data[m_position + 1] == quote) {
                    field.hasDoubledQuotes = true;
                    m_position += 2;
                    continue;
                }
                break;
            }
            ++m_position;
        }
        field.body = QStringView(data + bodyStart, m_position - bodyStart);
        if (m_position < size)
            ++m_position; // the closing quote
        const qsizetype tailStart = m_position;
        while (!endsField(m_position))
            ++m_position;
        field.tail = QStringView(data + tailStart, m_position - tailStart);
        return field;
    }
    const qsizetype start = m_position;
    while (!endsField(m_position))
        ++m_position;
    field.body = QStringView(data + start, m_position - start);
    return field;
}

bool CsvParser::moveOverSeparator() {
    const qsizetype size = m_text.size();
    if (m_position >= size)
        return false;
    if (m_text.at(m_position) == m_separator) {
        ++m_position;
        return true; // a separator at the very end still opens one last, empty field
    }
    // CR LF is one line break; a lone CR or LF is one too.
    if (m_text.at(m_position) == carriageReturn && m_position + 1 < size &&
        m_text.at(m_position + 1) == lineFeed)
        ++m_position;
    ++m_position;
    return false;
}

QString CsvParser::fieldText(const RawField& field) {
    QString text = field.body.toString();
    if (field.hasDoubledQuotes)
        text.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    if (!field.tail.isEmpty())
        text += field.tail;
    return text;
}

bool CsvParser::skip() {
    if (!startRecord())
        return false;
    while (true) {
        nextField();
        if (!moveOverSeparator())
            return true;
    }
}

} // namespace orvento::core::sources
