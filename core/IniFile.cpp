#include "core/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

namespace orvento::core {

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return fromText(QString::fromUtf8(file.readAll()));
}

IniFile IniFile::fromText(const QString& content) {
    IniFile ini;
    QString section;
    for (const QString& raw : content.split(QLatin1Char('\n'))) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        Line entry{section, QString(), line};
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
            entry.section = section;
        } else if (!trimmed.startsWith(QLatin1Char(';')) && trimmed.contains(QLatin1Char('='))) {
            entry.key = trimmed.left(trimmed.indexOf(QLatin1Char('='))).trimmed();
        }
        ini.m_lines.push_back(entry);
    }
    while (!ini.m_lines.empty() && ini.m_lines.back().raw.trimmed().isEmpty())
        ini.m_lines.pop_back();
    return ini;
}

int IniFile::find(const QString& section, const QString& key) const {
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const Line& l = m_lines[static_cast<size_t>(i)];
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0 &&
            l.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    const int i = find(section, key);
    if (i < 0)
        return fallback;
    const QString& raw = m_lines[static_cast<size_t>(i)].raw;
    return raw.mid(raw.indexOf(QLatin1Char('=')) + 1).trimmed();
}

bool IniFile::boolValue(const QString& section, const QString& key, bool fallback) const {
    const QString text = value(section, key);
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return fallback;
    return number != 0.0;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString raw = key + QLatin1Char('=') + value;
    const int i = find(section, key);
    if (i >= 0) {
        m_lines[static_cast<size_t>(i)].raw = raw;
        return;
    }
    // Append after the last line of the section, or open the section at the end.
    int last = -1;
    for (int j = 0; j < static_cast<int>(m_lines.size()); ++j) {
        if (m_lines[static_cast<size_t>(j)].section.compare(section, Qt::CaseInsensitive) == 0)
            last = j;
    }
    if (last < 0) {
        if (!m_lines.empty())
            m_lines.push_back({m_lines.back().section, QString(), QString()});
        m_lines.push_back({section, QString(), QLatin1Char('[') + section + QLatin1Char(']')});
        m_lines.push_back({section, key, raw});
        return;
    }
    // Keep blank lines that close a section after the new key.
    while (last > 0 && m_lines[static_cast<size_t>(last)].raw.trimmed().isEmpty() &&
           m_lines[static_cast<size_t>(last)].key.isEmpty())
        --last;
    m_lines.insert(m_lines.begin() + last + 1, Line{section, key, raw});
}

void IniFile::setBool(const QString& section, const QString& key, bool value) {
    setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString IniFile::toText() const {
    QString text;
    for (const Line& l : m_lines)
        text += l.raw + QLatin1Char('\n');
    return text;
}

bool IniFile::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = toText().toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace orvento::core
