#pragma once

#include "catalogue/CardOutcome.h"
#include "catalogue/PriceLevelRecords.h"

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The price level card (frmCenHladDetail): one `CenHlad` row, its checks on OK and the write,
// which carries a changed code into the groups, the items and, when the person agrees, the
// firms.
class PriceLevelCard {
public:
    PriceLevelCard(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Cenová hladina"); }
    static QString helpTopic() { return QStringLiteral("pgCenHladDetail.htm"); }

    // A new level (refused without the right to create).
    bool startNew();
    // An existing level, read again and locked; false after the message when it is gone or the
    // person has no access.
    bool startExisting(qint64 id);

    bool isNew() const { return m_level.ID < 0; }
    bool editable() const { return m_editable; }
    PriceLevel& level() { return m_level; }
    const PriceLevel& level() const { return m_level; }
    // The ID of the saved row (a new one after a new level was saved).
    qint64 id() const { return m_level.ID; }

    // OK: the checks and the write. A failed write is reported after its rollback and the card
    // stays open with what the person entered.
    CardOutcome confirm();

private:
    bool codeTakenByAnother(const QString& code);
    bool write(const QString& oldCode);
    void renameInFirms(const QString& oldCode);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    PriceLevel m_level;
    QString m_storedCode;
    bool m_editable = true;
    services::RecordLock m_lock;
};

// The message for a code another level or group already has.
QString codeExistsMessage(const QString& code);
QString codeMissingMessage();

// Carries a level's new code and values into the tables that name it: the groups' level rows
// (the values only into rows that take them over) and, when the code changed, the items' fixed
// slots. Runs inside the caller's unit of work.
bool rippleLevelChange(core::Database& db, const QString& oldCode, const PriceLevel& level);

} // namespace orvento::catalogue
