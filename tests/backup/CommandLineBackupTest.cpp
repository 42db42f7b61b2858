#include "backup/BackupArchive.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "support/TestEnvironment.h"

#include "services/UserDatabases.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace orvento;

namespace {

constexpr int kTimeoutMs = 60000;
// Small enough that the archive of the demo agenda cannot be written whole.
constexpr rlim_t kFullDiskBytes = 16 * 1024;

// The built program started as `orvento --backup ...` on a data folder of its own, with no
// display at all.
class CommandLineBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = dir.filePath(QStringLiteral("data/"));
        archives = dir.filePath(QStringLiteral("zalohy/"));
        ASSERT_TRUE(QDir().mkpath(data));
        ASSERT_TRUE(QDir().mkpath(archives));
        const QString res = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/");
        ASSERT_TRUE(QFile::copy(res + QStringLiteral("0002.res"), global()));
        ASSERT_TRUE(
            QFile::copy(res + QStringLiteral("0003.res"), data + QStringLiteral("DEMO.MDB")));
        for (const QString& file : {global(), data + QStringLiteral("DEMO.MDB")})
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        addUser(true);
    }

    void addUser(bool mayBackUp) {
        core::Database db(QStringLiteral("command-line-backup-user"));
        ASSERT_TRUE(db.open(global()));
        ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Login")));
        core::CurrentUser user;
        user.uzivId = 1;
        user.jmeno = QStringLiteral("Nováková");
        user.password = QStringLiteral("tajne");
        user.vytvoreniZalohy = mayBackUp;
        testsupport::insertUser(db, user);
    }
    int counter() {
        core::Database db(QStringLiteral("command-line-backup-counter"));
        EXPECT_TRUE(db.open(global()));
        return db.scalar(QStringLiteral("SELECT IDZalohy FROM KonfigTab ORDER BY ID"))->toInt();
    }

    QString global() const { return data + QStringLiteral("Global.MDB"); }

    int run(QStringList arguments, rlim_t fileSizeLimit = RLIM_INFINITY) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(display));
        env.insert(QStringLiteral("ORVENTO_PASSWORD"), QStringLiteral("tajne"));
        QProcess process;
        process.setProcessEnvironment(env);
        if (fileSizeLimit != RLIM_INFINITY) {
            process.setChildProcessModifier([fileSizeLimit] {
                // A full disk: writes beyond the limit fail instead of ending the process.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        arguments.prepend(QStringLiteral("--backup"));
        arguments << QStringLiteral("--data") << data << QStringLiteral("--folder") << archives;
        process.start(QStringLiteral(ORVENTO_PROGRAM_DIR "/orvento"), arguments);
        EXPECT_TRUE(process.waitForFinished(kTimeoutMs));
        out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir dir;
    QString data;
    QString archives;
    QString out;
    QString err;
};

TEST_F(CommandLineBackupTest, ABackupPrintsItsArchiveAndStoresTheCounter) {
    const int before = counter();
    ASSERT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("DEMO"), QStringLiteral("--shared")}),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral("_DEMO_1.zbf"))) << out.toStdString();
    backup::ArchiveReader reader;
    QString error;
    ASSERT_TRUE(reader.open(out, error)) << error.toStdString();
    EXPECT_TRUE(reader.contains(QStringLiteral("Global.MDB")));
    EXPECT_EQ(counter(), before + 1);
    ASSERT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("DEMO")}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral("_DEMO_2.zbf"))) << out.toStdString();
}

TEST_F(CommandLineBackupTest, WhatKeepsTheBackupFromStartingEndsWithThree) {
    EXPECT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("NENI")}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("Firma \"NENI\""))) << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--nesmysl")}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("Neznámá volba --nesmysl.")));
    {
        testsupport::OtherWorkstation other({QStringLiteral("open-db"), global()});
        ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
        EXPECT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("DEMO")}), 3);
        EXPECT_TRUE(err.contains(QStringLiteral("Zálohování nyní nelze spustit")))
            << err.toStdString();
    }
    addUser(false);
    EXPECT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("DEMO")}), 3);
    EXPECT_TRUE(QDir(archives).entryList(QDir::Files).isEmpty());
}

TEST_F(CommandLineBackupTest, AFullDiskFailsWithOneAndLeavesNoHalfArchive) {
    EXPECT_EQ(run({QStringLiteral("--agenda"), QStringLiteral("DEMO")}, kFullDiskBytes), 1)
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("došlo k chybě"))) << err.toStdString();
    EXPECT_TRUE(QDir(archives).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << QDir(archives).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
}

} // namespace
