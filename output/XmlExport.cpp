#include "output/XmlExport.h"

#include "core/RtfCodec.h"
#include "core/Windows1250.h"
#include "output/DataSetWriter.h"

#include <QDate>
#include <QSaveFile>

namespace orvento::output::xml_export {

namespace {

constexpr int kListIndent = 2;
constexpr int kRecordIndent = 4;
constexpr int kValueIndent = 6;
constexpr int kRowIndent = 8;
constexpr int kRowValueIndent = 10;
constexpr char kLineEnd[] = "\r\n";

const QString kHeaderDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kFileDateFormat = QStringLiteral("yyyy-MM-dd");

bool isHeaderDate(const QString& column) {
    return column == QLatin1String("DatVystaveni") || column == QLatin1String("DatVyrizeni") ||
           column == QLatin1String("DatPlatnosti");
}

bool isRichText(const QString& column) {
    return column == QLatin1String("TextPred") || column == QLatin1String("TextZa");
}

QString rootLine(Kind kind, const QDateTime& at) {
    const QString description =
        kind == Kind::Offers ? QStringLiteral("Nabídky") : QStringLiteral("Adresář");
    return QStringLiteral("<OVData description=\"%1\" ExportDate=\"%2\" ExportTime=\"%3\">")
        .arg(description, at.date().toString(kFileDateFormat),
             at.time().toString(QStringLiteral("HH:mm:ss")));
}

QString listName(Kind kind) {
    return kind == Kind::Offers ? QStringLiteral("SeznamNabidek") : QStringLiteral("SeznamAdres");
}

} // namespace

QString escape(const QString& text) {
    return dataset::escape(text, dataset::Quotes::Kept);
}

void appendEncoded(QByteArray& out, QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        const int byte = core::cp1250::fromUnicode(ch.unicode());
        if (byte >= 0) {
            out += static_cast<char>(byte);
            continue;
        }
        char32_t code = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(ch, text.at(++i));
        out += "&#";
        out += QByteArray::number(static_cast<quint32>(code));
        out += ';';
    }
}

QString headerDate(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed(), kHeaderDateFormat);
    return date.isValid() ? date.toString(kFileDateFormat) : QString();
}

QString formatValue(const QVariant& value, ColumnType type) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return value.toString();
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Word:
    case ColumnType::AutoInc:
    case ColumnType::LargeInt:
        return QString::number(value.toLongLong());
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Double:
    case ColumnType::Currency:
        return dataset::formatNumber(value.toDouble());
    case ColumnType::Date:
    case ColumnType::DateTime: {
        const QDate date =
            value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        return date.isValid() ? date.toString(kFileDateFormat) : QString();
    }
    case ColumnType::Time: {
        const QTime time =
            value.typeId() == QMetaType::QDateTime ? value.toDateTime().time() : value.toTime();
        return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
    }
    case ColumnType::Picture:
        return QString();
    }
    return QString();
}

XmlExportWriter::XmlExportWriter(Kind kind, const QDateTime& at)
    : m_kind(kind) {
    line(0, u"<?xml version=\"1.0\" encoding=\"windows-1250\"?>");
    line(0, rootLine(kind, at));
    line(kListIndent, QString(QLatin1Char('<') + listName(kind) + QLatin1Char('>')));
}

void XmlExportWriter::line(int indent, QStringView text) {
    m_bytes.append(indent, ' ');
    appendEncoded(m_bytes, text);
    m_bytes += kLineEnd;
}

void XmlExportWriter::valueLines(const ReportTable& table, int row, int indent, bool offerHeader) {
    const std::vector<ReportColumn>& columns = table.columns();
    QString text;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const ReportColumn& column = columns[c];
        if (column.type == ColumnType::Picture)
            continue;
        const QVariant& value = table.value(row, static_cast<int>(c));
        QString shown;
        if (offerHeader && isHeaderDate(column.name))
            shown = headerDate(value.toString());
        else if (offerHeader && isRichText(column.name))
            shown = core::rtf::plainText(value.toString());
        else
            shown = formatValue(value, column.type);
        text.clear();
        text += QLatin1Char('<') + column.name + QLatin1Char('>') + escape(shown) +
                QLatin1String("</") + column.name + QLatin1Char('>');
        line(indent, text);
    }
}

void XmlExportWriter::rowList(const ReportTable& table, const QString& list, const QString& row) {
    if (table.rowCount() == 0)
        return;
    line(kValueIndent, QLatin1Char('<') + list + QLatin1Char('>'));
    for (int r = 0; r < table.rowCount(); ++r) {
        line(kRowIndent, QLatin1Char('<') + row + QLatin1Char('>'));
        valueLines(table, r, kRowValueIndent, false);
        line(kRowIndent, QLatin1String("</") + row + QLatin1Char('>'));
    }
    line(kValueIndent, QLatin1String("</") + list + QLatin1Char('>'));
}

void XmlExportWriter::addOffer(const OfferReport& offer) {
    line(kRecordIndent, u"<Nabidka>");
    if (offer.header.rowCount() > 0)
        valueLines(offer.header, 0, kValueIndent, true);
    rowList(offer.items, QStringLiteral("SeznamPolozek"), QStringLiteral("Polozka"));
    rowList(offer.identifiers, QStringLiteral("RozpisIdentif"), QStringLiteral("Identifikator"));
    line(kRecordIndent, u"</Nabidka>");
}

void XmlExportWriter::addAddresses(const ReportTable& addresses) {
    for (int r = 0; r < addresses.rowCount(); ++r) {
        line(kRecordIndent, u"<Adresa>");
        valueLines(addresses, r, kValueIndent, false);
        line(kRecordIndent, u"</Adresa>");
    }
}

QByteArray XmlExportWriter::finish() {
    line(kListIndent, QString(QLatin1String("</") + listName(m_kind) + QLatin1Char('>')));
    line(0, u"</OVData>");
    return std::move(m_bytes);
}

bool saveFile(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace orvento::output::xml_export
