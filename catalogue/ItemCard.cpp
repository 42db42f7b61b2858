#include "catalogue/ItemCard.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/RowBatch.h"
#include "core/UserInteraction.h"
#include "services/PurchasePriceDisplay.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::catalogue {

namespace {

// The availability letters in the order of their captions; the first is "<neuvedeno>".
const QString kAvailabilityLetters = QStringLiteral(" SONPX");

qint64 basicGroupOfSheet(core::Database& db, qint64 sheetId) {
    return db
        .scalar(QStringLiteral("SELECT ID FROM Skupiny WHERE (Sklad = :Sklad) AND (Zakladni = "
                               ":Zakladni) ORDER BY ID"),
                {{QStringLiteral("Sklad"), sheetId}, {QStringLiteral("Zakladni"), true}})
        .value_or(0)
        .toLongLong();
}

// A group that dictates its items' basic-price settings puts them onto the item.
void takeGroupSettings(ItemPriceFields& fields, const PriceGroup& group) {
    fields.Prepocitat = group.Prepocitat;
    fields.TypHodnoty = group.TypHodnoty;
    fields.Marze = group.Marze;
    fields.Rabat = group.Rabat;
    fields.SDPH = group.SDPH;
    fields.Zaok = group.Zaok;
}

} // namespace

std::optional<PriceGroupData> PriceGroupData::load(core::Database& db) {
    auto groups = readGroups(db);
    auto rows = loadGroupLevels(db, 0);
    if (!groups || !rows)
        return std::nullopt;
    return PriceGroupData{std::move(*groups), std::move(*rows)};
}

const PriceGroup* PriceGroupData::groupOfCode(const QString& code) const {
    if (code.isEmpty())
        return nullptr;
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&](const PriceGroup& g) { return sameCode(g.Zkratka, code); });
    return found == groups.end() ? nullptr : &*found;
}

std::vector<GroupLevelRow> PriceGroupData::rowsOf(qint64 groupId) const {
    std::vector<GroupLevelRow> result;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(result),
                 [groupId](const GroupLevelRow& r) { return r.IDCenSkup == groupId; });
    return result;
}

ItemCard::ItemCard(core::Database& agenda, core::UserInteraction& ui)
    : m_db(agenda)
    , m_ui(ui)
    , m_store(PictureStore::ofAgenda()) {}

QStringList ItemCard::availabilityCaptions() {
    return {QStringLiteral("<neuvedeno>"),       QStringLiteral("S - skladem"),
            QStringLiteral("O - na objednávku"), QStringLiteral("N - dočasně nedostupné"),
            QStringLiteral("P - doprodej"),      QStringLiteral("X - vyřazeno")};
}

void ItemCard::reset(qint64 sheetId, qint64 groupId) {
    m_item = ItemRecord{};
    m_item.Sklad = sheetId;
    m_item.Skupina = groupId;
    m_levels.clear();
    m_currentLevelRow = 0;
    m_profitCount = 1.0;
    m_editable = true;
    m_lock.release();
    m_store = PictureStore::ofAgenda();
    ItemPriceFields fields;
    fields.SazbaDPH = core::programState().settings.sazbaDphZakladni;
    m_pricing = ItemPricing(fields);
    fillRates(false);
}

void ItemCard::fillRates(bool warn) {
    const core::AgendaSettings& s = core::programState().settings;
    m_rates = {0.0, s.sazbaDphZakladni, s.sazbaDphSnizena};
    const double own = m_pricing.fields().SazbaDPH;
    if (std::find(m_rates.begin(), m_rates.end(), own) == m_rates.end()) {
        m_rates.push_back(own);
        if (warn)
            m_ui.warning(oddRateMessage());
    }
}

bool ItemCard::open(ItemCardMode mode, qint64 itemId, qint64 sheetId, qint64 groupId) {
    if (mode == ItemCardMode::Edit) {
        const services::RecordAccess access = services::openRecord(services::Module::Cenik, m_ui);
        if (access == services::RecordAccess::Denied)
            return false;
        m_mode = mode;
        reset(sheetId, groupId);
        m_editable = access == services::RecordAccess::Editable;
    } else {
        if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Create, m_ui))
            return false;
        m_mode = mode;
        reset(sheetId, groupId);
    }
    if (mode == ItemCardMode::New)
        return true;

    // The lock before the record: another workstation that held it may commit while this one
    // waits for it, and the card must edit what it committed.
    if (mode == ItemCardMode::Edit && m_editable)
        m_editable = services::RecordLock::take(QStringLiteral("Zasoby"), itemId, m_ui, m_lock) ==
                     services::RecordLock::State::Held;
    const std::optional<ItemRecord> stored = [&] {
        const core::ProgressScope wait(m_ui, QStringLiteral("Načítám položku\nprosím čekejte..."),
                                       0, false);
        return readItem(m_db, itemId);
    }();
    if (!stored) {
        m_lock.release();
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    m_item = *stored;
    if (mode == ItemCardMode::Copy) {
        m_item.ID = -1;
        m_item.Sklad = sheetId;
        m_item.Skupina = groupId;
    }
    const auto availability = kAvailabilityLetters.indexOf(m_item.Dostupnost.toUpper());
    if (m_item.Dostupnost.size() != 1 || availability <= 0)
        m_item.Dostupnost.clear();
    m_pricing = ItemPricing(m_item.price);
    fillRates(true);
    loadGroup();
    if (m_item.Chyba)
        recomputeAll();
    return true;
}

void ItemCard::loadGroup() {
    m_levels.clear();
    const auto group = groupByCode(m_db, m_item.CenSkupina);
    if (!group) {
        m_item.CenSkupina.clear();
        return;
    }
    if (const auto rows = loadGroupLevels(m_db, group->ID))
        m_levels.load(*rows, LevelPriceItem::of(m_item));
}

LevelPriceItem ItemCard::levelInput() const {
    LevelPriceItem in;
    const ItemPriceFields& f = m_pricing.fields();
    in.SDPH = f.SDPH;
    in.SazbaDPH = f.SazbaDPH;
    in.leading = m_pricing.leadingPrice();
    in.NakCena = f.NakCena;
    in.fixedSlots = m_item.fixedSlots;
    return in;
}

void ItemCard::pricesChanged() {
    m_levels.recompute(levelInput());
}

double ItemCard::derivedPrice() const {
    const ItemPriceFields& f = m_pricing.fields();
    return f.SDPH ? f.PrCenaBDPH : f.PrCenaSDPH;
}

void ItemCard::setNakCena(double value) {
    m_pricing.setNakCena(value);
    pricesChanged();
}
void ItemCard::setMarze(double value) {
    m_pricing.setMarze(value);
    pricesChanged();
}
void ItemCard::setRabat(double value) {
    m_pricing.setRabat(value);
    pricesChanged();
}
void ItemCard::setTypHodnoty(int value) {
    m_pricing.setTypHodnoty(value);
    pricesChanged();
}
void ItemCard::setPrepocitat(bool value) {
    m_pricing.setPrepocitat(value);
    pricesChanged();
}
void ItemCard::setLeadingPrice(double value) {
    m_pricing.setLeadingPrice(value);
    pricesChanged();
}
void ItemCard::setZaok(int value) {
    m_pricing.setZaok(value);
    pricesChanged();
}
void ItemCard::setSDPH(bool value) {
    m_pricing.setSDPH(value);
    pricesChanged();
}
void ItemCard::recomputeAll() {
    m_pricing.recompute();
    pricesChanged();
}

int ItemCard::rateIndex() const {
    const auto at = std::find(m_rates.begin(), m_rates.end(), m_pricing.fields().SazbaDPH);
    return at == m_rates.end() ? 0 : static_cast<int>(at - m_rates.begin());
}

void ItemCard::selectRate(int index) {
    if (index < 0 || index >= static_cast<int>(m_rates.size()))
        return;
    m_pricing.setSazbaDPH(m_rates[static_cast<size_t>(index)]);
    pricesChanged();
}

int ItemCard::availabilityIndex() const {
    if (m_item.Dostupnost.size() != 1)
        return 0;
    return std::max(0, static_cast<int>(kAvailabilityLetters.indexOf(m_item.Dostupnost.toUpper())));
}

void ItemCard::setAvailabilityIndex(int index) {
    m_item.Dostupnost = index > 0 && index < kAvailabilityLetters.size()
                            ? QString(kAvailabilityLetters.at(index))
                            : QString();
}

qint64 ItemCard::groupIdToLocate() const {
    return groupIdOfCode(m_db, m_item.CenSkupina);
}

void ItemCard::assignGroup(const PriceGroup& group) {
    m_item.CenSkupina = group.Zkratka;
    if (!group.Vlastni) {
        m_pricing.setSDPH(group.SDPH);
        m_pricing.setZaok(group.Zaok);
        m_pricing.setTypHodnoty(group.TypHodnoty);
        m_pricing.setMarze(group.Marze);
        m_pricing.setRabat(group.Rabat);
        m_pricing.setPrepocitat(group.Prepocitat);
    }
    const auto rows = loadGroupLevels(m_db, group.ID);
    m_levels.merge(rows.value_or(std::vector<GroupLevelRow>{}), levelInput());
    m_currentLevelRow = 0;
}

void ItemCard::clearGroup() {
    m_item.CenSkupina.clear();
    m_levels.clear();
    m_currentLevelRow = 0;
}

void ItemCard::setLevelRowPrice(size_t index, const PricePair& price) {
    m_levels.setRowPrice(index, price);
}

bool ItemCard::togglePurchasePrices(core::ProgramEvents* events) {
    if (core::programState().user.nakupniCeny)
        services::togglePurchasePriceDisplay(m_ui, events);
    return core::programState().purchasePricesVisible();
}

void ItemCard::setProfitCount(double count) {
    m_profitCount = toFieldPrecision(count, PriceFieldDecimals);
}

double ItemCard::profit() const {
    const ItemPriceFields& f = m_pricing.fields();
    return toFieldPrecision(m_profitCount * (f.PrCenaBDPH - f.NakCena));
}

std::optional<std::pair<double, QString>> ItemCard::levelProfit() const {
    const auto& rows = m_levels.rows();
    if (rows.empty())
        return std::nullopt;
    const size_t at =
        std::clamp<size_t>(static_cast<size_t>(std::max(0, m_currentLevelRow)), 0, rows.size() - 1);
    const double value = m_profitCount * (rows[at].price.net - m_pricing.fields().NakCena);
    return std::make_pair(toFieldPrecision(value), rows[at].Zkratka);
}

bool ItemCard::choosePicture() {
    const auto chosen = m_ui.chooseOpenFile(QStringLiteral("Výběr souboru s obrázkem"),
                                            m_store.folder(), PictureStore::dialogFilter());
    if (!chosen)
        return false;
    const auto name = m_store.store(*chosen, m_ui);
    if (!name)
        return false;
    m_item.Obrazek = *name;
    return true;
}

bool ItemCard::clearPicture() {
    if (!m_ui.question(QStringLiteral("Opravdu chcete zrušit odkaz na obrázek?")))
        return false;
    m_item.Obrazek.clear();
    return true;
}

ItemRecord ItemCard::recordToStore() const {
    ItemRecord record = m_item;
    record.price = m_pricing.fields();
    record.fixedSlots = m_levels.toSlots();
    record.Nakladova = false;
    record.Chyba = false;
    clipTexts(record);
    return record;
}

std::optional<qint64> ItemCard::write(ItemRecord& record) {
    core::Transaction unit(m_db);
    if (m_mode == ItemCardMode::Edit) {
        // An item deleted on another workstation meanwhile (its deletion tested the lock just
        // before this card took it) fails the update, which finds no row.
        if (!zasobyCardUpdateMapping().update(m_db, record, record.ID) || !unit.commit())
            return std::nullopt;
        return record.ID;
    }
    if (record.Skupina <= 0)
        record.Skupina = basicGroupOfSheet(m_db, record.Sklad);
    if (!zasobyMapping().insert(m_db, record))
        return std::nullopt;
    const qint64 id = m_db.newRowId();
    if (!unit.commit())
        return std::nullopt;
    return id;
}

CardOutcome ItemCard::confirm() {
    if (!m_editable)
        return CardOutcome::StayOpen;
    if (m_item.Popis.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit popis položky."));
        return CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return CardOutcome::StayOpen;
    }
    ItemRecord record = recordToStore();
    const std::optional<qint64> id = [&] {
        const core::ProgressScope wait(m_ui, QStringLiteral("Ukládání položky\nprosím čekejte..."),
                                       0, false);
        return write(record);
    }();
    if (!id) {
        // Nothing was stored and the card keeps everything as it was typed, for another try.
        m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
        return CardOutcome::StayOpen;
    }
    record.ID = *id;
    m_item = std::move(record);
    if (m_mode != ItemCardMode::Edit && !readItem(m_db, m_item.ID)) {
        m_ui.error(QStringLiteral("Chyba: nelze nalézt nově vložený záznam v \"Zasoby\"!"));
        return CardOutcome::SaveFailed;
    }
    m_lock.release();
    return CardOutcome::Saved;
}

bool ItemCard::recomputeSilently(core::Database& db, core::UserInteraction& ui, qint64 itemId,
                                 const PriceGroupData& groups) {
    std::optional<ItemRecord> item = readItem(db, itemId);
    if (!item || !RecomputedItemWriter(db).store(recomputedSilently(std::move(*item), groups))) {
        ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
        return false;
    }
    return true;
}

ItemRecord ItemCard::recomputedSilently(ItemRecord item, const PriceGroupData& groups) {
    std::vector<GroupLevelRow> rows;
    if (const PriceGroup* group = groups.groupOfCode(item.CenSkupina)) {
        if (!group->Vlastni)
            takeGroupSettings(item.price, *group);
        rows = groups.rowsOf(group->ID);
    } else {
        item.CenSkupina.clear();
    }
    ItemLevelGrid levels;
    levels.load(rows, LevelPriceItem::of(item));
    ItemPricing pricing(item.price);
    pricing.recompute();
    item.price = pricing.fields();
    levels.recompute(LevelPriceItem::of(item));
    item.fixedSlots = levels.toSlots();
    item.Nakladova = false;
    item.Chyba = false;
    return item;
}

RecomputedItemWriter::RecomputedItemWriter(core::Database& db)
    : m_writer(std::make_unique<core::RowBatchWriter>(db, zasobyPriceMapping().table(),
                                                      QStringList{QStringLiteral("ID")} +
                                                          zasobyPriceMapping().columns(),
                                                      core::RowBatchWriter::Mode::UpdateById)) {}

RecomputedItemWriter::~RecomputedItemWriter() = default;

bool RecomputedItemWriter::store(const ItemRecord& item) {
    return storeAll({&item, 1});
}

bool RecomputedItemWriter::storeAll(std::span<const ItemRecord> items) {
    const auto& fields = zasobyPriceMapping().fields();
    std::vector<core::RowValues> rows;
    rows.reserve(items.size());
    for (const ItemRecord& item : items) {
        core::RowValues& row = rows.emplace_back();
        row.reserve(fields.size() + 1);
        row.emplace_back(item.ID);
        for (const auto& field : fields)
            row.push_back(field.get(item));
    }
    return m_writer->write(rows);
}

} // namespace orvento::catalogue
