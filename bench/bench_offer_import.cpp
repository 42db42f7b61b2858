// Adding catalogue items to an open offer by the keys in an .xlsx: on a 100,000-item agenda,
// 1,000 and 10,000 keys (with their quantities) added to an open 1,000-item offer. Each figure
// is the median of several rounds, each on the offer opened afresh, printed beside its target.

#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchOffer.h"
#include "bench/support/BenchProgram.h"
#include "bench/support/QuietInteraction.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/DemoCatalogue.h"
#include "core/AgendaInit.h"
#include "core/AppContext.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemImport.h"
#include "tests/offers/NoItemEditor.h"

#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kRounds = 3;
constexpr int kCatalogueItems = 100000;
constexpr int kOfferItems = 1000;

// `count` catalogue numbers spread over the catalogue, with quantities 1 to 9, under a title row.
bool writeOrder(const QString& path, const QStringList& keys, int count) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Objednávka");
    worksheet_write_string(sheet, 0, 0, "Katalog", nullptr);
    worksheet_write_string(sheet, 0, 1, "Počet", nullptr);
    const qsizetype step = std::max<qsizetype>(1, keys.size() / count);
    for (int i = 0; i < count; ++i) {
        const QByteArray key = keys[(i * step) % keys.size()].toUtf8();
        const auto row = static_cast<lxw_row_t>(i + 1);
        worksheet_write_string(sheet, row, 0, key.constData(), nullptr);
        worksheet_write_number(sheet, row, 1, 1 + i % 9, nullptr);
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    core::Database* db = openBenchAgenda(folder);
    if (!db)
        return 1;
    QuietInteraction quiet;
    core::ensureFirstSheet(*db, quiet);
    const qint64 sheetId = catalogue::readSheets(*db).front().id;
    if (!catalogue::generateItems(*db, sheetId, catalogue::basicGroupOf(*db, sheetId),
                                  kCatalogueItems, 11)) {
        std::fprintf(stderr, "generating items failed\n");
        return 1;
    }
    const auto offerId = generateOffer(*db, kOfferItems);
    if (!offerId) {
        std::fprintf(stderr, "generating the offer failed: %s\n", qPrintable(db->lastError()));
        return 1;
    }
    QStringList keys;
    QSqlQuery q = db->select(QStringLiteral("SELECT Katalog FROM Zasoby ORDER BY ID"));
    while (q.next())
        keys << q.value(0).toString();

    Program program;
    // The import adds without the item card; no item dialog opens.
    testsupport::NoItemEditor editor;
    bool allMet = true;
    for (const auto& [count, target] : {std::pair{1000, 1000.0}, std::pair{10000, 5000.0}}) {
        const QString path = folder.filePath(QStringLiteral("objednavka-%1.xlsx").arg(count));
        if (!writeOrder(path, keys, count)) {
            std::fprintf(stderr, "writing the order failed\n");
            return 1;
        }
        std::vector<double> times;
        int added = 0;
        for (int round = 0; round < kRounds; ++round) {
            auto opened = offers::OfferCardLogic::open(program.context,
                                                       core::OfferCardMode::Existing, *offerId);
            if (!opened) {
                std::fprintf(stderr, "the offer did not open\n");
                return 1;
            }
            offers::OfferCardLogic card(program.context, std::move(*opened), editor);
            card.setCurrent(kOfferItems / 2);
            offers::OfferItemImport import(*db, program.ui, card);
            offers::ItemImportSettings& s = import.settings();
            s.source = offers::ItemImportSource::Workbook;
            s.key = offers::ItemImportKey::Katalog;
            s.fileName = path;
            s.titlesInFirstRow = true;
            s.keyColumn = QStringLiteral("1");
            s.countColumn = QStringLiteral("2");
            s.defaultCount = false;
            bool accepted = false;
            times.push_back(millisecondsOf([&] { accepted = import.accept(QString()); }));
            if (!accepted) {
                std::fprintf(stderr, "the import refused the order\n");
                return 1;
            }
            added = card.itemCount() - kOfferItems;
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        const QByteArray what =
            QStringLiteral("add %1 keys from an .xlsx to a 1,000-item offer (%2 added)")
                .arg(count)
                .arg(added)
                .toUtf8();
        report(what.constData(), median, target);
        allMet = allMet && median < target;
    }
    return allMet ? 0 : 1;
}
