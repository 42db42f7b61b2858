#pragma once

#include "core/FoldedKeyIndex.h"
#include "offers/OfferItemImportSettings.h"

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
}

namespace orvento::offers {

// One catalogue column read once: every item's ID by its value, trimmed and compared in any
// letter case, with how many items share the value. The column's own index compares exactly,
// so a statement per key could not use it for such a look-up anyway.
class CatalogueKeyLookup {
public:
    // Nothing when the catalogue cannot be read.
    static std::optional<CatalogueKeyLookup> load(core::Database& agenda, ItemImportKey key);

    // The items whose value equals the key, trimmed and in any letter case; an empty key finds
    // nothing.
    std::optional<core::FoldedKeyIndex::Hit> find(const QString& key) const;

private:
    core::FoldedKeyIndex m_index;
};

} // namespace orvento::offers
