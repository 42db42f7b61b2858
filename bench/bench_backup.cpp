// A backup and a restore of a large agenda (100,000 catalogue items, 10,000 offers with their
// items), each timed once with the peak memory of the process, and the sizes of the database and
// of its archive.

#include "backup/BackupCreation.h"
#include "backup/BackupRestore.h"
#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/QuietInteraction.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/TemplateDatabases.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/resource.h>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kItems = 100000;
constexpr int kOffers = 10000;
constexpr int kItemsPerOffer = 10;
constexpr double kTargetMs = 15000.0;
constexpr double kMemoryTargetMb = 100.0;
constexpr double kKibPerMib = 1024.0;
constexpr double kBytesPerMib = 1024.0 * 1024.0;

double peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / kKibPerMib;
}

bool fill(core::Database& db) {
    if (!db.beginTransaction())
        return false;
    {
        core::Statement item(
            db, QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, Katalog, NakCena, "
                               "PrCenaBDPH, SazbaDPH) VALUES (1, :g, :p, :k, :n, :c, 21)"));
        for (int i = 0; i < kItems; ++i) {
            if (!item.exec(
                    {{QStringLiteral("g"), 1 + i % 50},
                     {QStringLiteral("p"), QStringLiteral("Položka ceníku %1").arg(i)},
                     {QStringLiteral("k"), QStringLiteral("K%1").arg(i, 7, 10, QLatin1Char('0'))},
                     {QStringLiteral("n"), 10.0 + i % 97},
                     {QStringLiteral("c"), 15.0 + i % 113}}))
                return false;
        }
        core::Statement offer(db, QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, AdrNazev, "
                                                 "Celkem) VALUES (:d, :p, :a, :c)"));
        core::Statement line(db, QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, "
                                                "CisloKarty, Popis, Katalog) VALUES (:n, :o, :k, "
                                                ":p, :c)"));
        for (int o = 1; o <= kOffers; ++o) {
            if (!offer.exec(
                    {{QStringLiteral("d"), QStringLiteral("NB%1").arg(o, 5, 10, QLatin1Char('0'))},
                     {QStringLiteral("p"), QStringLiteral("Nabídka %1").arg(o)},
                     {QStringLiteral("a"), QStringLiteral("Odběratel %1").arg(o % 700)},
                     {QStringLiteral("c"), 1000.0 + o}}))
                return false;
            for (int i = 0; i < kItemsPerOffer; ++i) {
                const int card = (o * kItemsPerOffer + i) % kItems + 1;
                if (!line.exec(
                        {{QStringLiteral("n"), o},
                         {QStringLiteral("o"), i + 1},
                         {QStringLiteral("k"), card},
                         {QStringLiteral("p"), QStringLiteral("Položka ceníku %1").arg(card)},
                         {QStringLiteral("c"), QStringLiteral("K%1").arg(card)}}))
                    return false;
            }
        }
    }
    return db.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    core::Database* agenda = openBenchAgenda(dir);
    if (!agenda || !fill(*agenda))
        return 1;
    core::ProgramState& state = core::programState();
    const QString global = dir.filePath(QStringLiteral("Global.MDB"));
    QString error;
    if (!core::buildDatabaseFile(global, core::DatabaseKind::Global, false, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    state.folders.work = dir.filePath(QStringLiteral("work/"));
    const QString archives = dir.filePath(QStringLiteral("zalohy/"));
    QDir().mkpath(archives);
    agenda->close();

    QuietInteraction ui;
    std::printf("Agenda with %d items and %d offers of %d items\n", kItems, kOffers,
                kItemsPerOffer);
    std::printf("  database: %.1f MB\n",
                static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("Bench.MDB"))).size()) /
                    kBytesPerMib);

    backup::BackupCreation creation(*state.store, ui);
    backup::BackupResult made = backup::BackupResult::Failed;
    const double backupMs = millisecondsOf([&] { made = creation.create({archives, true}); });
    if (made != backup::BackupResult::Made)
        return 1;
    std::printf("  archive: %.1f MB\n",
                static_cast<double>(QFileInfo(creation.archivePath()).size()) / kBytesPerMib);
    report("backup with the shared data", backupMs, kTargetMs);

    backup::BackupRestore restoring(*state.store, ui);
    bool restored = false;
    const double restoreMs = millisecondsOf([&] {
        restored = restoring.restore(creation.archivePath(), {true, true, true}, state.agendaId(),
                                     state.folders.print);
    });
    if (!restored)
        return 1;
    report("restore with its checks", restoreMs, kTargetMs);
    report("peak memory", peakMemoryMb(), "MB", kMemoryTargetMb, peakMemoryMb() < kMemoryTargetMb);
    return 0;
}
