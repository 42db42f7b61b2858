#include "offers/OfferItemCard.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "catalogue/pricing/PercentAdjustment.h"
#include "catalogue/pricing/Rounding.h"
#include "core/AgendaSettings.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"

#include <algorithm>

namespace orvento::offers {

using catalogue::PriceFieldDecimals;
using catalogue::toFieldPrecision;

namespace {

double price4(double value) {
    return toFieldPrecision(value, PriceFieldDecimals);
}
double held2(double value) {
    return toFieldPrecision(value);
}

// Rates are shown and matched as the texts the person sees.
bool sameRate(double a, double b) {
    return core::formatRate(a) == core::formatRate(b);
}

} // namespace

QString effectiveLevel(const OfferWorkingCopy& offer) {
    if (offer.header().CenHladAdr)
        return offer.addressPriceLevel.value_or(QString());
    return offer.header().CenHladina;
}

OfferRates currentAgendaRates() {
    const core::AgendaSettings& settings = core::programState().settings;
    return {settings.sazbaDphZakladni, settings.sazbaDphSnizena, settings.zaokrouhlitCelkem};
}

OfferItemCard::OfferItemCard(core::Database& agenda, core::UserInteraction& ui,
                             OfferWorkingCopy& offer, const OfferRates& current)
    : m_db(agenda)
    , m_ui(ui)
    , m_offer(offer)
    , m_current(current) {
    reset();
}

void OfferItemCard::reset() {
    m_item = OfferItem();
    m_item.PocetMJ = 1.0;
    m_pictureName.clear();
    buildRates(std::nullopt);
    m_rateIndex = 1;
    m_item.SazbaDPH = m_rates[1];
    m_levels = {ItemLevelChoice{}};
    m_levelIndex = 0;
    m_position = 1;
}

void OfferItemCard::buildRates(std::optional<double> ownRate) {
    const OfferRates offerRates = m_offer.rates();
    m_rates = {0.0, offerRates.basic, offerRates.reduced};
    const auto add = [this](double rate) {
        for (const double listed : m_rates)
            if (sameRate(listed, rate))
                return;
        m_rates.push_back(rate);
    };
    if (!sameRate(m_current.basic, offerRates.basic))
        add(m_current.basic);
    if (!sameRate(m_current.reduced, offerRates.reduced))
        add(m_current.reduced);
    if (ownRate)
        add(*ownRate);
}

void OfferItemCard::selectRateOf(double rate) {
    m_rateIndex = 0;
    for (std::size_t i = 0; i < m_rates.size(); ++i)
        if (sameRate(m_rates[i], rate)) {
            m_rateIndex = static_cast<int>(i);
            break;
        }
    m_item.SazbaDPH = m_rates[static_cast<std::size_t>(m_rateIndex)];
}

void OfferItemCard::openNew(std::optional<std::size_t> current) {
    reset();
    m_mode = OfferItemCardMode::New;
    m_position = m_offer.proposedPosition(current);
    computeFromSalePrice(m_item);
}

void OfferItemCard::openFromCatalogue(const catalogue::ItemRecord& row,
                                      std::optional<std::size_t> current) {
    openFromCatalogue(
        row, catalogue::PriceGroupData::load(m_db).value_or(catalogue::PriceGroupData{}), current);
}

void OfferItemCard::openFromCatalogue(const catalogue::ItemRecord& row,
                                      const catalogue::PriceGroupData& groups,
                                      std::optional<std::size_t> current) {
    reset();
    m_mode = OfferItemCardMode::NewFromCatalogue;
    m_position = m_offer.proposedPosition(current);
    m_item.Popis = row.Popis.left(OfferItemWidth::Popis);
    m_item.Katalog = row.Katalog.left(OfferItemWidth::Katalog);
    m_item.BarCode = row.BarCode.left(OfferItemWidth::BarCode);
    m_item.Poznamka = row.Poznamka;
    m_item.CisloSkladu = row.Sklad;
    m_item.CisloSkup = row.Skupina;
    m_item.CisloKarty = row.ID;
    m_item.NakCena = price4(row.price.NakCena);
    m_pictureName = row.Obrazek;
    buildRates(row.price.SazbaDPH);
    selectRateOf(row.price.SazbaDPH);
    m_item.MJ = row.TextMJ.left(OfferItemWidth::MJ);
    m_item.Nakladova = row.Nakladova;
    m_item.IgnorHr = row.Nakladova;
    m_item.PLU = row.PLU.left(OfferItemWidth::PLU);
    m_item.Zkratka = row.Zkratka.left(OfferItemWidth::Zkratka);
    m_item.Identif = row.Identif.left(OfferItemWidth::Identif);
    m_item.Zaok = row.price.Zaok;
    m_levels = levelChoices(row, groups);
    m_levelIndex = static_cast<int>(findLevel(m_levels, effectiveLevel(m_offer)).value_or(0));
    applyLevel();
}

bool OfferItemCard::openExisting(std::size_t index) {
    return openStored(index, OfferItemCardMode::Existing);
}

bool OfferItemCard::openCopy(std::size_t index) {
    return openStored(index, OfferItemCardMode::Copy);
}

bool OfferItemCard::openStored(std::size_t index, OfferItemCardMode mode) {
    if (index >= m_offer.items().size() || !m_offer.items()[index].isPriceItem())
        return false;
    reset();
    m_mode = mode;
    m_index = index;
    m_item = m_offer.items()[index];
    holdFieldPrecision(m_item);
    m_item.PocetMJ = std::max(m_item.PocetMJ, 0.0001);
    buildRates(m_item.SazbaDPH);
    selectRateOf(m_item.SazbaDPH);
    m_position = mode == OfferItemCardMode::Copy ? m_offer.proposedPosition(index) : m_item.Poradi;
    if (m_item.CisloKarty != 0)
        loadCatalogue(m_item.CisloKarty);
    computeFromSalePrice(m_item);
    return true;
}

void OfferItemCard::loadCatalogue(qint64 id) {
    std::optional<catalogue::ItemRecord> row;
    std::optional<catalogue::PriceGroupData> groups;
    {
        core::ProgressScope wait(
            m_ui, QStringLiteral("Načítám ceníkovou položku\nprosím čekejte..."), 0, false);
        row = catalogue::readItem(m_db, id);
        if (row)
            groups = catalogue::PriceGroupData::load(m_db);
    }
    if (row) {
        m_pictureName = row->Obrazek;
        m_levels = levelChoices(*row, groups.value_or(catalogue::PriceGroupData{}));
    }
    // The stored prices stay; a level the group no longer has is kept, marked as missing.
    if (const auto found = findLevel(m_levels, m_item.CenHladina)) {
        m_levelIndex = static_cast<int>(*found);
    } else {
        m_levels.push_back({m_item.CenHladina,
                            {m_item.ProdCena, m_item.ProdCena},
                            m_item.Zaok,
                            m_item.SDPH,
                            false});
        m_levelIndex = static_cast<int>(m_levels.size()) - 1;
    }
}

QString OfferItemCard::caption() const {
    QString text = QStringLiteral("Položka nabídky");
    if (fromCatalogue())
        text += QStringLiteral(" z ceníku");
    return text;
}

bool OfferItemCard::levelMissing() const {
    return !m_levels[static_cast<std::size_t>(m_levelIndex)].exists;
}

void OfferItemCard::fromPrice() {
    marginFromPrice(m_item);
    rabatFromPrice(m_item);
    computeFromSalePrice(m_item);
}

void OfferItemCard::selectRate(int index) {
    if (index < 0 || index >= static_cast<int>(m_rates.size()))
        return;
    m_rateIndex = index;
    m_item.SazbaDPH = m_rates[static_cast<std::size_t>(index)];
    fromPrice();
}

void OfferItemCard::selectLevel(int index) {
    if (index < 0 || index >= static_cast<int>(m_levels.size()))
        return;
    m_levelIndex = index;
    applyLevel();
}

void OfferItemCard::applyLevel() {
    const ItemLevelChoice& level = m_levels[static_cast<std::size_t>(m_levelIndex)];
    m_item.Zaok = level.Zaok;
    m_item.SDPH = level.SDPH;
    m_item.ProdCena = price4(level.salePrice());
    fromPrice();
}

void OfferItemCard::setNakCena(double value) {
    m_item.NakCena = price4(value);
    fromPrice();
}

void OfferItemCard::setProdCena(double value) {
    m_item.ProdCena = price4(value);
    fromPrice();
}

void OfferItemCard::setSleva(double value) {
    m_item.Sleva = held2(value);
    fromPrice();
}

void OfferItemCard::setPocetMJ(double value) {
    m_item.PocetMJ = std::max(price4(value), 0.0001);
    fromPrice();
}

void OfferItemCard::setSDPH(bool withVat) {
    m_item.SDPH = withVat;
    fromPrice();
}

void OfferItemCard::setZaok(int zaok) {
    m_item.Zaok = zaok;
    fromPrice();
}

void OfferItemCard::setMarze(double value) {
    m_item.Marze = held2(value);
    priceFromMargin(m_item);
    rabatFromPrice(m_item);
    computeFromSalePrice(m_item);
}

void OfferItemCard::setRabat(double value) {
    m_item.Rabat = held2(value);
    priceFromRabat(m_item);
    marginFromPrice(m_item);
    computeFromSalePrice(m_item);
}

void OfferItemCard::setProdCenaPo(double value) {
    m_item.ProdCenaPo = price4(value);
    computeFromPriceAfterDiscount(m_item);
}

void OfferItemCard::setNakladova(bool on) {
    m_item.Nakladova = on;
    if (on)
        m_item.IgnorHr = true;
}

std::optional<double> OfferItemCard::adjustmentStart(bool purchase) {
    // The calculator works at two decimals: a price that rounds to nothing there has no
    // percentage to compute from, whatever its further decimals.
    const double start = held2(purchase ? m_item.NakCena : m_item.ProdCena);
    if (start == 0.0) {
        m_ui.information(PriceAdjustment::zeroPriceMessage());
        return std::nullopt;
    }
    return start;
}

void OfferItemCard::applyAdjustedPrice(bool purchase, double price) {
    if (purchase)
        setNakCena(held2(price));
    else
        setProdCena(held2(price));
}

bool OfferItemCard::confirm() {
    if (m_item.Popis.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit popis položky."));
        return false;
    }
    OfferItem item = confirmedItem();
    if (m_mode == OfferItemCardMode::Existing) {
        m_offer.replaceItem(m_index, item);
        const int target = std::clamp(m_position, 1, static_cast<int>(m_offer.items().size()));
        m_offer.moveItem(m_index, static_cast<std::size_t>(target - 1));
    } else {
        m_offer.insertItem(m_position, item);
    }
    m_offer.header().NabZaok = m_current.nabZaok;
    m_offer.recomputeTotals();
    m_offer.changed = true;
    return true;
}

OfferItem OfferItemCard::confirmedItem() const {
    // Every setter has computed what follows from its field; computing again from the sale price
    // would undo a typed price after discount.
    OfferItem item = m_item;
    item.Nadpisova = false;
    item.Textova = false;
    item.SazbaDPH = m_rates[static_cast<std::size_t>(m_rateIndex)];
    item.CenHladina = m_levels[static_cast<std::size_t>(m_levelIndex)].code;
    if (m_mode != OfferItemCardMode::Existing)
        item.LockID = -1;
    return item;
}

PriceAdjustment::PriceAdjustment(double start)
    : m_start(held2(start))
    , m_newPrice(m_start) {}

void PriceAdjustment::setPercent(double percent) {
    m_percent = held2(percent);
    m_newPrice = held2(catalogue::roundPrice(
        catalogue::applyValueType(catalogue::LevelValueType::Discount, m_start, m_percent), 2));
}

void PriceAdjustment::setNewPrice(double price) {
    m_newPrice = held2(price);
    m_percent = held2(catalogue::discountPercent(m_start, m_newPrice));
}

} // namespace orvento::offers
