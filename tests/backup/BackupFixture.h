#pragma once

#include "backup/BackupArchive.h"
#include "backup/BackupCreation.h"
#include "backup/BackupInfo.h"
#include "backup/BackupRestore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace orvento::testsupport {

// A data folder with the agenda DEMO and the global database, both closed as during a backup or
// a restore, and a folder for the archives beside it.
class BackupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(openEmptyAgendaAndGlobal(env, QStringLiteral("DEMO")));
        core::ProgramState& state = core::programState();
        state.settings.nazev = QStringLiteral("Stavebniny Novák");
        state.user.jmeno = QStringLiteral("Nováková");
        QDir().mkpath(state.folders.print);
        archives = env.dataFolder() + QStringLiteral("../zalohy/");
        ASSERT_TRUE(QDir().mkpath(archives));
        closeAll();
    }

    static void closeAll() {
        core::ProgramState& state = core::programState();
        state.db->agenda.close();
        state.db->global.close();
        state.db->spare.close();
    }

    QString agendaFile() const { return env.dataFolder() + QStringLiteral("DEMO.MDB"); }
    QString globalFile() const { return env.dataFolder() + QStringLiteral("Global.MDB"); }

    // Runs a statement on a closed database file.
    static void execute(const QString& file, const QString& sql,
                        const core::SqlParams& params = {}) {
        core::Database db(QStringLiteral("fixture-write"));
        ASSERT_TRUE(db.open(file));
        ASSERT_TRUE(db.execute(sql, params)) << db.lastError().toStdString();
    }
    static int count(const QString& file, const QString& table) {
        core::Database db(QStringLiteral("fixture-count"));
        EXPECT_TRUE(db.open(file));
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).value_or(-1).toInt();
    }
    static void addSheets(const QString& file, int howMany) {
        for (int i = 0; i < howMany; ++i)
            execute(file, QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:n, :p)"),
                    {{QStringLiteral("n"), QStringLiteral("list %1").arg(i)},
                     {QStringLiteral("p"), 100 + i}});
    }

    // Every file under the folder with a hash of its bytes.
    static QMap<QString, QByteArray> filesUnder(const QString& folder) {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QByteArray hash = "<folder>";
            if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
                hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
            files.insert(QDir(folder).relativeFilePath(path), hash);
        }
        return files;
    }

    backup::BackupResult makeBackup(bool shared) {
        backup::BackupCreation creation(*core::programState().store, ui);
        const backup::BackupResult result = creation.create({archives, shared});
        archive = creation.archivePath();
        return result;
    }

    bool restore(const QString& path, const backup::RestoreChoice& choice) {
        backup::BackupRestore restoring(*core::programState().store, ui);
        return restoring.restore(path, choice,
                                 core::DatabaseId::agendaNamed(QStringLiteral("DEMO")),
                                 core::programState().folders.print);
    }

    // Packs the entries into `path` as a crafted archive.
    void pack(const QString& path, const std::vector<backup::PackEntry>& entries) {
        ScriptedInteraction quiet;
        core::ProgressScope progress(quiet, QStringLiteral("balím"), 100);
        QString error;
        ASSERT_EQ(backup::packArchive(path, entries, progress, error), backup::PackResult::Done)
            << error.toStdString();
    }
    static QByteArray infoText(const QString& agendaFile,
                               const QString& program = QStringLiteral("OV"), bool shared = false) {
        backup::BackupInfo info;
        info.program = program;
        info.agendaFile = agendaFile;
        info.global = shared;
        info.frm = shared;
        info.name = QStringLiteral("Ze zálohy");
        info.id = 7;
        return info.toText();
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    QString archives;
    QString archive;
};

} // namespace orvento::testsupport
