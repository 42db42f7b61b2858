#include "ui/catalogue/CatalogueWindow.h"

#include "ui/catalogue/ItemCardDialog.h"

#include "catalogue/GroupCard.h"
#include "core/AppContext.h"
#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "services/GridLayouts.h"
#include "ui/GridBinding.h"
#include "ui/Help.h"
#include "ui/QuickFind.h"
#include "ui/catalogue/CatalogueGridStyle.h"
#include "ui/catalogue/GroupCardDialog.h"
#include "ui/catalogue/ItemFilterDialog.h"
#include "ui/catalogue/MoveDialog.h"
#include "ui/catalogue/RepricingWizard.h"
#include "ui/catalogue/RepricingWizardBulkUpdate.h"
#include "ui/catalogue/SheetListWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using catalogue::CatalogueGrid;
using catalogue::CatalogueItemsModel;

constexpr QSize kDesignSize(1100, 640);
constexpr int kGroupsPanelWidth = 220;

QLabel* makeTitle(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    label->setContentsMargins(6, 2, 6, 2);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void colourTitle(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

} // namespace

CatalogueWindow::CatalogueWindow(core::UserInteraction& ui, services::ProfileSession& session,
                                 catalogue::CatalogueMode mode, QWidget* parent,
                                 core::ProgramEvents* events)
    : QDialog(parent)
    , m_ui(ui)
    , m_events(events)
    , m_logic(core::programState().db->agenda, ui, session, mode, events)
    , m_groupsModel(new CatalogueGroupsModel(m_logic, this)) {
    setObjectName(QStringLiteral("frmZasoby"));
    setWindowTitle(catalogue::CatalogueWindowLogic::caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto* body = new QHBoxLayout;
    body->addWidget(buildGroupsPanel(session));
    body->addLayout(buildItemsPanel(session), 1);
    body->addLayout(buildButtons());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildSheetTabs());
    layout->addLayout(body, 1);
    installKeys();
    followSelection();
    installHelpKey(this, catalogue::CatalogueWindowLogic::helpTopic());
    resize(kDesignSize);

    m_logic.open();
    buildTabs();
    showAll();
    focusGrid(m_logic.focusedGrid());
}

// The groups switch and the sheets as tabs.
QLayout* CatalogueWindow::buildSheetTabs() {
    m_groupsSwitch = new QToolButton(this);
    m_groupsSwitch->setObjectName(QStringLiteral("btnSkupiny"));
    m_groupsSwitch->setText(QStringLiteral("S"));
    m_groupsSwitch->setCheckable(true);
    connect(m_groupsSwitch, &QToolButton::clicked, this, &CatalogueWindow::toggleGroups);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tabListy"));
    m_tabs->setExpanding(false);
    m_tabs->setDocumentMode(true);
    m_tabs->setStyleSheet(
        QStringLiteral("QTabBar::tab:selected { background: #ffffe0; font-weight: bold; }"));
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (m_updating || index < 0)
            return;
        m_logic.selectSheet(static_cast<size_t>(index));
        showAll();
    });
    auto* top = new QHBoxLayout;
    top->addWidget(m_groupsSwitch);
    top->addWidget(m_tabs, 1);
    return top;
}

// The groups of the active sheet under their title, sorted by a click on a column title.
QWidget* CatalogueWindow::buildGroupsPanel(services::ProfileSession& session) {
    m_groupsPanel = new QWidget(this);
    m_groupsTitle = makeTitle(QStringLiteral("Skupiny"), m_groupsPanel);
    m_groupsView = makeListGrid(m_groupsPanel, QStringLiteral("grSkupiny"));
    m_groupsBinding =
        new GridBinding(m_groupsView, m_groupsModel, session, services::GridId::CatalogueGroups);
    m_groupsView->setItemDelegate(
        new CatalogueRowDelegate(CatalogueGroupsModel::MarkedRole, -1, m_groupsView));
    connect(m_groupsBinding, &GridBinding::sortRequested, this, [this](const QString& field) {
        m_logic.sortGroups(field);
        m_groupsBinding->setSortField(m_logic.groupSortField());
        m_groupsModel->refresh();
        showCurrentRows();
    });
    auto* layout = new QVBoxLayout(m_groupsPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_groupsTitle);
    layout->addWidget(m_groupsView, 1);
    m_groupsPanel->setFixedWidth(kGroupsPanelWidth);
    return m_groupsPanel;
}

// The items of the group under their title, with the quick find above them.
QLayout* CatalogueWindow::buildItemsPanel(services::ProfileSession& session) {
    m_itemsTitle = makeTitle(QStringLiteral("Položky"), this);
    m_findPanel = new QuickFindPanel(this);
    m_itemsView = makeListGrid(this, QStringLiteral("grZasoby"));
    m_itemsBinding =
        new GridBinding(m_itemsView, &m_logic.items(), session, services::GridId::CatalogueItems);
    m_itemsView->setItemDelegate(new CatalogueRowDelegate(
        CatalogueItemsModel::MarkedRole, CatalogueItemsModel::ErrorRole, m_itemsView));
    connect(m_itemsBinding, &GridBinding::sortRequested, this, &CatalogueWindow::sortItemsBy);
    connect(m_findPanel, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        if (m_findPanel->grid() == m_groupsView)
            m_logic.quickFindGroup(text);
        else
            m_logic.quickFindItem(text);
        showCurrentRows();
    });
    auto* layout = new QVBoxLayout;
    layout->setSpacing(0);
    layout->addWidget(m_itemsTitle);
    layout->addWidget(m_findPanel);
    layout->addWidget(m_itemsView, 1);
    return layout;
}

// The command buttons down the right side, "OK" and "Zavřít" at the bottom.
QLayout* CatalogueWindow::buildButtons() {
    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_add = button(QStringLiteral("&Přidat"), "btnPridat");
    auto* addMenu = new QMenu(this);
    m_addGroup = addMenu->addAction(QStringLiteral("&Skupinu"), this, &CatalogueWindow::addGroup);
    m_addItem = addMenu->addAction(QStringLiteral("&Položku"), this,
                                   [this] { openItemCard(catalogue::ItemCardMode::New, 0); });
    m_addItem->setShortcut(QKeySequence(QStringLiteral("Alt+P")));
    m_add->setMenu(addMenu);
    m_edit = button(QStringLiteral("&Opravit"), "btnOpravit");
    m_edit->setShortcut(QKeySequence(QStringLiteral("Alt+O")));
    m_copy = button(QStringLiteral("&Kopírovat"), "btnKopirovat");
    m_copy->setShortcut(QKeySequence(QStringLiteral("Alt+K")));
    m_remove = button(QStringLiteral("Vyjmout"), "btnVyjmout");
    auto* refreshButton = button(QStringLiteral("O&bnovit"), "btnObnovit");
    m_print = button(QStringLiteral("Tisk"), "btnTisk");
    m_print->setToolTip(QStringLiteral("Tisk ceníku"));
    connect(m_print, &QPushButton::clicked, this, &CatalogueWindow::printPriceList);
    m_filter = button(QStringLiteral("Filtr"), "btnFiltr");
    connect(m_filter, &QPushButton::clicked, this, &CatalogueWindow::editFilter);
    QPushButton* other = buildOtherButton();
    m_ok = button(QStringLiteral("OK"), "btnOK");
    m_ok->setToolTip(QStringLiteral("Přenést položku do nabídky (Enter)"));
    auto* close = button(QStringLiteral("Zavřít"), "btnZavrit");
    connect(m_edit, &QPushButton::clicked, this, &CatalogueWindow::editCurrent);
    connect(m_copy, &QPushButton::clicked, this, &CatalogueWindow::copyCurrent);
    connect(m_remove, &QPushButton::clicked, this, &CatalogueWindow::removeCurrent);
    connect(refreshButton, &QPushButton::clicked, this, &CatalogueWindow::refresh);
    connect(m_ok, &QPushButton::clicked, this, &CatalogueWindow::pick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b :
         {m_add, m_edit, m_copy, m_remove, refreshButton, m_filter, m_print, other})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(close);
    return buttons;
}

// "Ostatní": the moves of the marked rows and the list of sheets.
QPushButton* CatalogueWindow::buildOtherButton() {
    auto* other = new QPushButton(QStringLiteral("Ostatní"), this);
    other->setObjectName(QStringLiteral("btnOstatni"));
    other->setAutoDefault(false);
    auto* menu = new QMenu(this);
    m_moveToGroup = menu->addAction(QStringLiteral("Přesunout do skupiny..."), this,
                                    [this] { moveMarked(false); });
    m_moveToSheet = menu->addAction(QStringLiteral("Přesunout do listu..."), this,
                                    [this] { moveMarked(true); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Seznam listů..."), this, &CatalogueWindow::showSheetList);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Přecenit nákupní a prodejní ceny"), this,
                    [this] { runBulkWizard(false); });
    menu->addAction(QStringLiteral("Hromadně nastavit údaje na položkách"), this,
                    [this] { runBulkWizard(true); });
    other->setMenu(menu);
    return other;
}

// Alt+S, Ctrl+Q (here and from the other windows) and the grids' own keys.
void CatalogueWindow::installKeys() {
    auto* groupsKey = new QShortcut(QKeySequence(QStringLiteral("Alt+S")), this);
    connect(groupsKey, &QShortcut::activated, this, &CatalogueWindow::toggleGroups);
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this, [this] {
        m_logic.togglePurchasePrices();
        showAll();
    });
    if (m_events)
        connect(m_events, &core::ProgramEvents::purchasePricesDisplayChanged, this, [this] {
            m_logic.followPurchasePriceDisplay();
            showAll();
        });
    for (QTableView* view : {m_groupsView, m_itemsView})
        view->installEventFilter(this);
}

// The current group and item follow the grids; a double click opens or picks.
void CatalogueWindow::followSelection() {
    connect(m_groupsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_updating || !current.isValid())
                    return;
                m_logic.setCurrentGroup(static_cast<size_t>(current.row()));
                showAll();
            });
    connect(m_itemsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_updating && current.isValid())
                    m_logic.setCurrentItemRow(current.row());
            });
    connect(m_itemsView, &QTableView::doubleClicked, this, &CatalogueWindow::activateCurrent);
    connect(m_groupsView, &QTableView::doubleClicked, this, &CatalogueWindow::activateCurrent);
}

CatalogueWindow::~CatalogueWindow() {
    if (!m_closed)
        m_logic.close();
}

core::NavigationResult CatalogueWindow::open(core::AppContext& context,
                                             catalogue::CatalogueMode mode, QWidget* parent) {
    if (!catalogue::CatalogueWindowLogic::mayOpen(context.ui()))
        return {core::NavigationStatus::Cancelled, {}};
    CatalogueWindow window(context.ui(), context.profile(), mode, parent, &context.events());
    window.setNavigator(&context.navigator());
    window.exec();
    if (!window.m_picked.empty())
        return {core::NavigationStatus::Done, window.m_picked, window.m_pickedMarked};
    return {core::NavigationStatus::Cancelled, window.m_logic.items().marksInListOrder(), true};
}

void CatalogueWindow::setNavigator(core::Navigator* navigator) {
    m_navigator = navigator;
    updateButtons();
}

void CatalogueWindow::printPriceList() {
    if (!m_navigator || !m_logic.buttons().print)
        return;
    m_navigator->openPriceListOutput(m_logic.view());
}

void CatalogueWindow::done(int result) {
    if (!m_closed) {
        m_logic.close();
        m_closed = true;
    }
    QDialog::done(result);
}

void CatalogueWindow::buildTabs() {
    const QSignalBlocker blocker(m_tabs);
    m_updating = true;
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    for (const catalogue::SheetRow& sheet : m_logic.sheets()) {
        const int index = m_tabs->addTab(sheet.nazev);
        m_tabs->setTabData(index, sheet.id);
    }
    if (const auto active = m_logic.activeSheetIndex())
        m_tabs->setCurrentIndex(static_cast<int>(*active));
    m_updating = false;
}

void CatalogueWindow::showAll() {
    m_updating = true;
    m_groupsPanel->setVisible(m_logic.groupsShown());
    m_groupsSwitch->setChecked(m_logic.groupsShown());
    m_groupsSwitch->setToolTip(m_logic.groupsSwitchTip());
    m_groupsModel->refresh();
    // A group's name is never cut off: its column grows to the longest name.
    const int nameColumn = 0;
    const int width = m_groupsView->columnWidth(nameColumn);
    m_groupsView->resizeColumnToContents(nameColumn);
    if (m_groupsView->columnWidth(nameColumn) < width)
        m_groupsView->setColumnWidth(nameColumn, width);
    const bool prices = core::programState().purchasePricesVisible();
    m_itemsBinding->proxy()->setTitleBlank(QStringLiteral("NakCena"), !prices);
    m_updating = false;
    showCurrentRows();
}

void CatalogueWindow::showCurrentRows() {
    m_updating = true;
    if (const auto group = m_logic.currentGroupIndex()) {
        const QModelIndex index = m_groupsView->model()->index(static_cast<int>(*group), 0);
        m_groupsView->setCurrentIndex(index);
        m_groupsView->scrollTo(index);
    }
    const int row = m_logic.currentItemRow();
    if (row >= 0) {
        const QModelIndex index = m_itemsView->model()->index(row, 0);
        m_itemsView->setCurrentIndex(index);
        m_itemsView->scrollTo(index);
    }
    m_updating = false;
    updateButtons();
}

void CatalogueWindow::updateButtons() {
    const catalogue::CatalogueButtons b = m_logic.buttons();
    m_addGroup->setEnabled(b.addGroup);
    m_addItem->setEnabled(b.addItem);
    m_edit->setEnabled(b.edit);
    m_copy->setEnabled(b.copy);
    m_remove->setEnabled(b.remove);
    m_print->setEnabled(b.print && m_navigator);
    m_moveToGroup->setEnabled(b.moveToGroup);
    m_moveToSheet->setEnabled(b.moveToSheet);
    m_ok->setVisible(b.okVisible);
    m_ok->setEnabled(b.ok);
    const bool filtered = m_logic.filterOn();
    m_filter->setText(filtered ? QStringLiteral("Filtr !") : QStringLiteral("Filtr"));
    QFont filterFont = m_filter->font();
    filterFont.setBold(filtered);
    m_filter->setFont(filterFont);
    const bool groups = m_logic.groupsActive();
    colourTitle(m_groupsTitle, groups ? QColor(128, 0, 0) : QColor(128, 128, 128));
    colourTitle(m_itemsTitle, groups ? QColor(128, 128, 128) : QColor(0, 0, 128));
}

void CatalogueWindow::focusGrid(CatalogueGrid grid) {
    if (grid == CatalogueGrid::Groups && !m_logic.groupsShown())
        grid = CatalogueGrid::Items;
    m_logic.setFocusedGrid(grid);
    (grid == CatalogueGrid::Groups ? m_groupsView : m_itemsView)->setFocus();
    updateButtons();
}

void CatalogueWindow::toggleGroups() {
    m_logic.toggleGroups();
    showAll();
    focusGrid(m_logic.focusedGrid());
}

void CatalogueWindow::refresh() {
    m_logic.refresh();
    showAll();
}

void CatalogueWindow::sortItemsBy(const QString& field) {
    m_logic.sortItems(field);
    // The clicked column moves to the first place.
    QHeaderView* header = m_itemsView->horizontalHeader();
    const QStringList& fields = CatalogueItemsModel::fields();
    for (int section = 0; section < fields.size(); ++section)
        if (fields.at(section).compare(field, Qt::CaseInsensitive) == 0)
            header->moveSection(header->visualIndex(section), 0);
    m_itemsBinding->setSortField(m_logic.items().sortField());
    showCurrentRows();
}

void CatalogueWindow::runGroupCard(catalogue::GroupCard& card) {
    GroupCardDialog dialog(card, this);
    if (dialog.exec() == QDialog::Accepted && card.savedId())
        m_logic.afterGroupSaved(*card.savedId());
    else
        m_logic.refresh();
    showAll();
}

void CatalogueWindow::addGroup() {
    if (!m_logic.mayAddGroup())
        return;
    catalogue::GroupCard card(core::programState().db->agenda, m_ui);
    card.startNew(m_logic.activeSheet());
    runGroupCard(card);
}

void CatalogueWindow::editCurrent() {
    runEdit(m_logic.editAction(catalogue::EditTrigger::EditCommand));
}

void CatalogueWindow::activateCurrent() {
    runEdit(m_logic.editAction(catalogue::EditTrigger::Activation));
}

void CatalogueWindow::runEdit(catalogue::EditAction action) {
    if (action == catalogue::EditAction::PickItem) {
        pick();
        return;
    }
    if (action == catalogue::EditAction::EditItem) {
        if (const auto item = m_logic.itemToOpen())
            openItemCard(catalogue::ItemCardMode::Edit, *item);
        else
            showAll();
        return;
    }
    const auto group = m_logic.groupToEdit();
    showAll();
    if (!group)
        return;
    catalogue::GroupCard card(core::programState().db->agenda, m_ui);
    if (!card.startExisting(*group))
        return;
    runGroupCard(card);
}

void CatalogueWindow::openItemCard(catalogue::ItemCardMode mode, qint64 itemId) {
    const auto saved = ItemCardDialog::open(m_ui, m_events, mode, itemId, m_logic.activeSheet(),
                                            m_logic.groupForNewItem(), this);
    if (saved)
        m_logic.afterItemSaved(*saved);
    m_logic.followPurchasePriceDisplay();
    showAll();
}

void CatalogueWindow::copyCurrent() {
    if (!m_logic.groupsActive()) {
        if (const auto item = m_logic.itemToOpen())
            openItemCard(catalogue::ItemCardMode::Copy, *item);
        else
            showAll();
        return;
    }
    const auto group = m_logic.groupToCopy();
    if (!group)
        return;
    catalogue::GroupCard card(core::programState().db->agenda, m_ui);
    card.startCopy(m_logic.activeSheet(), *group);
    runGroupCard(card);
}

void CatalogueWindow::removeCurrent() {
    m_logic.removeCurrent();
    showAll();
}

void CatalogueWindow::moveMarked(bool toSheet) {
    auto operation = m_logic.prepareMove(toSheet);
    if (!operation)
        return;
    MoveDialog dialog(*operation, m_ui, this);
    if (dialog.exec() == QDialog::Accepted)
        m_logic.afterMove();
    showAll();
}

void CatalogueWindow::showSheetList() {
    SheetListWindow window(m_ui, catalogue::SheetListMode::Pick, true, this);
    const bool picked = window.exec() == QDialog::Accepted;
    const auto sheet = window.logic().current();
    if (picked || window.changedSheets()) {
        m_logic.reloadSheets(picked && sheet ? sheet->id : m_logic.activeSheet());
        buildTabs();
        showAll();
    }
}

void CatalogueWindow::pick() {
    if (m_logic.mode() != catalogue::CatalogueMode::Pick)
        return;
    const bool marked = !m_logic.items().marks().empty();
    auto picked = m_logic.pickItems();
    if (!picked.empty()) {
        m_picked = std::move(picked);
        m_pickedMarked = marked;
        accept();
    }
}

void CatalogueWindow::toggleMark() {
    if (m_logic.groupsActive()) {
        if (const auto g = m_logic.currentGroupIndex()) {
            m_logic.setGroupMarked(*g, !m_logic.isGroupMarked(m_logic.groups()[*g].id));
            m_groupsView->viewport()->update();
        }
        return;
    }
    const int row = m_logic.currentItemRow();
    if (row >= 0)
        m_logic.items().setMarked(row, !m_logic.items().isMarked(m_logic.currentItemId()));
}

QLineEdit* CatalogueWindow::findBox() const {
    return m_findPanel->field();
}

bool CatalogueWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QTableView*>(watched);
    if (!view)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        m_logic.setFocusedGrid(view == m_groupsView ? CatalogueGrid::Groups : CatalogueGrid::Items);
        updateButtons();
        view->viewport()->update();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (ctrl && key->key() == Qt::Key_Plus) {
            m_logic.markAll();
            view->viewport()->update();
            return true;
        }
        if (ctrl && key->key() == Qt::Key_Minus) {
            m_logic.clearMarks();
            view->viewport()->update();
            return true;
        }
        if (key->key() == Qt::Key_Space && !ctrl) {
            toggleMark();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            activateCurrent();
            return true;
        }
        if (QuickFindPanel::opensFind(key)) {
            m_findPanel->openFor(view, key->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CatalogueWindow::editFilter() {
    const auto entries = ItemFilterDialog::run(m_ui, m_logic.entriesForDialog(), this);
    if (!entries)
        return;
    m_logic.applyFilter(*entries);
    showCurrentRows();
}

// The two bulk wizards on the marked groups or items; after a finished run the marks go and
// both grids show the changed items again where they were.
void CatalogueWindow::runBulkWizard(bool bulkUpdate) {
    if (!m_navigator)
        return;
    const auto kind = m_logic.checkMarks(true);
    if (!kind)
        return;
    catalogue::MarkedRows marked{m_logic.groupMarks(), m_logic.items().marks(),
                                 m_logic.items().sortField(), m_logic.itemCondition()};
    const auto mode = *kind == catalogue::MarkedKind::Groups
                          ? catalogue::SelectionMode::MarkedGroups
                          : catalogue::SelectionMode::MarkedItems;
    core::Database& db = core::programState().db->agenda;
    const int result =
        bulkUpdate
            ? BulkItemUpdateWizard::open(db, m_ui, *m_navigator, mode, std::move(marked), this)
            : RepricingWizard::open(db, m_ui, *m_navigator, mode, std::move(marked), this);
    if (result == 0) {
        m_logic.clearMarks();
        m_logic.refresh();
    }
    showAll();
}

} // namespace orvento::ui
