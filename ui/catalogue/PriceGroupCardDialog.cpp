#include "ui/catalogue/PriceGroupCardDialog.h"

#include "catalogue/PriceGroupCard.h"
#include "catalogue/PriceLevelRecords.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "core/ProgramState.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/UpperCaseField.h"
#include "ui/catalogue/PriceLevelCardDialog.h"
#include "ui/catalogue/PriceLevelListWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

namespace {

constexpr QSize kDesignSize(640, 560);
constexpr int kRowPadding = 6;

QComboBox* comboOf(const char* name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QDoubleSpinBox* percentBox(const char* name, QWidget* parent) {
    NumberField* box = numberField(name, StandardFieldDecimals, parent);
    box->setSuffix(QStringLiteral(" %"));
    return box;
}

} // namespace

PriceGroupCardDialog::PriceGroupCardDialog(PriceGroupCard& card, core::UserInteraction& ui,
                                           QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_ui(ui)
    , m_code(new QLineEdit(this))
    , m_name(new QLineEdit(this))
    , m_priceType(comboOf("cbxSDPH", priceTypeCaptions(), this))
    , m_rounding(comboOf("cbxZaok", roundingCaptions(), this))
    , m_recompute(new QCheckBox(QStringLiteral("cenu automaticky přepočítat podle"), this))
    , m_valueType(comboOf("cbxTypHodnoty",
                          {QStringLiteral("pevné marže"), QStringLiteral("pevného rabatu")}, this))
    , m_margin(percentBox("curMarze", this))
    , m_rabat(percentBox("curRabat", this))
    , m_own(new QCheckBox(QStringLiteral("vlastní nastavení na každé položce v ceníku"), this))
    , m_basic(new QGroupBox(QStringLiteral("Údaje vztažené k Základní prodejní ceně"), this))
    , m_levels(new QGroupBox(QStringLiteral("Cenové hladiny přiřazené k cenové skupině"), this))
    , m_grid(new QTableWidget(0, 7, this)) {
    setObjectName(QStringLiteral("frmCenSkupDetail"));
    setWindowTitle(PriceGroupCard::caption());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildNameFields());
    layout->addWidget(m_own);
    buildBasicGroup();
    layout->addWidget(m_basic);
    layout->addLayout(buildRowButtons());
    buildLevelsGroup();
    layout->addWidget(m_levels, 1);
    layout->addWidget(buildLimitNote());
    layout->addWidget(okCancelButtons(this));
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOK")))
        ok->setEnabled(m_card.editable());
    installHelpKey(this, PriceGroupCard::helpTopic());
    showGroup();
    connect(m_own, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    updateEnabled();
    showRows();
    resize(kDesignSize);
}

// "Zkratka" and "Název".
QLayout* PriceGroupCardDialog::buildNameFields() {
    m_code->setObjectName(QStringLiteral("edtZkratka"));
    m_code->setMaxLength(kLevelCodeLength);
    keepUpperCase(m_code);
    m_name->setObjectName(QStringLiteral("edtPopis"));
    m_name->setMaxLength(kLevelNameLength);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Zkratka"), m_code);
    fields->addRow(QStringLiteral("Název"), m_name);
    return fields;
}

// The values that apply to the basic sale price, unless each item has its own.
void PriceGroupCardDialog::buildBasicGroup() {
    m_own->setObjectName(QStringLiteral("chckVlastni"));
    m_recompute->setObjectName(QStringLiteral("chckPrepocitat"));
    auto* basic = new QFormLayout(m_basic);
    basic->addRow(QStringLiteral("Typ ceny"), m_priceType);
    basic->addRow(QStringLiteral("Zaokrouhlení při výpočtu"), m_rounding);
    basic->addRow(m_recompute, m_valueType);
    basic->addRow(QStringLiteral("Pevná marže"), m_margin);
    basic->addRow(QStringLiteral("Pevný rabat"), m_rabat);
}

// The level rows of the group; a double click edits one.
void PriceGroupCardDialog::buildLevelsGroup() {
    m_grid->setObjectName(QStringLiteral("grCenSkupPol"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("P"), QStringLiteral("Zkratka"),
                                       QStringLiteral("Hodnota  %"), QStringLiteral("Typ "),
                                       QStringLiteral("Výchozí cena"),
                                       QStringLiteral("Zaokrouhlení"), QStringLiteral("Typ ceny")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + kRowPadding);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { editRow(); });
    auto* levelsLayout = new QVBoxLayout(m_levels);
    levelsLayout->addWidget(m_grid);
}

// The commands on the level rows.
QLayout* PriceGroupCardDialog::buildRowButtons() {
    auto* add = new QPushButton(QStringLiteral("Přidat cenovou hladinu"), this);
    add->setObjectName(QStringLiteral("btnPridatHladinu"));
    auto* edit = new QPushButton(QStringLiteral("Upravit"), this);
    edit->setObjectName(QStringLiteral("btnUpravit"));
    auto* original =
        new QPushButton(QStringLiteral("Upravit hodnoty původní cenové hladiny"), this);
    original->setObjectName(QStringLiteral("btnUpravitPuvodni"));
    auto* remove = new QPushButton(QStringLiteral("Vyjmout"), this);
    remove->setObjectName(QStringLiteral("btnVyjmout"));
    connect(add, &QPushButton::clicked, this, &PriceGroupCardDialog::addLevel);
    connect(edit, &QPushButton::clicked, this, &PriceGroupCardDialog::editRow);
    connect(original, &QPushButton::clicked, this, &PriceGroupCardDialog::editOriginalLevel);
    connect(remove, &QPushButton::clicked, this, &PriceGroupCardDialog::removeRow);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {add, edit, original, remove}) {
        b->setAutoDefault(false);
        rowButtons->addWidget(b);
    }
    rowButtons->addStretch();
    return rowButtons;
}

// The limit the check on OK enforces, said before the person runs into it.
QWidget* PriceGroupCardDialog::buildLimitNote() {
    auto* limit = new QLabel(QStringLiteral("Skupina může obsahovat maximálně %1 fixní hladiny.")
                                 .arg(PriceGroupCard::kMaxFixedRows),
                             this);
    limit->setObjectName(QStringLiteral("lblNapoveda"));
    limit->setWordWrap(true);
    return limit;
}

void PriceGroupCardDialog::showGroup() {
    const PriceGroup& g = m_card.group();
    m_code->setText(g.Zkratka);
    m_name->setText(g.Popis);
    m_priceType->setCurrentIndex(g.SDPH ? 1 : 0);
    m_rounding->setCurrentIndex(std::clamp(g.Zaok, 0, 2));
    m_recompute->setChecked(g.Prepocitat);
    m_valueType->setCurrentIndex(g.TypHodnoty == 1 ? 1 : 0);
    m_margin->setValue(g.Marze);
    m_rabat->setValue(g.Rabat);
    m_own->setChecked(g.Vlastni);
}

void PriceGroupCardDialog::updateEnabled() {
    m_basic->setEnabled(!m_own->isChecked());
}

std::optional<size_t> PriceGroupCardDialog::currentRow() const {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= static_cast<int>(m_card.rows().size()))
        return std::nullopt;
    return static_cast<size_t>(row);
}

void PriceGroupCardDialog::showRows() {
    const int keep = m_grid->currentRow();
    const auto& rows = m_card.rows();
    m_grid->setRowCount(static_cast<int>(rows.size()));
    const QString fixed = QStringLiteral("[fixní]");
    for (size_t i = 0; i < rows.size(); ++i) {
        const GroupLevelRow& r = rows[i];
        const bool isFixed = !r.values.Prepocitat;
        const QStringList texts = {
            r.Prevzato ? QStringLiteral("✓") : QString(),
            r.Zkratka,
            isFixed ? fixed : QString::number(r.values.Hodnota, 'f', 2),
            isFixed ? fixed : captionAt(levelTypeCaptions(), r.values.TypHodnoty),
            isFixed ? fixed : captionAt(levelBaseCaptions(), r.values.VychCena),
            captionAt(roundingCaptions(), r.values.Zaok),
            r.values.SDPH ? QStringLiteral("s daní") : QStringLiteral("bez daně")};
        for (int c = 0; c < texts.size(); ++c)
            m_grid->setItem(static_cast<int>(i), c, new QTableWidgetItem(texts[c]));
    }
    m_levels->setVisible(!rows.empty());
    if (!rows.empty())
        m_grid->setCurrentCell(std::clamp(keep, 0, static_cast<int>(rows.size()) - 1), 1);
}

void PriceGroupCardDialog::addLevel() {
    const auto at = currentRow();
    const QString locate = at ? m_card.rows()[*at].Zkratka : QString();
    if (const auto level = PriceLevelListWindow::open(m_ui, ListMode::Pick, true, locate, this)) {
        if (m_card.addLevel(*level)) {
            showRows();
            m_grid->setCurrentCell(static_cast<int>(m_card.rows().size()) - 1, 1);
        }
    }
}

void PriceGroupCardDialog::editRow() {
    const auto at = currentRow();
    if (!at || !m_card.mayEditRow(*at))
        return;
    PriceLevel shown = m_card.levelShownFor(*at);
    bool prevzato = m_card.rows()[*at].Prevzato;
    PriceLevelCardDialog dialog(shown, prevzato, this);
    if (dialog.exec() == QDialog::Accepted)
        m_card.applyRowEdit(*at, shown.values, prevzato);
    showRows();
}

void PriceGroupCardDialog::editOriginalLevel() {
    const auto at = currentRow();
    if (!at)
        return;
    const qint64 levelId = m_card.levelToEditFor(*at);
    if (levelId < 0)
        return;
    PriceLevelListWindow::editLevel(m_ui, levelId, this);
    m_card.afterLevelEdited(*at, levelId);
    showRows();
}

void PriceGroupCardDialog::removeRow() {
    if (const auto at = currentRow()) {
        m_card.removeRow(*at);
        showRows();
    }
}

void PriceGroupCardDialog::readFields() {
    PriceGroup& g = m_card.group();
    g.Zkratka = m_code->text();
    g.Popis = m_name->text();
    g.SDPH = m_priceType->currentIndex() == 1;
    g.Zaok = m_rounding->currentIndex();
    g.Prepocitat = m_recompute->isChecked();
    g.TypHodnoty = m_valueType->currentIndex();
    g.Marze = m_margin->value();
    g.Rabat = m_rabat->value();
    g.Vlastni = m_own->isChecked();
}

void PriceGroupCardDialog::accept() {
    readFields();
    const CardOutcome outcome = m_card.confirm();
    if (outcome == CardOutcome::StayOpen)
        showRows();
    closeByOutcome(*this, outcome);
}

} // namespace orvento::ui
