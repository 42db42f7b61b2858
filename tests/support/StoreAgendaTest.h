#pragma once

// The data-layer tests run over every kind of store: each gets an agenda made from the empty
// template by the store and a connection the store opened on it.
#include "core/DataStore.h"
#include "core/Database.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvento::testsupport {

// The name a parameterised store test runs under: its store kind.
inline std::string storeKindName(const ::testing::TestParamInfo<QString>& kind) {
    return kind.param.toStdString();
}

class StoreAgendaTest : public ::testing::TestWithParam<QString> {
protected:
    explicit StoreAgendaTest(const QString& connectionName)
        : m_prepared(prepareLocation(GetParam(), env.dataFolder()))
        , store(makeStore(GetParam(), env.dataFolder(), env.programFolder()))
        , db(connectionName, store->dialect()) {}

    void SetUp() override {
        if (const auto why = storeKindUnavailable(GetParam()))
            GTEST_SKIP() << why->toStdString();
        ASSERT_TRUE(m_prepared);
        ASSERT_TRUE(store->create(agendaId(), core::DatabaseTemplate::EmptyAgenda));
        ASSERT_TRUE(store->open(db, agendaId())) << db.lastError().toStdString();
    }

    static core::DatabaseId agendaId() {
        return core::DatabaseId::agendaNamed(QStringLiteral("Firma"));
    }
    // A second connection on the same agenda, as another workstation has it.
    bool openAnother(core::Database& other) { return store->open(other, agendaId()); }
    // The arguments the test helper's store commands begin with.
    QStringList helperStore() const { return {GetParam(), env.dataFolder()}; }

    TestEnvironment env;

private:
    bool m_prepared;

protected:
    std::unique_ptr<core::DataStore> store;
    core::Database db;
};

} // namespace orvento::testsupport
