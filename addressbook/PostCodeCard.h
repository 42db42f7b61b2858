#pragma once

#include "services/RecordLock.h"

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::addressbook {

class PostCodeList;

// The logic of the post code card (`frmPscDetail`): a new row or the list's current row, held
// by its record lock while the card is open.
class PostCodeCard {
public:
    static constexpr int kPscWidth = 10;
    static constexpr int kMistoWidth = 50;

    enum class Outcome { StayOpen, Saved, Failed };

    PostCodeCard(core::Database& global, core::UserInteraction& ui, PostCodeList& list);

    void startNew();
    // Re-reads the list and takes the current row; false (after the message) when it is gone or
    // its lock file cannot be created. Held by another workstation: opens with OK disabled.
    bool startEdit();

    bool isNew() const { return !m_id; }
    bool okEnabled() const { return m_okEnabled; }
    QString psc;
    QString misto;

    // "OK": the post code without spaces, both fields filled, then the row written and found in
    // the list again. StayOpen after a message about the fields.
    Outcome confirm();
    // Lets the row go, however the card closes.
    void close() { m_lock.release(); }

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    PostCodeList& m_list;
    std::optional<qint64> m_id;
    bool m_okEnabled = true;
    services::RecordLock m_lock;
};

} // namespace orvento::addressbook
