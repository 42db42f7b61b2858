#pragma once

#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/UserRecord.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace orvento::testsupport {

// Writes a `Login` row for the user; returns its ID.
inline int insertUser(core::Database& db, const core::CurrentUser& user) {
    const core::SqlParams params = services::userParams(user);
    QStringList names;
    for (const auto& p : params)
        names << p.first;
    EXPECT_TRUE(db.execute(QStringLiteral("INSERT INTO Login (%1) VALUES (:%2)")
                               .arg(names.join(QLatin1Char(',')), names.join(QStringLiteral(",:"))),
                           params))
        << db.lastError().toStdString();
    return static_cast<int>(db.newRowId());
}

// A fresh global database and an empty agenda, both open as the program's connections, for the
// tests of users, rights and profiles.
class UserDatabases : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
    }

    static core::Database& global() { return core::programState().db->global; }
    static core::Database& agenda() { return core::programState().db->agenda; }

    // Registers a user the way the user card writes him; returns the row's ID.
    static int addUser(int uzivId, const QString& name, const QString& password,
                       bool administrator = true, const QString& profile = QString()) {
        core::CurrentUser u;
        u.uzivId = uzivId;
        u.jmeno = name;
        u.password = password;
        u.administrator = administrator;
        u.konfigurace = profile;
        return insertUser(global(), u);
    }

    static int loginRows() {
        return global().scalar(QStringLiteral("SELECT count(*) FROM Login"))->toInt();
    }

    TestEnvironment env;
    ScriptedInteraction ui;
};

} // namespace orvento::testsupport
