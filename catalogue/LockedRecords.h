#pragma once

#include "core/Database.h"
#include "services/AccessRights.h"
#include "services/RecordLock.h"

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

// A WHERE condition with its bound values.
struct SqlFilter {
    QString condition;
    core::SqlParams params;
};

// True when another workstation edits any row of the table that the filter selects. Tests every
// row, so stale lock files of all of them are cleared on the way.
bool anyLocked(core::Database& db, const QString& table, const SqlFilter& filter);

// The lock of the record a card opens at the given access: whether the card is read-only (the
// level says so, or another workstation edits the record), or nothing when it cannot open.
std::optional<bool> lockForCard(const QString& table, qint64 id, services::RecordAccess access,
                                core::UserInteraction& ui, services::RecordLock& lock);

} // namespace orvento::catalogue
