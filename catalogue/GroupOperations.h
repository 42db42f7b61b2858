#pragma once

#include "catalogue/CatalogueRecords.h"

#include <functional>
#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// Writes a group from its card: a new group (or a copy) is inserted as an ordinary group of the
// sheet in `group.sklad`, an existing one is updated. The group's ID, or nothing after the
// failure's message.
std::optional<qint64> saveGroup(core::Database& db, core::UserInteraction& ui,
                                const GroupRow& group, bool isNew);

// The group a card is to edit, as every list of groups decides it: the catalogue right, the
// basic group refused with its message, then the group found again by `relocate` (which reads
// its list again and gives the refresh warning when the group is gone). Nothing when refused.
std::optional<GroupRow> groupToEdit(core::UserInteraction& ui,
                                    const std::optional<GroupRow>& current,
                                    const std::function<std::optional<GroupRow>()>& relocate);

// Deletes a group with its items after the confirmation. The basic group is kept; when another
// workstation edits the group or any of its items nothing is deleted. True when deleted.
bool deleteGroup(core::Database& db, core::UserInteraction& ui, qint64 groupId);

} // namespace orvento::catalogue
