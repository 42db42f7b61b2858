#pragma once

#include "catalogue/CatalogueItemsModel.h"
#include "catalogue/CataloguePositions.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/ItemFilter.h"
#include "catalogue/MoveOperation.h"
#include "core/CatalogueView.h"

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class ProgramEvents;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {
class ProfileSession;
}

namespace orvento::catalogue {

// Browsing the catalogue, or picking an item for an offer (the "OK" button).
enum class CatalogueMode { Browse, Pick };
enum class CatalogueGrid { Groups, Items };
// What the marks name for a bulk command.
enum class MarkedKind { Items, Groups };
// How the person reaches the current row: "Opravit" or Alt+O, or Enter and a double click in a
// grid.
enum class EditTrigger { EditCommand, Activation };
// What that does there.
enum class EditAction { EditGroup, EditItem, PickItem };

// Which commands the window offers now.
struct CatalogueButtons {
    bool addGroup = false;
    bool addItem = false; // the item card arrives later; until then adding items is off
    bool edit = false;
    bool copy = false;
    bool remove = false;
    bool print = false;
    bool moveToGroup = false;
    bool moveToSheet = false;
    bool ok = false;
    bool okVisible = false;
};

// The logic of the catalogue window (frmZasoby, "Ceník"): the sheet tabs, the groups panel, the
// items grid, the remembered places, sort fields and marks, and the commands on groups and items.
class CatalogueWindowLogic {
public:
    // Ctrl+Q is told to the other windows through `events` when given.
    CatalogueWindowLogic(core::Database& db, core::UserInteraction& ui,
                         services::ProfileSession& session, CatalogueMode mode,
                         core::ProgramEvents* events = nullptr);

    static QString caption() { return QStringLiteral("Ceník"); }
    static QString helpTopic() { return QStringLiteral("pgZasoby.htm"); }
    // The rights check before the window opens.
    static bool mayOpen(core::UserInteraction& ui);

    CatalogueMode mode() const { return m_mode; }
    // Reads the sheets and the remembered state, activates the remembered sheet (the last tab
    // when it is gone) and loads it, under the wait window.
    bool open();
    // Remembers the place, the groups switch and both sort fields in the profile.
    void close();

    const std::vector<SheetRow>& sheets() const { return m_sheets; }
    std::optional<size_t> activeSheetIndex() const;
    qint64 activeSheet() const { return m_activeSheet; }
    void selectSheet(size_t index);
    // After the sheet list changed the sheets: the tabs again, on the given sheet when it is
    // still there.
    void reloadSheets(qint64 activate);

    bool groupsShown() const { return m_groupsShown; }
    void toggleGroups();

    const std::vector<GroupRow>& groups() const { return m_groups; }
    std::optional<size_t> currentGroupIndex() const { return m_currentGroup; }
    std::optional<GroupRow> currentGroup() const;
    void setCurrentGroup(size_t index);
    const QString& groupSortField() const { return m_groupSort; }
    void sortGroups(const QString& field);

    CatalogueItemsModel& items() { return m_items; }
    int currentItemRow() const { return m_currentItem; }
    void setCurrentItemRow(int row);
    qint64 currentItemId() const { return m_items.idAt(m_currentItem); }
    // Sorts by a clicked column title and stays on the current item.
    void sortItems(const QString& field);
    // The quick find of the focused grid; the row it moved to.
    std::optional<int> quickFindItem(const QString& text);
    std::optional<size_t> quickFindGroup(const QString& text);

    CatalogueGrid focusedGrid() const { return m_focus; }
    void setFocusedGrid(CatalogueGrid grid) { m_focus = grid; }
    // The groups take copy and marking (and their title is lit) while they are shown and focused.
    bool groupsActive() const { return m_focus == CatalogueGrid::Groups && m_groupsShown; }
    // The tip of the groups switch: what a press does now.
    QString groupsSwitchTip() const;
    CatalogueButtons buttons() const;
    // The focused grid's groups are edited in their card. On items, Enter and a double click pick
    // the item while an offer asks for one; "Opravit" and Alt+O open its card in both modes, so
    // that an unfinished item can be mended where it is refused.
    EditAction editAction(EditTrigger trigger) const;

    // "Obnovit": the groups and items again, marks cleared.
    void refresh();

    // Group marks (items keep theirs in the model).
    void setGroupMarked(size_t index, bool marked);
    bool isGroupMarked(qint64 id) const;
    const std::vector<qint64>& groupMarks() const { return m_groupMarks; }
    // Ctrl+plus and Ctrl+minus on the focused grid.
    void markAll();
    void clearMarks();
    // What the marks name, or nothing after the message.
    std::optional<MarkedKind> checkMarks(bool forBulkUpdate = false);

    // Commands. Each checks the rights first and shows its own messages.
    bool mayAddGroup();
    // The group to edit in its card, relocated after changes elsewhere; nothing when refused.
    std::optional<GroupRow> groupToEdit();
    std::optional<GroupRow> groupToCopy();
    void afterGroupSaved(qint64 groupId);
    // The item card. The item to open, found again first when another workstation changed the
    // items since this window looked (nothing, after the refresh warning, when it is gone).
    std::optional<qint64> itemToOpen();
    // Where a new item goes: the current group while groups are shown, else 0 (the sheet's
    // basic group).
    qint64 groupForNewItem() const;
    // After the card saved: the items again, on the saved row.
    void afterItemSaved(qint64 itemId);
    void removeCurrent();
    // "Přesunout do skupiny..." / "Přesunout do listu...": the move to prepare, or nothing.
    std::optional<MoveOperation> prepareMove(bool toSheet);
    void afterMove();
    // Ctrl+Q.
    void togglePurchasePrices();
    // After a window that may have switched the display itself (the item card).
    void followPurchasePriceDisplay();
    // "OK" in pick mode: the items to transfer into the offer. With marks, every marked item in
    // the order of the list, the marks handed over with them (the offer warns about and skips one
    // that must be recomputed); else the current item, nothing when it must be recomputed first.
    std::vector<qint64> pickItems();

    // The filter's entries as the person left them while this window stays open; the dialog
    // opens on them with "filtr aktivní" ticked.
    const ItemFilter& filterEntries() const { return m_filter; }
    ItemFilter entriesForDialog() const;
    // "Filtr" confirmed: the item marks cleared, the entries kept and the items shown again under
    // them. False (the list unfiltered, after the warning) when the filtered query fails, or when
    // the filter was switched off.
    bool applyFilter(const ItemFilter& entries);
    // Whether the items are filtered now (the button's caption says so).
    bool filterOn() const { return m_filterOn; }
    // The condition the windows that follow the catalogue's list apply (repricing of marked
    // groups, the price-list output); nothing while filtering is off.
    const core::SqlCondition& itemCondition() const { return m_items.filter(); }
    // What the window shows now, for the price list's print and export.
    core::CatalogueView view() const;

private:
    void rememberPlace();
    void loadSheet();
    bool loadGroups(qint64 locate);
    void loadItemsOfGroup();
    void locateItem(qint64 id);
    bool relocateGroup();

    core::Database& m_db;
    core::UserInteraction& m_ui;
    services::ProfileSession& m_session;
    CatalogueMode m_mode;
    core::ProgramEvents* m_events;
    CataloguePositions m_positions;
    CatalogueItemsModel m_items;
    std::vector<SheetRow> m_sheets;
    std::vector<GroupRow> m_groups;
    std::vector<qint64> m_groupMarks;
    qint64 m_activeSheet = 1;
    bool m_groupsShown = true;
    std::optional<size_t> m_currentGroup;
    int m_currentItem = -1;
    QString m_groupSort = QStringLiteral("NAZEV");
    CatalogueGrid m_focus = CatalogueGrid::Items;
    ItemFilter m_filter;
    bool m_filterOn = false;
};

} // namespace orvento::catalogue
