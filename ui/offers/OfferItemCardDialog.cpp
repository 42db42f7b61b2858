#include "ui/offers/OfferItemCardDialog.h"

#include "catalogue/ItemRecord.h"
#include "catalogue/PictureLoader.h"
#include "catalogue/PictureStore.h"
#include "catalogue/PriceLevelRecords.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "core/AgendaSettings.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "ui/CardWidgets.h"
#include "ui/Help.h"
#include "ui/offers/OfferDialogKeys.h"
#include "ui/offers/PriceAdjustmentDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <vector>

namespace orvento::ui {

using namespace orvento::offers;
using catalogue::PriceFieldDecimals;
using catalogue::StandardFieldDecimals;

namespace {

QLineEdit* shownValue(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QString profitStyle(double value) {
    if (value > 0.0)
        return QStringLiteral("color: green;");
    if (value < 0.0)
        return QStringLiteral("color: darkred;");
    return {};
}

void focusOn(QWidget* dialog, Qt::Key key, QWidget* field) {
    auto* shortcut = new QShortcut(QKeySequence(key), dialog);
    QObject::connect(shortcut, &QShortcut::activated, field, [field] {
        field->setFocus();
        if (auto* box = qobject_cast<QAbstractSpinBox*>(field))
            box->selectAll();
    });
}

} // namespace

OfferItemCardDialog::OfferItemCardDialog(OfferItemCard& card, core::UserInteraction& ui,
                                         core::Navigator& navigator, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_ui(ui)
    , m_navigator(navigator) {
    setObjectName(QStringLiteral("frmPolozkaNab"));
    setWindowTitle(m_card.caption());
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildItemPage());
    m_pages->addWidget(buildPicturePage());

    m_pictureButton = new QPushButton(QStringLiteral("Obrázek (F2)"), this);
    m_pictureButton->setObjectName(QStringLiteral("btnObrazek"));
    m_pictureButton->setAutoDefault(false);
    m_pictureButton->setVisible(m_card.fromCatalogue());
    connect(m_pictureButton, &QPushButton::clicked, this, &OfferItemCardDialog::togglePicture);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        if (m_card.fromCatalogue())
            togglePicture();
    });
    installPurchaseKey(this, m_ui, [this] { applyPurchaseVisibility(); });
    QHBoxLayout* bottom = calculatorButtonRow(this, m_ui);
    bottom->insertWidget(0, m_pictureButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(bottom);
    installHelpKey(this, OfferItemCard::helpTopic());

    fillTexts();
    showValues();
    showPicture();
    applyPurchaseVisibility();
    if (m_card.mode() == OfferItemCardMode::NewFromCatalogue)
        m_pocet->setFocus();
    else
        m_popis->setFocus();
}

// The item page: texts, prices beside their summary, quantity and switches.
QWidget* OfferItemCardDialog::buildItemPage() {
    auto* page = new QWidget(this);
    QGridLayout* texts = buildItemTexts(page);
    QGroupBox* prices = buildItemPrices(page);
    QGroupBox* summary = buildPriceSummary(page);
    QGridLayout* quantity = buildQuantity(page);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(texts);
    auto* middle = new QHBoxLayout;
    middle->addWidget(prices, 2);
    middle->addWidget(summary, 1);
    layout->addLayout(middle);
    layout->addLayout(quantity);

    connectItemFields();
    return page;
}

QGridLayout* OfferItemCardDialog::buildItemTexts(QWidget* page) {
    m_popis = textField("edtPopis", OfferItemWidth::Popis, page);
    m_katalog = textField("edtKatalog", OfferItemWidth::Katalog, page);
    m_barCode = textField("edtBarCode", OfferItemWidth::BarCode, page);
    m_plu = textField("edtPLU", OfferItemWidth::PLU, page);
    m_zkratka = textField("edtZkratka", OfferItemWidth::Zkratka, page);
    m_identif = textField("edtIdentif", OfferItemWidth::Identif, page);
    m_identif->setReadOnly(true);
    auto* identifButton = new QPushButton(QStringLiteral("..."), page);
    identifButton->setObjectName(QStringLiteral("btnIdentif"));
    identifButton->setToolTip(QStringLiteral("Úprava identifikátorů (F3)"));
    connect(identifButton, &QPushButton::clicked, this, &OfferItemCardDialog::editIdentifiers);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, &OfferItemCardDialog::editIdentifiers);
    identifButton->setMaximumWidth(32);
    m_poznamka = new QPlainTextEdit(page);
    m_poznamka->setObjectName(QStringLiteral("mtPoznamka"));
    m_poznamka->setMaximumHeight(60);

    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel(QStringLiteral("Popis položky"), page), 0, 0);
    texts->addWidget(m_popis, 0, 1, 1, 3);
    texts->addWidget(new QLabel(QStringLiteral("Katalog"), page), 1, 0);
    texts->addWidget(m_katalog, 1, 1);
    texts->addWidget(new QLabel(QStringLiteral("Čárový kód"), page), 1, 2);
    texts->addWidget(m_barCode, 1, 3);
    texts->addWidget(new QLabel(QStringLiteral("PLU"), page), 2, 0);
    texts->addWidget(m_plu, 2, 1);
    texts->addWidget(new QLabel(QStringLiteral("Zkratka (alternativní Katalog)"), page), 2, 2);
    texts->addWidget(m_zkratka, 2, 3);
    texts->addWidget(new QLabel(QStringLiteral("Poznámka"), page), 3, 0);
    texts->addWidget(m_poznamka, 3, 1, 1, 3);
    auto* identifRow = new QHBoxLayout;
    identifRow->addWidget(m_identif);
    identifRow->addWidget(identifButton);
    texts->addWidget(new QLabel(QStringLiteral("Identifikátory"), page), 4, 0);
    texts->addLayout(identifRow, 4, 1, 1, 3);
    return texts;
}

QGroupBox* OfferItemCardDialog::buildItemPrices(QWidget* page) {
    auto* prices = new QGroupBox(page);
    const auto [adjustPurchase, adjustSale] = createPriceFields(prices);
    connect(adjustPurchase, &QPushButton::clicked, this, [this] { adjustPrice(true); });
    connect(adjustSale, &QPushButton::clicked, this, [this] { adjustPrice(false); });
    layOutPrices(prices, adjustPurchase, adjustSale);
    return prices;
}

// The fields in the order the Tab key goes through them; the two "%" calculator buttons.
std::pair<QPushButton*, QPushButton*> OfferItemCardDialog::createPriceFields(QGroupBox* prices) {
    auto adjustButton = [prices](const char* name, const QString& hint) {
        auto* button = new QPushButton(QStringLiteral("%"), prices);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        button->setAutoDefault(false);
        return button;
    };
    m_nakCena = numberField("curNakCena", PriceFieldDecimals, prices);
    auto* adjustPurchase =
        adjustButton("btnUpravaNC", QStringLiteral("Úprava nákupní ceny pomocí % kalkulačky"));
    m_prodCena = numberField("curProdCena", PriceFieldDecimals, prices);
    auto* adjustSale =
        adjustButton("btnUpravaPC", QStringLiteral("Úprava prodejní ceny pomocí % kalkulačky"));
    m_typCeny = new QComboBox(prices);
    m_typCeny->setObjectName(QStringLiteral("cbxTypCeny"));
    m_typCeny->addItems(catalogue::priceTypeCaptions());
    m_dph = new QComboBox(prices);
    m_dph->setObjectName(QStringLiteral("cbxDPH"));
    m_slevaLabel = new QLabel(QStringLiteral("Sleva v %"), prices);
    m_slevaLabel->setAutoFillBackground(true);
    m_sleva = numberField("curSleva", StandardFieldDecimals, prices);
    m_prodCenaPo = numberField("curProdCenaPo", PriceFieldDecimals, prices);
    m_marze = numberField("curMarze", StandardFieldDecimals, prices);
    m_rabat = numberField("curRabat", StandardFieldDecimals, prices);
    m_zaok = new QComboBox(prices);
    m_zaok->setObjectName(QStringLiteral("cbxZaok"));
    m_zaok->addItems(catalogue::roundingCaptions());
    m_level = new QComboBox(prices);
    m_level->setObjectName(QStringLiteral("cbxCenHladina"));
    m_levelMissing = new QLabel(OfferItemCard::missingLevelText(), prices);
    m_levelMissing->setStyleSheet(QStringLiteral("color: darkred;"));
    m_ziskMJ = shownValue("curZiskMJ", prices);
    m_ziskPol = shownValue("curZiskPol", prices);
    return {adjustPurchase, adjustSale};
}

// The sale side on the left, the purchase side and the level on the right; the purchase side
// hides with the purchase prices.
void OfferItemCardDialog::layOutPrices(QGroupBox* prices, QPushButton* adjustPurchase,
                                       QPushButton* adjustSale) {
    auto* grid = new QGridLayout(prices);
    auto* purchaseLabel = new QLabel(QStringLiteral("Nákupní cena bez DPH"), prices);
    auto* marginLabel = new QLabel(QStringLiteral("Marže %"), prices);
    auto* rabatLabel = new QLabel(QStringLiteral("Rabat %"), prices);
    auto* profitUnitLabel = new QLabel(QStringLiteral("Zisk za m.j."), prices);
    auto* profitLineLabel = new QLabel(QStringLiteral("Zisk za položku"), prices);
    grid->addWidget(purchaseLabel, 0, 0);
    grid->addWidget(m_nakCena, 0, 1);
    grid->addWidget(adjustPurchase, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Prodejní cena"), prices), 1, 0);
    grid->addWidget(m_prodCena, 1, 1);
    grid->addWidget(adjustSale, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Typ ceny"), prices), 2, 0);
    grid->addWidget(m_typCeny, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("DPH %"), prices), 3, 0);
    grid->addWidget(m_dph, 3, 1);
    grid->addWidget(m_slevaLabel, 4, 0);
    grid->addWidget(m_sleva, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Výsledná prod. cena"), prices), 5, 0);
    grid->addWidget(m_prodCenaPo, 5, 1);
    grid->addWidget(marginLabel, 0, 3);
    grid->addWidget(m_marze, 0, 4);
    grid->addWidget(rabatLabel, 1, 3);
    grid->addWidget(m_rabat, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Zaokrouhlení při výpočtu"), prices), 2, 3);
    grid->addWidget(m_zaok, 2, 4);
    grid->addWidget(new QLabel(QStringLiteral("Cenová hladina"), prices), 3, 3);
    grid->addWidget(m_level, 3, 4);
    grid->addWidget(m_levelMissing, 3, 5);
    grid->addWidget(profitUnitLabel, 4, 3);
    grid->addWidget(m_ziskMJ, 4, 4);
    grid->addWidget(profitLineLabel, 5, 3);
    grid->addWidget(m_ziskPol, 5, 4);
    m_purchaseWidgets = {purchaseLabel, m_nakCena,       adjustPurchase, marginLabel,
                         m_marze,       rabatLabel,      m_rabat,        profitUnitLabel,
                         m_ziskMJ,      profitLineLabel, m_ziskPol};
}

QGroupBox* OfferItemCardDialog::buildPriceSummary(QWidget* page) {
    auto* summary = new QGroupBox(QStringLiteral("Ceny - souhrn"), page);
    auto* sums = new QGridLayout(summary);
    m_unitNet = shownValue("curPCBDPHMJ", summary);
    m_unitGross = shownValue("curPCSDPHMJ", summary);
    m_lineNet = shownValue("curPCBDPHPOL", summary);
    m_lineGross = shownValue("curPCSDPHPOL", summary);
    sums->addWidget(new QLabel(QStringLiteral("Bez DPH"), summary), 0, 1);
    sums->addWidget(new QLabel(QStringLiteral("Včetně DPH"), summary), 0, 2);
    sums->addWidget(new QLabel(QStringLiteral("Za m.j."), summary), 1, 0);
    sums->addWidget(m_unitNet, 1, 1);
    sums->addWidget(m_unitGross, 1, 2);
    sums->addWidget(new QLabel(QStringLiteral(" Za položku"), summary), 2, 0);
    sums->addWidget(m_lineNet, 2, 1);
    sums->addWidget(m_lineGross, 2, 2);
    return summary;
}

QGridLayout* OfferItemCardDialog::buildQuantity(QWidget* page) {
    m_pocet = numberField("curPocetMJ", PriceFieldDecimals, page);
    m_pocet->setMinimum(0.0001);
    m_mj = textField("edtMJ", OfferItemWidth::MJ, page);
    m_poradi = new QSpinBox(page);
    m_poradi->setObjectName(QStringLiteral("spnPoradi"));
    m_poradi->setRange(1, 1000000);
    m_nakladova =
        new QCheckBox(QStringLiteral("položka ovlivňuje cenu dokladu, ale netiskne se"), page);
    m_nakladova->setObjectName(QStringLiteral("chckNakladova"));
    m_ignor = new QCheckBox(QStringLiteral("ignorovat (zamknout)"), page);
    m_ignor->setObjectName(QStringLiteral("chckIgnorHr"));
    auto* quantity = new QGridLayout;
    quantity->addWidget(new QLabel(QStringLiteral("Počet m.j. *"), page), 0, 0);
    quantity->addWidget(m_pocet, 0, 1);
    quantity->addWidget(new QLabel(QStringLiteral("Text m.j."), page), 0, 2);
    quantity->addWidget(m_mj, 0, 3);
    quantity->addWidget(new QLabel(QStringLiteral("Pořadí při tisku"), page), 0, 4);
    quantity->addWidget(m_poradi, 0, 5);
    quantity->addWidget(new QLabel(OfferItemCard::quantityHint(), page), 1, 0, 1, 6);
    quantity->addWidget(m_nakladova, 2, 0, 1, 4);
    quantity->addWidget(m_ignor, 2, 4, 1, 2);
    return quantity;
}

// Every field tells the card what the person changed; F-keys jump to the price fields.
void OfferItemCardDialog::connectItemFields() {
    bindNumber(m_nakCena, &OfferItemCard::setNakCena);
    bindNumber(m_prodCena, &OfferItemCard::setProdCena);
    bindNumber(m_sleva, &OfferItemCard::setSleva);
    bindNumber(m_prodCenaPo, &OfferItemCard::setProdCenaPo);
    bindNumber(m_marze, &OfferItemCard::setMarze);
    bindNumber(m_rabat, &OfferItemCard::setRabat);
    bindNumber(m_pocet, &OfferItemCard::setPocetMJ);
    connect(m_typCeny, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.setSDPH(i == 1);
        showValues();
    });
    connect(m_dph, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.selectRate(i);
        showValues();
    });
    connect(m_zaok, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.setZaok(i);
        showValues();
    });
    connect(m_level, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.selectLevel(i);
        showValues();
    });
    connect(m_nakladova, &QCheckBox::toggled, this, [this](bool on) {
        m_card.setNakladova(on);
        showValues();
    });
    connect(m_ignor, &QCheckBox::toggled, this, [this](bool on) {
        m_card.setIgnorHr(on);
        showValues();
    });
    focusOn(this, Qt::Key_F9, m_nakCena);
    focusOn(this, Qt::Key_F11, m_prodCena);
    focusOn(this, Qt::Key_F7, m_sleva);
    focusOn(this, Qt::Key_F5, m_marze);
    focusOn(this, Qt::Key_F6, m_rabat);
    focusOn(this, Qt::Key_F12, m_pocet);
}

QWidget* OfferItemCardDialog::buildPicturePage() {
    auto* page = new QWidget(this);
    auto* heading = new QLabel(QStringLiteral(" Aktuální obrázek zadaný na ceníkové kartě"), page);
    m_picture = new QLabel(page);
    m_picture->setObjectName(QStringLiteral("imgObrazek"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(320, 240);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addWidget(m_picture, 1);
    return page;
}

void OfferItemCardDialog::bindNumber(NumberField* box, void (OfferItemCard::*setter)(double)) {
    // Every keystroke counts, so the other fields follow as the person types; the field being
    // typed in keeps its text until it is left.
    // The setter is held as a callable: gcc 12 with the sanitizers miscompiles a lambda that
    // captures `this` beside a pointer to member function (this arrives as null).
    const std::function<void(OfferItemCard&, double)> set = setter;
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, set](double value) {
        set(m_card, value);
        showValues();
    });
}

void OfferItemCardDialog::fillTexts() {
    const OfferItem& item = m_card.item();
    m_popis->setText(item.Popis);
    m_katalog->setText(item.Katalog);
    m_barCode->setText(item.BarCode);
    m_plu->setText(item.PLU);
    m_zkratka->setText(item.Zkratka);
    m_identif->setText(item.Identif);
    m_poznamka->setPlainText(item.Poznamka);
    m_mj->setText(item.MJ);
}

void OfferItemCardDialog::readTexts() {
    OfferItem& item = m_card.item();
    item.Popis = m_popis->text();
    item.Katalog = m_katalog->text();
    item.BarCode = m_barCode->text();
    item.PLU = m_plu->text();
    item.Zkratka = m_zkratka->text();
    item.Identif = m_identif->text();
    item.Poznamka = m_poznamka->toPlainText();
    item.MJ = m_mj->text();
    m_card.setPosition(m_poradi->value());
}

void OfferItemCardDialog::showValues() {
    const OfferItem& item = m_card.item();
    const QList<QObject*> fields = {m_nakCena,    m_prodCena, m_typCeny,   m_dph,  m_sleva,
                                    m_prodCenaPo, m_marze,    m_rabat,     m_zaok, m_level,
                                    m_pocet,      m_poradi,   m_nakladova, m_ignor};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* o : fields)
        blockers.push_back(std::make_unique<QSignalBlocker>(o));
    m_nakCena->display(item.NakCena);
    m_prodCena->display(item.ProdCena);
    m_typCeny->setCurrentIndex(item.SDPH ? 1 : 0);
    m_dph->clear();
    for (const double rate : m_card.rates())
        m_dph->addItem(core::formatRate(rate));
    m_dph->setCurrentIndex(m_card.rateIndex());
    m_sleva->display(item.Sleva);
    m_slevaLabel->setStyleSheet(
        item.Sleva != 0.0 ? QStringLiteral("color: white; background-color: blue;") : QString());
    m_prodCenaPo->display(item.ProdCenaPo);
    m_marze->display(item.Marze);
    m_rabat->display(item.Rabat);
    m_zaok->setCurrentIndex(std::clamp(item.Zaok, 0, 2));
    m_level->clear();
    for (const ItemLevelChoice& level : m_card.levels())
        m_level->addItem(level.caption());
    m_level->setCurrentIndex(m_card.levelIndex());
    m_level->setEnabled(m_card.fromCatalogue());
    m_levelMissing->setVisible(m_card.levelMissing());
    m_ziskMJ->setText(amount(item.ZiskMJ, StandardFieldDecimals));
    m_ziskMJ->setStyleSheet(profitStyle(item.ZiskMJ));
    m_ziskPol->setText(amount(item.ZiskPol, StandardFieldDecimals));
    m_ziskPol->setStyleSheet(profitStyle(item.ZiskPol));
    m_unitNet->setText(amount(item.PCBDPHMJ, PriceFieldDecimals));
    m_unitGross->setText(amount(item.PCSDPHMJ, PriceFieldDecimals));
    m_lineNet->setText(amount(item.PCBDPHPOL, StandardFieldDecimals));
    m_lineGross->setText(amount(item.PCSDPHPOL, StandardFieldDecimals));
    const QString costLine =
        item.Nakladova ? QStringLiteral("background-color: #ffb0b0;") : QString();
    m_lineNet->setStyleSheet(costLine);
    m_lineGross->setStyleSheet(costLine);
    m_pocet->display(item.PocetMJ);
    m_poradi->setValue(m_card.position());
    m_poradi->setEnabled(!item.Nakladova);
    m_nakladova->setChecked(item.Nakladova);
    m_nakladova->setStyleSheet(item.Nakladova ? QStringLiteral("color: red;") : QString());
    m_ignor->setChecked(item.IgnorHr);
    m_ignor->setStyleSheet(item.IgnorHr ? QStringLiteral("color: white; background-color: black;")
                                        : QString());
}

void OfferItemCardDialog::showPicture() {
    const QString name = m_card.pictureName();
    const catalogue::PictureStore store = catalogue::PictureStore::ofAgenda();
    if (name.isEmpty() || !store.contains(name)) {
        m_picture->setPixmap({});
        m_picture->setText(QStringLiteral("Soubor s obrázkem nebyl na disku nalezen!"));
        return;
    }
    const QImage image = catalogue::loadPicture(store.pathOf(name));
    m_picture->setPixmap(QPixmap::fromImage(
        image.scaled(m_picture->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void OfferItemCardDialog::togglePicture() {
    const bool toPicture = m_pages->currentIndex() == 0;
    m_pages->setCurrentIndex(toPicture ? 1 : 0);
    m_pictureButton->setText(toPicture ? QStringLiteral("Zpět (F2)")
                                       : QStringLiteral("Obrázek (F2)"));
}

void OfferItemCardDialog::adjustPrice(bool purchase) {
    const auto start = m_card.adjustmentStart(purchase);
    if (!start)
        return;
    if (const auto price = PriceAdjustmentDialog::ask(*start, purchase, m_ui, this)) {
        m_card.applyAdjustedPrice(purchase, *price);
        showValues();
    }
}

void OfferItemCardDialog::applyPurchaseVisibility() {
    const bool visible = core::programState().purchasePricesVisible();
    for (QWidget* w : m_purchaseWidgets)
        w->setVisible(visible);
}

void OfferItemCardDialog::accept() {
    readTexts();
    if (!m_card.confirm()) {
        m_popis->setFocus();
        return;
    }
    QDialog::accept();
}

void OfferItemCardDialog::editIdentifiers() {
    const auto pending = m_navigator.editIdentifiers(m_card.item().Identif);
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done)
        return;
    m_card.item().Identif = pending->result().code;
    m_identif->setText(m_card.item().Identif);
}

bool OfferItemCardDialog::editNew(OfferWorkingCopy& offer, std::optional<std::size_t> current,
                                  core::UserInteraction& ui, core::Navigator& navigator,
                                  QWidget* parent) {
    OfferItemCard card(core::programState().db->agenda, ui, offer, currentAgendaRates());
    card.openNew(current);
    OfferItemCardDialog dialog(card, ui, navigator, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool OfferItemCardDialog::editFromCatalogue(OfferWorkingCopy& offer, qint64 catalogueId,
                                            std::optional<std::size_t> current,
                                            core::UserInteraction& ui, core::Navigator& navigator,
                                            QWidget* parent) {
    core::Database& agenda = core::programState().db->agenda;
    const auto row = catalogue::readItem(agenda, catalogueId);
    if (!row)
        return false;
    OfferItemCard card(agenda, ui, offer, currentAgendaRates());
    card.openFromCatalogue(*row, current);
    OfferItemCardDialog dialog(card, ui, navigator, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool OfferItemCardDialog::editExisting(OfferWorkingCopy& offer, std::size_t index, bool copy,
                                       core::UserInteraction& ui, core::Navigator& navigator,
                                       QWidget* parent) {
    OfferItemCard card(core::programState().db->agenda, ui, offer, currentAgendaRates());
    if (!(copy ? card.openCopy(index) : card.openExisting(index)))
        return false;
    OfferItemCardDialog dialog(card, ui, navigator, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
