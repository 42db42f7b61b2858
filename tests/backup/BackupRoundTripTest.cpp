#include "BackupFixture.h"

#include "backup/BackupNames.h"
#include "core/Schema.h"
#include "support/TestStore.h"

#include <QDate>

using namespace orvento;
using namespace orvento::testsupport;

namespace {

class BackupRoundTripTest : public BackupFixture {
protected:
    void addPostCode(const QString& code) {
        execute(globalFile(), QStringLiteral("INSERT INTO Mista (PSC, Misto) VALUES (:p, 'Brno')"),
                {{QStringLiteral("p"), code}});
    }
    void writeTemplate(const QString& name, const QByteArray& bytes) {
        QFile file(core::programState().folders.print + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readTemplate(const QString& name) {
        QFile file(core::programState().folders.print + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<chybí>");
    }
};

TEST_F(BackupRoundTripTest, TheAgendaAndTheSharedDataComeBackAsTheyWereBackedUp) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    addSheets(agendaFile(), 3);
    addPostCode(QStringLiteral("99901"));
    writeTemplate(QStringLiteral("Nabidka.FRX"), "stara nabidka");
    writeTemplate(QStringLiteral("Cenik.xlsx"), "stary cenik");
    writeTemplate(QStringLiteral("_pracovni.frx"), "nikdy");
    writeTemplate(QStringLiteral("poznamka.txt"), "nikdy");
    const int sheets = count(agendaFile(), QStringLiteral("Sklady"));
    const int counter = core::programState().backupCounter;

    ASSERT_EQ(makeBackup(true), backup::BackupResult::Made)
        << ui.allTexts().join('\n').toStdString();
    const QString expected =
        QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral("_DEMO_1.zbf");
    EXPECT_EQ(QFileInfo(archive).fileName(), expected);
    EXPECT_EQ(core::programState().backupCounter, counter + 1);
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Information)
                    .contains(QStringLiteral("Vytvoření záložní kopie proběhlo úspěšně.\n\nByl "
                                             "vytvořen záložní soubor ") +
                              QDir::toNativeSeparators(archive)));

    backup::ArchiveReader reader;
    QString error;
    ASSERT_TRUE(reader.open(archive, error));
    QStringList names = reader.entryNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Cenik.xlsx"), QStringLiteral("DEMO.MDB"),
                                  QStringLiteral("Global.MDB"), QStringLiteral("Nabidka.FRX"),
                                  QStringLiteral("info.ini")}));
    const backup::BackupInfo info =
        backup::BackupInfo::fromText(*reader.read(QStringLiteral("info.ini"), 4096));
    EXPECT_EQ(info.program, QStringLiteral("OV"));
    EXPECT_EQ(info.agendaFile, QStringLiteral("DEMO.MDB"));
    EXPECT_TRUE(info.global && info.frm);
    EXPECT_EQ(info.name, QStringLiteral("Stavebniny Novák"));
    EXPECT_EQ(info.creator, QStringLiteral("Nováková"));
    EXPECT_EQ(info.id, counter);
    EXPECT_TRUE(
        QDateTime::fromString(info.dateTime, QStringLiteral("dd.MM.yyyy HH:mm:ss")).isValid())
        << info.dateTime.toStdString();

    // Everything changes after the backup ...
    addSheets(agendaFile(), 5);
    addPostCode(QStringLiteral("99902"));
    writeTemplate(QStringLiteral("Nabidka.FRX"), "nova nabidka");
    writeTemplate(QStringLiteral("cenik.XLSX"), "jiny cenik");
    ui.clear();
    // ... and comes back.
    ASSERT_TRUE(restore(archive, {true, true, true})) << ui.allTexts().join('\n').toStdString();
    EXPECT_EQ(count(agendaFile(), QStringLiteral("Sklady")), sheets);
    EXPECT_EQ(count(globalFile(), QStringLiteral("Mista WHERE PSC = '99902'")), 0);
    EXPECT_EQ(count(globalFile(), QStringLiteral("Mista WHERE PSC = '99901'")), 1);
    EXPECT_EQ(readTemplate(QStringLiteral("Nabidka.FRX")), QByteArray("stara nabidka"));
    EXPECT_EQ(readTemplate(QStringLiteral("_pracovni.frx")), QByteArray("nikdy"));
    // No private folder is left in the data folder.
    EXPECT_TRUE(QDir(env.dataFolder())
                    .entryList({QStringLiteral("~obnova-*")}, QDir::AllEntries)
                    .isEmpty());
}

TEST_F(BackupRoundTripTest, WithoutSharedDataOnlyTheAgendaIsPackedAndRestored) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    addSheets(agendaFile(), 2);
    const int sheets = count(agendaFile(), QStringLiteral("Sklady"));
    ASSERT_EQ(makeBackup(false), backup::BackupResult::Made);
    backup::ArchiveReader reader;
    QString error;
    ASSERT_TRUE(reader.open(archive, error));
    EXPECT_EQ(reader.entryNames().size(), 2);
    EXPECT_FALSE(reader.contains(QStringLiteral("Global.MDB")));

    addSheets(agendaFile(), 4);
    addPostCode(QStringLiteral("99902"));
    const auto globalBefore = filesUnder(env.dataFolder()).value(QStringLiteral("Global.MDB"));
    // The shared data cannot be chosen from an archive without them.
    EXPECT_FALSE(restore(archive, {true, true, false}));
    ASSERT_TRUE(restore(archive, {true, false, false}));
    EXPECT_EQ(count(agendaFile(), QStringLiteral("Sklady")), sheets);
    EXPECT_EQ(filesUnder(env.dataFolder()).value(QStringLiteral("Global.MDB")), globalBefore);
    EXPECT_EQ(count(globalFile(), QStringLiteral("Mista WHERE PSC = '99902'")), 1);
}

TEST_F(BackupRoundTripTest, AJournalBesideTheLiveAgendaIsNotPlayedIntoTheRestoredOne) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    addSheets(agendaFile(), 1);
    ASSERT_EQ(makeBackup(false), backup::BackupResult::Made);
    addSheets(agendaFile(), 6);
    // A hot journal the old file left behind: played into the new file it would roll it back
    // with the old file's pages.
    QFile journal(agendaFile() + QStringLiteral("-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(4096, '\x5a'));
    journal.close();
    ASSERT_TRUE(restore(archive, {true, false, false}));
    EXPECT_FALSE(QFileInfo::exists(agendaFile() + QStringLiteral("-journal")));
    core::Database db(QStringLiteral("after-restore"));
    ASSERT_TRUE(core::openAsKind(db, agendaFile(), core::DatabaseKind::Agenda, nullptr));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check"))->toString(),
              QStringLiteral("ok"));
}

TEST_F(BackupRoundTripTest, ACancelledBackupLeavesNoArchiveAndKeepsTheOldOne999) {
    // All numbers up to 999 taken: 999 is offered for overwriting.
    const QString prefix =
        QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral("_DEMO_");
    for (int n = 1; n <= backup::kLastBackupNumber; ++n) {
        QFile f(archives + prefix + QString::number(n) + QStringLiteral(".zbf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stara");
    }
    ui.answer(false);
    EXPECT_EQ(makeBackup(false), backup::BackupResult::NotBegun);
    EXPECT_TRUE(
        ui.texts(ScriptedInteraction::Kind::Question)
            .value(0)
            .endsWith(QStringLiteral("_999.zbf již existuje, opravdu ho chcete přepsat ?")));

    ui.clear();
    ui.answer(true);
    ui.cancelAtStep(1);
    EXPECT_EQ(makeBackup(false), backup::BackupResult::Failed);
    QFile old(archives + prefix + QStringLiteral("999.zbf"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("stara"))
        << "the old archive stays until a new one is whole";
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Error)
                    .contains(QStringLiteral("Při vytváření záložního souboru %1 došlo k chybě.")
                                  .arg(QDir::toNativeSeparators(archive))));
    EXPECT_EQ(QDir(archives).entryList(QDir::Files).size(), backup::kLastBackupNumber)
        << "no half archive beside them";
}

TEST_F(BackupRoundTripTest, AMissingFolderIsToldAndNothingBegins) {
    backup::BackupCreation creation(*core::programState().store, ui);
    const int counter = core::programState().backupCounter;
    EXPECT_EQ(creation.create({archives + QStringLiteral("chybi/"), false}),
              backup::BackupResult::NotBegun);
    EXPECT_EQ(
        ui.texts(ScriptedInteraction::Kind::Error),
        QStringList{QStringLiteral("Složka pro zálohování neexistuje - zadejte platnou složku.")});
    EXPECT_EQ(core::programState().backupCounter, counter);
}

} // namespace
