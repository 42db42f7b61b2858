#include "output/DataSetWriter.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QSaveFile>

#include <cmath>

namespace orvento::output {

namespace dataset {

QString schemaType(ColumnType type) {
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return QStringLiteral("xs:string");
    case ColumnType::SmallInt:
        return QStringLiteral("xs:short");
    case ColumnType::Word:
        return QStringLiteral("xs:unsignedShort");
    case ColumnType::Integer:
    case ColumnType::AutoInc:
    case ColumnType::LargeInt:
        return QStringLiteral("xs:int");
    case ColumnType::Boolean:
        return QStringLiteral("xs:boolean");
    case ColumnType::Double:
        return QStringLiteral("xs:double");
    case ColumnType::Currency:
        return QStringLiteral("xs:decimal");
    case ColumnType::Date:
    case ColumnType::Time:
    case ColumnType::DateTime:
        return QStringLiteral("xs:dateTime");
    case ColumnType::Picture:
        return QStringLiteral("xs:base64Binary");
    }
    return QStringLiteral("xs:string");
}

namespace {

bool allowedInXml(char16_t c) {
    if (c < 0x20)
        return c == u'\t' || c == u'\n' || c == u'\r';
    return c != 0xFFFE && c != 0xFFFF;
}

const QString kNoDate = QStringLiteral("0001-01-01T00:00:00");

} // namespace

QString escape(const QString& text, Quotes quotes) {
    QString out;
    out.reserve(text.size() + 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        const char16_t c = ch.unicode();
        switch (c) {
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u'"':
            if (quotes == Quotes::Kept)
                break;
            out += QLatin1String("&quot;");
            continue;
        case u'\'':
            if (quotes == Quotes::Kept)
                break;
            out += QLatin1String("&apos;");
            continue;
        case u'\r':
            // A lone CR, or the CR of a CR LF pair, is one line break.
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\r\n");
            continue;
        case u'\n':
            out += QLatin1String("\r\n");
            continue;
        default:
            break;
        }
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += ch;
            out += text.at(++i);
        } else if (ch.isSurrogate() || !allowedInXml(c)) {
            out += QLatin1Char(' ');
        } else {
            out += ch;
        }
    }
    return out;
}

QString formatNumber(double value) {
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 1e15)
        return QString::number(value, 'g', 15); // fixed in this range, trailing zeros dropped
    const QString scientific = QString::number(value, 'e', 14);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    QString mantissa = scientific.left(e);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    return mantissa + QLatin1Char('E') + QString::number(scientific.mid(e + 1).toInt());
}

QString formatValue(const QVariant& value, ColumnType type) {
    const bool null = !value.isValid() || value.isNull();
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return null ? QString() : value.toString();
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Word:
    case ColumnType::AutoInc:
        return null ? QStringLiteral("0") : QString::number(value.toLongLong());
    case ColumnType::LargeInt:
        return null ? QStringLiteral("0")
                    : QString::number(static_cast<qint32>(static_cast<quint32>(
                          static_cast<quint64>(value.toLongLong()) & 0xFFFFFFFFu)));
    case ColumnType::Boolean:
        return !null && value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ColumnType::Double:
        return formatNumber(null ? 0.0 : value.toDouble());
    case ColumnType::Currency:
        return formatNumber(null ? 0.0 : std::round(value.toDouble() * 10000.0) / 10000.0);
    case ColumnType::Date: {
        const QDate date =
            value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        return null || !date.isValid() ? kNoDate : date.toString(QStringLiteral("yyyy-MM-dd"));
    }
    case ColumnType::Time: {
        const QTime time =
            value.typeId() == QMetaType::QDateTime ? value.toDateTime().time() : value.toTime();
        return QStringLiteral("0001-01-01T") + (null || !time.isValid()
                                                    ? QStringLiteral("00:00:00")
                                                    : time.toString(QStringLiteral("HH:mm:ss")));
    }
    case ColumnType::DateTime: {
        const QDateTime at =
            value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        return null || !at.isValid() ? kNoDate : at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    case ColumnType::Picture: {
        if (null)
            return QString();
        const QImage image = QImage::fromData(value.toByteArray());
        if (image.isNull())
            return QString();
        QByteArray bitmap;
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return QString::fromLatin1(bitmap.toBase64());
    }
    }
    return QString();
}

} // namespace dataset

DataSetWriter::DataSetWriter(QString dataSetName)
    : m_name(std::move(dataSetName)) {}

bool DataSetWriter::addTable(const ReportTable& table) {
    return addTable(std::make_shared<const ReportTable>(table));
}

bool DataSetWriter::addTable(std::shared_ptr<const ReportTable> table) {
    if (static_cast<int>(m_tables.size()) >= kMaxTables || !table)
        return false;
    m_tables.push_back(std::move(table));
    return true;
}

void DataSetWriter::addRelation(const QString& name, const QString& masterTable,
                                const QString& masterColumn, const QString& detailTable,
                                const QString& detailColumn) {
    QString key;
    for (const UniqueKey& k : m_keys) {
        if (k.table == masterTable && k.column == masterColumn) {
            key = k.name;
            break;
        }
    }
    if (key.isEmpty()) {
        key = QStringLiteral("C%1").arg(m_keys.size());
        m_keys.push_back({key, masterTable, masterColumn});
    }
    m_relations.push_back({name, key, detailTable, detailColumn});
}

QString DataSetWriter::text() const {
    qsizetype rows = 0;
    for (const auto& t : m_tables)
        rows += static_cast<qsizetype>(t->rowCount()) * static_cast<qsizetype>(t->columns().size());
    QString all;
    all.reserve(4096 + rows * 40);
    write([&all](QString& piece) {
        all += piece;
        piece.clear();
        return true;
    });
    return all;
}

// The file in pieces: `flush` gets the text so far whenever it has grown past a block (and at
// the end) and empties it, so a table of any size never stands in memory as one text.
bool DataSetWriter::write(const std::function<bool(QString&)>& flush) const {
    using dataset::escape;
    constexpr qsizetype kBlock = 1 << 20;
    QString out;
    out.reserve(kBlock + 4096);
    const auto line = [&out](const QString& text) {
        out += text;
        out += QLatin1String("\r\n");
    };
    const QString name = escape(m_name);
    line(QStringLiteral("<?xml version=\"1.0\" standalone=\"yes\"?>"));
    line(QStringLiteral("<%1>").arg(name));
    line(QStringLiteral("<xs:schema id=\"%1\" xmlns=\"\" "
                        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                        "xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\">")
             .arg(name));
    line(QStringLiteral(
             "<xs:element name=\"%1\" msdata:IsDataSet=\"true\" msdata:UseCurrentLocale=\"true\">")
             .arg(name));
    line(QStringLiteral("<xs:complexType>"));
    line(QStringLiteral("<xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\">"));
    for (const auto& table : m_tables) {
        const ReportTable& t = *table;
        line(QStringLiteral("<xs:element name=\"%1\">").arg(escape(t.name())));
        line(QStringLiteral("<xs:complexType>"));
        line(QStringLiteral("<xs:sequence>"));
        for (const ReportColumn& c : t.columns())
            line(QStringLiteral("<xs:element name=\"%1\" msdata:Caption=\"%2\" type=\"%3\" "
                                "minOccurs=\"0\" />")
                     .arg(escape(c.name), escape(c.label()), dataset::schemaType(c.type)));
        line(QStringLiteral("</xs:sequence>"));
        line(QStringLiteral("</xs:complexType>"));
        line(QStringLiteral("</xs:element>"));
    }
    line(QStringLiteral("</xs:choice>"));
    line(QStringLiteral("</xs:complexType>"));
    for (const UniqueKey& k : m_keys) {
        line(QStringLiteral("<xs:unique name=\"%1\">").arg(escape(k.name)));
        line(QStringLiteral("<xs:selector xpath=\".//%1\" />").arg(escape(k.table)));
        line(QStringLiteral("<xs:field xpath=\"%1\" />").arg(escape(k.column)));
        line(QStringLiteral("</xs:unique>"));
    }
    for (const Relation& r : m_relations) {
        line(QStringLiteral("<xs:keyref name=\"%1\" refer=\"%2\">")
                 .arg(escape(r.name), escape(r.key)));
        line(QStringLiteral("<xs:selector xpath=\".//%1\" />").arg(escape(r.table)));
        line(QStringLiteral("<xs:field xpath=\"%1\" />").arg(escape(r.column)));
        line(QStringLiteral("</xs:keyref>"));
    }
    line(QStringLiteral("</xs:element>"));
    line(QStringLiteral("</xs:schema>"));
    for (const auto& rows : m_tables) {
        const ReportTable& t = *rows;
        const QString table = escape(t.name());
        std::vector<QString> columnNames;
        for (const ReportColumn& c : t.columns())
            columnNames.push_back(escape(c.name));
        for (int r = 0; r < t.rowCount(); ++r) {
            out += QLatin1Char('<');
            out += table;
            out += QLatin1String(">\r\n");
            for (std::size_t c = 0; c < columnNames.size(); ++c) {
                const ColumnType type = t.columns()[c].type;
                const QVariant& v = t.value(r, static_cast<int>(c));
                const QString value = escape(dataset::formatValue(v, type));
                if (type == ColumnType::Picture && value.isEmpty())
                    continue;
                out += QLatin1Char('<');
                out += columnNames[c];
                out += QLatin1Char('>');
                out += value;
                out += QLatin1String("</");
                out += columnNames[c];
                out += QLatin1String(">\r\n");
            }
            out += QLatin1String("</") + table + QLatin1String(">\r\n");
            if (out.size() >= kBlock && !flush(out))
                return false;
        }
    }
    line(QStringLiteral("</%1>").arg(name));
    return flush(out);
}

bool DataSetWriter::saveToFile(const QString& path) {
    m_lastError.clear();
    QSaveFile file(path);
    const auto writePiece = [&file](QString& piece) {
        const QByteArray bytes = piece.toUtf8();
        piece.clear();
        return file.write(bytes) == bytes.size();
    };
    if (!file.open(QIODevice::WriteOnly) || !write(writePiece) || !file.commit()) {
        m_lastError = QStringLiteral("Při ukládání souboru %1 došlo k chybě. %2")
                          .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace orvento::output
