#include "ui/catalogue/RepricingWizardFrame.h"

#include "catalogue/RepricingWizardLogic.h"
#include "core/ProgramState.h"
#include "services/Workstations.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 440;
constexpr int kPickButtonWidth = 32;
constexpr int kMaxRate = 100;

} // namespace

QCheckBox* wizardCheck(const char* name, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* wizardButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    if (text.size() <= 3)
        button->setFixedWidth(kPickButtonWidth);
    return button;
}

QLabel* wizardText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

RepricingWizardFrame::RepricingWizardFrame(catalogue::BulkWizardLogic& logic, QWidget* parent)
    : QDialog(parent)
    , m_logic(logic)
    , m_pages(new QStackedWidget(this)) {
    setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void RepricingWizardFrame::build(QWidget* welcome, QWidget* settings, const QString& workingText,
                                 const QString& closeText, bool withRate) {
    m_pages->setObjectName(QStringLiteral("pgcMain"));
    for (QWidget* page : {welcome, settings, buildFilterPage(withRate), buildConfirmPage(),
                          buildWorkingPage(workingText)})
        m_pages->addWidget(page);

    m_back = wizardButton("btnZpet", QStringLiteral("< Zpět"), this);
    m_next = wizardButton("btnDalsi", QStringLiteral("Další >"), this);
    m_next->setDefault(true);
    m_close = wizardButton("btnStorno", closeText, this);
    m_interrupt = wizardButton("btnPrerusit", QStringLiteral("Přerušit"), this);
    connect(m_back, &QPushButton::clicked, this, &RepricingWizardFrame::back);
    connect(m_next, &QPushButton::clicked, this, &RepricingWizardFrame::next);
    connect(m_close, &QPushButton::clicked, this, &RepricingWizardFrame::reject);
    connect(m_interrupt, &QPushButton::clicked, this,
            [] { core::programState().cancelRequested = true; });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_back, m_next, m_close, m_interrupt})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    showPage();
}

void RepricingWizardFrame::addWelcomeEnd(QWidget* page, QVBoxLayout* layout) {
    layout->addWidget(wizardText(catalogue::bulkWizardContinueText(), page));
    auto* heading = wizardText(catalogue::bulkWizardWarningHeading(), page);
    heading->setObjectName(QStringLiteral("lblVarovani"));
    heading->setStyleSheet(QStringLiteral("font-weight: bold; color: red;"));
    layout->addWidget(heading);
    layout->addWidget(wizardText(catalogue::bulkWizardWarningText(), page));
    auto* tip = wizardText(catalogue::bulkWizardTip(), page);
    tip->setObjectName(QStringLiteral("lblTip"));
    tip->setVisible(m_logic.showsTip());
    layout->addWidget(tip);
    auto* others = wizardText(services::otherWorkstationsWarning(), page);
    others->setObjectName(QStringLiteral("lblUpozorneni"));
    others->setVisible(m_logic.othersRunning());
    layout->addWidget(others);
    layout->addStretch();
}

QWidget* RepricingWizardFrame::buildFilterPage(bool withRate) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsFiltr"));
    m_everything = wizardCheck(
        "chkVse",
        QStringLiteral("provést změny na všech položkách v ceníku (ve všech listech a skupinách)"),
        page);
    m_sheetOn = wizardCheck("chkList", QStringLiteral("pouze list"), page);
    m_sheet = new QLineEdit(page);
    m_sheet->setObjectName(QStringLiteral("edtList"));
    m_sheet->setReadOnly(true);
    m_sheetButton = wizardButton("btnList", QStringLiteral("..."), page);
    m_groupOn = wizardCheck("chkSkupina", QStringLiteral("pouze skupina"), page);
    m_group = new QLineEdit(page);
    m_group->setObjectName(QStringLiteral("edtSkupina"));
    m_group->setReadOnly(true);
    m_groupButton = wizardButton("btnSkupina", QStringLiteral("..."), page);
    m_rateOn = wizardCheck("chkSazba", QStringLiteral("pouze položky se sazbou DPH"), page);
    m_rate = new QSpinBox(page);
    m_rate->setObjectName(QStringLiteral("edtSazba"));
    m_rate->setRange(0, kMaxRate);
    m_rateOn->setVisible(withRate);
    m_rate->setVisible(withRate);

    auto* grid = new QGridLayout;
    grid->addWidget(m_sheetOn, 0, 0);
    grid->addWidget(m_sheet, 0, 1);
    grid->addWidget(m_sheetButton, 0, 2);
    grid->addWidget(m_groupOn, 1, 0);
    grid->addWidget(m_group, 1, 1);
    grid->addWidget(m_groupButton, 1, 2);
    grid->addWidget(m_rateOn, 2, 0);
    grid->addWidget(m_rate, 2, 1, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_everything);
    layout->addLayout(grid);
    layout->addStretch();

    for (QCheckBox* box : {m_everything, m_sheetOn, m_groupOn, m_rateOn})
        connect(box, &QCheckBox::toggled, this, [this] {
            storeScope();
            showScope();
        });
    connect(m_rate, &QSpinBox::valueChanged, this, [this] { storeScope(); });
    connect(m_sheetButton, &QPushButton::clicked, this, [this] {
        m_logic.chooseSheet();
        showScope();
    });
    connect(m_groupButton, &QPushButton::clicked, this, [this] {
        m_logic.chooseGroup();
        showScope();
    });
    return page;
}

QWidget* RepricingWizardFrame::buildConfirmPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsStart"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wizardText(catalogue::bulkWizardConfirmText(), page));
    layout->addStretch();
    return page;
}

QWidget* RepricingWizardFrame::buildWorkingPage(const QString& workingText) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsPrubeh"));
    m_phase = wizardText(QString(), page);
    m_phase->setObjectName(QStringLiteral("lblFaze"));
    m_groupName = wizardText(QString(), page);
    m_groupName->setObjectName(QStringLiteral("lblSkupina"));
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("pbPrubeh"));
    m_progress->setValue(0);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wizardText(workingText, page));
    layout->addWidget(m_phase);
    layout->addWidget(m_groupName);
    layout->addWidget(m_progress);
    layout->addStretch();
    return page;
}

void RepricingWizardFrame::storeScope() {
    if (m_syncing)
        return;
    m_logic.setEverything(m_everything->isChecked());
    m_logic.setSheetOn(m_sheetOn->isChecked());
    m_logic.setGroupOn(m_groupOn->isChecked());
    m_logic.setRateOn(m_rateOn->isChecked());
    m_logic.setRate(m_rate->value());
}

void RepricingWizardFrame::showScope() {
    m_syncing = true;
    const catalogue::CatalogueScope& scope = m_logic.scope();
    const catalogue::ScopeControls enabled = m_logic.scopeControls();
    m_everything->setChecked(scope.everything);
    m_sheetOn->setChecked(scope.sheetOn);
    m_sheetOn->setEnabled(enabled.sheetOn);
    m_sheet->setText(scope.sheetName);
    m_sheetButton->setEnabled(enabled.sheetButton);
    m_groupOn->setChecked(scope.groupOn);
    m_groupOn->setEnabled(enabled.groupOn);
    m_group->setText(scope.groupName);
    m_groupButton->setEnabled(enabled.groupButton);
    m_rateOn->setChecked(scope.rateOn);
    m_rateOn->setEnabled(enabled.rateOn);
    m_rate->setValue(scope.rate);
    m_rate->setEnabled(enabled.rateField);
    m_syncing = false;
}

void RepricingWizardFrame::showPage() {
    m_pages->setCurrentIndex(static_cast<int>(m_logic.page()));
    const catalogue::BulkWizardButtons shown = m_logic.buttons();
    m_back->setVisible(shown.back);
    m_next->setVisible(shown.next);
    m_close->setVisible(shown.close);
    m_interrupt->setVisible(shown.interrupt);
    if (m_logic.page() == catalogue::BulkWizardPage::Settings)
        showSettings();
    if (m_logic.page() == catalogue::BulkWizardPage::Filter)
        showScope();
}

void RepricingWizardFrame::next() {
    if (m_logic.page() == catalogue::BulkWizardPage::Settings)
        storeSettings();
    if (!m_logic.next())
        return;
    showPage();
    if (m_logic.page() == catalogue::BulkWizardPage::Working)
        runWork();
}

void RepricingWizardFrame::back() {
    if (m_logic.page() == catalogue::BulkWizardPage::Settings)
        storeSettings();
    m_logic.back();
    showPage();
}

void RepricingWizardFrame::runWork() {
    m_logic.run({[this](const QString& text) { m_phase->setText(text); },
                 [this](const QString& text) { m_groupName->setText(text); },
                 [this](int done, int total) {
                     m_progress->setMaximum(total);
                     m_progress->setValue(done);
                     QApplication::processEvents();
                 }});
    accept();
}

void RepricingWizardFrame::reject() {
    // Esc and the window's own close button during the run mean "Přerušit", never leaving.
    if (m_logic.running()) {
        core::programState().cancelRequested = true;
        return;
    }
    QDialog::reject();
}

} // namespace orvento::ui
