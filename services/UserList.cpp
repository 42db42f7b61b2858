#include "services/UserList.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"
#include "services/UserCard.h"

#include <algorithm>

namespace orvento::services {

UserList::UserList(core::Database& global, core::UserInteraction& ui)
    : m_db(global)
    , m_ui(ui) {}

bool UserList::mayOpen(core::UserInteraction& ui) {
    return checkRight(core::programState().user.administrator, ui);
}

bool UserList::selectId(int id) {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id) {
            m_current = i;
            return true;
        }
    }
    return false;
}

bool UserList::reload() {
    const std::optional<int> keep = currentId();
    auto rows = readUsers(m_db);
    if (!rows) {
        m_ui.error(core::readFailedMessage());
        return false;
    }
    m_rows = std::move(*rows);
    m_current.reset();
    if (m_rows.empty())
        return true;
    if (!keep || !selectId(*keep))
        m_current = 0;
    return true;
}

void UserList::setCurrentIndex(size_t index) {
    if (index < m_rows.size())
        m_current = index;
}

std::optional<int> UserList::currentId() const {
    if (!m_current || *m_current >= m_rows.size())
        return std::nullopt;
    return m_rows[*m_current].id;
}

bool UserList::removeCurrent() {
    const std::optional<int> id = currentId();
    if (!id)
        return false;
    const size_t position = *m_current;
    if (!reload() || !selectId(*id)) {
        m_ui.warning(recordGoneMessage());
        return false;
    }
    const core::CurrentUser& doomed = m_rows[*m_current].user;
    if (doomed.uzivId == core::programState().user.uzivId) {
        m_ui.warning(QStringLiteral("Aktuálně přihlášeného uživatele nelze mazat."));
        return false;
    }
    // Without an administrator nobody could open this list again while other users remain.
    const bool otherAdministrator = std::any_of(m_rows.begin(), m_rows.end(), [&](const auto& r) {
        return r.id != *id && r.user.administrator;
    });
    if (doomed.administrator && !otherAdministrator && m_rows.size() > 1) {
        m_ui.warning(QStringLiteral("Alespoň jeden uživatel musí mít práva administrátora."));
        return false;
    }
    if (!m_ui.question(QStringLiteral("Opravdu chcete vyjmout označeného uživatele ?")))
        return false;
    if (!m_db.execute(QStringLiteral("DELETE FROM Login WHERE ID = :ID"),
                      {{QStringLiteral("ID"), *id}})) {
        m_ui.error(core::saveFailedMessage(QStringLiteral("Login")));
        return false;
    }
    reload();
    if (!m_rows.empty())
        m_current = std::min(position, m_rows.size() - 1);
    return true;
}

void UserList::afterCardSaved(const UserCard& card) {
    if (card.created()) {
        reload();
        if (!selectId(card.rowId()))
            m_ui.error(core::newRowNotFoundMessage());
        return;
    }
    reload();
    m_ui.information(QStringLiteral("Změny se projeví až po ukončení programu a opětovném "
                                    "přihlášení daného uživatele."));
}

} // namespace orvento::services
