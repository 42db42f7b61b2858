#include "core/AppVersion.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "services/UserDatabases.h"
#include "support/DamagedFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

#include <csignal>

using namespace orvento;

namespace {

bool copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// The real program, started on a fresh copy of its folder, ended by the desktop session's
// SIGTERM: it must run its closing steps like "Konec" does.
class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override {
        program = dir.filePath(QStringLiteral("program"));
        ASSERT_TRUE(copyFolder(QStringLiteral(ORVENTO_PROGRAM_DIR), program));
        QFile::remove(program + QStringLiteral("/Tovaro.ini"));
        data = dir.filePath(QStringLiteral("data/"));
        QDir().mkpath(data);
        QFile ini(program + QStringLiteral("/Tovaro.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(
            QStringLiteral("[PATH]\nDataPath=%1\n[CONFIG]\nBuilderMode=1\n").arg(data).toUtf8());
    }

    void start(const QString& drive = QString()) {
        QProcessEnvironment env = environment;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!drive.isEmpty()) {
            // The driver presses the program's buttons from inside it (tests/driver).
            env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ORVENTO_TEST_DRIVER));
            env.insert(QStringLiteral("ORVENTO_DRIVE"), drive);
            env.insert(QStringLiteral("ORVENTO_DRIVE_DONE"), drivenFile());
            env.insert(QStringLiteral("ASAN_OPTIONS"),
                       env.value(QStringLiteral("ASAN_OPTIONS")) +
                           QStringLiteral(":verify_asan_link_order=0"));
        }
        process.setProcessEnvironment(env);
        process.start(program + QStringLiteral("/orvento"), {});
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    static bool waitFor(const std::function<bool()>& condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < 30000)
            QThread::msleep(20);
        return condition();
    }

    QString drivenFile() const { return dir.filePath(QStringLiteral("driven")); }
    // Waits until the driver has done its last step; the texts of the messages it recorded.
    std::optional<QString> driven() {
        if (!waitFor([&] { return QFileInfo::exists(drivenFile()) || !running(); }) ||
            !QFileInfo::exists(drivenFile()))
            return std::nullopt;
        QFile file(drivenFile());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return QString::fromUtf8(file.readAll());
    }
    bool running() const { return process.state() == QProcess::Running; }

    // The desktop session's end: the program must be gone within a few seconds, whatever it
    // had open, and closed as "Konec" would close it.
    void terminateAndExpectQuickEnd() {
        ASSERT_TRUE(running());
        QElapsedTimer timer;
        timer.start();
        process.terminate();
        ASSERT_TRUE(process.waitForFinished(kEndWithinMs))
            << "still running " << kEndWithinMs << " ms after SIGTERM";
        EXPECT_LT(timer.elapsed(), kEndWithinMs);
        expectClosedCleanly();
    }

    QStringList lockFiles() const {
        return QDir(data + QStringLiteral("LOCK"))
            .entryList({QStringLiteral("*Adresar*")}, QDir::Files);
    }

    static constexpr int kEndWithinMs = 8000;

    void expectClosedCleanly() {
        ASSERT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        const core::IniFile ini = core::IniFile::load(program + QStringLiteral("/Tovaro.ini"));
        EXPECT_EQ(QDir(ini.value(QStringLiteral("PATH"), QStringLiteral("DataPath"))), QDir(data));
        EXPECT_EQ(ini.value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgSetup")),
                  QStringLiteral("0"));
        EXPECT_EQ(ini.value(QStringLiteral("CONFIG"), QStringLiteral("BuilderMode")),
                  QStringLiteral("1"));
    }

    QTemporaryDir dir;
    QString program;
    QString data;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(ProgramProcess, EndedWhileStillStartingClosesCleanlyToo) {
    start();
    // The print folder is among the first things the start-up makes.
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(data + QStringLiteral("PRINT")); }));
    process.terminate();
    expectClosedCleanly();
}

TEST_F(ProgramProcess, StartsOnTheDemoAgendaAndClosesCleanlyOnSigterm) {
    start();
    const QString demo = data + QStringLiteral("DEMO.MDB");
    ASSERT_TRUE(waitFor([&] {
        return QFile::exists(demo) && core::Database::openedElsewhere(demo);
    })) << "the program did not open the demo agenda";
    process.terminate();
    expectClosedCleanly();
    const core::IniFile ini = core::IniFile::load(program + QStringLiteral("/Tovaro.ini"));
    EXPECT_EQ(ini.value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst")),
              QStringLiteral("0"));
    EXPECT_FALSE(core::Database::openedElsewhere(demo));
}

// The login prompt runs its own event loop; the session's SIGTERM must still end the program,
// and with its closing steps.
TEST_F(ProgramProcess, EndedAtTheLoginPromptClosesCleanly) {
    ASSERT_TRUE(QFile::copy(program + QStringLiteral("/Res/0002.res"),
                            data + QStringLiteral("Global.MDB")));
    QFile::setPermissions(data + QStringLiteral("Global.MDB"),
                          QFile::ReadOwner | QFile::WriteOwner);
    {
        core::Database global(QStringLiteral("register-user"));
        ASSERT_TRUE(global.open(data + QStringLiteral("Global.MDB")));
        core::CurrentUser user;
        user.uzivId = 1;
        user.jmeno = QStringLiteral("Nováková");
        user.password = QStringLiteral("tajne");
        testsupport::insertUser(global, user);
    }
    start();
    const QString global = data + QStringLiteral("Global.MDB");
    ASSERT_TRUE(waitFor([&] { return core::Database::openedElsewhere(global); }));
    // The prompt comes right after the global database is checked; the demo agenda only after
    // a login, so it must still be missing.
    QThread::msleep(1500);
    ASSERT_FALSE(QFileInfo::exists(data + QStringLiteral("DEMO.MDB")));
    ASSERT_EQ(process.state(), QProcess::Running);
    process.terminate();
    expectClosedCleanly();
    EXPECT_FALSE(core::Database::openedElsewhere(global));
}

// While a message is up (here the one about a damaged agenda) the session's end answers it as
// "Storno" would and the program closes.
TEST_F(ProgramProcess, EndedWhileAMessageIsUpClosesCleanly) {
    ASSERT_TRUE(
        QFile::copy(program + QStringLiteral("/Res/0003.res"), data + QStringLiteral("DEMO.MDB")));
    QFile::setPermissions(data + QStringLiteral("DEMO.MDB"), QFile::ReadOwner | QFile::WriteOwner);
    testsupport::damageFile(data + QStringLiteral("DEMO.MDB"), testsupport::Damage::Truncated);
    start(QStringLiteral("wait:QMessageBox"));
    ASSERT_TRUE(driven()) << "no message came up";
    terminateAndExpectQuickEnd();
}

// A firm card holds its record lock; the session's end drops the card unsaved and lets go of it.
TEST_F(ProgramProcess, EndedWhileACardIsOpenReleasesItsLock) {
    start(QStringLiteral("wait:frmMain;press:actAdresar;wait:frmAdresar;press:btnOpravit;"
                         "wait:frmAdrKart"));
    ASSERT_TRUE(driven()) << "the firm card did not open";
    ASSERT_EQ(lockFiles().size(), 1);
    terminateAndExpectQuickEnd();
    EXPECT_TRUE(lockFiles().isEmpty()) << lockFiles().join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(core::Database::openedElsewhere(data + QStringLiteral("DEMO.MDB")));
}

// The program waits for the report runner; the session's end stops the wait and leaves the
// runner running on its own.
TEST_F(ProgramProcess, EndedWhileTheRunnerRunsLeavesTheRunnerAlone) {
    const QString pidFile = dir.filePath(QStringLiteral("runner.pid"));
    QFile runner(program + QStringLiteral("/Dastrel"));
    QFile::remove(runner.fileName());
    ASSERT_TRUE(runner.open(QIODevice::WriteOnly));
    runner.write(
        QStringLiteral("#!/bin/sh\necho $$ > '%1.part' && mv '%1.part' '%1'\nexec sleep 60\n")
            .arg(pidFile)
            .toUtf8());
    runner.close();
    runner.setPermissions(runner.permissions() | QFileDevice::ExeOwner);
    start(QStringLiteral("wait:frmMain;press:actAdresar;wait:frmAdresar;press:btnTisk;"
                         "wait:frmTisk;press:btnNahled"));
    ASSERT_TRUE(driven());
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(pidFile); })) << "the runner did not start";
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const pid_t runnerPid = static_cast<pid_t>(pid.readAll().trimmed().toLongLong());
    ASSERT_GT(runnerPid, 0);
    terminateAndExpectQuickEnd();
    EXPECT_EQ(::kill(runnerPid, 0), 0) << "the runner was ended with the program";
    ::kill(runnerPid, SIGKILL);
}

QStringList filesIn(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// As the package installs it: the marker beside the program, a user with a fresh home whose
// settings point at the data folder. The program runs on them and leaves its folder as it was.
TEST_F(ProgramProcess, InstalledProgramKeepsItsSettingsInTheUsersFolders) {
    QFile::remove(program + QStringLiteral("/Tovaro.ini"));
    QFile marker(program + QStringLiteral("/orvento.packaged"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString config = home + QStringLiteral("/config");
    QDir().mkpath(config + QStringLiteral("/orvento"));
    const QString ini = config + QStringLiteral("/orvento/Tovaro.ini");
    QFile settings(ini);
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(
        QStringLiteral("[PATH]\nDataPath=%1\n[CONFIG]\nBuilderMode=1\n").arg(data).toUtf8());
    settings.close();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/share"));
    const QStringList before = filesIn(program);

    start();
    const QString demo = data + QStringLiteral("DEMO.MDB");
    ASSERT_TRUE(waitFor([&] {
        return QFile::exists(demo) && core::Database::openedElsewhere(demo);
    })) << "the program did not open the demo agenda";
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(kEndWithinMs));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(
        core::IniFile::load(ini).value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst")),
        QStringLiteral("0"));
    EXPECT_EQ(filesIn(program), before);
}

// `--version` and `--help` answer on a terminal without any display; an unknown option gets
// the help on standard error and exit 1; a window start says in Czech why it cannot open.
TEST_F(ProgramProcess, VersionAndHelpAnswerWithoutADisplay) {
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(QStringLiteral("DISPLAY"));
    bare.remove(QStringLiteral("WAYLAND_DISPLAY"));
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const auto run = [&](const QStringList& arguments) {
        QProcess answer;
        answer.setProcessEnvironment(bare);
        answer.start(program + QStringLiteral("/orvento"), arguments);
        EXPECT_TRUE(answer.waitForFinished(10000));
        return std::pair{answer.exitCode(), QString::fromLocal8Bit(answer.readAllStandardOutput() +
                                                                   answer.readAllStandardError())};
    };
    const auto [versionCode, version] = run({QStringLiteral("--version")});
    EXPECT_EQ(versionCode, 0);
    EXPECT_EQ(version, QStringLiteral("Orvento %1\n").arg(core::kVersion));
    const auto [helpCode, help] = run({QStringLiteral("--help")});
    EXPECT_EQ(helpCode, 0);
    for (const char* option : {"--import", "--import-id", "--backup", "--shared", "--folder",
                               "--data", "--agenda", "--file", "--version", "--help"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    const auto [unknownCode, unknown] = run({QStringLiteral("--nic")});
    EXPECT_EQ(unknownCode, 1);
    EXPECT_EQ(unknown, help);
    const auto [windowCode, window] = run({});
    EXPECT_EQ(windowCode, 1);
    EXPECT_TRUE(window.startsWith(QStringLiteral("Orvento potřebuje grafické prostředí")))
        << window.toStdString();
}

// A damaged agenda (cut short, or random bytes) is explained in Czech and the agenda list
// follows; a damaged global database leads to the data folder dialog. Neither ends the program.
class DamagedAtStart : public ProgramProcess,
                       public ::testing::WithParamInterface<testsupport::Damage> {};

TEST_P(DamagedAtStart, AgendaExplainedThenTheAgendaList) {
    ASSERT_TRUE(
        QFile::copy(program + QStringLiteral("/Res/0003.res"), data + QStringLiteral("DEMO.MDB")));
    QFile::setPermissions(data + QStringLiteral("DEMO.MDB"), QFile::ReadOwner | QFile::WriteOwner);
    testsupport::damageFile(data + QStringLiteral("DEMO.MDB"), GetParam());
    start(QStringLiteral("wait:QMessageBox;record;reject;wait:frmSeznamFirem"));
    const auto said = driven();
    ASSERT_TRUE(said) << "no agenda list after the message";
    EXPECT_TRUE(said->startsWith(QStringLiteral("Databázi firmy DEMO (soubor ")))
        << said->toStdString();
    EXPECT_TRUE(said->contains(QStringLiteral("soubor je poškozený"))) << said->toStdString();
    terminateAndExpectQuickEnd();
}

TEST_P(DamagedAtStart, GlobalDatabaseExplainedThenTheDataFolderDialog) {
    ASSERT_TRUE(QFile::copy(program + QStringLiteral("/Res/0002.res"),
                            data + QStringLiteral("Global.MDB")));
    QFile::setPermissions(data + QStringLiteral("Global.MDB"),
                          QFile::ReadOwner | QFile::WriteOwner);
    testsupport::damageFile(data + QStringLiteral("Global.MDB"), GetParam());
    start(QStringLiteral("wait:QMessageBox;record;reject;wait:frmVyberLocNet"));
    const auto said = driven();
    ASSERT_TRUE(said) << "no data folder dialog after the message";
    EXPECT_TRUE(said->contains(QStringLiteral("Hlavní databázi programu (soubor ")))
        << said->toStdString();
    EXPECT_TRUE(said->contains(QStringLiteral("soubor je poškozený"))) << said->toStdString();
    terminateAndExpectQuickEnd();
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedAtStart,
                         ::testing::Values(testsupport::Damage::Truncated,
                                           testsupport::Damage::RandomBytes));

} // namespace
