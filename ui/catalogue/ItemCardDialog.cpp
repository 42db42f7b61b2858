#include "ui/catalogue/ItemCardDialog.h"

#include "ui/catalogue/IdentifierEditorDialog.h"

#include "catalogue/PictureLoader.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "core/ShellOperations.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/catalogue/LevelRowPriceDialog.h"
#include "ui/catalogue/PriceGroupListWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

ItemCardDialog::ItemCardDialog(ItemCard& card, core::UserInteraction& ui, QWidget* parent,
                               core::ProgramEvents* events)
    : QDialog(parent)
    , m_card(card)
    , m_ui(ui)
    , m_events(events) {
    setObjectName(QStringLiteral("frmKartaZasoby"));
    setWindowTitle(ItemCard::caption());
    auto* texts = new QWidget(this);
    buildTexts(texts);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildPrices());
    m_pages->addWidget(buildPicture());

    m_pictureButton = new QPushButton(QStringLiteral("Obrázek (F2)"), this);
    m_pictureButton->setObjectName(QStringLiteral("btnObrazek"));
    m_pictureButton->setAutoDefault(false);
    connect(m_pictureButton, &QPushButton::clicked, this, &ItemCardDialog::togglePicture);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, &ItemCardDialog::togglePicture);

    QDialogButtonBox* buttons = okCancelButtons(this);
    buttons->findChild<QPushButton*>(QStringLiteral("btnStorno"))
        ->setText(QStringLiteral("Zavřít"));
    buttons->findChild<QPushButton*>(QStringLiteral("btnOK"))->setEnabled(m_card.editable());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pictureButton);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texts);
    layout->addWidget(m_pages, 1);
    layout->addLayout(bottom);
    installHelpKey(this, ItemCard::helpTopic());

    fillTexts();
    showPrices();
    showPicture();
    showPurchasePrices(core::programState().purchasePricesVisible());
    auto* purchaseKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    purchaseKey->setObjectName(QStringLiteral("keyNakupniCeny"));
    connect(purchaseKey, &QShortcut::activated, this,
            [this] { showPurchasePrices(m_card.togglePurchasePrices(m_events)); });
    if (m_events)
        connect(m_events, &core::ProgramEvents::purchasePricesDisplayChanged, this,
                [this] { showPurchasePrices(core::programState().purchasePricesVisible()); });
}

void ItemCardDialog::showPurchasePrices(bool visible) {
    for (QWidget* w : m_purchaseWidgets)
        w->setVisible(visible);
}

std::optional<qint64> ItemCardDialog::open(core::UserInteraction& ui, core::ProgramEvents* events,
                                           ItemCardMode mode, qint64 itemId, qint64 sheetId,
                                           qint64 groupId, QWidget* parent) {
    ItemCard card(core::programState().db->agenda, ui);
    if (!card.open(mode, itemId, sheetId, groupId))
        return std::nullopt;
    ItemCardDialog dialog(card, ui, parent, events);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return card.id();
}

void ItemCardDialog::buildTexts(QWidget* page) {
    m_popis = textField("edtPopis", ItemWidth::Popis, page);
    m_katalog = textField("edtKatalog", ItemWidth::Katalog, page);
    m_barCode = textField("edtBarCode", ItemWidth::BarCode, page);
    m_plu = textField("edtPLU", ItemWidth::PLU, page);
    m_zkratka = textField("edtZkratka", ItemWidth::Zkratka, page);
    m_textMJ = textField("edtTextMJ", ItemWidth::TextMJ, page);
    m_identif = textField("edtIdentif", ItemWidth::Identif, page);
    m_identif->setReadOnly(true);
    auto* identifButton = new QPushButton(QStringLiteral("..."), page);
    identifButton->setObjectName(QStringLiteral("btnIdentif"));
    identifButton->setToolTip(QStringLiteral("Úprava identifikátorů (F3)"));
    connect(identifButton, &QPushButton::clicked, this, &ItemCardDialog::editIdentifiers);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, &ItemCardDialog::editIdentifiers);
    identifButton->setMaximumWidth(32);
    m_availability = new QComboBox(page);
    m_availability->setObjectName(QStringLiteral("cbxDostupnost"));
    m_availability->addItems(ItemCard::availabilityCaptions());
    m_note = new QPlainTextEdit(page);
    m_note->setObjectName(QStringLiteral("mtPoznamka"));
    m_note->setMaximumHeight(60);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Popis položky"), page), 0, 0);
    grid->addWidget(m_popis, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Katalog"), page), 1, 0);
    grid->addWidget(m_katalog, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Zkratka (alternativní Katalog)"), page), 1, 2);
    grid->addWidget(m_zkratka, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Čárový kód"), page), 2, 0);
    grid->addWidget(m_barCode, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("PLU"), page), 2, 2);
    grid->addWidget(m_plu, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Měrná jednotka"), page), 3, 0);
    grid->addWidget(m_textMJ, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Dostupnost"), page), 3, 2);
    grid->addWidget(m_availability, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Identifikátory"), page), 4, 0);
    auto* identif = new QHBoxLayout;
    identif->addWidget(m_identif);
    identif->addWidget(identifButton);
    grid->addLayout(identif, 4, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Poznámka"), page), 5, 0, Qt::AlignTop);
    grid->addWidget(m_note, 5, 1, 1, 3);
    // Row by row, as the fields are laid out.
    const QList<QWidget*> order = {m_popis,  m_katalog,      m_zkratka,     m_barCode, m_plu,
                                   m_textMJ, m_availability, identifButton, m_note};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

// The page of prices: the basic prices, the price group with its levels, the profit calculator.
QWidget* ItemCardDialog::buildPrices() {
    auto* page = new QWidget(this);
    QGroupBox* basic = buildBasicPrices(page);
    QGroupBox* levels = buildLevels(page);
    QGroupBox* profit = buildProfitCalculator(page);
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(basic, 0, 0);
    layout->addWidget(levels, 0, 1);
    layout->addWidget(profit, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    return page;
}

QGroupBox* ItemCardDialog::buildBasicPrices(QWidget* page) {
    const QString currency = core::programState().settings.symbolMeny;
    m_purchase = numberField("curNakCena", PriceFieldDecimals, page);
    m_purchase->setSuffix(QStringLiteral(" ") + currency);
    m_rate = new QComboBox(page);
    m_rate->setObjectName(QStringLiteral("cbxSazbaDPH"));
    m_price = numberField("curPrCena", PriceFieldDecimals, page);
    m_price->setSuffix(QStringLiteral(" ") + currency);
    m_priceType = new QComboBox(page);
    m_priceType->setObjectName(QStringLiteral("cbxTypCeny"));
    m_priceType->addItems(priceTypeCaptions());
    m_secondPrice = new QLineEdit(page);
    m_secondPrice->setObjectName(QStringLiteral("edtDruhaCena"));
    m_secondPrice->setReadOnly(true);
    m_secondPrice->setAlignment(Qt::AlignRight);
    m_secondType = new QLabel(page);
    m_rounding = new QComboBox(page);
    m_rounding->setObjectName(QStringLiteral("cbxZaok"));
    m_rounding->addItems(roundingCaptions());
    m_recompute = new QCheckBox(QStringLiteral("cenu automaticky přepočítat podle"), page);
    m_recompute->setObjectName(QStringLiteral("chckPrepocitat"));
    m_valueType = new QComboBox(page);
    m_valueType->setObjectName(QStringLiteral("cbxTypHodnoty"));
    m_valueType->addItems({QStringLiteral("pevné marže"), QStringLiteral("pevného rabatu")});
    // Captions are never cut off, however narrow the layout makes the column.
    for (QComboBox* box : {m_rate, m_priceType, m_rounding, m_valueType})
        box->setMinimumWidth(box->sizeHint().width());
    m_margin = numberField("curMarze", StandardFieldDecimals, page);
    m_rabat = numberField("curRabat", StandardFieldDecimals, page);
    m_actualMargin = new QLabel(page);
    m_actualRabat = new QLabel(page);
    auto* again = new QPushButton(QStringLiteral("Znovu přepočítat"), page);
    again->setObjectName(QStringLiteral("btnPrepocitat"));
    again->setAutoDefault(false);

    auto* basic = new QGroupBox(QStringLiteral("Ceny"), page);
    auto* grid = new QGridLayout(basic);
    auto* purchaseLabel = new QLabel(QStringLiteral("Nákupní cena bez DPH"), basic);
    grid->addWidget(purchaseLabel, 0, 0);
    grid->addWidget(m_purchase, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("DPH pro prodej"), basic), 0, 2);
    grid->addWidget(m_rate, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Základní prodejní cena"), basic), 1, 0);
    grid->addWidget(m_price, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Typ ceny"), basic), 1, 2);
    grid->addWidget(m_priceType, 1, 3);
    grid->addWidget(m_secondType, 2, 0);
    grid->addWidget(m_secondPrice, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Zaokrouhlení při výpočtu"), basic), 2, 2);
    grid->addWidget(m_rounding, 2, 3);
    grid->addWidget(m_recompute, 3, 0);
    grid->addWidget(m_valueType, 3, 1);
    grid->addWidget(again, 3, 3);
    auto* marginLabel = new QLabel(QStringLiteral("Pevná marže %"), basic);
    auto* rabatLabel = new QLabel(QStringLiteral("Pevný rabat %"), basic);
    grid->addWidget(marginLabel, 4, 0);
    grid->addWidget(m_margin, 4, 1);
    grid->addWidget(m_actualMargin, 4, 2, 1, 2);
    grid->addWidget(rabatLabel, 5, 0);
    grid->addWidget(m_rabat, 5, 1);
    grid->addWidget(m_actualRabat, 5, 2, 1, 2);
    m_purchaseWidgets = {purchaseLabel, m_purchase,     m_recompute, m_valueType, marginLabel,
                         m_margin,      m_actualMargin, rabatLabel,  m_rabat,     m_actualRabat};

    connectBasicPrices(again);
    return basic;
}

void ItemCardDialog::connectBasicPrices(QPushButton* again) {
    // Each handler acts on what the person changed; values the card puts into the fields are
    // shown without reporting them back, so they never cascade, and never into the field the
    // person is typing in.
    connect(m_purchase, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        m_card.setNakCena(v);
        showPrices();
    });
    connect(m_margin, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        m_card.setMarze(v);
        showPrices();
    });
    connect(m_rabat, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        m_card.setRabat(v);
        showPrices();
    });
    connect(m_price, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        m_card.setLeadingPrice(v);
        showPrices();
    });
    connect(m_rate, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.selectRate(i);
        showPrices();
    });
    connect(m_priceType, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.setSDPH(i == 1);
        showPrices();
    });
    connect(m_rounding, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.setZaok(i);
        showPrices();
    });
    connect(m_valueType, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_card.setTypHodnoty(i);
        showPrices();
    });
    connect(m_recompute, &QCheckBox::toggled, this, [this](bool on) {
        m_card.setPrepocitat(on);
        showPrices();
    });
    connect(again, &QPushButton::clicked, this, [this] {
        m_card.recomputeAll();
        showPrices();
    });
}

QGroupBox* ItemCardDialog::buildLevels(QWidget* page) {
    m_group = new QLineEdit(page);
    m_group->setObjectName(QStringLiteral("edtCenSkupina"));
    m_group->setReadOnly(true);
    // Room for the longest code.
    m_group->setMinimumWidth(
        m_group->fontMetrics().horizontalAdvance(QString(kLevelCodeLength, QLatin1Char('W'))) + 12);
    auto* pickGroup = new QPushButton(QStringLiteral("Výběr cenové skupiny"), page);
    pickGroup->setObjectName(QStringLiteral("btnVyberSkupiny"));
    auto* dropGroup = new QPushButton(QStringLiteral("Zrušení cenové skupiny"), page);
    dropGroup->setObjectName(QStringLiteral("btnZruseniSkupiny"));
    for (QPushButton* b : {pickGroup, dropGroup})
        b->setAutoDefault(false);
    connect(pickGroup, &QPushButton::clicked, this, &ItemCardDialog::chooseGroup);
    connect(dropGroup, &QPushButton::clicked, this, [this] {
        m_card.clearGroup();
        showPrices();
    });
    m_levelGrid = new QTableWidget(0, 3, page);
    m_levelGrid->setObjectName(QStringLiteral("grCenHlad"));
    m_levelGrid->setHorizontalHeaderLabels({QStringLiteral("Hladina *"),
                                            QStringLiteral("Cena bez DPH"),
                                            QStringLiteral("Cena s DPH")});
    m_levelGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_levelGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_levelGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_levelGrid->verticalHeader()->hide();
    m_levelGrid->verticalHeader()->setDefaultSectionSize(m_levelGrid->fontMetrics().height() + 6);
    m_levelGrid->horizontalHeader()->setStretchLastSection(true);
    m_levelGrid->setColumnWidth(0, 110);
    m_levelGrid->setColumnWidth(1, 120);
    connect(m_levelGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { editLevelRow(row); });
    connect(m_levelGrid, &QTableWidget::currentCellChanged, this, [this](int row) {
        m_card.setCurrentLevelRow(row);
        showProfit();
    });
    m_noLevels = new QLabel(ItemCard::noLevelsText(), page);
    m_noLevels->setWordWrap(true);
    m_noLevels->setAlignment(Qt::AlignCenter);
    m_levelPanel = new QWidget(page);
    auto* panel = new QVBoxLayout(m_levelPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(m_levelGrid);
    panel->addWidget(new QLabel(QStringLiteral("(* dvojklikem lze u fixních hladin upravit cenu)"),
                                m_levelPanel));
    auto* levels = new QGroupBox(QStringLiteral("Cenové hladiny"), page);
    auto* levelsLayout = new QVBoxLayout(levels);
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(new QLabel(QStringLiteral("Cenová skupina"), levels));
    groupRow->addWidget(m_group);
    groupRow->addWidget(pickGroup);
    groupRow->addWidget(dropGroup);
    levelsLayout->addLayout(groupRow);
    levelsLayout->addWidget(m_levelPanel, 1);
    levelsLayout->addWidget(m_noLevels, 1);
    return levels;
}

QGroupBox* ItemCardDialog::buildProfitCalculator(QWidget* page) {
    m_count = numberField("curPocet", PriceFieldDecimals, page);
    m_profit = new QLabel(page);
    m_profit->setObjectName(QStringLiteral("lblZisk"));
    m_levelProfit = new QLabel(page);
    m_levelProfit->setObjectName(QStringLiteral("lblZiskHladina"));
    for (QLabel* l : {m_profit, m_levelProfit}) {
        l->setAutoFillBackground(true);
        l->setMargin(2);
    }
    connect(m_count, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        m_card.setProfitCount(v);
        showProfit();
    });
    auto* profit = new QGroupBox(QStringLiteral("Zisková kalkulačka"), page);
    auto* profitLayout = new QHBoxLayout(profit);
    profitLayout->addWidget(new QLabel(QStringLiteral("Při počtu"), profit));
    profitLayout->addWidget(m_count);
    profitLayout->addWidget(new QLabel(QStringLiteral("bude zisk činit"), profit));
    profitLayout->addWidget(m_profit);
    profitLayout->addWidget(new QLabel(QStringLiteral("z prod. ceny, resp."), profit));
    profitLayout->addWidget(m_levelProfit);
    profitLayout->addStretch();
    m_purchaseWidgets << profit;
    return profit;
}

QWidget* ItemCardDialog::buildPicture() {
    auto* page = new QWidget(this);
    m_picture = new QLabel(page);
    m_picture->setObjectName(QStringLiteral("imgObrazek"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(320, 220);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_pictureName = new QLineEdit(page);
    m_pictureName->setObjectName(QStringLiteral("edtObrazek"));
    m_pictureName->setReadOnly(true);
    auto* choose = new QPushButton(QStringLiteral("Výběr souboru s obrázkem"), page);
    choose->setObjectName(QStringLiteral("btnVyberObrazku"));
    m_openPicture = new QPushButton(QStringLiteral("Zobrazení obrázku v externím programu"), page);
    m_openPicture->setObjectName(QStringLiteral("btnOtevritObrazek"));
    m_clearPicture = new QPushButton(QStringLiteral("Zrušení odkazu na obrázek"), page);
    m_clearPicture->setObjectName(QStringLiteral("btnZrusitObrazek"));
    auto* store = new QLabel(QStringLiteral("<a href=\"#\">Úložiště obrázků...</a>"), page);
    store->setObjectName(QStringLiteral("lblUloziste"));
    connect(store, &QLabel::linkActivated, this,
            [this] { m_ui.information(m_card.pictureStore().description()); });
    connect(choose, &QPushButton::clicked, this, [this] {
        if (m_card.choosePicture())
            showPicture();
    });
    connect(m_openPicture, &QPushButton::clicked, this,
            [this] { core::shell::openFile(m_card.picturePath(), m_ui); });
    connect(m_clearPicture, &QPushButton::clicked, this, [this] {
        if (m_card.clearPicture())
            showPicture();
    });
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {choose, m_openPicture, m_clearPicture}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(store);
    auto* name = new QHBoxLayout;
    name->addWidget(new QLabel(QStringLiteral("Název"), page));
    name->addWidget(m_pictureName);
    auto* left = new QVBoxLayout;
    left->addWidget(m_picture, 1);
    left->addLayout(name);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    return page;
}

void ItemCardDialog::fillTexts() {
    const ItemRecord& item = m_card.item();
    m_popis->setText(item.Popis);
    m_katalog->setText(item.Katalog);
    m_barCode->setText(item.BarCode);
    m_plu->setText(item.PLU);
    m_zkratka->setText(item.Zkratka);
    m_textMJ->setText(item.TextMJ);
    m_identif->setText(item.Identif);
    m_availability->setCurrentIndex(m_card.availabilityIndex());
    m_note->setPlainText(item.Poznamka);
}

void ItemCardDialog::editIdentifiers() {
    const auto edited = IdentifierEditorDialog::edit(m_ui, m_card.item().Identif, this);
    if (!edited)
        return;
    m_card.item().Identif = *edited;
    m_identif->setText(*edited);
}

void ItemCardDialog::readTexts() {
    ItemRecord& item = m_card.item();
    item.Popis = m_popis->text();
    item.Katalog = m_katalog->text();
    item.BarCode = m_barCode->text();
    item.PLU = m_plu->text();
    item.Zkratka = m_zkratka->text();
    item.TextMJ = m_textMJ->text();
    item.Poznamka = m_note->toPlainText();
    m_card.setAvailabilityIndex(m_availability->currentIndex());
}

void ItemCardDialog::showPrices() {
    const ItemPriceFields& f = m_card.prices();
    const QList<QObject*> fields = {m_purchase,  m_rate,      m_price,  m_priceType, m_rounding,
                                    m_recompute, m_valueType, m_margin, m_rabat};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* o : fields)
        blockers.push_back(std::make_unique<QSignalBlocker>(o));
    m_purchase->display(f.NakCena);
    m_rate->clear();
    for (const double rate : m_card.rates())
        m_rate->addItem(QLocale(QLocale::Czech).toString(rate));
    m_rate->setCurrentIndex(m_card.rateIndex());
    m_price->display(m_card.leadingPrice());
    m_priceType->setCurrentIndex(f.SDPH ? 1 : 0);
    m_secondPrice->setText(amount(m_card.derivedPrice(), PriceFieldDecimals));
    m_secondType->setText(f.SDPH ? QStringLiteral("Cena bez daně") : QStringLiteral("Cena s daní"));
    m_rounding->setCurrentIndex(std::clamp(f.Zaok, 0, 2));
    m_recompute->setChecked(f.Prepocitat);
    m_valueType->setCurrentIndex(f.TypHodnoty == ItemValueType::Rabat ? 1 : 0);
    m_margin->display(f.Marze);
    m_rabat->display(f.Rabat);
    m_actualMargin->setText(QStringLiteral("Skutečnost %1 %").arg(amount(m_card.actualMargin())));
    m_actualRabat->setText(QStringLiteral("Skutečnost %1 %").arg(amount(m_card.actualRabat())));
    m_group->setText(m_card.item().CenSkupina);
    showLevels();
}

void ItemCardDialog::showLevels() {
    const QSignalBlocker blocker(m_levelGrid);
    const int keep = std::max(0, m_levelGrid->currentRow());
    const auto& rows = m_card.levels().rows();
    m_levelGrid->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const ItemLevelRow& r = rows[i];
        const QStringList texts = {r.Zkratka, amount(r.price.net), amount(r.price.gross)};
        for (int c = 0; c < 3; ++c) {
            auto* cell = new QTableWidgetItem(texts[c]);
            if (c > 0)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Fixed rows are drawn in blue.
            if (r.fixed())
                cell->setForeground(QColor(Qt::blue));
            m_levelGrid->setItem(static_cast<int>(i), c, cell);
        }
    }
    if (!rows.empty()) {
        const int row = std::min(keep, static_cast<int>(rows.size()) - 1);
        m_levelGrid->setCurrentCell(row, 0);
        m_card.setCurrentLevelRow(row);
    }
    m_levelPanel->setVisible(!rows.empty());
    m_noLevels->setVisible(rows.empty());
    showProfit();
}

void ItemCardDialog::showProfit() {
    const QString currency = core::programState().settings.symbolMeny;
    const auto paint = [](QLabel* label, double value) {
        QPalette palette = label->parentWidget()->palette();
        if (value > 0) {
            palette.setColor(QPalette::Window, QColor(0, 128, 0));
            palette.setColor(QPalette::WindowText, Qt::white);
        } else if (value < 0) {
            palette.setColor(QPalette::Window, QColor(128, 0, 0));
            palette.setColor(QPalette::WindowText, Qt::white);
        }
        label->setPalette(palette);
    };
    const double profit = m_card.profit();
    m_profit->setText(amount(profit) + QStringLiteral(" ") + currency);
    paint(m_profit, profit);
    const auto level = m_card.levelProfit();
    m_levelProfit->setVisible(level.has_value());
    if (level) {
        m_levelProfit->setText(amount(level->first) + QStringLiteral(" ") + currency +
                               QStringLiteral(" z ") + level->second);
        paint(m_levelProfit, level->first);
    }
    m_count->display(m_card.profitCount());
}

void ItemCardDialog::showPicture() {
    const QString name = m_card.item().Obrazek;
    m_pictureName->setText(name);
    const bool exists = m_card.pictureExists();
    m_openPicture->setEnabled(exists);
    m_clearPicture->setEnabled(!name.isEmpty());
    if (!exists) {
        m_picture->setPixmap({});
        m_picture->setText(name.isEmpty() ? QString() : ItemCard::pictureMissingText());
        return;
    }
    const QImage image = loadPicture(m_card.picturePath());
    if (image.isNull()) {
        m_picture->setPixmap({});
        m_picture->setText(QStringLiteral("Soubor s obrázkem nelze zobrazit."));
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(
        image.scaled(m_picture->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void ItemCardDialog::togglePicture() {
    const bool toPicture = m_pages->currentIndex() == 0;
    m_pages->setCurrentIndex(toPicture ? 1 : 0);
    m_pictureButton->setText(toPicture ? QStringLiteral("Zpět (F2)")
                                       : QStringLiteral("Obrázek (F2)"));
    if (toPicture)
        showPicture();
}

void ItemCardDialog::editLevelRow(int row) {
    const auto& rows = m_card.levels().rows();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    LevelRowPriceEdit edit(rows[static_cast<size_t>(row)], m_card.prices().SazbaDPH);
    LevelRowPriceDialog dialog(edit, m_ui, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_card.setLevelRowPrice(static_cast<size_t>(row), edit.price());
        showLevels();
    }
}

void ItemCardDialog::chooseGroup() {
    if (const auto group =
            PriceGroupListWindow::open(m_ui, ListMode::Pick, m_card.groupIdToLocate(), this)) {
        m_card.assignGroup(*group);
        showPrices();
    }
}

void ItemCardDialog::accept() {
    readTexts();
    const CardOutcome outcome = m_card.confirm();
    if (outcome == CardOutcome::StayOpen)
        m_popis->setFocus();
    closeByOutcome(*this, outcome);
}

} // namespace orvento::ui
