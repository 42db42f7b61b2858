#include "catalogue/PriceLists.h"

#include "catalogue/CodeReferences.h"
#include "core/Database.h"
#include "services/AccessRights.h"
#include "services/RecordLock.h"

namespace orvento::catalogue {

PriceLevelList::PriceLevelList(core::Database& agenda, core::UserInteraction& ui)
    : CodedRowList<PriceLevel>([&agenda] { return readLevels(agenda); }, ui)
    , m_db(agenda)
    , m_ui(ui) {}

bool PriceLevelList::mayOpen(core::UserInteraction& ui) {
    return services::checkModule(services::Module::Cenik, services::ModuleAction::Open, ui);
}

void PriceLevelList::locateCode(const QString& code) {
    for (const PriceLevel& level : rows())
        if (sameCode(level.Zkratka, code)) {
            locate(level.ID);
            return;
        }
}

bool PriceLevelList::removeCurrent() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Delete, m_ui) ||
        !refreshAndRelocate())
        return false;
    const PriceLevel* row = current();
    if (!row)
        return false;
    const PriceLevel level = *row;
    if (!services::mayDeleteRecord(QStringLiteral("CenHlad"), level.ID, m_ui) ||
        !m_ui.question(QStringLiteral("Opravdu chcete smazat cenovou hladinu %1? Cenová hladina "
                                      "bude vymazána také ze všech cenových skupin!")
                           .arg(level.Zkratka)))
        return false;
    const qint64 neighbour = neighbourId();
    bool ok = false;
    {
        core::Transaction tx(m_db);
        ok = m_db.execute(QStringLiteral("DELETE FROM CenHlad WHERE ID = :ID"),
                          {{QStringLiteral("ID"), level.ID}}) &&
             runForEachSpelling(m_db, QStringLiteral("CenSkupPol"), QStringLiteral("Zkratka"),
                                level.Zkratka,
                                QStringLiteral("DELETE FROM CenSkupPol WHERE Zkratka = :Code")) &&
             tx.commit();
    }
    if (!ok)
        m_ui.error(core::saveFailedMessage());
    reloadAt(neighbour);
    return ok;
}

PriceGroupList::PriceGroupList(core::Database& agenda, core::UserInteraction& ui)
    : CodedRowList<PriceGroup>([&agenda] { return readGroups(agenda); }, ui)
    , m_db(agenda)
    , m_ui(ui) {}

bool PriceGroupList::mayOpen(core::UserInteraction& ui) {
    return PriceLevelList::mayOpen(ui);
}

bool PriceGroupList::removeCurrent() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Delete, m_ui) ||
        !refreshAndRelocate())
        return false;
    const PriceGroup* row = current();
    if (!row)
        return false;
    const PriceGroup group = *row;
    if (!services::mayDeleteRecord(QStringLiteral("CenSkup"), group.ID, m_ui) ||
        !m_ui.question(
            QStringLiteral("Opravdu chcete smazat cenovou skupinu %1?").arg(group.Zkratka)))
        return false;
    const qint64 neighbour = neighbourId();
    bool ok = false;
    {
        core::Transaction tx(m_db);
        ok = m_db.execute(QStringLiteral("DELETE FROM CenSkup WHERE ID = :ID"),
                          {{QStringLiteral("ID"), group.ID}}) &&
             m_db.execute(QStringLiteral("DELETE FROM CenSkupPol WHERE IDCenSkup = :ID"),
                          {{QStringLiteral("ID"), group.ID}}) &&
             tx.commit();
    }
    if (!ok)
        m_ui.error(core::saveFailedMessage());
    reloadAt(neighbour);
    return ok;
}

} // namespace orvento::catalogue
