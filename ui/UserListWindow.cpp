#include "ui/UserListWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "services/UserCard.h"
#include "ui/Help.h"
#include "ui/UserCardDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

UserListWindow::UserListWindow(core::AppContext& context, QWidget* parent)
    : QDialog(parent)
    , m_ui(context.ui())
    , m_global(context.db().global)
    , m_list(m_global, m_ui)
    , m_table(new QTableWidget(0, 2, this))
    , m_edit(new QPushButton(QStringLiteral("&Opravit"), this))
    , m_remove(new QPushButton(QStringLiteral("Vyjmout"), this)) {
    setObjectName(QStringLiteral("frmUzivatele"));
    setWindowTitle(services::UserList::caption());
    m_table->setObjectName(QStringLiteral("grUzivatele"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Jméno uživatele"), QStringLiteral("Profil")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 260);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            m_list.setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { editUser(); });

    auto* add = new QPushButton(QStringLiteral("&Přidat"), this);
    add->setObjectName(QStringLiteral("btnPridat"));
    m_edit->setObjectName(QStringLiteral("btnOpravit"));
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    connect(add, &QPushButton::clicked, this, &UserListWindow::addUser);
    connect(m_edit, &QPushButton::clicked, this, &UserListWindow::editUser);
    connect(m_remove, &QPushButton::clicked, this, &UserListWindow::removeUser);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {add, m_edit, m_remove, close})
        b->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, m_edit, m_remove})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    installHelpKey(this, services::UserList::helpTopic());
    resize(520, 360);

    m_list.reload();
    showRows();
}

void UserListWindow::open(core::AppContext& context, QWidget* parent) {
    if (!services::UserList::mayOpen(context.ui()))
        return;
    UserListWindow window(context, parent);
    window.exec();
}

void UserListWindow::showRows() {
    const QSignalBlocker blocker(m_table);
    const auto& rows = m_list.rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i);
        m_table->setItem(r, 0, new QTableWidgetItem(rows[i].user.jmeno));
        m_table->setItem(r, 1, new QTableWidgetItem(rows[i].user.konfigurace));
    }
    if (const auto current = m_list.currentIndex())
        m_table->setCurrentCell(static_cast<int>(*current), 0);
    updateButtons();
}

void UserListWindow::updateButtons() {
    m_edit->setEnabled(m_list.hasRows());
    m_remove->setEnabled(m_list.hasRows());
}

void UserListWindow::runCard(services::UserCard& card) {
    UserCardDialog dialog(card, this);
    if (dialog.exec() == QDialog::Accepted)
        m_list.afterCardSaved(card);
    else
        m_list.reload();
    showRows();
}

void UserListWindow::addUser() {
    services::UserCard card(m_global, m_ui);
    card.startNew();
    runCard(card);
}

void UserListWindow::editUser() {
    const auto id = m_list.currentId();
    if (!id)
        return;
    services::UserCard card(m_global, m_ui);
    if (!card.startExisting(*id)) {
        m_list.reload();
        showRows();
        return;
    }
    runCard(card);
}

void UserListWindow::removeUser() {
    m_list.removeCurrent();
    showRows();
}

} // namespace orvento::ui
