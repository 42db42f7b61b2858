// A server that goes away while the program runs: the connections cut (as a restart or a network
// cut ends them) are opened again by the next unit of work or read, a unit the cut caught fails
// whole, a server that is down refuses the save naming itself and the reason until it is back,
// the lock connection takes its locks again (losing one another workstation took meanwhile), and
// the change stamps follow the server's clock whatever the workstations' clocks say.
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "support/ServerTest.h"

#include <gtest/gtest.h>

using namespace orvento;
using core::Database;
using core::DatabaseId;
using core::DatabaseTemplate;
using core::FailureKind;
using core::HeldLock;
using core::RecordRef;
using core::StampedTable;
using testsupport::OtherWorkstation;

namespace {

const QString& kKind = testsupport::kServerKind;
const DatabaseId kFirma = testsupport::serverTestAgenda();
const QString kInsert = QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 1)");
const QString kCount = QStringLiteral("SELECT count(*) FROM Sklady WHERE Nazev = :N");

class ServerConnectionLossTest : public testsupport::ServerStoreTest {
protected:
    void SetUp() override {
        ServerStoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(store->open(db, kFirma)) << db.lastError().toStdString();
    }

    // Every client connection ends, as when the server restarts.
    static void cutEveryConnection() {
        QString error;
        ASSERT_TRUE(cluster().runAsAdmin(
            QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE "
                           "pid <> pg_backend_pid() AND backend_type = 'client backend'"),
            &error))
            << error.toStdString();
    }

    qint64 backend() {
        return db.scalar(QStringLiteral("SELECT pg_backend_pid()")).value_or(-1).toLongLong();
    }

    int rowsNamed(const QString& name) {
        return db.scalar(kCount, {{QStringLiteral("N"), name}}).value_or(-1).toInt();
    }

    bool insertInUnit(const QString& name) {
        core::Transaction unit(db);
        return unit.isActive() && db.execute(kInsert, {{QStringLiteral("N"), name}}) &&
               unit.commit();
    }

    QString serverLabel() const {
        return testsupport::postgresTestConnection(env.dataFolder()).label();
    }

    Database db{QStringLiteral("pg-loss"), core::postgresDialect()};
};

TEST_F(ServerConnectionLossTest, ACutConnectionIsOpenedAgainByTheNextUnitAndTheNextRead) {
    const qint64 before = backend();
    cutEveryConnection();
    EXPECT_FALSE(store->openedElsewhere(kFirma)) << "the cut ended the in-use sign too";
    ASSERT_TRUE(insertInUnit(QStringLiteral("po"))) << db.lastError().toStdString();
    EXPECT_NE(backend(), before);
    EXPECT_TRUE(store->openedElsewhere(kFirma)) << "the new connection says it is in use again";

    cutEveryConnection();
    EXPECT_EQ(rowsNamed(QStringLiteral("po")), 1) << "a read opens it again too";

    // A write outside a unit is not repeated where it may have run; the one after it writes.
    cutEveryConnection();
    EXPECT_FALSE(db.execute(kInsert, {{QStringLiteral("N"), QStringLiteral("mimo")}}));
    EXPECT_EQ(db.lastFailureKind(), FailureKind::ConnectionLost);
    EXPECT_TRUE(db.execute(kInsert, {{QStringLiteral("N"), QStringLiteral("mimo")}}));
    EXPECT_EQ(rowsNamed(QStringLiteral("mimo")), 1);
}

TEST_F(ServerConnectionLossTest, AUnitTheCutCaughtFailsWholeAndTheNextOneWrites) {
    {
        core::Transaction unit(db);
        ASSERT_TRUE(unit.isActive());
        ASSERT_TRUE(db.execute(kInsert, {{QStringLiteral("N"), QStringLiteral("první")}}));
        cutEveryConnection();
        EXPECT_FALSE(db.execute(kInsert, {{QStringLiteral("N"), QStringLiteral("druhá")}}));
        EXPECT_EQ(db.lastFailureKind(), FailureKind::ConnectionLost);
        EXPECT_FALSE(unit.commit());
    }
    EXPECT_FALSE(Database::anyUnitOpen());
    EXPECT_EQ(core::saveFailedMessage(QStringLiteral("Sklady")),
              core::connectionBrokeMessage(serverLabel()));
    ASSERT_TRUE(insertInUnit(QStringLiteral("třetí"))) << db.lastError().toStdString();
    EXPECT_EQ(rowsNamed(QStringLiteral("první")), 0) << "nothing of the broken unit stays";
    EXPECT_EQ(rowsNamed(QStringLiteral("druhá")), 0);
    EXPECT_EQ(rowsNamed(QStringLiteral("třetí")), 1);
}

TEST_F(ServerConnectionLossTest, AServerThatIsDownRefusesTheSaveWithItsNameUntilItIsBack) {
    QString why;
    ASSERT_TRUE(cluster().shutDown(&why)) << why.toStdString();
    EXPECT_FALSE(insertInUnit(QStringLiteral("dole")));
    EXPECT_EQ(db.lastFailureKind(), FailureKind::ConnectionLost);
    EXPECT_FALSE(Database::anyUnitOpen());
    const QString message = core::saveFailedMessage(QStringLiteral("Sklady"));
    const QString lead = core::connectionNotRestoredMessage(serverLabel(), QString());
    EXPECT_TRUE(message.startsWith(lead)) << message.toStdString();
    EXPECT_GT(message.size(), lead.size()) << "the reason follows";
    EXPECT_EQ(core::readFailedMessage(), message);
    EXPECT_FALSE(db.scalar(QStringLiteral("SELECT 1")));

    ASSERT_TRUE(cluster().startAgain(&why)) << why.toStdString();
    ASSERT_TRUE(insertInUnit(QStringLiteral("nahoře"))) << db.lastError().toStdString();
    EXPECT_EQ(rowsNamed(QStringLiteral("dole")), 0);
    EXPECT_EQ(rowsNamed(QStringLiteral("nahoře")), 1);
}

TEST_F(ServerConnectionLossTest, LocksAreTakenAgainAfterACutAndOneTakenMeanwhileIsLost) {
    const RecordRef kept{QStringLiteral("Firma1"), QStringLiteral("Zasoby"), 31};
    const RecordRef taken{QStringLiteral("Firma1"), QStringLiteral("Zasoby"), 32};
    HeldLock keptLock;
    HeldLock takenLock;
    ASSERT_TRUE(store->takeRecordLock(kept, keptLock));
    ASSERT_TRUE(store->takeRecordLock(taken, takenLock));
    EXPECT_TRUE(keptLock.stillHeld());
    cutEveryConnection();
    {
        // Another workstation opens the record's card before this one notices the cut.
        OtherWorkstation editing(QStringList{QStringLiteral("store-lock"), kKind, env.dataFolder(),
                                             QStringLiteral("Firma1"), QStringLiteral("Zasoby"),
                                             QStringLiteral("32")});
        ASSERT_EQ(editing.firstLine(), QStringLiteral("held"));
        EXPECT_TRUE(keptLock.stillHeld()) << "taken again on a new lock connection";
        EXPECT_FALSE(takenLock.stillHeld()) << "the other workstation has it now";
        EXPECT_TRUE(store->recordLockHeldElsewhere(taken));
        OtherWorkstation later(QStringList{QStringLiteral("store-lock"), kKind, env.dataFolder(),
                                           QStringLiteral("Firma1"), QStringLiteral("Zasoby"),
                                           QStringLiteral("31")});
        EXPECT_EQ(later.firstLine(), QStringLiteral("readonly"));
    }
    takenLock.release();
    keptLock.release();
    HeldLock again;
    EXPECT_TRUE(store->takeRecordLock(kept, again)) << "a lost lock let go leaves nothing held";
}

TEST_F(ServerConnectionLossTest, StampsFollowTheServersClockWhateverTheWorkstationsSay) {
    // This workstation's clock runs years ahead, the other's years behind; the other stamps
    // later, and its stamp is the later one.
    constexpr double kYearsAhead = 60000.0;
    constexpr double kYearsBehind = 20000.0;
    const double mine =
        store->writeStamp(QStringLiteral("Firma1"), StampedTable::Zasoby, kYearsAhead);
    EXPECT_LT(mine, kYearsAhead);
    EXPECT_DOUBLE_EQ(*store->readStamp(QStringLiteral("Firma1"), StampedTable::Zasoby), mine);
    {
        OtherWorkstation writer(QStringList{QStringLiteral("store-stamp"), kKind, env.dataFolder(),
                                            QStringLiteral("Firma1"),
                                            QString::number(static_cast<int>(StampedTable::Zasoby)),
                                            QString::number(kYearsBehind, 'f', 6)});
        ASSERT_EQ(writer.firstLine(), QStringLiteral("done"));
    }
    const double theirs = *store->readStamp(QStringLiteral("Firma1"), StampedTable::Zasoby);
    EXPECT_GT(theirs, mine) << "the change made later is seen as later";
    EXPECT_GT(theirs, kYearsBehind);
}

} // namespace
