#include "output/DataSetReader.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace orvento::output {

const ReportTable* DataSet::table(const QString& tableName) const {
    for (const ReportTable& t : tables)
        if (t.name() == tableName)
            return &t;
    return nullptr;
}

namespace {

const QString kMsData = QStringLiteral("urn:schemas-microsoft-com:xml-msdata");

ColumnType typeOfSchema(QStringView type) {
    if (type == u"xs:short")
        return ColumnType::SmallInt;
    if (type == u"xs:int")
        return ColumnType::Integer;
    if (type == u"xs:unsignedShort")
        return ColumnType::Word;
    if (type == u"xs:boolean")
        return ColumnType::Boolean;
    if (type == u"xs:double")
        return ColumnType::Double;
    if (type == u"xs:decimal")
        return ColumnType::Currency;
    if (type == u"xs:dateTime")
        return ColumnType::DateTime;
    if (type == u"xs:base64Binary")
        return ColumnType::Picture;
    return ColumnType::Memo;
}

QVariant parseValue(const QString& text, ColumnType type) {
    switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Word:
    case ColumnType::AutoInc:
    case ColumnType::LargeInt:
        return text.trimmed().toLongLong();
    case ColumnType::Boolean: {
        const QString t = text.trimmed();
        return t == QLatin1String("1") ||
               t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    case ColumnType::Double:
    case ColumnType::Currency:
        return text.trimmed().toDouble(); // C locale: '.' whatever the workstation's settings
    case ColumnType::Date:
    case ColumnType::DateTime: {
        const QString t = text.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1String("0001-01-01")))
            return QDateTime();
        QDateTime at = QDateTime::fromString(t, Qt::ISODate);
        if (!at.isValid())
            at = QDate::fromString(t.left(10), Qt::ISODate).startOfDay();
        return at;
    }
    case ColumnType::Time:
        return QTime::fromString(text.trimmed().mid(11), QStringLiteral("HH:mm:ss"));
    case ColumnType::Picture:
        return QByteArray::fromBase64(text.trimmed().toLatin1());
    case ColumnType::Text:
    case ColumnType::Memo:
        break;
    }
    return text;
}

QString tableOfSelector(const QString& xpath) {
    QString t = xpath;
    if (t.startsWith(QLatin1String(".//")))
        t = t.mid(3);
    return t;
}

class Parser {
public:
    explicit Parser(const QByteArray& content)
        : m_xml(content) {}

    std::optional<DataSet> run(QString* error) {
        if (!m_xml.readNextStartElement()) {
            fail(QStringLiteral("chybí kořenový prvek"));
        } else {
            m_set.name = m_xml.name().toString();
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"schema")
                    readSchema();
                else
                    readRow();
            }
        }
        if (m_xml.hasError() && m_error.isEmpty())
            fail(m_xml.errorString());
        if (!m_error.isEmpty()) {
            if (error)
                *error = m_error;
            return std::nullopt;
        }
        // A relation names its unique key; put the master's table and column in its place.
        for (DataSet::Relation& r : m_set.relations) {
            const auto key = m_keys.value(r.masterTable);
            r.masterTable = key.first;
            r.masterColumn = key.second;
        }
        return std::move(m_set);
    }

private:
    void fail(const QString& why) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1 (řádek %2)").arg(why).arg(m_xml.lineNumber());
    }

    // The schema: table and column definitions, unique keys, relations.
    void readSchema() {
        int depth = 1;
        QString pendingKey;
        bool inKeyref = false;
        DataSet::Relation relation;
        ReportTable* table = nullptr;
        while (depth > 0 && !m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                if (m_xml.name() == u"keyref" && inKeyref) {
                    m_set.relations.push_back(relation);
                    inKeyref = false;
                }
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            ++depth;
            const auto attrs = m_xml.attributes();
            const QStringView tag = m_xml.name();
            if (tag == u"element") {
                const QString name = attrs.value(QLatin1String("name")).toString();
                if (attrs.hasAttribute(kMsData, QLatin1String("IsDataSet")))
                    continue;
                if (attrs.hasAttribute(QLatin1String("type"))) {
                    if (!table) {
                        fail(QStringLiteral("sloupec %1 mimo tabulku").arg(name));
                        return;
                    }
                    table->column(name, typeOfSchema(attrs.value(QLatin1String("type"))), 0,
                                  attrs.value(kMsData, QLatin1String("Caption")).toString());
                } else {
                    m_set.tables.emplace_back(name);
                    table = &m_set.tables.back();
                }
            } else if (tag == u"unique") {
                pendingKey = attrs.value(QLatin1String("name")).toString();
                m_keys.insert(pendingKey, {});
            } else if (tag == u"keyref") {
                inKeyref = true;
                relation = {};
                relation.name = attrs.value(QLatin1String("name")).toString();
                relation.masterTable = attrs.value(QLatin1String("refer")).toString();
            } else if (tag == u"selector") {
                const QString t = tableOfSelector(attrs.value(QLatin1String("xpath")).toString());
                if (inKeyref)
                    relation.detailTable = t;
                else if (!pendingKey.isEmpty())
                    m_keys[pendingKey].first = t;
            } else if (tag == u"field") {
                const QString c = attrs.value(QLatin1String("xpath")).toString();
                if (inKeyref)
                    relation.detailColumn = c;
                else if (!pendingKey.isEmpty())
                    m_keys[pendingKey].second = c;
            }
        }
        for (int i = 0; i < static_cast<int>(m_set.tables.size()); ++i)
            m_tableIndex.insert(m_set.tables[static_cast<std::size_t>(i)].name(), i);
    }

    void readRow() {
        const int at = m_tableIndex.value(m_xml.name().toString(), -1);
        if (at < 0) {
            fail(QStringLiteral("neznámá tabulka %1").arg(m_xml.name().toString()));
            m_xml.skipCurrentElement();
            return;
        }
        ReportTable& table = m_set.tables[static_cast<std::size_t>(at)];
        const int row = table.appendRow();
        while (m_xml.readNextStartElement()) {
            const int column = table.columnIndex(m_xml.name().toString());
            const QString text = m_xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (column < 0)
                continue; // a column the schema does not declare is left out
            table.set(row, column,
                      parseValue(text, table.columns()[static_cast<std::size_t>(column)].type));
        }
    }

    QXmlStreamReader m_xml;
    DataSet m_set;
    QHash<QString, int> m_tableIndex;
    QHash<QString, std::pair<QString, QString>> m_keys;
    QString m_error;
};

} // namespace

std::optional<DataSet> readDataSetText(const QByteArray& content, QString* error) {
    return Parser(content).run(error);
}

std::optional<DataSet> readDataSet(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    auto set = readDataSetText(file.readAll(), &why);
    if (!set && error)
        *error = QStringLiteral("Soubor %1 není platný soubor s daty: %2").arg(path, why);
    return set;
}

} // namespace orvento::output
