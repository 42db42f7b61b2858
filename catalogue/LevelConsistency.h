#pragma once

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The check repricing runs before anything else: every level row of an existing group names an
// existing level, and a row that takes its values over still has them. The first problem is
// shown in the information window and the result is false.
bool checkLevelConsistency(core::Database& db, core::UserInteraction& ui);

} // namespace orvento::catalogue
