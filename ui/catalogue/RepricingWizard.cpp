#include "ui/catalogue/RepricingWizard.h"

#include "ui/CardWidgets.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kAmountDecimals = 2;
constexpr int kMaxRate = 100;

QComboBox* choice(const char* name, const QStringList& texts, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(texts);
    return box;
}

} // namespace

RepricingWizard::RepricingWizard(core::Database& db, core::UserInteraction& ui,
                                 core::Navigator& navigator, catalogue::SelectionMode mode,
                                 catalogue::MarkedRows marked, QWidget* parent)
    : RepricingWizardFrame(m_logic, parent)
    , m_logic(db, ui, navigator, mode, std::move(marked)) {
    setObjectName(QStringLiteral("frmPreceneni"));
    setWindowTitle(catalogue::RepricingWizardLogic::caption());
    build(buildWelcomePage(), buildSettingsPage(), QStringLiteral("Pracuji, prosím čekejte..."),
          QStringLiteral("Storno"), true);
    installHelpKey(this, catalogue::RepricingWizardLogic::helpTopic());
}

int RepricingWizard::open(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                          catalogue::SelectionMode mode, catalogue::MarkedRows marked,
                          QWidget* parent) {
    if (!catalogue::RepricingWizardLogic::mayOpen(ui))
        return -1;
    RepricingWizard wizard(db, ui, navigator, mode, std::move(marked), parent);
    wizard.exec();
    return wizard.logic().finished() ? 0 : -1;
}

QWidget* RepricingWizard::buildWelcomePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsUvod"));
    auto* layout = new QVBoxLayout(page);
    auto* title = wizardText(
        QStringLiteral("Vítá Vás průvodce přeceněním nákupních a prodejních cen v ceníku."), page);
    title->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(title);
    layout->addWidget(wizardText(
        QStringLiteral("Tato funkce přepočítá prodejní ceny v ceníku. Pokud chcete také hromadně "
                       "změnit cenové údaje na položkách (např. nastavit jinou cenovou skupinu, "
                       "změnit pevný rabat, apod.) zaškrtněte volbu \"hromadně nastavit také "
                       "vybrané cenové hodnoty\""),
        page));
    m_withSettings = wizardCheck(
        "chkNastavit", QStringLiteral("hromadně nastavit také vybrané cenové hodnoty"), page);
    connect(m_withSettings, &QCheckBox::toggled, this,
            [this](bool on) { m_logic.setWithSettings(on); });
    layout->addWidget(m_withSettings);
    addWelcomeEnd(page, layout);
    return page;
}

RepricingWizard::ValueRow RepricingWizard::valueRow(const char* name, const QString& text,
                                                    bool withMultiply, QWidget* page) {
    const QString base = QString::fromLatin1(name);
    ValueRow row;
    row.on = wizardCheck(qPrintable(QStringLiteral("chk") + base), text, page);
    row.action = choice(qPrintable(QStringLiteral("cmb") + base),
                        catalogue::RepricingWizardLogic::actionTexts(withMultiply), page);
    row.value = numberField(qPrintable(QStringLiteral("edt") + base), kAmountDecimals, page);
    return row;
}

QWidget* RepricingWizard::buildSettingsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsNastavit"));
    auto* grid = new QGridLayout;
    int line = 0;
    m_rateOn = wizardCheck("chkSazbaDPH", QStringLiteral("sazbu DPH"), page);
    m_rate = new QSpinBox(page);
    m_rate->setObjectName(QStringLiteral("edtSazbaDPH"));
    m_rate->setRange(0, kMaxRate);
    grid->addWidget(m_rateOn, line, 0);
    grid->addWidget(m_rate, line++, 2);
    const auto addRow = [&](const ValueRow& row) {
        grid->addWidget(row.on, line, 0);
        grid->addWidget(row.action, line, 1);
        grid->addWidget(row.value, line++, 2);
    };
    m_purchase = valueRow("NakCena", QStringLiteral("nákupní cenu bez DPH"), true, page);
    m_margin = valueRow("Marze", QStringLiteral("pevnou marži *)"), false, page);
    m_rabat = valueRow("Rabat", QStringLiteral("pevný rabat *)"), false, page);
    m_sale = valueRow("PrCena", QStringLiteral("zákl. prodejní cenu"), true, page);
    for (const ValueRow* row : {&m_purchase, &m_margin, &m_rabat, &m_sale})
        addRow(*row);

    m_groupOn = wizardCheck("chkCenSkup", QStringLiteral("Cenovou skupinu"), page);
    m_group = new QLineEdit(page);
    m_group->setObjectName(QStringLiteral("edtCenSkup"));
    m_group->setReadOnly(true);
    m_groupPick = wizardButton("btnCenSkup", QStringLiteral("..."), page);
    m_groupPick->setToolTip(QStringLiteral("Výběr cenové skupiny"));
    m_groupClear = wizardButton("btnCenSkupZrus", QStringLiteral("x"), page);
    m_groupClear->setToolTip(QStringLiteral("Zrušení cenové skupiny"));
    auto* groupLine = new QHBoxLayout;
    groupLine->addWidget(m_group, 1);
    groupLine->addWidget(m_groupPick);
    groupLine->addWidget(m_groupClear);
    grid->addWidget(m_groupOn, line, 0);
    grid->addLayout(groupLine, line++, 1, 1, 2);

    m_roundingOn = wizardCheck("chkZaok", QStringLiteral("Zaokrouhlení při výpočtu *)"), page);
    m_rounding = choice("cmbZaok", catalogue::RepricingWizardLogic::roundingTexts(), page);
    grid->addWidget(m_roundingOn, line, 0);
    grid->addWidget(m_rounding, line++, 1);
    m_typeOn = wizardCheck("chkTypCeny", QStringLiteral("Typ ceny *)"), page);
    m_type = choice("cmbTypCeny", {QStringLiteral("bez daně"), QStringLiteral("s daní")}, page);
    grid->addWidget(m_typeOn, line, 0);
    grid->addWidget(m_type, line++, 1);
    m_recomputeOn = wizardCheck("chkPrepocitat", QStringLiteral("Aut. přepočítat *)"), page);
    m_recompute = choice("cmbPrepocitat", {QStringLiteral("ano"), QStringLiteral("ne")}, page);
    m_valueType = choice("cmbTypHodnoty",
                         {QStringLiteral("pevné marže"), QStringLiteral("pevného rabatu")}, page);
    auto* recomputeLine = new QHBoxLayout;
    recomputeLine->addWidget(m_recompute);
    recomputeLine->addWidget(new QLabel(QStringLiteral("podle"), page));
    recomputeLine->addWidget(m_valueType);
    grid->addWidget(m_recomputeOn, line, 0);
    grid->addLayout(recomputeLine, line++, 1, 1, 2);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(wizardText(catalogue::RepricingWizardLogic::settingsNote(), page));
    layout->addStretch();

    const auto changed = [this] {
        storeSettings();
        showSettings();
    };
    for (QCheckBox* box : {m_rateOn, m_purchase.on, m_margin.on, m_rabat.on, m_sale.on, m_groupOn,
                           m_roundingOn, m_typeOn, m_recomputeOn})
        connect(box, &QCheckBox::toggled, this, changed);
    connect(m_sale.action, &QComboBox::currentIndexChanged, this, changed);
    connect(m_groupPick, &QPushButton::clicked, this, [this] {
        storeSettings();
        m_logic.choosePriceGroup();
        showSettings();
    });
    connect(m_groupClear, &QPushButton::clicked, this, [this] {
        storeSettings();
        m_logic.clearPriceGroup();
        showSettings();
    });
    return page;
}

catalogue::ValueSetting RepricingWizard::valueOf(const ValueRow& row) {
    return {row.on->isChecked(), static_cast<catalogue::ValueAction>(row.action->currentIndex()),
            row.value->value()};
}

void RepricingWizard::show(const ValueRow& row, const catalogue::ValueSetting& value) {
    row.on->setChecked(value.on);
    row.action->setCurrentIndex(static_cast<int>(value.action));
    row.action->setEnabled(value.on);
    row.value->setEnabled(value.on);
}

void RepricingWizard::storeSettings() {
    if (m_syncing)
        return;
    catalogue::RepricingSettings s = m_logic.settings();
    s.rateOn = m_rateOn->isChecked();
    s.rate = m_rate->value();
    s.purchasePrice = valueOf(m_purchase);
    s.margin = valueOf(m_margin);
    s.rabat = valueOf(m_rabat);
    s.salePrice = valueOf(m_sale);
    s.priceGroupOn = m_groupOn->isChecked();
    s.roundingOn = m_roundingOn->isChecked();
    s.rounding = m_rounding->currentIndex();
    s.priceTypeOn = m_typeOn->isChecked();
    s.withVat = m_type->currentIndex() == 1;
    s.recomputeOn = m_recomputeOn->isChecked();
    s.recompute = m_recompute->currentIndex() == 0;
    s.valueType = m_valueType->currentIndex();
    m_logic.setSettings(s);
}

void RepricingWizard::showSettings() {
    m_syncing = true;
    const catalogue::RepricingSettings& s = m_logic.settings();
    m_rateOn->setChecked(s.rateOn);
    m_rate->setEnabled(s.rateOn);
    show(m_purchase, s.purchasePrice);
    show(m_margin, s.margin);
    show(m_rabat, s.rabat);
    show(m_sale, s.salePrice);
    const bool typeAndGroup = m_logic.priceTypeAndGroupEnabled();
    m_groupOn->setChecked(s.priceGroupOn);
    m_groupOn->setEnabled(typeAndGroup);
    m_group->setText(s.priceGroup);
    m_group->setEnabled(s.priceGroupOn);
    m_groupPick->setEnabled(s.priceGroupOn);
    m_groupClear->setEnabled(s.priceGroupOn);
    m_roundingOn->setChecked(s.roundingOn);
    m_rounding->setEnabled(s.roundingOn);
    m_typeOn->setChecked(s.priceTypeOn);
    m_typeOn->setEnabled(typeAndGroup);
    m_type->setEnabled(s.priceTypeOn);
    m_recomputeOn->setChecked(s.recomputeOn);
    m_recompute->setEnabled(s.recomputeOn);
    m_valueType->setEnabled(s.recomputeOn);
    m_syncing = false;
}

} // namespace orvento::ui
