// A price-list run that stops: interrupted in phase I, a value it cannot read, a unit of work
// that fails, a sheet or group that is gone or moved, a kind it cannot run. Each leaves the
// catalogue exactly as it was, with its protocol line.
#include "PriceListImportAgenda.h"

#include "catalogue/ItemRecord.h"
#include "support/RefusedWrites.h"

using namespace orvento;
using namespace orvento::testsupport;
using import::PriceListField;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kColumns{QStringLiteral("Kat"), QStringLiteral("Popis"), QStringLiteral("Cena")};

class PriceListImportFailuresTest : public PriceListImportAgenda {
protected:
    void SetUp() override {
        PriceListImportAgenda::SetUp();
        for (int i = 1; i <= 3; ++i)
            addItemWith(QStringLiteral("K%1").arg(i), QStringLiteral("původní %1").arg(i));
        before = catalogueSnapshot();
    }
    import::ImportDefinition comparing() const { auto d = definition();
    compareByKatalog(d);
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    map(d, PriceListField::NakCena, QStringLiteral("Cena"));
    return d;
}
// Two found items, then two new ones.
static std::vector<core::sources::Row>
rows() {
    return {{txt(QStringLiteral("k1")), txt(QStringLiteral("nová 1")), num(10)},
            {txt(QStringLiteral("K2")), txt(QStringLiteral("nová 2")), num(20)},
            {txt(QStringLiteral("N1")), txt(QStringLiteral("nová 3")), num(30)},
            {txt(QStringLiteral("N2")), txt(QStringLiteral("nová 4")), num(40)}};
}

QStringList before;
}; // namespace

TEST_F(PriceListImportFailuresTest, StoppingPhaseOneLeavesEveryRowAsItWas) {
    ui.cancelAtStep(3);
    ui.answer(true);
    ASSERT_EQ(run(comparing(), kColumns, rows()), import::ImportRun::Ok);
    EXPECT_TRUE(interrupted);
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Question,
                       QStringLiteral("Opravdu chcete přerušit import ? Varování: dosud "
                                      "naimportované/aktualizované záznamy budou odstraněny z "
                                      "ceníku!")));
    EXPECT_EQ(catalogueSnapshot(), before);
    EXPECT_FALSE(lines().contains(QStringLiteral("• ceník:")));
    EXPECT_FALSE(lines().contains(QStringLiteral(
        "• II. fáze - přepočet cen importovaných záznamů... [počkejte prosím na dokončení]")));
    EXPECT_TRUE(hasLine(QStringLiteral("Operace přerušena uživatelem!"), Style::Bold));
}

TEST_F(PriceListImportFailuresTest, AnsweringNoGoesOnToTheEnd) {
    ui.cancelAtStep(2);
    ui.answer(false);
    ASSERT_EQ(run(comparing(), kColumns, rows()), import::ImportRun::Ok);
    EXPECT_FALSE(interrupted);
    EXPECT_EQ(itemCount(), 5);
    EXPECT_EQ(value(QStringLiteral("SELECT NakCena FROM Zasoby WHERE Katalog = 'k1'")).toDouble(),
              10.0);
    EXPECT_TRUE(lines().contains(QStringLiteral("  = počet naimportovaných záznamů celkem: 4")));
    EXPECT_FALSE(lines().contains(QStringLiteral("Operace přerušena uživatelem!")));
}

TEST_F(PriceListImportFailuresTest, TextInANumberColumnStopsBeforeAnythingIsWritten) {
    auto bad = rows();
    bad[3][2] = txt(QStringLiteral("levně"));
    EXPECT_EQ(run(comparing(), kColumns, bad), import::ImportRun::Failed);
    EXPECT_EQ(catalogueSnapshot(), before);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA při čtení zdroje pro \"NakCena\": zdroj. řádek č. 4 "
                                       "- hodnota \"levně\" není číslo"),
                        Style::Red));
    EXPECT_FALSE(lines().last().startsWith(QStringLiteral("Import dat - Dokončeno")));
}

TEST_F(PriceListImportFailuresTest, AFailingUnitOfWorkRollsBackTheUpdatesToo) {
    // The new items are refused after the found ones would have been updated in the same unit.
    ASSERT_TRUE(testsupport::refuseWrites(
        db(), QStringLiteral("refuse"), QStringLiteral("INSERT"), QStringLiteral("Zasoby"),
        QStringLiteral("NEW.Katalog = 'N2'"), QStringLiteral("odmítnuto")));
    EXPECT_EQ(run(comparing(), kColumns, rows()), import::ImportRun::Failed);
    EXPECT_EQ(catalogueSnapshot(), before);
    ASSERT_FALSE(protocol.lines().empty());
    EXPECT_TRUE(protocol.lines().back().text.startsWith(
        QStringLiteral("!CHYBA při ukládání do databáze: ")));
    EXPECT_TRUE(protocol.lines().back().text.contains(QStringLiteral("odmítnuto")));
    EXPECT_EQ(protocol.lines().back().style, Style::Red);
    EXPECT_FALSE(core::Database::anyUnitOpen());
}

TEST_F(PriceListImportFailuresTest, AFailedRecomputationEndsTheRunMarkedUnfinished) {
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("UPDATE"),
                                          QStringLiteral("Zasoby"), QStringLiteral("NEW.Chyba = 0"),
                                          QStringLiteral("odmítnuto")));
    EXPECT_EQ(run(comparing(), kColumns, rows()), import::ImportRun::RecomputeFailed);
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Error,
                       core::saveFailedMessage(QStringLiteral("Zasoby"))));
    // The first phase's writes stay, marked for a later recomputation.
    EXPECT_EQ(itemCount(), 5);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0")).toInt(), 4);
    EXPECT_TRUE(lines().contains(QStringLiteral("  = počet naimportovaných záznamů celkem: 4")));
    EXPECT_FALSE(lines().last().startsWith(QStringLiteral("Import dat - Dokončeno")));
}

TEST_F(PriceListImportFailuresTest, AGroupGoneOrMovedToAnotherSheetStopsTheRun) {
    const QString gone =
        QStringLiteral("!CHYBA - list nebo skupina pro zařazení nových položek již "
                       "neexistuje - opravte definici importu");
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('B', 2)")));
    const qint64 otherSheet = db().newRowId();
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Zakladni) "
                                            "VALUES (:Sklad, 'Kabely', 0)"),
                             {{QStringLiteral("Sklad"), otherSheet}}));
    const qint64 group = db().newRowId();

    auto d = comparing();
    d.priceList.newItemsGroup = group; // of the other sheet
    EXPECT_EQ(run(d, kColumns, rows()), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(gone, Style::Red));

    protocol.clear();
    d.priceList.newItemsSheet = otherSheet;
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Skupiny WHERE ID = :ID"),
                             {{QStringLiteral("ID"), group}}));
    EXPECT_EQ(run(d, kColumns, rows()), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(gone, Style::Red));

    // A group moved away while phase I ran is caught under the write lock.
    protocol.clear();
    d = comparing();
    bool moved = false;
    EXPECT_EQ(
        run(d, kColumns, rows(),
            [&](int, int) {
                if (!moved)
                    moved = db().execute(
                        QStringLiteral("UPDATE Skupiny SET Sklad = :S WHERE ID = :G"),
                        {{QStringLiteral("S"), otherSheet}, {QStringLiteral("G"), basicGroup}});
            }),
        import::ImportRun::Failed);
    EXPECT_TRUE(moved);
    EXPECT_TRUE(hasLine(gone, Style::Red));
    db().execute(QStringLiteral("UPDATE Skupiny SET Sklad = :S WHERE ID = :G"),
                 {{QStringLiteral("S"), sheet}, {QStringLiteral("G"), basicGroup}});
    EXPECT_EQ(catalogueSnapshot(), before);

    // Comparing without creating needs no place for new items, but a filter group of its sheet.
    protocol.clear();
    d.createMissing = false;
    d.priceList.newItemsGroup = 0;
    d.priceList.filterOn = true;
    d.priceList.filterSheet = sheet;
    d.priceList.filterGroupOn = true;
    d.priceList.filterGroup = group + 100;
    EXPECT_EQ(run(d, kColumns, rows()), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - skupina, ve které má program hledat referenční "
                                       "položku (filtr) již neexistuje - opravte definici importu"),
                        Style::Red));
}

TEST_F(PriceListImportFailuresTest, AMissingFileAnUnopenableSourceAndOtherKindsFail) {
    auto d = comparing();
    import::ImportRun missing(db(), ui, protocol);
    EXPECT_EQ(missing.execute(d, env.dataFolder() + QStringLiteral("neni.csv")),
              import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - zdrojový soubor neexistuje"), Style::Red));

    import::ImportRun unopenable(db(), ui, protocol);
    unopenable.setSourceOpener([](core::sources::SourceKind, const QString&, QString& error) {
        error = QStringLiteral("Soubor není platný.");
        return std::unique_ptr<core::sources::ImportSource>();
    });
    EXPECT_EQ(unopenable.execute(d, sourcePath), import::ImportRun::Failed);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - nepodařilo se otevřít databázi"), Style::Red));
    EXPECT_TRUE(hasLine(QStringLiteral("- Soubor není platný."), Style::Red));

    d.kind = import::DefinitionKind::AddressBook;
    EXPECT_EQ(run(d, kColumns, rows()), import::ImportRun::Failed);
    EXPECT_EQ(protocol.lines().back().style, Style::Red);
    EXPECT_EQ(catalogueSnapshot(), before);
}

} // namespace
