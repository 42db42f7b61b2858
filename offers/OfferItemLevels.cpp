#include "offers/OfferItemLevels.h"

#include "catalogue/LevelPrice.h"
#include "catalogue/PriceLevelRecords.h"

namespace orvento::offers {

QString basicLevelCaption() {
    return QStringLiteral("<základní prodejní>");
}

QString ItemLevelChoice::caption() const {
    return code.isEmpty() ? basicLevelCaption() : code;
}

std::vector<ItemLevelChoice> levelChoices(const catalogue::ItemRecord& row,
                                          const catalogue::PriceGroupData& groups) {
    std::vector<ItemLevelChoice> levels;
    levels.push_back({QString(),
                      {row.price.PrCenaBDPH, row.price.PrCenaSDPH},
                      row.price.Zaok,
                      row.price.SDPH,
                      true});
    const catalogue::PriceGroup* group = groups.groupOfCode(row.CenSkupina);
    if (!group)
        return levels;
    const catalogue::LevelPriceItem input = catalogue::LevelPriceItem::of(row);
    for (const catalogue::GroupLevelRow& level : groups.rowsOf(group->ID))
        levels.push_back({level.Zkratka,
                          catalogue::levelRowPrice(level.Zkratka, level.values, input),
                          level.values.Zaok, level.values.SDPH, true});
    return levels;
}

std::optional<std::size_t> findLevel(const std::vector<ItemLevelChoice>& levels,
                                     const QString& code) {
    for (std::size_t i = 0; i < levels.size(); ++i)
        if (code.isEmpty() ? levels[i].code.isEmpty() : catalogue::sameCode(levels[i].code, code))
            return i;
    return std::nullopt;
}

} // namespace orvento::offers
