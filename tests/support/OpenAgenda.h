#pragma once

#include "support/TestEnvironment.h"

#include <QString>

namespace orvento::testsupport {

// Puts a template agenda into the test data folder under `agenda`.MDB and opens it as the
// program's agenda, with the data folder set, as after an agenda has been opened. Where the
// environment names another store (testStoreKind()), that store makes the agenda from the
// template instead and becomes the program's store.
bool openTestAgenda(const TestEnvironment& env, const QString& templateName, const QString& agenda);
// The global database from its template, opened as the program's global database.
bool openTestGlobal(const TestEnvironment& env);
// An empty agenda `agenda` opened as above, with the global database from its template open
// beside it.
bool openEmptyAgendaAndGlobal(const TestEnvironment& env, const QString& agenda);

} // namespace orvento::testsupport
