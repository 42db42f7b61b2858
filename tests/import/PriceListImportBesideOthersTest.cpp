// A price-list run beside the other workstations: they save while its rows are stored aside and
// while it recomputes, and every change survives; the recomputation can be stopped between its
// slices, leaving the rest marked unfinished.
#include "PriceListImportAgenda.h"

#include "catalogue/ItemRecord.h"
#include "support/OpenAgenda.h"
#include "support/TestStore.h"

using namespace orvento;
using namespace orvento::testsupport;
using import::PriceListField;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kColumns{QStringLiteral("Kat"), QStringLiteral("Popis"), QStringLiteral("Cena")};
const QString kPhaseTwo = QStringLiteral(
    "• II. fáze - přepočet cen importovaných záznamů... [počkejte prosím na dokončení]");

class PriceListImportBesideOthersTest : public PriceListImportAgenda {
protected:
    import::ImportDefinition comparing() const { auto d = definition();
    compareByKatalog(d);
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    map(d, PriceListField::NakCena, QStringLiteral("Cena"));
    d.priceList.setRecompute = true;
    d.priceList.recompute = import::RecomputeChoice::Yes;
    return d;
} static std::vector<core::sources::Row> manyNewRows(int count) {
    std::vector<core::sources::Row> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({txt(QStringLiteral("N%1").arg(i)), txt(QStringLiteral("nová %1").arg(i)),
                        num(10 + i)});
    return rows;
}
bool inPhaseTwo() const {
    return !protocol.lines().empty() && protocol.lines().back().text == kPhaseTwo;
}
int unfinished() {
    return value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0")).toInt();
}
}; // namespace

TEST_F(PriceListImportBesideOthersTest, AnotherConnectionWritesWhileTheRowsAreStoredAside) {
    core::Database other(QStringLiteral("jina stanice"), db().dialect());
    ASSERT_TRUE(testsupport::openAgendaElsewhere(other));
    other.setBusyTimeout(0); // a held write lock fails at once
    int writes = 0;
    ASSERT_EQ(run(comparing(), kColumns, manyNewRows(1500),
                  [&](int, int) {
                      const auto aside =
                          db().scalar(QStringLiteral("SELECT COUNT(*) FROM ImportZasobyDavka"));
                      if (!aside || aside->toInt() == 0 || inPhaseTwo())
                          return;
                      EXPECT_FALSE(core::Database::anyUnitOpen());
                      EXPECT_TRUE(other.execute(
                          QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 9)"),
                          {{QStringLiteral("N"), QStringLiteral("jinde %1").arg(writes)}}))
                          << other.lastError().toStdString();
                      ++writes;
                  }),
              import::ImportRun::Ok);
    EXPECT_GT(writes, 1);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Sklady WHERE Poradi = 9")).toInt(),
              writes);
    EXPECT_EQ(itemCount(), 1500);
    EXPECT_EQ(unfinished(), 0);
    // The rows stored aside go with the run.
    EXPECT_FALSE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ImportZasobyDavka")));
}

TEST_F(PriceListImportBesideOthersTest, SavesOfAnotherWorkstationDuringTheRunSurvive) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstation saves into the agenda's file in the data folder";
    const qint64 imported = addItemWith(QStringLiteral("K1"), QStringLiteral("dovezené"));
    const qint64 untouched = addItemWith(QStringLiteral("K2"), QStringLiteral("vlastní"));
    const auto saveOnOtherWorkstation = [&](qint64 id, const QString& note) {
        OtherWorkstation helper({QStringLiteral("save-item"), env.dataFolder(),
                                 QStringLiteral("Firma1"), QString::number(id), note});
        EXPECT_EQ(helper.firstLine(), QStringLiteral("done"));
    };
    bool savedInPhaseOne = false;
    bool savedInPhaseTwo = false;
    auto rows = manyNewRows(20);
    rows.push_back({txt(QStringLiteral("k1")), txt(QStringLiteral("nový popis")), num(55)});
    ASSERT_EQ(run(comparing(), kColumns, rows,
                  [&](int, int) {
                      if (!savedInPhaseOne) {
                          savedInPhaseOne = true;
                          saveOnOtherWorkstation(imported, QStringLiteral("od kolegy"));
                      } else if (inPhaseTwo() && !savedInPhaseTwo) {
                          savedInPhaseTwo = true;
                          saveOnOtherWorkstation(untouched, QStringLiteral("také od kolegy"));
                      }
                  }),
              import::ImportRun::Ok);
    ASSERT_TRUE(savedInPhaseTwo);
    const auto both = catalogue::readItem(db(), imported);
    EXPECT_EQ(both->Poznamka, QStringLiteral("od kolegy"));
    EXPECT_EQ(both->Popis, QStringLiteral("nový popis"));
    EXPECT_EQ(both->price.NakCena, 55.0);
    EXPECT_FALSE(both->Chyba);
    EXPECT_EQ(catalogue::readItem(db(), untouched)->Poznamka, QStringLiteral("také od kolegy"));
    EXPECT_EQ(unfinished(), 0);
}

TEST_F(PriceListImportBesideOthersTest, StoppingTheRecomputationLeavesTheRestMarked) {
    constexpr int kRows = 6000;
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop);
        protocol.clear();
        db().execute(QStringLiteral("DELETE FROM Zasoby"));
        ui.answer(stop);
        bool pressed = false;
        ASSERT_EQ(run(comparing(), kColumns, manyNewRows(kRows),
                      [&](int, int) {
                          if (inPhaseTwo() && !pressed) {
                              pressed = true;
                              core::programState().cancelRequested = true;
                          }
                      }),
                  import::ImportRun::Ok);
        EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Question,
                           QStringLiteral("Opravdu chcete přerušit přepočet ? Varování: "
                                          "nepřepočtené záznamy nebude možné použít!")));
        EXPECT_EQ(interrupted, stop);
        EXPECT_EQ(itemCount(), kRows);
        if (stop) {
            EXPECT_GT(unfinished(), 0);
            EXPECT_LT(unfinished(), kRows);
            EXPECT_TRUE(hasLine(QStringLiteral("Operace přerušena uživatelem!"), Style::Bold));
            EXPECT_FALSE(lines().contains(QStringLiteral("• ceník:")));
        } else {
            EXPECT_EQ(unfinished(), 0);
            EXPECT_TRUE(lines().contains(QStringLiteral("  + přidáno nových záznamů: 6000")));
        }
        // Recomputed: the purchase price with no margin is the sale price.
        EXPECT_EQ(
            value(QStringLiteral("SELECT PrCenaBDPH FROM Zasoby WHERE Katalog = 'N0'")).toDouble(),
            10.0);
        ui.clear();
    }
}

} // namespace
