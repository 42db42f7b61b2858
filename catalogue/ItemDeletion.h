#pragma once

#include <QtGlobal>

#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// "Vyjmout" on one item: confirmation, the item must still exist and nobody may edit it. True
// when it was deleted.
bool deleteItem(core::Database& db, core::UserInteraction& ui, qint64 itemId);

// "Vyjmout" on the marked items, in mark order; stops at the first one another workstation
// edits (the ones before it stay deleted, as each item is its own record). The number deleted.
int deleteItems(core::Database& db, core::UserInteraction& ui, const std::vector<qint64>& ids);

} // namespace orvento::catalogue
