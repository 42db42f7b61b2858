#include "core/SchemaUpgrade.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/StartUp.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using core::DatabaseKind;
using testsupport::OtherWorkstation;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

// Older databases are made from today's schema by taking away what older versions lacked.
class SchemaUpgradeTest : public ::testing::Test {
protected:
    QString makeDatabase(const QString& templateName, const QString& fileName, int version,
                         const QStringList& changes) {
        EXPECT_TRUE(env.copyTemplate(templateName, fileName));
        const QString path = env.dataFolder() + fileName;
        core::Database db(QStringLiteral("old-version"));
        EXPECT_TRUE(db.open(path));
        for (const QString& sql : changes)
            EXPECT_TRUE(db.executeDdl(sql))
                << sql.toStdString() << ": " << db.lastError().toStdString();
        EXPECT_TRUE(core::writeSchemaVersion(db, version));
        db.close();
        return path;
    }

    // Opens the file as the program's connection of that kind and runs the check.
    bool check(core::Database& db, const QString& path, DatabaseKind kind,
               const QString& agendaName = QString()) {
        EXPECT_TRUE(db.open(path));
        return core::checkSchemaVersion(db, kind, agendaName, ui);
    }

    static QStringList columnsOf(core::Database& db, const QString& table) {
        QStringList names;
        for (const auto& [t, c] : db.columns()) {
            if (t == table)
                names << c;
        }
        return names;
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    core::Database& global = core::programState().db->global;
    core::Database& agenda = core::programState().db->agenda;
};

TEST_F(SchemaUpgradeTest, NewerGlobalDatabaseIsRefusedWithBothVersions) {
    const QString path =
        makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 5, {});
    EXPECT_FALSE(check(global, path, DatabaseKind::Global));
    ASSERT_EQ(ui.texts(Kind::Warning).size(), 1);
    const QString text = ui.texts(Kind::Warning).front();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Hlavní databáze je novější verze než spouštěný "
                                               "program (IDMAINDB 5, IDPRG 4). Nyní používáte "
                                               "verzi 2.05 - proveďte update programu")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n\nPokud používáte program v síti, na všech "
                                             "stanicích musí být stejná verze programu.")));
    EXPECT_EQ(core::storedSchemaVersion(global), 5);
}

TEST_F(SchemaUpgradeTest, NewerAgendaNamesTheAgenda) {
    const QString path =
        makeDatabase(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB"), 9, {});
    EXPECT_FALSE(check(agenda, path, DatabaseKind::Agenda, QStringLiteral("Firma1")));
    EXPECT_TRUE(ui.sawContaining(
        Kind::Warning, QStringLiteral("Databáze firmy [Firma1] je novější verze než spouštěný "
                                      "program (IDDB 9, IDPRG 8). Nyní používáte verzi 2.05")));
}

TEST_F(SchemaUpgradeTest, CurrentVersionPassesWithoutTouchingTheFile) {
    const QString path =
        makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 4, {});
    EXPECT_TRUE(check(global, path, DatabaseKind::Global));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.waitTexts().isEmpty());
}

TEST_F(SchemaUpgradeTest, GlobalVersion3GetsOnlyTheMissingColumnAndVersion4) {
    const QString path = makeDatabase(
        QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 3,
        {QStringLiteral("ALTER TABLE Poznamky DROP COLUMN Vyrizeno"),
         QStringLiteral("INSERT INTO Poznamky (Nazev, ZobrazOst) VALUES ('stará', 1)"),
         QStringLiteral("INSERT INTO Login (UzivID, Jmeno, Administrator_AR, Nabidky_AR) VALUES "
                        "(1, 'Eva', 0, 2)")});
    ASSERT_TRUE(check(global, path, DatabaseKind::Global)) << ui.allTexts().join('|').toStdString();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(
        ui.waitTexts().contains(QStringLiteral("Probíhá převod databáze\nprosím čekejte...")));
    EXPECT_FALSE(ui.waitShown());

    EXPECT_EQ(core::storedSchemaVersion(global), 4);
    EXPECT_EQ(global.scalar(QStringLiteral("PRAGMA user_version"))->toInt(), 4);
    EXPECT_EQ(global.scalar(QStringLiteral("SELECT Vyrizeno FROM Poznamky"))->toInt(), 0);
    // Login had everything: its rights are left as they were.
    QSqlQuery login =
        global.select(QStringLiteral("SELECT Administrator_AR, Nabidky_AR FROM Login"));
    ASSERT_TRUE(login.next());
    EXPECT_EQ(login.value(0).toInt(), 0);
    EXPECT_EQ(login.value(1).toInt(), 2);
}

TEST_F(SchemaUpgradeTest, OldLoginTableGetsRightsWithTheirInitialValuesAndEmptyTexts) {
    QStringList drops;
    for (const auto& step : core::upgradeStepsOf(DatabaseKind::Global)) {
        if (step.table == QStringLiteral("Login"))
            drops << QStringLiteral("ALTER TABLE Login DROP COLUMN %1").arg(step.column);
    }
    drops << QStringLiteral("INSERT INTO Login (UzivID, Jmeno, Pwd) VALUES (1, 'Eva', 'x')");
    const QString path =
        makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 2, drops);
    ASSERT_TRUE(check(global, path, DatabaseKind::Global)) << ui.allTexts().join('|').toStdString();
    QSqlQuery row = global.select(QStringLiteral(
        "SELECT Administrator_AR, SeznamAgend_AR, NakupniCeny_AR, VsechnyNabidky_AR, Telefon, "
        "Email, PrefiltrNabidkyVytvorID_AR FROM Login"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toInt(), 1);
    EXPECT_EQ(row.value(1).toInt(), 0);
    EXPECT_EQ(row.value(2).toInt(), 1);
    EXPECT_EQ(row.value(3).toInt(), 1);
    for (int i = 4; i < 7; ++i) {
        EXPECT_FALSE(row.value(i).isNull()) << i;
        EXPECT_EQ(row.value(i).toString(), QString()) << i;
    }
    // The columns arrive in the order of the steps, after the old ones.
    const QStringList cols = columnsOf(global, QStringLiteral("Login"));
    EXPECT_EQ(cols.mid(cols.size() - 3),
              QStringList({QStringLiteral("PrefiltrNabidkyVytvorID_AR"), QStringLiteral("Telefon"),
                           QStringLiteral("Email")}));
}

TEST_F(SchemaUpgradeTest, AgendaWithoutAkceGetsTableAndIndexAndTemplatesTheirHeading) {
    const QString path = makeDatabase(
        QStringLiteral("0001.res"), QStringLiteral("Stara.MDB"), 6,
        {QStringLiteral("DROP TABLE Akce"),
         QStringLiteral("ALTER TABLE NabSablony DROP COLUMN Nadpis"),
         QStringLiteral("INSERT INTO NabSablony (Zkratka, Nazev) VALUES ('STD', 'Standardní')"),
         QStringLiteral("INSERT INTO NabSablony (Zkratka, Nazev) VALUES ('SERV', 'Servis')")});
    ASSERT_TRUE(check(agenda, path, DatabaseKind::Agenda, QStringLiteral("Stara")));
    EXPECT_TRUE(agenda.hasTable(QStringLiteral("Akce")));
    EXPECT_EQ(columnsOf(agenda, QStringLiteral("Akce")).size(), 10);
    EXPECT_EQ(agenda
                  .scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND "
                                         "name = 'ObjectTypeAndID'"))
                  ->toString(),
              QStringLiteral("CREATE INDEX ObjectTypeAndID ON Akce (ObjectType, ObjectID)"));
    QSqlQuery headings = agenda.select(QStringLiteral("SELECT Nadpis FROM NabSablony"));
    int count = 0;
    while (headings.next()) {
        EXPECT_EQ(headings.value(0).toString(), QStringLiteral("Nabídka"));
        ++count;
    }
    EXPECT_EQ(count, 2);
    // A new history row with empty texts is accepted.
    EXPECT_TRUE(agenda.execute(
        QStringLiteral("INSERT INTO Akce (ObjectType, UserName, Description) VALUES (1, :U, :D)"),
        {{QStringLiteral("U"), QString()}, {QStringLiteral("D"), QString()}}));
    EXPECT_EQ(core::storedSchemaVersion(agenda), 8);
}

TEST_F(SchemaUpgradeTest, AgendaWithAkceLackingOnlyThePictureColumnGetsOnlyThatColumn) {
    const QString path = makeDatabase(
        QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB"), 7,
        {QStringLiteral("ALTER TABLE Zasoby DROP COLUMN Obrazek"),
         QStringLiteral("INSERT INTO Akce (ObjectType, ObjectID, Description) VALUES (1, 5, 'x')"),
         QStringLiteral("INSERT INTO Zasoby (Popis) VALUES ('kabel')")});
    ASSERT_TRUE(check(agenda, path, DatabaseKind::Agenda, QStringLiteral("DEMO")));
    EXPECT_EQ(
        agenda.scalar(QStringLiteral("SELECT count(*) FROM Akce WHERE ObjectType = 1"))->toInt(),
        1);
    QSqlQuery items = agenda.select(QStringLiteral("SELECT Obrazek FROM Zasoby"));
    ASSERT_TRUE(items.next());
    EXPECT_FALSE(items.value(0).isNull());
    EXPECT_EQ(items.value(0).toString(), QString());
    EXPECT_EQ(columnsOf(agenda, QStringLiteral("Zasoby")).last(), QStringLiteral("Obrazek"));
}

TEST_F(SchemaUpgradeTest, NoUpgradeWhileAnotherWorkstationHasTheDatabaseOpen) {
    const QString path =
        makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 3,
                     {QStringLiteral("ALTER TABLE Poznamky DROP COLUMN Vyrizeno")});
    OtherWorkstation other({QStringLiteral("open-db"), path});
    ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
    EXPECT_FALSE(check(global, path, DatabaseKind::Global));
    EXPECT_TRUE(ui.saw(Kind::Warning, core::upgradeRefusedMessage()));
    EXPECT_FALSE(global.isOpen());
    other.stop();

    core::Database look(QStringLiteral("look"));
    ASSERT_TRUE(look.open(path));
    EXPECT_EQ(core::storedSchemaVersion(look), 3);
    EXPECT_FALSE(look.hasColumn(QStringLiteral("Poznamky"), QStringLiteral("Vyrizeno")));
}

TEST_F(SchemaUpgradeTest, FailingStepReportsTheErrorAndChangesNothing) {
    // Without a Login table the rights cannot be added; the column added before must not stay.
    const QString path = makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global.MDB"), 3,
                                      {QStringLiteral("ALTER TABLE Poznamky DROP COLUMN Vyrizeno"),
                                       QStringLiteral("DROP TABLE Login")});
    EXPECT_FALSE(check(global, path, DatabaseKind::Global));
    ASSERT_EQ(ui.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(ui.texts(Kind::Error).front().contains(QStringLiteral("Login")));
    EXPECT_FALSE(ui.waitShown());
    EXPECT_EQ(core::storedSchemaVersion(global), 3);
    EXPECT_FALSE(global.hasColumn(QStringLiteral("Poznamky"), QStringLiteral("Vyrizeno")));
}

// The checks at their places: the start-up stops on a newer global database and upgrades an old
// last agenda as it opens it.
TEST_F(SchemaUpgradeTest, StartUpChecksBothDatabases) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=Stara\n"));
    makeDatabase(QStringLiteral("0001.res"), QStringLiteral("Stara.MDB"), 7,
                 {QStringLiteral("ALTER TABLE Nabidky DROP COLUMN Zamek")});
    testsupport::TestContext test(ui);
    ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
    EXPECT_TRUE(agenda.hasColumn(QStringLiteral("Nabidky"), QStringLiteral("Zamek")));
    EXPECT_EQ(core::storedSchemaVersion(agenda), 8);

    core::resetProgramState();
    core::StartUp::initProgramFolders(env.programFolder());
    makeDatabase(QStringLiteral("0002.res"), QStringLiteral("Global2.MDB"), 5, {});
    QFile::remove(env.dataFolder() + QStringLiteral("Global.MDB"));
    QFile::rename(env.dataFolder() + QStringLiteral("Global2.MDB"),
                  env.dataFolder() + QStringLiteral("Global.MDB"));
    ui.clear();
    EXPECT_FALSE(test.startUp().run());
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("IDMAINDB 5, IDPRG 4")));
}

} // namespace
