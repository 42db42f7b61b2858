#include "ui/backup/BackupDialog.h"

#include "core/AppContext.h"
#include "ui/Help.h"
#include "ui/backup/RestoreDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

bool creating(const backup::BackupDialogLogic& logic) {
    return logic.page() == core::BackupPage::Create;
}

} // namespace

BackupDialog::BackupDialog(backup::BackupDialogLogic& logic, QWidget* parent)
    : QDialog(parent)
    , m_logic(logic)
    , m_standard(new QCheckBox(creating(logic)
                                   ? QStringLiteral("zálohu provést do standardní složky")
                                   : QStringLiteral("záložní soubory načítat ze standardní složky"),
                               this))
    , m_folder(new QLineEdit(this))
    , m_browse(new QToolButton(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_delete(new QPushButton(QStringLiteral("Smazat zálohu"), this)) {
    setObjectName(QStringLiteral("frmZalohovani"));
    setWindowTitle(QStringLiteral("Zálohování"));
    auto* layout = new QVBoxLayout(this);

    m_standard->setObjectName(QStringLiteral("chkStandardniSlozka"));
    m_folder->setObjectName(QStringLiteral("edtSlozka"));
    m_browse->setObjectName(QStringLiteral("btnSlozka"));
    m_browse->setText(QStringLiteral("..."));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_delete->setObjectName(QStringLiteral("btnSmazat"));
    m_delete->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    cancel->setAutoDefault(false);

    if (creating(logic)) {
        layout->addWidget(
            new QLabel(QStringLiteral("Tato funkce provede zálohu aktuální firmy, tzn."), this));
        auto* firm = new QLabel(m_logic.firmName(), this);
        firm->setObjectName(QStringLiteral("lblFirma"));
        firm->setStyleSheet(QStringLiteral("font-weight: bold;"));
        layout->addWidget(firm);
    }
    layout->addWidget(m_standard);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);
    if (creating(logic)) {
        m_shared = new QCheckBox(QStringLiteral("provést také zálohu společných dat"), this);
        m_shared->setObjectName(QStringLiteral("chkSpolecnaData"));
        m_shared->setChecked(m_logic.sharedData());
        layout->addWidget(m_shared);
        connect(m_shared, &QCheckBox::toggled, this,
                [this](bool on) { m_logic.setSharedData(on); });
        m_delete->hide();
    } else {
        m_grid = new QTreeWidget(this);
        m_grid->setObjectName(QStringLiteral("grZalohy"));
        m_grid->setHeaderLabels({QStringLiteral("Soubor"), QStringLiteral("Firma"),
                                 QStringLiteral("Datum a čas"), QStringLiteral("Vytvořil")});
        m_grid->setRootIsDecorated(false);
        m_grid->setUniformRowHeights(true);
        m_grid->header()->setStretchLastSection(true);
        layout->addWidget(m_grid, 1);
        connect(m_grid, &QTreeWidget::itemDoubleClicked, this, [this] { m_ok->click(); });
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    m_standard->setChecked(m_logic.standardFolder());
    connect(m_standard, &QCheckBox::toggled, this, [this](bool on) {
        m_logic.setStandardFolder(on);
        showFolder();
        showRows();
    });
    connect(m_folder, &QLineEdit::editingFinished, this, [this] {
        if (!m_logic.folderEditable())
            return;
        m_logic.setOwnFolder(m_folder->text().trimmed());
        showRows();
    });
    connect(m_browse, &QToolButton::clicked, this, &BackupDialog::chooseFolder);
    connect(m_ok, &QPushButton::clicked, this, &BackupDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, &BackupDialog::deleteCurrent);
    installHelpKey(this, creating(logic) ? QStringLiteral("pgZalohaVytvor.htm")
                                         : QStringLiteral("pgZalohaObnov.htm"));
    showFolder();
    showRows();
    resize(creating(logic) ? 480 : 760, creating(logic) ? 200 : 400);
}

core::BackupOutcome BackupDialog::open(core::AppContext& context, core::BackupPage page,
                                       QWidget* parent) {
    return backup::runBackupDialog(context, page, [parent](backup::BackupDialogLogic& logic) {
        BackupDialog dialog(logic, parent);
        dialog.exec();
    });
}

void BackupDialog::showFolder() {
    m_folder->setText(m_logic.folder());
    m_folder->setEnabled(m_logic.folderEditable());
    m_browse->setEnabled(m_logic.folderEditable());
}

void BackupDialog::showRows() {
    if (!m_grid)
        return;
    m_grid->clear();
    for (const backup::BackupListRow& row : m_logic.rows())
        new QTreeWidgetItem(m_grid, {row.soubor, row.agendaName, row.datumCas, row.vytvoril});
    // The names, firms and times are read whole; the last column takes what is left.
    for (int column = 0; column + 1 < m_grid->columnCount(); ++column)
        m_grid->resizeColumnToContents(column);
    if (m_grid->topLevelItemCount() > 0)
        m_grid->setCurrentItem(m_grid->topLevelItem(0));
    m_ok->setEnabled(m_logic.okEnabled());
    m_delete->setEnabled(m_logic.okEnabled());
}

void BackupDialog::chooseFolder() {
    if (m_logic.browseFolder()) {
        showFolder();
        showRows();
    }
}

void BackupDialog::confirm() {
    if (creating(m_logic)) {
        m_ok->setEnabled(false);
        const bool closes = m_logic.createBackup();
        m_ok->setEnabled(true);
        if (closes)
            accept();
        return;
    }
    const int row = m_grid->indexOfTopLevelItem(m_grid->currentItem());
    if (row < 0)
        return;
    RestoreDialog restore(m_logic, row, this);
    restore.exec();
    if (restore.step() == backup::RestoreStep::Restored)
        accept();
}

void BackupDialog::deleteCurrent() {
    const int row = m_grid ? m_grid->indexOfTopLevelItem(m_grid->currentItem()) : -1;
    if (m_logic.deleteRow(row))
        showRows();
}

} // namespace orvento::ui
