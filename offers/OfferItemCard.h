#pragma once

#include "catalogue/ItemCard.h"
#include "offers/OfferItemLevels.h"
#include "offers/OfferItemPricing.h"
#include "offers/OfferTotals.h"
#include "offers/OfferWorkingCopy.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

enum class OfferItemCardMode { New, NewFromCatalogue, Existing, Copy };

// The widths of an offer item's texts.
namespace OfferItemWidth {
inline constexpr int Popis = 50;
inline constexpr int Katalog = 20;
inline constexpr int BarCode = 20;
inline constexpr int PLU = 6;
inline constexpr int Zkratka = 20;
inline constexpr int MJ = 10;
inline constexpr int Identif = 255;
} // namespace OfferItemWidth

// The level the offer prices its catalogue items on: the linked address's level while the offer
// takes it from the address, else its own; empty for the basic sale price.
QString effectiveLevel(const OfferWorkingCopy& offer);

// The open agenda's rates and total rounding as they are set now.
OfferRates currentAgendaRates();

// The item card of an offer (frmPolozkaNab): one price item of the working copy while it is
// edited, recomputed after every change the person makes, and put back into the working copy on
// OK. Texts are edited in item() directly; every number goes through its setter, which holds it
// at its field's decimals and recomputes what follows from it.
class OfferItemCard {
public:
    // `current` holds the agenda's rates and total rounding as they are set now.
    OfferItemCard(core::Database& agenda, core::UserInteraction& ui, OfferWorkingCopy& offer,
                  const OfferRates& current);

    static QString helpTopic() { return QStringLiteral("pgNovaPol.htm"); }
    static QString quantityHint() {
        return QStringLiteral("* zadejte počet m.j., který chcete vložit do nabídky");
    }
    static QString missingLevelText() { return QStringLiteral("[neexistuje]"); }

    // A new free item after the item at `current`.
    void openNew(std::optional<std::size_t> current);
    // A new item from the catalogue row, on the offer's level. Adding without showing the card
    // (the offer card's bulk add) is this followed by confirm().
    void openFromCatalogue(const catalogue::ItemRecord& row, std::optional<std::size_t> current);
    // The same with the price groups read once by a caller that adds many items.
    void openFromCatalogue(const catalogue::ItemRecord& row,
                           const catalogue::PriceGroupData& groups,
                           std::optional<std::size_t> current);
    // The item at `index`, or a copy of it that is added after it. False when there is no such
    // price item.
    bool openExisting(std::size_t index);
    bool openCopy(std::size_t index);

    OfferItemCardMode mode() const { return m_mode; }
    QString caption() const;
    bool fromCatalogue() const { return m_item.CisloKarty != 0; }
    // Texts only; numbers go through the setters.
    OfferItem& item() { return m_item; }
    const OfferItem& item() const { return m_item; }
    // The picture the catalogue row names (not stored with the offer item).
    const QString& pictureName() const { return m_pictureName; }

    const std::vector<double>& rates() const { return m_rates; }
    int rateIndex() const { return m_rateIndex; }
    void selectRate(int index);

    const std::vector<ItemLevelChoice>& levels() const { return m_levels; }
    int levelIndex() const { return m_levelIndex; }
    bool levelMissing() const;
    void selectLevel(int index);

    int position() const { return m_position; }
    void setPosition(int position) { m_position = position; }

    void setNakCena(double value);
    void setProdCena(double value);
    void setSleva(double value);
    void setPocetMJ(double value);
    void setSDPH(bool withVat);
    void setZaok(int zaok);
    void setMarze(double value);
    void setRabat(double value);
    void setProdCenaPo(double value);
    // A cost item is always locked too.
    void setNakladova(bool on);
    void setIgnorHr(bool on) { m_item.IgnorHr = on; }

    // The percentage calculator beside the purchase or the sale price: the price it starts from
    // (held at two decimals), or nothing after the message when that is 0.
    std::optional<double> adjustmentStart(bool purchase);
    // Its OK: the new price into the purchase or sale price, and what follows from it.
    void applyAdjustedPrice(bool purchase, double price);

    // OK: checks the description, then writes the item into the working copy with its values as
    // the fields hold them (an offer that cannot be saved takes changes in memory all the same).
    // False when the card stays open.
    bool confirm();
    // The item as confirm() would put it into the working copy, for a caller that adds many
    // items at once (OfferWorkingCopy::insertItems) instead of one by one.
    OfferItem confirmedItem() const;

private:
    void reset();
    void buildRates(std::optional<double> ownRate);
    void selectRateOf(double rate);
    void loadCatalogue(qint64 id);
    void applyLevel();
    void fromPrice();
    bool openStored(std::size_t index, OfferItemCardMode mode);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    OfferWorkingCopy& m_offer;
    OfferRates m_current;
    OfferItemCardMode m_mode = OfferItemCardMode::New;
    std::size_t m_index = 0;
    OfferItem m_item;
    std::vector<double> m_rates;
    int m_rateIndex = 0;
    std::vector<ItemLevelChoice> m_levels;
    int m_levelIndex = 0;
    int m_position = 1;
    QString m_pictureName;
};

// The percentage calculator (frmUpravaCeny): a starting price, a discount (negative: a
// surcharge) and the new price, each held at two decimals; either of the last two follows the
// other.
class PriceAdjustment {
public:
    explicit PriceAdjustment(double start);
    double start() const { return m_start; }
    double percent() const { return m_percent; }
    double newPrice() const { return m_newPrice; }
    void setPercent(double percent);
    void setNewPrice(double price);

    static QString zeroPriceMessage() {
        return QStringLiteral("Chcete-li upravit cenu pomocí % kalkulačky, cena nesmí být nulová.");
    }

private:
    double m_start;
    double m_percent = 0.0;
    double m_newPrice;
};

} // namespace orvento::offers
