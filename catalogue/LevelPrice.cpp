#include "catalogue/LevelPrice.h"

#include "catalogue/pricing/PercentAdjustment.h"

namespace orvento::catalogue {

LevelPriceItem LevelPriceItem::of(const ItemRecord& item) {
    LevelPriceItem in;
    in.SDPH = item.price.SDPH;
    in.SazbaDPH = item.price.SazbaDPH;
    in.leading = item.price.SDPH ? item.price.PrCenaSDPH : item.price.PrCenaBDPH;
    in.NakCena = item.price.NakCena;
    in.fixedSlots = item.fixedSlots;
    return in;
}

int fixedSlotOf(const QString& code, const FixedSlots& fixedSlots) {
    for (size_t i = 0; i < fixedSlots.size(); ++i) {
        if (fixedSlots[i].CenHlad.isEmpty())
            return 0;
        if (sameCode(fixedSlots[i].CenHlad, code))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

PricePair computedLevelPrice(const LevelParameters& level, const LevelPriceItem& item) {
    const bool fromPurchase = level.VychCena == LevelBase::Purchase;
    const double base = fromPurchase ? item.NakCena : item.leading;
    const bool baseIsGross = !fromPurchase && item.SDPH;
    return levelPricePair(level.TypHodnoty, base, baseIsGross, level.Hodnota, item.SazbaDPH,
                          level.Zaok);
}

PricePair levelRowPrice(const QString& code, const LevelParameters& level,
                        const LevelPriceItem& item) {
    if (level.Prepocitat)
        return computedLevelPrice(level, item);
    const int slot = fixedSlotOf(code, item.fixedSlots);
    if (slot == 0)
        return {};
    const FixedSlot& s = item.fixedSlots[static_cast<size_t>(slot - 1)];
    return {s.PrCenaBDPH, s.PrCenaSDPH};
}

std::optional<PricePair> levelPrice(const std::vector<GroupLevelRow>& groupRows,
                                    const QString& levelCode, const LevelPriceItem& item) {
    for (const GroupLevelRow& row : groupRows)
        if (sameCode(row.Zkratka, levelCode))
            return levelRowPrice(row.Zkratka, row.values, item);
    return std::nullopt;
}

std::optional<PricePair> levelPrice(core::Database& db, qint64 groupId, const QString& levelCode,
                                    const LevelPriceItem& item) {
    if (groupId <= 0)
        return std::nullopt;
    const auto rows = loadGroupLevels(db, groupId);
    if (!rows)
        return std::nullopt;
    return levelPrice(*rows, levelCode, item);
}

} // namespace orvento::catalogue
