#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// Asks for the password (the splash window in its login state); nothing when the person went
// back ("Zpět"). Each call starts with an empty field.
using PasswordPrompt = std::function<std::optional<QString>()>;

QString wrongPasswordMessage();

// The start-up login: the password alone identifies the user. With no users registered nobody
// logs in and the anonymous user keeps every right. On success programState().user holds the
// logged-in user and everybody is told; false when the person went back or the users cannot be
// read.
bool logIn(core::Database& global, core::UserInteraction& ui, const PasswordPrompt& prompt);

} // namespace orvento::services
