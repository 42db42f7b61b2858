#include "ui/offers/HistoryActionWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/Help.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

QTableWidget* readOnlyGrid(const QStringList& titles, QWidget* parent) {
    auto* grid = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    grid->setHorizontalHeaderLabels(titles);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    return grid;
}

QLabel* valueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(160);
    return label;
}

} // namespace

HistoryActionWindow::HistoryActionWindow(core::AppContext& context, qint64 offerId, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_view(context.db().agenda, offerId)
    , m_list(readOnlyGrid(offers::HistoryView::columnTitles(), this))
    , m_pages(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("frmHistoryAction"));
    setWindowTitle(offers::HistoryView::caption());
    m_list->setObjectName(QStringLiteral("grAkce"));
    m_list->setColumnWidth(0, 80);
    m_list->setColumnWidth(1, 50);
    m_list->setColumnWidth(2, 70);
    m_list->setColumnWidth(3, 120);

    auto* help = new QLabel(offers::HistoryView::helpText(), this);
    help->setWordWrap(true);

    auto* none = new QLabel(offers::HistoryView::noPreviewText(), this);
    none->setObjectName(QStringLiteral("lblBezNahledu"));
    none->setAlignment(Qt::AlignCenter);
    m_pages->addWidget(none);
    m_pages->addWidget(buildPreviewPage());

    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_pages, 3);
    layout->addLayout(buttons);

    auto* purchase = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(purchase, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    // Switched here or anywhere else, the sums follow.
    connect(&m_context.events(), &core::ProgramEvents::purchasePricesDisplayChanged, this,
            [this] { updatePurchaseSums(); });
    connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row) {
        m_view.select(row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row))
                               : std::nullopt);
        showPreview();
    });
    installHelpKey(this, QStringLiteral("pgHistorieAkci.htm"));
    resize(760, 620);

    m_view.open();
    showRows();
}

void HistoryActionWindow::showFor(core::AppContext& context, qint64 offerId, QWidget* parent) {
    HistoryActionWindow window(context, offerId, parent);
    window.exec();
}

QWidget* HistoryActionWindow::buildPreviewPage() {
    auto* page = new QWidget(this);
    m_caption = new QLabel(page);
    m_caption->setObjectName(QStringLiteral("lblNahled"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);

    auto* header = new QFormLayout;
    m_popis = valueLabel(page);
    m_stav = valueLabel(page);
    m_vystaveno = valueLabel(page);
    m_platnost = valueLabel(page);
    m_vyrizeno = valueLabel(page);
    m_odberatel = valueLabel(page);
    header->addRow(QStringLiteral("Interní popis:"), m_popis);
    header->addRow(QStringLiteral("Stav nabídky:"), m_stav);
    header->addRow(QStringLiteral("Vystaveno:"), m_vystaveno);
    header->addRow(QStringLiteral("Platnost do:"), m_platnost);
    header->addRow(QStringLiteral("Vyřízeno (zamítnuto):"), m_vyrizeno);
    header->addRow(QStringLiteral("Odběratel:"), m_odberatel);

    auto* sums = new QGroupBox(QStringLiteral("Součty"), page);
    auto* sumsLayout = new QFormLayout(sums);
    m_celkemNC = valueLabel(sums);
    m_zisk = valueLabel(sums);
    m_celkemBDPH = valueLabel(sums);
    m_celkem = valueLabel(sums);
    for (QLabel* l : {m_celkemNC, m_zisk, m_celkemBDPH, m_celkem})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_celkemNCTitle = new QLabel(QStringLiteral("Celkem nákupní cena:"), sums);
    m_ziskTitle = new QLabel(QStringLiteral("Celkový zisk:"), sums);
    sumsLayout->addRow(m_celkemNCTitle, m_celkemNC);
    sumsLayout->addRow(m_ziskTitle, m_zisk);
    sumsLayout->addRow(QStringLiteral("Celkem bez DPH:"), m_celkemBDPH);
    sumsLayout->addRow(QStringLiteral("Celkem s DPH:"), m_celkem);

    auto* top = new QHBoxLayout;
    top->addLayout(header, 1);
    top->addWidget(sums);

    m_items = readOnlyGrid(offers::HistoryView::itemColumnTitles(), page);
    m_items->setObjectName(QStringLiteral("grPolozky"));
    m_items->setColumnWidth(0, 320);
    m_items->setColumnWidth(1, 90);
    m_items->setColumnWidth(2, 60);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addLayout(top);
    layout->addWidget(m_items, 1);
    return page;
}

void HistoryActionWindow::showRows() {
    const QSignalBlocker blocker(m_list);
    const auto& rows = m_view.rows();
    m_list->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QStringList texts = m_view.rowTexts(i);
        for (int c = 0; c < texts.size(); ++c)
            m_list->setItem(static_cast<int>(i), c, new QTableWidgetItem(texts.at(c)));
    }
    if (const auto current = m_view.current())
        m_list->setCurrentCell(static_cast<int>(*current), 0);
    showPreview();
}

void HistoryActionWindow::showPreview() {
    const auto& preview = m_view.preview();
    if (!preview) {
        m_pages->setCurrentIndex(0);
        return;
    }
    m_caption->setText(preview->caption);
    m_popis->setText(preview->popis);
    m_stav->setText(preview->stav);
    m_vystaveno->setText(preview->vystaveno);
    m_platnost->setText(preview->platnost);
    m_vyrizeno->setText(preview->vyrizeno);
    QStringList address;
    for (const QString& line : preview->odberatel)
        if (!line.trimmed().isEmpty())
            address << line;
    m_odberatel->setText(address.join(QLatin1Char('\n')));
    m_celkemNC->setText(preview->celkemNC);
    m_zisk->setText(preview->zisk);
    m_celkemBDPH->setText(preview->celkemBDPH);
    m_celkem->setText(preview->celkem);
    m_items->setRowCount(static_cast<int>(preview->items.size()));
    for (std::size_t r = 0; r < preview->items.size(); ++r) {
        const auto& item = preview->items[r];
        for (int c = 0; c < item.cells.size(); ++c) {
            auto* cell = new QTableWidgetItem(item.cells.at(c));
            if (item.title) {
                QFont font = cell->font();
                font.setBold(true);
                cell->setFont(font);
            }
            if (c == 1 || c == 3)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_items->setItem(static_cast<int>(r), c, cell);
        }
    }
    updatePurchaseSums();
    m_pages->setCurrentIndex(1);
}

void HistoryActionWindow::updatePurchaseSums() {
    const bool visible = offers::HistoryView::purchaseSumsVisible();
    for (QLabel* l : {m_celkemNC, m_zisk, m_celkemNCTitle, m_ziskTitle})
        l->setVisible(visible);
}

bool HistoryActionWindow::previewShown() const {
    return m_pages->currentIndex() == 1;
}

bool HistoryActionWindow::purchaseSumsShown() const {
    return !m_celkemNC->isHidden();
}

QString HistoryActionWindow::previewCaption() const {
    return m_caption->text();
}

} // namespace orvento::ui
