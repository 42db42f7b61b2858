#include "ui/offers/OfferItemCommands.h"

#include "core/AppContext.h"
#include "offers/OfferCardLogic.h"
#include "ui/CommandButton.h"
#include "ui/offers/BulkValueDialog.h"
#include "ui/offers/DiscountToTotalDialog.h"
#include "ui/offers/OfferItemImportDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orvento::ui {

OfferItemCommands::OfferItemCommands(core::AppContext& context, offers::OfferCardLogic& logic,
                                     QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_logic(logic) {
    buildButtons();
    connectButtons();
    setLayout(layOut());
}

bool OfferItemCommands::sumOfMarks() const {
    return m_sumMarked->isChecked();
}

void OfferItemCommands::showSumOfMarksSwitch() {
    const QSignalBlocker quiet(m_sumMarked);
    m_sumMarked->setChecked(offers::OfferCardLogic::sumOfMarksShown());
}

void OfferItemCommands::showDiscount(bool anyDiscount) {
    m_discount->setText(anyDiscount ? QStringLiteral("Sleva !") : QStringLiteral("Sleva"));
    m_discount->setStyleSheet(anyDiscount ? QStringLiteral("font-weight: bold; color: blue")
                                          : QString());
}

void OfferItemCommands::buildButtons() {
    m_add = makeCommandButton(this, "btnPridatPolozku", QStringLiteral("Přidat položku"),
                              QStringLiteral("Alt+P, F2"));
    m_addCatalogue =
        makeCommandButton(this, "btnPridatZCeniku", QStringLiteral("Přidat položku z ceníku"),
                          QStringLiteral("Alt+C, F4"));
    m_addTitle = makeCommandButton(this, "btnPridatNadpis", QStringLiteral("Přidat nadpis"),
                                   QStringLiteral("Alt+N, F9"));
    m_addText = makeCommandButton(this, "btnPridatText", QStringLiteral("Přidat text"),
                                  QStringLiteral("Alt+T, F12"));
    m_copy = makeCommandButton(this, "btnKopirovat", QStringLiteral("Kopírovat"),
                               QStringLiteral("Alt+K, F8"));
    m_edit =
        makeCommandButton(this, "btnOpravit", QStringLiteral("Opravit"), QStringLiteral("Alt+O"));
    m_remove = makeCommandButton(this, "btnVyjmout", QStringLiteral("Vyjmout"),
                                 QStringLiteral("Alt+V, Ctrl+Del"));
    m_up = makeCommandButton(this, "btnNahoru", QStringLiteral("▲"),
                             QStringLiteral("Posunout položku nahoru (Ctrl+šipka nahoru)"));
    m_down = makeCommandButton(this, "btnDolu", QStringLiteral("▼"),
                               QStringLiteral("Posunout položku dolů (Ctrl+šipka dolů)"));
    m_discount = makeCommandButton(this, "btnSleva", QStringLiteral("Sleva"), QStringLiteral("F7"));
    m_margin = makeCommandButton(this, "btnMarze", QStringLiteral("Marže"), QStringLiteral("F5"));
    m_rabat = makeCommandButton(this, "btnRabat", QStringLiteral("Rabat"), QStringLiteral("F6"));
    m_bulkMenu = makeCommandButton(this, "btnHromadne", QStringLiteral("Hromadné operace"));
    m_bulkMenu->setMenu(buildBulkMenu());
    m_sumMarked = new QCheckBox(QStringLiteral("součet ozn."), this);
    m_sumMarked->setObjectName(QStringLiteral("chkSoucetOzn"));
    m_sumMarked->setToolTip(QStringLiteral("Součtovat označené položky"));
}

void OfferItemCommands::connectButtons() {
    using Keys = QKeySequence;
    bind(m_add, {Keys(Qt::ALT | Qt::Key_P), Keys(Qt::Key_F2)}, [this] { m_logic.addFreeItem(); });
    bind(m_addCatalogue, {Keys(Qt::ALT | Qt::Key_C), Keys(Qt::Key_F4)},
         [this] { m_logic.addCatalogueItems(); });
    bind(m_addTitle, {Keys(Qt::ALT | Qt::Key_N), Keys(Qt::Key_F9)},
         [this] { m_logic.addTextItem(true); });
    bind(m_addText, {Keys(Qt::ALT | Qt::Key_T), Keys(Qt::Key_F12)},
         [this] { m_logic.addTextItem(false); });
    bind(m_copy, {Keys(Qt::ALT | Qt::Key_K), Keys(Qt::Key_F8)}, [this] { m_logic.copyCurrent(); });
    bind(m_edit, {Keys(Qt::ALT | Qt::Key_O)}, [this] { m_logic.editCurrent(); });
    bind(m_remove, {Keys(Qt::ALT | Qt::Key_V)}, [this] { m_logic.removeCurrent(); });
    bind(m_up, {}, [this] { m_logic.moveCurrent(true); });
    bind(m_down, {}, [this] { m_logic.moveCurrent(false); });
    bind(m_discount, {Keys(Qt::Key_F7)}, [this] { bulk(offers::BulkField::Discount); });
    bind(m_margin, {Keys(Qt::Key_F5)}, [this] { bulk(offers::BulkField::Margin); });
    bind(m_rabat, {Keys(Qt::Key_F6)}, [this] { bulk(offers::BulkField::Rabat); });
    m_sumMarked->setChecked(offers::OfferCardLogic::sumOfMarksShown());
    connect(m_sumMarked, &QCheckBox::toggled, this, [this](bool on) {
        offers::OfferCardLogic::rememberSumOfMarks(on);
        emit itemsChanged();
    });
}

QVBoxLayout* OfferItemCommands::layOut() const {
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {m_add, m_addCatalogue, m_addTitle, m_addText, m_copy, m_edit, m_remove})
        buttons->addWidget(b);
    auto* moves = new QHBoxLayout;
    moves->addWidget(m_up);
    moves->addWidget(m_down);
    buttons->addLayout(moves);
    for (QPushButton* b : {m_discount, m_margin, m_rabat, m_bulkMenu})
        buttons->addWidget(b);
    buttons->addWidget(m_sumMarked);
    buttons->addStretch();
    return buttons;
}

void OfferItemCommands::bind(QPushButton* button, std::initializer_list<QKeySequence> keys,
                             const std::function<void()>& command) {
    connect(button, &QPushButton::clicked, this, [this, command] { runOnItems(command); });
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
}

void OfferItemCommands::runOnItems(const std::function<void()>& command) {
    command();
    emit itemsChanged();
}

void OfferItemCommands::bulk(offers::BulkField field) {
    if (BulkValueDialog::run(m_logic.offer(), m_logic.marks(), field, m_context.ui(), this))
        m_logic.itemsChanged();
}

QMenu* OfferItemCommands::buildBulkMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuHromadne"));
    auto action = [&](const char* name, const QString& text, const std::function<void()>& command) {
        QAction* a = menu->addAction(text, this, [this, command] { runOnItems(command); });
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    action("actOznacitVse", QStringLiteral("Označit všechny položky (Ctrl+plus)"),
           [this] { m_logic.markAll(true); });
    action("actZrusitOznaceni", QStringLiteral("Zrušit označení všech položek (Ctrl+mínus)"),
           [this] { m_logic.markAll(false); });
    action("actHladina", QStringLiteral("Nastavit na položky aktuální cenovou hladinu"),
           [this] { m_logic.setShownLevelOnItems(); });
    action("actAktualizovat", QStringLiteral("Aktualizovat všechny ceny položek z ceníku"),
           [this] { m_logic.refreshPricesFromCatalogue(); });
    action("actZamek", QStringLiteral("Nastavit zámek na položkách"),
           [this] { m_logic.setLocks(true, true); });
    action("actZrusitZamek", QStringLiteral("Zrušit zámek na položkách"),
           [this] { m_logic.setLocks(false, true); });
    action("actSazbaDPH", QStringLiteral("Změnit na položkách % sazbu DPH"),
           [this] { bulk(offers::BulkField::VatRate); });
    action(
        "actDopocitatSlevu", QStringLiteral("Dopočítat slevu podle ručně zadané ceny celkem"),
        [this] {
            if (DiscountToTotalDialog::run(m_logic.offer(), m_logic.marks(), m_context.ui(), this))
                m_logic.itemsChanged();
        });
    action("actImport", QStringLiteral("Přidat položky z ceníku podle klíčů v souboru"),
           [this] { OfferItemImportDialog::run(m_context, m_logic, this); });
    return menu;
}

} // namespace orvento::ui
