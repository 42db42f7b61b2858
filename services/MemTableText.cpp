#include "services/MemTableText.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <array>
#include <cmath>
#include <utility>

namespace orvento::services {

namespace {

const QString kVersionTag = QStringLiteral("@@FILE VERSION@@");
const QString kVersion = QStringLiteral("251");
const QString kDefStart = QStringLiteral("@@TABLEDEF START@@");
const QString kDefEnd = QStringLiteral("@@TABLEDEF END@@");
const QString kLineEnd = QStringLiteral("\r\n");
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
const QString kDateTimeFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");

const std::array<std::pair<MemFieldType, const char*>, 7> kTypeNames = {{
    {MemFieldType::String, "String"},
    {MemFieldType::Memo, "Memo"},
    {MemFieldType::Integer, "Integer"},
    {MemFieldType::Float, "Float"},
    {MemFieldType::Boolean, "Boolean"},
    {MemFieldType::Date, "Date"},
    {MemFieldType::DateTime, "DateTime"},
}};

QString typeName(MemFieldType type) {
    for (const auto& [t, name] : kTypeNames)
        if (t == type)
            return QString::fromLatin1(name);
    return QStringLiteral("String");
}

std::optional<MemFieldType> typeFromName(const QString& name) {
    for (const auto& [t, n] : kTypeNames)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return t;
    return std::nullopt;
}

QString quoted(const QString& value) {
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

// Texts must not break the line structure: NUL, LF, CR and the escape character itself are
// written as %0, %n, %c and %%.
QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'%':
            out += QStringLiteral("%%");
            break;
        case u'\0':
            out += QStringLiteral("%0");
            break;
        case u'\n':
            out += QStringLiteral("%n");
            break;
        case u'\r':
            out += QStringLiteral("%c");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[i + 1];
        if (next == QLatin1Char('%'))
            out += QLatin1Char('%');
        else if (next == QLatin1Char('0'))
            out += QChar(u'\0');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('c'))
            out += QLatin1Char('\r');
        else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QString joined(const QStringList& values) {
    return values.join(QLatin1Char(',')) + kLineEnd;
}

QString formatDateTime(const QDateTime& value) {
    return value.time() == QTime(0, 0) ? value.date().toString(kDateFormat)
                                       : value.toString(kDateTimeFormat);
}

// A value as written, or nothing for NULL.
std::optional<QString> formatValue(const QVariant& value, MemFieldType type) {
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (type) {
    case MemFieldType::String:
    case MemFieldType::Memo:
        return escaped(value.toString());
    case MemFieldType::Integer:
        return QString::number(value.toLongLong());
    case MemFieldType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case MemFieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case MemFieldType::Date:
        return value.toDate().toString(kDateFormat);
    case MemFieldType::DateTime:
        return formatDateTime(value.toDateTime());
    }
    return std::nullopt;
}

// A value read back; nothing when it does not convert. NULL comes in as an invalid QVariant.
std::optional<QVariant> parseValue(const std::optional<QString>& text, MemFieldType type) {
    if (!text)
        return QVariant();
    bool ok = false;
    switch (type) {
    case MemFieldType::String:
    case MemFieldType::Memo:
        return QVariant(unescaped(*text));
    case MemFieldType::Integer: {
        const qlonglong n = text->trimmed().toLongLong(&ok);
        return ok ? std::optional<QVariant>(n) : std::nullopt;
    }
    case MemFieldType::Float: {
        // A decimal comma is accepted too, whatever wrote it.
        QString t = text->trimmed();
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = t.toDouble(&ok);
        return ok && std::isfinite(d) ? std::optional<QVariant>(d) : std::nullopt;
    }
    case MemFieldType::Boolean:
        if (text->compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (text->compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
            return QVariant(false);
        return std::nullopt;
    case MemFieldType::Date: {
        const QDate d = QDate::fromString(text->trimmed(), kDateFormat);
        return d.isValid() ? std::optional<QVariant>(d) : std::nullopt;
    }
    case MemFieldType::DateTime: {
        const QString t = text->trimmed();
        QDateTime dt = QDateTime::fromString(t, kDateTimeFormat);
        if (!dt.isValid())
            dt = QDate::fromString(t, kDateFormat).startOfDay();
        return dt.isValid() ? std::optional<QVariant>(dt) : std::nullopt;
    }
    }
    return std::nullopt;
}

// One line split into its values: a quoted value (quotes doubled inside), or nothing for an
// empty place (NULL). Bare words stand unquoted only inside a field definition. Nothing at all
// when the line is not in this form.
std::optional<std::vector<std::optional<QString>>> splitLine(const QString& line,
                                                             bool bareWords = false) {
    std::vector<std::optional<QString>> values;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        if (i < n && line[i] == QLatin1Char('"')) {
            QString value;
            ++i;
            for (;;) {
                if (i >= n)
                    return std::nullopt; // unterminated
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += line[i++];
            }
            values.emplace_back(std::move(value));
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            const QString bare = line.mid(i, comma < 0 ? -1 : comma - i);
            if (!bare.isEmpty() && !bareWords)
                return std::nullopt;
            values.emplace_back(bare.isEmpty() ? std::nullopt : std::optional<QString>(bare));
            i = comma < 0 ? n : comma;
        }
        if (i >= n)
            return values;
        if (line[i] != QLatin1Char(','))
            return std::nullopt;
        ++i;
    }
}

QString definitionOf(const MemField& f) {
    QString def = QStringLiteral("%1=%2,%3,%4,%5,%6")
                      .arg(f.name, typeName(f.type), QString::number(f.size), quoted(f.displayName),
                           quoted(f.editMask), QString::number(f.displayWidth));
    if (f.required)
        def += QStringLiteral(",REQ");
    if (f.readOnly)
        def += QStringLiteral(",RO");
    def += QStringLiteral(",Data,") + quoted(f.defaultExpression);
    return def;
}

std::optional<MemField> parseDefinition(const QString& def) {
    const qsizetype eq = def.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    MemField f;
    f.name = def.left(eq);
    const auto parts = splitLine(def.mid(eq + 1), true);
    if (!parts || parts->size() < 5)
        return std::nullopt;
    const auto part = [&](size_t i) {
        return (*parts)[i].value_or(QString());
    };
    const auto type = typeFromName(part(0));
    bool sizeOk = false;
    bool widthOk = false;
    if (!type)
        return std::nullopt;
    f.type = *type;
    f.size = part(1).toInt(&sizeOk);
    f.displayName = part(2);
    f.editMask = part(3);
    f.displayWidth = part(4).toInt(&widthOk);
    if (!sizeOk || !widthOk)
        return std::nullopt;
    for (size_t i = 5; i < parts->size(); ++i) {
        const QString flag = part(i);
        if (flag == QLatin1String("REQ"))
            f.required = true;
        else if (flag == QLatin1String("RO"))
            f.readOnly = true;
        else if (flag == QLatin1String("Data") && i + 1 < parts->size())
            f.defaultExpression = part(++i);
    }
    return f;
}

// The value of a line that holds exactly one quoted value.
std::optional<QString> singleValue(const QString& line) {
    const auto values = splitLine(line);
    if (!values || values->size() != 1 || !values->front())
        return std::nullopt;
    return values->front();
}

} // namespace

int MemTable::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void MemTable::addField(const QString& name, MemFieldType type, int size) {
    MemField f;
    f.name = name;
    f.type = type;
    f.size = size;
    fields.push_back(std::move(f));
    for (auto& row : rows)
        row.resize(fields.size());
}

std::vector<QVariant>& MemTable::appendRow() {
    rows.emplace_back(fields.size());
    return rows.back();
}

QString writeMemTable(const MemTable& table, bool withDefinitions) {
    QString text = joined({quoted(kVersionTag), quoted(kVersion)});
    if (withDefinitions) {
        text += quoted(kDefStart) + kLineEnd;
        for (const MemField& f : table.fields)
            text += quoted(definitionOf(f)) + kLineEnd;
        text += quoted(kDefEnd) + kLineEnd;
    }
    QStringList header;
    for (const MemField& f : table.fields)
        header << quoted(escaped(f.shownName()));
    text += joined(header);
    for (const auto& row : table.rows) {
        QStringList values;
        for (size_t i = 0; i < table.fields.size(); ++i) {
            const QVariant value = i < row.size() ? row[i] : QVariant();
            const auto written = formatValue(value, table.fields[i].type);
            values << (written ? quoted(*written) : QString());
        }
        text += joined(values);
    }
    return text;
}

std::optional<MemTable> readMemTable(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    // The last line ends with CR LF too; an empty line before it is a row of NULLs.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    qsizetype at = 0;
    // The version line is optional, so a bare header-and-rows text reads too.
    if (at < lines.size() && lines[at].startsWith(quoted(kVersionTag)))
        ++at;
    MemTable table;
    bool defined = false;
    if (at < lines.size() && singleValue(lines[at]) == kDefStart) {
        ++at;
        for (;; ++at) {
            if (at >= lines.size())
                return std::nullopt;
            const auto def = singleValue(lines[at]);
            if (!def)
                return std::nullopt;
            if (*def == kDefEnd)
                break;
            const auto field = parseDefinition(*def);
            if (!field)
                return std::nullopt;
            table.fields.push_back(*field);
        }
        ++at;
        defined = true;
    }
    if (at >= lines.size())
        return std::nullopt;
    const auto header = splitLine(lines[at++]);
    if (!header || header->empty())
        return std::nullopt;
    if (defined) {
        if (header->size() != table.fields.size())
            return std::nullopt;
    } else {
        for (const auto& name : *header) {
            if (!name || name->isEmpty())
                return std::nullopt;
            table.addField(unescaped(*name), MemFieldType::String);
        }
    }
    for (; at < lines.size(); ++at) {
        const auto values = splitLine(lines[at]);
        if (!values || values->size() != table.fields.size())
            return std::nullopt;
        std::vector<QVariant> row;
        row.reserve(values->size());
        for (size_t i = 0; i < values->size(); ++i) {
            const auto value = parseValue((*values)[i], table.fields[i].type);
            if (!value)
                return std::nullopt;
            row.push_back(*value);
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace orvento::services
