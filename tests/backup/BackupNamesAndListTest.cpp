#include "BackupFixture.h"

#include "backup/BackupListing.h"
#include "backup/BackupNames.h"

#include <QDate>

using namespace orvento;
using namespace orvento::testsupport;

namespace {

const QDate kDay(2026, 12, 8);

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

class BackupNamesAndListTest : public BackupFixture {};

TEST_F(BackupNamesAndListTest, TheLowestFreeNumberIsTakenWhateverTheCaseOfTheTakenNames) {
    EXPECT_EQ(QFileInfo(backup::chooseBackupTarget(archives, QStringLiteral("DEMO"), kDay).path)
                  .fileName(),
              QStringLiteral("08-12-2026_DEMO_1.zbf"));
    touch(archives + QStringLiteral("08-12-2026_DEMO_1.zbf"));
    touch(archives + QStringLiteral("08-12-2026_demo_2.ZBF"));
    touch(archives + QStringLiteral("07-12-2026_DEMO_3.zbf"));
    const backup::BackupTarget third =
        backup::chooseBackupTarget(archives, QStringLiteral("DEMO"), kDay);
    EXPECT_EQ(QFileInfo(third.path).fileName(), QStringLiteral("08-12-2026_DEMO_3.zbf"));
    EXPECT_FALSE(third.taken);
    // Another day starts at 1 again.
    EXPECT_EQ(backup::chooseBackupTarget(archives, QStringLiteral("DEMO"), kDay.addDays(1)).number,
              1);

    for (int n = 3; n < backup::kLastBackupNumber; ++n)
        touch(archives + QStringLiteral("08-12-2026_DEMO_%1.zbf").arg(n));
    const backup::BackupTarget last =
        backup::chooseBackupTarget(archives, QStringLiteral("DEMO"), kDay);
    EXPECT_EQ(last.number, backup::kLastBackupNumber);
    EXPECT_FALSE(last.taken);
    touch(archives + QStringLiteral("08-12-2026_Demo_999.Zbf"));
    const backup::BackupTarget full =
        backup::chooseBackupTarget(archives, QStringLiteral("DEMO"), kDay);
    EXPECT_EQ(full.number, backup::kLastBackupNumber);
    EXPECT_TRUE(full.taken);
    // The existing file is named as it exists, so it is replaced rather than joined by a twin.
    EXPECT_EQ(QFileInfo(full.path).fileName(), QStringLiteral("08-12-2026_Demo_999.Zbf"));
}

TEST_F(BackupNamesAndListTest, TheListShowsOurArchivesOnlyHighestCounterFirst) {
    const auto archiveWith = [this](const QString& name, const QByteArray& info) {
        pack(archives + name, {{QStringLiteral("info.ini"), {}, info}});
    };
    backup::BackupInfo info;
    info.program = QStringLiteral("ov");
    info.agendaFile = QStringLiteral("DEMO.MDB");
    info.name = QStringLiteral("Malá");
    info.id = 3;
    archiveWith(QStringLiteral("a.zbf"), info.toText());
    info.id = 12;
    info.global = true;
    info.program = QStringLiteral("OV");
    archiveWith(QStringLiteral("b.ZBF"), info.toText());
    info.program = QStringLiteral("XY");
    archiveWith(QStringLiteral("c.zbf"), info.toText());
    info.program = QStringLiteral("OV");
    info.agendaFile.clear();
    archiveWith(QStringLiteral("d.zbf"), info.toText());
    touch(archives + QStringLiteral("e.zbf")); // no zip at all
    info.agendaFile = QStringLiteral("DEMO.MDB");
    archiveWith(QStringLiteral("f.zip"), info.toText()); // another extension

    const std::vector<backup::BackupListRow> rows = backup::listBackups(archives, ui);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].soubor, QStringLiteral("B.ZBF"));
    EXPECT_EQ(rows[0].idZal, 12);
    EXPECT_TRUE(rows[0].global);
    EXPECT_EQ(rows[1].soubor, QStringLiteral("A.ZBF"));
    EXPECT_FALSE(rows[1].global);
    EXPECT_TRUE(backup::listBackups(archives + QStringLiteral("chybi"), ui).empty());

    ui.answer(true);
    EXPECT_TRUE(backup::deleteBackup(rows[1], ui));
    EXPECT_FALSE(QFileInfo::exists(archives + QStringLiteral("a.zbf")));
    ui.answer(false);
    EXPECT_FALSE(backup::deleteBackup(rows[0], ui));
    EXPECT_TRUE(QFileInfo::exists(archives + QStringLiteral("b.ZBF")));
}

TEST(BackupTemplatesTest, TemplatesArePackedWhateverTheCaseButNotThoseBeginningWithAnUnderscore) {
    for (const char* packed : {"Nabidka.frx", "CENIK.XLS", "cenik.Xlsx"})
        EXPECT_TRUE(backup::isPackedTemplate(QString::fromLatin1(packed))) << packed;
    for (const char* skipped : {"_Nabidka.frx", "poznamka.txt", "frx", "Nabidka.frx.bak"})
        EXPECT_FALSE(backup::isPackedTemplate(QString::fromLatin1(skipped))) << skipped;
}

} // namespace
