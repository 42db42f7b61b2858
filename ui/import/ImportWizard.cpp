#include "ui/import/ImportWizard.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "import/ImportWizardLogic.h"
#include "import/MoneyImportSettings.h"
#include "ui/Help.h"
#include "ui/import/DefinitionListPanel.h"
#include "ui/import/ProtocolView.h"

#include "ui_ImportWizard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 460;
constexpr int kFileButtonWidth = 32;

QPushButton* wizardButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

ImportWizard::ImportWizard(core::AppContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(std::make_unique<import::ImportWizardLogic>(context))
    , m_welcome(std::make_unique<Ui::ImportWelcomePage>())
    , m_pages(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("frmImportMain"));
    setWindowTitle(QStringLiteral("Import dat"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_pages->setObjectName(QStringLiteral("pgcMain"));
    m_welcomePage = buildWelcomePage();
    m_listPage = buildListPage();
    m_startPage = buildStartPage();
    m_protocolPage = buildProtocolPage();
    m_moneyStartPage = buildMoneyStartPage();
    for (QWidget* page : {m_welcomePage, m_listPage, m_startPage, m_protocolPage, m_moneyStartPage})
        m_pages->addWidget(page);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buildButtons());
    installHelpKey(this, QStringLiteral("pgImportMain.htm"));
    showPage();
}

ImportWizard::~ImportWizard() {
    // The protocol page follows the logic's protocol, so the pages go while the logic lives.
    delete m_pages;
}

void ImportWizard::open(core::AppContext& context, QWidget* parent) {
    if (!import::mayOpenImportWizard(context.ui()))
        return;
    ImportWizard wizard(context, parent);
    wizard.exec();
}

QWidget* ImportWizard::buildWelcomePage() {
    auto* page = new QWidget(this);
    m_welcome->setupUi(page);
    m_welcome->lblVarovani->setText(import::welcomeWarningHeading());
    m_welcome->lblVarovaniText->setText(import::welcomeWarningText());
    m_welcome->lblPokracovat->setText(import::welcomeContinueText());
    m_welcome->lblUpozorneni->setText(import::otherWorkstationsNotice());
    m_welcome->lblUpozorneni->setVisible(m_logic->othersRunning());
    return page;
}

QWidget* ImportWizard::buildListPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsVyberDef"));
    m_list = new DefinitionListPanel(m_context, page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_list);
    return page;
}

QWidget* ImportWizard::buildStartPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsImportBeforeStart"));
    auto* text = new QLabel(import::startPageText(), page);
    text->setObjectName(QStringLiteral("lblStart"));
    text->setWordWrap(true);
    m_sourceFile = new QLineEdit(page);
    m_sourceFile->setObjectName(QStringLiteral("edtNazevSouboru"));
    connect(m_sourceFile, &QLineEdit::textEdited, this,
            [this](const QString& file) { m_logic->setSourceFile(file); });
    auto* choose = wizardButton(QStringLiteral("btnNazevSouboru"), QStringLiteral("..."), page);
    choose->setFixedWidth(kFileButtonWidth);
    connect(choose, &QPushButton::clicked, this, &ImportWizard::chooseSourceFile);

    auto* file = new QHBoxLayout;
    file->addWidget(m_sourceFile, 1);
    file->addWidget(choose);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text);
    layout->addSpacing(text->fontMetrics().height());
    layout->addWidget(new QLabel(QStringLiteral("Název zdrojového souboru"), page));
    layout->addLayout(file);
    layout->addStretch();
    return page;
}

QWidget* ImportWizard::buildProtocolPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsProtocol"));
    m_protocol = new ProtocolView(page);
    m_protocol->follow(m_logic->protocol());
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("pbPrubeh"));
    m_progress->setValue(0);
    m_failed = new QLabel(import::runFailedText(), page);
    m_failed->setObjectName(QStringLiteral("lblChyba"));
    m_failed->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    m_failed->setVisible(false);
    m_saveProtocol =
        wizardButton(QStringLiteral("btnUlozitProtokol"), QStringLiteral("Uložit protokol"), page);
    connect(m_saveProtocol, &QPushButton::clicked, this, [this] { m_logic->saveProtocol(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_failed, 1);
    bottom->addWidget(m_saveProtocol);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_protocol, 1);
    layout->addWidget(m_progress);
    layout->addLayout(bottom);
    return page;
}

QWidget* ImportWizard::buildMoneyStartPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsMoneyBeforeStart"));
    auto* text = new QLabel(page);
    text->setObjectName(QStringLiteral("lblMoneyStart"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("%1 <span style=\"color: red;\">%2</span> %3")
                      .arg(import::moneyStartPageIntro().toHtmlEscaped(),
                           import::moneyStartPageWarning().toHtmlEscaped(),
                           import::moneyStartPageText().toHtmlEscaped()));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text);
    layout->addStretch();
    return page;
}

QLayout* ImportWizard::buildButtons() {
    m_back = wizardButton(QStringLiteral("btnZpet"), QStringLiteral("< Zpět"), this);
    m_next = wizardButton(QStringLiteral("btnDalsi"), QStringLiteral("Další >"), this);
    m_next->setDefault(true);
    m_close = wizardButton(QStringLiteral("btnZavrit"), QStringLiteral("Zavřít"), this);
    m_interrupt = wizardButton(QStringLiteral("btnPrerusit"), QStringLiteral("Přerušit"), this);
    connect(m_back, &QPushButton::clicked, this, &ImportWizard::back);
    connect(m_next, &QPushButton::clicked, this, &ImportWizard::next);
    connect(m_close, &QPushButton::clicked, this, &ImportWizard::reject);
    connect(m_interrupt, &QPushButton::clicked, this, &ImportWizard::interrupt);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_back, m_next, m_close, m_interrupt})
        buttons->addWidget(b);
    return buttons;
}

void ImportWizard::showPage() {
    switch (m_logic->page()) {
    case import::WizardPage::Welcome:
        m_pages->setCurrentWidget(m_welcomePage);
        break;
    case import::WizardPage::List:
        m_pages->setCurrentWidget(m_listPage);
        break;
    case import::WizardPage::Start:
        m_pages->setCurrentWidget(m_startPage);
        m_sourceFile->setText(m_logic->sourceFile());
        break;
    case import::WizardPage::Protocol:
        m_pages->setCurrentWidget(m_protocolPage);
        break;
    case import::WizardPage::MoneyStart:
        m_pages->setCurrentWidget(m_moneyStartPage);
        break;
    }
    const import::WizardButtons shown = m_logic->buttons();
    m_back->setVisible(shown.back);
    m_next->setVisible(shown.next);
    m_close->setVisible(shown.close);
    m_interrupt->setVisible(shown.interrupt);
    m_saveProtocol->setEnabled(!m_logic->running());
    m_failed->setVisible(m_logic->page() == import::WizardPage::Protocol && m_logic->failed());
}

void ImportWizard::next() {
    switch (m_logic->page()) {
    case import::WizardPage::Welcome:
        m_logic->enterList([this](qint64 lastUsed) { return m_list->reload(lastUsed); });
        break;
    case import::WizardPage::List:
        m_logic->leaveList(m_list->isEmpty() ? std::nullopt : m_list->currentId());
        break;
    case import::WizardPage::Start:
    case import::WizardPage::MoneyStart:
        runImport();
        return;
    case import::WizardPage::Protocol:
        break;
    }
    showPage();
}

void ImportWizard::runImport() {
    m_logic->setSourceFile(m_sourceFile->text());
    if (!m_logic->beginRun())
        return;
    showPage();
    m_logic->run([this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
        QApplication::processEvents();
    });
    m_progress->setValue(0);
    showPage();
    // "Zavřít" pressed during a Money run: the wizard closes now that the run has returned.
    if (m_closeAfterRun)
        QDialog::reject();
}

void ImportWizard::back() {
    m_logic->back();
    showPage();
}

void ImportWizard::interrupt() {
    // The run stops at its next step (the price list's after asking whether to).
    if (m_logic->running())
        core::programState().cancelRequested = true;
}

void ImportWizard::chooseSourceFile() {
    m_logic->setSourceFile(m_sourceFile->text());
    m_logic->chooseSourceFile();
    m_sourceFile->setText(m_logic->sourceFile());
}

void ImportWizard::reject() {
    // Esc and the window's own close button during a run mean "Přerušit", never leaving.
    if (m_logic->running()) {
        interrupt();
        m_closeAfterRun = m_logic->moneyRun();
        return;
    }
    QDialog::reject();
}

} // namespace orvento::ui
