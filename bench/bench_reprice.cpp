// A catalogue of 100,000 items in price groups with levels: the plain recomputation of every item,
// the purchase price multiplied by 1.10 through both phases, and a bulk update adding an
// identifier, each over the whole catalogue while a second connection saves an item every 50 ms.
// Every figure stands beside its target: the run times, the longest stretch in which "Přerušit"
// went unseen, the longest wait of the other connection's save and the peak memory.
#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/QuietInteraction.h"
#include "catalogue/BulkItemUpdateRun.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/DemoCatalogue.h"
#include "catalogue/RepricingRun.h"
#include "core/AgendaInit.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <ctime>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kPriceGroups = 20;

// The processor time of this process so far: on a loaded machine the wall-clock figures wait for
// a core, this one says how much work a run was.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
constexpr auto kOtherSavePeriod = std::chrono::milliseconds(50);

// Another workstation saving one item over and over; the longest of its saves.
class OtherWorkstation {
public:
    explicit OtherWorkstation(QString path)
        : m_path(std::move(path)) {}
    void start() {
        m_stop = false;
        m_longest = 0;
        m_failed = 0;
        m_thread = std::thread([this] { work(); });
    }
    void stop() {
        m_stop = true;
        m_thread.join();
    }
    double longestMs() const { return m_longest; }
    int failed() const { return m_failed; }

private:
    void work() {
        core::Database db(QStringLiteral("bench-other-workstation"));
        if (!db.open(m_path)) {
            ++m_failed;
            return;
        }
        int round = 0;
        while (!m_stop) {
            const double ms = millisecondsOf([&] {
                if (!db.execute(QStringLiteral("UPDATE Zasoby SET Poznamka = :P WHERE ID = 1"),
                                {{QStringLiteral("P"), QString::number(++round)}}))
                    ++m_failed;
            });
            m_longest = std::max(m_longest.load(), ms);
            std::this_thread::sleep_for(kOtherSavePeriod);
        }
        db.close();
    }

    QString m_path;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<double> m_longest{0};
    std::atomic<int> m_failed{0};
};

// The working page: the longest time between two looks at the stop request, and when each phase
// began.
struct WatchedDisplay {
    QElapsedTimer sinceLook;
    double longestGap = 0;
    QElapsedTimer run;
    double phaseTwoAt = -1;

    catalogue::RunDisplay display() {
        sinceLook.start();
        run.start();
        return {[this](const QString& text) {
                    if (text.startsWith(QStringLiteral("II.")))
                        phaseTwoAt = elapsedMs(run);
                },
                {},
                [this](int, int) {
                    look();
                }};
    }
    void look() {
        longestGap = std::max(longestGap, elapsedMs(sinceLook));
        sinceLook.restart();
    }
};

// The looks at "Přerušit" from inside a unit of work reach the interaction, not the display.
struct StopWatchingInteraction : QuietInteraction {
    WatchedDisplay* watched = nullptr;
    void keepStopAlive() override {
        if (watched)
            watched->look();
    }
};

bool addPriceGroups(core::Database& db) {
    core::Transaction unit(db);
    for (const char* level : {"VO", "MO"})
        if (!db.execute(QStringLiteral("INSERT INTO CenHlad (Zkratka, Popis) VALUES (:Z, :Z)"),
                        {{QStringLiteral("Z"), QString::fromLatin1(level)}}))
            return false;
    for (int g = 0; g < kPriceGroups; ++g) {
        const QString code = QStringLiteral("G%1").arg(g);
        const auto id = db.insertRow(
            QStringLiteral("INSERT INTO CenSkup (Zkratka, Popis, Vlastni) VALUES (:Z, :Z, :V)"),
            {{QStringLiteral("Z"), code}, {QStringLiteral("V"), g % 2 == 0}});
        if (!id)
            return false;
        for (const char* level : {"VO", "MO"})
            if (!db.execute(
                    QStringLiteral("INSERT INTO CenSkupPol (IDCenSkup, Zkratka, Prepocitat, "
                                   "TypHodnoty, Hodnota) VALUES (:G, :Z, 1, 0, 10)"),
                    {{QStringLiteral("G"), *id},
                     {QStringLiteral("Z"), QString::fromLatin1(level)}}))
                return false;
    }
    if (!db.execute(
            QStringLiteral("UPDATE Zasoby SET CenSkupina = 'G' || (ID % %1)").arg(kPriceGroups)))
        return false;
    return unit.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    printLoadAverage();
    QTemporaryDir folder;
    core::Database* db = openBenchAgenda(folder);
    if (!db)
        return 1;
    StopWatchingInteraction ui;
    core::ensureFirstSheet(*db, ui);
    const qint64 sheet = catalogue::readSheets(*db).front().id;
    if (!catalogue::generateItems(*db, sheet, catalogue::basicGroupOf(*db, sheet), items, 7) ||
        !addPriceGroups(*db)) {
        std::fprintf(stderr, "preparing the catalogue failed: %s\n", qPrintable(db->lastError()));
        return 1;
    }
    std::printf("%d items in %d price groups with two levels each\n", items, kPriceGroups);

    OtherWorkstation other(db->filePath());
    double longestGap = 0;
    double longestOtherSave = 0;
    const catalogue::RunSelection everything;
    const auto timed = [&](const char* what, double target, const auto& work) {
        WatchedDisplay watched;
        ui.watched = &watched;
        other.start();
        catalogue::RunEnd end = catalogue::RunEnd::Failed;
        const double cpuBefore = cpuMs();
        const double ms = millisecondsOf([&] { end = work(watched.display()); });
        const double cpu = cpuMs() - cpuBefore;
        other.stop();
        if (end != catalogue::RunEnd::Finished)
            std::fprintf(stderr, "%s did not finish\n", what);
        report(what, ms, target);
        std::printf("  processor time of it %.1f ms\n", cpu);
        ui.watched = nullptr;
        longestGap = std::max(longestGap, watched.longestGap);
        longestOtherSave = std::max(longestOtherSave, other.longestMs());
        return watched.phaseTwoAt;
    };

    timed("plain recomputation of every item", 3000, [&](catalogue::RunDisplay display) {
        return catalogue::RepricingRun(*db, ui, std::move(display)).run(everything, std::nullopt);
    });
    catalogue::RepricingSettings coefficient;
    coefficient.purchasePrice = {true, catalogue::ValueAction::Multiply, 1.10};
    const double phaseOne =
        timed("purchase price x 1.10, both phases", 3000, [&](catalogue::RunDisplay display) {
            return catalogue::RepricingRun(*db, ui, std::move(display))
                .run(everything, coefficient);
        });
    report("  of it phase I (IDs read, one unit of work)", phaseOne, 1000);
    catalogue::BulkUpdateSettings identifier;
    identifier.identifiersOn = true;
    identifier.identifierAction = catalogue::IdentifierAction::Add;
    identifier.identifiers = QStringLiteral("_AKCE_");
    timed("bulk update adding an identifier", 2000, [&](catalogue::RunDisplay display) {
        return catalogue::BulkItemUpdateRun(*db, ui, std::move(display))
            .run(everything, identifier);
    });

    report("longest stretch without a look at \"Přerušit\"", longestGap, 200);
    report("longest save of the other connection", longestOtherSave, 1000);
    if (other.failed() > 0)
        std::printf("the other connection's saves failed %d times\n", other.failed());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0, "MB", 200);
    return 0;
}
