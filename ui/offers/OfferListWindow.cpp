#include "ui/offers/OfferListWindow.h"

#include "core/AppContext.h"
#include "core/ProgramEvents.h"
#include "offers/OfferStates.h"
#include "services/GridLayouts.h"
#include "services/ProfileSession.h"
#include "ui/CommandButton.h"
#include "ui/GridBinding.h"
#include "ui/Help.h"
#include "ui/QuickFind.h"
#include "ui/WindowPlacementBinding.h"
#include "ui/offers/OfferFilterDialog.h"
#include "ui/offers/OfferListColours.h"
#include "ui/offers/OfferSumsDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using offers::OfferListModel;

// The window's size as designed, before the remembered placement applies.
constexpr int kDesignWidth = 1100;
constexpr int kDesignHeight = 640;

} // namespace

OfferListWindow::OfferListWindow(core::AppContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(context)
    , m_grid(makeListGrid(this, QStringLiteral("grNabidky")))
    , m_findPanel(new QuickFindPanel(this))
    , m_legendSwitch(new QCheckBox(QStringLiteral("Legenda"), this))
    , m_add(makeCommandButton(this, "btnPridat", QStringLiteral("&Přidat"),
                              QStringLiteral("Přidat novou nabídku (Alt+P)")))
    , m_edit(makeCommandButton(this, "btnOpravit", QStringLiteral("&Opravit"),
                               QStringLiteral("Opravit nabídku (Alt+O)")))
    , m_copy(makeCommandButton(this, "btnKopirovat", QStringLiteral("&Kopírovat"),
                               QStringLiteral("Zkopírovat nabídku (Alt+K)")))
    , m_remove(makeCommandButton(this, "btnVyjmout", QStringLiteral("Vyjmout"),
                                 QStringLiteral("Vyjmout nabídku")))
    , m_filter(makeCommandButton(this, "btnFiltr", QStringLiteral("Filtr"),
                                 QStringLiteral("Filtr seznamu")))
    , m_print(makeCommandButton(this, "btnTisk", QStringLiteral("&Tisk"),
                                QStringLiteral("Tiskové sestavy (Alt+T)")))
    , m_other(makeCommandButton(this, "btnOstatni", QStringLiteral("Ostatní"))) {
    setObjectName(QStringLiteral("frmNabidky"));
    setWindowTitle(offers::OfferListLogic::caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    bindGrid();
    QVBoxLayout* commands = buildCommands();
    m_legend = makeOfferListLegend(this);
    layOut(commands);
    connectKeysAndEvents();
    resize(kDesignWidth, kDesignHeight);
    // The list comes back where the person left it.
    new WindowPlacementBinding(this, context.profile(), services::WindowId::OfferList);
    showOpenedList();
}

OfferListWindow::~OfferListWindow() {
    if (!m_closed)
        m_logic.close();
}

void OfferListWindow::open(core::AppContext& context, QWidget* parent) {
    if (!offers::OfferListLogic::mayOpen(context.ui()))
        return;
    OfferListWindow window(context, parent);
    if (context.profile().placement(services::WindowId::OfferList).maximised)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}

void OfferListWindow::done(int result) {
    if (!m_closed) {
        m_logic.close();
        m_closed = true;
    }
    QDialog::done(result);
}

// Building ---------------------------------------------------------------------------------------

void OfferListWindow::bindGrid() {
    m_binding =
        new GridBinding(m_grid, &m_logic.rows(), m_context.profile(), services::GridId::OfferList);
    m_grid->setItemDelegate(new OfferRowDelegate(m_grid));
    connect(m_binding, &GridBinding::sortRequested, this, &OfferListWindow::sortBy);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_updating && current.isValid()) {
                    m_logic.setCurrentRow(current.row());
                    updateButtons();
                }
            });
    connect(m_grid, &QTableView::doubleClicked, this,
            [this] { openCard(core::OfferCardMode::Existing); });
    m_grid->installEventFilter(this);

    connect(m_findPanel, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        m_logic.quickFind(text);
        showCurrentRow();
    });
}

// The command column: the list's commands, the legend switch, help and close.
QVBoxLayout* OfferListWindow::buildCommands() {
    auto* refreshButton = makeCommandButton(this, "btnObnovit", QStringLiteral("O&bnovit"),
                                            QStringLiteral("Refresh seznamu z databáze"));
    m_other->setMenu(buildOtherMenu());
    auto* close = makeCommandButton(this, "btnZavrit", QStringLiteral("Zavřít"),
                                    QStringLiteral("Zavřít seznam nabídek (Esc)"));
    auto* help = makeCommandButton(this, "btnNapoveda", QStringLiteral("Nápověda"));

    connect(m_add, &QPushButton::clicked, this, [this] { openCard(core::OfferCardMode::New); });
    connect(m_edit, &QPushButton::clicked, this,
            [this] { openCard(core::OfferCardMode::Existing); });
    connect(m_copy, &QPushButton::clicked, this, [this] { openCard(core::OfferCardMode::Copy); });
    connect(m_remove, &QPushButton::clicked, this, &OfferListWindow::removeSelected);
    connect(m_print, &QPushButton::clicked, this, &OfferListWindow::printOffers);
    connect(m_filter, &QPushButton::clicked, this, &OfferListWindow::showFilter);
    connect(refreshButton, &QPushButton::clicked, this, &OfferListWindow::refresh);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { openHelpTopic(offers::OfferListLogic::helpTopic()); });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b :
         {m_add, m_edit, m_copy, m_remove, m_filter, refreshButton, m_print, m_other})
        buttons->addWidget(b);
    buttons->addStretch();
    m_legendSwitch->setObjectName(QStringLiteral("chckLegenda"));
    buttons->addWidget(m_legendSwitch);
    for (QPushButton* b : {help, close})
        buttons->addWidget(b);
    return buttons;
}

QMenu* OfferListWindow::buildOtherMenu() {
    auto* otherMenu = new QMenu(this);
    otherMenu->setObjectName(QStringLiteral("mnuOstatni"));
    auto addOther = [&](const char* name, const QString& text, auto slot) {
        QAction* act = otherMenu->addAction(text, this, slot);
        act->setObjectName(QString::fromLatin1(name));
        return act;
    };
    addOther("actSoucet", QStringLiteral("Součet"), [this] { showSums(); });
    m_export = addOther("actExportXml", QStringLiteral("Export do XML"),
                        [this] { runOnce(m_exportBusy, [this] { m_logic.exportXml(); }); });
    addOther("actHistorie", QStringLiteral("Historie akcí"), [this] { showHistory(); });
    otherMenu->addSeparator();
    addOther("actUzamknout", QStringLiteral("Uzamknout doklad"), [this] { setLocked(true); });
    addOther("actOdemknout", QStringLiteral("Odemknout doklad"), [this] { setLocked(false); });
    return otherMenu;
}

void OfferListWindow::layOut(QVBoxLayout* commands) {
    auto* gridLayout = new QVBoxLayout;
    gridLayout->addWidget(m_findPanel);
    gridLayout->addWidget(m_grid, 1);
    gridLayout->addWidget(m_legend);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(gridLayout, 1);
    layout->addLayout(commands);
}

void OfferListWindow::connectKeysAndEvents() {
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this, [this] {
        m_logic.togglePurchasePrices();
        showRows();
    });
    connect(&m_context.events(), &core::ProgramEvents::purchasePricesDisplayChanged, this, [this] {
        m_logic.rows().setProfitVisible(m_logic.profitShown());
        showRows();
    });
    installHelpKey(this, offers::OfferListLogic::helpTopic());
    m_logic.setOnChanged([this] { showRows(); });
}

// The rows read, on the remembered offer, with the legend as it was left.
void OfferListWindow::showOpenedList() {
    m_logic.open();
    m_legendSwitch->setChecked(m_logic.legendShown());
    connect(m_legendSwitch, &QCheckBox::toggled, this, [this](bool shown) {
        m_logic.setLegendShown(shown);
        m_legend->setVisible(shown);
    });
    m_legend->setVisible(m_logic.legendShown());
    showRows();
    m_grid->setFocus();
}

// Showing ----------------------------------------------------------------------------------------

QPushButton* OfferListWindow::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

QAction* OfferListWindow::otherAction(const QString& objectName) const {
    return m_other->menu()->findChild<QAction*>(objectName);
}

void OfferListWindow::showRows() {
    m_binding->setFieldHidden(QStringLiteral("Zisk"), !m_logic.profitShown());
    QFont font = m_filter->font();
    font.setBold(m_logic.filterActive());
    m_filter->setFont(font);
    m_filter->setText(m_logic.filterActive() ? QStringLiteral("Filtr !") : QStringLiteral("Filtr"));
    m_grid->viewport()->update();
    showCurrentRow();
}

void OfferListWindow::showCurrentRow() {
    {
        const QScopedValueRollback updating(m_updating, true);
        const int row = m_logic.currentRow();
        if (row >= 0) {
            // The cell of the column shown first: the model's first column may stand further
            // right (the sort column moves to the front), and scrolling to it would hide the
            // columns before it.
            const QHeaderView* header = m_grid->horizontalHeader();
            int column = 0;
            for (int visual = 0; visual < header->count(); ++visual) {
                if (!header->isSectionHidden(header->logicalIndex(visual))) {
                    column = header->logicalIndex(visual);
                    break;
                }
            }
            const QModelIndex index = m_grid->model()->index(row, column);
            m_grid->setCurrentIndex(index);
            m_grid->scrollTo(index);
        } else {
            m_grid->clearSelection();
        }
    }
    updateButtons();
}

void OfferListWindow::updateButtons() {
    const offers::OfferListButtons b = m_logic.buttons();
    m_add->setEnabled(b.add);
    m_edit->setEnabled(b.edit);
    m_copy->setEnabled(b.copy);
    m_remove->setEnabled(b.remove);
    m_print->setEnabled(b.print);
    m_other->setEnabled(b.other);
}

void OfferListWindow::runOnce(bool& busy, const std::function<void()>& work) {
    if (busy)
        return;
    const QScopedValueRollback running(busy, true);
    work();
}

void OfferListWindow::sortBy(const QString& field) {
    if (!m_logic.sortBy(field))
        return;
    // The clicked column moves to the first place.
    QHeaderView* header = m_grid->horizontalHeader();
    const QStringList& fields = OfferListModel::fields();
    for (int section = 0; section < fields.size(); ++section)
        if (fields.at(section).compare(field, Qt::CaseInsensitive) == 0)
            header->moveSection(header->visualIndex(section), 0);
    m_binding->setSortField(m_logic.rows().sortField());
    showCurrentRow();
}

void OfferListWindow::openCard(core::OfferCardMode mode) {
    QPushButton* pressed = mode == core::OfferCardMode::New        ? m_add
                           : mode == core::OfferCardMode::Existing ? m_edit
                                                                   : m_copy;
    if (!pressed->isEnabled())
        return;
    bool& busy = mode == core::OfferCardMode::New        ? m_addBusy
                 : mode == core::OfferCardMode::Existing ? m_editBusy
                                                         : m_copyBusy;
    runOnce(busy, [&] {
        m_logic.openCard(mode);
        showRows();
    });
}

void OfferListWindow::printOffers() {
    if (!m_print->isEnabled())
        return;
    runOnce(m_printBusy, [this] { m_logic.printList(); });
}

void OfferListWindow::removeSelected() {
    if (!m_remove->isEnabled())
        return;
    runOnce(m_removeBusy, [this] {
        m_logic.removeSelected();
        showRows();
    });
}

void OfferListWindow::showFilter() {
    OfferFilterDialog dialog(m_logic, this);
    dialog.exec();
    showRows();
}

void OfferListWindow::refresh() {
    m_logic.refresh();
    showRows();
}

void OfferListWindow::showSums() {
    const auto sums = m_logic.sums();
    if (!sums)
        return;
    OfferSumsDialog dialog(*sums, m_logic.profitShown(), this);
    dialog.exec();
}

void OfferListWindow::showHistory() {
    m_logic.showHistory();
}

void OfferListWindow::setLocked(bool locked) {
    m_logic.setLocked(locked);
    showRows();
}

void OfferListWindow::toggleMark() {
    m_logic.toggleMark(m_logic.currentRow());
}

QLineEdit* OfferListWindow::findBox() const {
    return m_findPanel->field();
}

bool OfferListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (ctrl && key->key() == Qt::Key_Plus) {
            m_logic.markAll();
            return true;
        }
        if (ctrl && key->key() == Qt::Key_Minus) {
            m_logic.clearMarks();
            return true;
        }
        if (key->key() == Qt::Key_Space && !ctrl) {
            toggleMark();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openCard(core::OfferCardMode::Existing);
            return true;
        }
        if (QuickFindPanel::opensFind(key)) {
            m_findPanel->openFor(m_grid, key->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
