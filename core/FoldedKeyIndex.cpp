#include "core/FoldedKeyIndex.h"

namespace orvento::core {

bool FoldedKeyIndex::add(const QString& key, qint64 id) {
    Hit& hit = m_entries[fold(key)];
    const bool first = hit.count == 0;
    if (first)
        hit.id = id;
    ++hit.count;
    return first;
}

std::optional<FoldedKeyIndex::Hit> FoldedKeyIndex::find(const QString& key) const {
    const auto found = m_entries.constFind(fold(key));
    if (found == m_entries.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace orvento::core
