#include "services/UserCard.h"

#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/OfferPrefilter.h"
#include "services/PasswordScrambler.h"
#include "services/RecordRefresh.h"
#include "services/UserRecord.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::services {

UserCard::UserCard(core::Database& global, core::UserInteraction& ui)
    : m_db(global)
    , m_ui(ui) {}

void UserCard::startNew() {
    m_user = core::CurrentUser{};
    m_rowId = -1;
    m_created = false;
    m_loadedPassword.clear();
    m_confirmation.clear();
    int highest = 0;
    if (const auto users = readUsers(m_db))
        for (const UserRow& row : *users)
            highest = std::max(highest, row.user.uzivId);
    m_user.uzivId = highest + 1;
}

bool UserCard::startExisting(int rowId) {
    const auto users = readUsers(m_db);
    const UserRow* found = nullptr;
    if (users)
        for (const UserRow& row : *users)
            if (row.id == rowId)
                found = &row;
    if (!found) {
        m_ui.warning(recordGoneMessage());
        return false;
    }
    m_user = found->user;
    m_rowId = rowId;
    m_created = false;
    m_loadedPassword = m_user.password;
    m_confirmation = m_user.password;
    return true;
}

void UserCard::setProfileName(const QString& name) {
    m_user.konfigurace = name.toUpper().left(kProfileLength);
}

bool UserCard::checkFields() {
    if (m_user.jmeno.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Zadejte jméno uživatele."));
        return false;
    }
    if (m_user.password != m_confirmation) {
        m_ui.warning(QStringLiteral(
            "Zadaná hesla se neshodují (upozornění: program rozlišuje velikost písmen)."));
        return false;
    }
    // The fields cannot hold more; these guard writers that bypass them.
    if (m_user.password.size() > password::kMaxLength) {
        m_ui.warning(QStringLiteral("Heslo může mít nejvýše %1 znaků.").arg(password::kMaxLength));
        return false;
    }
    if (isNew() && (m_user.uzivId < 1 || m_user.uzivId > kMaxUserNumber)) {
        m_ui.warning(QStringLiteral("ID uživatele musí být číslo od 1 do %1.").arg(kMaxUserNumber));
        return false;
    }
    return true;
}

bool UserCard::checkAgainstStoredUsers() {
    const auto users = readUsers(m_db);
    if (!users) {
        m_ui.error(core::readFailedMessage());
        return false;
    }
    const bool passwordKept = !isNew() && m_user.password == m_loadedPassword;
    if (!passwordKept && std::any_of(users->begin(), users->end(), [this](const UserRow& r) {
            return r.user.password == m_user.password;
        })) {
        m_ui.warning(
            QStringLiteral("Zadané heslo již existuje. Heslo musí být jedinečné, zadejte jiné."));
        return false;
    }
    if (isNew() && std::any_of(users->begin(), users->end(), [this](const UserRow& r) {
            return r.user.uzivId == m_user.uzivId;
        })) {
        m_ui.warning(QStringLiteral(
            "Zadané ID uživatele již existuje. Toto číslo musí být jedinečné, zadejte jiné."));
        return false;
    }
    if (!m_user.administrator) {
        QSqlQuery others = m_db.select(
            QStringLiteral("SELECT * FROM Login WHERE (Administrator_AR = :Administrator_AR) "
                           "AND (UzivID <> :UzivID)"),
            {{QStringLiteral("Administrator_AR"), true},
             {QStringLiteral("UzivID"), m_user.uzivId}});
        if (!others.next()) {
            m_ui.warning(QStringLiteral("Alespoň jeden uživatel musí mít práva administrátora."));
            return false;
        }
    }
    return true;
}

std::optional<int> UserCard::write(const core::CurrentUser& user) {
    core::Transaction unit(m_db);
    if (isNew()) {
        if (!userMapping().insert(m_db, user))
            return std::nullopt;
        const int rowId = static_cast<int>(m_db.newRowId());
        if (!unit.commit())
            return std::nullopt;
        return rowId;
    }
    if (!userMapping().update(m_db, user, m_rowId) || !unit.commit())
        return std::nullopt;
    return m_rowId;
}

UserCard::Outcome UserCard::confirm() {
    if (!checkFields() || !checkAgainstStoredUsers())
        return Outcome::StayOpen;
    core::CurrentUser toStore = m_user;
    // A user always sees his own offers.
    if (!toStore.vsechnyNabidky)
        toStore.prefiltrNabidkyVytvorId =
            prefilterWith(toStore.prefiltrNabidkyVytvorId, toStore.uzivId);
    const std::optional<int> rowId = write(toStore);
    if (!rowId) {
        m_ui.error(core::saveFailedMessage());
        return Outcome::SaveFailed;
    }
    m_created = m_created || isNew();
    m_rowId = *rowId;
    m_user = std::move(toStore);
    m_loadedPassword = m_user.password;
    return Outcome::Saved;
}

} // namespace orvento::services
