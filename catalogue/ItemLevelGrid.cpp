#include "catalogue/ItemLevelGrid.h"

#include "catalogue/pricing/FieldPrecision.h"

#include <algorithm>

namespace orvento::catalogue {

void ItemLevelGrid::load(const std::vector<GroupLevelRow>& groupRows, const LevelPriceItem& item) {
    m_rows.clear();
    for (const GroupLevelRow& g : groupRows)
        m_rows.push_back({g.Zkratka, g.values, levelRowPrice(g.Zkratka, g.values, item)});
}

void ItemLevelGrid::recompute(const LevelPriceItem& item) {
    for (ItemLevelRow& row : m_rows) {
        if (!row.fixed()) {
            row.price = computedLevelPrice(row.values, item);
            continue;
        }
        const bool gross = row.values.SDPH;
        row.price = pairFromLeading(gross ? row.price.gross : row.price.net, gross, item.SazbaDPH,
                                    row.values.Zaok);
    }
}

void ItemLevelGrid::merge(const std::vector<GroupLevelRow>& groupRows, const LevelPriceItem& item) {
    std::vector<ItemLevelRow> merged;
    for (const GroupLevelRow& g : groupRows) {
        ItemLevelRow row{g.Zkratka, g.values, {}};
        const auto kept = std::find_if(m_rows.begin(), m_rows.end(), [&](const ItemLevelRow& r) {
            return sameCode(r.Zkratka, g.Zkratka);
        });
        if (kept != m_rows.end())
            row.price = kept->price;
        merged.push_back(row);
    }
    m_rows = std::move(merged);
    recompute(item);
}

FixedSlots ItemLevelGrid::toSlots() const {
    FixedSlots result{};
    size_t next = 0;
    for (const ItemLevelRow& row : m_rows) {
        if (!row.fixed() || next >= result.size())
            continue;
        result[next++] = {row.Zkratka, row.price.net, row.price.gross, row.values.SDPH};
    }
    return result;
}

void ItemLevelGrid::setRowPrice(size_t index, const PricePair& price) {
    if (index < m_rows.size())
        m_rows[index].price = price;
}

LevelRowPriceEdit::LevelRowPriceEdit(const ItemLevelRow& row, double rate)
    : m_row(row)
    , m_rate(rate)
    , m_price(row.price) {}

void LevelRowPriceEdit::setFirst(double value) {
    if (!editable())
        return;
    m_price = pairFromLeading(toFieldPrecision(value, PriceFieldDecimals), firstIsGross(), m_rate,
                              m_row.values.Zaok);
}

QString LevelRowPriceEdit::typeCaption() const {
    return m_row.fixed() ? QStringLiteral("fixní")
                         : captionAt(levelTypeCaptions(), m_row.values.TypHodnoty);
}

QString LevelRowPriceEdit::valueCaption() const {
    return QString::number(m_row.values.Hodnota, 'f', 2) + QStringLiteral(" %");
}

QString LevelRowPriceEdit::baseCaption() const {
    return m_row.fixed() ? QStringLiteral("fixní")
                         : captionAt(levelBaseCaptions(), m_row.values.VychCena);
}

QString LevelRowPriceEdit::roundingCaption() const {
    return captionAt(roundingCaptions(), m_row.values.Zaok);
}

} // namespace orvento::catalogue
