#include "services/Login.h"

#include "core/Database.h"
#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/UserRecord.h"

namespace orvento::services {

QString wrongPasswordMessage() {
    return QStringLiteral("Zadané heslo je chybné (pozor: program rozlišuje velikost písmen).");
}

namespace {

void becomeCurrent(const core::CurrentUser& user) {
    core::programState().user = user;
    Q_EMIT core::ProgramEvents::instance().userChanged();
}

} // namespace

bool logIn(core::Database& global, core::UserInteraction& ui, const PasswordPrompt& prompt) {
    core::programState().user = core::CurrentUser{};
    const auto users = readUsers(global);
    if (!users) {
        // Running with the anonymous user's full rights because the table could not be read
        // would open every door; refuse instead.
        ui.error(QStringLiteral("Seznam uživatelů nelze načíst:\n\n%1").arg(global.lastError()));
        return false;
    }
    if (users->empty()) {
        becomeCurrent(core::CurrentUser{});
        return true;
    }
    for (;;) {
        const std::optional<QString> entered = prompt ? prompt() : std::nullopt;
        if (!entered)
            return false;
        for (const UserRow& row : *users) {
            if (row.user.password == *entered) {
                becomeCurrent(row.user);
                return true;
            }
        }
        ui.warning(wrongPasswordMessage());
    }
}

} // namespace orvento::services
