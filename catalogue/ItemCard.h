#pragma once

#include "catalogue/CardOutcome.h"
#include "catalogue/ItemLevelGrid.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/PictureStore.h"
#include "catalogue/PriceLevelRecords.h"
#include "catalogue/pricing/ItemPricing.h"

#include <QStringList>

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace orvento::core {
class Database;
class RowBatchWriter;
class ProgramEvents;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

enum class ItemCardMode { New, Edit, Copy };

// What the silent run reads once for a whole repricing or import: every group and every level
// row.
struct PriceGroupData {
    std::vector<PriceGroup> groups;
    std::vector<GroupLevelRow> rows;

    static std::optional<PriceGroupData> load(core::Database& db);
    const PriceGroup* groupOfCode(const QString& code) const;
    std::vector<GroupLevelRow> rowsOf(qint64 groupId) const;
};

// Stores items as the silent run recomputed them: their price data only, many items at once for
// bulk work (one statement on a server). Nothing is shown; the caller reports a failure (after
// its unit of work).
class RecomputedItemWriter {
public:
    explicit RecomputedItemWriter(core::Database& db);
    ~RecomputedItemWriter();
    RecomputedItemWriter(const RecomputedItemWriter&) = delete;
    RecomputedItemWriter& operator=(const RecomputedItemWriter&) = delete;
    bool store(const ItemRecord& item);
    bool storeAll(std::span<const ItemRecord> items);

private:
    std::unique_ptr<core::RowBatchWriter> m_writer;
};

// The catalogue item card (frmKartaZasoby): one `Zasoby` row with its prices, level grid,
// profit calculator and picture, the checks on OK and the write. Run silently it recomputes and
// stores an item's prices for repricing and imports.
class ItemCard {
public:
    ItemCard(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Položka ceníku"); }
    static QString helpTopic() { return QStringLiteral("pgKartaZasoby.htm"); }
    static QStringList availabilityCaptions();
    static QString oddRateMessage() {
        return QStringLiteral(
            "Upozornění: sazba DPH na kartě neodpovídá aktuálně nastavené sazbě v programu!");
    }
    static QString noLevelsText() {
        return QStringLiteral("Tato položka ceníku neobsahuje žádné další cenové hladiny");
    }
    static QString pictureMissingText() {
        return QStringLiteral("Soubor s obrázkem nebyl na disku nalezen!");
    }

    // Opens the card: a new item, the item `itemId`, or a copy of it that is saved as a new item.
    // New items and copies go into `sheetId` and `groupId` (the sheet's basic group when
    // `groupId` is 0). False (after the message) when the card must not open.
    bool open(ItemCardMode mode, qint64 itemId, qint64 sheetId, qint64 groupId);

    // Recomputes and stores the prices of one item without a window, lock or question, with the
    // group's basic-price settings when the group dictates them. False after the message when
    // the item cannot be written; its unfinished mark then stays.
    static bool recomputeSilently(core::Database& db, core::UserInteraction& ui, qint64 itemId,
                                  const PriceGroupData& groups);
    // The first step of the same, for bulk work that has read its rows already and writes them in
    // slices (through RecomputedItemWriter): the item as the silent run stores it (prices, level
    // slots, marks cleared), computed in memory.
    static ItemRecord recomputedSilently(ItemRecord item, const PriceGroupData& groups);

    ItemCardMode mode() const { return m_mode; }
    bool editable() const { return m_editable; }
    // The item's texts, availability, picture name and group code; prices go through the
    // setters below.
    ItemRecord& item() { return m_item; }
    const ItemRecord& item() const { return m_item; }
    // The ID of the saved item (a new one after a new item or a copy was saved).
    qint64 id() const { return m_item.ID; }

    // Prices: each change follows the pricing rules, then the level grid is recomputed.
    const ItemPriceFields& prices() const { return m_pricing.fields(); }
    double leadingPrice() const { return m_pricing.leadingPrice(); }
    double derivedPrice() const;
    double actualMargin() const { return m_pricing.actualMargin(); }
    double actualRabat() const { return m_pricing.actualRabat(); }
    void setNakCena(double value);
    void setMarze(double value);
    void setRabat(double value);
    void setTypHodnoty(int value);
    void setPrepocitat(bool value);
    void setLeadingPrice(double value);
    void setZaok(int value);
    void setSDPH(bool value);
    // "Znovu přepočítat".
    void recomputeAll();

    // The rate list: 0, the agenda's two rates, and the item's own rate when it is none of them.
    const std::vector<double>& rates() const { return m_rates; }
    int rateIndex() const;
    void selectRate(int index);

    int availabilityIndex() const;
    void setAvailabilityIndex(int index);

    // The price group and the level grid.
    // The ID of the item's price group, for the group list to open on; -1 without one.
    qint64 groupIdToLocate() const;
    void assignGroup(const PriceGroup& group);
    void clearGroup();
    const ItemLevelGrid& levels() const { return m_levels; }
    void setLevelRowPrice(size_t index, const PricePair& price);
    void setCurrentLevelRow(int row) { m_currentLevelRow = row; }

    // The profit calculator.
    // Ctrl+Q while the card is open: the program-wide switch, for a user who may see purchase
    // prices at all, told to the other windows through `events`. Whether purchase prices,
    // margins and profit are shown now.
    bool togglePurchasePrices(core::ProgramEvents* events = nullptr);

    double profitCount() const { return m_profitCount; }
    void setProfitCount(double count);
    double profit() const;
    // The profit on the current level row, with its code; nothing without level rows.
    std::optional<std::pair<double, QString>> levelProfit() const;

    // The picture page.
    const PictureStore& pictureStore() const { return m_store; }
    bool pictureExists() const { return m_store.contains(m_item.Obrazek); }
    QString picturePath() const { return m_store.pathOf(m_item.Obrazek); }
    // "Výběr souboru s obrázkem"; false when nothing changed.
    bool choosePicture();
    // "Zrušení odkazu na obrázek" after the question; the store file stays.
    bool clearPicture();

    CardOutcome confirm();

private:
    void reset(qint64 sheetId, qint64 groupId);
    void fillRates(bool warn);
    void loadGroup();
    void pricesChanged();
    LevelPriceItem levelInput() const;
    // The card's values as they are stored: computed prices, the marks cleared, texts clipped.
    ItemRecord recordToStore() const;
    // Writes the record in one unit of work; the stored row's ID after the commit.
    std::optional<qint64> write(ItemRecord& record);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    ItemCardMode m_mode = ItemCardMode::New;
    ItemRecord m_item;
    ItemPricing m_pricing;
    ItemLevelGrid m_levels;
    std::vector<double> m_rates;
    int m_currentLevelRow = 0;
    double m_profitCount = 1.0;
    PictureStore m_store;
    bool m_editable = true;
    services::RecordLock m_lock;
};

} // namespace orvento::catalogue
