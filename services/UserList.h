#pragma once

#include "services/UserRecord.h"

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

class UserCard;

// The user list (frmUzivatele): the rows of `Login` in user-number order, the current row, the
// deletion and the reload after a card was saved. Only administrators open it.
class UserList {
public:
    UserList(core::Database& global, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Seznam uživatelů"); }
    static QString helpTopic() { return QStringLiteral("pgUzivatele.htm"); }
    // The check before the list opens: the no-rights message for anybody but an administrator.
    static bool mayOpen(core::UserInteraction& ui);

    // Reads the rows again and stays on the current row when it is still there.
    bool reload();
    const std::vector<UserRow>& rows() const { return m_rows; }
    // "Opravit" and "Vyjmout" need a row.
    bool hasRows() const { return !m_rows.empty(); }
    std::optional<size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(size_t index);
    // The `Login.ID` of the current row.
    std::optional<int> currentId() const;

    // "Vyjmout": true when the current user was deleted.
    bool removeCurrent();
    // After the card saved its user: reload, and for a new user move to its row.
    void afterCardSaved(const UserCard& card);

private:
    bool selectId(int id);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    std::vector<UserRow> m_rows;
    std::optional<size_t> m_current;
};

} // namespace orvento::services
