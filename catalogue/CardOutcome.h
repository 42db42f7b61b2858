#pragma once

#include "services/AccessRights.h"
#include "services/RecordLock.h"

namespace orvento::catalogue {

// How the OK of a catalogue card ended.
enum class CardOutcome {
    StayOpen,   // a check failed or the person said No; nothing was written
    Saved,      // written; the list reloads and moves to the row
    SaveFailed, // a statement failed and was reported; nothing was written and the card closes
};

// How a card opens an existing record: the rights, then the record lock. `editable` is false
// when the person may look but not save.
struct CardAccess {
    bool opens = false;
    bool editable = false;
    services::RecordLock lock;
};

// The catalogue right, then the lock of `table`/`id` for the card's lifetime; the messages are
// those of services::openRecord and services::RecordLock::take.
CardAccess openCatalogueRecord(const QString& table, qint64 id, core::UserInteraction& ui);

} // namespace orvento::catalogue
