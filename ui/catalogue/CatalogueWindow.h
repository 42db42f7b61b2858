#pragma once

#include "catalogue/CatalogueWindowLogic.h"
#include "catalogue/GroupCard.h"
#include "catalogue/ItemCard.h"
#include "core/Navigator.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
class QToolButton;
class QWidget;

namespace orvento::core {
class AppContext;
class ProgramEvents;
class UserInteraction;
} // namespace orvento::core
namespace orvento::services {
class ProfileSession;
}

namespace orvento::ui {

class CatalogueGroupsModel;
class GridBinding;
class QuickFindPanel;

// frmZasoby, "Ceník": the sheets as tabs, the groups of the active sheet and their items.
class CatalogueWindow : public QDialog {
    Q_OBJECT
public:
    // Ctrl+Q here and in the item card is told to the other windows through `events`, and the
    // window follows theirs.
    CatalogueWindow(core::UserInteraction& ui, services::ProfileSession& session,
                    catalogue::CatalogueMode mode, QWidget* parent = nullptr,
                    core::ProgramEvents* events = nullptr);
    ~CatalogueWindow() override;

    // Opens the catalogue after the rights check. In pick mode, the items chosen with "OK"; when
    // it was closed without a pick, Cancelled with the marks it was left with.
    static core::NavigationResult open(core::AppContext& context, catalogue::CatalogueMode mode,
                                       QWidget* parent);

    catalogue::CatalogueWindowLogic& logic() { return m_logic; }
    QTabBar* tabs() const { return m_tabs; }
    QTableView* groupsView() const { return m_groupsView; }
    QTableView* itemsView() const { return m_itemsView; }
    QLineEdit* findBox() const;
    const std::vector<qint64>& pickedItems() const { return m_picked; }

    // The commands, as the buttons and menus run them.
    void toggleGroups();
    void refresh();
    void addGroup();
    // "Opravit" and Alt+O.
    void editCurrent();
    // Enter and a double click in a grid.
    void activateCurrent();
    void copyCurrent();
    void openItemCard(catalogue::ItemCardMode mode, qint64 itemId);
    void removeCurrent();
    void moveMarked(bool toSheet);
    void showSheetList();
    void pick();
    void toggleMark();
    // "Filtr": the filter dialog on the entries kept while this window is open, then the items
    // under the filter.
    void editFilter();
    // "Přecenit nákupní a prodejní ceny" and "Hromadně nastavit údaje na položkách".
    void runBulkWizard(bool bulkUpdate);
    // "Tisk": the price list's print and export over what the window shows, through the
    // navigator; the button is off without one.
    void setNavigator(core::Navigator* navigator);
    void printPriceList();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildSheetTabs();
    QWidget* buildGroupsPanel(services::ProfileSession& session);
    QLayout* buildItemsPanel(services::ProfileSession& session);
    QLayout* buildButtons();
    QPushButton* buildOtherButton();
    void installKeys();
    void followSelection();
    void buildTabs();
    void showAll();
    void showCurrentRows();
    void updateButtons();
    void focusGrid(catalogue::CatalogueGrid grid);
    void runGroupCard(catalogue::GroupCard& card);
    void runEdit(catalogue::EditAction action);
    void sortItemsBy(const QString& field);

    core::UserInteraction& m_ui;
    core::ProgramEvents* m_events;
    catalogue::CatalogueWindowLogic m_logic;
    CatalogueGroupsModel* m_groupsModel = nullptr;
    QTabBar* m_tabs = nullptr;
    QToolButton* m_groupsSwitch = nullptr;
    QWidget* m_groupsPanel = nullptr;
    QLabel* m_groupsTitle = nullptr;
    QLabel* m_itemsTitle = nullptr;
    QTableView* m_groupsView = nullptr;
    QTableView* m_itemsView = nullptr;
    GridBinding* m_groupsBinding = nullptr;
    GridBinding* m_itemsBinding = nullptr;
    QuickFindPanel* m_findPanel = nullptr;
    QPushButton* m_add = nullptr;
    QAction* m_addGroup = nullptr;
    QAction* m_addItem = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_ok = nullptr;
    QAction* m_moveToGroup = nullptr;
    QAction* m_moveToSheet = nullptr;
    std::vector<qint64> m_picked;
    bool m_pickedMarked = false;
    bool m_updating = false;
    bool m_closed = false;
    QPushButton* m_filter = nullptr;
    core::Navigator* m_navigator = nullptr;
};

} // namespace orvento::ui
