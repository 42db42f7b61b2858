// The data path under the load of a big catalogue: bulk inserts, updates with change stamps,
// look-ups by catalogue number and lists in Czech order over 100,000 items, and the record locks
// a card takes and lets go. Prints each figure beside its target.

#include "bench/support/BenchFigures.h"
#include "bench/support/BenchStore.h"
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RowBatch.h"
#include "core/TemplateDatabases.h"
#include "services/ChangeStamps.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kItems = 100'000;
constexpr int kLockCycles = 1000;

QString itemName(std::mt19937& random) {
    static const QStringList nouns = {
        QStringLiteral("Šroub"),   QStringLiteral("Čep"),      QStringLiteral("Hřebík"),
        QStringLiteral("Chránič"), QStringLiteral("Kabel"),    QStringLiteral("Žárovka"),
        QStringLiteral("Řetěz"),   QStringLiteral("Ústředna"), QStringLiteral("Zásuvka"),
        QStringLiteral("Deska"),   QStringLiteral("Monitor"),  QStringLiteral("čistič")};
    static const QStringList adjectives = {QStringLiteral("zinkovaný"), QStringLiteral("černý"),
                                           QStringLiteral("ohebný"),    QStringLiteral("chromový"),
                                           QStringLiteral("nerezový"),  QStringLiteral("dvojitý")};
    std::uniform_int_distribution<int> n(0, static_cast<int>(nouns.size()) - 1);
    std::uniform_int_distribution<int> a(0, static_cast<int>(adjectives.size()) - 1);
    std::uniform_int_distribution<int> size(1, 9999);
    return QStringLiteral("%1 %2 %3")
        .arg(nouns[n(random)], adjectives[a(random)])
        .arg(size(random));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    int exitCode = 0;
    core::Database* agenda = prepareBenchStore(argc, argv, dir, QStringLiteral("Bench"), &exitCode);
    if (!agenda)
        return exitCode;
    core::Database& db = *agenda;

    std::mt19937 random(7);
    std::printf("Data layer, %d items\n", kItems);

    // The rows are made up front, so that the figure is the data layer's alone.
    QStringList names;
    QStringList numbers;
    for (int i = 0; i < kItems; ++i) {
        names << itemName(random);
        numbers << QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'));
    }
    const double inserts = millisecondsOf([&] {
        core::Transaction unit(db);
        core::Statement insert(db, QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, "
                                                  "Katalog, PrCenaBDPH) VALUES (1, :Skupina, "
                                                  ":Popis, :Katalog, :Cena)"));
        for (int i = 0; i < kItems; ++i)
            insert.exec(
                {{QStringLiteral("Skupina"), 1 + i % 40},
                 {QStringLiteral("Popis"), itemName(random)},
                 {QStringLiteral("Katalog"), QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'))},
                 {QStringLiteral("Cena"), (i % 5000) / 10.0}});
        unit.commit();
    });
    report("100,000 inserts in one unit (six indexes kept)", inserts, "ms", 1000, inserts <= 1000);

    auto updates = [&] {
        return millisecondsOf([&] {
            core::Transaction unit(db);
            core::Statement update(
                db, QStringLiteral("UPDATE Zasoby SET PrCenaBDPH = :Cena WHERE ID = :ID"));
            for (int i = 1; i <= 10'000; ++i)
                update.exec({{QStringLiteral("Cena"), i / 3.0}, {QStringLiteral("ID"), i * 7}});
            unit.commit();
        });
    };
    // Best of three each, taken in turns, so that other work on the machine weighs on neither.
    updates(); // the first run reads the pages into the cache
    double withoutStamps = 1e9;
    double withStamps = 1e9;
    for (int round = 0; round < 3; ++round) {
        db.setWriteObserver({});
        withoutStamps = std::min(withoutStamps, updates());
        db.setWriteObserver(services::stampAfterWrite);
        withStamps = std::min(withStamps, updates());
    }
    report("10,000 updates with change stamps", withStamps, "ms", withoutStamps * 1.2,
           withStamps <= withoutStamps * 1.2);
    std::printf("%-58s %10.1f ms\n", "  (the same without stamps)", withoutStamps);

    const double lookups = millisecondsOf([&] {
        core::Statement find(db, QStringLiteral("SELECT ID, Popis FROM Zasoby WHERE Katalog = :K"));
        for (int i = 0; i < 1000; ++i) {
            find.exec({{QStringLiteral("K"),
                        QStringLiteral("K%1").arg(i * 97, 6, 10, QLatin1Char('0'))}});
            find.next();
        }
    });
    report("1,000 look-ups by catalogue number", lookups, "ms", 50, lookups <= 50);

    const double first100 = millisecondsOf([&] {
        db.selectWindow(QStringLiteral("SELECT ID, Popis, Katalog, PrCenaBDPH FROM Zasoby WHERE "
                                       "Sklad = :S ORDER BY Popis COLLATE CZECH, ID"),
                        {{QStringLiteral("S"), 1}}, 0, 100);
    });
    report("first 100 of 100,000 rows in Czech order", first100, "ms", 20, first100 <= 20);

    auto scan = [&](const QString& sql) {
        return millisecondsOf([&] {
            QSqlQuery q = db.select(sql, {{QStringLiteral("S"), 1}});
            int n = 0;
            while (q.next())
                n += q.value(0).toString().size() > 0 ? 1 : 0;
            if (n != kItems)
                std::fprintf(stderr, "scan read %d rows\n", n);
        });
    };
    const double binary =
        scan(QStringLiteral("SELECT Popis FROM Zasoby WHERE Sklad = :S ORDER BY Popis"));
    const double czech = scan(
        QStringLiteral("SELECT Popis FROM Zasoby WHERE Sklad = :S ORDER BY Popis COLLATE CZECH"));
    report("full scan in Czech order", czech, "ms", binary * 1.5, czech <= binary * 1.5);
    std::printf("%-58s %10.1f ms\n", "  (the same in binary order)", binary);

    // A card takes its record's lock when it opens and lets go when it closes; one card after
    // another over the same table, as a person leafing through the items.
    core::DataStore& store = *core::programState().store;
    int refused = 0;
    const double locks = millisecondsOf([&] {
        for (int i = 1; i <= kLockCycles; ++i) {
            core::HeldLock lock;
            if (!store.takeRecordLock({core::programState().agenda, QStringLiteral("Zasoby"), i},
                                      lock))
                ++refused;
            lock.release();
        }
    });
    if (refused > 0)
        std::fprintf(stderr, "%d record locks refused\n", refused);
    report("1,000 record locks taken and released", locks, "ms", 1000);

    // The same number of new rows as bulk work writes them (imports, copies between engines):
    // many to a statement, which on a server is one round trip for them all. Last, so that the
    // figures above are taken over the first 100,000 rows alone.
    std::vector<core::RowValues> rows;
    rows.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        rows.push_back(
            {1, 1 + i % 40, names[i], QStringLiteral("B") + numbers[i], (i % 5000) / 10.0});
    const double batched = millisecondsOf([&] {
        core::Transaction unit(db);
        core::RowBatchWriter writer(db, QStringLiteral("Zasoby"),
                                    {QStringLiteral("Sklad"), QStringLiteral("Skupina"),
                                     QStringLiteral("Popis"), QStringLiteral("Katalog"),
                                     QStringLiteral("PrCenaBDPH")},
                                    core::RowBatchWriter::Mode::Insert);
        writer.write(rows);
        unit.commit();
    });
    // Into a table twice the size, so beside the first figure, not against its target.
    std::printf("%-58s %10.1f ms\n", "100,000 more inserts in one unit, 500 to a statement",
                batched);
    db.close();
    return 0;
}
