#pragma once

#include "services/UserList.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace orvento::core {
class AppContext;
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::ui {

// frmUzivatele: the registered users, with the commands that add, edit and delete them.
class UserListWindow : public QDialog {
    Q_OBJECT
public:
    explicit UserListWindow(core::AppContext& context, QWidget* parent = nullptr);

    // "Seznam uživatelů": for administrators only (the no-rights message for others).
    static void open(core::AppContext& context, QWidget* parent);

    QTableWidget* table() const { return m_table; }
    void addUser();
    void editUser();
    void removeUser();

private:
    void showRows();
    void updateButtons();
    void runCard(services::UserCard& card);

    core::UserInteraction& m_ui;
    core::Database& m_global;
    services::UserList m_list;
    QTableWidget* m_table;
    QPushButton* m_edit;
    QPushButton* m_remove;
};

} // namespace orvento::ui
