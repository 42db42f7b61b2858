#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

namespace orvento::core {
class Database;
class ProgressScope;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// "Vyjmout" on one item: confirmation, the item must still exist and nobody may edit it. True
// when it was deleted.
bool deleteItem(core::Database& db, core::UserInteraction& ui, qint64 itemId);

// "Vyjmout" on the marked items, in mark order; stops at the first one another workstation
// edits (the ones before it stay deleted, as each item is its own record). Written in short
// slices (core/SlicedWrite); a failed slice stops the run, the ones before it stay deleted. The
// number deleted.
int deleteItems(core::Database& db, core::UserInteraction& ui, const std::vector<qint64>& ids);

struct SqlFilter;

// A group's or sheet's deletion: the items that `items` selects go first, slice by slice, so no
// other workstation waits behind a whole sheet; then one short unit deletes any item added
// meanwhile and runs `container` (the group's or sheet's own rows). A failed slice stops there:
// the container stays with its remaining items, each item whole. Nothing is told; the caller
// reports a false.
bool deleteItemsThenContainer(core::Database& db, const SqlFilter& items,
                              const std::function<bool()>& container, core::ProgressScope& wait);

} // namespace orvento::catalogue
