#include "offers/OfferTemplateList.h"

#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"

namespace orvento::offers {

namespace {

const QString kNabSablony = QStringLiteral("NabSablony");

} // namespace

OfferTemplateList::OfferTemplateList(core::Database& agenda, core::UserInteraction& ui)
    : CodedRowList([&agenda] { return readTemplates(agenda); }, ui)
    , m_db(agenda)
    , m_ui(ui) {}

bool OfferTemplateList::removeCurrent() {
    if (!refreshAndRelocate())
        return false;
    const std::optional<qint64> id = currentId();
    if (!id || !services::mayDeleteRecord(kNabSablony, *id, m_ui))
        return false;
    const qint64 neighbour = neighbourId();
    const bool deleted = m_db.execute(QStringLiteral("DELETE FROM NabSablony WHERE ID = :ID"),
                                      {{QStringLiteral("ID"), *id}});
    if (!deleted) {
        m_ui.error(core::saveFailedMessage());
        reload();
        return false;
    }
    reloadAt(neighbour);
    return true;
}

} // namespace orvento::offers
