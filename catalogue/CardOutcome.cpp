#include "catalogue/CardOutcome.h"

namespace orvento::catalogue {

CardAccess openCatalogueRecord(const QString& table, qint64 id, core::UserInteraction& ui) {
    CardAccess access;
    const services::RecordAccess rights = services::openRecord(services::Module::Cenik, ui);
    if (rights == services::RecordAccess::Denied)
        return access;
    access.opens = true;
    if (rights == services::RecordAccess::ReadOnly)
        return access;
    access.editable =
        services::RecordLock::take(table, id, ui, access.lock) == services::RecordLock::State::Held;
    return access;
}

} // namespace orvento::catalogue
