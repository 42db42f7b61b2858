#include "ui/offers/IdentifierBreakdownWindow.h"

#include "core/AmountFormat.h"
#include "ui/CommandButton.h"
#include "ui/Help.h"
#include "ui/QuickFind.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace orvento::ui {

using offers::IdentifierBreakdown;

namespace {

// Wide enough for all six columns at their design widths.
constexpr int kDesignWidth = 760;
constexpr int kDesignHeight = 420;
constexpr int kCodeWidth = 90;
constexpr int kNameWidth = 200;

QLabel* sumLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

IdentifierBreakdownWindow::IdentifierBreakdownWindow(IdentifierBreakdown breakdown, QWidget* parent)
    : QDialog(parent)
    , m_logic(std::move(breakdown))
    , m_model(m_logic) {
    setObjectName(QStringLiteral("frmRozpisIdentif"));
    setWindowTitle(IdentifierBreakdown::caption());
    buildGrid();
    layOut(buildFooter());
    installKeys();
    resize(kDesignWidth, kDesignHeight);
    applyPurchasePriceVisibility();
    marksChanged();
    m_grid->setFocus();
}

bool IdentifierBreakdownWindow::run(core::AppContext& context, offers::OfferCardLogic& card,
                                    QWidget* parent) {
    auto breakdown = IdentifierBreakdown::open(context, card);
    if (!breakdown)
        return false;
    IdentifierBreakdownWindow window(std::move(*breakdown), parent);
    return window.exec() == QDialog::Accepted;
}

// Building ---------------------------------------------------------------------------------------

void IdentifierBreakdownWindow::buildGrid() {
    m_grid = makeListGrid(this, QStringLiteral("grRozpis"));
    m_grid->setModel(&m_model);
    m_grid->setColumnWidth(0, kCodeWidth);
    m_grid->setColumnWidth(1, kNameWidth);
    m_grid->installEventFilter(this);
    m_find = new QuickFindPanel(this);
    connect(m_find, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        const int column = std::max(m_grid->currentIndex().column(), 0);
        if (const auto row = m_model.findRow(column, text))
            m_grid->setCurrentIndex(m_model.index(*row, column));
    });
    if (!m_logic.empty())
        m_grid->setCurrentIndex(m_model.index(0, 0));
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_logic.setCurrent(current.isValid() ? std::optional<std::size_t>(current.row())
                                                     : std::nullopt);
            });

    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuRozpis"));
    menu->addAction(QStringLiteral("Označit vše (Ctrl+plus)"), this, [this] {
        m_logic.markAll(true);
        marksChanged();
    });
    menu->addAction(QStringLiteral("Zrušit označení (Ctrl+mínus)"), this, [this] {
        m_logic.markAll(false);
        marksChanged();
    });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->popup(m_grid->viewport()->mapToGlobal(at)); });
}

// The sums of the marked rows, each under its amount column's place.
QWidget* IdentifierBreakdownWindow::buildFooter() {
    m_sumMarked = new QCheckBox(QStringLiteral("součet ozn."), this);
    m_sumMarked->setObjectName(QStringLiteral("chkSoucetOzn"));
    m_sumMarked->setToolTip(QStringLiteral("Součtovat označené položky"));
    m_sumMarked->setChecked(IdentifierBreakdown::sumOfMarksShown());
    connect(m_sumMarked, &QCheckBox::toggled, this, [this](bool on) {
        IdentifierBreakdown::rememberSumOfMarks(on);
        marksChanged();
    });
    m_footer = new QWidget(this);
    m_footer->setObjectName(QStringLiteral("lblSoucetOzn"));
    m_purchaseSum = sumLabel("lblSoucetNakCena", m_footer);
    m_netSum = sumLabel("lblSoucetBezDPH", m_footer);
    m_grossSum = sumLabel("lblSoucetSDPH", m_footer);
    m_profitSum = sumLabel("lblSoucetZisk", m_footer);
    auto* row = new QHBoxLayout(m_footer);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Součet označených:"), m_footer), 1);
    for (QLabel* label : {m_purchaseSum, m_netSum, m_grossSum, m_profitSum})
        row->addWidget(label);
    return m_footer;
}

void IdentifierBreakdownWindow::layOut(QWidget* footer) {
    auto* note = new QLabel(IdentifierBreakdown::note(), this);
    note->setObjectName(QStringLiteral("lblPoznamka"));
    note->setWordWrap(true);
    m_mark = makeCommandButton(this, "btnOznacit", QStringLiteral("Označit v nabídce"),
                               QStringLiteral("Označit vybrané identifikátory v nabídce (Enter)"));
    m_mark->setEnabled(m_logic.canMarkInOffer());
    auto* close = makeCommandButton(this, "btnZavrit", QStringLiteral("Zavřít"),
                                    QStringLiteral("Zavřít toto okno (Esc)"));
    auto* help = makeCommandButton(this, "btnNapoveda", QStringLiteral("Nápověda"));
    connect(m_mark, &QPushButton::clicked, this, &IdentifierBreakdownWindow::markInOffer);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { openHelpTopic(IdentifierBreakdown::helpTopic()); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sumMarked);
    buttons->addStretch();
    buttons->addWidget(m_mark);
    buttons->addWidget(close);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_find);
    layout->addWidget(m_grid, 1);
    layout->addWidget(footer);
    layout->addWidget(note);
    layout->addLayout(buttons);
}

void IdentifierBreakdownWindow::installKeys() {
    installHelpKey(this, IdentifierBreakdown::helpTopic());
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* mark = new QShortcut(QKeySequence(enter), this);
        connect(mark, &QShortcut::activated, this, &IdentifierBreakdownWindow::markInOffer);
    }
    auto* purchase = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(purchase, &QShortcut::activated, this, [this] {
        m_logic.togglePurchasePrices();
        applyPurchasePriceVisibility();
    });
}

// Showing ----------------------------------------------------------------------------------------

void IdentifierBreakdownWindow::marksChanged() {
    m_model.refreshMarks();
    const bool shown = m_sumMarked->isChecked();
    m_footer->setVisible(shown);
    if (shown)
        showMarkedSums();
}

void IdentifierBreakdownWindow::showMarkedSums() {
    const offers::MarkedSums sums = m_logic.markedSums();
    m_purchaseSum->setText(core::formatAmount(sums.purchase));
    m_netSum->setText(core::formatAmount(sums.net));
    m_grossSum->setText(core::formatAmount(sums.gross));
    m_profitSum->setText(core::formatAmount(sums.profit));
}

void IdentifierBreakdownWindow::applyPurchasePriceVisibility() {
    for (int c = 0; c < m_model.columnCount(); ++c)
        m_grid->setColumnHidden(c, m_logic.columnHidden(c));
    const bool visible = m_logic.purchasePricesVisible();
    m_purchaseSum->setVisible(visible);
    m_profitSum->setVisible(visible);
}

// Commands ---------------------------------------------------------------------------------------

void IdentifierBreakdownWindow::markInOffer() {
    if (!m_logic.canMarkInOffer())
        return;
    m_logic.markInOffer();
    accept();
}

// The grid's keys: Enter marks in the offer, Space marks the current row, Ctrl+plus and Ctrl+minus
// mark all rows or none, a typed character opens the quick find.
bool IdentifierBreakdownWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    // The grid takes Enter for itself before any shortcut sees it.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        markInOffer();
        return true;
    }
    if (ctrl && (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Minus)) {
        m_logic.markAll(key->key() == Qt::Key_Plus);
        marksChanged();
        return true;
    }
    if (!ctrl && key->key() == Qt::Key_Space) {
        if (const auto current = m_logic.current()) {
            m_logic.setMark(*current, !m_logic.marks()[*current]);
            marksChanged();
        }
        return true;
    }
    if (QuickFindPanel::opensFind(key)) {
        m_find->openFor(m_grid, key->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
