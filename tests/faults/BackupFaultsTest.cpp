// A backup and a restore with each of their statements failing in turn. A failed backup leaves
// no archive and the data folder as it was; a failed restore leaves every live file as it was
// or, when the failure came after the files were put in place, the restored ones whole. Each
// failure is told in Czech, and the same backup or restore then goes through.
#include "FaultSweep.h"

#include "backup/BackupFixture.h"

using namespace orvento;
using namespace orvento::testsupport;

namespace {

class BackupFaultsTest : public BackupFixture {
protected:
    void SetUp() override {
        BackupFixture::SetUp();
        // Without its post codes the global database packs in a moment: the sweeps pack it over
        // a hundred times.
        core::Database global(QStringLiteral("faults-global"));
        ASSERT_TRUE(global.open(globalFile()));
        ASSERT_TRUE(global.execute(QStringLiteral("DELETE FROM Mista")));
        ASSERT_TRUE(global.executeDdl(QStringLiteral("VACUUM")));
    }
    // Every file of the data folder by its hash; the engine's `.ldb` markers are left out, as
    // they are made and kept by whoever opens a database.
    QMap<QString, QByteArray> dataFiles() const {
        QMap<QString, QByteArray> files = filesUnder(env.dataFolder());
        for (auto it = files.begin(); it != files.end();)
            it = it.key().endsWith(QStringLiteral(".ldb"), Qt::CaseInsensitive) ? files.erase(it)
                                                                                : std::next(it);
        return files;
    }
    void writeTemplate(const QString& name, const QByteArray& bytes) {
        QFile file(core::programState().folders.print + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The data folder's files, copied aside once and put back before each run.
    void keepDataFolder() {
        kept = env.dataFolder() + QStringLiteral("../data-pred/");
        copyFolder(env.dataFolder(), kept);
    }
    void putBackDataFolder() const {
        QDir(env.dataFolder()).removeRecursively();
        copyFolder(kept, env.dataFolder());
    }
    static void copyFolder(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QFileInfo& entry :
             QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = to + entry.fileName();
            if (entry.isDir())
                copyFolder(entry.absoluteFilePath() + QLatin1Char('/'), target + QLatin1Char('/'));
            else
                ASSERT_TRUE(QFile::copy(entry.absoluteFilePath(), target));
        }
    }
    QStringList archiveFiles() const { return QDir(archives).entryList(QDir::Files); }

    QString kept;
};

TEST_F(BackupFaultsTest, AFailedBackupLeavesNoArchiveAndTheDataAsTheyWere) {
    addSheets(agendaFile(), 2);
    writeTemplate(QStringLiteral("Nabidka.FRX"), "nabidka");
    const QMap<QString, QByteArray> before = dataFiles();
    const int counter = core::programState().backupCounter;
    auto prepare = [&] {
        for (const QString& name : archiveFiles())
            QFile::remove(archives + name);
        core::programState().backupCounter = counter;
        ui.clear();
    };
    auto backUp = [&] {
        return makeBackup(true) == backup::BackupResult::Made;
    };
    auto check = [&](const FaultedRun& faulted) {
        EXPECT_EQ(dataFiles(), before);
        if (!faulted.reportedSuccess) {
            EXPECT_TRUE(archiveFiles().isEmpty()) << archiveFiles().join(u' ').toStdString();
            EXPECT_TRUE(toldFailure(ui)) << ui.allTexts().join(u'\n').toStdString();
        }
        prepare();
        ASSERT_TRUE(backUp()) << ui.allTexts().join(u'\n').toStdString();
        EXPECT_EQ(archiveFiles().size(), 1);
    };
    // A backup only reads and copies: no rule of the data can break in it.
    const int statements =
        sweepStatements(prepare, backUp, [] {}, check,
                        {core::InjectedFailure::DiskFull, core::InjectedFailure::Busy});
    EXPECT_GE(statements, 2);
}

TEST_F(BackupFaultsTest, AFailedRestoreLeavesTheLiveFilesOrPutsAllOfThemInPlace) {
    addSheets(agendaFile(), 2);
    writeTemplate(QStringLiteral("Nabidka.FRX"), "stara nabidka");
    ASSERT_EQ(makeBackup(true), backup::BackupResult::Made);
    const QString made = archive;
    // Everything changes after the backup.
    addSheets(agendaFile(), 3);
    execute(globalFile(), QStringLiteral("INSERT INTO Mista (PSC, Misto) VALUES ('99902', 'X')"));
    writeTemplate(QStringLiteral("Nabidka.FRX"), "nova nabidka");
    keepDataFolder();
    const QMap<QString, QByteArray> before = dataFiles();
    QMap<QString, QByteArray> after;
    auto prepare = [&] {
        closeAll();
        putBackDataFolder();
        ui.clear();
    };
    auto restoreAll = [&] {
        return restore(made, {true, true, true});
    };
    auto check = [&](const FaultedRun& faulted) {
        const QMap<QString, QByteArray> now = dataFiles();
        if (faulted.reportedSuccess) {
            EXPECT_EQ(now, after);
        } else {
            EXPECT_TRUE(toldFailure(ui)) << ui.allTexts().join(u'\n').toStdString();
            EXPECT_TRUE(now == before || now == after)
                << QStringList(now.keys()).join(u' ').toStdString();
        }
        ui.clear();
        ASSERT_TRUE(restoreAll()) << ui.allTexts().join(u'\n').toStdString();
        EXPECT_EQ(dataFiles(), after);
    };
    const int statements = sweepStatements(
        prepare, restoreAll, [&] { after = dataFiles(); }, check);
    EXPECT_GE(statements, 4);
}

} // namespace
