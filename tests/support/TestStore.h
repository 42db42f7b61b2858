#pragma once

// The kind of store the shared fixtures (OpenAgenda, TestEnvironment) put the program's data
// into: the environment names it, so that the same logic tests run once more on a server; files
// in the data folder when it names none.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvento::core {
class Database;
}

namespace orvento::testsupport {

class TestEnvironment;

inline constexpr auto kTestStoreVariable = "ORVENTO_TEST_STORE";

// A kind from storeKinds().
inline QString testStoreKind() {
    const QString kind = qEnvironmentVariable(kTestStoreVariable);
    return kind.isEmpty() ? QStringLiteral("SqliteFolder") : kind;
}
// Whether the data are kept elsewhere than in files of the data folder; a test that deals in the
// files themselves skips then, saying why.
inline bool testStoreIsServer() {
    return testStoreKind() != QLatin1String("SqliteFolder");
}

// The global database from its template, opened as the program's global database.
bool openTestGlobal(const TestEnvironment& env);
// A second connection on the program's agenda, as another workstation has it, through the test's
// store; `other` speaks the agenda connection's dialect.
bool openAgendaElsewhere(core::Database& other);
// The test helper's arguments for another workstation that edits record `id` of `table`: of the
// program's agenda, or one shared by all agendas; through the locks of the test's store.
QStringList recordEditedElsewhere(const TestEnvironment& env, const QString& table, qint64 id,
                                  bool shared = false);

} // namespace orvento::testsupport
