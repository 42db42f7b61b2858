// Deleting and locking many marked offers: several short units, each offer whole with its items
// whatever slice fails; and a list that cannot be read says so in Czech.
#include "offers/OfferListLogic.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <QDir>

#include <gtest/gtest.h>

#include <vector>

using namespace orvento;
using offers::OfferListLogic;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

constexpr int kItemsPerOffer = 2;

class OfferListBulkSlicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        QDir().mkpath(core::programState().folders.lock);
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce"})
            db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        db().setWriteObserver([this](const QString& table) {
            if (table == QLatin1String("Nabidky"))
                ++offerUnits;
        });
    }
    void TearDown() override { db().setWriteObserver({}); }
    static core::Database& db() { return core::programState().db->agenda; }

    // `count` offers with their items, written at once.
    std::vector<qint64> addOffers(int count) {
        std::vector<qint64> ids;
        core::Transaction unit(db());
        core::Statement offer(db(), QStringLiteral("INSERT INTO Nabidky (Doklad, Zamek) VALUES "
                                                   "(:Doklad, 0)"));
        core::Statement item(db(), QStringLiteral("INSERT INTO NabPolozky (CisloNab, Popis) "
                                                  "VALUES (:CisloNab, 'x')"));
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(offer.exec({{QStringLiteral("Doklad"), QStringLiteral("N%1").arg(i)}}));
            ids.push_back(offer.newRowId());
            for (int k = 0; k < kItemsPerOffer; ++k)
                EXPECT_TRUE(item.exec({{QStringLiteral("CisloNab"), ids.back()}}));
        }
        EXPECT_TRUE(unit.commit());
        offerUnits = 0;
        return ids;
    }
    int count(const QString& sql) { return db().scalar(sql)->toInt(); }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    int offerUnits = 0;
};

TEST_F(OfferListBulkSlicesTest, ManyMarkedOffersAreDeletedInSeveralUnitsAndNeverHalfDeleted) {
    constexpr int kOffers = 350;
    addOffers(kOffers);
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    // The items of the last offer in the list refuse to go: its slice is rolled back.
    ASSERT_TRUE(testsupport::refuseWrites(
        db(), QStringLiteral("refuse"), QStringLiteral("DELETE"), QStringLiteral("NabPolozky"),
        QStringLiteral("OLD.CisloNab = %1").arg(list.rows().idAt(kOffers - 1))));
    list.markAll();
    ui.answer(true);
    list.removeSelected();

    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("NabPolozky"))));
    EXPECT_GE(offerUnits, 2);
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
    const int left = count(QStringLiteral("SELECT count(*) FROM Nabidky"));
    EXPECT_GT(left, 0);
    EXPECT_LT(left, kOffers);
    // Every offer is there with all its items, or gone with all of them.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM NabPolozky")), left * kItemsPerOffer);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM NabPolozky WHERE CisloNab NOT IN "
                                   "(SELECT ID FROM Nabidky)")),
              0);
    EXPECT_EQ(list.rows().rowCount(), left);
}

TEST_F(OfferListBulkSlicesTest, ManyOffersAreLockedInSeveralUnitsAndALaterFailureIsTold) {
    constexpr int kOffers = 2500;
    addOffers(kOffers);
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    const qint64 last = list.rows().idAt(kOffers - 1);
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("UPDATE"),
                                          QStringLiteral("Nabidky"),
                                          QStringLiteral("OLD.ID = %1").arg(last)));
    list.markAll();
    list.setLocked(true);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Nabidky"))));
    EXPECT_GE(offerUnits, 2);
    const int locked = count(QStringLiteral("SELECT count(*) FROM Nabidky WHERE Zamek <> 0"));
    EXPECT_GT(locked, 0);
    EXPECT_LT(locked, kOffers);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Zamek FROM Nabidky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), last}})
                  ->toInt(),
              0);
}

TEST_F(OfferListBulkSlicesTest, AListThatCannotBeReadSaysSoInCzech) {
    addOffers(3);
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ASSERT_TRUE(db().executeDdl(QStringLiteral("ALTER TABLE Nabidky RENAME TO NabidkyJinde")));
    list.refresh();
    list.markAll();
    EXPECT_FALSE(list.sums());
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList({core::readFailedMessage(), core::readFailedMessage()}));
    EXPECT_EQ(core::readFailedMessage(),
              QStringLiteral("Při načítání údajů z databáze došlo k chybě."));
}

} // namespace
