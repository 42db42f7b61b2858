#include "core/Database.h"
#include "core/IniFile.h"
#include "services/UserDatabases.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

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

    void start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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

    void expectClosedCleanly() {
        ASSERT_TRUE(process.waitForFinished(30000));
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

} // namespace
