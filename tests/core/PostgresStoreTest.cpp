// What only the server store has to prove: its units of work serialised per agenda through the
// server's locks, the server's errors told apart as the data layer's failure kinds, the SQL
// functions agreeing with the program's own, a lock connection that died taking its locks again,
// and its copies being the file store's databases, in both directions.
#include "core/AmountFormat.h"
#include "core/CzechCollation.h"
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "support/ServerTest.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using core::Database;
using core::DatabaseId;
using core::DatabaseTemplate;
using core::FailureKind;
using core::HeldLock;
using core::RecordRef;

namespace {

const QString& kKind = testsupport::kServerKind;
const DatabaseId kDemo = DatabaseId::agendaNamed(QStringLiteral("DEMO"));
const DatabaseId kFirma = testsupport::serverTestAgenda();

class PostgresStoreTest : public testsupport::ServerStoreTest {
protected:
    bool openOn(Database& db, const DatabaseId& which) { return store->open(db, which); }
};

TEST_F(PostgresStoreTest, UnitsOfWorkWaitForTheSameAgendaOnlyAndServerErrorsHaveTheirKinds) {
    ASSERT_TRUE(store->create(kDemo, DatabaseTemplate::EmptyAgenda));
    Database writer(QStringLiteral("pg-writer"), store->dialect());
    Database other(QStringLiteral("pg-other"), store->dialect());
    Database elsewhere(QStringLiteral("pg-elsewhere"), store->dialect());
    ASSERT_TRUE(openOn(writer, kFirma));
    ASSERT_TRUE(openOn(other, kFirma));
    ASSERT_TRUE(openOn(elsewhere, kDemo));
    constexpr int kShortWaitMs = 150;
    other.setBusyTimeout(kShortWaitMs);
    {
        core::Transaction unit(writer);
        ASSERT_TRUE(unit.isActive());
        core::Transaction second(other);
        EXPECT_FALSE(second.isActive()) << "a second writer of the agenda waits, then gives up";
        EXPECT_EQ(other.lastFailureKind(), FailureKind::Busy);
        EXPECT_FALSE(Database::anyUnitOpen() && other.transactionDepth() > 0);
        core::Transaction besides(elsewhere);
        EXPECT_TRUE(besides.isActive()) << "another agenda's writer goes on";
        ASSERT_TRUE(unit.commit());
    }
    core::Transaction after(other);
    EXPECT_TRUE(after.isActive()) << "a failed start left the connection usable";
    ASSERT_TRUE(after.commit());

    // A broken rule, a statement stopped by the server, a missing table.
    ASSERT_TRUE(
        other.executeDdl(QStringLiteral("CREATE UNIQUE INDEX JedinyNazev ON Sklady (Nazev)")));
    const QString insert = QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 1)");
    ASSERT_TRUE(other.execute(insert, {{QStringLiteral("N"), QStringLiteral("A")}}));
    EXPECT_FALSE(other.execute(insert, {{QStringLiteral("N"), QStringLiteral("A")}}));
    EXPECT_EQ(other.lastFailureKind(), FailureKind::Constraint);
    ASSERT_TRUE(other.executeDdl(QStringLiteral("SET statement_timeout = 50")));
    EXPECT_FALSE(other.scalar(QStringLiteral("SELECT pg_sleep(1)")));
    EXPECT_EQ(other.lastFailureKind(), FailureKind::Busy);
    EXPECT_FALSE(other.execute(QStringLiteral("DELETE FROM Chybi")));
    EXPECT_EQ(other.lastFailureKind(), FailureKind::Other);
    // A full disk cannot be had on demand; the server's code for it is mapped as the rest.
    const QSqlError full(QString(), QStringLiteral("could not extend file"),
                         QSqlError::StatementError, QStringLiteral("53100"));
    EXPECT_EQ(store->dialect().failureKindOf(full), FailureKind::Disk);
}

TEST_F(PostgresStoreTest, TheServersFindAndAmountFunctionsAgreeWithTheProgramsOwn) {
    Database db(QStringLiteral("pg-functions"), store->dialect());
    ASSERT_TRUE(openOn(db, kFirma));
    const std::vector<std::pair<QString, QString>> finds = {
        {QStringLiteral("Šroub ŽLUTÝ M6"), QStringLiteral("žlutý")},
        {QStringLiteral("čerstvé ovoce"), QStringLiteral("ČERST")},
        {QStringLiteral("Chata"), QStringLiteral("x")},
        {QStringLiteral("Ořech"), QString()},
    };
    for (const auto& [text, part] : finds) {
        const auto found = db.scalar(QStringLiteral("SELECT CZECH_FIND(:T, :P)"),
                                     {{QStringLiteral("T"), text}, {QStringLiteral("P"), part}});
        ASSERT_TRUE(found) << db.lastError().toStdString();
        EXPECT_EQ(found->toLongLong(), core::findIgnoringCase(text, part)) << text.toStdString();
    }
    for (const double amount : {0.0, -0.001, 1234567.891, -9876.5, 12.345, 999.999, 1e12}) {
        const auto text =
            db.scalar(QStringLiteral("SELECT AMOUNT_TEXT(:V)"), {{QStringLiteral("V"), amount}});
        ASSERT_TRUE(text) << db.lastError().toStdString();
        EXPECT_EQ(text->toString(), core::formatAmount(amount)) << amount;
    }
    EXPECT_TRUE(db.scalar(QStringLiteral("SELECT AMOUNT_TEXT(NULL)"))->isNull());
}

TEST_F(PostgresStoreTest, ALockConnectionThatDiedTakesItsLocksAgainBeforeItGrantsAnother) {
    const RecordRef item{QStringLiteral("Firma1"), QStringLiteral("Zasoby"), 4711};
    const RecordRef next{QStringLiteral("Firma1"), QStringLiteral("Zasoby"), 4712};
    HeldLock held;
    ASSERT_TRUE(store->takeRecordLock(item, held));
    ASSERT_TRUE(cluster().runAsAdmin(
        QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_locks WHERE locktype = "
                       "'advisory' AND objid = 4711 AND objsubid = 2")));
    HeldLock granted;
    EXPECT_TRUE(store->takeRecordLock(next, granted)) << "on a new lock connection";
    const auto elsewhere = testsupport::makeStore(kKind, env.dataFolder(), env.programFolder());
    EXPECT_TRUE(elsewhere->recordLockHeldElsewhere(item))
        << "the card that still thinks it holds its lock would otherwise meet a second editor";
    EXPECT_TRUE(held.stillHeld());
    held.release();
    EXPECT_FALSE(elsewhere->recordLockHeldElsewhere(item));
}

TEST_F(PostgresStoreTest, ABackupTakenFromTheServerRestoresIntoFilesAndBackWithItsIds) {
    ASSERT_TRUE(store->create(kDemo, DatabaseTemplate::DemoAgenda));
    const QString copy = env.programFolder() + QStringLiteral("DEMO-server.MDB");
    QString error;
    ASSERT_TRUE(store->snapshotTo(kDemo, copy, &error)) << error.toStdString();
    ASSERT_TRUE(store->checkCopy(core::DatabaseKind::Agenda, copy).passed());

    // Into the file store, as a restore puts it in place, and from there back to the server.
    const QString folder = env.programFolder() + QStringLiteral("files/");
    ASSERT_TRUE(testsupport::prepareLocation(QStringLiteral("SqliteFolder"), folder));
    const auto files =
        testsupport::makeStore(QStringLiteral("SqliteFolder"), folder, env.programFolder());
    ASSERT_TRUE(files->putInPlace(kDemo, copy));
    const QString back = env.programFolder() + QStringLiteral("DEMO-files.MDB");
    ASSERT_TRUE(files->snapshotTo(kDemo, back, &error)) << error.toStdString();
    ASSERT_TRUE(store->restoreFrom(kFirma, back));

    auto rows = [](Database& db) {
        QSqlQuery q = db.select(
            QStringLiteral("SELECT ID, Popis, PrCenaBDPH, Znacka, Chyba FROM Zasoby ORDER BY ID"));
        QStringList out;
        while (q.next())
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(q.value(0).toLongLong())
                       .arg(q.value(1).toString())
                       .arg(q.value(2).toDouble(), 0, 'g', 17)
                       .arg(q.value(3).isNull() ? QStringLiteral("NULL") : q.value(3).toString())
                       .arg(q.value(4).toInt());
        return out;
    };
    Database original(QStringLiteral("pg-original"), store->dialect());
    Database restored(QStringLiteral("pg-restored"), store->dialect());
    Database file(QStringLiteral("pg-file"), files->dialect());
    ASSERT_TRUE(openOn(original, kDemo));
    ASSERT_TRUE(openOn(restored, kFirma));
    ASSERT_TRUE(files->open(file, kDemo));
    const QStringList expected = rows(original);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(rows(file), expected);
    EXPECT_EQ(rows(restored), expected);

    // New rows continue after the copied IDs.
    const auto highest = restored.scalar(QStringLiteral("SELECT max(ID) FROM Zasoby"));
    const auto id = restored.insertRow(QStringLiteral("INSERT INTO Zasoby (Popis) VALUES (:P)"),
                                       {{QStringLiteral("P"), QStringLiteral("nová")}});
    ASSERT_TRUE(id) << restored.lastError().toStdString();
    EXPECT_GT(*id, highest->toLongLong());
}

} // namespace
