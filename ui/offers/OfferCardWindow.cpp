#include "ui/offers/OfferCardWindow.h"

#include "core/AppContext.h"
#include "core/DesktopCalculator.h"
#include "ui/CommandButton.h"
#include "ui/Help.h"
#include "ui/offers/IdentifierBreakdownWindow.h"
#include "ui/offers/OfferDocumentsPage.h"
#include "ui/offers/OfferHeaderPage.h"
#include "ui/offers/OfferItemsPanel.h"
#include "ui/offers/OfferTextPage.h"
#include "ui/offers/OfferTotalsPanel.h"
#include "ui/offers/VatRatesDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

const QString kHelpTopic = QStringLiteral("pgNovaNab.htm");
// The card's size as designed.
constexpr int kDesignWidth = 1000;
constexpr int kDesignHeight = 720;

} // namespace

OfferCardWindow::OfferCardWindow(core::AppContext& context, offers::OpenedOffer opened,
                                 offers::OfferItemEditor* editor, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_ownEditor(editor
                      ? nullptr
                      : std::make_unique<OfferItemDialogs>(context.ui(), context.navigator(), this))
    , m_logic(context, std::move(opened), editor ? *editor : *m_ownEditor)
    , m_model(m_logic) {
    setObjectName(QStringLiteral("frmNabidkaKart"));
    setWindowTitle(QStringLiteral("Karta nabídky"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);

    m_pages = buildPages();
    QHBoxLayout* commands = buildCommands();
    m_items = new OfferItemsPanel(context, m_logic, m_model, this);
    m_totals = new OfferTotalsPanel(this);
    layOut(commands);
    installKeys();
    resize(kDesignWidth, kDesignHeight);
    showFirst();
}

OfferCardWindow::~OfferCardWindow() = default;

// Building ---------------------------------------------------------------------------------------

QTabWidget* OfferCardWindow::buildPages() {
    auto* pages = new QTabWidget(this);
    m_header = new OfferHeaderPage(m_context, m_logic, pages);
    m_textBefore = new OfferTextPage(m_logic, &offers::OfferHeader::TextPred,
                                     QStringLiteral("TextPred"), pages);
    m_textAfter =
        new OfferTextPage(m_logic, &offers::OfferHeader::TextZa, QStringLiteral("TextZa"), pages);
    m_documents = new OfferDocumentsPage(m_context, m_logic, pages);
    pages->addTab(m_header, QStringLiteral("Hlavička"));
    pages->addTab(m_textBefore, QStringLiteral("Text před položkami"));
    pages->addTab(m_textAfter, QStringLiteral("Text za položkami"));
    pages->addTab(m_documents, QStringLiteral("Dokumenty"));
    connect(m_header, &OfferHeaderPage::itemsChanged, this, &OfferCardWindow::showItems);
    connect(m_header, &OfferHeaderPage::customerLinked, this, [this] { itemGrid()->setFocus(); });
    return pages;
}

// The row of the card's own commands under the totals.
QHBoxLayout* OfferCardWindow::buildCommands() {
    m_ok = makeCommandButton(this, "btnOK", QStringLiteral("OK"),
                             QStringLiteral("Uložit (Shift+F12)"));
    auto* cancel = makeCommandButton(this, "btnStorno", QStringLiteral("Storno"));
    auto* templates = makeCommandButton(this, "btnSablony", QStringLiteral("Šablony"),
                                        QStringLiteral("Šablony (Alt+S)"));
    templates->setEnabled(!m_logic.readOnly());
    auto* calculator = makeCommandButton(this, "btnKalkulacka", QStringLiteral("Kalkulačka"));
    auto* help = makeCommandButton(this, "btnNapoveda", QStringLiteral("Nápověda"));
    auto* breakdown = makeCommandButton(this, "btnRozpis", QStringLiteral("Rozpis identifikátorů"));
    breakdown->setToolTip(QStringLiteral("Rozpis identifikátorů (F3)"));
    auto* vat = makeCommandButton(this, "btnDPH", QStringLiteral("DPH"));
    auto* history = makeCommandButton(this, "btnHistorie", QStringLiteral("Historie akcí"));
    m_ok->setEnabled(!m_logic.readOnly());
    connect(m_ok, &QPushButton::clicked, this, &OfferCardWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, &OfferCardWindow::reject);
    connect(calculator, &QPushButton::clicked, this,
            [this] { core::calculator::start(m_context.ui()); });
    connect(help, &QPushButton::clicked, this, [] { openHelpTopic(kHelpTopic); });
    connect(vat, &QPushButton::clicked, this, [this] {
        if (VatRatesDialog::run(m_logic.offer(), this))
            showItems();
    });
    connect(history, &QPushButton::clicked, this, [this] { m_logic.showHistory(); });
    connect(templates, &QPushButton::clicked, this, &OfferCardWindow::chooseTemplate);
    connect(breakdown, &QPushButton::clicked, this, &OfferCardWindow::showBreakdown);

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {templates, calculator, vat, history, breakdown, help})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(cancel);
    return bottom;
}

void OfferCardWindow::layOut(QHBoxLayout* commands) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_items, 1);
    layout->addWidget(m_totals);
    layout->addLayout(commands);
    connect(m_items, &OfferItemsPanel::itemsChanged, this, &OfferCardWindow::showItems);
}

void OfferCardWindow::installKeys() {
    installHelpKey(this, kHelpTopic);
    auto shortcut = [this](const QKeySequence& keys, const std::function<void()>& run) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, run);
    };
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F12), [this] { confirm(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] {
        m_logic.togglePurchasePrices();
        applyPurchasePriceVisibility();
    });
    shortcut(QKeySequence(Qt::Key_F11), [this] { itemGrid()->setFocus(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_A), [this] { m_header->pickFirmButton()->click(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_S),
             [this] { button(QStringLiteral("btnSablony"))->click(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { showBreakdown(); });
}

// The opened offer shown, the focus on the items when there are any, else on the description.
void OfferCardWindow::showFirst() {
    showHeader();
    showItems();
    applyPurchasePriceVisibility();
    if (m_logic.itemCount() > 0)
        itemGrid()->setFocus();
    else
        m_header->descriptionField()->setFocus();
    m_logic.shown();
}

// Showing ----------------------------------------------------------------------------------------

QTableView* OfferCardWindow::itemGrid() const {
    return m_items->grid();
}

QLineEdit* OfferCardWindow::field(const QString& objectName) const {
    return findChild<QLineEdit*>(objectName);
}

QPushButton* OfferCardWindow::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

QTextEdit* OfferCardWindow::textBefore() const {
    return m_textBefore->editor();
}

QTextEdit* OfferCardWindow::textAfter() const {
    return m_textAfter->editor();
}

QLabel* OfferCardWindow::totalLabel(const QString& objectName) const {
    return findChild<QLabel*>(objectName);
}

void OfferCardWindow::showHeader() {
    m_header->showHeader();
    m_textBefore->showText();
    m_textAfter->showText();
    m_documents->showDocuments();
}

void OfferCardWindow::showItems() {
    m_items->showItems();
    m_totals->showTotals(m_logic.offer().totals());
}

void OfferCardWindow::applyPurchasePriceVisibility() {
    m_items->applyPurchasePriceVisibility();
    m_totals->setPurchaseShown(m_logic.purchasePricesVisible());
}

void OfferCardWindow::chooseTemplate() {
    if (!m_logic.chooseTemplate())
        return;
    m_header->showHeader();
    m_textBefore->showText();
    m_textAfter->showText();
}

void OfferCardWindow::showBreakdown() {
    IdentifierBreakdownWindow::run(m_context, m_logic, this);
    // The window may have marked items, switched the sum of marks or the purchase prices.
    showItems();
    applyPurchasePriceVisibility();
}

void OfferCardWindow::addCatalogueItems() {
    m_logic.addCatalogueItems();
    showItems();
}

} // namespace orvento::ui
