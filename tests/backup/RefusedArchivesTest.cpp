#include "BackupFixture.h"

#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "support/TestStore.h"

using namespace orvento;
using namespace orvento::testsupport;

namespace {

// Whatever is wrong with an archive, the restore says so and leaves every live file as it was.
class RefusedArchivesTest : public BackupFixture {
protected:
    void SetUp() override {
        if (testsupport::testStoreIsServer())
            GTEST_SKIP()
                << "the archive is packed from and restored into the data folder's database files";
        BackupFixture::SetUp();
        addSheets(agendaFile(), 2);
        QFile frx(core::programState().folders.print + QStringLiteral("Nabidka.frx"));
        ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
        frx.write("live");
        frx.close();
        // A sound agenda copy to build crafted archives from.
        good = archives + QStringLiteral("good.MDB");
        QString error;
        ASSERT_TRUE(core::programState().store->snapshotTo(
            core::DatabaseId::agendaNamed(QStringLiteral("DEMO")), good, &error))
            << error.toStdString();
        before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    }

    QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Restores everything from the archive and expects a refusal that names `why`.
    void expectRefused(const QString& path, const QString& why, bool shared = false) {
        ui.clear();
        EXPECT_FALSE(restore(path, {true, shared, shared}));
        const QStringList errors = ui.texts(ScriptedInteraction::Kind::Error);
        ASSERT_EQ(errors.size(), 1) << ui.allTexts().join('\n').toStdString();
        EXPECT_TRUE(errors.front().contains(why)) << errors.front().toStdString();
        EXPECT_TRUE(errors.front().endsWith(QStringLiteral("Stávající data zůstala beze změny.")));
        QMap<QString, QByteArray> after = filesUnder(env.dataFolder() + QStringLiteral(".."));
        after.remove(QDir(env.dataFolder() + QStringLiteral("..")).relativeFilePath(path));
        QMap<QString, QByteArray> expected = before;
        expected.remove(QDir(env.dataFolder() + QStringLiteral("..")).relativeFilePath(path));
        EXPECT_EQ(after, expected) << "live files touched by " << path.toStdString();
    }

    QString craft(const QString& name, const std::vector<backup::PackEntry>& entries) {
        const QString path = archives + name;
        pack(path, entries);
        return path;
    }

    QString good;
    QMap<QString, QByteArray> before;
};

TEST_F(RefusedArchivesTest, ArchivesThatAreNoneOfOursAreRefused) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    const QString text = archives + QStringLiteral("text.zbf");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("toto neni zip");
    f.close();
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(text, QStringLiteral("nelze otevřít jako záložní soubor"));

    const QString whole =
        craft(QStringLiteral("whole.zbf"),
              {{QStringLiteral("info.ini"), {}, infoText(QStringLiteral("DEMO.MDB"))},
               {QStringLiteral("DEMO.MDB"), good, {}}});
    const QByteArray bytes = bytesOf(whole);
    const QString truncated = archives + QStringLiteral("truncated.zbf");
    QFile t(truncated);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(bytes.left(bytes.size() / 2));
    t.close();
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(truncated, QStringLiteral("nelze otevřít jako záložní soubor"));

    const QString noInfo =
        craft(QStringLiteral("noinfo.zbf"), {{QStringLiteral("DEMO.MDB"), good, {}}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(noInfo, QStringLiteral("není záložním souborem tohoto programu"));

    const QString other = craft(QStringLiteral("other.zbf"),
                                {{QStringLiteral("info.ini"),
                                  {},
                                  infoText(QStringLiteral("DEMO.MDB"), QStringLiteral("XY"))},
                                 {QStringLiteral("DEMO.MDB"), good, {}}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(other, QStringLiteral("není záložním souborem tohoto programu"));

    const QString garbage =
        craft(QStringLiteral("garbage.zbf"),
              {{QStringLiteral("info.ini"), {}, QByteArray("\x01\xff[[[=\n\0\0zz", 12)},
               {QStringLiteral("DEMO.MDB"), good, {}}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(garbage, QStringLiteral("není záložním souborem tohoto programu"));
}

TEST_F(RefusedArchivesTest, DatabasesThatAreNotSoundOrTooNewAreRefusedBeforeAnythingIsReplaced) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    // Newer than this program: its schema version is raised.
    const QString newer = archives + QStringLiteral("newer.MDB");
    ASSERT_TRUE(QFile::copy(good, newer));
    const int future = core::currentSchemaVersion(core::DatabaseKind::Agenda) + 1;
    execute(newer, QStringLiteral("UPDATE Verze SET VerID = :v"), {{QStringLiteral("v"), future}});
    const QString newerArchive =
        craft(QStringLiteral("newer.zbf"),
              {{QStringLiteral("info.ini"), {}, infoText(QStringLiteral("DEMO.MDB"))},
               {QStringLiteral("DEMO.MDB"), newer, {}}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(newerArchive, core::newerDatabaseMessage(core::DatabaseKind::Agenda,
                                                           QStringLiteral("DEMO"), future));

    // Damaged: its pages overwritten in the middle.
    QByteArray damaged = bytesOf(good);
    ASSERT_GT(damaged.size(), 8192);
    for (qsizetype i = 4096; i < damaged.size() - 1024; i += 7)
        damaged[i] = '\x33';
    const QString damagedArchive =
        craft(QStringLiteral("damaged.zbf"),
              {{QStringLiteral("info.ini"), {}, infoText(QStringLiteral("DEMO.MDB"))},
               {QStringLiteral("DEMO.MDB"), {}, damaged}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(damagedArchive, QStringLiteral("DEMO.MDB"));

    // A database of the Windows program.
    QByteArray jet(4096, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const QString jetArchive =
        craft(QStringLiteral("jet.zbf"),
              {{QStringLiteral("info.ini"), {}, infoText(QStringLiteral("DEMO.MDB"))},
               {QStringLiteral("DEMO.MDB"), {}, jet}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(jetArchive, QStringLiteral("z programu pro Windows"));

    // The global database where the agenda belongs; and a sound agenda with a damaged global
    // database beside it: the agenda is not replaced either.
    const QString wrongKind =
        craft(QStringLiteral("kind.zbf"),
              {{QStringLiteral("info.ini"),
                {},
                infoText(QStringLiteral("DEMO.MDB"), QStringLiteral("ov"), true)},
               {QStringLiteral("DEMO.MDB"), globalFile(), {}},
               {QStringLiteral("Global.MDB"), {}, damaged}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(wrongKind, QStringLiteral("není databází firmy"));
    const QString halfGood =
        craft(QStringLiteral("half.zbf"),
              {{QStringLiteral("info.ini"),
                {},
                infoText(QStringLiteral("DEMO.MDB"), QStringLiteral("OV"), true)},
               {QStringLiteral("DEMO.MDB"), good, {}},
               {QStringLiteral("Global.MDB"), {}, damaged}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(halfGood, QStringLiteral("Global.MDB"), true);
}

TEST_F(RefusedArchivesTest, EntriesWithPathsWriteNothingOutsideAndAreRefused) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP()
            << "the archive is packed from and restored into the data folder's database files";
    const QString slip = craft(QStringLiteral("slip.zbf"),
                               {{QStringLiteral("info.ini"),
                                 {},
                                 infoText(QStringLiteral("DEMO.MDB"), QStringLiteral("OV"), true)},
                                {QStringLiteral("DEMO.MDB"), good, {}}});
    // The packer itself refuses such names, so the entries are renamed inside the archive
    // afterwards, as a hostile tool would write them.
    QByteArray bytes = bytesOf(slip);
    // Same length as "DEMO.MDB" so the archive stays consistent: "../x.MDB".
    bytes.replace("DEMO.MDB", "../x.MDB");
    QFile out(slip);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
    out.close();
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(slip, QStringLiteral("nepřípustný název"), true);
    EXPECT_FALSE(QFileInfo::exists(archives + QStringLiteral("../x.MDB")));
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + QStringLiteral("../x.MDB")));

    // An AgendaFile with a path is refused as well, without any entry of that name.
    const QString agendaPath =
        craft(QStringLiteral("agendapath.zbf"),
              {{QStringLiteral("info.ini"), {}, infoText(QStringLiteral("../../DEMO.MDB"))},
               {QStringLiteral("DEMO.MDB"), good, {}}});
    before = filesUnder(env.dataFolder() + QStringLiteral(".."));
    expectRefused(agendaPath, QStringLiteral("není záložním souborem tohoto programu"));
    for (const char* bad : {"../x", "a/b", "a\\b", "C:x", "..", ""})
        EXPECT_FALSE(backup::isBareName(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(backup::isBareName(QStringLiteral("Firma 2.MDB")));
}

} // namespace
