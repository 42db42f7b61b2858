#include "core/DataStore.h"

#include "core/Database.h"

#include <algorithm>

namespace orvento::core {

std::vector<StoredDatabase> DataStore::agendas() const {
    std::vector<StoredDatabase> result;
    for (StoredDatabase& stored : databases()) {
        if (stored.id.kind != DatabaseKind::Agenda)
            continue;
        const bool seen = std::any_of(result.begin(), result.end(), [&](const StoredDatabase& a) {
            return a.id.agenda.compare(stored.id.agenda, Qt::CaseInsensitive) == 0;
        });
        if (!seen)
            result.push_back(std::move(stored));
    }
    return result;
}

bool DataStore::openedElsewhereBesides(Database& own, const DatabaseId& which) {
    const bool wasOpen = own.isOpen();
    own.close();
    const bool elsewhere = openedElsewhere(which);
    if (wasOpen)
        open(own, which);
    return elsewhere;
}

} // namespace orvento::core
