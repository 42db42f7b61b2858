#include "services/AccessRights.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"

namespace orvento::services {

using core::AccessLevel;

void showNoRights(core::UserInteraction& ui) {
    ui.information(core::noRightsMessage());
}

void showReadOnlyNotice(core::UserInteraction& ui) {
    ui.information(core::readOnlyNoticeMessage());
}

QStringList accessLevelTexts() {
    return {QStringLiteral("plný přístup"), QStringLiteral("bez práva smazat záznam"),
            QStringLiteral("pouze pro čtení"), QStringLiteral("nepřístupno")};
}

AccessLevel accessLevelFromInt(int stored) {
    if (stored < 0 || stored > 3)
        return AccessLevel::Denied;
    return static_cast<AccessLevel>(stored);
}

AccessLevel moduleLevel(const core::CurrentUser& user, Module module) {
    switch (module) {
    case Module::Nabidky:
        return user.nabidky;
    case Module::Adresar:
        return user.adresar;
    case Module::Cenik:
        return user.cenik;
    case Module::Poznamky:
        return user.poznamky;
    case Module::SeznamAgend:
        return user.seznamAgend;
    case Module::Import:
        return user.import;
    }
    return AccessLevel::Denied;
}

bool allows(AccessLevel level, ModuleAction action) {
    switch (action) {
    case ModuleAction::Open:
        return level != AccessLevel::Denied;
    case ModuleAction::Create:
    case ModuleAction::Edit:
    case ModuleAction::Bulk:
        return level == AccessLevel::Full || level == AccessLevel::NoDelete;
    case ModuleAction::Delete:
        return level == AccessLevel::Full;
    }
    return false;
}

RecordAccess recordAccess(AccessLevel level) {
    if (allows(level, ModuleAction::Edit))
        return RecordAccess::Editable;
    return level == AccessLevel::ReadOnly ? RecordAccess::ReadOnly : RecordAccess::Denied;
}

bool checkModule(Module module, ModuleAction action, core::UserInteraction& ui) {
    return checkRight(allows(moduleLevel(core::programState().user, module), action), ui);
}

bool checkRight(bool granted, core::UserInteraction& ui) {
    if (!granted)
        showNoRights(ui);
    return granted;
}

RecordAccess openRecord(Module module, core::UserInteraction& ui) {
    const RecordAccess access = recordAccess(moduleLevel(core::programState().user, module));
    if (access == RecordAccess::ReadOnly)
        showReadOnlyNotice(ui);
    else if (access == RecordAccess::Denied)
        showNoRights(ui);
    return access;
}

bool mayReprice(const core::CurrentUser& user) {
    return user.hromadnePreceneni && allows(user.cenik, ModuleAction::Bulk);
}

bool mayBulkUpdate(const core::CurrentUser& user) {
    return user.hromadneNastaveni && allows(user.cenik, ModuleAction::Bulk);
}

bool mayLockOffers(const core::CurrentUser& user) {
    return user.zamky && allows(user.nabidky, ModuleAction::Edit);
}

} // namespace orvento::services
