#pragma once

#include "support/TestEnvironment.h"

#include <QString>

namespace orvento::testsupport {

// Puts a template agenda into the test data folder under `agenda`.MDB and opens it as the
// program's agenda, with the data folder set, as after an agenda has been opened.
bool openTestAgenda(const TestEnvironment& env, const QString& templateName, const QString& agenda);
// An empty agenda `agenda` opened as above, with the global database from its template open
// beside it.
bool openEmptyAgendaAndGlobal(const TestEnvironment& env, const QString& agenda);

} // namespace orvento::testsupport
