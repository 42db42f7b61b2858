// An address-book run that stops: interrupted, a row whose statement fails, a source it cannot
// read. Every address written before the stop stays, whole, and the protocol says what happened.
#include "AddressBookImportAgenda.h"

#include "core/DataStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/ChangeStamps.h"
#include "support/RefusedWrites.h"

#include <QFile>

using namespace orvento;
using namespace orvento::testsupport;
using import::AddressField;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kColumns{QStringLiteral("Firma"), QStringLiteral("ICO")};
const QString kStopQuestion = QStringLiteral("Opravdu chcete přerušit import ?");
const QString kInterrupted = QStringLiteral("Operace přerušena uživatelem!");

class AddressBookImportStopsTest : public AddressBookImportAgenda {
protected:
    static import::ImportDefinition byIco() {
        auto d = definition();
        compareBy(d, QStringLiteral("ICO"), AddressField::ICOAdr, QStringLiteral("ICO"));
        map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
        return d;
    }
    // `count` new firms "Firma 1", "Firma 2", ...
    static std::vector<core::sources::Row> firms(int count) {
        std::vector<core::sources::Row> rows;
        for (int i = 1; i <= count; ++i)
            rows.push_back({txt(QStringLiteral("Firma %1").arg(i)),
                            txt(QStringLiteral("%1").arg(10000000 + i))});
        return rows;
    }
    bool hasSummary() const { return lines().contains(QStringLiteral("• adresář:")); }
};

TEST_F(AddressBookImportStopsTest, StoppingAfterTenRowsKeepsTheTenWithoutASummary) {
    ui.cancelAtStep(10);
    ui.answer(true);
    ASSERT_EQ(runInUnits(byIco(), kColumns, firms(25), 5), import::AddressBookImport::Ok);
    EXPECT_TRUE(interrupted);
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Question, kStopQuestion));
    EXPECT_EQ(firmCount(), 10);
    EXPECT_EQ(counts.added, 10);
    EXPECT_EQ(firmsWith(QStringLiteral("Nazev"), QStringLiteral("Firma 10")).size(), 1u);
    EXPECT_FALSE(hasSummary());
    EXPECT_TRUE(hasLine(kInterrupted, Style::Bold));
    // Nothing waited for the person, nor repainted, while a unit held the write lock.
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
}

TEST_F(AddressBookImportStopsTest, AnsweringNoGoesOnToTheEndInSeveralUnits) {
    ui.cancelAtStep(4);
    ui.answer(false);
    ASSERT_EQ(runInUnits(byIco(), kColumns, firms(11), 2), import::AddressBookImport::Ok);
    EXPECT_FALSE(interrupted);
    EXPECT_EQ(firmCount(), 11);
    EXPECT_TRUE(hasSummary());
    EXPECT_FALSE(lines().contains(kInterrupted));
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
}

TEST_F(AddressBookImportStopsTest, AFailingRowKeepsTheRowsBeforeItAndEndsTheRun) {
    // The engine refuses the fourth firm's statement alone.
    ASSERT_TRUE(testsupport::refuseWrites(
        db(), QStringLiteral("OdmitnoutFirmu"), QStringLiteral("INSERT"), QStringLiteral("Adresar"),
        QStringLiteral("NEW.Nazev = 'Firma 4'"), QStringLiteral("odmítnuto")));
    EXPECT_EQ(run(byIco(), kColumns, firms(6)), import::ImportRun::Failed);
    EXPECT_EQ(firmCount(), 3);
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Error,
                       QStringLiteral("Při ukládání záznamu do \"Adresar\" došlo k chybě: metoda "
                                      "\"Execute\" selhala.")));
    EXPECT_FALSE(hasSummary());
    EXPECT_FALSE(lines().last().startsWith(QStringLiteral("Import dat - Dokončeno")));
}

TEST_F(AddressBookImportStopsTest, AMissingColumnOrFileStopsBeforeAnyWrite) {
    auto d = byIco();
    map(d, AddressField::UliceAdr, QStringLiteral("Ulice"));
    EXPECT_EQ(run(d, kColumns, firms(3)), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA při čtení zdroje pro \"Ulice\": ve zdrojové "
                                       "tabulce není sloupec [Ulice]"),
                        Style::Red));
    d = byIco();
    d.refColumn = QStringLiteral("IC");
    EXPECT_EQ(run(d, kColumns, firms(3)), import::ImportRun::Failed);
    EXPECT_TRUE(
        hasLine(QStringLiteral("!CHYBA při čtení zdroje: ve zdrojové tabulce není sloupec [IC]"),
                Style::Red));
    EXPECT_EQ(firmCount(), 0);

    ASSERT_TRUE(QFile::remove(sourcePath));
    EXPECT_EQ(run(byIco(), kColumns, firms(3)), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - zdrojový soubor neexistuje"), Style::Red));
    EXPECT_EQ(firmCount(), 0);
}

TEST_F(AddressBookImportStopsTest, AnEmptySourceGivesTheSummaryWithNothingCounted) {
    ASSERT_EQ(run(byIco(), kColumns, {}), import::ImportRun::Ok);
    const QStringList expected{QStringLiteral("Import adresáře"),
                               QStringLiteral("• zdroj dat: Textový soubor (*.csv)"),
                               QStringLiteral("• zdrojový soubor: ") + sourcePath,
                               QStringLiteral("• otevření databáze..."),
                               QStringLiteral("• zdrojová databáze je prázdná"),
                               QStringLiteral("• počet záznamů ve zdrojové databázi: 0"),
                               QStringLiteral("• adresář:"),
                               QStringLiteral("  + přidáno nových záznamů: 0"),
                               QStringLiteral("  + zaktualizováno záznamů: 0"),
                               QStringLiteral("  = počet naimportovaných záznamů celkem: 0")};
    EXPECT_EQ(lines().mid(2, expected.size()), expected);
    EXPECT_TRUE(lines().last().startsWith(QStringLiteral("Import dat - Dokončeno")));
}

TEST_F(AddressBookImportStopsTest,
       TheRunIsStampedAroundItAHeaderOnlyFileIsEmptyAndAnEmptyFileFails) {
    // The real reader over the header line the fixture wrote.
    import::ImportRun importRun(db(), ui, protocol);
    services::clearStamps();
    ASSERT_EQ(importRun.execute(byIco(), sourcePath), import::ImportRun::Ok);
    EXPECT_TRUE(lines().contains(QStringLiteral("• zdrojová databáze je prázdná")));
    const core::ProgramState& state = core::programState();
    EXPECT_TRUE(state.store->stampExists(state.agenda, core::StampedTable::Adresar));
    EXPECT_FALSE(state.store->stampExists(state.agenda, core::StampedTable::Zasoby));

    // An empty file is no table at all: a red line, nothing written.
    QFile empty(sourcePath);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    EXPECT_EQ(importRun.execute(byIco(), sourcePath), import::ImportRun::Failed);
    EXPECT_EQ(protocol.lines().back().style, Style::Red);
    EXPECT_EQ(firmCount(), 0);
}

} // namespace
