#pragma once

#include "catalogue/CardOutcome.h"
#include "offers/OfferTemplateRecords.h"
#include "services/RecordLock.h"

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

// The template detail (frmSablonyDetail): one `NabSablony` row, its lock while it is open, the
// checks of OK and the write.
class OfferTemplateCard {
public:
    OfferTemplateCard(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Detail šablony"); }

    void startNew();
    // An existing template, read again and locked. False after the message when it is gone or
    // its lock file cannot be created; read-only (after its message) while another workstation
    // edits it.
    bool startExisting(qint64 id);

    bool isNew() const { return m_template.ID < 0; }
    bool editable() const { return m_editable; }
    OfferTemplate& record() { return m_template; }
    const OfferTemplate& record() const { return m_template; }
    // The saved row's ID (the new one after a new template was saved).
    qint64 id() const { return m_template.ID; }

    // OK: the abbreviation trimmed and checked, then the row written. A check that fails keeps
    // the card open with what was entered; so does a failed statement. A template deleted on
    // another workstation meanwhile is reported and the card closes (SaveFailed).
    catalogue::CardOutcome confirm();

private:
    enum class WriteResult { Written, CodeTaken, Gone, Failed };
    WriteResult write();
    bool codeTakenByAnother(const QString& code) const;

    core::Database& m_db;
    core::UserInteraction& m_ui;
    OfferTemplate m_template;
    QString m_storedCode;
    bool m_editable = true;
    services::RecordLock m_lock;
};

} // namespace orvento::offers
