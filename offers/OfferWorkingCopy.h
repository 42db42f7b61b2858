#pragma once

#include "offers/OfferRecords.h"
#include "offers/OfferTotals.h"

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::offers {

// How the card was opened: a new offer, the current offer of the list, or a copy of it.
enum class OfferMode { New, Existing, Copy };

// One offer while its card is open: the header, the items in display order and the linked
// documents. Nothing here touches the database; OfferStore loads and saves it.
class OfferWorkingCopy {
public:
    OfferWorkingCopy() = default;
    explicit OfferWorkingCopy(OfferMode mode)
        : m_mode(mode) {}

    OfferMode mode() const { return m_mode; }
    bool isNew() const { return m_mode != OfferMode::Existing; }
    // The stored offer's ID; nothing before a new offer or a copy is saved.
    std::optional<qint64> offerId() const { return m_offerId; }
    void setOfferId(qint64 id) { m_offerId = id; }

    OfferHeader& header() { return m_header; }
    const OfferHeader& header() const { return m_header; }
    OfferRates rates() const {
        return {m_header.SazDPHZakl, m_header.SazDPHSniz, m_header.NabZaok};
    }

    // Items in display order; `Poradi` numbers them 1 to n. Every item carries a `RowKey` of its
    // own: an inserted item a new one, a replaced item the key of the row it replaces.
    const std::vector<OfferItem>& items() const { return m_items; }
    // Puts an item at `position` (1-based; beyond the end appends) and moves the rest down.
    void insertItem(int position, OfferItem item);
    // Puts many items at `position` in their order, renumbering and totalling once.
    void insertItems(int position, std::vector<OfferItem> items);
    void replaceItem(std::size_t index, OfferItem item);
    void removeItem(std::size_t index);
    void moveItem(std::size_t from, std::size_t to);
    // Re-sorts the items (stable) and makes that order their `Poradi`.
    void sortItems(const std::function<bool(const OfferItem&, const OfferItem&)>& before);
    // Loading: takes stored items as they are, sorted by their `Poradi`; items without a key get
    // one.
    void setItems(std::vector<OfferItem> items);
    // The position a new item is proposed at: after the current one, 1 in an empty offer.
    int proposedPosition(std::optional<std::size_t> current) const;
    int titleCount() const;

    const std::vector<OfferDocument>& documents() const { return m_documents; }
    std::vector<OfferDocument>& documents() { return m_documents; }
    void addDocument(OfferDocument document);
    void removeDocument(std::size_t index);
    // The documents in Czech order of their descriptions (stable).
    void sortDocuments();

    const OfferTotals& totals() const { return m_totals; }
    // Recomputes the totals and puts the stored four into the header.
    void recomputeTotals();

    // The number field: automatic ("<automaticky>", the series gives the number on save) or
    // typed. Existing offers start with their stored number, not editable.
    bool automaticNumber() const { return m_automaticNumber; }
    bool numberEditable() const { return m_numberEditable; }
    QString numberText() const;
    // "Zrušení čísla dokladu": leave the automatic number (after asking) or, for an existing
    // offer, make the stored number editable (after asking). False when the person said No.
    bool cancelNumber(core::UserInteraction& ui);
    void setAutomaticNumber(bool automatic);
    void setNumberEditable(bool editable) { m_numberEditable = editable; }
    // After a save: the offer now exists, with its stored number.
    void markSaved();

    // The current price level of the linked address (none without a linked address).
    std::optional<QString> addressPriceLevel;
    bool readOnly = false;
    bool changed = false;

private:
    void renumber();
    void giveKey(OfferItem& item) { item.RowKey = ++m_lastKey; }

    OfferMode m_mode = OfferMode::New;
    std::optional<qint64> m_offerId;
    OfferHeader m_header;
    std::vector<OfferItem> m_items;
    std::vector<OfferDocument> m_documents;
    OfferTotals m_totals;
    bool m_automaticNumber = true;
    bool m_numberEditable = false;
    quint64 m_lastKey = 0;
};

QString automaticNumberText();

} // namespace orvento::offers
