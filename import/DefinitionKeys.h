#pragma once

#include "services/ProfileStore.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::import {

// The keys of one definition text, each line a key, "=" and its value; a key not there reads as
// empty. Every kind reads its text through this one reader.
class DefinitionKeyReader {
public:
    explicit DefinitionKeyReader(const QString& text) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            const auto at = line.indexOf(QLatin1Char('='));
            if (at <= 0)
                continue;
            const QString key = line.left(at);
            // The first line of a key wins, as a lookup by name finds it.
            if (!m_values.contains(key))
                m_values.insert(key, line.mid(at + 1));
        }
    }

    QString text(const QString& key) const { return m_values.value(key); }
    QString text(const char* key) const { return text(QString::fromLatin1(key)); }
    // "True"/"False" in any letter case or a number (0 false); nothing for anything else.
    std::optional<bool> readFlag(const QString& key) const {
        return services::profile::parseBool(text(key));
    }
    bool flag(const QString& key) const { return readFlag(key).value_or(false); }
    bool flag(const char* key) const { return flag(QString::fromLatin1(key)); }
    qint64 integer(const QString& key) const {
        bool ok = false;
        const qint64 value = text(key).trimmed().toLongLong(&ok);
        return ok ? value : 0;
    }
    qint64 integer(const char* key) const { return integer(QString::fromLatin1(key)); }
    // A choice between two: 1 picks the second, anything else the first.
    template <typename E> E choice(const QString& key) const {
        return integer(key) == 1 ? static_cast<E>(1) : static_cast<E>(0);
    }
    template <typename E> E choice(const char* key) const {
        return choice<E>(QString::fromLatin1(key));
    }

private:
    QHash<QString, QString> m_values;
};

} // namespace orvento::import
