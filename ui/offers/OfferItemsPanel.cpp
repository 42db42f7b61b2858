#include "ui/offers/OfferItemsPanel.h"

#include "core/AmountFormat.h"
#include "core/AppContext.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemsModel.h"
#include "ui/GridBinding.h"
#include "ui/QuickFind.h"
#include "ui/offers/OfferItemCommands.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace orvento::ui {

using offers::OfferItemsModel;

namespace {

const QColor kMarkedSelected(0, 0, 128);
const QColor kMarkedBackground(190, 190, 190);
const QColor kCostSelected(128, 0, 0);

// Cost items red (white on dark red when selected), marked rows grey (dark blue when selected).
class ItemRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool selected = option->state & QStyle::State_Selected;
        if (index.data(OfferItemsModel::MarkedRole).toBool()) {
            if (selected)
                option->palette.setColor(QPalette::Highlight, kMarkedSelected);
            else
                option->backgroundBrush = kMarkedBackground;
        }
        if (index.data(OfferItemsModel::CostRole).toBool()) {
            if (selected) {
                option->palette.setColor(QPalette::Highlight, kCostSelected);
                option->palette.setColor(QPalette::HighlightedText, Qt::white);
            } else {
                option->palette.setColor(QPalette::Text, Qt::red);
            }
        }
    }
};

} // namespace

OfferItemsPanel::OfferItemsPanel(core::AppContext& context, offers::OfferCardLogic& logic,
                                 offers::OfferItemsModel& model, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_logic(logic)
    , m_model(model) {
    bindGrid();
    buildFrozenMarkers();
    buildQuickFind();
    m_commands = new OfferItemCommands(context, logic, this);
    connect(m_commands, &OfferItemCommands::itemsChanged, this, &OfferItemsPanel::itemsChanged);
    buildMarkedSums();
    buildGridMenu();
    layOut();
}

// Building ---------------------------------------------------------------------------------------

void OfferItemsPanel::bindGrid() {
    m_grid = makeListGrid(this, QStringLiteral("grPolozky"));
    m_grid->setToolTip(QStringLiteral("Položky nabídky (F11)"));
    m_binding =
        new GridBinding(m_grid, &m_model, m_context.profile(), services::GridId::OfferItems);
    m_grid->setItemDelegate(new ItemRowDelegate(m_grid));
    connect(m_binding, &GridBinding::sortRequested, this, &OfferItemsPanel::sortBy);
    connect(m_grid, &QTableView::doubleClicked, this,
            [this] { runOnItems([this] { m_logic.editCurrent(); }); });
    m_grid->installEventFilter(this);
}

// The marker columns stay in place while the grid scrolls sideways: a second view over the same
// rows shows them on top of the grid's left edge.
void OfferItemsPanel::buildFrozenMarkers() {
    m_frozen = new QTableView(m_grid);
    m_frozen->setObjectName(QStringLiteral("grPolozkyZnacky"));
    m_frozen->setModel(m_grid->model());
    m_frozen->setSelectionModel(m_grid->selectionModel());
    m_frozen->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setDefaultSectionSize(
        m_grid->verticalHeader()->defaultSectionSize());
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setItemDelegate(new ItemRowDelegate(m_frozen));
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, m_grid->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showing)
                    m_logic.setCurrent(current.isValid() ? std::optional<std::size_t>(current.row())
                                                         : std::nullopt);
            });
}

void OfferItemsPanel::buildQuickFind() {
    m_find = new QuickFindPanel(this);
    connect(m_find, &QuickFindPanel::textEdited, this, &OfferItemsPanel::findItem);
}

void OfferItemsPanel::buildMarkedSums() {
    m_marks = new QLabel(this);
    m_marks->setObjectName(QStringLiteral("lblOznaceno"));
    // The sums of the marked items, each under its column.
    m_markedSums = m_binding->footer(this);
    m_markedSums->setObjectName(QStringLiteral("lblSoucetOzn"));
    m_markedSums->hide();
}

void OfferItemsPanel::buildGridMenu() {
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("mnuPolozky"));
    gridMenu->addAction(QStringLiteral("Označit vše (Ctrl+plus)"), this,
                        [this] { runOnItems([this] { m_logic.markAll(true); }); });
    gridMenu->addAction(QStringLiteral("Zrušit označení (Ctrl+mínus)"), this,
                        [this] { runOnItems([this] { m_logic.markAll(false); }); });
    gridMenu->addAction(QStringLiteral("Nastavit zámek"), this,
                        [this] { runOnItems([this] { m_logic.setLocks(true, false); }); });
    gridMenu->addAction(QStringLiteral("Zrušit zámek"), this,
                        [this] { runOnItems([this] { m_logic.setLocks(false, false); }); });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this, gridMenu](const QPoint& at) {
        gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
}

void OfferItemsPanel::layOut() {
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_find);
    gridColumn->addWidget(m_grid, 1);
    gridColumn->addWidget(m_markedSums);
    gridColumn->addWidget(m_marks);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(gridColumn, 1);
    layout->addWidget(m_commands);
}

// Showing ----------------------------------------------------------------------------------------

void OfferItemsPanel::showItems() {
    m_showing = true;
    m_model.reload();
    m_showing = false;
    selectCurrent();
    m_marks->setText(m_logic.marksLabel());
    m_marks->setVisible(m_logic.markedCount() > 0);
    m_commands->showSumOfMarksSwitch();
    if (m_commands->sumOfMarks())
        showMarkedSums();
    m_markedSums->setVisible(m_commands->sumOfMarks());
    m_commands->showDiscount(m_logic.offer().totals().anyDiscount);
}

void OfferItemsPanel::showMarkedSums() {
    const offers::MarkedSums sums = m_logic.markedSums();
    m_binding->setFooterText(QStringLiteral("NakCenaPol"), core::formatAmount(sums.purchase));
    m_binding->setFooterText(QStringLiteral("PCBDPHPOL"), core::formatAmount(sums.net));
    m_binding->setFooterText(QStringLiteral("PCSDPHPOL"), core::formatAmount(sums.gross));
    m_binding->setFooterText(QStringLiteral("ZiskPol"), core::formatAmount(sums.profit));
}

void OfferItemsPanel::selectCurrent() {
    const auto current = m_logic.current();
    if (!current)
        return;
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column()
                                                        : OfferItemsModel::kMarkerColumns;
    m_showing = true;
    m_grid->setCurrentIndex(m_grid->model()->index(static_cast<int>(*current), column));
    m_showing = false;
}

void OfferItemsPanel::applyPurchasePriceVisibility() {
    const bool visible = m_logic.purchasePricesVisible();
    for (const QString& field : offers::OfferCardLogic::purchasePriceFields())
        m_binding->setFieldHidden(field, !visible);
    placeFrozenMarkers();
}

// The marker view shows only the marker columns, over the grid's left edge.
void OfferItemsPanel::placeFrozenMarkers() {
    const int count = m_model.columnCount();
    int width = 0;
    for (int c = 0; c < count; ++c) {
        const bool marker = c < OfferItemsModel::kMarkerColumns;
        m_frozen->setColumnHidden(c, !marker);
        if (marker) {
            m_frozen->setColumnWidth(c, m_grid->columnWidth(c));
            width += m_grid->columnWidth(c);
        }
    }
    m_frozen->setGeometry(m_grid->verticalHeader()->width() + m_grid->frameWidth(),
                          m_grid->frameWidth(), width,
                          m_grid->viewport()->height() + m_grid->horizontalHeader()->height());
    m_frozen->show();
}

// Commands ---------------------------------------------------------------------------------------

void OfferItemsPanel::runOnItems(const std::function<void()>& command) {
    command();
    emit itemsChanged();
}

void OfferItemsPanel::sortBy(const QString& field) {
    if (const auto column = offers::OfferCardLogic::sortColumnOf(field))
        runOnItems([&] { m_logic.sortBy(*column); });
}

// Quick find in the column the person stands in (the description before any), as the grid
// shows its columns.
void OfferItemsPanel::findItem(const QString& text) {
    const int column = m_grid->currentIndex().isValid()
                           ? m_grid->currentIndex().column()
                           : OfferItemsModel::columnOf(QStringLiteral("Popis"));
    const int source = m_binding->proxy()->mapToSource(m_grid->model()->index(0, column)).column();
    if (const auto row = m_model.findRow(source, text))
        m_grid->setCurrentIndex(m_grid->model()->index(*row, column));
}

bool OfferItemsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::Resize) {
        applyPurchasePriceVisibility();
        return false;
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        runGridKey(static_cast<const QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

// The grid's own keys; false for a key the grid handles as any grid does.
bool OfferItemsPanel::runGridKey(const QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    std::function<void()> command;
    if (ctrl && key->key() == Qt::Key_Up)
        command = [this] {
            m_logic.moveCurrent(true);
        };
    else if (ctrl && key->key() == Qt::Key_Down)
        command = [this] {
            m_logic.moveCurrent(false);
        };
    else if (ctrl && key->key() == Qt::Key_Delete)
        command = [this] {
            m_logic.removeCurrent();
        };
    else if (ctrl && key->key() == Qt::Key_Plus)
        command = [this] {
            m_logic.markAll(true);
        };
    else if (ctrl && key->key() == Qt::Key_Minus)
        command = [this] {
            m_logic.markAll(false);
        };
    else if (!ctrl && enter)
        command = [this] {
            m_logic.editCurrent();
        };
    else if (!ctrl && key->key() == Qt::Key_Space)
        command = [this] {
            if (const auto current = m_logic.current())
                m_logic.setMark(*current, !m_logic.marks()[*current]);
        };
    if (command) {
        runOnItems(command);
        return true;
    }
    if (QuickFindPanel::opensFind(key)) {
        m_find->openFor(m_grid, key->text());
        return true;
    }
    return false;
}

} // namespace orvento::ui
