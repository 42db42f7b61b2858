#pragma once

// The cases only a database server has to prove. They skip, saying why, where the tests' server
// cannot start; ServerStoreTest adds a store on a database of the test's own, with an empty
// agenda made in it.
#include "core/DataStore.h"
#include "core/Database.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvento::testsupport {

inline const QString kServerKind = QStringLiteral("Postgres");
// The agenda ServerStoreTest makes.
inline core::DatabaseId serverTestAgenda() {
    return core::DatabaseId::agendaNamed(QStringLiteral("Firma1"));
}

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto why = storeKindUnavailable(kServerKind))
            GTEST_SKIP() << why->toStdString();
    }

    static PostgresCluster& cluster() { return *PostgresCluster::instance(nullptr); }
    // The server's superuser on the test database of this data folder, for looking inside.
    bool openAsAdmin(core::Database& admin) const {
        return admin.openOnServer(postgresTestConnection(env.dataFolder()), QString());
    }

    TestEnvironment env;
};

class ServerStoreTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(prepareLocation(kServerKind, env.dataFolder()));
        store = makeStore(kServerKind, env.dataFolder(), env.programFolder());
        ASSERT_TRUE(store->create(serverTestAgenda(), core::DatabaseTemplate::EmptyAgenda));
    }

    std::unique_ptr<core::DataStore> store;
};

} // namespace orvento::testsupport
