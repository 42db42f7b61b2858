#include "MoneyTestFiles.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "import/DemoImport.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"
#include "import/MoneyImportSettings.h"
#include "import/PriceListTexts.h"
#include "services/Login.h"
#include "services/UserDatabases.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

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

    // Starts the program with `arguments` after the data folder and agenda.
    std::unique_ptr<QProcess>
    start(QStringList arguments, const std::optional<QString>& password = QStringLiteral("tajne")) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(display));
        env.remove(QStringLiteral("ORVENTO_PASSWORD"));
        if (password)
            env.insert(QStringLiteral("ORVENTO_PASSWORD"), *password);
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        arguments << QStringLiteral("--data") << data << QStringLiteral("--agenda")
                  << QStringLiteral("DEMO");
        process->start(QStringLiteral(ORVENTO_PROGRAM_DIR "/orvento"), arguments);
        return process;
    }
    // Waits for a started program; its exit code, with its output kept in `out` and `err`.
    int finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(kTimeoutMs));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    // Runs the program with `arguments` after the data folder and agenda; its exit code.
    int run(QStringList arguments,
            const std::optional<QString>& password = QStringLiteral("tajne")) {
        return finish(*start(std::move(arguments), password));
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

// Two workstations run the same import at once: each run's unit of work waits for the other's,
// so the catalogue ends with one or both runs whole, never with part of one.
TEST_F(CommandLineImportTest, TwoRunsAtOnceEachWriteWholeOrNothing) {
    const QString file = dir.filePath(QStringLiteral("dodavka.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    QByteArray text = "Kat. číslo;Název;MJ;DPH %;Cena bez DPH\r\n";
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("SOUBEH-%1;Souběžná položka %1;ks;21;%2,50\r\n")
                    .arg(i)
                    .arg(10 + i)
                    .toUtf8();
    csv.write(text);
    csv.close();

    const QStringList arguments{QStringLiteral("--import"), import::demoCsvDefinitionName(),
                                QStringLiteral("--file"), file};
    auto first = start(arguments);
    auto second = start(arguments);
    const int firstExit = finish(*first);
    const QString firstOut = out + err;
    const int secondExit = finish(*second);
    EXPECT_EQ(firstExit, 0) << firstOut.toStdString();
    EXPECT_EQ(secondExit, 0) << out.toStdString() << err.toStdString();

    core::Database db(QStringLiteral("command-line-check"));
    ASSERT_TRUE(db.open(demo()));
    const int written =
        db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Katalog LIKE 'SOUBEH-%'"))
            ->toInt();
    // The second run either saw the first one's items (and updated them) or read the catalogue
    // before they were there (and added its own).
    EXPECT_TRUE(written == 300 || written == 600) << written;
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Chyba <> 0"))->toInt(), 0)
        << "both runs priced what they wrote";
}

} // namespace

namespace {

// SIGTERM during phase I is "Přerušit" answered Yes: the run ends with 1, its protocol says it
// was interrupted, and the catalogue holds none of the rows read so far.
TEST_F(CommandLineImportTest, ATerminatedRunEndsWithOneAndLeavesTheCatalogueAsItWas) {
    const QString file = dir.filePath(QStringLiteral("velka.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    QByteArray text = "Kat. číslo;Název;MJ;DPH %;Cena bez DPH\r\n";
    constexpr int kRows = 200000;
    for (int i = 0; i < kRows; ++i)
        text += QStringLiteral("PRERUS-%1;Přerušená položka %1;ks;21;%2,50\r\n")
                    .arg(i)
                    .arg(10 + i % 500)
                    .toUtf8();
    csv.write(text);
    csv.close();

    auto process = start({QStringLiteral("--import"), import::demoCsvDefinitionName(),
                          QStringLiteral("--file"), file});
    QByteArray seen;
    while (!seen.contains(import::pricelisttext::phaseOne().toUtf8()) &&
           process->state() != QProcess::NotRunning && process->waitForReadyRead(kTimeoutMs))
        seen += process->readAllStandardOutput();
    ASSERT_TRUE(seen.contains(import::pricelisttext::phaseOne().toUtf8())) << seen.toStdString();
    process->terminate();
    const int exit = finish(*process);
    out.prepend(QString::fromUtf8(seen));

    core::Database db(QStringLiteral("command-line-terminated"));
    ASSERT_TRUE(db.open(demo()));
    const int written =
        db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Katalog LIKE 'PRERUS-%'"))
            ->toInt();
    if (exit == 0) {
        // The machine read the whole file before the signal came: then it is all there.
        EXPECT_EQ(written, kRows);
        return;
    }
    EXPECT_EQ(exit, 1) << err.toStdString();
    EXPECT_TRUE(out.contains(import::pricelisttext::interrupted()))
        << out.right(2000).toStdString();
    EXPECT_TRUE(written == 0 || written == kRows) << written;
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Chyba <> 0 AND "
                                       "Katalog NOT LIKE 'PRERUS-%'"))
                  ->toInt(),
              0)
        << "no item of the catalogue left marked";
}

} // namespace

namespace {

// The demo agenda with an address-book definition "Adresy zákazníků" over `file`, compared by the
// IČ column, mapping the name, the IČ and the town.
class CommandLineAddressBookTest : public CommandLineImportTest {
protected:
    void SetUp() override {
        CommandLineImportTest::SetUp();
        file = dir.filePath(QStringLiteral("adresy.csv"));
        core::Database db(QStringLiteral("command-line-addresses"));
        ASSERT_TRUE(db.open(demo()));
        import::ImportDefinition d = import::newDefinition(import::DefinitionKind::AddressBook);
        d.name = kName;
        d.sourceKind = core::sources::SourceKind::Csv;
        d.fileName = file;
        d.compare = true;
        d.refField = QStringLiteral("ICO");
        d.refColumn = QStringLiteral("IČ");
        for (const auto& [field, column] :
             {std::pair{import::AddressField::NazevAdr, QStringLiteral("Název")},
              std::pair{import::AddressField::ICOAdr, QStringLiteral("IČ")},
              std::pair{import::AddressField::MistoAdr, QStringLiteral("Místo")}}) {
            import::FieldMapping& m = d.addressBook.field(field);
            m.imported = true;
            m.column = column;
        }
        QString error;
        ASSERT_TRUE(import::ImportDefinitionStore(db).insert(d, error)) << error.toStdString();
        firmsBefore = count(QStringLiteral("SELECT count(*) FROM Adresar"));
    }

    // The list: a header and `rows` new firms "Firma <i>" in Jihlava.
    void writeFirms(int rows) {
        QFile csv(file);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        QByteArray text = "Název;IČ;Místo\r\n";
        for (int i = 0; i < rows; ++i)
            text += QStringLiteral("Firma %1;%2;Jihlava\r\n").arg(i).arg(70000000 + i).toUtf8();
        csv.write(text);
    }
    int count(const QString& sql) {
        core::Database db(QStringLiteral("command-line-addresses-count"));
        EXPECT_TRUE(db.open(demo()));
        return db.scalar(sql)->toInt();
    }
    // Imported firms that lack one of their mapped values: parts of an address.
    int partial() {
        return count(QStringLiteral("SELECT count(*) FROM Adresar WHERE Nazev LIKE 'Firma %' AND "
                                    "(ICO = '' OR ICO IS NULL OR Misto <> 'Jihlava')"));
    }
    int imported() {
        return count(QStringLiteral("SELECT count(*) FROM Adresar WHERE Nazev LIKE 'Firma %'"));
    }
    // Starts the run and waits until it writes rows.
    std::unique_ptr<QProcess> startWriting() {
        auto process = start({QStringLiteral("--import"), kName});
        const QByteArray started = "• operace může trvat delší dobu";
        QByteArray seen;
        while (!seen.contains(started) && process->state() != QProcess::NotRunning &&
               process->waitForReadyRead(kTimeoutMs))
            seen += process->readAllStandardOutput();
        EXPECT_TRUE(seen.contains(started)) << seen.toStdString();
        QThread::msleep(kWritingMs);
        return process;
    }

    static constexpr unsigned long kWritingMs = 300;
    const QString kName = QStringLiteral("Adresy zákazníků");
    QString file;
    int firmsBefore = 0;
};

// An address-book definition runs from the command line as the wizard runs it: its protocol on
// standard output and 0, or the failed save's message on standard error and 1 with the rows
// before the failure kept.
TEST_F(CommandLineAddressBookTest, ItRunsAndItsFailedSaveGoesToStandardError) {
    const QString known = [this] {
        core::Database db(QStringLiteral("command-line-known"));
        EXPECT_TRUE(db.open(demo()));
        EXPECT_TRUE(db.executeDdl(QStringLiteral(
            "CREATE TRIGGER OdmitnoutChybu BEFORE INSERT ON Adresar WHEN NEW.Nazev = 'CHYBA' "
            "BEGIN SELECT RAISE(ABORT, 'odmítnuto'); END")));
        return db.scalar(QStringLiteral("SELECT ICO FROM Adresar WHERE ICO <> '' ORDER BY ID"))
            ->toString();
    }();
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(QStringLiteral("Název;IČ;Místo\r\nZNÁMÁ FIRMA;%1;Aš\r\nNová firma;12345679;Aš\r\n")
                  .arg(known)
                  .toUtf8());
    csv.close();
    const QStringList arguments{QStringLiteral("--import"), kName};
    ASSERT_EQ(run(arguments), 0) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Import adresáře"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("  + přidáno nových záznamů: 1")));
    EXPECT_TRUE(out.contains(QStringLiteral("  + zaktualizováno záznamů: 1")));

    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Název;IČ;Místo\r\nDalší firma;87654321;Aš\r\nCHYBA;11111111;Aš\r\n");
    csv.close();
    EXPECT_EQ(run(arguments), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("Při ukládání záznamu do \"Adresar\" došlo k chybě: "
                                            "metoda \"Execute\" selhala.")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("V průběhu importu dat došlo k chybě!")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Adresar WHERE Nazev = 'Další firma'")), 1);
}

// SIGTERM is "Přerušit" answered Yes: the run ends with 1 and its interruption line, and keeps
// the addresses it wrote, each whole. SIGKILL leaves whole addresses too.
TEST_F(CommandLineAddressBookTest, TerminatedOrKilledMidRunItLeavesOnlyWholeAddresses) {
    constexpr int kRows = 200000;
    writeFirms(kRows);
    auto process = startWriting();
    process->terminate();
    const int exit = finish(*process);
    const int kept = imported();
    if (exit == 0) {
        EXPECT_EQ(kept, kRows) << "the machine wrote the whole list before the signal came";
    } else {
        EXPECT_EQ(exit, 1) << err.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Operace přerušena uživatelem!")))
            << out.right(2000).toStdString();
        EXPECT_FALSE(out.contains(QStringLiteral("• adresář:")));
        EXPECT_GT(kept, 0) << "what was written before the signal stays";
    }
    EXPECT_EQ(partial(), 0);

    ASSERT_TRUE(QFile::remove(file));
    writeFirms(kRows); // new IČOs are not needed: the first run's firms are found and updated
    process = startWriting();
    process->kill();
    EXPECT_EQ(finish(*process), -1);
    EXPECT_EQ(partial(), 0);
    EXPECT_GE(imported(), kept);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM pragma_integrity_check WHERE "
                                   "integrity_check <> 'ok'")),
              0);
}

// Two workstations import the same list at once: both finish, and every address is whole; the
// second run finds what the first had written when it read the address book and adds the rest.
TEST_F(CommandLineAddressBookTest, TwoRunsAtOnceBothFinishWithWholeAddresses) {
    constexpr int kRows = 3000;
    writeFirms(kRows);
    const QStringList arguments{QStringLiteral("--import"), kName};
    auto first = start(arguments);
    auto second = start(arguments);
    EXPECT_EQ(finish(*first), 0) << err.toStdString();
    EXPECT_EQ(finish(*second), 0) << err.toStdString();
    const int written = imported();
    EXPECT_GE(written, kRows);
    EXPECT_LE(written, 2 * kRows);
    EXPECT_EQ(partial(), 0);
}

// The demo's Money definition run twice at once from the command line over the same Money
// tables: each unit of work reads the stored numbers again, so every document becomes one offer
// with all its items, whichever run wrote it.
class MoneyCommandLineTest : public CommandLineImportTest {};

TEST_F(MoneyCommandLineTest, TwoWorkstationsAtOnceCreateEachDocumentOnce) {
    constexpr int kDocuments = 60;
    constexpr int kItems = 3;
    const QString year = dir.filePath(QStringLiteral("Money/Rok/"));
    ASSERT_TRUE(QDir().mkpath(year));
    std::vector<QVariantList> documents;
    std::vector<QVariantList> items;
    for (int d = 1; d <= kDocuments; ++d) {
        documents.push_back({"N", 0.0, QStringLiteral("SOUB-%1").arg(d), double(d)});
        for (int i = 1; i <= kItems; ++i)
            items.push_back({double(d), 0.0, "Z", 0.0, "HL", QStringLiteral("Položka %1").arg(i),
                             "", "", "", "", "", 21.0, 0.0, double(i), 10.0, 0.0, 2.0, "ks"});
    }
    testsupport::writeTable(year + QStringLiteral("ObSezObj.dat"),
                            testsupport::kMoneyDocumentFields, documents);
    testsupport::writeTable(year + QStringLiteral("ObPolObj.dat"), testsupport::kMoneyItemFields,
                            items);
    {
        core::Database db(QStringLiteral("money-definition"));
        ASSERT_TRUE(db.open(demo()));
        ASSERT_TRUE(db.execute(
            QStringLiteral("UPDATE Import SET Nastaveni = :Text WHERE TypOperace = 10"),
            {{QStringLiteral("Text"),
              QStringLiteral("YearPath=%1\r\nImportPC=False\r\nDruhDokl=n").arg(year)}}));
    }
    const QStringList arguments{QStringLiteral("--import"), import::moneyDefinitionName()};
    auto first = start(arguments);
    auto second = start(arguments);
    const int firstExit = finish(*first);
    const QString firstOut = out + err;
    const int secondExit = finish(*second);
    EXPECT_EQ(firstExit, 0) << firstOut.toStdString();
    EXPECT_EQ(secondExit, 0) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Import dat z Money - Dokončeno ")))
        << out.toStdString();

    core::Database db(QStringLiteral("money-check"));
    ASSERT_TRUE(db.open(demo()));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Nabidky WHERE Doklad LIKE 'SOUB-%'"))
                  ->toInt(),
              kDocuments);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(DISTINCT Doklad) FROM Nabidky WHERE Doklad "
                                       "LIKE 'SOUB-%'"))
                  ->toInt(),
              kDocuments);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM NabPolozky p JOIN Nabidky n ON "
                                       "n.ID = p.CisloNab WHERE n.Doklad LIKE 'SOUB-%'"))
                  ->toInt(),
              kDocuments * kItems);
}

} // namespace
