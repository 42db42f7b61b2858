#include "ui/AgendaListDialog.h"

#include "core/AppContext.h"
#include "ui/Help.h"

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

QPushButton* button(QWidget* parent, const char* objectName, const QString& text,
                    const QString& hint = QString()) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

AgendaListDialog::AgendaListDialog(services::AgendaList& list, QWidget* parent)
    : QDialog(parent)
    , m_list(list)
    , m_folder(new QLineEdit(this))
    , m_changeFolder(new QToolButton(this))
    , m_grid(new QTreeWidget(this))
    , m_open(button(this, "btnOtevrit", QStringLiteral("Otevřít"),
                    QStringLiteral("Otevřít vybranou firmu")))
    , m_add(button(this, "btnPridat", QStringLiteral("Přidat novou firmu")))
    , m_demo(button(this, "btnDemo", QStringLiteral("DEMO"),
                    QStringLiteral("Přidat demonstrační firmu")))
    , m_remove(button(this, "btnVyjmout", QStringLiteral("Vyjmout")))
    , m_repair(button(this, "btnOpravit", QStringLiteral("Opravit databáze")))
    , m_cancel(button(this, "btnStorno", QStringLiteral("Storno"))) {
    setObjectName(QStringLiteral("frmSeznamFirem"));
    setWindowTitle(QStringLiteral("Seznam firem"));

    m_folder->setObjectName(QStringLiteral("edtDatovaSlozka"));
    m_folder->setReadOnly(true);
    m_folder->setText(m_list.dataFolderShown());
    m_changeFolder->setObjectName(QStringLiteral("btnDatovaSlozka"));
    m_changeFolder->setText(QStringLiteral("..."));
    m_changeFolder->setToolTip(QStringLiteral("Změnit umístění datové složky"));

    m_grid->setObjectName(QStringLiteral("grFirmy"));
    m_grid->setHeaderLabels({QStringLiteral("Název firmy"), QStringLiteral("Databáze")});
    m_grid->setRootIsDecorated(false);
    m_grid->setUniformRowHeights(true);
    m_grid->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->header()->setStretchLastSection(false);
    m_grid->setColumnWidth(1, 140);

    m_open->setDefault(true);
    m_open->setAutoDefault(true);

    connect(m_grid, &QTreeWidget::currentItemChanged, this,
            [this] { m_list.setCurrent(m_grid->indexOfTopLevelItem(m_grid->currentItem())); });
    connect(m_grid, &QTreeWidget::itemDoubleClicked, this, [this] { m_open->click(); });
    connect(m_open, &QPushButton::clicked, this, [this] { finish(m_list.openCurrent()); });
    connect(m_add, &QPushButton::clicked, this, [this] {
        const auto outcome = m_list.addNew();
        showRows();
        finish(outcome);
    });
    connect(m_demo, &QPushButton::clicked, this, [this] {
        m_list.addDemo();
        showRows();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        m_list.removeCurrent();
        showRows();
    });
    connect(m_repair, &QPushButton::clicked, this, [this] { finish(m_list.repairDatabases()); });
    connect(m_changeFolder, &QToolButton::clicked, this,
            [this] { finish(m_list.changeDataFolder()); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("Datová složka:"), this));
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_changeFolder);
    auto* commands = new QVBoxLayout;
    for (QPushButton* b : {m_open, m_add, m_demo, m_remove, m_repair})
        commands->addWidget(b);
    commands->addStretch();
    commands->addWidget(m_cancel);
    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addLayout(body);
    installHelpKey(this, QStringLiteral("pgSeznamFirem.htm"));
    resize(620, 380);
    showRows();
}

void AgendaListDialog::showRows() {
    m_grid->clear();
    for (const services::AgendaRow& row : m_list.rows())
        new QTreeWidgetItem(m_grid, {row.nazev, row.soubor});
    if (m_list.current() >= 0)
        m_grid->setCurrentItem(m_grid->topLevelItem(m_list.current()));
    m_demo->setVisible(m_list.demoAvailable());
    updateButtons();
}

void AgendaListDialog::updateButtons() {
    const bool any = m_list.hasRows();
    m_open->setEnabled(any);
    m_remove->setEnabled(any);
    m_repair->setEnabled(m_list.repairAvailable());
}

void AgendaListDialog::finish(core::AgendaListOutcome outcome) {
    if (outcome == core::AgendaListOutcome::Stay)
        return;
    m_outcome = outcome;
    if (outcome == core::AgendaListOutcome::Opened)
        accept();
    else
        reject();
}

core::AgendaListOutcome AgendaListDialog::run(core::AppContext& context, QWidget* parent) {
    if (!services::AgendaList::mayOpen(context.ui()))
        return core::AgendaListOutcome::Stay;
    services::AgendaList list(context);
    list.fill();
    AgendaListDialog dialog(list, parent);
    dialog.exec();
    return dialog.outcome();
}

} // namespace orvento::ui
