#include "services/AgendaList.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/StartUp.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using services::AgendaListOutcome;
using testsupport::OtherWorkstation;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

class AgendaListTest : public ::testing::Test {
protected:
    // Starts the program on `last` (the demo agenda unless told otherwise).
    void start(const QString& last = QStringLiteral("DEMO")) {
        env.useDataFolder(QStringLiteral("LastDBName=%1\n").arg(last));
        ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
        ui.clear();
    }

    void addAgenda(const QString& file, const std::optional<QString>& name) {
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), file));
        if (!name)
            return;
        core::Database db(QStringLiteral("name-it"));
        ASSERT_TRUE(db.open(env.dataFolder() + file));
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Nastaveni (IDHodnoty, Popis, Hodnota) "
                                              "VALUES (1, 'Firma - název', :Nazev)"),
                               {{QStringLiteral("Nazev"), *name}}));
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile f(env.dataFolder() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    services::AgendaList makeList() { return services::AgendaList(test.context); }
    int settingsShown() const { return test.navigator.count(QStringLiteral("openSettings")); }

    // The person in the agenda list: chooses `file` and presses "Otevřít".
    std::function<AgendaListOutcome()> opening(const QString& file) {
        return [this, file] {
            services::AgendaList list = makeList();
            list.fill();
            list.setCurrent(static_cast<int>(column(list, true).indexOf(file)));
            return list.openCurrent();
        };
    }

    QStringList column(const services::AgendaList& list, bool files) const {
        QStringList out;
        for (const services::AgendaRow& r : list.rows())
            out << (files ? r.soubor : r.nazev);
        return out;
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(AgendaListTest, ListsOnlyAgendaDatabasesSortedCzechWithTheOpenOneSelected) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Chata Pod Horou"));
    addAgenda(QStringLiteral("firma2.mdb"), QStringLiteral("Čapek a syn"));
    addAgenda(QStringLiteral("Bez.MDB"), std::nullopt);
    addAgenda(QStringLiteral("Hora.MDB"), QStringLiteral("Hora"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Kopie.MDB")));
    writeFile(QStringLiteral("Text.MDB"), QByteArray(2048, 'x'));
    writeFile(QStringLiteral("Prazdny.MDB"), QByteArray());
    writeFile(QStringLiteral("Firma9.txt"), "x");

    services::AgendaList list = makeList();
    list.fill();
    EXPECT_EQ(column(list, true),
              QStringList({QStringLiteral("BEZ.MDB"), QStringLiteral("FIRMA2.MDB"),
                           QStringLiteral("DEMO.MDB"), QStringLiteral("HORA.MDB"),
                           QStringLiteral("FIRMA1.MDB")}));
    EXPECT_EQ(column(list, false),
              QStringList({QString(), QStringLiteral("Čapek a syn"),
                           QStringLiteral("DEMO - fiktivní firma"), QStringLiteral("Hora"),
                           QStringLiteral("Chata Pod Horou")}));
    EXPECT_EQ(list.current(), 2);
    EXPECT_FALSE(list.demoAvailable());
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Načítám seznam firem\nprosím čekejte...")));
    EXPECT_FALSE(ui.waitShown());
    EXPECT_FALSE(core::programState().db->spare.isOpen());
    QFile text(env.dataFolder() + QStringLiteral("Text.MDB"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), QByteArray(2048, 'x')) << "a foreign file is left as it was";
}

TEST_F(AgendaListTest, StartUpShowsTheListWhenTheLastAgendaIsGone) {
    env.useDataFolder(QStringLiteral("LastDBName=Zmizela\n"));
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    test.navigator.onAgendaList(opening(QStringLiteral("FIRMA1.MDB")));
    ASSERT_TRUE(test.startUp().run()) << ui.allTexts().join('|').toStdString();
    EXPECT_EQ(test.navigator.count(QStringLiteral("openAgendaList")), 1);
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
    EXPECT_EQ(core::programState().agendaName, QStringLiteral("Jedna"));
    EXPECT_EQ(core::programState().settings.nazev, QStringLiteral("Jedna"));
}

TEST_F(AgendaListTest, NewAgendaTakesTheNextFreeNameOpensAndAsksForTheFirmName) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    addAgenda(QStringLiteral("FIRMA2.MDB"), QStringLiteral("Dvě"));
    services::AgendaList list = makeList();
    list.fill();
    ui.answer(true);
    test.navigator.onSettings([] { return core::NavigationStatus::Cancelled; });
    EXPECT_EQ(list.addNew(), AgendaListOutcome::Opened);
    EXPECT_TRUE(QFileInfo::exists(env.dataFolder() + QStringLiteral("Firma3.MDB")));
    EXPECT_TRUE(column(list, true).contains(QStringLiteral("FIRMA3.MDB")));
    EXPECT_EQ(settingsShown(), 1);
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Vytvářím novou firmu\nprosím čekejte...")));
    EXPECT_FALSE(ui.waitShown());

    core::ProgramState& state = core::programState();
    EXPECT_EQ(state.agenda, QStringLiteral("Firma3"));
    EXPECT_EQ(state.agendaName, QStringLiteral("<bez názvu>"));
    core::Database& db = state.db->agenda;
    QSqlQuery series =
        db.select(QStringLiteral("SELECT PrefixOzn, Cislo, PocetMist, ModulOzn FROM CisRady"));
    ASSERT_TRUE(series.next());
    EXPECT_EQ(series.value(0).toString(), QStringLiteral("NB"));
    EXPECT_EQ(series.value(1).toInt(), 1);
    EXPECT_EQ(series.value(2).toInt(), 5);
    EXPECT_EQ(series.value(3).toString(), QStringLiteral("NB"));
    QSqlQuery name = db.select(QStringLiteral("SELECT Hodnota, Popis FROM Nastaveni"));
    ASSERT_TRUE(name.next());
    EXPECT_EQ(name.value(0).toString(), QStringLiteral("<bez názvu>"));
    EXPECT_EQ(name.value(1).toString(), QStringLiteral("Firma - název"));
    EXPECT_FALSE(name.next());

    ui.answer(false);
    EXPECT_EQ(list.addNew(), AgendaListOutcome::Stay);
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + QStringLiteral("Firma4.MDB")));
    EXPECT_EQ(services::AgendaList::freeAgendaFileName(env.dataFolder()),
              QStringLiteral("Firma4.MDB"));
}

TEST_F(AgendaListTest, OpeningAnotherAgendaSwitchesTheProgram) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    services::AgendaList list = makeList();
    list.fill();
    list.setCurrent(static_cast<int>(column(list, true).indexOf(QStringLiteral("FIRMA1.MDB"))));
    EXPECT_EQ(list.openCurrent(), AgendaListOutcome::Opened);
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
    EXPECT_EQ(core::programState().agendaName, QStringLiteral("Jedna"));
    EXPECT_EQ(settingsShown(), 0);
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("\nprosím čekejte...")));
}

TEST_F(AgendaListTest, AgendaThatFailsToOpenEndsTheProgram) {
    start();
    addAgenda(QStringLiteral("Nova.MDB"), QStringLiteral("Z budoucnosti"));
    {
        core::Database db(QStringLiteral("newer"));
        ASSERT_TRUE(db.open(env.dataFolder() + QStringLiteral("Nova.MDB")));
        ASSERT_TRUE(core::writeSchemaVersion(db, 9));
    }
    services::AgendaList list = makeList();
    list.fill();
    list.setCurrent(static_cast<int>(column(list, true).indexOf(QStringLiteral("NOVA.MDB"))));
    EXPECT_EQ(list.openCurrent(), AgendaListOutcome::EndProgram);
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("IDDB 9, IDPRG 8")));
    EXPECT_TRUE(ui.saw(Kind::Error,
                       QStringLiteral("Při otevření firmy došlo k chybě, program bude ukončen.")));
}

TEST_F(AgendaListTest, DemoIsOfferedOnlyWhileItIsMissing) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    services::AgendaList first = makeList();
    first.fill();
    EXPECT_FALSE(first.demoAvailable());

    // Another start on Firma1 after DEMO.MDB was removed.
    core::programState().db->agenda.close();
    ASSERT_TRUE(QFile::remove(env.dataFolder() + QStringLiteral("DEMO.MDB")));
    core::resetProgramState();
    core::StartUp::initProgramFolders(env.programFolder());
    env.useDataFolder(QStringLiteral("LastDBName=Firma1\nRunPrgFirst=0\n"));
    ASSERT_TRUE(test.startUp().run());
    services::AgendaList list = makeList();
    list.fill();
    EXPECT_TRUE(list.demoAvailable());
    list.addDemo();
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Vytvářím DEMO firmu\nprosím čekejte...")));
    EXPECT_TRUE(QFileInfo::exists(env.dataFolder() + QStringLiteral("DEMO.MDB")));
    EXPECT_FALSE(list.demoAvailable());
    EXPECT_EQ(column(list, false),
              QStringList({QStringLiteral("DEMO - fiktivní firma"), QStringLiteral("Jedna")}));
    EXPECT_EQ(list.rows()[static_cast<size_t>(list.current())].soubor,
              QStringLiteral("FIRMA1.MDB"));
}

TEST_F(AgendaListTest, DeletionNeedsTheConfirmationPhraseAndSparesTheOpenAgenda) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    addAgenda(QStringLiteral("Firma2.MDB"), QStringLiteral("Zet"));
    const QString path = env.dataFolder() + QStringLiteral("Firma1.MDB");
    services::AgendaList list = makeList();
    list.fill();
    ASSERT_EQ(column(list, true).at(list.current()), QStringLiteral("DEMO.MDB"));
    list.removeCurrent();
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Aktivní firmu nelze mazat.")));
    EXPECT_EQ(list.rows().size(), 3u);

    list.setCurrent(1);
    ASSERT_EQ(list.rows()[1].soubor, QStringLiteral("FIRMA1.MDB"));
    ui.answer(false);
    list.removeCurrent();
    ui.answer(true);
    ui.typeText(QString());
    list.removeCurrent();
    ui.answer(true);
    ui.typeText(QStringLiteral("chci smazat firmu"));
    list.removeCurrent();
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Kontrolní řetězec nebyl správně zadán, "
                                                     "firma nebude smazána.")));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(
        ui.saw(Kind::Input, QStringLiteral("Pokud chcete opravdu smazat vybranou firmu, napište do "
                                           "políčka tento kontrolní řetězec:\n\nCHCI NENÁVRATNĚ "
                                           "SMAZAT FIRMU")));

    ui.answer(true);
    ui.typeText(QStringLiteral("chci nenávratně smazat firmu"));
    list.removeCurrent();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(column(list, true),
              QStringList({QStringLiteral("DEMO.MDB"), QStringLiteral("FIRMA2.MDB")}));
    EXPECT_EQ(list.current(), 1) << "the following row becomes current";
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());
}

TEST_F(AgendaListTest, AgendaOpenOnAnotherWorkstationIsNotDeleted) {
    start();
    addAgenda(QStringLiteral("Firma1.MDB"), QStringLiteral("Jedna"));
    const QString path = env.dataFolder() + QStringLiteral("Firma1.MDB");
    services::AgendaList list = makeList();
    list.fill();
    list.setCurrent(1);
    OtherWorkstation other({QStringLiteral("open-db"), path});
    ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
    ui.answer(true);
    ui.typeText(services::deletionPhrase());
    list.removeCurrent();
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Firmu se nepodařilo smazat, je pravděpodobně "
                                                   "používána jiným uživatelem.")));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(list.rows().size(), 2u);
}

TEST_F(AgendaListTest, CommandsFollowTheAgendaListLevel) {
    start();
    services::AgendaList list = makeList();
    list.fill();
    core::programState().user.seznamAgend = core::AccessLevel::NoDelete;
    list.removeCurrent();
    core::programState().user.seznamAgend = core::AccessLevel::ReadOnly;
    EXPECT_TRUE(services::AgendaList::mayOpen(ui));
    EXPECT_EQ(list.addNew(), AgendaListOutcome::Stay);
    list.addDemo();
    EXPECT_EQ(list.repairDatabases(), AgendaListOutcome::Stay);
    core::programState().user.seznamAgend = core::AccessLevel::Denied;
    EXPECT_FALSE(services::AgendaList::mayOpen(ui));
    EXPECT_EQ(ui.texts(Kind::Information).size(), 5);
    EXPECT_EQ(ui.texts(Kind::Question).size(), 0);
}

TEST_F(AgendaListTest, NewDataFolderIsWrittenAndEndsTheProgram) {
    start();
    services::AgendaList list = makeList();
    list.fill();
    const QString before = env.readIni();
    ui.answer(false);
    EXPECT_EQ(list.changeDataFolder(), AgendaListOutcome::Stay);
    ui.answer(true);
    test.navigator.scriptDataFolder(std::nullopt);
    EXPECT_EQ(list.changeDataFolder(), AgendaListOutcome::Stay) << "dialog cancelled";
    EXPECT_EQ(env.readIni(), before);

    const QString other = env.programFolder() + QStringLiteral("server/data");
    QDir().mkpath(other);
    test.navigator.scriptDataFolder(
        core::DataFolderChoice{false, QStringLiteral("  ") + other + QStringLiteral(" ")});
    ui.answer(true);
    EXPECT_EQ(list.changeDataFolder(), AgendaListOutcome::EndProgram);
    EXPECT_EQ(core::IniFile::load(env.iniPath())
                  .value(QStringLiteral("PATH"), QStringLiteral("DataPath")),
              other + QLatin1Char('/'));
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Datová složka bude přesměrována až po "
                                                         "opětovném spuštění.\n\nProgram se "
                                                         "proto nyní ukončí.")));
}

TEST_F(AgendaListTest, MaintenanceToolIsStartedWithTheDataFolderOrMissed) {
    start();
    services::AgendaList list = makeList();
    list.fill();
    ui.answer(true);
    EXPECT_EQ(list.repairDatabases(), AgendaListOutcome::Stay);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Program \"Správa databází\" není "
                                                     "nainstalován - proveďte reinstalaci "
                                                     "programu.")));
    EXPECT_TRUE(test.navigator.startedPrograms().isEmpty());

    QFile tool(env.programFolder() + QStringLiteral("Pelmack"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    ui.answer(true);
    test.navigator.maintenanceToolStarts(true);
    EXPECT_EQ(list.repairDatabases(), AgendaListOutcome::CloseProgram);
    EXPECT_EQ(test.navigator.startedPrograms(),
              QStringList{tool.fileName() + QLatin1Char(' ') + env.dataFolder()});
}

// At start-up the list stands in for the last agenda: each way out of it ends the start-up as
// the list said, with one message for one failure, and the closing steps where they belong.
TEST_F(AgendaListTest, ListAtStartUpEndsTheStartUpAsItsCommandSays) {
    env.useDataFolder(QStringLiteral("LastDBName=Zmizela\n"));
    addAgenda(QStringLiteral("Nova.MDB"), QStringLiteral("Z budoucnosti"));
    {
        core::Database db(QStringLiteral("newer"));
        ASSERT_TRUE(db.open(env.dataFolder() + QStringLiteral("Nova.MDB")));
        ASSERT_TRUE(core::writeSchemaVersion(db, 9));
    }
    test.navigator.onAgendaList(opening(QStringLiteral("NOVA.MDB")));
    EXPECT_FALSE(test.startUp().run());
    EXPECT_TRUE(ui.saw(Kind::Error,
                       QStringLiteral("Při otevření firmy došlo k chybě, program bude ukončen.")));
    EXPECT_FALSE(ui.saw(Kind::Information, core::noAgendaChosenMessage()))
        << "the failure was reported once already";

    ui.clear();
    test.navigator.onAgendaList([] { return AgendaListOutcome::Stay; });
    EXPECT_FALSE(test.startUp().run());
    EXPECT_TRUE(ui.saw(Kind::Information, core::noAgendaChosenMessage()));
    const auto setupFlag = [&] {
        return core::IniFile::load(env.iniPath())
            .value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgSetup"));
    };
    EXPECT_EQ(setupFlag(), QString()) << "no closing steps after a failed start";

    // "Opravit databáze": the maintenance tool starts and the program closes as "Konec" does.
    ui.clear();
    test.navigator.onAgendaList([] { return AgendaListOutcome::CloseProgram; });
    EXPECT_FALSE(test.startUp().run());
    EXPECT_TRUE(test.startUp().closedOnRequest());
    EXPECT_FALSE(ui.saw(Kind::Information, core::noAgendaChosenMessage()));
    EXPECT_EQ(setupFlag(), QStringLiteral("0"));
}

} // namespace
