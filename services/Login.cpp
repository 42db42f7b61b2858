#include "services/Login.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/UserRecord.h"

namespace orvento::services {

QString wrongPasswordMessage() {
    return QStringLiteral("Zadané heslo je chybné (pozor: program rozlišuje velikost písmen).");
}

namespace {

void becomeCurrent(const core::CurrentUser& user, core::ProgramEvents& events) {
    core::programState().user = user;
    Q_EMIT events.userChanged();
}

} // namespace

bool logIn(core::AppContext& context) {
    core::Database& global = context.db().global;
    core::UserInteraction& ui = context.ui();
    core::programState().user = core::CurrentUser{};
    const auto users = readUsers(global);
    if (!users) {
        // Running with the anonymous user's full rights because the table could not be read
        // would open every door; refuse instead.
        ui.error(QStringLiteral("Seznam uživatelů nelze načíst:\n\n%1").arg(global.lastError()));
        return false;
    }
    if (users->empty()) {
        becomeCurrent(core::CurrentUser{}, context.events());
        return true;
    }
    for (;;) {
        const std::optional<QString> entered = context.navigator().askPassword();
        if (!entered)
            return false;
        for (const UserRow& row : *users) {
            if (row.user.password == *entered) {
                becomeCurrent(row.user, context.events());
                return true;
            }
        }
        ui.warning(wrongPasswordMessage());
    }
}

} // namespace orvento::services
