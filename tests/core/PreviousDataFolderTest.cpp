// A data folder as an older version of the program leaves it (older schemas, a record lock left
// by a crash, stamps in the lock folder) is opened through the program's store, upgraded, used
// and read back by this version.
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/SqliteFolderStore.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <gtest/gtest.h>

using namespace orvento;
using core::DatabaseId;
using core::DatabaseKind;

namespace {

// The template brought back to an older schema version, as that version wrote it.
void makeOlder(const QString& path, int version, const QStringList& changes) {
    core::Database db(QStringLiteral("older"));
    ASSERT_TRUE(db.open(path));
    for (const QString& sql : changes)
        ASSERT_TRUE(db.executeDdl(sql)) << sql.toStdString();
    ASSERT_TRUE(core::writeSchemaVersion(db, version));
}

TEST(PreviousDataFolderTest, OpensUpgradesAndIsUsedByThisVersion) {
    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    env.useDataFolder();
    const QString data = env.dataFolder();
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("LOCK")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    makeOlder(data + QStringLiteral("Global.MDB"), 3,
              {QStringLiteral("ALTER TABLE Poznamky DROP COLUMN Vyrizeno")});
    makeOlder(data + QStringLiteral("DEMO.MDB"), 7,
              {QStringLiteral("ALTER TABLE Nabidky DROP COLUMN Zamek")});
    // Left behind by a workstation that crashed while a card was open, and its last stamp.
    QFile stale(data + QStringLiteral("LOCK/~DEMO~Nabidky~1.lck"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    constexpr double kOldStamp = 44000.25;
    QFile stamp(data + QStringLiteral("LOCK/01DEMO.tsf"));
    ASSERT_TRUE(stamp.open(QIODevice::WriteOnly));
    stamp.write(reinterpret_cast<const char*>(&kOldStamp), sizeof kOldStamp);
    stamp.close();

    core::ProgramState& state = core::programState();
    state.folders.setData(data);
    core::DataStore& store = *state.store;
    const DatabaseId demo = DatabaseId::agendaNamed(QStringLiteral("DEMO"));

    core::Database& global = state.db->global;
    core::Database& agenda = state.db->agenda;
    ASSERT_TRUE(store.open(global, DatabaseId::global()));
    ASSERT_TRUE(core::checkSchemaVersion(store, global, DatabaseId::global(), ui));
    ASSERT_TRUE(store.open(agenda, demo));
    ASSERT_TRUE(core::checkSchemaVersion(store, agenda, demo, ui));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(core::storedSchemaVersion(agenda), core::currentSchemaVersion(DatabaseKind::Agenda));
    EXPECT_TRUE(agenda.hasColumn(QStringLiteral("Nabidky"), QStringLiteral("Zamek")));

    // Used: a new row, the old rows still there, the stale lock cleared, the old stamp read.
    const auto offers = agenda.scalar(QStringLiteral("SELECT count(*) FROM Nabidky"));
    ASSERT_TRUE(offers);
    EXPECT_GT(offers->toInt(), 0);
    const auto sheet = agenda.insertRow(
        QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)"),
        {{QStringLiteral("Nazev"), QStringLiteral("Nový")}, {QStringLiteral("Poradi"), 9}});
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(
        store.recordLockHeldElsewhere({QStringLiteral("DEMO"), QStringLiteral("Nabidky"), 1}));
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("LOCK/~DEMO~Nabidky~1.lck")));
    EXPECT_DOUBLE_EQ(*store.readStamp(QStringLiteral("DEMO"), core::StampedTable::Adresar),
                     kOldStamp);

    // Read back as a later start would: no upgrade any more, the row there.
    agenda.close();
    global.close();
    ASSERT_TRUE(store.open(agenda, demo));
    ASSERT_TRUE(core::checkSchemaVersion(store, agenda, demo, ui));
    EXPECT_EQ(agenda
                  .scalar(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                          {{QStringLiteral("ID"), *sheet}})
                  ->toString(),
              QStringLiteral("Nový"));
    EXPECT_EQ(agenda.scalar(QStringLiteral("PRAGMA user_version"))->toInt(),
              core::currentSchemaVersion(DatabaseKind::Agenda));
    agenda.close();
}

} // namespace
