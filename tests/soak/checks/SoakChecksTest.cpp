// The soak's verdicts from hand-made journals: what counts as a lost edit or a double grant, and
// what a kill at the wrong moment may leave without being one.
#include "SoakChecks.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvento::soak {
namespace {

JournalLine line(const char* file, const char* text) {
    return {QString::fromLatin1(file), QString::fromLatin1(text).split(QLatin1Char(' '))};
}

StoredRecords holding(const char* record, const char* token, QMap<QString, QString> values = {}) {
    return {{QString::fromLatin1(record), {QString::fromLatin1(token), std::move(values)}}};
}

// One workstation saved offer 7 twice; a second one was killed while saving it a third time.
std::vector<JournalLine> twoSavesThenAKill() {
    return {line("ws-0-1.log", "intent 100 a1 save Nabidky 7"),
            line("ws-0-1.log", "commit 110 a1 7 10 celkem=5.00"),
            line("ws-0-1.log", "intent 200 a2 save Nabidky 7"),
            line("ws-0-1.log", "commit 210 a2 7 10 celkem=6.00"),
            line("ws-1-1.log", "intent 300 b1 save Nabidky 7")};
}

TEST(SoakLostEdits, TheLastConfirmedWriteOrALaterCutShortOneMayStand) {
    const SoakHistory history = readHistory(twoSavesThenAKill(), {});
    const auto celkem = [](const char* v) {
        return QMap<QString, QString>{{QStringLiteral("celkem"), QString::fromLatin1(v)}};
    };
    EXPECT_TRUE(findLostEdits(history, holding("Nabidky:7", "a2", celkem("6.00"))).empty());
    // The killed workstation's save reached the database before the kill: no loss.
    EXPECT_TRUE(findLostEdits(history, holding("Nabidky:7", "b1", celkem("9.00"))).empty());
    // The database went back to an earlier write: the confirmed one is lost.
    EXPECT_EQ(findLostEdits(history, holding("Nabidky:7", "a1", celkem("5.00"))).size(), 1u);
    // The record holds the confirmed token, but not the values written with it.
    EXPECT_EQ(findLostEdits(history, holding("Nabidky:7", "a2", celkem("5.00"))).size(), 1u);
    // Gone, though nobody deleted it.
    EXPECT_EQ(findLostEdits(history, {}).size(), 1u);
}

TEST(SoakLostEdits, DeletionsAndFailuresAreHeldToWhatTheyReported) {
    std::vector<JournalLine> lines = twoSavesThenAKill();
    lines.push_back(line("ws-2-1.log", "intent 400 c1 delete Nabidky 7"));
    // A deletion cut short by a kill may or may not have happened.
    const SoakHistory cutShort = readHistory(lines, {});
    EXPECT_TRUE(findLostEdits(cutShort, {}).empty());
    EXPECT_TRUE(findLostEdits(cutShort, holding("Nabidky:7", "a2")).empty());
    // A confirmed deletion must have happened.
    lines.push_back(line("ws-2-1.log", "commit 410 c1 7 10"));
    const SoakHistory deleted = readHistory(lines, {});
    EXPECT_TRUE(findLostEdits(deleted, {}).empty());
    EXPECT_EQ(findLostEdits(deleted, holding("Nabidky:7", "a2")).size(), 1u);

    // A save reported as failed that reached the database all the same replaced a confirmed one.
    const SoakHistory failed = readHistory({line("ws-0-1.log", "intent 100 a1 save Adresar 3"),
                                            line("ws-0-1.log", "commit 110 a1 3 10 telefon=1"),
                                            line("ws-1-1.log", "intent 200 b1 save Adresar 3"),
                                            line("ws-1-1.log", "abandon 210 b1 failed 10")},
                                           {});
    EXPECT_EQ(findLostEdits(failed, holding("Adresar:3", "b1")).size(), 1u);
}

TEST(SoakLostEdits, ABulkRunMayChangeOnlyTheValuesItNames) {
    std::vector<JournalLine> lines = {
        line("ws-0-1.log", "intent 100 a1 save Zasoby 5"),
        line("ws-0-1.log", "commit 110 a1 5 10 nakcena=100.00"),
        line("ws-1-1.log", "intent 105 b1 bulk Zasoby 0 nakcena="),
        line("ws-1-1.log", "commit 300 b1 0 190"),
    };
    const QMap<QString, QString> repriced = {{QStringLiteral("nakcena"), QStringLiteral("101.00")}};
    // The run ended after the save began: its price may stand.
    EXPECT_TRUE(findLostEdits(readHistory(lines, {}), holding("Zasoby:5", "a1", repriced)).empty());
    // A run that ended before the save began cannot have changed what the save wrote.
    lines[2] = line("ws-1-1.log", "intent 10 b1 bulk Zasoby 0 nakcena=");
    lines[3] = line("ws-1-1.log", "commit 50 b1 0 40");
    EXPECT_EQ(findLostEdits(readHistory(lines, {}), holding("Zasoby:5", "a1", repriced)).size(),
              1u);
}

TEST(SoakDoubleGrants, OverlappingLocksOfTwoWorkstations) {
    const SoakHistory history = readHistory(
        {line("ws-0-1.log", "take 100 Nabidky 7"), line("ws-0-1.log", "release 200 Nabidky 7"),
         line("ws-1-1.log", "take 210 Nabidky 7"), line("ws-1-1.log", "release 300 Nabidky 7"),
         // Another record at the same time is no conflict.
         line("ws-2-1.log", "take 150 Adresar 7"), line("ws-2-1.log", "release 250 Adresar 7"),
         line("ws-2-1.log", "take 290 Nabidky 7"), line("ws-2-1.log", "release 320 Nabidky 7")},
        {});
    const std::vector<DoubleGrant> found = findDoubleGrants(history.locks);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].record, QStringLiteral("Nabidky:7"));
    EXPECT_EQ(found[0].second, QStringLiteral("ws-2-1.log"));
}

TEST(SoakDoubleGrants, AKilledHolderHeldItsLockUntilItsProcessEnded) {
    const std::vector<JournalLine> workstations = {
        line("ws-0-1.log", "take 100 Zasoby 5"),
        line("ws-1-1.log", "take 400 Zasoby 5"),
        line("ws-1-1.log", "release 500 Zasoby 5"),
    };
    const auto endedAt = [](const char* stamp) {
        return std::vector<JournalLine>{line("supervisor.sup", "started 1 ws-0-1.log"),
                                        {QStringLiteral("supervisor.sup"),
                                         {QStringLiteral("ended"), QString::fromLatin1(stamp),
                                          QStringLiteral("ws-0-1.log"), QStringLiteral("1")}}};
    };
    const SoakHistory killedFirst = readHistory(workstations, endedAt("350"));
    EXPECT_EQ(killedFirst.kills, 1);
    EXPECT_TRUE(findDoubleGrants(killedFirst.locks).empty());
    // The other workstation was granted the lock while the killed one still lived.
    EXPECT_EQ(findDoubleGrants(readHistory(workstations, endedAt("450")).locks).size(), 1u);
}

TEST(SoakFigures, CountsSavesRefusalsAndTheLongestWait) {
    const SoakHistory history = readHistory({line("ws-0-1.log", "intent 100 a1 create Nabidky 0"),
                                             line("ws-0-1.log", "commit 110 a1 9 35 celkem=1.00"),
                                             line("ws-0-1.log", "intent 200 a2 save Nabidky 9"),
                                             line("ws-0-1.log", "abandon 210 a2 busy 8001"),
                                             line("ws-1-1.log", "intent 300 b1 delete Nabidky 9"),
                                             line("ws-1-1.log", "abandon 310 b1 refused 3"),
                                             line("ws-1-1.log", "intent 400 b2 save Adresar 4")},
                                            {});
    SoakFigures figures;
    countOperations(history, figures);
    EXPECT_EQ(figures.saves, 1);
    EXPECT_EQ(figures.busyRefusals, 1);
    EXPECT_EQ(figures.otherFailures, 0);
    EXPECT_EQ(figures.longestWaitMs, 8001);
    // The create's ID came with its confirmation.
    EXPECT_EQ(history.operations[0].recordKey(), QStringLiteral("Nabidky:9"));
}

TEST(SoakLostEdits, NewRecordsAreFoundByTheIdTheirConfirmationNamed) {
    const std::vector<JournalLine> lines = {
        line("ws-0-1.log", "intent 100 a1 create Zasoby 0"),
        line("ws-0-1.log", "commit 110 a1 41 10 nakcena=12.00"),
        // Killed before its confirmation: nobody knows its ID, nobody misses it.
        line("ws-0-2.log", "intent 200 b1 create Zasoby 0"),
    };
    const SoakHistory history = readHistory(lines, {});
    const QMap<QString, QString> price = {{QStringLiteral("nakcena"), QStringLiteral("12.00")}};
    StoredRecords both = holding("Zasoby:41", "a1", price);
    both.insert({QStringLiteral("Zasoby:42"), {QStringLiteral("b1"), {}}});
    EXPECT_TRUE(findLostEdits(history, both).empty());
    // The confirmed new item is gone although nobody deleted it.
    const std::vector<LostEdit> lost =
        findLostEdits(history, {{QStringLiteral("Zasoby:42"), {QStringLiteral("b1"), {}}}});
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].record, QStringLiteral("Zasoby:41"));
}

TEST(SoakDoubleGrants, ALockNeverGivenBackByAProcessNeverSeenToEndLastsForever) {
    // A journal whose process the supervisor did not see end: its lock is taken to be held on.
    const SoakHistory history = readHistory({line("ws-0-1.log", "take 100 Adresar 2"),
                                             line("ws-1-1.log", "take 900000 Adresar 2"),
                                             line("ws-1-1.log", "release 900100 Adresar 2")},
                                            {line("supervisor.sup", "started 1 ws-0-1.log"),
                                             line("supervisor.sup", "started 2 ws-1-1.log"),
                                             line("supervisor.sup", "ended 900200 ws-1-1.log 0")});
    EXPECT_EQ(history.workstationsStarted, 2);
    EXPECT_EQ(history.kills, 0);
    EXPECT_EQ(findDoubleGrants(history.locks).size(), 1u);
}

// The soak's exit code: it fails on any finding, and a soak that saved nothing proves nothing.
TEST(SoakFigures, AnyFindingFailsTheRun) {
    SoakFigures sound;
    sound.saves = 1;
    EXPECT_TRUE(sound.passed());
    EXPECT_TRUE(sound.text().contains(QStringLiteral("passed")));
    // Busy refusals and long waits are figures, not faults.
    sound.busyRefusals = 3;
    sound.longestWaitMs = 9000;
    EXPECT_TRUE(sound.passed());
    const std::vector<std::function<void(SoakFigures&)>> findings = {
        [](SoakFigures& f) { f.saves = 0; },
        [](SoakFigures& f) { f.lostEdits = 1; },
        [](SoakFigures& f) { f.doubleGrants = 1; },
        [](SoakFigures& f) { f.integrityProblems << QStringLiteral("page 7 never used"); },
        [](SoakFigures& f) { f.inconsistentOffers = 1; },
        [](SoakFigures& f) { f.duplicateNumbers = 1; },
        [](SoakFigures& f) { f.otherFailures = 1; },
    };
    for (std::size_t i = 0; i < findings.size(); ++i) {
        SoakFigures figures = sound;
        findings[i](figures);
        EXPECT_FALSE(figures.passed()) << "finding " << i;
        EXPECT_TRUE(figures.text().contains(QStringLiteral("FAILED"))) << "finding " << i;
    }
}

} // namespace
} // namespace orvento::soak
