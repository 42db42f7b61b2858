#include "offers/OfferTemplateCard.h"

#include "catalogue/PriceLevelCard.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

namespace orvento::offers {

namespace {

const QString kNabSablony = QStringLiteral("NabSablony");

} // namespace

OfferTemplateCard::OfferTemplateCard(core::Database& agenda, core::UserInteraction& ui)
    : m_db(agenda)
    , m_ui(ui) {}

void OfferTemplateCard::startNew() {
    m_template = OfferTemplate{};
    m_storedCode.clear();
    m_editable = true;
    m_lock.release();
}

bool OfferTemplateCard::startExisting(qint64 id) {
    const auto stored = templateById(m_db, id);
    if (!stored) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    services::RecordLock lock;
    switch (services::RecordLock::take(kNabSablony, id, m_ui, lock)) {
    case services::RecordLock::State::Held:
        m_editable = true;
        break;
    case services::RecordLock::State::ReadOnly:
        m_editable = false;
        break;
    case services::RecordLock::State::Failed:
        return false;
    }
    m_lock = std::move(lock);
    m_template = *stored;
    m_storedCode = stored->Zkratka;
    return true;
}

// Read inside the unit of work that writes, so that no other workstation can take the
// abbreviation between the check and the write.
bool OfferTemplateCard::codeTakenByAnother(const QString& code) const {
    const auto rows = readTemplates(m_db);
    if (!rows)
        return false;
    for (const OfferTemplate& other : *rows)
        if (other.ID != m_template.ID && sameTemplateCode(other.Zkratka, code))
            return true;
    return false;
}

OfferTemplateCard::WriteResult OfferTemplateCard::write() {
    core::Transaction tx(m_db);
    // The abbreviation is looked for only when it differs from the stored one: a template saved
    // under its own abbreviation is never refused, whatever older rows hold.
    if ((isNew() || m_template.Zkratka != m_storedCode) && codeTakenByAnother(m_template.Zkratka))
        return WriteResult::CodeTaken;
    if (isNew()) {
        if (!templateMapping().insert(m_db, m_template))
            return WriteResult::Failed;
        const qint64 newId = m_db.newRowId();
        if (!tx.commit())
            return WriteResult::Failed;
        m_template.ID = newId;
        return WriteResult::Written;
    }
    // An update of a row deleted meanwhile would change nothing and look like a save.
    if (!m_db.scalar(QStringLiteral("SELECT ID FROM NabSablony WHERE ID = :ID"),
                     {{QStringLiteral("ID"), m_template.ID}}))
        return WriteResult::Gone;
    if (!templateMapping().update(m_db, m_template, m_template.ID) || !tx.commit())
        return WriteResult::Failed;
    return WriteResult::Written;
}

catalogue::CardOutcome OfferTemplateCard::confirm() {
    if (!m_editable)
        return catalogue::CardOutcome::StayOpen;
    m_template.Zkratka = trimmedTemplateCode(m_template.Zkratka);
    m_template.Nazev = m_template.Nazev.left(kTemplateNameLength);
    m_template.Nadpis = m_template.Nadpis.left(kTemplateTitleLength);
    if (m_template.Zkratka.isEmpty()) {
        m_ui.warning(catalogue::codeMissingMessage());
        return catalogue::CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return catalogue::CardOutcome::StayOpen;
    }
    // Every message comes after the unit of work has ended.
    switch (write()) {
    case WriteResult::Written:
        m_storedCode = m_template.Zkratka;
        return catalogue::CardOutcome::Saved;
    case WriteResult::CodeTaken:
        m_ui.information(catalogue::codeExistsMessage(m_template.Zkratka));
        return catalogue::CardOutcome::StayOpen;
    case WriteResult::Gone:
        m_ui.error(core::saveFailedMessage());
        return catalogue::CardOutcome::SaveFailed;
    case WriteResult::Failed:
        break;
    }
    m_ui.error(core::saveFailedMessage());
    return catalogue::CardOutcome::StayOpen;
}

} // namespace orvento::offers
