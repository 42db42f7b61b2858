// A supplier's price list of 100,000 rows imported into a catalogue of 100,000 items, half of the
// rows finding their item by catalogue number (in another letter case), half creating one. Times
// the first phase (reading, matching, the rows stored aside), its one unit of work and the
// recomputation, then the process's peak memory, each beside its target.
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchStore.h"
#include "bench/support/QuietInteraction.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/DemoCatalogue.h"
#include "core/AgendaInit.h"
#include "core/SilentInteraction.h"
#include "import/ImportProtocol.h"
#include "import/PriceListImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

using namespace orvento;
using namespace orvento::bench;

namespace {

// The price list of a large supplier must be in within ten seconds, on either engine.
constexpr double kWholeImportTargetMs = 10000;

const QStringList kColumns{QStringLiteral("Kat"), QStringLiteral("Popis"), QStringLiteral("Nakup"),
                           QStringLiteral("Cena"), QStringLiteral("DPH")};

void mapColumn(import::ImportDefinition& d, import::PriceListField field, const QString& column) {
    import::FieldMapping& m = d.priceList.field(field);
    m.imported = true;
    m.column = column;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    int exitCode = 0;
    core::Database* db = prepareBenchStore(argc, argv, folder, QStringLiteral("Bench"), &exitCode);
    if (!db)
        return exitCode;
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QuietInteraction ui;
    core::ensureFirstSheet(*db, ui);
    const qint64 sheet = catalogue::readSheets(*db).front().id;
    const qint64 group = catalogue::basicGroupOf(*db, sheet);
    if (!catalogue::generateItems(*db, sheet, group, items, 11)) {
        std::fprintf(stderr, "generating items failed\n");
        return 1;
    }
    if (!settleServerStatistics(*db))
        return 1;

    // Every second row names a stored item's catalogue number in small letters; the others are
    // new. The run reads them from a text file through the program's own reader.
    const QString path = folder.filePath(QStringLiteral("cenik.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QTextStream csv(&file);
    csv << kColumns.join(QLatin1Char(';')) << '\n';
    QSqlQuery stored = db->select(QStringLiteral("SELECT Katalog FROM Zasoby ORDER BY ID"));
    for (int i = 0; i < items && stored.next(); ++i) {
        const QString katalog = i % 2 == 0 ? stored.value(0).toString().toLower()
                                           : QStringLiteral("N%1").arg(i, 7, 10, QLatin1Char('0'));
        const QString popis = QStringLiteral("Dodávka %1 – kabel CYKY 3×2,5").arg(i);
        const double purchase = 10.0 + (i % 977) * 1.25;
        csv << katalog << ';' << popis << ';' << purchase << ';' << purchase * 1.3 << ";21\n";
    }
    stored.finish();
    csv.flush();
    file.close();

    import::ImportDefinition d;
    d.sourceKind = core::sources::SourceKind::Csv;
    d.fileName = path;
    d.compare = true;
    d.refField = QStringLiteral("KATALOG");
    d.refColumn = QStringLiteral("Kat");
    d.priceList.newItemsSheet = sheet;
    d.priceList.newItemsGroup = group;
    mapColumn(d, import::PriceListField::Katalog, QStringLiteral("Kat"));
    mapColumn(d, import::PriceListField::Popis, QStringLiteral("Popis"));
    mapColumn(d, import::PriceListField::NakCena, QStringLiteral("Nakup"));
    mapColumn(d, import::PriceListField::ProdCena, QStringLiteral("Cena"));
    mapColumn(d, import::PriceListField::SazbaDPH, QStringLiteral("DPH"));
    d.priceList.setRecompute = true;
    d.priceList.recompute = import::RecomputeChoice::Yes;

    import::ImportProtocol protocol;
    const import::SourceOpener opener = import::defaultSourceOpener();
    import::PriceListImport run(*db, ui, protocol, opener, {});
    const int result = run.run(d);
    if (result != import::PriceListImport::Ok) {
        std::fprintf(stderr, "%s\n", qPrintable(protocol.toPlainText()));
        return 1;
    }
    std::printf(
        "%lld rows: %lld added, %lld updated\n", static_cast<long long>(run.counts().sourceRows),
        static_cast<long long>(run.counts().added), static_cast<long long>(run.counts().updated));
    const auto& t = run.timings();
    report("phase I: read, match, store aside", static_cast<double>(t.phaseOne), "ms", 3000);
    std::printf("  of which the rows stored aside: %lld ms\n", static_cast<long long>(t.aside));
    report("its unit of work", static_cast<double>(t.unit), "ms", 1000);
    report("phase II: recompute in slices", static_cast<double>(t.phaseTwo), "ms", 3000);
    report("the whole import", static_cast<double>(t.phaseOne + t.unit + t.phaseTwo), "ms",
           kWholeImportTargetMs);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0, "MB", 200);
    return 0;
}
