#include "ui/offers/OfferListWindow.h"

#include "core/AppContext.h"
#include "core/ProgramEvents.h"
#include "offers/OfferStates.h"
#include "services/GridLayouts.h"
#include "services/ProfileSession.h"
#include "ui/GridBinding.h"
#include "ui/Help.h"
#include "ui/QuickFind.h"
#include "ui/WindowPlacementBinding.h"
#include "ui/offers/OfferFilterDialog.h"
#include "ui/offers/OfferSumsDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
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

QLabel* legendLine(const QString& text, const QColor& colour, QWidget* parent, bool bold = false,
                   bool struck = false) {
    auto* label = new QLabel(text, parent);
    // A narrow window wraps the legend rather than growing to fit it.
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    font.setStrikeOut(struck);
    label->setFont(font);
    return label;
}

} // namespace

QColor OfferRowDelegate::textColour(int state) {
    switch (state) {
    case offers::OfferState::InProgress:
        return Qt::blue;
    case offers::OfferState::Correction:
        return Qt::magenta;
    case offers::OfferState::Accepted:
        return QColor(0, 128, 0);
    case offers::OfferState::NoResponse:
    case offers::OfferState::Rejected:
    case offers::OfferState::Cancelled:
        return Qt::red;
    default:
        return Qt::black;
    }
}

QColor OfferRowDelegate::selectedBackground(int state) {
    switch (state) {
    case offers::OfferState::InProgress:
        return Qt::blue;
    case offers::OfferState::Correction:
        return QColor(128, 0, 128);
    case offers::OfferState::Accepted:
        return QColor(0, 128, 0);
    case offers::OfferState::NoResponse:
    case offers::OfferState::Rejected:
    case offers::OfferState::Cancelled:
        return QColor(128, 0, 0);
    default:
        return {};
    }
}

void OfferRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const int state = index.data(OfferListModel::StateRole).toInt();
    option->palette.setColor(QPalette::Text, textColour(state));
    if (const QColor selected = selectedBackground(state); selected.isValid()) {
        option->palette.setColor(QPalette::Highlight, selected);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
    if (state == offers::OfferState::Cancelled)
        option->font.setStrikeOut(true);
    if (index.data(OfferListModel::ExpiredRole).toBool())
        option->font.setBold(true);
    if (index.data(OfferListModel::MarkedRole).toBool()) {
        if (option->state & QStyle::State_Selected) {
            option->palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
        } else {
            option->backgroundBrush = QColor(190, 190, 190);
        }
    }
}

OfferListWindow::OfferListWindow(core::AppContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(context)
    , m_grid(makeListGrid(this, QStringLiteral("grNabidky")))
    , m_findPanel(new QuickFindPanel(this))
    , m_legendSwitch(new QCheckBox(QStringLiteral("Legenda"), this))
    , m_add(new QPushButton(QStringLiteral("&Přidat"), this))
    , m_edit(new QPushButton(QStringLiteral("&Opravit"), this))
    , m_copy(new QPushButton(QStringLiteral("&Kopírovat"), this))
    , m_remove(new QPushButton(QStringLiteral("Vyjmout"), this))
    , m_filter(new QPushButton(QStringLiteral("Filtr"), this))
    , m_print(new QPushButton(QStringLiteral("&Tisk"), this))
    , m_other(new QPushButton(QStringLiteral("Ostatní"), this)) {
    setObjectName(QStringLiteral("frmNabidky"));
    setWindowTitle(offers::OfferListLogic::caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_binding =
        new GridBinding(m_grid, &m_logic.rows(), context.profile(), services::GridId::OfferList);
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

    // Buttons.
    m_add->setObjectName(QStringLiteral("btnPridat"));
    m_add->setToolTip(QStringLiteral("Přidat novou nabídku (Alt+P)"));
    m_edit->setObjectName(QStringLiteral("btnOpravit"));
    m_edit->setToolTip(QStringLiteral("Opravit nabídku (Alt+O)"));
    m_copy->setObjectName(QStringLiteral("btnKopirovat"));
    m_copy->setToolTip(QStringLiteral("Zkopírovat nabídku (Alt+K)"));
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    m_remove->setToolTip(QStringLiteral("Vyjmout nabídku"));
    m_filter->setObjectName(QStringLiteral("btnFiltr"));
    m_filter->setToolTip(QStringLiteral("Filtr seznamu"));
    auto* refreshButton = new QPushButton(QStringLiteral("O&bnovit"), this);
    refreshButton->setObjectName(QStringLiteral("btnObnovit"));
    refreshButton->setToolTip(QStringLiteral("Refresh seznamu z databáze"));
    m_print->setObjectName(QStringLiteral("btnTisk"));
    m_print->setToolTip(QStringLiteral("Tiskové sestavy (Alt+T)"));
    m_other->setObjectName(QStringLiteral("btnOstatni"));
    auto* otherMenu = new QMenu(this);
    otherMenu->setObjectName(QStringLiteral("mnuOstatni"));
    auto addOther = [&](const char* name, const QString& text, auto slot) {
        QAction* act = otherMenu->addAction(text, this, slot);
        act->setObjectName(QString::fromLatin1(name));
        return act;
    };
    addOther("actSoucet", QStringLiteral("Součet"), [this] { showSums(); });
    // XML export comes with its own issue.
    m_export = addOther("actExportXml", QStringLiteral("Export do XML"), [] {});
    m_export->setEnabled(false);
    addOther("actHistorie", QStringLiteral("Historie akcí"), [this] { showHistory(); });
    otherMenu->addSeparator();
    addOther("actUzamknout", QStringLiteral("Uzamknout doklad"), [this] { setLocked(true); });
    addOther("actOdemknout", QStringLiteral("Odemknout doklad"), [this] { setLocked(false); });
    m_other->setMenu(otherMenu);
    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    close->setToolTip(QStringLiteral("Zavřít seznam nabídek (Esc)"));
    auto* help = new QPushButton(QStringLiteral("Nápověda"), this);
    help->setObjectName(QStringLiteral("btnNapoveda"));

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
         {m_add, m_edit, m_copy, m_remove, m_filter, refreshButton, m_print, m_other}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    m_legendSwitch->setObjectName(QStringLiteral("chckLegenda"));
    buttons->addWidget(m_legendSwitch);
    for (QPushButton* b : {help, close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    m_legend = buildLegend();
    auto* gridLayout = new QVBoxLayout;
    gridLayout->addWidget(m_findPanel);
    gridLayout->addWidget(m_grid, 1);
    gridLayout->addWidget(m_legend);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(gridLayout, 1);
    layout->addLayout(buttons);

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
    resize(1100, 640);
    // The list comes back where the person left it.
    new WindowPlacementBinding(this, context.profile(), services::WindowId::OfferList);

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

QWidget* OfferListWindow::buildLegend() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlLegenda"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(0);
    auto* title = new QLabel(QStringLiteral("Legenda:"), panel);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0);
    const QColor black(Qt::black);
    grid->addWidget(legendLine(QStringLiteral("modrá - rozpracovaná nabídka (zatím neodeslaná)"),
                               OfferRowDelegate::textColour(0), panel),
                    1, 0);
    grid->addWidget(legendLine(QStringLiteral("černá - vytištěná/odeslaná nabídka (čekáme na "
                                              "vyjádření odběratele)"),
                               black, panel),
                    2, 0);
    grid->addWidget(legendLine(QStringLiteral("fialová - korekce (probíhá dodatečná úprava "
                                              "nabídky)"),
                               OfferRowDelegate::textColour(2), panel),
                    3, 0);
    grid->addWidget(legendLine(QStringLiteral("zelená - uzavřená nabídka (odběratel nabídku "
                                              "akceptoval)"),
                               OfferRowDelegate::textColour(3), panel),
                    1, 1);
    grid->addWidget(legendLine(QStringLiteral("červená - zamítnutá nabídka nebo nabídka bez "
                                              "reakce"),
                               OfferRowDelegate::textColour(4), panel),
                    2, 1);
    auto* struck = new QHBoxLayout;
    struck->setSpacing(4);
    struck->addWidget(legendLine(QStringLiteral("červená přeškrtnutá"),
                                 OfferRowDelegate::textColour(6), panel, false, true));
    struck->addWidget(legendLine(QStringLiteral("- stornovaná nabídka"), black, panel));
    struck->addStretch();
    grid->addLayout(struck, 3, 1);
    auto* expired = new QHBoxLayout;
    expired->setSpacing(4);
    expired->addWidget(legendLine(QStringLiteral("tučné písmo"), black, panel, true));
    expired->addWidget(
        legendLine(QStringLiteral("- prošlá (datum platnosti je nižší než dnešní)"), black, panel));
    expired->addStretch();
    grid->addLayout(expired, 1, 2);
    grid->addWidget(legendLine(QStringLiteral("záznamy se symbolem × ve sloupci [Z] označují "
                                              "zamknuté doklady"),
                               black, panel),
                    2, 2);
    return panel;
}

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
