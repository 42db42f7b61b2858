#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace orvento::core {

// Finds records by a text key whatever its letter case, in every alphabet (keys are compared
// case-folded, so "ŽLUTÝ" meets "žlutý" and "ΟΔΌΣ" meets "οδός"). Keys are added in table order:
// the first ID of a key is the one found, and the count tells how many records share it.
class FoldedKeyIndex {
public:
    struct Hit {
        qint64 id = 0;
        int count = 0;
    };

    void reserve(qsizetype size) { m_entries.reserve(size); }
    // True when the key is new (so `id` is the one it finds).
    bool add(const QString& key, qint64 id);
    std::optional<Hit> find(const QString& key) const;
    qsizetype size() const { return m_entries.size(); }

    static QString fold(const QString& key) { return key.toCaseFolded(); }

private:
    QHash<QString, Hit> m_entries;
};

} // namespace orvento::core
