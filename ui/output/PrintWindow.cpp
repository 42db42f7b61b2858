#include "ui/output/PrintWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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

QSpinBox* pageBox(int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, 9999);
    box->setValue(value);
    return box;
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
    , m_grid(new QTableWidget(this))
    , m_description(new QLabel(this))
    , m_editCheck(new QCheckBox(QStringLiteral("upravit tisk. sestavu"), this))
    , m_editPanel(new QWidget(this))
    , m_printer(new PrinterComboBox(this))
    , m_setButton(new QToolButton(this))
    , m_from(pageBox(1, this))
    , m_to(pageBox(9999, this))
    , m_copies(pageBox(1, this))
    , m_extra(new QGroupBox(this))
    , m_mailPanel(new QWidget(this))
    , m_exportPanel(new QWidget(this))
    , m_exportFile(new QLineEdit(this))
    , m_print(new QPushButton(QStringLiteral("Tisk"), this))
    , m_preview(new QPushButton(QStringLiteral("&Náhled"), this))
    , m_export(new QPushButton(QStringLiteral("Export"), this)) {
    core::ProgramState& state = core::programState();
    const output::ReportContext reportContext{state.settings, state.user, state.db->agenda,
                                              &state.db->global};
    m_logic = std::make_unique<output::PrintWindowLogic>(
        reportContext, state.db->global, context.ui(), request.printType, request.onlyKind,
        printers ? std::move(printers) : output::PrinterSource(&PrintWindow::systemPrinters));
    m_logic->setSubject(request.subject);
    if (!request.runner.isEmpty())
        m_logic->setRunnerProgram(request.runner);
    m_logic->setControlsEnabled([this](bool enabled) { setEnabled(enabled); });
    m_editor = [this](output::ReportPropertiesForm& form) {
        return showProperties(form);
    };

    setObjectName(QStringLiteral("frmTisk"));
    setWindowTitle(output::PrintWindowLogic::caption());

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

    m_description->setObjectName(QStringLiteral("dblblPopisSestavy"));
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(m_description->fontMetrics().height() * 3);

    // The upkeep of the reports.
    m_editCheck->setObjectName(QStringLiteral("chckUpravitSestavu"));
    m_editPanel->setObjectName(QStringLiteral("panBtnSestava"));
    auto* editLayout = new QVBoxLayout(m_editPanel);
    editLayout->setContentsMargins(0, 0, 0, 0);
    const auto addEditButton = [this, editLayout](const char* name, const QString& text,
                                                  std::function<void()> action) {
        auto* button = new QPushButton(text, m_editPanel);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        editLayout->addWidget(button);
        connect(button, &QPushButton::clicked, this, std::move(action));
        return button;
    };
    addEditButton("btnOpravitSestavu",
                  QStringLiteral("Upravit tiskovou sestavu v editoru formulářů"),
                  [this] { m_logic->editReport(); });
    m_userReportButtons.push_back(
        addEditButton("btnVytvoritKopii", QStringLiteral("Vytvořit kopii tiskové sestavy"), [this] {
            m_logic->copyReport(m_editor);
            afterListChange();
        }));
    m_userReportButtons.push_back(
        addEditButton("btnVyjmoutSestavu", QStringLiteral("Vyjmout tiskovou sestavu"), [this] {
            m_logic->deleteReport();
            afterListChange();
        }));
    m_userReportButtons.push_back(
        addEditButton("btnVlastnostiSestavy", QStringLiteral("Vlastnosti tiskové sestavy"), [this] {
            m_logic->reportProperties(false, false, m_editor);
            afterListChange();
        }));
    m_userReportButtons.push_back(
        addEditButton("btnPridatSestavu", QStringLiteral("Přidat novou sestavu z disku"), [this] {
            m_logic->reportProperties(false, true, m_editor);
            afterListChange();
        }));
    m_editPanel->hide();
    connect(m_editCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_logic->editing = on;
        m_editPanel->setVisible(on);
        // The user's reports that could not be read are tried again before they are edited.
        if (on && !m_logic->userReportsRead() && m_logic->readUserReportsAgain())
            afterListChange();
    });

    // The printer.
    auto* printerGroup = new QGroupBox(QStringLiteral("Tiskárna"), this);
    m_printer->setObjectName(QStringLiteral("ComboBoxPrinter1"));
    m_printer->beforePopup = [this] {
        m_logic->refreshPrinters();
        showPrinters();
    };
    connect(m_printer, &QComboBox::activated, this,
            [this](int index) { m_logic->setPrinterRow(index); });
    m_setButton->setText(QStringLiteral("Nastavit..."));
    m_setButton->setPopupMode(QToolButton::InstantPopup);
    auto* setMenu = new QMenu(m_setButton);
    QAction* printerDefault =
        setMenu->addAction(QStringLiteral(">> tiskárnu jako výchozí pro tento tisk"), this, [this] {
            m_logic->setPrinterRow(m_printer->currentIndex());
            m_logic->setDefaultPrinter();
        });
    setMenu->addAction(QStringLiteral(">> sestavu jako výchozí pro tento tisk"), this,
                       [this] { m_logic->setDefaultReport(); });
    m_setButton->setMenu(setMenu);
    auto* printerLayout = new QHBoxLayout(printerGroup);
    printerLayout->addWidget(m_printer, 1);
    printerLayout->addWidget(m_setButton);

    auto* pagesGroup = new QGroupBox(QStringLiteral("Rozsah celých stránek"), this);
    m_from->setObjectName(QStringLiteral("edtOdStr"));
    m_to->setObjectName(QStringLiteral("edtDoStr"));
    m_copies->setObjectName(QStringLiteral("edtPocetKopii"));
    auto* pages = new QFormLayout(pagesGroup);
    pages->addRow(QStringLiteral("Od stránky"), m_from);
    pages->addRow(QStringLiteral("Do stránky"), m_to);
    pages->addRow(QStringLiteral("Počet kopií celých stránek "), m_copies);

    // The extra functions: e-mail for an offer, the file of an export.
    m_extra->setObjectName(QStringLiteral("gbxExtFunc"));
    auto* mailLayout = new QHBoxLayout(m_mailPanel);
    mailLayout->setContentsMargins(0, 0, 0, 0);
    mailLayout->addWidget(
        new QLabel(QStringLiteral("Chcete-li poslat nabídku e-mailem, klepněte"), m_mailPanel));
    auto* mailLink = new QLabel(QStringLiteral("<a href=\"#\">zde</a>"), m_mailPanel);
    mailLayout->addWidget(mailLink);
    mailLayout->addStretch();
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
    auto* extraLayout = new QVBoxLayout(m_extra);
    extraLayout->addWidget(m_mailPanel);
    extraLayout->addWidget(m_exportPanel);

    m_print->setObjectName(QStringLiteral("btnTisk"));
    m_print->setDefault(true);
    m_preview->setObjectName(QStringLiteral("btnNahled"));
    m_preview->setAutoDefault(false);
    m_export->setObjectName(QStringLiteral("btnExport"));
    m_export->setAutoDefault(false);
    auto* closeButton = new QPushButton(QStringLiteral("Zavřít okno"), this);
    closeButton->setObjectName(QStringLiteral("btnZavrit"));
    closeButton->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &PrintWindow::printReport);
    connect(m_preview, &QPushButton::clicked, this, &PrintWindow::previewReport);
    connect(m_export, &QPushButton::clicked, this, &PrintWindow::exportReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(m_grid, 1);
    left->addWidget(new QLabel(QStringLiteral("Popis vybrané sestavy"), this));
    left->addWidget(m_description);
    left->addWidget(m_editCheck);
    left->addWidget(m_editPanel);
    auto* right = new QVBoxLayout;
    right->addWidget(printerGroup);
    right->addWidget(pagesGroup);
    right->addWidget(m_extra);
    auto* info = new QLabel(QStringLiteral("Vyberte ze seznamu požadovanou tiskovou sestavu a "
                                           "klepněte na Tisk nebo Náhled."),
                            this);
    info->setWordWrap(true);
    right->addWidget(info);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_print, m_preview, m_export, closeButton})
        buttons->addWidget(b);
    right->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(right);
    resize(720, 440);

    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    installHelpKey(this, output::PrintWindowLogic::helpTopic());

    m_logic->open();
    const bool exporting = m_logic->exportMode();
    m_extra->setTitle(exporting ? QStringLiteral("Exportovat do souboru")
                                : QStringLiteral("Přídavné funkce"));
    m_exportPanel->setVisible(exporting);
    m_exportFile->setText(m_logic->exportFile);
    m_printer->setEnabled(!exporting);
    printerDefault->setEnabled(!exporting);
    for (QSpinBox* box : {m_from, m_to, m_copies})
        box->setEnabled(!exporting);
    m_print->setVisible(!exporting);
    m_export->setVisible(exporting);
    if (exporting) {
        m_export->setDefault(true);
        m_print->setDefault(false);
    }
    fillGrid();
    showPrinters();
    m_grid->setFocus();
}

PrintWindow::~PrintWindow() {
    if (!m_closed)
        m_logic->close();
}

bool PrintWindow::open(core::AppContext& context, const PrintRequest& request, QWidget* parent) {
    std::optional<core::ProgressScope> wait;
    wait.emplace(context.ui(), QStringLiteral("Příprava tiskového procesu...\n[čekejte prosím]"), 0,
                 false);
    PrintWindow window(context, request, {}, parent);
    wait.reset();
    window.exec();
    return window.logic().offerStateChanged();
}

bool PrintWindow::openForOffer(core::AppContext& context, qint64 offerId, QWidget* parent) {
    PrintRequest request;
    request.printType = 1;
    request.onlyKind = 1;
    request.subject.offerId = offerId;
    return open(context, request, parent);
}

void PrintWindow::fillGrid() {
    const QSignalBlocker block(m_grid);
    m_grid->setRowCount(m_logic->rowCount());
    const QIcon builtIn = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    const QIcon own = style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < m_logic->rowCount(); ++i) {
        const output::ReportRow& r = m_logic->row(i);
        auto* icon = new QTableWidgetItem(r.original ? builtIn : own, QString());
        icon->setToolTip(r.original ? QStringLiteral("programová") : QStringLiteral("uživatelská"));
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

bool PrintWindow::showProperties(output::ReportPropertiesForm& form) {
    ReportPropertiesDialog dialog(m_context, *m_logic, form, this);
    return dialog.exec() == QDialog::Accepted;
}

ReportPropertiesDialog::ReportPropertiesDialog(core::AppContext& context,
                                               output::PrintWindowLogic& logic,
                                               output::ReportPropertiesForm& form, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(logic)
    , m_form(form)
    , m_name(new QLineEdit(form.name, this))
    , m_descriptionEdit(new QPlainTextEdit(form.description, this))
    , m_kind(new QComboBox(this))
    , m_file(new QLineEdit(form.file, this)) {
    setObjectName(QStringLiteral("frmSestVlast"));
    setWindowTitle(QStringLiteral("Vlastnosti tiskové sestavy"));
    m_name->setObjectName(QStringLiteral("edtNazevSestavy"));
    m_name->setMaxLength(50);
    m_descriptionEdit->setObjectName(QStringLiteral("edtPopisSestavy"));
    m_kind->setObjectName(QStringLiteral("cbxTypSest"));
    m_kind->addItems(form.kinds);
    m_kind->setCurrentIndex(form.kind);
    m_kind->setEnabled(form.kindEnabled);
    m_file->setObjectName(QStringLiteral("edtNazevSouboru"));
    m_file->setMaxLength(255);
    m_file->setEnabled(form.fileEnabled);
    auto* type = new QLabel(form.typeText, this);
    type->setObjectName(QStringLiteral("lblTypSestavy"));
    auto* extension = new QLineEdit(form.extension, this);
    extension->setObjectName(QStringLiteral("edtKoncovka"));
    extension->setReadOnly(true);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setAutoDefault(false);
    browse->setEnabled(form.browseEnabled);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const auto name = m_logic.chooseTemplateFile())
            m_file->setText(*name);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Název sestavy"), m_name);
    fields->addRow(QStringLiteral("Popis sestavy"), m_descriptionEdit);
    fields->addRow(QStringLiteral("Typ sestavy"), type);
    fields->addRow(QString(), m_kind);
    fields->addRow(QStringLiteral("Typ souboru"), extension);
    fields->addRow(QStringLiteral("Název souboru"), fileRow);
    QDialogButtonBox* buttons = okCancelButtons(this);
    if (auto* ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK")))
        ok->setEnabled(form.okEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
}

void ReportPropertiesDialog::take() {
    m_form.name = m_name->text();
    m_form.description = m_descriptionEdit->toPlainText().left(255);
    m_form.kind = std::max(0, m_kind->currentIndex());
    m_form.file = m_file->text();
}

void ReportPropertiesDialog::accept() {
    take();
    if (!m_form.okEnabled || !m_logic.acceptProperties(m_form))
        return;
    QDialog::accept();
}

} // namespace orvento::ui
