// The soak's readings of the data it leaves behind, on the demo agenda: offers whose totals do
// not follow from their items, numbers taken twice, and one workstation's journal held against
// what it stored.
#include "SoakChecks.h"
#include "SoakDatabase.h"
#include "SoakLog.h"
#include "SoakWorkstation.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <optional>
#include <set>

namespace orvento::soak {
namespace {

const QString kDemoTemplate = QStringLiteral("0003.res");
const QString kAgenda = QStringLiteral("DEMO");

// One workstation of the soak in this process for a moment, on a fresh data folder made from
// the templates; its options (the data folder and journal among them) once it ran to its end.
constexpr qint64 kWorkstationRunNs = 1200LL * 1000 * 1000;
bool prepareData(const testsupport::TestEnvironment& env) {
    return testsupport::prepareLocation(QStringLiteral("SqliteFolder"), env.dataFolder()) &&
           env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")) &&
           env.copyTemplate(kDemoTemplate, kAgenda + QStringLiteral(".MDB"));
}

std::optional<WorkstationOptions> runOneWorkstation(const testsupport::TestEnvironment& env,
                                                    quint32 seed, BrokenMode broken, int slot = 0,
                                                    bool prepared = false) {
    WorkstationOptions options;
    options.slot = slot;
    options.generation = 1;
    options.storeKind = QStringLiteral("SqliteFolder");
    options.dataLocation = env.dataFolder();
    options.programFolder = env.programFolder();
    options.journal = options.dataLocation + QStringLiteral("ws-%1-1.log").arg(slot);
    options.seed = seed;
    options.broken = broken;
    if (!prepared && !prepareData(env))
        return std::nullopt;
    options.until = monotonicStamp() + kWorkstationRunNs;
    if (runWorkstation(options) != 0)
        return std::nullopt;
    return options;
}

class SoakDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openTestAgenda(m_env, kDemoTemplate, kAgenda));
        QSqlQuery q = db().select(QStringLiteral("SELECT ID FROM Nabidky ORDER BY ID"));
        while (q.next())
            m_offers.push_back(q.value(0).toLongLong());
        ASSERT_GE(m_offers.size(), 2u);
    }
    core::Database& db() { return core::programState().db->agenda; }
    bool run(const QString& sql, qint64 id) {
        return db().execute(sql, {{QStringLiteral("ID"), id}});
    }

    testsupport::TestEnvironment m_env;
    std::vector<qint64> m_offers;
};

TEST_F(SoakDataTest, OffersWhoseStoredTotalsDisagreeWithTheirItems) {
    QStringList details;
    // The demo offers were saved by the program: every one is consistent.
    EXPECT_EQ(countInconsistentOffers(db(), details), 0)
        << details.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(
        run(QStringLiteral("UPDATE Nabidky SET Zisk = Zisk + 1 WHERE ID = :ID"), m_offers[0]));
    // An item gone without the totals following it.
    ASSERT_TRUE(run(QStringLiteral("DELETE FROM NabPolozky WHERE ID = (SELECT MAX(ID) FROM "
                                   "NabPolozky WHERE CisloNab = :ID AND PCBDPHPOL <> 0)"),
                    m_offers[1]));
    details.clear();
    EXPECT_EQ(countInconsistentOffers(db(), details), 2);
    ASSERT_EQ(details.size(), 2);
    EXPECT_TRUE(details[0].contains(QString::number(m_offers[0])));
}

TEST_F(SoakDataTest, NumbersTakenTwiceAndTheRecordsAsTheSoakReadsThem) {
    QStringList details;
    EXPECT_EQ(countDuplicateNumbers(db(), details), 0);
    ASSERT_TRUE(run(QStringLiteral("UPDATE Nabidky SET Doklad = (SELECT Doklad FROM Nabidky "
                                   "WHERE ID <> :ID ORDER BY ID LIMIT 1) WHERE ID = :ID"),
                    m_offers.back()));
    EXPECT_EQ(countDuplicateNumbers(db(), details), 1);

    ASSERT_TRUE(
        run(QStringLiteral("UPDATE Nabidky SET Poznamka = 'x1' WHERE ID = :ID"), m_offers[0]));
    const StoredRecords stored = readStoredRecords(db());
    const StoredRecord& offer = stored.at(recordKey(kOffers, m_offers[0]));
    EXPECT_EQ(offer.token, QStringLiteral("x1"));
    const auto items =
        db().scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), m_offers[0]}});
    ASSERT_TRUE(items);
    EXPECT_EQ(offer.values.value(kOfferItemCount), items->toString());
}

// One workstation in this process for a moment: every write it confirmed is in the data, it
// wrote offers, firms and catalogue items, and it gave back every lock it took.
TEST(SoakWorkstationRun, ItsJournalAgreesWithWhatItStored) {
    testsupport::TestEnvironment env;
    const auto options = runOneWorkstation(env, 7, BrokenMode::None);
    ASSERT_TRUE(options);
    const QString data = options->dataLocation;

    const SoakHistory history = readHistory(readJournals(data, QStringLiteral(".log")), {});
    const StoredRecords stored = readStoredRecords(core::programState().db->agenda);
    const std::vector<LostEdit> lost = findLostEdits(history, stored);
    EXPECT_TRUE(lost.empty()) << lost.front().record.toStdString() << " "
                              << lost.front().reason.toStdString();
    std::set<QString> tables;
    for (const Operation& op : history.operations)
        if (op.confirmed() && op.kind != OperationKind::Bulk) {
            tables.insert(op.table);
            EXPECT_NE(op.id, 0) << op.token.toStdString();
        }
    EXPECT_EQ(tables, (std::set<QString>{kOffers, kFirms, kItems}));
    EXPECT_FALSE(history.locks.empty());
    for (const LockSpan& span : history.locks)
        EXPECT_LT(span.to, options->until + kWorkstationRunNs) << span.record.toStdString();
    QStringList details;
    EXPECT_EQ(countInconsistentOffers(core::programState().db->agenda, details), 0);
}

// The soak's own fault of a save that leaves an item out of the stored totals shows as what it
// is, an inconsistent offer, and not as a lost edit.
TEST(SoakWorkstationRun, ItsSkippedItemShowsAsAnInconsistentOffer) {
    testsupport::TestEnvironment env;
    const auto options = runOneWorkstation(env, 11, BrokenMode::SkipItem);
    ASSERT_TRUE(options);

    core::Database& agenda = core::programState().db->agenda;
    QStringList details;
    EXPECT_GT(countInconsistentOffers(agenda, details), 0);
    const SoakHistory history =
        readHistory(readJournals(options->dataLocation, QStringLiteral(".log")), {});
    EXPECT_TRUE(findLostEdits(history, readStoredRecords(agenda)).empty());
}

// A workstation killed in the middle of its work (the soak's program in its workstation mode, in
// a process of its own): the next one finds none of its records held, nothing lost and the
// databases sound.
TEST(SoakWorkstationRun, AfterAKillTheNextWorkstationFindsNothingHeld) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(prepareData(env));
    const QString data = env.dataFolder();
    constexpr qint64 kLongNs = 60LL * 1000 * 1000 * 1000;
    constexpr unsigned long kWorkMs = 800;
    QProcess killed;
    killed.start(QStringLiteral(ORVENTO_SOAK_PROGRAM),
                 {QStringLiteral("--workstation"), QStringLiteral("0"), QStringLiteral("1"),
                  QStringLiteral("--store"), QStringLiteral("SqliteFolder"),
                  QStringLiteral("--data"), data, QStringLiteral("--program"), env.programFolder(),
                  QStringLiteral("--journal"), data + QStringLiteral("ws-0-1.log"),
                  QStringLiteral("--until"), QString::number(monotonicStamp() + kLongNs),
                  QStringLiteral("--seed"), QStringLiteral("5")});
    ASSERT_TRUE(killed.waitForStarted());
    QThread::msleep(kWorkMs);
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    Journal(data + QStringLiteral("supervisor.sup"))
        .line({QStringLiteral("ended"), QString::number(monotonicStamp()),
               QStringLiteral("ws-0-1.log"), QStringLiteral("1")});

    ASSERT_TRUE(runOneWorkstation(env, 6, BrokenMode::None, 1, true));
    const SoakHistory history = readHistory(readJournals(data, QStringLiteral(".log")),
                                            readJournals(data, QStringLiteral(".sup")));
    EXPECT_EQ(history.kills, 1);
    EXPECT_TRUE(
        std::any_of(history.operations.begin(), history.operations.end(), [](const Operation& op) {
            return op.writer == QLatin1String("ws-0-1.log") && op.confirmed();
        }));
    EXPECT_EQ(history.cardsInUse, 0);
    EXPECT_TRUE(findDoubleGrants(history.locks).empty());
    core::Database& agenda = core::programState().db->agenda;
    EXPECT_TRUE(findLostEdits(history, readStoredRecords(agenda)).empty());
    EXPECT_TRUE(core::programState().store->integrityProblems(agenda).isEmpty());
}

TEST(SoakJournal, LinesOfSeveralWritersStayWholeAndShortOnesAreIgnored) {
    testsupport::TestEnvironment env;
    const QString folder = env.dataFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        Journal first(folder + QStringLiteral("a.log"));
        Journal second(folder + QStringLiteral("a.log"));
        for (int i = 0; i < 3; ++i) {
            first.line({QStringLiteral("intent"), QString::number(i), QStringLiteral("t%1").arg(i),
                        QStringLiteral("save"), kFirms, QStringLiteral("4")});
            second.line({QStringLiteral("commit"), QString::number(i), QStringLiteral("t%1").arg(i),
                         QStringLiteral("4"), QStringLiteral("1")});
        }
        // A workstation killed while composing its line leaves at most a stub.
        first.line({QStringLiteral("intent"), QStringLiteral("9")});
    }
    const std::vector<JournalLine> lines = readJournals(folder, QStringLiteral(".log"));
    EXPECT_EQ(lines.size(), 7u);
    const SoakHistory history = readHistory(lines, {});
    ASSERT_EQ(history.operations.size(), 3u);
    for (const Operation& op : history.operations)
        EXPECT_TRUE(op.confirmed());
}

} // namespace
} // namespace orvento::soak
