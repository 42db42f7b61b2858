#pragma once

#include <QString>

namespace orvento::core {
class AppContext;
}

namespace orvento::services {

QString wrongPasswordMessage();

// The start-up login: the password alone identifies the user, asked for through the navigator
// (the splash window in its login state). With no users registered nobody logs in and the
// anonymous user keeps every right. On success programState().user holds the logged-in user and
// everybody is told; false when the person went back ("Zpět") or the users cannot be read.
bool logIn(core::AppContext& context);

} // namespace orvento::services
