#include "services/DataFolderMigration.h"
#include "core/ConnectionFile.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SchemaUpgrade.h"
#include "core/SqliteFolderStore.h"
#include "services/CommandLineMigration.h"
#include "support/ScriptedInteraction.h"
#include "support/TableRows.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento;
using testsupport::ScriptedInteraction;

namespace {

const QString kConnection =
    QStringLiteral("host=db.firma.cz port=5433 dbname=orvento user=novak sslmode=require");

// Every row of a table as text, the ID among the columns, sorted.
QStringList rowsOf(core::Database& db, const QString& table) {
    QStringList rows;
    QSqlQuery query = db.select(QStringLiteral("SELECT * FROM %1").arg(table));
    while (query.next()) {
        QStringList values;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            values << record.fieldName(i) + QLatin1Char('=') +
                          testsupport::cellText(query.value(i));
        rows << values.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

// A data folder of SQLite files (the global database, the demo agenda and an empty one) moved
// to a "server": a second folder of SQLite files behind the server store's factory.
class DataFolderMigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB")));
        ASSERT_TRUE(QDir().mkpath(server() + QStringLiteral("LOCK")));
        ASSERT_TRUE(QDir().mkpath(env.dataFolder() + QStringLiteral("LOCK")));
    }

    QString data() const { return env.dataFolder(); }
    QString server() const { return env.dataFolder() + QStringLiteral("server/"); }

    int migrate(const QString& connection = kConnection) {
        services::CommandLineMigration migration({connection, data()}, outStream, errStream);
        core::StoreMakers makers;
        makers.password = [](const core::ServerConnection&) {
            return std::nullopt;
        };
        makers.server = [this](const core::ServerConnection& s, const QString& program) {
            given = s;
            return std::make_unique<core::SqliteFolderStore>(server(), program);
        };
        migration.setStoreMakers(std::move(makers));
        const int code = migration.run(env.programFolder());
        outStream.flush();
        errStream.flush();
        return code;
    }

    // Nothing changed: the files in place, no connection file, nothing on the server.
    void expectFolderUntouched() {
        for (const char* name : {"Global.MDB", "DEMO.MDB", "Firma1.MDB"}) {
            EXPECT_TRUE(QFile::exists(data() + QString::fromLatin1(name))) << name;
            EXPECT_FALSE(QFile::exists(data() + QString::fromLatin1(name) + ".presunuto"));
        }
        EXPECT_FALSE(core::hasConnectionFile(data()));
        EXPECT_TRUE(QDir(server()).entryList({QStringLiteral("*.MDB")}, QDir::Files).isEmpty());
        core::SqliteFolderStore folder(data(), env.programFolder());
        core::Database global(QStringLiteral("untouched"));
        ASSERT_TRUE(folder.open(global, core::DatabaseId::global()));
        EXPECT_EQ(core::storedSchemaVersion(global),
                  core::currentSchemaVersion(core::DatabaseKind::Global));
    }

    testsupport::TestEnvironment env;
    QString out;
    QString err;
    QTextStream outStream{&out};
    QTextStream errStream{&err};
    core::ServerConnection given;
};

// Every table of every database arrives row by row with its IDs; the folder then names the
// server, its files are set aside, and a program that does not know the connection file meets
// a global database newer than itself instead of an empty folder.
TEST_F(DataFolderMigrationTest, MovesEveryDatabaseRowByRowAndSwitchesTheFolder) {
    ASSERT_EQ(migrate(), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Hotovo: 3 databází"))) << out.toStdString();
    EXPECT_EQ(given.label(), QStringLiteral("db.firma.cz:5433/orvento"));

    for (const char* name : {"Global", "DEMO", "Firma1"}) {
        SCOPED_TRACE(name);
        const QString file = QString::fromLatin1(name) + QStringLiteral(".MDB");
        core::Database before(QStringLiteral("before"));
        core::Database after(QStringLiteral("after"));
        ASSERT_TRUE(before.open(data() + file + QStringLiteral(".presunuto")));
        ASSERT_TRUE(after.open(server() + file));
        const QStringList tables = before.tableNames();
        EXPECT_EQ(after.tableNames(), tables);
        int rows = 0;
        for (const QString& table : tables) {
            const QStringList source = rowsOf(before, table);
            EXPECT_EQ(rowsOf(after, table), source) << table.toStdString();
            rows += static_cast<int>(source.size());
        }
        if (QString::fromLatin1(name) == QStringLiteral("DEMO")) {
            EXPECT_GT(rows, 100) << "the demo agenda carries real data";
        }
    }

    QString problem;
    const auto written = core::readConnectionFile(data(), &problem);
    ASSERT_TRUE(written) << problem.toStdString();
    EXPECT_EQ(written->label(), given.label());
    EXPECT_EQ(written->sslMode, QStringLiteral("require"));
    EXPECT_FALSE(QFile::exists(data() + QStringLiteral("DEMO.MDB")));

    // What a start-up that does not see the connection file (lost from the folder) does with it:
    // it stops, and this program says what is missing; an older one only knows the version.
    core::SqliteFolderStore folder(data(), env.programFolder());
    core::Database global(QStringLiteral("older-program"));
    ASSERT_TRUE(folder.open(global, core::DatabaseId::global()));
    ScriptedInteraction ui;
    EXPECT_FALSE(core::checkSchemaVersion(folder, global, core::DatabaseId::global(), ui));
    ASSERT_EQ(ui.texts(ScriptedInteraction::Kind::Warning).size(), 1);
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Warning)[0].startsWith(
        QStringLiteral("Data této datové složky byla přesunuta na databázový server, v datové "
                       "složce však chybí soubor s připojením k serveru (OrventoDB.ini).")));
    EXPECT_TRUE(folder.agendas().empty());
}

// Another workstation with an agenda open, or an exclusive operation running, or a server that
// already holds data: refused before anything is written.
TEST_F(DataFolderMigrationTest, RefusedWhileTheDataAreInUse) {
    {
        core::SqliteFolderStore folder(data(), env.programFolder());
        core::Database open(QStringLiteral("other-workstation"));
        ASSERT_TRUE(folder.open(open, core::DatabaseId::agendaNamed(QStringLiteral("DEMO"))));
        EXPECT_EQ(migrate(), 1);
        EXPECT_TRUE(err.contains(QStringLiteral("DEMO.MDB má otevřenou jiná stanice")))
            << err.toStdString();
        expectFolderUntouched();
    }
    {
        err.clear();
        core::SqliteFolderStore folder(data(), env.programFolder());
        core::HeldLock backup;
        ASSERT_TRUE(folder.takeExclusiveLock(backup));
        EXPECT_EQ(migrate(), 1);
        EXPECT_TRUE(err.contains(QStringLiteral("jedinečný přístup"))) << err.toStdString();
        expectFolderUntouched();
    }
    err.clear();
    ASSERT_TRUE(QFile::copy(env.programFolder() + QStringLiteral("Res/0001.res"),
                            server() + QStringLiteral("Firma9.MDB")));
    EXPECT_EQ(migrate(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("už data programu jsou"))) << err.toStdString();
    ASSERT_TRUE(QFile::remove(server() + QStringLiteral("Firma9.MDB")));
    expectFolderUntouched();
}

// A switch that cannot be completed (a file set aside earlier is in the way) puts the folder
// back and takes the copies off the server, so that the next try starts clean; a connection
// string that cannot be used changes nothing either.
TEST_F(DataFolderMigrationTest, FailedSwitchPutsTheFolderBack) {
    QFile blocker(data() + QStringLiteral("Firma1.MDB.presunuto"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(migrate(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("Firma1.MDB"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("beze změny"))) << err.toStdString();
    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    expectFolderUntouched();

    err.clear();
    EXPECT_EQ(migrate(QStringLiteral("host=db dbname=orvento")), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("user"))) << err.toStdString();
    expectFolderUntouched();
}

// A target without one of the source's tables stops the copy and names the table.
TEST_F(DataFolderMigrationTest, CopyNamesTheTableItCouldNotFill) {
    core::SqliteFolderStore folder(data(), env.programFolder());
    core::SqliteFolderStore target(server(), env.programFolder());
    const auto demo = core::DatabaseId::agendaNamed(QStringLiteral("DEMO"));
    ASSERT_TRUE(target.create(demo, core::DatabaseTemplate::EmptyAgenda));
    core::Database from(QStringLiteral("copy-from"));
    core::Database to(QStringLiteral("copy-to"));
    ASSERT_TRUE(folder.open(from, demo));
    ASSERT_TRUE(target.open(to, demo));
    ASSERT_TRUE(to.executeDdl(QStringLiteral("DROP TABLE Kontakty")));
    QString problem;
    EXPECT_FALSE(services::copyAllTables(from, to, &problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("Kontakty"))) << problem.toStdString();
}

} // namespace
