#pragma once

#include "core/CurrentUser.h"

#include <QString>
#include <QStringList>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// The six modules whose access is graded by a level.
enum class Module { Nabidky, Adresar, Cenik, Poznamky, SeznamAgend, Import };

// What a command does to a module's records; each needs its own lowest level.
enum class ModuleAction {
    Open,   // open the module's list (or show its desktop notes)
    Create, // create a record
    Edit,   // save changes to an existing record
    Delete, // delete a record
    Bulk,   // bulk operations and imports into the module
};

// How an existing record opens at a level.
enum class RecordAccess { Editable, ReadOnly, Denied };

// The messages (core::noRightsMessage(), core::readOnlyNoticeMessage()) as information.
void showNoRights(core::UserInteraction& ui);
void showReadOnlyNotice(core::UserInteraction& ui);

// The texts of a level combo box, in level order.
QStringList accessLevelTexts();
// A stored level; anything outside 0 to 3 counts as no access rather than as full access.
core::AccessLevel accessLevelFromInt(int stored);

core::AccessLevel moduleLevel(const core::CurrentUser& user, Module module);
bool allows(core::AccessLevel level, ModuleAction action);
RecordAccess recordAccess(core::AccessLevel level);

// The checks that come first in a command, for the logged-in user: true when allowed, otherwise
// the no-rights message has been shown and the command must change nothing.
bool checkModule(Module module, ModuleAction action, core::UserInteraction& ui);
bool checkRight(bool granted, core::UserInteraction& ui);
// Opening an existing record: shows the read-only notice at level 2 and the no-rights message
// at level 3.
RecordAccess openRecord(Module module, core::UserInteraction& ui);

// The rights that need a module level too.
bool mayReprice(const core::CurrentUser& user);    // bulk repricing of the catalogue
bool mayBulkUpdate(const core::CurrentUser& user); // bulk update of catalogue items
bool mayLockOffers(const core::CurrentUser& user); // locking and unlocking offers

} // namespace orvento::services
