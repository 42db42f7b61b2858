#pragma once

#include "offers/OfferRecords.h"
#include "offers/OfferTotals.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orvento::core {
class AppContext;
class Database;
} // namespace orvento::core

namespace orvento::catalogue {
struct Identifier;
}

namespace orvento::offers {

class OfferCardLogic;

// One identifier of an offer's breakdown: the sums of the items that carry it. An item with
// several identifiers counts in full under each, so the rows need not add up to the offer.
struct IdentifierBreakdownRow {
    QString ZkrIdent;   // as written on the first item that had it
    QString PopisIdent; // the defined identifier's name; empty when it is not defined
    double NakCena = 0.0;
    double ProdBDPH = 0.0;
    double ProdSDPH = 0.0;
    double Zisk = 0.0;
    bool Nepouzivat = false;
};

// The breakdown of these items in their order, codes compared ignoring letter case (Czech
// letters too), against the defined identifiers. Items without identifiers and identifiers
// left out of the breakdown count nowhere shown: only the shown rows are returned. Without the
// purchase-price right the purchase price and profit stay 0.
std::vector<IdentifierBreakdownRow>
buildIdentifierBreakdown(const std::vector<OfferItem>& items,
                         const std::vector<catalogue::Identifier>& defined, bool purchaseRight);
// The same with the defined identifiers read once from the agenda; nothing when they cannot be
// read.
std::optional<std::vector<IdentifierBreakdownRow>>
buildIdentifierBreakdown(core::Database& agenda, const std::vector<OfferItem>& items,
                         bool purchaseRight);

// The breakdown window (frmRozpisIdentif) without its widgets: the rows of the card's working
// copy, their marks and current row, the sums of the marked rows, and marking the items of the
// chosen identifiers in the card.
class IdentifierBreakdown {
public:
    IdentifierBreakdown(core::AppContext& context, OfferCardLogic& card,
                        std::vector<IdentifierBreakdownRow> rows);
    // Built over the card's items as they are now; nothing after the message when the defined
    // identifiers cannot be read.
    static std::optional<IdentifierBreakdown> open(core::AppContext& context, OfferCardLogic& card);

    static QString caption() { return QStringLiteral("Rozpis identifikátorů"); }
    static QString helpTopic() { return QStringLiteral("pgRozpisIdentif.htm"); }
    static QString note();

    // The grid's columns: the field and its title.
    struct Column {
        QString field;
        QString title;
        bool amount;
        bool purchase; // hidden while purchase prices are not shown
    };
    static const std::vector<Column>& columns();
    bool columnHidden(int column) const;

    const std::vector<IdentifierBreakdownRow>& rows() const { return m_rows; }
    bool empty() const { return m_rows.empty(); }
    std::optional<std::size_t> current() const { return m_current; }
    void setCurrent(std::optional<std::size_t> row);

    const std::vector<bool>& marks() const { return m_marks; }
    void setMark(std::size_t row, bool marked);
    void markAll(bool marked);
    // The four amounts summed over the marked rows.
    MarkedSums markedSums() const;
    // "součet ozn.", the same switch as the card's.
    static bool sumOfMarksShown();
    static void rememberSumOfMarks(bool shown);

    bool canMarkInOffer() const { return !m_rows.empty(); }
    // "Označit v nabídce": the card's marks replaced by the items that carry a marked
    // identifier (the current row when none is marked); its current item stays.
    void markInOffer();

    void togglePurchasePrices();
    bool purchasePricesVisible() const;

private:
    core::AppContext& m_context;
    OfferCardLogic& m_card;
    std::vector<IdentifierBreakdownRow> m_rows;
    std::vector<bool> m_marks;
    std::optional<std::size_t> m_current;
};

// The items that carry any of the codes (ignoring letter case), by their index.
std::vector<std::size_t> itemsCarrying(const std::vector<OfferItem>& items,
                                       const QStringList& codes);

} // namespace orvento::offers
