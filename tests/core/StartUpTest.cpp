#include "core/StartUp.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "services/StandardStartupHooks.h"
#include "services/Workstations.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::OtherWorkstation;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

// One start of the program against the test folders, with the data folder dialog answered from
// a script.
class StartUpTest : public ::testing::Test {
protected:
    bool start() { return test.startUp().run(); }
    void choose(std::optional<core::DataFolderChoice> choice) {
        test.navigator.scriptDataFolder(std::move(choice));
    }
    int dialogShown() const { return test.navigator.count(QStringLiteral("chooseDataFolder")); }

    void closeProgram() {
        test.startUp().close();
        core::programState().db->agenda.close();
        core::programState().db->global.close();
    }

    core::IniFile ini() const { return core::IniFile::load(env.iniPath()); }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(StartUpTest, FreshProgramFolderWithLocalChoiceBuildsEverythingAndWritesFlagsOnClose) {
    choose(core::DataFolderChoice{true, {}});
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();

    const QString data = env.programFolder() + QStringLiteral("DATA/");
    EXPECT_EQ(test.navigator.lastProposedFolder(), data);
    EXPECT_EQ(core::programState().folders.data, data);
    for (const char* file : {"Global.MDB", "DEMO.MDB", "PRINT/Nabidka.frx", "Uvod.rpo"})
        EXPECT_TRUE(QFileInfo::exists(data + QString::fromLatin1(file))) << file;
    EXPECT_TRUE(QFileInfo(data + QStringLiteral("LOCK")).isDir());
    EXPECT_TRUE(QFileInfo(env.programFolder() + QStringLiteral("ZALOHY")).isDir());
    EXPECT_EQ(core::programState().agendaName, QStringLiteral("DEMO - fiktivní firma"));
    EXPECT_TRUE(
        ui.waitTexts().contains(QStringLiteral("Probíhá dokončení instalace\nprosím čekejte...")));
    EXPECT_FALSE(ui.waitShown());
    EXPECT_TRUE(ui.messages().empty());
    // The chosen folder is not remembered before the program closes.
    EXPECT_FALSE(QFileInfo::exists(env.iniPath()));

    closeProgram();
    const core::IniFile written = ini();
    EXPECT_EQ(written.value(QStringLiteral("PATH"), QStringLiteral("DataPath")), data);
    EXPECT_EQ(written.value(QStringLiteral("CONFIG"), QStringLiteral("LastDBName")),
              QStringLiteral("DEMO"));
    EXPECT_EQ(written.value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst")),
              QStringLiteral("0"));
    EXPECT_EQ(written.value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgSetup")),
              QStringLiteral("0"));
}

TEST_F(StartUpTest, CancelledDataFolderDialogEndsTheProgram) {
    choose(std::nullopt);
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nebyla určena datová složka, program bude ukončen")));
    EXPECT_FALSE(QFileInfo::exists(env.iniPath()));
}

TEST_F(StartUpTest, DataPathIsTrimmedAndGetsItsTrailingSeparator) {
    QDir().mkpath(env.dataFolder());
    QString path = env.dataFolder();
    path.chop(1);
    env.writeIni(QStringLiteral("[PATH]\nDataPath=   %1   \n").arg(path));
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogShown(), 0);
    EXPECT_EQ(core::programState().folders.data, env.dataFolder());
    EXPECT_EQ(core::programState().folders.lock, env.dataFolder() + QStringLiteral("LOCK/"));
}

TEST_F(StartUpTest, VanishedDataFolderAsksAndYesEndsWithoutTouchingTheIni) {
    env.writeIni(QStringLiteral("[PATH]\nDataPath=%1gone\n").arg(env.dataFolder()));
    const QString before = env.readIni();
    ui.answer(true);
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("již neexistuje!")));
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("Chcete nyní ukončit program ?")));
    EXPECT_EQ(dialogShown(), 0);
    EXPECT_EQ(env.readIni(), before);
}

TEST_F(StartUpTest, VanishedDataFolderAnsweredNoShowsTheDialogAndGoesOn) {
    env.writeIni(QStringLiteral("[PATH]\nDataPath=%1gone\n").arg(env.dataFolder()));
    QDir().mkpath(env.dataFolder());
    ui.answer(false);
    choose(core::DataFolderChoice{false, env.dataFolder()});
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogShown(), 1);
    EXPECT_EQ(core::programState().folders.data, env.dataFolder());
}

TEST_F(StartUpTest, DataPathThatIsAFileCountsAsVanished) {
    QDir().mkpath(env.dataFolder());
    QFile file(env.dataFolder() + QStringLiteral("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    env.writeIni(QStringLiteral("[PATH]\nDataPath=%1file\n").arg(env.dataFolder()));
    ui.answer(true);
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("již neexistuje!")));
}

TEST_F(StartUpTest, GarbageIniFallsBackToDefaults) {
    env.writeIni(QStringLiteral("\x01\x02 garbage ]]][[\n=novalue\n[CONFIG\nRunPrgFirst=abc\n"));
    choose(core::DataFolderChoice{true, {}});
    ASSERT_TRUE(start());
    EXPECT_EQ(core::programState().agenda, QStringLiteral("DEMO"));
}

TEST_F(StartUpTest, FolderThatCannotBeCreatedIsReported) {
    env.useDataFolder();
    // A file where the print folder should be: the folder cannot be created, whoever runs this.
    QFile blocker(env.dataFolder() + QStringLiteral("PRINT"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(start());
    EXPECT_TRUE(
        ui.saw(Kind::Error,
               QStringLiteral("Chyba : nelze vytvořit adresář %1PRINT/").arg(env.dataFolder())));
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + QStringLiteral("Global.MDB")));
}

TEST_F(StartUpTest, MissingTemplateAsksForReinstallation) {
    env.useDataFolder();
    QFile::remove(env.programFolder() + QStringLiteral("Res/0002.res"));
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Nebyl nalezen zdrojový soubor")));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Proveďte reinstalaci programu!")));
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + QStringLiteral("Global.MDB")));
}

TEST_F(StartUpTest, GlobalDatabaseThatIsNoDatabaseIsReported) {
    env.useDataFolder();
    QFile bad(env.dataFolder() + QStringLiteral("Global.MDB"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(4096, 'x'));
    bad.close();
    choose(std::nullopt); // another data folder is offered; "Storno" ends the program
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.sawContaining(
        Kind::Error,
        QStringLiteral("Při pokusu o připojení hlavní databáze došlo k následující chybě:")));
}

TEST_F(StartUpTest, AgendaFileAsGlobalDatabaseIsRefused) {
    env.useDataFolder();
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Global.MDB")));
    choose(std::nullopt); // another data folder is offered; "Storno" ends the program
    EXPECT_FALSE(start());
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("hlavní databáze")));
}

TEST_F(StartUpTest, HeldProgramLockRefusesTheStartAndStaleOneIsCleared) {
    env.useDataFolder();
    QDir().mkpath(env.dataFolder() + QStringLiteral("LOCK"));
    const QString lock = env.dataFolder() + QStringLiteral("LOCK/~program.lck");
    {
        OtherWorkstation backup({QStringLiteral("hold"), lock});
        ASSERT_EQ(backup.firstLine(), QStringLiteral("ready"));
        EXPECT_FALSE(start());
        EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("jedinečný přístup")));
        backup.kill(); // the backing-up workstation crashed and left its file behind
    }
    ASSERT_TRUE(QFileInfo::exists(lock));
    ui.clear();
    core::resetProgramState();
    core::StartUp::initProgramFolders(env.programFolder());
    ASSERT_TRUE(start());
    EXPECT_FALSE(QFileInfo::exists(lock));
}

TEST_F(StartUpTest, DeletedDemoIsNotCopiedAgainAndMissingAgendaEndsWithoutAgendaList) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=DEMO\n"));
    test.navigator.onAgendaList([] { return core::AgendaListOutcome::Stay; });
    EXPECT_FALSE(start());
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + QStringLiteral("DEMO.MDB")));
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nebyla vybrána žádná firma, program bude ukončen.")));
}

TEST_F(StartUpTest, EmptyLastAgendaIsNoAgendaWhileAMissingKeyMeansTheDemo) {
    env.useDataFolder(QStringLiteral("LastDBName=\n"));
    test.navigator.onAgendaList([] { return core::AgendaListOutcome::Stay; });
    EXPECT_FALSE(start());
    EXPECT_TRUE(QFileInfo::exists(env.dataFolder() + QStringLiteral("DEMO.MDB")));
    EXPECT_TRUE(ui.saw(Kind::Information, core::noAgendaChosenMessage()));
    closeProgram();
    core::resetProgramState();
    core::StartUp::initProgramFolders(env.programFolder());
    ui.clear();
    env.useDataFolder();
    ASSERT_TRUE(start());
    EXPECT_EQ(core::programState().agenda, QStringLiteral("DEMO"));
}

// A data folder copied from elsewhere may spell its folders differently: the existing ones are
// used, nothing is created beside them under a second spelling, and the pictures and the shared
// documents of the agenda share one Dokumenty/<agenda>/.
TEST_F(StartUpTest, DataSubfoldersAreFoundWhateverTheirCaseAndCreatedUnderOneSpelling) {
    env.useDataFolder();
    const QString data = env.dataFolder();
    for (const char* folder : {"Lock", "print", "DOKUMENTY/demo/obrazky"})
        ASSERT_TRUE(QDir().mkpath(data + QLatin1String(folder)));
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
    const core::ProgramState& s = core::programState();
    EXPECT_EQ(s.folders.lock, data + QStringLiteral("Lock/"));
    EXPECT_EQ(s.folders.print, data + QStringLiteral("print/"));
    const QStringList entries = QDir(data).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const char* twin : {"LOCK", "PRINT", "Dokumenty"})
        EXPECT_FALSE(entries.contains(QLatin1String(twin))) << twin;
    EXPECT_EQ(s.settings.slozkaObrazku, data + QStringLiteral("DOKUMENTY/demo/obrazky/"));
    EXPECT_EQ(s.firmDocumentsFolder(7), data + QStringLiteral("DOKUMENTY/demo/7/"));
    EXPECT_EQ(s.offerDocumentsFolder(8), data + QStringLiteral("DOKUMENTY/demo/Nabidky/8/"));
    closeProgram();

    TestEnvironment fresh; // a fresh program, on a fresh data folder
    fresh.useDataFolder();
    ASSERT_TRUE(start());
    EXPECT_TRUE(QFileInfo(fresh.dataFolder() + QStringLiteral("LOCK")).isDir());
    EXPECT_EQ(core::programState().settings.slozkaObrazku,
              fresh.dataFolder() + QStringLiteral("Dokumenty/DEMO/OBRAZKY/"));
    EXPECT_EQ(core::programState().firmDocumentsFolder(1),
              fresh.dataFolder() + QStringLiteral("Dokumenty/DEMO/1/"));
}

// The demo items' pictures ship with the program and land in the demo agenda's picture store
// when the demo agenda is made.
TEST_F(StartUpTest, TheDemoAgendaFindsThePicturesOfItsItems) {
    const QString shipped = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/DEMO/");
    QDirIterator files(shipped, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString copy = env.programFolder() + QStringLiteral("Res/DEMO/") +
                             QDir(shipped).relativeFilePath(files.next());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).path()));
        ASSERT_TRUE(QFile::copy(files.filePath(), copy));
    }
    env.useDataFolder();
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
    QSqlQuery names = core::programState().db->agenda.select(
        QStringLiteral("SELECT Obrazek FROM Zasoby WHERE Obrazek <> :None"),
        {{QStringLiteral("None"), QString()}});
    int pictures = 0;
    for (; names.next(); ++pictures) {
        const QString name = names.value(0).toString();
        EXPECT_TRUE(QFileInfo(core::programState().settings.slozkaObrazku + name).isFile())
            << name.toStdString();
    }
    EXPECT_GE(pictures, 3);
}

TEST_F(StartUpTest, AgendaNamesAreFoundWhateverTheirCase) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=Firma1\n"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("FIRMA1.mdb")));
    ASSERT_TRUE(start()) << ui.allTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(core::programState().agenda, QStringLiteral("FIRMA1"));
}

TEST_F(StartUpTest, EmptyCatalogueGetsFirstSheetWithItsBasicGroup) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=Prazdna\n"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Prazdna.MDB")));
    ASSERT_TRUE(start());
    core::Database& db = core::programState().db->agenda;
    QSqlQuery sheets = db.select(QStringLiteral("SELECT ID, Nazev, Poradi FROM Sklady"));
    ASSERT_TRUE(sheets.next());
    EXPECT_EQ(sheets.value(1).toString(), QStringLiteral("List 1"));
    EXPECT_EQ(sheets.value(2).toInt(), 1);
    const qint64 sheetId = sheets.value(0).toLongLong();
    EXPECT_FALSE(sheets.next());
    QSqlQuery groups = db.select(QStringLiteral("SELECT Sklad, Nazev, Zakladni FROM Skupiny"));
    ASSERT_TRUE(groups.next());
    EXPECT_EQ(groups.value(0).toLongLong(), sheetId);
    EXPECT_EQ(groups.value(1).toString(), QStringLiteral("# Nezařazeno #"));
    EXPECT_TRUE(groups.value(2).toBool());
    EXPECT_FALSE(groups.next());
}

TEST_F(StartUpTest, FirstOpenerClearsStampsAndSecondKeepsThem) {
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=DEMO\n"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    const QString lockDir = env.dataFolder() + QStringLiteral("LOCK/");
    QDir().mkpath(lockDir);
    const QString stampFile = lockDir + QStringLiteral("02DEMO.tsf");
    auto writeStamp = [&] {
        QFile f(stampFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8, '\0'));
    };

    writeStamp();
    {
        OtherWorkstation other(
            {QStringLiteral("open-db"), env.dataFolder() + QStringLiteral("DEMO.MDB")});
        ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
        ASSERT_TRUE(start());
        EXPECT_TRUE(QFileInfo::exists(stampFile)) << "a second opener must keep the stamps";
        EXPECT_TRUE(services::agendaOpenElsewhere());
    }
    closeProgram();
    core::resetProgramState();
    core::StartUp::initProgramFolders(env.programFolder());
    ASSERT_TRUE(start());
    EXPECT_FALSE(QFileInfo::exists(stampFile)) << "the first opener clears the stamps";
    EXPECT_FALSE(services::agendaOpenElsewhere());
}

TEST_F(StartUpTest, ClosingStoresTheBackupCounterAndKeepsBuilderMode) {
    env.useDataFolder(QStringLiteral("BuilderMode=1\n"));
    ASSERT_TRUE(start());
    EXPECT_TRUE(core::programState().builderMode);
    core::programState().backupCounter = 17;
    closeProgram();
    core::Database global(QStringLiteral("check"));
    ASSERT_TRUE(global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
    EXPECT_EQ(global.scalar(QStringLiteral("SELECT IDZalohy FROM KonfigTab"))->toInt(), 17);
    EXPECT_EQ(ini().value(QStringLiteral("CONFIG"), QStringLiteral("BuilderMode")),
              QStringLiteral("1"));
}

} // namespace

namespace {

// Records which agenda was open whenever the profile was saved.
class RecordingHooks : public services::StandardStartupHooks {
public:
    void saveProfile(core::AppContext& context) override {
        savedInto << core::programState().agenda;
        StandardStartupHooks::saveProfile(context);
    }
    QStringList savedInto;
};

TEST(AgendaSwitch, ProfileIsSavedIntoTheAgendaBeingLeft) {
    TestEnvironment env;
    env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=DEMO\n"));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Firma1.MDB")));
    ScriptedInteraction ui;
    RecordingHooks hooks;
    testsupport::TestContext test(ui, &hooks);
    core::StartUp& startUp = test.startUp();
    ASSERT_TRUE(startUp.run());
    EXPECT_TRUE(hooks.savedInto.isEmpty()) << "nothing to save before the first agenda";
    ASSERT_TRUE(startUp.openAgenda(QStringLiteral("Firma1")));
    EXPECT_EQ(hooks.savedInto, QStringList{QStringLiteral("DEMO")});
    EXPECT_EQ(core::programState().agenda, QStringLiteral("Firma1"));
}

} // namespace

// An installed program's folder belongs to the system even where root may write to it: with the
// package's marker beside the program, settings, backups and the proposed local data go to the
// user's own folders, and nothing is written beside the program.
TEST_F(StartUpTest, PackagedProgramFolderIsLeftAloneAndTheUserFoldersProposed) {
    QStandardPaths::setTestModeEnabled(true);
    QFile marker(env.programFolder() + QStringLiteral("orvento.packaged"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    core::StartUp::initProgramFolders(env.programFolder());
    const core::ProgramFolders& folders = core::programState().folders;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    EXPECT_EQ(folders.iniFile, config + QStringLiteral("/orvento/Tovaro.ini"));
    EXPECT_EQ(folders.backup, data + QStringLiteral("/orvento/ZALOHY/"));

    choose(std::nullopt);
    EXPECT_FALSE(start());
    EXPECT_EQ(dialogShown(), 1);
    EXPECT_EQ(test.navigator.lastProposedFolder(), data + QStringLiteral("/orvento/DATA/"));
    EXPECT_FALSE(QFileInfo::exists(env.programFolder() + QStringLiteral("Tovaro.ini")));
    EXPECT_FALSE(QFileInfo::exists(env.programFolder() + QStringLiteral("ZALOHY")));
    QStandardPaths::setTestModeEnabled(false);
}
