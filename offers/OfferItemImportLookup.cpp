#include "offers/OfferItemImportLookup.h"

#include "core/Database.h"

#include <QSqlQuery>

namespace orvento::offers {

std::optional<CatalogueKeyLookup> CatalogueKeyLookup::load(core::Database& agenda,
                                                           ItemImportKey key) {
    // The column comes from the five the dialog offers, never from what the person typed.
    const QString column = itemimport::keyColumnName(key);
    QSqlQuery q =
        agenda.select(QStringLiteral("SELECT ID, %1 FROM Zasoby ORDER BY ID").arg(column));
    if (!q.isActive())
        return std::nullopt;
    CatalogueKeyLookup lookup;
    while (q.next()) {
        const QString value = q.value(1).toString().trimmed();
        if (!value.isEmpty())
            lookup.m_index.add(value, q.value(0).toLongLong());
    }
    return lookup;
}

std::optional<core::FoldedKeyIndex::Hit> CatalogueKeyLookup::find(const QString& key) const {
    const QString trimmed = key.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return m_index.find(trimmed);
}

} // namespace orvento::offers
