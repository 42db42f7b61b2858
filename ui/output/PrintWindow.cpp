#include "ui/output/PrintWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/Help.h"
#include "ui/output/SendMailDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace orvento::ui {

namespace {

constexpr int kFirstPage = 1;
constexpr int kLastPage = 9999;
constexpr int kDescriptionLines = 3;
constexpr QSize kDesignSize(720, 440);

QSpinBox* pageBox(const char* name, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(kFirstPage, kLastPage);
    box->setValue(value);
    return box;
}

std::unique_ptr<output::PrintWindowLogic>
makeLogic(core::AppContext& context, const PrintRequest& request, output::PrinterSource printers) {
    core::ProgramState& state = core::programState();
    const output::ReportContext reportContext{state.settings, state.user, state.db->agenda,
                                              &state.db->global};
    auto logic = std::make_unique<output::PrintWindowLogic>(
        reportContext, state.db->global, context.ui(), request.printType, request.onlyKind,
        printers ? std::move(printers) : output::PrinterSource(&PrintWindow::systemPrinters));
    logic->setSubject(request.subject);
    logic->setRunSecrets(context.secrets());
    if (!request.runner.isEmpty())
        logic->setRunnerProgram(request.runner);
    return logic;
}

} // namespace

void PrinterComboBox::showPopup() {
    if (beforePopup)
        beforePopup();
    QComboBox::showPopup();
}

output::PrinterList PrintWindow::systemPrinters() {
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

PrintWindow::PrintWindow(core::AppContext& context, const PrintRequest& request,
                         output::PrinterSource printers, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(makeLogic(context, request, std::move(printers))) {
    m_logic->setControlsEnabled([this](bool enabled) { setEnabled(enabled); });
    m_editor = [this](output::ReportPropertiesForm& form) {
        return showProperties(form);
    };
    m_mailEditor = [this](output::MailForm& form) {
        return SendMailDialog::edit(m_context, form, this);
    };
    setObjectName(QStringLiteral("frmTisk"));
    setWindowTitle(output::PrintWindowLogic::caption());

    auto* left = new QVBoxLayout;
    left->addWidget(buildReportList(), 1);
    left->addWidget(new QLabel(QStringLiteral("Popis vybrané sestavy"), this));
    left->addWidget(m_description);
    left->addWidget(buildEditPanel());
    auto* right = new QVBoxLayout;
    right->addWidget(buildPrinterGroup());
    right->addWidget(buildPagesGroup());
    right->addWidget(buildExtraGroup());
    auto* info = new QLabel(QStringLiteral("Vyberte ze seznamu požadovanou tiskovou sestavu a "
                                           "klepněte na Tisk nebo Náhled."),
                            this);
    info->setWordWrap(true);
    right->addWidget(info);
    right->addStretch();
    right->addLayout(buildButtons());
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(right);
    resize(kDesignSize);
    installKeys();

    m_logic->open();
    showPrintType();
    fillGrid();
    showPrinters();
    m_grid->setFocus();
}

// The list of reports and the description of the current one under it.
QWidget* PrintWindow::buildReportList() {
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("grSestava"));
    m_grid->setColumnCount(2);
    m_grid->setHorizontalHeaderLabels({QString(), QStringLiteral("Tiskové sestavy")});
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row != m_logic->currentRow()) {
            m_logic->setCurrentRow(row);
            showCurrent();
        }
    });
    connect(m_grid, &QTableWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Nastavit sestavu jako výchozí pro tento tisk"), this,
                       [this] { m_logic->setDefaultReport(); });
        menu.addAction(QStringLiteral("Otevřít složku se sestavami"), this,
                       [this] { m_logic->openTemplateFolder(); });
        menu.exec(m_grid->viewport()->mapToGlobal(at));
    });
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("dblblPopisSestavy"));
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(m_description->fontMetrics().height() * kDescriptionLines);
    return m_grid;
}

// "upravit tisk. sestavu" and the buttons of the reports' upkeep it shows.
QWidget* PrintWindow::buildEditPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    m_editCheck = new QCheckBox(QStringLiteral("upravit tisk. sestavu"), panel);
    m_editCheck->setObjectName(QStringLiteral("chckUpravitSestavu"));
    layout->addWidget(m_editCheck);
    m_editPanel = new QWidget(panel);
    m_editPanel->setObjectName(QStringLiteral("panBtnSestava"));
    auto* buttons = new QVBoxLayout(m_editPanel);
    buttons->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editPanel);
    addEditButton("btnOpravitSestavu",
                  QStringLiteral("Upravit tiskovou sestavu v editoru formulářů"),
                  [this] { m_logic->editReport(); });
    m_userReportButtons = {
        addEditButton("btnVytvoritKopii", QStringLiteral("Vytvořit kopii tiskové sestavy"),
                      [this] { m_logic->copyReport(m_editor); }),
        addEditButton("btnVyjmoutSestavu", QStringLiteral("Vyjmout tiskovou sestavu"),
                      [this] { m_logic->deleteReport(); }),
        addEditButton("btnVlastnostiSestavy", QStringLiteral("Vlastnosti tiskové sestavy"),
                      [this] { m_logic->reportProperties(false, false, m_editor); }),
        addEditButton("btnPridatSestavu", QStringLiteral("Přidat novou sestavu z disku"),
                      [this] { m_logic->reportProperties(false, true, m_editor); }),
    };
    m_editPanel->hide();
    connect(m_editCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_logic->editing = on;
        m_editPanel->setVisible(on);
        // The user's reports that could not be read are tried again before they are edited.
        if (on && !m_logic->userReportsRead() && m_logic->readUserReportsAgain())
            afterListChange();
    });
    return panel;
}

// A button of the reports' upkeep; the list is shown again after its command.
QPushButton* PrintWindow::addEditButton(const char* name, const QString& text,
                                        std::function<void()> action) {
    auto* button = new QPushButton(text, m_editPanel);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    m_editPanel->layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
        action();
        afterListChange();
    });
    return button;
}

// "Tiskárna": the printer list and "Nastavit..." with its menu of defaults.
QWidget* PrintWindow::buildPrinterGroup() {
    auto* group = new QGroupBox(QStringLiteral("Tiskárna"), this);
    m_printer = new PrinterComboBox(group);
    m_printer->setObjectName(QStringLiteral("ComboBoxPrinter1"));
    m_printer->beforePopup = [this] {
        m_logic->refreshPrinters();
        showPrinters();
    };
    connect(m_printer, &QComboBox::activated, this,
            [this](int index) { m_logic->setPrinterRow(index); });
    auto* setButton = new QToolButton(group);
    setButton->setText(QStringLiteral("Nastavit..."));
    setButton->setPopupMode(QToolButton::InstantPopup);
    auto* setMenu = new QMenu(setButton);
    m_printerDefault =
        setMenu->addAction(QStringLiteral(">> tiskárnu jako výchozí pro tento tisk"), this, [this] {
            m_logic->setPrinterRow(m_printer->currentIndex());
            m_logic->setDefaultPrinter();
        });
    setMenu->addAction(QStringLiteral(">> sestavu jako výchozí pro tento tisk"), this,
                       [this] { m_logic->setDefaultReport(); });
    setButton->setMenu(setMenu);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(m_printer, 1);
    layout->addWidget(setButton);
    return group;
}

// "Rozsah celých stránek": pages and copies.
QWidget* PrintWindow::buildPagesGroup() {
    auto* group = new QGroupBox(QStringLiteral("Rozsah celých stránek"), this);
    m_from = pageBox("edtOdStr", kFirstPage, group);
    m_to = pageBox("edtDoStr", kLastPage, group);
    m_copies = pageBox("edtPocetKopii", kFirstPage, group);
    auto* pages = new QFormLayout(group);
    pages->addRow(QStringLiteral("Od stránky"), m_from);
    pages->addRow(QStringLiteral("Do stránky"), m_to);
    pages->addRow(QStringLiteral("Počet kopií celých stránek "), m_copies);
    return group;
}

// The extra functions: the e-mail link for an offer, the file of an export.
QWidget* PrintWindow::buildExtraGroup() {
    m_extra = new QGroupBox(this);
    m_extra->setObjectName(QStringLiteral("gbxExtFunc"));
    m_mailPanel = new QWidget(m_extra);
    auto* mailLayout = new QHBoxLayout(m_mailPanel);
    mailLayout->setContentsMargins(0, 0, 0, 0);
    mailLayout->addWidget(
        new QLabel(QStringLiteral("Chcete-li poslat nabídku e-mailem, klepněte"), m_mailPanel));
    auto* mailLink = new QLabel(QStringLiteral("<a href=\"#\">zde</a>"), m_mailPanel);
    mailLink->setObjectName(QStringLiteral("lblZde"));
    connect(mailLink, &QLabel::linkActivated, this, &PrintWindow::sendByEmail);
    mailLayout->addWidget(mailLink);
    mailLayout->addStretch();

    m_exportPanel = new QWidget(m_extra);
    m_exportFile = new QLineEdit(m_exportPanel);
    m_exportFile->setObjectName(QStringLiteral("edtExportSoubor"));
    auto* browse = new QPushButton(QStringLiteral("..."), m_exportPanel);
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, [this] {
        takeFields();
        m_logic->chooseExportFile();
        m_exportFile->setText(m_logic->exportFile);
    });
    auto* exportLayout = new QHBoxLayout(m_exportPanel);
    exportLayout->setContentsMargins(0, 0, 0, 0);
    exportLayout->addWidget(m_exportFile, 1);
    exportLayout->addWidget(browse);

    auto* layout = new QVBoxLayout(m_extra);
    layout->addWidget(m_mailPanel);
    layout->addWidget(m_exportPanel);
    return m_extra;
}

// "Tisk", "Náhled", "Export" and "Zavřít okno".
QLayout* PrintWindow::buildButtons() {
    m_print = new QPushButton(QStringLiteral("Tisk"), this);
    m_print->setObjectName(QStringLiteral("btnTisk"));
    m_print->setDefault(true);
    m_preview = new QPushButton(QStringLiteral("&Náhled"), this);
    m_preview->setObjectName(QStringLiteral("btnNahled"));
    m_preview->setAutoDefault(false);
    m_savePdf = new QPushButton(QStringLiteral("Uložit jako PDF"), this);
    m_savePdf->setObjectName(QStringLiteral("btnUlozitPdf"));
    m_savePdf->setAutoDefault(false);
    m_export = new QPushButton(QStringLiteral("Export"), this);
    m_export->setObjectName(QStringLiteral("btnExport"));
    m_export->setAutoDefault(false);
    auto* closeButton = new QPushButton(QStringLiteral("Zavřít okno"), this);
    closeButton->setObjectName(QStringLiteral("btnZavrit"));
    closeButton->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &PrintWindow::printReport);
    connect(m_preview, &QPushButton::clicked, this, &PrintWindow::previewReport);
    connect(m_savePdf, &QPushButton::clicked, this, &PrintWindow::saveAsPdf);
    connect(m_export, &QPushButton::clicked, this, &PrintWindow::exportReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_print, m_preview, m_savePdf, m_export, closeButton})
        buttons->addWidget(b);
    return buttons;
}

void PrintWindow::installKeys() {
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    installHelpKey(this, output::PrintWindowLogic::helpTopic());
}

// Printing or exporting: the controls of the one the print type does.
void PrintWindow::showPrintType() {
    const bool exporting = m_logic->exportMode();
    m_extra->setTitle(m_logic->extraFunctionsTitle());
    m_exportPanel->setVisible(exporting);
    m_exportFile->setText(m_logic->exportFile);
    m_printer->setEnabled(!exporting);
    m_printerDefault->setEnabled(!exporting);
    for (QSpinBox* box : {m_from, m_to, m_copies})
        box->setEnabled(!exporting);
    m_print->setVisible(!exporting);
    m_savePdf->setVisible(m_logic->pdfAvailable());
    m_export->setVisible(exporting);
    m_print->setDefault(!exporting);
    m_export->setDefault(exporting);
}

PrintWindow::~PrintWindow() {
    if (!m_closed)
        m_logic->close();
}

bool PrintWindow::open(core::AppContext& context, const PrintRequest& request, QWidget* parent) {
    std::optional<core::ProgressScope> wait;
    wait.emplace(context.ui(), output::PrintWindowLogic::preparingText(), 0, false);
    PrintWindow window(context, request, {}, parent);
    wait.reset();
    window.exec();
    return window.logic().offerStateChanged();
}

bool PrintWindow::openForOffer(core::AppContext& context, qint64 offerId, QWidget* parent) {
    return open(context, PrintRequest::savedOffer(offerId), parent);
}

void PrintWindow::fillGrid() {
    const QSignalBlocker block(m_grid);
    m_grid->setRowCount(m_logic->rowCount());
    const QIcon builtIn = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    const QIcon own = style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < m_logic->rowCount(); ++i) {
        const output::ReportRow& r = m_logic->row(i);
        auto* icon = new QTableWidgetItem(r.original ? builtIn : own, QString());
        icon->setToolTip(output::PrintWindowLogic::originTip(r));
        m_grid->setItem(i, 0, icon);
        m_grid->setItem(i, 1, new QTableWidgetItem(r.name));
    }
    if (m_logic->currentRow() >= 0)
        m_grid->setCurrentCell(m_logic->currentRow(), 1);
    showCurrent();
}

void PrintWindow::showCurrent() {
    m_description->setText(m_logic->description());
    m_mailPanel->setVisible(m_logic->emailVisible());
    for (QPushButton* button : m_userReportButtons)
        button->setEnabled(m_logic->userReportsRead());
}

void PrintWindow::showPrinters() {
    const QSignalBlocker block(m_printer);
    m_printer->clear();
    m_printer->addItems(m_logic->printers());
    m_printer->setCurrentIndex(m_logic->printerRow());
}

void PrintWindow::takeFields() {
    m_logic->setPrinterRow(m_printer->currentIndex());
    m_logic->pageFrom = m_from->value();
    m_logic->pageTo = m_to->value();
    m_logic->copies = m_copies->value();
    m_logic->exportFile = m_exportFile->text();
}

void PrintWindow::afterListChange() {
    fillGrid();
}

void PrintWindow::printReport() {
    if (!m_print->isVisible() || !m_print->isEnabled())
        return;
    takeFields();
    if (m_logic->print())
        accept();
}

void PrintWindow::previewReport() {
    takeFields();
    if (m_logic->preview())
        accept();
}

void PrintWindow::exportReport() {
    takeFields();
    m_logic->exportReport();
}

void PrintWindow::done(int result) {
    if (!m_closed) {
        takeFields();
        m_logic->close();
        m_closed = true;
    }
    QDialog::done(result);
}

void PrintWindow::sendByEmail() {
    takeFields();
    m_logic->sendByEmail(m_mailEditor);
}

void PrintWindow::saveAsPdf() {
    takeFields();
    m_logic->saveAsPdf();
}

bool PrintWindow::showProperties(output::ReportPropertiesForm& form) {
    ReportPropertiesDialog dialog(m_context, *m_logic, form, this);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
