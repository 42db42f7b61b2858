#pragma once

#include "core/CurrentUser.h"

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// The user card (frmDetailUzivatele): a working copy of one `Login` row, its defaults, the
// checks on OK and the write.
class UserCard {
public:
    static constexpr int kNameLength = 50;
    static constexpr int kProfileLength = 10;
    static constexpr int kPhoneLength = 50;
    static constexpr int kEmailLength = 50;
    static constexpr int kMaxUserNumber = 999999999;

    enum class Outcome {
        StayOpen,   // a check failed; the card stays open and nothing was written
        Saved,      // the row was written; the list reloads (see UserList::afterCardSaved)
        SaveFailed, // the statement failed and was reported; the card closes
    };

    UserCard(core::Database& global, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Uživatel"); }
    static QString helpTopic() { return QStringLiteral("pgUzivatel.htm"); }

    // A new user: every level full, every right on, an empty pre-filter and the number one
    // higher than the highest one in use.
    void startNew();
    // An existing user, read again from the table; false after the warning when it is gone.
    bool startExisting(int rowId);

    bool isNew() const { return m_rowId < 0; }
    // True once confirm() has inserted the row of a new user.
    bool created() const { return m_created; }
    // The `Login.ID` of the row (after saving a new user, the new row's).
    int rowId() const { return m_rowId; }

    core::CurrentUser& user() { return m_user; }
    const core::CurrentUser& user() const { return m_user; }
    const QString& passwordConfirmation() const { return m_confirmation; }
    void setPasswordConfirmation(const QString& text) { m_confirmation = text; }
    // Profile names are kept in upper case.
    void setProfileName(const QString& name);
    // The pre-filter can be edited only while the user does not see every offer.
    bool prefilterEditable() const { return !m_user.vsechnyNabidky; }

    // OK: the checks in their order, then the write.
    Outcome confirm();

private:
    bool checkFields();
    bool checkAgainstStoredUsers();
    // Writes the user in one unit of work; the row's ID after the commit.
    std::optional<int> write(const core::CurrentUser& user);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    core::CurrentUser m_user;
    QString m_confirmation;
    QString m_loadedPassword;
    int m_rowId = -1;
    bool m_created = false;
};

} // namespace orvento::services
