// What every kind of data store must do, run over each kind the tests know (support/StoreKinds.h):
// databases made, listed, opened, renamed and removed; other workstations seen through the
// store; record and exclusive locks between processes; change stamps; the maintenance steps;
// and the data layer over a connection the store opened.
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "support/StoreAgendaTest.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using core::DatabaseId;
using core::DatabaseKind;
using core::DatabaseTemplate;
using core::DataStore;
using core::HeldLock;
using core::RecordRef;
using core::StampedTable;
using testsupport::OtherWorkstation;

namespace {

const DatabaseId kGlobal = DatabaseId::global();
const DatabaseId kDemo = DatabaseId::agendaNamed(QStringLiteral("DEMO"));
const DatabaseId kFirma1 = DatabaseId::agendaNamed(QStringLiteral("Firma1"));

class DataStoreTest : public ::testing::TestWithParam<QString> {
protected:
    void SetUp() override {
        if (const auto why = testsupport::storeKindUnavailable(GetParam()))
            GTEST_SKIP() << why->toStdString();
        ASSERT_TRUE(testsupport::prepareLocation(GetParam(), location()));
        store = testsupport::makeStore(GetParam(), location(), env.programFolder());
        ASSERT_TRUE(store);
    }

    QString location() const { return env.dataFolder(); }

    // Another workstation working with the same store.
    OtherWorkstation other(const QString& command, const QStringList& more) const {
        return OtherWorkstation(QStringList{command, GetParam(), location()} + more);
    }

    void createAll() {
        ASSERT_TRUE(store->create(kGlobal, DatabaseTemplate::Global));
        ASSERT_TRUE(store->create(kDemo, DatabaseTemplate::DemoAgenda));
        ASSERT_TRUE(store->create(kFirma1, DatabaseTemplate::EmptyAgenda));
    }

    static std::optional<QVariant> one(core::Database& db, const QString& sql) {
        return db.scalar(sql);
    }

    testsupport::TestEnvironment env;
    std::unique_ptr<DataStore> store;
};

TEST_P(DataStoreTest, DatabasesAreMadeFromTheTemplatesListedAndOpenedByKind) {
    EXPECT_FALSE(store->exists(kGlobal));
    EXPECT_TRUE(store->databases().empty());
    createAll();
    EXPECT_TRUE(store->exists(kGlobal));
    EXPECT_TRUE(store->exists(DatabaseId::agendaNamed(QStringLiteral("demo"))))
        << "agenda names are found whatever their letter case";
    EXPECT_EQ(store->resolved(DatabaseId::agendaNamed(QStringLiteral("demo"))).agenda,
              QStringLiteral("DEMO"));
    EXPECT_EQ(store->databases().size(), 3u);
    const auto agendas = store->agendas();
    ASSERT_EQ(agendas.size(), 2u);
    for (const auto& stored : agendas)
        EXPECT_EQ(stored.id.kind, DatabaseKind::Agenda);
    EXPECT_EQ(store->kindOf(kGlobal), DatabaseKind::Global);
    EXPECT_EQ(store->kindOf(kFirma1), DatabaseKind::Agenda);

    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, kDemo));
    const auto firms = one(db, QStringLiteral("SELECT count(*) FROM Adresar"));
    ASSERT_TRUE(firms);
    EXPECT_GT(firms->toInt(), 0) << "the demo agenda comes with its sample data";
    db.close();
    ASSERT_TRUE(store->open(db, kFirma1));
    EXPECT_EQ(one(db, QStringLiteral("SELECT count(*) FROM Adresar"))->toInt(), 0);
    db.close();

    // A database of the other kind is refused, the connection stays closed.
    core::OpenFailure failure;
    EXPECT_FALSE(store->open(db, DatabaseId::agendaNamed(QStringLiteral("Global")), &failure));
    EXPECT_EQ(failure.problem, core::OpenProblem::WrongKind);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(store->open(db, DatabaseId::agendaNamed(QStringLiteral("Chybi")), &failure));
    EXPECT_NE(failure.problem, core::OpenProblem::None);
}

TEST_P(DataStoreTest, AMissingTemplateIsToldApartFromAFailedCopy) {
    const auto bare = testsupport::makeStore(GetParam(), location(), location());
    DataStore::CreateProblem problem = DataStore::CreateProblem::None;
    EXPECT_FALSE(bare->create(kFirma1, DatabaseTemplate::EmptyAgenda, &problem));
    EXPECT_EQ(problem, DataStore::CreateProblem::TemplateMissing);
    EXPECT_FALSE(bare->exists(kFirma1)) << "nothing half made is left behind";
    EXPECT_FALSE(store->templateLocation(DatabaseTemplate::EmptyAgenda).isEmpty());
}

TEST_P(DataStoreTest, NewAgendaNamesFillTheLowestGap) {
    EXPECT_EQ(store->freeAgendaName(3), QStringLiteral("Firma1"));
    ASSERT_TRUE(store->create(kFirma1, DatabaseTemplate::EmptyAgenda));
    ASSERT_TRUE(store->create(DatabaseId::agendaNamed(QStringLiteral("FIRMA3")),
                              DatabaseTemplate::EmptyAgenda));
    EXPECT_EQ(store->freeAgendaName(3), QStringLiteral("Firma2"));
    ASSERT_TRUE(store->create(DatabaseId::agendaNamed(QStringLiteral("Firma2")),
                              DatabaseTemplate::EmptyAgenda));
    EXPECT_EQ(store->freeAgendaName(3), std::nullopt);
}

TEST_P(DataStoreTest, AnAgendaInUseIsNeitherRemovedNorRenamed) {
    createAll();
    const DatabaseId renamed = DatabaseId::agendaNamed(QStringLiteral("Nova"));
    {
        OtherWorkstation using_(
            {QStringLiteral("store-open"), GetParam(), location(), QStringLiteral("Firma1")});
        ASSERT_EQ(using_.firstLine(), QStringLiteral("ready"));
        EXPECT_TRUE(store->openedElsewhere(kFirma1));
        EXPECT_FALSE(store->openedElsewhere(kDemo));
        EXPECT_FALSE(store->remove(kFirma1));
        EXPECT_FALSE(store->rename(kFirma1, QStringLiteral("Nova")));
        HeldLock exclusive;
        EXPECT_FALSE(store->takeExclusiveUse(kFirma1, exclusive));
        EXPECT_TRUE(store->exists(kFirma1));
    }
    EXPECT_FALSE(store->openedElsewhere(kFirma1));
    EXPECT_FALSE(store->rename(kFirma1, QStringLiteral("DEMO"))) << "the name is taken";
    ASSERT_TRUE(store->rename(kFirma1, QStringLiteral("Nova")));
    EXPECT_FALSE(store->exists(kFirma1));
    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, renamed));
    EXPECT_FALSE(store->remove(renamed)) << "our own connection counts as in use";
    db.close();
    EXPECT_TRUE(store->remove(renamed));
    EXPECT_FALSE(store->exists(renamed));
    EXPECT_EQ(store->agendas().size(), 1u);
}

TEST_P(DataStoreTest, OwnConnectionStaysOpenAcrossTheTestForOtherWorkstations) {
    createAll();
    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, kGlobal));
    EXPECT_FALSE(store->openedElsewhereBesides(db, kGlobal));
    EXPECT_TRUE(db.isOpen());
    {
        OtherWorkstation running = other(QStringLiteral("store-open"), {QStringLiteral("-")});
        ASSERT_EQ(running.firstLine(), QStringLiteral("ready"));
        EXPECT_TRUE(store->openedElsewhereBesides(db, kGlobal));
        EXPECT_TRUE(db.isOpen());
    }
    EXPECT_FALSE(store->openedElsewhereBesides(db, kGlobal));
}

TEST_P(DataStoreTest, RecordLocksExcludeOtherWorkstationsAndOutliveNoCrash) {
    const RecordRef item{QStringLiteral("DEMO"), QStringLiteral("Zasoby"), 12};
    const RecordRef sameIdElsewhere{QStringLiteral("Firma1"), QStringLiteral("Zasoby"), 12};
    const RecordRef shared{QString(), QStringLiteral("Mista"), 12};
    EXPECT_TRUE(store->recordsWithLocks(item.agenda, item.table).empty());
    {
        OtherWorkstation editing =
            other(QStringLiteral("store-lock"),
                  {QStringLiteral("DEMO"), QStringLiteral("Zasoby"), QStringLiteral("12")});
        ASSERT_EQ(editing.firstLine(), QStringLiteral("held"));
        EXPECT_TRUE(store->recordLockHeldElsewhere(item));
        HeldLock mine;
        EXPECT_FALSE(store->takeRecordLock(item, mine));
        EXPECT_FALSE(mine.isHeld());
        EXPECT_FALSE(store->recordLockHeldElsewhere(sameIdElsewhere));
        EXPECT_FALSE(store->recordLockHeldElsewhere(shared));
        EXPECT_EQ(store->recordsWithLocks(item.agenda, item.table), std::set<qint64>{12});
        EXPECT_TRUE(store->recordsWithLocks(item.agenda, QStringLiteral("Adresar")).empty());
        editing.kill(); // a crash leaves the lock behind, held by nobody
    }
    EXPECT_FALSE(store->recordLockHeldElsewhere(item));
    EXPECT_TRUE(store->recordsWithLocks(item.agenda, item.table).empty())
        << "the test cleared the lock left over";

    HeldLock mine;
    ASSERT_TRUE(store->takeRecordLock(item, mine));
    HeldLock secondCard;
    EXPECT_FALSE(store->takeRecordLock(item, secondCard)) << "two cards of one program too";
    OtherWorkstation later =
        other(QStringLiteral("store-lock"),
              {QStringLiteral("DEMO"), QStringLiteral("Zasoby"), QStringLiteral("12")});
    EXPECT_EQ(later.firstLine(), QStringLiteral("readonly"));
    mine.release();
    EXPECT_TRUE(store->recordsWithLocks(item.agenda, item.table).empty())
        << "a released lock leaves nothing behind";
}

TEST_P(DataStoreTest, AnExclusiveOperationKeepsOthersOut) {
    EXPECT_FALSE(store->exclusiveLockHeldElsewhere());
    {
        OtherWorkstation backup = other(QStringLiteral("store-exclusive"), {});
        ASSERT_EQ(backup.firstLine(), QStringLiteral("ready"));
        EXPECT_TRUE(store->exclusiveLockHeldElsewhere());
        HeldLock mine;
        EXPECT_FALSE(store->takeExclusiveLock(mine));
    }
    EXPECT_FALSE(store->exclusiveLockHeldElsewhere());
    HeldLock mine;
    ASSERT_TRUE(store->takeExclusiveLock(mine));
    OtherWorkstation starting = other(QStringLiteral("store-exclusive"), {});
    EXPECT_EQ(starting.firstLine(), QStringLiteral("failed"));
}

TEST_P(DataStoreTest, ChangeStampsAreSharedPerAgendaAndTable) {
    const QString demo = QStringLiteral("DEMO");
    EXPECT_FALSE(store->stampExists(demo, StampedTable::Zasoby));
    EXPECT_EQ(store->readStamp(demo, StampedTable::Zasoby), std::nullopt);
    constexpr double kWritten = 46000.625;
    {
        OtherWorkstation writer =
            other(QStringLiteral("store-stamp"),
                  {demo, QString::number(static_cast<int>(StampedTable::Zasoby)),
                   QString::number(kWritten, 'f', 6)});
        ASSERT_EQ(writer.firstLine(), QStringLiteral("done"));
    }
    ASSERT_TRUE(store->stampExists(demo, StampedTable::Zasoby));
    const double first = *store->readStamp(demo, StampedTable::Zasoby);
    // A server stamps by its own clock whatever the workstation's says.
    if (GetParam() == QLatin1String("SqliteFolder")) {
        EXPECT_DOUBLE_EQ(first, kWritten);
    }
    EXPECT_FALSE(store->stampExists(demo, StampedTable::Adresar));
    EXPECT_FALSE(store->stampExists(QStringLiteral("Firma1"), StampedTable::Zasoby));
    const double second = store->writeStamp(demo, StampedTable::Zasoby, kWritten + 1);
    EXPECT_GT(second, first);
    EXPECT_DOUBLE_EQ(*store->readStamp(demo, StampedTable::Zasoby), second);
    store->writeStamp(QStringLiteral("Firma1"), StampedTable::Skupiny, 1.5);
    store->removeStamps(demo);
    EXPECT_FALSE(store->stampExists(demo, StampedTable::Zasoby));
    EXPECT_TRUE(store->stampExists(QStringLiteral("Firma1"), StampedTable::Skupiny));
}

TEST_P(DataStoreTest, ACopyIsCheckedCompactedAndRestoredInPlace) {
    createAll();
    const QString copy = env.programFolder() + QStringLiteral("kopie");
    HeldLock exclusive;
    ASSERT_TRUE(store->takeExclusiveUse(kDemo, exclusive));
    ASSERT_TRUE(store->copyTo(kDemo, copy));
    exclusive.release();

    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, kDemo));
    const int firms = one(db, QStringLiteral("SELECT count(*) FROM Adresar"))->toInt();
    ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Kontakty")));
    ASSERT_TRUE(db.execute(QStringLiteral("DELETE FROM Adresar")));
    EXPECT_TRUE(store->integrityProblems(db).isEmpty());
    const qint64 before = store->sizeOf(kDemo);
    EXPECT_TRUE(store->rebuildIndexes(db));
    EXPECT_TRUE(store->compact(db));
    db.close();
    EXPECT_LE(store->sizeOf(kDemo), before);

    EXPECT_FALSE(store->restoreFrom(kDemo, copy + QStringLiteral("-chybi")));
    ASSERT_TRUE(store->open(db, kDemo)) << "a failed restore leaves the database as it was";
    EXPECT_EQ(one(db, QStringLiteral("SELECT count(*) FROM Adresar"))->toInt(), 0);
    db.close();

    ASSERT_TRUE(store->takeExclusiveUse(kDemo, exclusive));
    ASSERT_TRUE(store->restoreFrom(kDemo, copy));
    exclusive.release();
    ASSERT_TRUE(store->open(db, kDemo));
    EXPECT_EQ(one(db, QStringLiteral("SELECT count(*) FROM Adresar"))->toInt(), firms);
}

TEST_P(DataStoreTest, NewRowsAnswerTheirOwnIdsThroughTheStoresDialect) {
    createAll();
    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, kFirma1));
    const QString insert =
        QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)");
    const auto first = db.insertRow(
        insert, {{QStringLiteral("Nazev"), QStringLiteral("A")}, {QStringLiteral("Poradi"), 1}});
    ASSERT_TRUE(first) << db.lastError().toStdString();
    EXPECT_EQ(db.newRowId(), *first);
    ASSERT_TRUE(db.execute(
        insert, {{QStringLiteral("Nazev"), QStringLiteral("B")}, {QStringLiteral("Poradi"), 2}}));
    const qint64 second = db.newRowId();
    EXPECT_GT(second, *first);
    EXPECT_EQ(
        one(db, QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = %1").arg(second))->toString(),
        QStringLiteral("B"));

    // The same through a statement run in a loop, inside one unit of work.
    {
        core::Transaction unit(db);
        ASSERT_TRUE(unit.isActive());
        core::Statement loop(db, insert);
        qint64 last = second;
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(loop.exec({{QStringLiteral("Nazev"), QStringLiteral("C")},
                                   {QStringLiteral("Poradi"), 3 + i}}));
            EXPECT_GT(loop.newRowId(), last);
            last = loop.newRowId();
        }
        ASSERT_TRUE(unit.commit());
    }

    // A table without an ID column takes its rows as before, and has no ID to answer.
    ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Verze (VerID) VALUES (:VerID)"),
                           {{QStringLiteral("VerID"), 99}}));
    EXPECT_FALSE(db.insertRow(QStringLiteral("INSERT INTO Verze (VerID) VALUES (:VerID)"),
                              {{QStringLiteral("VerID"), 98}}));
    // A failed insert answers nothing and leaves the last ID alone.
    const qint64 kept = db.newRowId();
    EXPECT_FALSE(db.insertRow(QStringLiteral("INSERT INTO Chybi (Nazev) VALUES (:Nazev)"),
                              {{QStringLiteral("Nazev"), QStringLiteral("x")}}));
    EXPECT_EQ(db.newRowId(), kept);
}

TEST_P(DataStoreTest, AWriterOfAnotherWorkstationMakesASaveFailAsBusy) {
    createAll();
    core::Database db(QStringLiteral("store-test"), store->dialect());
    ASSERT_TRUE(store->open(db, kFirma1));
    constexpr int kShortWaitMs = 200;
    db.setBusyTimeout(kShortWaitMs);
    OtherWorkstation writer = other(QStringLiteral("store-hold-write"), {QStringLiteral("Firma1")});
    ASSERT_EQ(writer.firstLine(), QStringLiteral("ready"));
    core::Transaction unit(db);
    EXPECT_FALSE(unit.isActive()) << "a unit takes the write lock as it starts";
    EXPECT_EQ(db.lastFailureKind(), core::FailureKind::Busy);
    writer.stop();
    core::Transaction next(db);
    EXPECT_TRUE(next.isActive());
}

INSTANTIATE_TEST_SUITE_P(EveryStore, DataStoreTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
