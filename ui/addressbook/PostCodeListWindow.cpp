#include "ui/addressbook/PostCodeListWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/addressbook/PostCodeCardDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

const char* const kFields[] = {addressbook::kSortByPsc, addressbook::kSortByMisto};

} // namespace

PostCodeListWindow::PostCodeListWindow(core::AppContext& context,
                                       addressbook::PostCodeList::Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_list(context.db().global, context.ui(), mode)
    , m_model(m_list)
    , m_table(new QTableView(this))
    , m_find(new QLineEdit(m_table))
    , m_findHint(new QLabel(QStringLiteral("vyhledávací políčko zavřete klávesou Tab"), m_table))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_edit(new QPushButton(QStringLiteral("&Opravit"), this))
    , m_remove(new QPushButton(QStringLiteral("Vyjmout"), this)) {
    setObjectName(QStringLiteral("frmPsc"));
    setWindowTitle(QStringLiteral("Seznam PSČ"));
    m_table->setObjectName(QStringLiteral("grPsc"));
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSectionsMovable(false);
    m_table->setColumnWidth(0, 90);
    m_table->setColumnWidth(1, 320);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->installEventFilter(this);
    m_find->setObjectName(QStringLiteral("edtHledat"));
    m_find->installEventFilter(this);
    m_find->hide();
    m_findHint->hide();
    // The hint lies over the grid's title row; it must not mix with the titles.
    m_findHint->setAutoFillBackground(true);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &PostCodeListWindow::sortByColumn);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_list.setCurrent(current.isValid() ? std::optional<std::size_t>(
                                                          static_cast<std::size_t>(current.row()))
                                                    : std::nullopt);
            });
    connect(m_table, &QTableView::doubleClicked, this, [this] {
        if (m_list.mode() == addressbook::PostCodeList::Mode::Pick)
            choose();
        else
            editRow();
    });
    connect(m_find, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto at = m_list.quickFind(text))
            setCurrentRow(static_cast<int>(*at));
    });

    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    auto* add = new QPushButton(QStringLiteral("&Přidat"), this);
    auto* refresh = new QPushButton(QStringLiteral("Obnovit"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    cancel->setObjectName(QStringLiteral("btnStorno"));
    add->setObjectName(QStringLiteral("btnPridat"));
    m_edit->setObjectName(QStringLiteral("btnOpravit"));
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    refresh->setObjectName(QStringLiteral("btnObnovit"));
    connect(m_ok, &QPushButton::clicked, this, &PostCodeListWindow::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &PostCodeListWindow::addRow);
    connect(m_edit, &QPushButton::clicked, this, &PostCodeListWindow::editRow);
    connect(m_remove, &QPushButton::clicked, this, &PostCodeListWindow::removeRow);
    connect(refresh, &QPushButton::clicked, this, &PostCodeListWindow::refreshRows);
    for (QPushButton* b : {m_ok, cancel, add, m_edit, m_remove, refresh})
        b->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_ok, cancel})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (QPushButton* b : {add, m_edit, m_remove, refresh})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    installHelpKey(this, QStringLiteral("pgPsc.htm"));
    resize(560, 480);

    m_list.open();
    const QString sorted = m_list.sortField();
    if (sorted == QLatin1String(addressbook::kSortByMisto))
        m_table->horizontalHeader()->moveSection(1, 0);
    showRows();
}

std::optional<addressbook::PostCodeRow>
PostCodeListWindow::pick(core::AppContext& context, addressbook::PostCodeList::Mode mode,
                         QWidget* parent) {
    PostCodeListWindow window(context, mode, parent);
    if (window.exec() != QDialog::Accepted || !window.list().currentRow())
        return std::nullopt;
    return *window.list().currentRow();
}

void PostCodeListWindow::done(int result) {
    m_list.close();
    QDialog::done(result);
}

void PostCodeListWindow::showRows() {
    {
        const QSignalBlocker blocker(m_table->selectionModel());
        m_model.reload();
    }
    if (const auto current = m_list.current())
        setCurrentRow(static_cast<int>(*current));
    updateButtons();
}

int PostCodeListWindow::currentRow() const {
    return m_table->currentIndex().row();
}

// The row becomes current and selected, in the column the user is in, and scrolls into view.
void PostCodeListWindow::setCurrentRow(int row) {
    const QModelIndex at = m_model.index(row, std::max(0, m_table->currentIndex().column()));
    m_table->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    m_table->scrollTo(at);
}

void PostCodeListWindow::updateButtons() {
    for (QPushButton* b : {m_ok, m_edit, m_remove})
        b->setEnabled(m_list.hasRows());
}

void PostCodeListWindow::choose() {
    if (m_list.hasRows())
        accept();
}

void PostCodeListWindow::sortByColumn(int column) {
    if (column < 0 || column > 1)
        return;
    QHeaderView* header = m_table->horizontalHeader();
    header->moveSection(header->visualIndex(column), 0);
    m_list.sortBy(QString::fromLatin1(kFields[column]));
    showRows();
}

void PostCodeListWindow::runCard(bool isNew) {
    addressbook::PostCodeCard card(m_context.db().global, m_context.ui(), m_list);
    if (isNew)
        card.startNew();
    else if (!card.startEdit()) {
        showRows();
        return;
    }
    PostCodeCardDialog dialog(card, this);
    dialog.exec();
    card.close();
    showRows();
    m_table->setFocus();
}

void PostCodeListWindow::addRow() {
    runCard(true);
}

void PostCodeListWindow::editRow() {
    if (m_list.hasRows())
        runCard(false);
}

void PostCodeListWindow::removeRow() {
    m_list.removeCurrent();
    showRows();
    m_table->setFocus();
}

void PostCodeListWindow::refreshRows() {
    m_list.refresh();
    showRows();
}

void PostCodeListWindow::hideFindBox() {
    // Leaving the box must not move the row it found: the focus passes through the grid's own
    // key handling on its way back.
    const int row = currentRow();
    m_find->hide();
    m_findHint->hide();
    m_find->clear();
    m_table->setFocus();
    if (row >= 0)
        setCurrentRow(row);
}

bool PostCodeListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_table) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (m_list.mode() == addressbook::PostCodeList::Mode::Pick)
                    choose();
                else
                    editRow();
                return true;
            }
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() &&
                !(key->modifiers() & Qt::ControlModifier)) {
                // The find box lies over the first column, as wide as it less 12 pixels.
                const int width =
                    m_table->columnWidth(m_table->horizontalHeader()->logicalIndex(0));
                m_find->setGeometry(2, 2, std::max(40, width - 12), m_find->sizeHint().height());
                m_findHint->move(m_find->geometry().right() + 8, 4);
                m_findHint->adjustSize();
                m_find->show();
                m_findHint->show();
                m_find->setFocus();
                m_find->setText(text);
                return true;
            }
        } else if (watched == m_find &&
                   (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                    key->key() == Qt::Key_Tab)) {
            hideFindBox();
            return true;
        }
    } else if (watched == m_find && event->type() == QEvent::FocusOut && m_find->isVisible()) {
        hideFindBox();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
