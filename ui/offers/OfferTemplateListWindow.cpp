#include "ui/offers/OfferTemplateListWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "offers/OfferTemplateCard.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/CommandButton.h"
#include "ui/PickList.h"
#include "ui/offers/OfferTemplateDetailDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr QSize kDesignSize(480, 340);
constexpr int kCodeColumnWidth = 110;
constexpr int kRowPadding = 6;

} // namespace

OfferTemplateListWindow::OfferTemplateListWindow(core::AppContext& context,
                                                 offers::TemplateListMode mode, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_mode(mode)
    , m_list(context.db().agenda, context.ui())
    , m_table(new QTableWidget(0, 2, this)) {
    setObjectName(QStringLiteral("frmSablony"));
    setWindowTitle(offers::OfferTemplateList::caption());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildTable(), 1);
    buildButtons();
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    resize(kDesignSize);
    m_list.reload();
    showRows();
}

std::optional<offers::OfferTemplate> OfferTemplateListWindow::choose(core::AppContext& context,
                                                                     QWidget* parent) {
    OfferTemplateListWindow window(context, offers::TemplateListMode::Select, parent);
    if (window.exec() != QDialog::Accepted || !window.list().current())
        return std::nullopt;
    return *window.list().current();
}

QWidget* OfferTemplateListWindow::buildTable() {
    m_table->setObjectName(QStringLiteral("grSablony"));
    setUpPickList(m_table, {QStringLiteral("Zkratka"), QStringLiteral("Název")});
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + kRowPadding);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, kCodeColumnWidth);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            m_list.setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { activate(); });
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), m_table);
        enter->setContext(Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { accept(); });
    }
    return m_table;
}

void OfferTemplateListWindow::buildButtons() {
    m_ok = makeCommandButton(this, "btnOK", QStringLiteral("OK"));
    auto* cancel = makeCommandButton(this, "btnStorno", QStringLiteral("Storno"));
    auto* add = makeCommandButton(this, "btnPridat", QStringLiteral("&Přidat"));
    m_edit = makeCommandButton(this, "btnOpravit", QStringLiteral("&Opravit"));
    m_remove = makeCommandButton(this, "btnVyjmout", QStringLiteral("Vyjmout"));
    connect(m_ok, &QPushButton::clicked, this, &OfferTemplateListWindow::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &OfferTemplateListWindow::addTemplate);
    connect(m_edit, &QPushButton::clicked, this, &OfferTemplateListWindow::editTemplate);
    connect(m_remove, &QPushButton::clicked, this, &OfferTemplateListWindow::removeTemplate);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_ok, cancel})
        buttons->addWidget(b);
    buttons->addSpacing(kRowPadding * 2);
    for (QPushButton* b : {add, m_edit, m_remove})
        buttons->addWidget(b);
    buttons->addStretch();
    static_cast<QHBoxLayout*>(layout())->addLayout(buttons);
}

QPushButton* OfferTemplateListWindow::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void OfferTemplateListWindow::showRows() {
    const QSignalBlocker blocker(m_table);
    const std::vector<offers::OfferTemplate>& rows = m_list.rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        m_table->setItem(row, 0, new QTableWidgetItem(rows[r].Zkratka));
        m_table->setItem(row, 1, new QTableWidgetItem(rows[r].Nazev));
    }
    if (const auto current = m_list.currentIndex())
        m_table->setCurrentCell(static_cast<int>(*current), 0);
    updateButtons();
}

void OfferTemplateListWindow::updateButtons() {
    const bool rows = m_list.hasRows();
    for (QPushButton* b : {m_ok, m_edit, m_remove})
        b->setEnabled(rows);
}

bool OfferTemplateListWindow::runDetail(offers::OfferTemplateCard& card) {
    OfferTemplateDetailDialog detail(card, this);
    return detail.exec() == QDialog::Accepted;
}

void OfferTemplateListWindow::addTemplate() {
    offers::OfferTemplateCard card(m_context.db().agenda, m_context.ui());
    card.startNew();
    const bool saved = runDetail(card);
    m_list.afterCard(saved ? std::optional<qint64>(card.id()) : std::nullopt);
    showRows();
}

void OfferTemplateListWindow::editTemplate() {
    if (!m_list.hasRows())
        return;
    if (m_list.refreshAndRelocate()) {
        offers::OfferTemplateCard card(m_context.db().agenda, m_context.ui());
        if (card.startExisting(*m_list.currentId()))
            runDetail(card);
        // The card's lock is gone before the list is read again.
    }
    m_list.afterCard(std::nullopt);
    showRows();
}

void OfferTemplateListWindow::removeTemplate() {
    if (!m_list.hasRows())
        return;
    m_list.removeCurrent();
    showRows();
}

void OfferTemplateListWindow::activate() {
    if (m_mode == offers::TemplateListMode::Select)
        accept();
    else
        editTemplate();
}

// "OK" and Enter: in selection mode the current template is the choice; refused while the list
// is empty.
void OfferTemplateListWindow::accept() {
    if (!m_list.hasRows())
        return;
    QDialog::accept();
}

} // namespace orvento::ui
