#include "core/Database.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "import/DemoImport.h"
#include "services/Login.h"
#include "services/UserDatabases.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

constexpr int kTimeoutMs = 60000;

// The built program started as `orvento --import ...` on a data folder of its own: the global
// database with one user and the demo agenda, with no display at all.
class CommandLineImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = dir.filePath(QStringLiteral("data/"));
        ASSERT_TRUE(QDir().mkpath(data));
        const QString res = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/");
        ASSERT_TRUE(QFile::copy(res + QStringLiteral("0002.res"), global()));
        ASSERT_TRUE(QFile::copy(res + QStringLiteral("0003.res"), demo()));
        for (const QString& file : {global(), demo()})
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        core::Database db(QStringLiteral("command-line-user"));
        ASSERT_TRUE(db.open(global()));
        core::CurrentUser user;
        user.uzivId = 1;
        user.jmeno = QStringLiteral("Nováková");
        user.password = QStringLiteral("tajne");
        testsupport::insertUser(db, user);
    }

    QString global() const { return data + QStringLiteral("Global.MDB"); }
    QString demo() const { return data + QStringLiteral("DEMO.MDB"); }

    // Runs the program with `arguments` after the data folder and agenda; its exit code.
    int run(QStringList arguments,
            const std::optional<QString>& password = QStringLiteral("tajne")) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(display));
        env.remove(QStringLiteral("ORVENTO_PASSWORD"));
        if (password)
            env.insert(QStringLiteral("ORVENTO_PASSWORD"), *password);
        QProcess process;
        process.setProcessEnvironment(env);
        arguments << QStringLiteral("--data") << data << QStringLiteral("--agenda")
                  << QStringLiteral("DEMO");
        process.start(QStringLiteral(ORVENTO_PROGRAM_DIR "/orvento"), arguments);
        EXPECT_TRUE(process.waitForFinished(kTimeoutMs));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Adds a definition row with `name` to the demo agenda; its ID.
    qint64 addDefinitionNamed(const QString& name) {
        core::Database db(QStringLiteral("command-line-definition"));
        EXPECT_TRUE(db.open(demo()));
        EXPECT_TRUE(db.execute(
            QStringLiteral("INSERT INTO Import (TypOperace, Nastaveni, Nazev, "
                           "Popis) VALUES (0, :Nastaveni, :Nazev, '')"),
            {{QStringLiteral("Nastaveni"), QString()}, {QStringLiteral("Nazev"), name}}));
        return db.newRowId();
    }

    QTemporaryDir dir;
    QString data;
    QString out;
    QString err;
};

TEST_F(CommandLineImportTest, AnUnknownOrAmbiguousNameDoesNotStartAndListsTheIds) {
    EXPECT_EQ(run({QStringLiteral("--import"), QStringLiteral("Žádná taková")}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("Definice importu \"Žádná taková\" neexistuje.")))
        << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--import-id"), QStringLiteral("999")}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("999"))) << err.toStdString();

    // The same name in another letter case makes the name ambiguous.
    const QString name = import::demoCsvDefinitionName();
    const qint64 twin = addDefinitionNamed(name.toUpper());
    EXPECT_EQ(run({QStringLiteral("--import"), name}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("--import-id")));
    EXPECT_TRUE(err.contains(QStringLiteral("--import-id %1 ").arg(twin))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("--import-id 1 "))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty()) << "no run, no protocol: " << out.toStdString();
}

TEST_F(CommandLineImportTest, AWrongOrMissingPasswordDoesNotStart) {
    const QStringList named{QStringLiteral("--import"), import::demoCsvDefinitionName()};
    EXPECT_EQ(run(named, QStringLiteral("spatne")), 3);
    EXPECT_TRUE(err.contains(services::wrongPasswordMessage())) << err.toStdString();
    EXPECT_EQ(run(named, std::nullopt), 3);
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(CommandLineImportTest, WrongArgumentsAMissingAgendaOrAnOldAgendaDoNotStart) {
    EXPECT_EQ(run({QStringLiteral("--import")}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("Použití: orvento --import"))) << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--import"), QStringLiteral("x"), QStringLiteral("--nic"),
                   QStringLiteral("y")}),
              3);

    ASSERT_TRUE(QFile::rename(demo(), data + QStringLiteral("JINA.MDB")));
    EXPECT_EQ(run({QStringLiteral("--import"), import::demoCsvDefinitionName()}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("Firma \"DEMO\""))) << err.toStdString();
    ASSERT_TRUE(QFile::rename(data + QStringLiteral("JINA.MDB"), demo()));

    // An agenda of an older version waits for the program's window to be upgraded.
    const int current = core::currentSchemaVersion(core::DatabaseKind::Agenda);
    {
        core::Database db(QStringLiteral("command-line-version"));
        ASSERT_TRUE(db.open(demo()));
        ASSERT_TRUE(core::writeSchemaVersion(db, current - 1));
    }
    EXPECT_EQ(run({QStringLiteral("--import"), import::demoCsvDefinitionName()}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("potřebuje převod"))) << err.toStdString();
    core::Database db(QStringLiteral("command-line-version"));
    ASSERT_TRUE(db.open(demo()));
    EXPECT_EQ(core::storedSchemaVersion(db), current - 1) << "left as it was";
}

TEST_F(CommandLineImportTest, AFailedRunPrintsItsProtocolAndEndsWithOne) {
    const QString missing = dir.filePath(QStringLiteral("neni.csv"));
    EXPECT_EQ(run({QStringLiteral("--import"), import::demoCsvDefinitionName(),
                   QStringLiteral("--file"), missing}),
              1);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Import dat - Start "))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("!CHYBA - zdrojový soubor neexistuje")))
        << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("V průběhu importu dat došlo k chybě!")));
}

} // namespace
