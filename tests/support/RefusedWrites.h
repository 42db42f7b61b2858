#pragma once

// A table that refuses a write, the way a full disk or a broken rule makes the engine refuse it,
// for the tests of what a failed statement leaves behind. Each engine has its own triggers.
#include "core/Database.h"

#include <QString>

namespace orvento::testsupport {

// Writes of `event` ("INSERT", "UPDATE", "DELETE") on `table` fail with `message` from now on,
// where `when` (a condition over NEW and OLD, in SQL both engines read alike) holds; always when
// it is empty. `name` names the refusal for allowWrites.
bool refuseWrites(core::Database& db, const QString& name, const QString& event,
                  const QString& table, const QString& when = QString(),
                  const QString& message = QStringLiteral("refused"));
// Writes refused by refuseWrites under `name` go through again.
bool allowWrites(core::Database& db, const QString& name, const QString& table);

} // namespace orvento::testsupport
