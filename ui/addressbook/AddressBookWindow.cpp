#include "ui/addressbook/AddressBookWindow.h"

#include "core/AppContext.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "services/GridLayouts.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/CatalogueRowDelegate.h"
#include "ui/GridBinding.h"
#include "ui/Help.h"
#include "ui/WindowPlacementBinding.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using addressbook::AddressBookMode;
using addressbook::FirmCardMode;
using addressbook::FirmListModel;

// The window's size as designed, before a remembered placement replaces it.
constexpr int kDesignWidth = 1000;
constexpr int kDesignHeight = 600;
// Room above and below a row's text.
constexpr int kRowPadding = 6;
constexpr int kFindFieldWidth = 300;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

AddressBookWindow::AddressBookWindow(core::AppContext& context, AddressBookMode mode,
                                     QWidget* parent, std::optional<qint64> startOn)
    : QDialog(parent)
    , m_context(context)
    , m_logic(core::programState().db->agenda, context.ui(), context.profile(), mode)
    , m_grid(new QTableView(this))
    , m_binding(nullptr)
    , m_findPanel(new QWidget(this))
    , m_find(new QLineEdit(this))
    , m_edit(makeButton(QStringLiteral("&Opravit"), "btnOpravit", this))
    , m_copy(makeButton(QStringLiteral("&Kopírovat"), "btnKopirovat", this))
    , m_remove(makeButton(QStringLiteral("&Vyjmout"), "btnVyjmout", this))
    , m_print(makeButton(QStringLiteral("&Tisk"), "btnTisk", this))
    , m_other(makeButton(QStringLiteral("Ostatní"), "btnOstatni", this))
    , m_ok(makeButton(QStringLiteral("OK"), "btnOK", this)) {
    setObjectName(QStringLiteral("frmAdresar"));
    setWindowTitle(addressbook::AddressBookLogic::caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    buildGrid();
    buildFindPanel();
    QVBoxLayout* buttons = buildButtons();
    auto* gridLayout = new QVBoxLayout;
    gridLayout->setSpacing(0);
    gridLayout->addWidget(m_findPanel);
    gridLayout->addWidget(m_grid, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(gridLayout, 1);
    layout->addLayout(buttons);
    installKeys();

    resize(kDesignWidth, kDesignHeight);
    m_placement =
        new WindowPlacementBinding(this, context.profile(), services::WindowId::AddressBook);

    m_logic.open(startOn);
    showCurrentRow();
    m_grid->setFocus();
}

void AddressBookWindow::buildGrid() {
    m_grid->setObjectName(QStringLiteral("grAdresar"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + kRowPadding);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->setWordWrap(false);
    m_binding = new GridBinding(m_grid, &m_logic.firms(), m_context.profile(),
                                services::GridId::AddressBook);
    m_grid->setItemDelegate(new CatalogueRowDelegate(FirmListModel::MarkedRole, -1, m_grid));
    connect(m_binding, &GridBinding::sortRequested, this, &AddressBookWindow::sortBy);
    m_grid->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_updating && current.isValid())
                    m_logic.setCurrentRow(current.row());
            });
    connect(m_grid, &QTableView::doubleClicked, this, &AddressBookWindow::activate);
}

void AddressBookWindow::buildFindPanel() {
    auto* findLabel = new QLabel(QStringLiteral("vyhledávací políčko zavřete klávesou Tab"), this);
    m_find->setObjectName(QStringLiteral("edtHledat"));
    m_find->setMaximumWidth(kFindFieldWidth);
    auto* findLayout = new QHBoxLayout(m_findPanel);
    findLayout->setContentsMargins(0, 2, 0, 2);
    findLayout->addWidget(m_find);
    findLayout->addWidget(findLabel);
    findLayout->addStretch();
    m_findPanel->hide();
    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.quickFind(text);
        showCurrentRow();
    });
    connect(m_find, &QLineEdit::returnPressed, this, &AddressBookWindow::closeFind);
}

QVBoxLayout* AddressBookWindow::buildButtons() {
    auto* add = makeButton(QStringLiteral("&Přidat"), "btnPridat", this);
    auto* refreshButton = makeButton(QStringLiteral("O&bnovit"), "btnObnovit", this);
    auto* close = makeButton(QStringLiteral("Zavřít"), "btnZavrit", this);
    m_print->setToolTip(QStringLiteral("Tisk adresáře"));
    m_ok->setToolTip(QStringLiteral("Přenést adresu do nabídky (Enter)"));
    m_other->setMenu(buildOtherMenu());
    connect(add, &QPushButton::clicked, this, &AddressBookWindow::addFirm);
    connect(m_edit, &QPushButton::clicked, this, &AddressBookWindow::editCurrent);
    connect(m_copy, &QPushButton::clicked, this, &AddressBookWindow::copyCurrent);
    connect(m_remove, &QPushButton::clicked, this, &AddressBookWindow::removeCurrent);
    connect(m_print, &QPushButton::clicked, this, &AddressBookWindow::printFirms);
    connect(refreshButton, &QPushButton::clicked, this, &AddressBookWindow::refresh);
    connect(m_ok, &QPushButton::clicked, this, &AddressBookWindow::pick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, m_edit, m_copy, m_remove, refreshButton, m_print, m_other})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(close);
    return buttons;
}

QMenu* AddressBookWindow::buildOtherMenu() {
    auto* otherMenu = new QMenu(this);
    QAction* xml = otherMenu->addAction(QStringLiteral("Export do XML"));
    xml->setObjectName(QStringLiteral("actExportXML"));
    connect(xml, &QAction::triggered, this, &AddressBookWindow::exportXml);
    QAction* ares =
        otherMenu->addAction(QStringLiteral("Přidat adresu z internetového registru ARES"));
    ares->setObjectName(QStringLiteral("actAres"));
    connect(ares, &QAction::triggered, this, &AddressBookWindow::addFromRegister);
    return otherMenu;
}

void AddressBookWindow::installKeys() {
    auto* refreshKey = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refreshKey, &QShortcut::activated, this, &AddressBookWindow::refresh);
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    installHelpKey(this, addressbook::AddressBookLogic::helpTopic());
}

AddressBookWindow::~AddressBookWindow() {
    if (!m_closed)
        m_logic.close();
}

std::optional<qint64> AddressBookWindow::open(core::AppContext& context, AddressBookMode mode,
                                              QWidget* parent, std::optional<qint64> startOn) {
    if (!addressbook::AddressBookLogic::mayOpen(context.ui()))
        return std::nullopt;
    AddressBookWindow window(context, mode, parent, startOn);
    // Modal before it is shown: a window that exec() makes modal only after it was shown stays
    // blocked by the modal card that opened it, when it has no parent window.
    window.setWindowModality(Qt::ApplicationModal);
    window.m_placement->show();
    window.exec();
    return window.pickedFirm();
}

bool AddressBookWindow::showFirm(core::AppContext& context, qint64 firmId, QWidget* parent) {
    if (!addressbook::AddressBookLogic::mayOpen(context.ui()))
        return false;
    addressbook::FirmCard card(core::programState().db->agenda, core::programState().db->global,
                               context.ui());
    if (!card.open(FirmCardMode::View, firmId))
        return false;
    FirmCardDialog dialog(context, card, parent);
    dialog.exec();
    return true;
}

void AddressBookWindow::done(int result) {
    if (!m_closed) {
        m_logic.close();
        m_closed = true;
    }
    QDialog::done(result);
}

void AddressBookWindow::showCurrentRow() {
    m_updating = true;
    const int row = m_logic.currentRow();
    if (row >= 0) {
        const QModelIndex index = m_grid->model()->index(row, 0);
        m_grid->setCurrentIndex(index);
        m_grid->scrollTo(index);
    }
    m_updating = false;
    updateButtons();
}

void AddressBookWindow::updateButtons() {
    const addressbook::AddressBookButtons b = m_logic.buttons();
    m_edit->setEnabled(b.edit);
    m_copy->setEnabled(b.copy);
    m_remove->setEnabled(b.remove);
    m_print->setEnabled(m_logic.firms().rowCount() > 0);
    m_other->setEnabled(b.other);
    m_ok->setVisible(b.okVisible);
    m_ok->setEnabled(b.ok);
}

void AddressBookWindow::sortBy(const QString& field) {
    m_logic.sortBy(field);
    // The clicked column moves to the first place.
    QHeaderView* header = m_grid->horizontalHeader();
    const QStringList& fields = FirmListModel::fields();
    for (int section = 0; section < fields.size(); ++section)
        if (fields.at(section).compare(field, Qt::CaseInsensitive) == 0 &&
            FirmListModel::isSortable(field))
            header->moveSection(header->visualIndex(section), 0);
    m_binding->setSortField(m_logic.firms().sortField());
    showCurrentRow();
}

void AddressBookWindow::openCard(FirmCardMode mode, qint64 firmId, const QString& icoToLoad) {
    const auto saved = FirmCardDialog::open(m_context, mode, firmId, this, icoToLoad);
    if (saved)
        m_logic.afterSaved(*saved);
    showCurrentRow();
    m_grid->setFocus();
}

void AddressBookWindow::addFirm() {
    if (m_logic.mayCreate())
        openCard(FirmCardMode::New, 0);
}

void AddressBookWindow::addFromRegister() {
    if (const std::optional<QString> ico = m_logic.icoToAdd())
        openCard(FirmCardMode::New, 0, *ico);
}

void AddressBookWindow::activate() {
    if (m_logic.mode() == AddressBookMode::Pick)
        pick();
    else
        editCurrent();
}

void AddressBookWindow::editCurrent() {
    const auto firm = m_logic.firmToOpen();
    if (firm)
        openCard(FirmCardMode::Edit, *firm);
    else
        showCurrentRow();
}

void AddressBookWindow::copyCurrent() {
    if (!m_logic.mayCreate())
        return;
    const auto firm = m_logic.firmToOpen();
    if (firm)
        openCard(FirmCardMode::Copy, *firm);
    else
        showCurrentRow();
}

void AddressBookWindow::removeCurrent() {
    m_logic.removeFirms();
    showCurrentRow();
    m_grid->setFocus();
}

void AddressBookWindow::printFirms() {
    if (!m_print->isEnabled())
        return;
    m_context.navigator().printFirms(m_logic.collectAddressList());
}

void AddressBookWindow::exportXml() {
    m_context.navigator().exportToXml(core::XmlExportFirms, m_logic.collectAddressList());
}

void AddressBookWindow::refresh() {
    m_logic.refresh();
    showCurrentRow();
}

void AddressBookWindow::pick() {
    if (const auto id = m_logic.pickFirm()) {
        m_picked = id;
        accept();
    }
}

void AddressBookWindow::openFind(const QString& first) {
    m_findPanel->show();
    m_find->setText(first);
    m_find->setFocus();
    Q_EMIT m_find->textEdited(first);
}

void AddressBookWindow::closeFind() {
    m_findPanel->hide();
    m_find->clear();
    m_grid->setFocus();
}

bool AddressBookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_find) {
        if (event->type() == QEvent::FocusOut && m_findPanel->isVisible()) {
            closeFind();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Escape) {
                closeFind();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
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
            m_logic.toggleMark();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            activate();
            return true;
        }
        const QString text = key->text();
        if (!ctrl && !(key->modifiers() & Qt::AltModifier) && text.size() == 1 &&
            text.at(0).isPrint() && text.at(0) != QLatin1Char(' ')) {
            openFind(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
