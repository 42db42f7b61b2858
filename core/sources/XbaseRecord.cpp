#include "core/sources/XbaseRecord.h"

#include <QDate>
#include <QDateTime>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvento::core::sources {

namespace {

constexpr int binaryBlockNumberLength = 4;
constexpr double currencyScale = 10000.0; // a currency value is kept in ten-thousandths
constexpr qsizetype dateLength = 8;
constexpr qsizetype millisecondsAt = 4; // in a date-time, after the day number

QByteArrayView trimmedAscii(QByteArrayView bytes) {
    qsizetype start = 0;
    qsizetype end = bytes.size();
    while (start < end && (bytes[start] == ' ' || bytes[start] == '\0'))
        ++start;
    while (end > start && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    return bytes.sliced(start, end - start);
}

// N and F hold the number as text; one that does not read as a number stays text, so that the
// import tells the row and the value.
Cell numericText(QByteArrayView bytes) {
    const QByteArrayView trimmed = trimmedAscii(bytes);
    // Many writers fill a number that is not set with asterisks.
    if (std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c == '*'; }))
        return {};
    QByteArray normalised = trimmed.toByteArray();
    normalised.replace(',', '.');
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    if (ok && std::isfinite(value))
        return Cell::number(value);
    return Cell::text(QString::fromLatin1(trimmed));
}

Cell dateText(QByteArrayView bytes) {
    const QByteArrayView trimmed = trimmedAscii(bytes);
    if (trimmed.isEmpty() || trimmed == "00000000")
        return {};
    const QDate date = QDate::fromString(QString::fromLatin1(trimmed), QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return Cell::text(QString::fromLatin1(trimmed));
    // ISO text, "yyyy-MM-dd": the form every later step reads without a locale.
    return Cell::text(date.toString(Qt::ISODate));
}

// Visual FoxPro's date-time: a Julian day number and the milliseconds since midnight.
Cell dateTimeText(QByteArrayView bytes) {
    const qint32 day = qFromLittleEndian<qint32>(bytes.data());
    const qint32 milliseconds = qFromLittleEndian<qint32>(bytes.data() + millisecondsAt);
    if (day == 0)
        return {};
    const QDate date = QDate::fromJulianDay(day);
    const QTime time = QTime::fromMSecsSinceStartOfDay(milliseconds);
    if (!date.isValid() || !time.isValid())
        return {};
    return Cell::text(QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

Cell logicalText(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    switch (bytes[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
        return Cell::text(QStringLiteral("True"));
    case 'F':
    case 'f':
    case 'N':
    case 'n':
        return Cell::text(QStringLiteral("False"));
    default:
        return {}; // '?' or a space: not set
    }
}

} // namespace

XbaseRecordReader::XbaseRecordReader(XbaseLayout layout, const QByteArray& encoding,
                                     std::unique_ptr<XbaseMemoFile> memo)
    : m_layout(std::move(layout))
    , m_decoder(encoding.constData(), QStringDecoder::Flag::Stateless)
    , m_memo(std::move(memo)) {
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        if (!m_layout.fields[i].hidden)
            m_offered.push_back(i);
    }
}

QStringList XbaseRecordReader::columns() {
    QStringList names;
    for (const std::size_t at : m_offered)
        names.push_back(m_decoder(m_layout.fields[at].name));
    return names;
}

bool XbaseRecordReader::selectColumns(const QStringList& names, QString& error) {
    std::vector<QString> folded;
    for (const XbaseField& field : m_layout.fields)
        folded.push_back(field.hidden ? QString()
                                      : QString(m_decoder(field.name)).trimmed().toCaseFolded());
    std::vector<std::size_t> offered;
    for (const QString& name : names) {
        const auto at = std::find(folded.begin(), folded.end(), name.trimmed().toCaseFolded());
        if (name.trimmed().isEmpty() || at == folded.end()) {
            error = QStringLiteral("Tabulka nemá sloupec \"%1\".").arg(name);
            return false;
        }
        offered.push_back(static_cast<std::size_t>(at - folded.begin()));
    }
    m_offered = std::move(offered);
    return true;
}

bool XbaseRecordReader::decode(QByteArrayView record, Row& row, QString& error) {
    row.clear();
    for (const std::size_t at : m_offered) {
        const XbaseField& field = m_layout.fields[at];
        row.push_back(fieldCell(field, record.sliced(field.offset, field.length), error));
        if (!error.isEmpty())
            return false;
    }
    return true;
}

Cell XbaseRecordReader::text(QByteArrayView bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    if (end == 0)
        return {};
    const QByteArrayView used = bytes.first(end);
    // Every code page of these tables keeps ASCII as it is; most texts need no decoder.
    if (std::all_of(used.begin(), used.end(),
                    [](char c) { return static_cast<signed char>(c) >= 0; }))
        return Cell::text(QString::fromLatin1(used));
    return Cell::text(m_decoder(used));
}

Cell XbaseRecordReader::fieldCell(const XbaseField& field, QByteArrayView bytes, QString& error) {
    switch (field.type) {
    case 'N':
    case 'F':
        return numericText(bytes);
    case 'I':
        return Cell::number(qFromLittleEndian<qint32>(bytes.data()));
    case 'Y':
        return Cell::number(static_cast<double>(qFromLittleEndian<qint64>(bytes.data())) /
                            currencyScale);
    case 'B':
        if (m_layout.visualFoxPro) {
            const double value = qFromLittleEndian<double>(bytes.data());
            return std::isfinite(value) ? Cell::number(value) : Cell();
        }
        return {}; // a binary memo of dBase: nothing to show as text
    case 'D':
        return bytes.size() == dateLength ? dateText(bytes) : text(bytes);
    case 'T':
        return dateTimeText(bytes);
    case 'L':
        return logicalText(bytes);
    case 'M':
        return memoCell(field, bytes, error);
    case 'G':
    case 'P':
        return {}; // pictures and embedded objects
    default:
        return text(bytes);
    }
}

Cell XbaseRecordReader::memoCell(const XbaseField& field, QByteArrayView bytes, QString& error) {
    quint64 block = 0;
    if (field.length == binaryBlockNumberLength) {
        block = qFromLittleEndian<quint32>(bytes.data());
    } else {
        const QByteArrayView digits = trimmedAscii(bytes);
        if (digits.isEmpty())
            return {};
        bool ok = false;
        block = digits.toByteArray().toULongLong(&ok);
        if (!ok)
            return {};
    }
    if (block == 0)
        return {};
    if (!m_memo) {
        error = QStringLiteral("Tabulka odkazuje na poznámku, ale soubor poznámek chybí.");
        return {};
    }
    const auto memo = m_memo->read(block, error);
    if (!memo)
        return {};
    return text(*memo);
}

} // namespace orvento::core::sources
