#include "catalogue/GroupCard.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/GroupOperations.h"
#include "catalogue/LockedRecords.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"

namespace orvento::catalogue {

GroupCard::GroupCard(core::Database& db, core::UserInteraction& ui)
    : m_db(db)
    , m_ui(ui) {}

void GroupCard::startNew(qint64 sheetId) {
    m_group = {};
    m_group.sklad = sheetId;
    m_isNew = true;
}

void GroupCard::startCopy(qint64 sheetId, const GroupRow& from) {
    startNew(sheetId);
    setName(from.nazev);
    setCode(from.kod);
}

bool GroupCard::startExisting(const GroupRow& group) {
    const auto access = services::openRecord(services::Module::Cenik, m_ui);
    const auto readOnly = lockForCard(QStringLiteral("Skupiny"), group.id, access, m_ui, m_lock);
    if (!readOnly)
        return false;
    m_group = group;
    m_isNew = false;
    m_readOnly = *readOnly;
    return true;
}

bool GroupCard::save() {
    if (m_readOnly)
        return false;
    if (m_group.nazev.trimmed().isEmpty()) {
        m_ui.warning(messages::groupNameRequired());
        return false;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_readOnly = true;
        return false;
    }
    m_saved = saveGroup(m_db, m_ui, m_group, m_isNew);
    return m_saved.has_value();
}

} // namespace orvento::catalogue
