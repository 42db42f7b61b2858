// The offer's save, run over every kind of store: a new offer numbered from its series with its
// items and history, reopened under its record lock, changed and emptied, copied, and a save
// whose item the database refuses rolled back whole. On a database server the statements meet
// a stricter engine (typed columns, a unit that a failed statement spoils), which the embedded
// one forgives.
#include "core/Database.h"
#include "core/ProgramState.h"
#include "offers/OfferStore.h"
#include "services/ActionHistory.h"
#include "support/ScriptedInteraction.h"
#include "support/StoreAgendaTest.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using offers::OfferMode;
using offers::OfferStore;
using offers::OfferWorkingCopy;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferSaveOnEveryStoreTest : public ::testing::TestWithParam<QString> {
protected:
    void SetUp() override {
        if (const auto why = testsupport::storeKindUnavailable(GetParam()))
            GTEST_SKIP() << why->toStdString();
        core::ProgramState& state = core::programState();
        ASSERT_TRUE(testsupport::prepareLocation(GetParam(), env.dataFolder()));
        state.store = testsupport::makeStore(GetParam(), env.dataFolder(), env.programFolder());
        state.db = std::make_unique<core::Connections>(state.store->dialect());
        state.folders.setData(env.dataFolder());
        QDir().mkpath(state.folders.lock);
        state.agenda = QStringLiteral("Firma");
        ASSERT_TRUE(state.store->create(state.agendaId(), core::DatabaseTemplate::EmptyAgenda));
        ASSERT_TRUE(state.store->open(db(), state.agendaId())) << db().lastError().toStdString();
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CisRady")));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "(:Prefix, :Cislo, :Mist, :Modul)"),
            {{QStringLiteral("Prefix"), QStringLiteral("NB")},
             {QStringLiteral("Cislo"), 7},
             {QStringLiteral("Mist"), 5},
             {QStringLiteral("Modul"), QStringLiteral("NB")}}));
        state.settings.urovenHistorie = services::HistoryLevel::Detailed;
        state.user.uzivId = 3;
        state.user.jmeno = QStringLiteral("Novák");
        store = std::make_unique<OfferStore>(db());
    }

    static core::Database& db() { return core::programState().db->agenda; }

    static offers::OfferItem priced(const QString& popis, double net, double rate) {
        offers::OfferItem item;
        item.Popis = popis;
        item.PocetMJ = 1.5;
        item.PCBDPHMJ = net;
        item.PCBDPHPOL = net * item.PocetMJ;
        item.VyseDPHPol = item.PCBDPHPOL * rate / 100.0;
        item.PCSDPHPOL = item.PCBDPHPOL + item.VyseDPHPol;
        item.SazbaDPH = rate;
        item.NakCena = net / 2;
        item.SDPH = true;
        return item;
    }

    OfferWorkingCopy newOffer() {
        auto opened = store->open(OfferMode::New, std::nullopt, ui);
        EXPECT_TRUE(opened);
        return opened ? opened->copy : OfferWorkingCopy();
    }

    qint64 number(const QString& sql, qint64 id) {
        return db().scalar(sql, {{QStringLiteral("ID"), id}}).value_or(-1).toLongLong();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    std::unique_ptr<OfferStore> store;
};

TEST_P(OfferSaveOnEveryStoreTest, AnOfferIsNumberedSavedReopenedChangedAndCopied) {
    OfferWorkingCopy copy = newOffer();
    copy.header().Popis = QStringLiteral("Kuchyně");
    copy.insertItem(1, priced(QStringLiteral("Dvířka"), 100.0, 21.0));
    copy.insertItem(2, priced(QStringLiteral("Úchytka"), 200.0, 21.0));
    ASSERT_TRUE(store->save(copy, ui)) << db().lastError().toStdString();
    const qint64 id = copy.offerId().value_or(-1);
    ASSERT_GT(id, 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Doklad FROM Nabidky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), id}})
                  ->toString(),
              QStringLiteral("NB00007"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 8);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("SELECT Celkem FROM Nabidky WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), id}})
                         ->toDouble(),
                     545.0); // 544.50 with VAT, rounded to whole crowns

    auto opened = store->open(OfferMode::Existing, id, ui);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->lock.isHeld());
    ASSERT_EQ(opened->copy.items().size(), 2u);
    EXPECT_EQ(opened->copy.items().at(1).Popis, QStringLiteral("Úchytka"));
    EXPECT_DOUBLE_EQ(opened->copy.items().at(0).PocetMJ, 1.5);
    EXPECT_TRUE(opened->copy.items().at(0).SDPH);
    opened->copy.header().Popis = QStringLiteral("Kuchyně a spíž");
    opened->copy.removeItem(0);
    ASSERT_TRUE(store->save(opened->copy, ui)) << db().lastError().toStdString();
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"), id),
              1);
    opened.reset();

    auto copied = store->open(OfferMode::Copy, id, ui);
    ASSERT_TRUE(copied);
    ASSERT_TRUE(store->save(copied->copy, ui)) << db().lastError().toStdString();
    EXPECT_GT(copied->copy.offerId().value_or(-1), id);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky"))->toInt(), 2);

    const auto history = services::offerHistory(db(), id);
    ASSERT_TRUE(history);
    ASSERT_EQ(history->size(), 2u);
    EXPECT_EQ(history->at(0).userName, QStringLiteral("Novák"));
    const auto snapshots = services::readSnapshots(db(), history->at(0).id);
    ASSERT_TRUE(snapshots.offer && snapshots.items);
    EXPECT_EQ(snapshots.items->rows.size(), 2u);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_P(OfferSaveOnEveryStoreTest, AnItemTheDatabaseRefusesRollsTheWholeSaveBack) {
    // Each engine refuses the item its own way.
    const bool files = GetParam() == QLatin1String("SqliteFolder");
    ASSERT_TRUE(db().executeDdl(
        files ? QStringLiteral("CREATE TRIGGER refuse AFTER INSERT ON NabPolozky WHEN NEW.Popis = "
                               "'zlá' BEGIN SELECT RAISE(ABORT, 'refused'); END")
              : QStringLiteral(
                    "ALTER TABLE NabPolozky ADD CONSTRAINT refuse CHECK (Popis <> 'zlá')")));
    OfferWorkingCopy copy = newOffer();
    copy.insertItem(1, priced(QStringLiteral("dobrá"), 10.0, 21.0));
    copy.insertItem(2, priced(QStringLiteral("zlá"), 10.0, 21.0));
    EXPECT_FALSE(store->save(copy, ui));
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Při ukládání záznamu do \"NabPolozky\" došlo "
                                                   "k chybě: metoda \"Execute\" selhala.")));
    EXPECT_FALSE(copy.offerId());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Nabidky"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Akce"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 7);

    // The connection is usable for the next save.
    copy.removeItem(1);
    ASSERT_TRUE(store->save(copy, ui)) << db().lastError().toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 8);
}

INSTANTIATE_TEST_SUITE_P(EveryStore, OfferSaveOnEveryStoreTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
