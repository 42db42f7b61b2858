#pragma once

#include "core/sources/ImportSource.h"
#include "import/ImportDefinition.h"
#include "import/PreparedItems.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace orvento::import {

// Turns source rows into items as a price-list definition maps them: each checked field from its
// column (texts as text, the VAT rate and prices as numbers) or its fixed value, texts cut to the
// item's widths, the sale price paired through the VAT conversion, and the settings for imported
// items on new ones always and on found ones unless they are for new ones only.
class PriceRowConversion {
public:
    // The source columns of the mapped fields, found by name (letter case ignored); nothing with
    // the whole protocol line in `error` when one is missing.
    static std::optional<PriceRowConversion> make(const ImportDefinition& definition,
                                                  const QStringList& columns, QString& error);

    // Fills `prepared.item` (its ID already set: kNewItem for a new item). `vatRate` is the rate
    // the sale price is converted with until a mapped rate replaces it. False with the protocol
    // line in `error` when a number column holds no number.
    bool convert(const core::sources::Row& row, int rowNumber, double vatRate,
                 PreparedItem& prepared, QString& error) const;

    // The columns an update of a found item writes: the checked fields and, unless they are for
    // new items only, the chosen settings.
    std::vector<ItemColumn> updatedColumns() const;

private:
    explicit PriceRowConversion(const PriceListSettings& settings)
        : m_settings(settings) {}

    PriceListSettings m_settings;
    // The source column of each field taken from the source, by field.
    std::array<std::optional<qsizetype>, kPriceListFieldCount> m_columnOf{};
};

// The source column named `name` (letter case ignored).
std::optional<qsizetype> columnIndex(const QStringList& columns, const QString& name);

} // namespace orvento::import
