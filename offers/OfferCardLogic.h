#pragma once

#include "core/Navigator.h"
#include "offers/OfferStates.h"
#include "offers/OfferStore.h"
#include "offers/OfferTotals.h"

#include <QString>

#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

namespace orvento::core {
class AppContext;
class Database;
} // namespace orvento::core

namespace orvento::offers {

// The item dialogs the card opens: the program shows its windows, tests fill the cards in.
// Each returns true when the person confirmed and the working copy took the item.
class OfferItemEditor {
public:
    virtual ~OfferItemEditor() = default;
    virtual bool editNew(OfferWorkingCopy& offer, std::optional<std::size_t> current) = 0;
    virtual bool editFromCatalogue(OfferWorkingCopy& offer, qint64 catalogueId,
                                   std::optional<std::size_t> current) = 0;
    virtual bool editExisting(OfferWorkingCopy& offer, std::size_t index, bool copy) = 0;
    virtual bool editNewText(OfferWorkingCopy& offer, bool title,
                             std::optional<std::size_t> current) = 0;
    virtual bool editExistingText(OfferWorkingCopy& offer, std::size_t index, bool copy) = 0;
};

// The columns of the item grid that re-sort the items when their title is clicked.
enum class ItemSortColumn { Popis, Katalog, Poradi };

// The offer card (frmNabidkaKart) without its widgets: the opened working copy, the current
// item, the marks of the item grid, and every command that changes the offer in memory. The
// database is written only by confirm().
class OfferCardLogic {
public:
    OfferCardLogic(core::AppContext& context, OpenedOffer opened, OfferItemEditor& editor);

    // Opens the offer through the store; nothing after its messages when it cannot be opened.
    static std::optional<OpenedOffer> open(core::AppContext& context, core::OfferCardMode mode,
                                           qint64 offerId);

    OfferWorkingCopy& offer() { return m_opened.copy; }
    const OfferWorkingCopy& offer() const { return m_opened.copy; }
    bool ratesDifferFromAgenda() const { return m_opened.ratesDifferFromAgenda; }
    bool readOnly() const { return m_opened.copy.readOnly; }
    bool changed() const { return m_opened.copy.changed; }
    void setChanged() { m_opened.copy.changed = true; }
    // The card is shown: nothing counts as changed yet.
    void shown() { m_opened.copy.changed = false; }

    // Header fields go through here so that each edit flags the offer as changed.
    void editHeader(const std::function<void(OfferHeader&)>& edit);
    static bool settlementEnabled(int state) { return isSettledState(state); }
    bool addressLinked() const { return m_opened.copy.header().AdrCislo != 0; }
    QString customerHint() const;
    // The level the field "Cenová hladina ceníku" shows.
    QString shownLevel() const;

    // Items: the current one, marks and the commands of the item buttons.
    std::optional<std::size_t> current() const { return m_current; }
    void setCurrent(std::optional<std::size_t> index);
    int itemCount() const { return static_cast<int>(m_opened.copy.items().size()); }
    void addFreeItem();
    void addTextItem(bool title);
    // Adds catalogue items picked in the catalogue, again and again while single items are
    // picked; ends when the catalogue is closed without a pick. Marked items come in the
    // catalogue's order, and marks left at an earlier visit are taken without showing it.
    void addCatalogueItems();
    void editCurrent();
    void copyCurrent();
    void removeCurrent();
    void moveCurrent(bool up);
    // Re-sorts the items by a column title (after the question when there are title items).
    bool sortBy(ItemSortColumn column);
    // The sort column of a clicked field; none for a field whose title does not sort.
    static std::optional<ItemSortColumn> sortColumnOf(const QString& field);

    const std::vector<bool>& marks() const { return m_marks; }
    void setMark(std::size_t index, bool marked);
    void markAll(bool marked);
    // Exactly these items marked (by index), every other mark cleared; the current item stays.
    void markOnly(const std::vector<std::size_t>& indices);
    int markedCount() const;
    // " Označeno 3 z 10 ", empty while nothing is marked.
    QString marksLabel() const;
    MarkedSums markedSums() const { return sumMarked(m_opened.copy.items(), m_marks); }
    // `IgnorHr` on the marked items; with none marked on the current item (grid menu) or on
    // every item (bulk menu).
    void setLocks(bool locked, bool allWhenNoneMarked);
    // "součet ozn.", remembered from one card to the next.
    static bool sumOfMarksShown();
    static void rememberSumOfMarks(bool shown);
    // After a bulk dialog changed the items.
    void itemsChanged();
    // The bulk menu's level commands on the marked (or all) items, each after its question:
    // the level the card shows set on them, or their prices read again from the catalogue.
    void setShownLevelOnItems();
    void refreshPricesFromCatalogue();

    // Customer ("..." / Alt+A).
    void chooseCustomer();
    // Price level: own level picked from the price-level list ("..."), chosen, cleared ("x"),
    // or taken from the address.
    void pickOwnLevel();
    void chooseOwnLevel(const QString& level);
    void clearOwnLevel();
    void setLevelFromAddress(bool fromAddress);

    // Linked documents.
    // The offer's shared document folder; empty before its first save.
    QString documentsFolder() const;
    bool acceptLink(const QString& link, bool copyToShared) const;
    // A new link (no index, copied into the shared folder on save when asked) or a changed one.
    void storeDocument(std::optional<std::size_t> index, const QString& description,
                       const QString& file, bool copyToShared);
    void removeDocument(std::size_t index);
    // The full path of a document's link.
    QString documentPath(std::size_t index) const;
    // A click on "Popis": the documents in Czech order of their descriptions.
    void sortDocuments();
    // Quick find in the document grid: the first document whose description starts with the
    // text, letters of any case.
    std::optional<std::size_t> findDocument(const QString& text) const;

    // "Šablony": a template chosen from the template list replaces both texts and the title,
    // after the question about overwriting the texts unless they are empty; that question is
    // asked at most once while the card is open. True when a template was applied.
    bool chooseTemplate();
    bool useTemplate(qint64 templateId);
    static QString templateQuestion() {
        return QStringLiteral("Změna šablony způsobí přepsání polí \"Text před položkami\" a "
                              "\"Text za položkami\". Pokračovat ?");
    }

    void showHistory();
    void togglePurchasePrices();
    bool purchasePricesVisible() const;
    // The item grid's fields that only a person who sees purchase prices sees.
    static const QStringList& purchasePriceFields();
    // An amount of the totals: the amount and the agenda's currency.
    static QString totalText(double amount);

    // OK: the checks, then the save. True when the offer was saved and the card may close.
    bool confirm();
    // "Storno": false when the person wants to stay.
    bool mayLeave();
    std::optional<qint64> savedId() const { return m_savedId; }

    static QString leaveQuestion() { return QStringLiteral("Opustit doklad bez uložení ?"); }
    static QString unfinishedItemMessage() {
        return QStringLiteral("Položku nelze použít - opravte položku otevřením a přeuložením "
                              "nebo proveďte přepočet cen.");
    }

private:
    void afterItemsChanged();
    void afterAdding(int position);
    void syncMarks();
    void pickNextCatalogueItem();
    void takeCatalogueAnswer(const core::NavigationResult& result);
    void addMarkedCatalogueItems(const std::vector<qint64>& ids);
    bool addOneCatalogueItem(qint64 id, bool withCard);
    void applyLevelToItems(const QString& level);
    QString levelBullet(const QString& level) const;
    bool askLevelChange(const QString& level, const QString& ending);
    void linkFirm(qint64 firmId);

    core::AppContext& m_context;
    core::Database& m_db;
    OpenedOffer m_opened;
    OfferItemEditor& m_editor;
    std::optional<std::size_t> m_current;
    // The marked items by their row keys, and the marks in display order as the grid wants them.
    std::unordered_set<quint64> m_markedKeys;
    std::vector<bool> m_marks;
    std::shared_ptr<core::PendingNavigation> m_catalogue;
    // Items still marked when the catalogue was closed without a pick, in its order.
    std::vector<qint64> m_leftMarked;
    std::optional<qint64> m_savedId;
    // A template was applied, or the question about overwriting the texts was asked.
    bool m_templateSettled = false;
};

} // namespace orvento::offers
