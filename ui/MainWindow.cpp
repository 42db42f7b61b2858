#include "ui/MainWindow.h"

#include "core/AppContext.h"
#include "core/AppVersion.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/AboutDialog.h"
#include "ui/Help.h"
#include "ui/UserListWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

MainWindow::MainWindow(core::AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(core::kProductName);
    buildButtonBar();
    buildStatusBar();

    auto* desktop = m_desktop = new QWidget(this);
    desktop->setObjectName(QStringLiteral("desktop"));
    desktop->setAutoFillBackground(true);
    desktop->setStyleSheet(QStringLiteral(
        "#desktop { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #eef3f8, "
        "stop:1 #d4e2ef); }"));
    m_desktopTitle = new QLabel(desktop);
    m_desktopTitle->setObjectName(QStringLiteral("lblFirma"));
    QFont big = m_desktopTitle->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    m_desktopTitle->setFont(big);
    m_desktopTitle->setStyleSheet(QStringLiteral("color: #1d4f7c;"));
    auto* layout = new QVBoxLayout(desktop);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(m_desktopTitle, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    setCentralWidget(desktop);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { openHelpTopic(QStringLiteral("pgUvod.htm")); });
    auto* purchase = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    purchase->setContext(Qt::ApplicationShortcut);
    connect(purchase, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    connect(&m_context.events(), &core::ProgramEvents::agendaOpened, this,
            &MainWindow::refreshStatus);
    connect(&m_context.events(), &core::ProgramEvents::userChanged, this,
            &MainWindow::refreshStatus);
    refreshStatus();
}

QAction* MainWindow::addCommand(const QString& objectName, const QString& text, bool available) {
    auto* act = new QAction(text, this);
    act->setObjectName(objectName);
    act->setEnabled(available);
    return act;
}

void MainWindow::runOnce(bool& busy, const std::function<void()>& work) {
    if (busy)
        return;
    busy = true;
    work();
    busy = false;
}

void MainWindow::buildButtonBar() {
    auto* bar = addToolBar(QStringLiteral("Hlavní"));
    bar->setObjectName(QStringLiteral("tbHlavni"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QFont font = bar->font();
    font.setPointSize(font.pointSize() + 2);
    bar->setFont(font);

    QAction* offerList = addCommand(QStringLiteral("actNabidky"), QStringLiteral("Nabídky"), true);
    connect(offerList, &QAction::triggered, this,
            [this] { runOnce(m_offersBusy, [this] { openList(core::ListWindow::Offers); }); });
    bar->addAction(offerList);
    QAction* catalogue = addCommand(QStringLiteral("actCenik"), QStringLiteral("Ceník"), true);
    connect(catalogue, &QAction::triggered, this,
            [this] { openList(core::ListWindow::Catalogue); });
    bar->addAction(catalogue);
    QAction* addressBook =
        addCommand(QStringLiteral("actAdresar"), QStringLiteral("Adresář"), true);
    connect(addressBook, &QAction::triggered, this,
            [this] { openList(core::ListWindow::AddressBook); });
    bar->addAction(addressBook);

    buildOtherMenu();
    auto* other = new QToolButton(bar);
    other->setObjectName(QStringLiteral("btnOstatni"));
    other->setText(QStringLiteral("Ostatní"));
    other->setMenu(m_otherMenu);
    other->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(other);

    QAction* quit = addCommand(QStringLiteral("actKonec"), QStringLiteral("Konec"), true);
    connect(quit, &QAction::triggered, this,
            [this] { runOnce(m_closingBusy, [this] { close(); }); });
    bar->addAction(quit);
    QAction* help = addCommand(QStringLiteral("actNapoveda"), QStringLiteral("Nápověda"), true);
    connect(help, &QAction::triggered, this, [] { openHelpTopic(QStringLiteral("pgUvod.htm")); });
    bar->addAction(help);
}

void MainWindow::buildOtherMenu() {
    m_otherMenu = new QMenu(QStringLiteral("Ostatní"), this);
    m_otherMenu->setObjectName(QStringLiteral("mnuOstatni"));
    QAction* settings =
        addCommand(QStringLiteral("actNastaveni"), QStringLiteral("Nastavení programu"), true);
    connect(settings, &QAction::triggered, this, &MainWindow::showSettings);
    m_otherMenu->addAction(settings);
    QAction* mail =
        addCommand(QStringLiteral("actNastaveniEmailu"), QStringLiteral("Nastavení e-mailu"), true);
    connect(mail, &QAction::triggered, this, [this] { m_context.navigator().openMailSettings(); });
    m_otherMenu->addAction(mail);
    QAction* users =
        addCommand(QStringLiteral("actUzivatele"), QStringLiteral("Seznam uživatelů"), true);
    connect(users, &QAction::triggered, this, [this] { UserListWindow::open(m_context, this); });
    m_otherMenu->addAction(users);
    QAction* import = addCommand(QStringLiteral("actImport"), QStringLiteral("Import dat"), true);
    connect(import, &QAction::triggered, this,
            [this] { m_context.navigator().openImportWizard(); });
    m_otherMenu->addAction(import);
    QMenu* catalogue = m_otherMenu->addMenu(QStringLiteral("Operace s ceníkem"));
    QAction* groups = addCommand(QStringLiteral("actCenoveSkupiny"),
                                 QStringLiteral("Seznam cenových skupin"), true);
    connect(groups, &QAction::triggered, this, [this] { openList(core::ListWindow::PriceGroups); });
    catalogue->addAction(groups);
    QAction* levels = addCommand(QStringLiteral("actCenoveHladiny"),
                                 QStringLiteral("Seznam cenových hladin"), true);
    connect(levels, &QAction::triggered, this, [this] { openList(core::ListWindow::PriceLevels); });
    catalogue->addAction(levels);
    QAction* identifiers = addCommand(QStringLiteral("actIdentifikatory"),
                                      QStringLiteral("Seznam identifikátorů"), true);
    connect(identifiers, &QAction::triggered, this,
            [this] { openList(core::ListWindow::Identifiers); });
    catalogue->addAction(identifiers);
    catalogue->addSeparator();
    QAction* reprice = addCommand(QStringLiteral("actPreceneni"),
                                  QStringLiteral("Přecenění nákupních a prodejních cen"), true);
    connect(reprice, &QAction::triggered, this,
            [this] { m_context.navigator().openCatalogueWizard(false); });
    catalogue->addAction(reprice);
    QAction* bulkUpdate = addCommand(QStringLiteral("actHromadneNastaveni"),
                                     QStringLiteral("Hromadné nastavení údajů na položkách"), true);
    connect(bulkUpdate, &QAction::triggered, this,
            [this] { m_context.navigator().openCatalogueWizard(true); });
    catalogue->addAction(bulkUpdate);
    QMenu* backup = m_otherMenu->addMenu(QStringLiteral("Zálohování"));
    QAction* create =
        addCommand(QStringLiteral("actZaloha"), QStringLiteral("Vytvoření zálohy"), true);
    connect(create, &QAction::triggered, this, [this] { openBackup(core::BackupPage::Create); });
    backup->addAction(create);
    QAction* restore =
        addCommand(QStringLiteral("actObnova"), QStringLiteral("Obnovení dat ze zálohy"), true);
    connect(restore, &QAction::triggered, this, [this] { openBackup(core::BackupPage::Restore); });
    backup->addAction(restore);
    m_otherMenu->addSeparator();
    QAction* about =
        addCommand(QStringLiteral("actOAplikaci"), QStringLiteral("O aplikaci..."), true);
    connect(about, &QAction::triggered, this, [this] {
        AboutDialog dialog(this);
        dialog.exec();
    });
    m_otherMenu->addAction(about);
    QAction* agendas =
        addCommand(QStringLiteral("actSeznamFirem"), QStringLiteral("Seznam firem"), true);
    connect(agendas, &QAction::triggered, this, &MainWindow::showAgendaList);
    m_otherMenu->addAction(agendas);
}

void MainWindow::openList(core::ListWindow list) {
    // Modal lists answer once closed; the main window keeps nothing of the answer.
    m_context.navigator().openList(list);
}

void MainWindow::showSettings() {
    m_context.navigator().openSettings();
    // Also a cancelled dialog has reloaded what another workstation may have saved.
    refreshStatus();
}

void MainWindow::openBackup(core::BackupPage page) {
    // After a restore the data on disk are no longer those the program has loaded: it ends
    // without writing its profile or counter over them.
    if (m_context.navigator().openBackup(page) == core::BackupOutcome::EndProgram)
        closeWithoutClosingSteps();
}

void MainWindow::showAgendaList() {
    switch (m_context.navigator().openAgendaList()) {
    case core::AgendaListOutcome::Stay:
    case core::AgendaListOutcome::Opened:
        refreshStatus();
        break;
    case core::AgendaListOutcome::EndProgram:
        closeWithoutClosingSteps();
        break;
    case core::AgendaListOutcome::CloseProgram:
        close();
        break;
    }
}

void MainWindow::buildStatusBar() {
    m_agendaField = new QLabel(this);
    m_agendaField->setObjectName(QStringLiteral("stbFirma"));
    m_agendaField->setToolTip(QStringLiteral("Název aktuální firmy"));
    m_versionField = new QLabel(core::versionCaption(), this);
    m_versionField->setObjectName(QStringLiteral("stbVerze"));
    m_versionField->setToolTip(QStringLiteral("Verze programu"));
    m_userField = new QLabel(this);
    m_userField->setObjectName(QStringLiteral("stbUzivatel"));
    m_userField->setToolTip(QStringLiteral("Přihlášený uživatel"));
    for (QLabel* field : {m_agendaField, m_versionField, m_userField}) {
        field->setMargin(2);
        field->installEventFilter(this);
    }
    statusBar()->addWidget(m_agendaField, 3);
    statusBar()->addWidget(m_versionField, 1);
    statusBar()->addWidget(m_userField, 2);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_agendaField)
            action(QStringLiteral("actSeznamFirem"))->trigger();
        else if (watched == m_versionField)
            action(QStringLiteral("actOAplikaci"))->trigger();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::refreshStatus() {
    const core::ProgramState& state = core::programState();
    m_agendaField->setText(state.agendaName);
    m_userField->setText(state.user.jmeno);
    if (m_desktopTitle)
        m_desktopTitle->setText(state.agendaName);
}

void MainWindow::setDesktopPanel(QWidget* panel) {
    auto* layout = qobject_cast<QVBoxLayout*>(m_desktop->layout());
    delete m_desktopTitle;
    m_desktopTitle = nullptr;
    panel->setParent(m_desktop);
    layout->insertWidget(0, panel, 1);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QLabel* MainWindow::statusField(int index) const {
    switch (index) {
    case 0:
        return m_agendaField;
    case 1:
        return m_versionField;
    default:
        return m_userField;
    }
}

void MainWindow::closeWithoutClosingSteps() {
    m_closed = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        m_context.startUp().close();
    }
    event->accept();
}

} // namespace orvento::ui
