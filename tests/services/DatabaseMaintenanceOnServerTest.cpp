#include "core/Database.h"
#include "core/SqliteFolderStore.h"
#include "services/DatabaseMaintenance.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using services::DatabaseMaintenance;
using Status = DatabaseMaintenance::Status;

namespace {

const QString kServer = QStringLiteral("Postgres");
const core::DatabaseId kDemo = core::DatabaseId::agendaNamed(QStringLiteral("DEMO"));

int groupsIn(core::Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM Skupiny")).value_or(-1).toInt();
}

} // namespace

// On a server the maintenance keeps a copy in the data folder as a file of the archive's layout,
// reads every table through, and gives the space of deleted rows back; a database somebody has
// open is left alone.
TEST(DatabaseMaintenanceOnServer, KeepsAFileCopyChecksAndCompactsButNotWhileInUse) {
    if (const auto why = testsupport::storeKindUnavailable(kServer))
        GTEST_SKIP() << why->toStdString();
    testsupport::TestEnvironment env;
    ASSERT_TRUE(testsupport::prepareLocation(kServer, env.dataFolder()));
    auto store = testsupport::makeStore(kServer, env.dataFolder(), env.programFolder());
    ASSERT_TRUE(store->create(core::DatabaseId::global(), core::DatabaseTemplate::Global));
    ASSERT_TRUE(store->create(kDemo, core::DatabaseTemplate::DemoAgenda));
    int groups = 0;
    {
        core::Database db(QStringLiteral("grow"), store->dialect());
        ASSERT_TRUE(store->open(db, kDemo));
        groups = groupsIn(db);
        core::Transaction unit(db);
        for (int i = 0; i < 2000; ++i)
            ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Akce (Description) VALUES (:D)"),
                                   {{QStringLiteral("D"), QString(500, QLatin1Char('x'))}}));
        ASSERT_TRUE(unit.commit());
        ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Akce")));

        DatabaseMaintenance maintenance(*store, env.dataFolder() + QStringLiteral("ZALOHY_DB/"));
        const auto busy = maintenance.maintain(QStringLiteral("DEMO.MDB"));
        EXPECT_EQ(busy.status, Status::InUse);
        EXPECT_TRUE(busy.copyPath.isEmpty());
    }

    DatabaseMaintenance maintenance(*store, env.dataFolder() + QStringLiteral("ZALOHY_DB/"));
    ASSERT_TRUE(maintenance.beginExclusive());
    const auto result = maintenance.maintain(QStringLiteral("DEMO.MDB"));
    maintenance.endExclusive();
    EXPECT_EQ(result.status, Status::Ok) << result.detail.toStdString();
    EXPECT_LT(result.sizeAfter, result.sizeBefore);
    EXPECT_TRUE(DatabaseMaintenance::describe(result).startsWith(
        QStringLiteral("DEMO.MDB: databáze je v pořádku, zkomprimována z ")));

    ASSERT_TRUE(QFileInfo::exists(result.copyPath));
    const core::SqliteFolderStore files(env.dataFolder(), env.programFolder());
    EXPECT_TRUE(files.checkCopy(core::DatabaseKind::Agenda, result.copyPath).passed());
    core::Database copy(QStringLiteral("copy"));
    ASSERT_TRUE(copy.open(result.copyPath));
    EXPECT_EQ(groupsIn(copy), groups);
    core::Database after(QStringLiteral("after"), store->dialect());
    ASSERT_TRUE(store->open(after, kDemo));
    EXPECT_EQ(groupsIn(after), groups);
}
