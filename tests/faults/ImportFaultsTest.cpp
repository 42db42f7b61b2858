// The price-list, address-book and Money imports with each of their statements failing in turn. A
// price-list run is all or nothing up to its recomputation, whose failure leaves the rows it did
// not reach marked unfinished; an address-book run keeps every firm it committed, each whole, and
// a Money run every offer it committed, each with all of its items.
// Every faulted run says so in red in its protocol (or in a message) and the same run then
// brings the data to what a clean run leaves.
#include "FaultSweep.h"

#include "import/AddressBookImportAgenda.h"
#include "import/MoneyImportAgenda.h"
#include "import/PriceListImportAgenda.h"

#include <QSqlQuery>

using namespace orvento;
using namespace orvento::testsupport;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kItemTables{QStringLiteral("Zasoby")};
const QStringList kFirmTables{QStringLiteral("Adresar"), QStringLiteral("Kontakty")};

// A red protocol line or a message, in Czech, and no line of a finished run.
void expectToldInProtocol(const import::ImportProtocol& protocol, const ScriptedInteraction& ui) {
    bool red = false;
    for (const auto& line : protocol.lines())
        red = red || (line.style == Style::Red && line.text.startsWith(QStringLiteral("!CHYBA")));
    EXPECT_TRUE(red || toldFailure(ui)) << linesOf(protocol).join(u'\n').toStdString();
    EXPECT_FALSE(!protocol.lines().empty() &&
                 protocol.lines().back().text.startsWith(QStringLiteral("Import dat - Dokončeno")));
}

class PriceListImportFaultsTest : public PriceListImportAgenda {};

TEST_F(PriceListImportFaultsTest, UpdatesAndNewItemsGoInWholeOrStayMarkedUnfinished) {
    for (int i = 1; i <= 3; ++i)
        addItemWith(QStringLiteral("K%1").arg(i), QStringLiteral("původní %1").arg(i));
    auto d = definition();
    compareByKatalog(d);
    map(d, import::PriceListField::Popis, QStringLiteral("Popis"));
    map(d, import::PriceListField::NakCena, QStringLiteral("Cena"));
    const QStringList columns{QStringLiteral("Kat"), QStringLiteral("Popis"),
                              QStringLiteral("Cena")};
    const std::vector<core::sources::Row> rows{
        {txt(QStringLiteral("k1")), txt(QStringLiteral("nová 1")), num(10)},
        {txt(QStringLiteral("K2")), txt(QStringLiteral("nová 2")), num(20)},
        {txt(QStringLiteral("N1")), txt(QStringLiteral("nová 3")), num(30)},
        {txt(QStringLiteral("N2")), txt(QStringLiteral("nová 4")), num(40)}};

    const SavedDatabases saved({{&db(), db().filePath()}});
    const DataSnapshot before = snapshotOf(db(), kItemTables);
    DataSnapshot after;
    int result = import::ImportRun::Ok;
    auto prepare = [&] {
        saved.putBack();
        ui.clear();
        protocol.clear();
    };
    auto importRows = [&] {
        result = run(d, columns, rows);
        return result == import::ImportRun::Ok;
    };
    auto check = [&](const FaultedRun& faulted) {
        const DataSnapshot now = snapshotOf(db(), kItemTables);
        if (faulted.reportedSuccess) {
            EXPECT_EQ(now, after);
        } else {
            expectToldInProtocol(protocol, ui);
            if (result == import::ImportRun::Failed) {
                EXPECT_EQ(now, before) << now;
            } else {
                // Recomputation failed: every row there, the ones it did not reach marked.
                ASSERT_EQ(result, import::ImportRun::RecomputeFailed);
                ASSERT_EQ(now.tables.at(QStringLiteral("Zasoby")).size(),
                          after.tables.at(QStringLiteral("Zasoby")).size());
                QSqlQuery marked =
                    db().select(QStringLiteral("SELECT ID, Chyba FROM Zasoby ORDER BY ID"));
                while (marked.next()) {
                    const qint64 id = marked.value(0).toLongLong();
                    if (now.tables.at(QStringLiteral("Zasoby")).at(id) !=
                        after.tables.at(QStringLiteral("Zasoby")).at(id)) {
                        EXPECT_NE(marked.value(1).toInt(), 0) << "item " << id;
                    }
                }
            }
        }
        ui.clear();
        protocol.clear();
        ASSERT_TRUE(importRows()) << linesOf(protocol).join(u'\n').toStdString();
        EXPECT_EQ(snapshotOf(db(), kItemTables), after);
    };
    const int statements = sweepStatements(
        prepare, importRows, [&] { after = snapshotOf(db(), kItemTables); }, check);
    EXPECT_GE(statements, 5);
}

class AddressBookImportFaultsTest : public AddressBookImportAgenda {};

TEST_F(AddressBookImportFaultsTest, EveryCommittedFirmIsWholeAndTheRestComesWithTheNextRun) {
    addFirm(QStringLiteral("Stará firma"), QStringLiteral("10000002"));
    auto d = definition();
    compareBy(d, QStringLiteral("ICO"), import::AddressField::ICOAdr, QStringLiteral("ICO"));
    map(d, import::AddressField::NazevAdr, QStringLiteral("Firma"));
    const QStringList columns{QStringLiteral("Firma"), QStringLiteral("ICO")};
    std::vector<core::sources::Row> rows;
    for (int i = 1; i <= 5; ++i)
        rows.push_back(
            {txt(QStringLiteral("Firma %1").arg(i)), txt(QStringLiteral("%1").arg(10000000 + i))});
    constexpr std::size_t kRowsPerUnit = 2;

    const SavedDatabases saved({{&db(), db().filePath()}});
    const DataSnapshot before = snapshotOf(db(), kFirmTables);
    DataSnapshot after;
    DataSnapshot afterUnmarked;
    auto prepare = [&] {
        saved.putBack();
        ui.clear();
        protocol.clear();
    };
    auto importRows = [&] {
        return runInUnits(d, columns, rows, kRowsPerUnit) == import::AddressBookImport::Ok;
    };
    auto check = [&](const FaultedRun& faulted) {
        const DataSnapshot now = snapshotOf(db(), kFirmTables);
        if (faulted.reportedSuccess) {
            EXPECT_EQ(now, after);
        } else {
            expectToldInProtocol(protocol, ui);
            EXPECT_TRUE(now.eachRowBeforeOrAfter(before, after)) << now;
        }
        ui.clear();
        protocol.clear();
        ASSERT_TRUE(importRows()) << linesOf(protocol).join(u'\n').toStdString();
        // A firm the failed run added is found again now, and takes this run's mark.
        EXPECT_EQ(snapshotOf(db(), kFirmTables, {QStringLiteral("Znacka")}), afterUnmarked);
    };
    const int statements = sweepStatements(
        prepare, importRows,
        [&] {
            after = snapshotOf(db(), kFirmTables);
            afterUnmarked = snapshotOf(db(), kFirmTables, {QStringLiteral("Znacka")});
        },
        check);
    EXPECT_GE(statements, 5);
}

class MoneyImportFaultsTest : public MoneyImportAgenda {};

TEST_F(MoneyImportFaultsTest, EveryCommittedOfferHasAllOfItsItemsAndTheRestComesWithTheNextRun) {
    for (int n = 1; n <= 3; ++n) {
        addDocument({{"Doklad", QStringLiteral("N-%1").arg(n)}, {"Cislo", double(n)}});
        for (int line = 1; line <= 2; ++line)
            addItem(n, {{"Popis", QStringLiteral("řádek %1").arg(line)}, {"Poradi", double(line)}});
    }
    const QString text = definitionText(QStringLiteral("ImportPC=False"));
    const QStringList offerTables{QStringLiteral("Nabidky"), QStringLiteral("NabPolozky")};
    const SavedDatabases saved({{&db(), db().filePath()}});
    const DataSnapshot before = snapshotOf(db(), offerTables);
    DataSnapshot after;
    auto prepare = [&] {
        saved.putBack();
        ui.clear();
        protocol.clear();
    };
    auto importDocuments = [&] {
        return run(text) == 0;
    };
    auto itemsOf = [&](qint64 offer) {
        return db()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), offer}})
            .value_or(-1)
            .toInt();
    };
    auto check = [&](const FaultedRun& faulted) {
        const DataSnapshot now = snapshotOf(db(), offerTables);
        if (faulted.reportedSuccess) {
            EXPECT_EQ(now, after);
        } else {
            expectToldInProtocol(protocol, ui);
            EXPECT_TRUE(now.eachRowBeforeOrAfter(before, after)) << now;
            for (const auto& [offer, row] : now.tables.at(QStringLiteral("Nabidky")))
                EXPECT_EQ(itemsOf(offer), 2) << "offer " << offer;
        }
        ui.clear();
        protocol.clear();
        ASSERT_TRUE(importDocuments()) << linesOf(protocol).join(u'\n').toStdString();
        EXPECT_EQ(snapshotOf(db(), offerTables), after);
    };
    const int statements = sweepStatements(
        prepare, importDocuments, [&] { after = snapshotOf(db(), offerTables); }, check);
    EXPECT_GE(statements, 5);
}

} // namespace
