#pragma once

#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

class QSqlRecord;

namespace orvento::services {

// One row of the global table `Login`: its row ID and the user it describes (with the password
// unscrambled).
struct UserRow {
    int id = -1;
    core::CurrentUser user;
};

// How a user maps to the columns of `Login` (all but `ID`; the password stored scrambled).
const core::RecordMapping<core::CurrentUser>& userMapping();
// The user a `Login` row describes; NULL columns read as empty texts, false and full access.
core::CurrentUser userFromRecord(const QSqlRecord& record);
// The named parameters of every `Login` column but `ID`, the password scrambled.
core::SqlParams userParams(const core::CurrentUser& user);

// `SELECT * FROM Login ORDER BY UzivID`; nothing when the query fails.
std::optional<std::vector<UserRow>> readUsers(core::Database& global);

// How an offer's printout names its author: the name, " tel. " and the telephone when there is
// one, two blanks and the e-mail when there is one; empty for number 0 or an unknown number.
QString userDescription(core::Database& global, int uzivId);

} // namespace orvento::services
