#pragma once

#include "catalogue/CatalogueRecords.h"
#include "services/RecordLock.h"

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The group card (frmKartaSkupiny, "Ceníková skupina"): a name of up to 50 characters and a code
// of up to 10 in upper case. A new group and a copy are ordinary groups of the given sheet.
class GroupCard {
public:
    GroupCard(core::Database& db, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Ceníková skupina"); }
    static constexpr int kNameLength = 50;
    static constexpr int kCodeLength = 10;

    void startNew(qint64 sheetId);
    // A copy of a group: its name and code, nothing else.
    void startCopy(qint64 sheetId, const GroupRow& from);
    // Takes the group's lock; a group edited elsewhere opens read-only. False when refused.
    bool startExisting(const GroupRow& group);

    bool isNew() const { return m_isNew; }
    bool readOnly() const { return m_readOnly; }
    const GroupRow& group() const { return m_group; }
    void setName(const QString& name) { m_group.nazev = name.left(kNameLength); }
    void setCode(const QString& code) { m_group.kod = code.left(kCodeLength).toUpper(); }

    bool save();
    std::optional<qint64> savedId() const { return m_saved; }

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    services::RecordLock m_lock;
    GroupRow m_group;
    std::optional<qint64> m_saved;
    bool m_isNew = true;
    bool m_readOnly = false;
};

} // namespace orvento::catalogue
