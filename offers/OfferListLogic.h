#pragma once

#include "core/Navigator.h"
#include "offers/OfferFilter.h"
#include "offers/OfferListModel.h"
#include "offers/OfferStates.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace orvento::core {
class AppContext;
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

// Which commands the list offers now.
struct OfferListButtons {
    bool add = false;
    bool edit = false;
    bool copy = false;
    bool remove = false;
    bool print = false;
    bool other = false;
};

// Count and totals of a set of offers.
struct OfferSum {
    int count = 0;
    double withoutVat = 0.0;
    double withVat = 0.0;
    double profit = 0.0;
};

// The sums of "Součet": over all the summed offers and per state.
struct OfferSums {
    OfferSum all;
    std::array<OfferSum, kStateCount> byState{};
    // Whether the marked offers were summed (else every offer shown).
    bool ofMarks = false;
};

// The logic of the offer list (frmNabidky, "Seznam nabídek"): the offers the user may see, sort,
// quick find, marks, filter, sums, deletion, locks, and the offer card and history through the
// navigator.
class OfferListLogic {
public:
    explicit OfferListLogic(core::AppContext& context);
    ~OfferListLogic();
    OfferListLogic(const OfferListLogic&) = delete;
    OfferListLogic& operator=(const OfferListLogic&) = delete;

    static QString caption() { return QStringLiteral("Seznam nabídek"); }
    static QString helpTopic() { return QStringLiteral("pgSezNab.htm"); }
    // The rights check before the window opens.
    static bool mayOpen(core::UserInteraction& ui);

    // Reads the offers the user may see, sorts them as remembered and goes to the remembered
    // offer (the first one when it is gone), under the wait window.
    bool open();
    // Remembers the current offer and the sort field.
    void close();

    OfferListModel& rows() { return m_rows; }
    const OfferListModel& rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    qint64 currentId() const { return m_rows.idAt(m_current); }
    // Told when the rows or the current row changed by a command (a card that answered later).
    void setOnChanged(std::function<void()> changed) { m_changed = std::move(changed); }

    // Sorts by a clicked column title and stays on the current offer; false for a column that
    // does not sort (the profit does not while it is hidden).
    bool sortBy(const QString& field);
    // Moves to the first offer whose sort column starts with the text; the row it moved to.
    std::optional<int> quickFind(const QString& text);

    void toggleMark(int row);
    void markAll();
    void clearMarks();

    bool legendShown() const { return m_legend; }
    void setLegendShown(bool shown);

    OfferListButtons buttons() const;

    // "Obnovit": the marks cleared, the list read again, on the current offer.
    void refresh();

    // The filter applied to the list.
    const OfferFilter& filter() const { return m_filter; }
    bool filterActive() const { return m_filter.active; }
    // The values the filter dialog opens with: as the person left them at its last closing,
    // also after "Storno", for as long as the list is open.
    const OfferFilter& filterDialogValues() const { return m_dialogValues; }
    void keepFilterDialogValues(const OfferFilter& values) { m_dialogValues = values; }
    // "OK" in the filter dialog: false (after the warning) when the dialog must stay open.
    bool applyFilter(const OfferFilter& filter);
    // The "..." of the filter's firm: the address book in pick mode; `chosen` gets the firm's ID
    // and name once the person has picked one, and is not called when the pick is cancelled.
    void pickFilterFirm(std::function<void(qint64 firmId, const QString& name)> chosen);

    // "Přidat", "Opravit", "Kopírovat": the offer card through the navigator (only while the
    // program has it). An existing offer is found again first; after the card the list is read
    // again and goes to the saved offer.
    bool cardAvailable() const;
    void openCard(core::OfferCardMode mode);
    // "Vyjmout": the current offer, or the marked ones.
    void removeSelected();
    // "Uzamknout doklad" / "Odemknout doklad": the marked offers, or the current one.
    void setLocked(bool locked);
    // "Součet": the marked offers, or every offer shown.
    std::optional<OfferSums> sums();
    // The offers of the list report: the marked ones in the list's order, or every offer shown.
    std::vector<qint64> offersToPrint() const;
    // "Tisk": the print window over those offers through the navigator; a print that changed an
    // offer's state reads the list again, as "Obnovit" does.
    void printList();
    // The offers of the XML export in the order they are written: the marked ones from the last in
    // the list's order to the first, or the current offer.
    std::vector<qint64> offersToExport() const;
    // "Export do XML": the export dialog over those offers through the navigator.
    void exportXml();
    // "Historie akcí" of the current offer.
    void showHistory();
    // Ctrl+Q.
    void togglePurchasePrices();
    bool profitShown() const;

private:
    bool reloadRows();
    void locate(qint64 id);
    void changed();
    void afterCard(const core::NavigationResult& result, qint64 before);
    // After a new offer or a copy was saved: the print window, when the profile asks for it.
    void offerPrintOfNew(const core::NavigationResult& card);
    bool findCurrentAgain();
    std::optional<OfferSums> sumRows(const std::vector<qint64>& ids);

    core::AppContext& m_context;
    core::Database& m_db;
    core::UserInteraction& m_ui;
    OfferListModel m_rows;
    OfferFilter m_filter;
    OfferFilter m_dialogValues;
    int m_current = -1;
    bool m_legend = true;
    std::function<void()> m_changed;
    std::shared_ptr<core::PendingNavigation> m_card;
    std::shared_ptr<core::PendingNavigation> m_firmPick;
    std::shared_ptr<core::PendingNavigation> m_print;
};

} // namespace orvento::offers
