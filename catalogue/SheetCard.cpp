#include "catalogue/SheetCard.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/LockedRecords.h"
#include "catalogue/SheetOperations.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

using services::Module;

SheetCard::SheetCard(core::Database& db, core::UserInteraction& ui)
    : m_db(db)
    , m_ui(ui) {}

bool SheetCard::startNew() {
    if (!services::checkModule(Module::Cenik, services::ModuleAction::Create, m_ui))
        return false;
    m_isNew = true;
    m_id.reset();
    m_name.clear();
    return true;
}

bool SheetCard::startExisting(qint64 sheetId) {
    const auto access = services::openRecord(Module::Cenik, m_ui);
    if (access == services::RecordAccess::Denied)
        return false;
    QSqlQuery q = m_db.select(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                              {{QStringLiteral("ID"), sheetId}});
    if (!q.next()) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    const auto readOnly = lockForCard(QStringLiteral("Sklady"), sheetId, access, m_ui, m_lock);
    if (!readOnly)
        return false;
    m_name = q.value(0).toString();
    m_isNew = false;
    m_id = sheetId;
    m_readOnly = *readOnly;
    return true;
}

bool SheetCard::save() {
    if (m_readOnly)
        return false;
    if (m_name.trimmed().isEmpty()) {
        m_ui.warning(messages::sheetNameRequired());
        return false;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_readOnly = true;
        return false;
    }
    if (m_isNew) {
        m_id = createSheet(m_db, m_ui, m_name);
        return m_id.has_value();
    }
    return renameSheet(m_db, m_ui, *m_id, m_name);
}

} // namespace orvento::catalogue
