#include "backup/BackupCreation.h"
#include "backup/BackupRestore.h"
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/ScriptedInteraction.h"
#include "support/StoreKinds.h"
#include "support/TableRows.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::testsupport;

namespace {

const QString kServer = QStringLiteral("Postgres");
const QString kFiles = QStringLiteral("SqliteFolder");
const core::DatabaseId kDemo = core::DatabaseId::agendaNamed(QStringLiteral("DEMO"));

// Every table of a database as its sorted rows.
using TableContents = QMap<QString, QStringList>;

// One archive format serves both engines: an agenda backed up on the server comes back whole in
// a data folder of files, and one backed up there comes back whole on the server.
class BackupAcrossEnginesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto why = storeKindUnavailable(kServer))
            GTEST_SKIP() << why->toStdString();
        archives = env.dataFolder() + QStringLiteral("../zalohy/");
        ASSERT_TRUE(QDir().mkpath(archives));
    }

    // The data folder at `folder` kept by a store of `kind`, with the demo agenda and the global
    // database made afresh when `fresh`, as the program's store.
    void useStore(const QString& kind, const QString& folder, bool fresh) {
        if (fresh) {
            ASSERT_TRUE(prepareLocation(kind, folder));
        }
        std::unique_ptr<core::DataStore> store = makeStore(kind, folder, env.programFolder());
        ASSERT_TRUE(store);
        if (fresh) {
            ASSERT_TRUE(store->create(core::DatabaseId::global(), core::DatabaseTemplate::Global));
            ASSERT_TRUE(store->create(kDemo, core::DatabaseTemplate::DemoAgenda));
        }
        core::useProgramStore(std::move(store));
        core::ProgramState& state = core::programState();
        state.folders.setData(folder);
        state.agenda = kDemo.agenda;
        state.settings.nazev = QStringLiteral("Stavebniny Novák");
        ASSERT_TRUE(QDir().mkpath(state.folders.print));
    }

    static TableContents contentsOf(const core::DatabaseId& which) {
        core::DataStore& store = *core::programState().store;
        core::Database db(QStringLiteral("contents"), store.dialect());
        EXPECT_TRUE(store.open(db, which));
        TableContents contents;
        for (const QString& table : db.tableNames())
            contents.insert(table.toLower(), rowsOf(db, table, columnsOf(db, table)));
        return contents;
    }

    static void addItem(const QString& description) {
        core::DataStore& store = *core::programState().store;
        core::Database db(QStringLiteral("add-item"), store.dialect());
        ASSERT_TRUE(store.open(db, kDemo));
        ASSERT_TRUE(db.execute(
            QStringLiteral("INSERT INTO Zasoby (Sklad, Popis, PrCenaBDPH) VALUES (1, :P, 12.34)"),
            {{QStringLiteral("P"), description}}))
            << db.lastError().toStdString();
    }

    QString backUp() {
        backup::BackupCreation creation(*core::programState().store, ui);
        EXPECT_EQ(creation.create({archives, true}), backup::BackupResult::Made)
            << ui.allTexts().join('\n').toStdString();
        return creation.archivePath();
    }

    void restore(const QString& archive) {
        backup::BackupRestore restoring(*core::programState().store, ui);
        ASSERT_TRUE(restoring.restore(archive, {true, true, false}, kDemo,
                                      core::programState().folders.print))
            << ui.allTexts().join('\n').toStdString();
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    QString archives;
};

TEST_F(BackupAcrossEnginesTest, TheServersBackupComesBackInFilesAndTheirsOnTheServer) {
    const QString serverFolder = env.dataFolder() + QStringLiteral("server/");
    const QString filesFolder = env.dataFolder() + QStringLiteral("files/");

    useStore(kServer, serverFolder, true);
    addItem(QStringLiteral("Dlažba „Žula“ 30×30"));
    const TableContents onServer = contentsOf(kDemo);
    const TableContents globalOnServer = contentsOf(core::DatabaseId::global());
    ASSERT_GT(onServer.value(QStringLiteral("zasoby")).size(), 10);
    const QString fromServer = backUp();

    useStore(kFiles, filesFolder, true);
    restore(fromServer);
    EXPECT_EQ(contentsOf(kDemo), onServer);
    EXPECT_EQ(contentsOf(core::DatabaseId::global()), globalOnServer);

    addItem(QStringLiteral("Obklad – přidán v souborech"));
    const TableContents inFiles = contentsOf(kDemo);
    ASSERT_EQ(inFiles.value(QStringLiteral("zasoby")).size(),
              onServer.value(QStringLiteral("zasoby")).size() + 1);
    ui.clear();
    const QString fromFiles = backUp();

    useStore(kServer, serverFolder, false);
    restore(fromFiles);
    EXPECT_EQ(contentsOf(kDemo), inFiles);
    EXPECT_EQ(contentsOf(core::DatabaseId::global()), globalOnServer);
}

} // namespace
