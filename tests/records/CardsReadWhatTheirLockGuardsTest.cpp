#include "addressbook/FirmCard.h"
#include "catalogue/ItemCard.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "offers/OfferStore.h"
#include "support/LockWaitStore.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using catalogue::CardOutcome;

namespace {

// A card edits what was stored when it was granted the record's lock. On the server store a
// card waits a moment for a lock that is held, and the workstation that held it may commit its
// save in that moment; a card that had read the record before would then write back its older
// rows under the lock, taking the other workstation's items or contacts away with it.
class CardsReadWhatTheirLockGuardsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    static core::Database& global() { return core::programState().db->global; }
    int count(const QString& sql, qint64 id) {
        return db().scalar(sql, {{QStringLiteral("ID"), id}}).value_or(-1).toInt();
    }
    // From now on, the other workstation's work is done while the next card waits for its lock.
    static void meanwhile(std::function<void()> work) {
        core::useProgramStore(std::make_unique<testsupport::LockWaitStore>(
            std::move(core::programState().store), std::move(work)));
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
};

TEST_F(CardsReadWhatTheirLockGuardsTest, AnOfferCardKeepsTheItemsSavedWhileItWaited) {
    offers::OfferStore store(db());
    auto created = store.open(offers::OfferMode::New, std::nullopt, ui);
    ASSERT_TRUE(created);
    offers::OfferItem item;
    item.Popis = QStringLiteral("Montáž");
    item.PocetMJ = 1.0;
    created->copy.insertItem(1, item);
    ASSERT_TRUE(store.save(created->copy, ui));
    const qint64 id = *created->copy.offerId();

    meanwhile([&] {
        offers::OfferWorkingCopy other(offers::OfferMode::Existing);
        ASSERT_TRUE(store.load(id, other));
        offers::OfferItem added;
        added.Popis = QStringLiteral("Doprava");
        added.PocetMJ = 2.0;
        other.insertItem(2, added);
        ASSERT_TRUE(store.save(other, ui));
    });
    auto opened = store.open(offers::OfferMode::Existing, id, ui);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(opened->lock.isHeld());
    EXPECT_EQ(opened->copy.items().size(), 2U);
    opened->copy.header().Popis = QStringLiteral("Kuchyně");
    ASSERT_TRUE(store.save(opened->copy, ui));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"), id), 2);
}

TEST_F(CardsReadWhatTheirLockGuardsTest, AFirmCardKeepsTheContactsSavedWhileItWaited) {
    addressbook::FirmCard created(db(), global(), ui);
    ASSERT_TRUE(created.open(addressbook::FirmCardMode::New));
    created.firm().Nazev = QStringLiteral("Stavby Brno");
    ASSERT_EQ(created.confirm(), CardOutcome::Saved);
    const qint64 id = created.savedId();

    meanwhile([&] {
        addressbook::FirmCard other(db(), global(), ui);
        ASSERT_TRUE(other.open(addressbook::FirmCardMode::Edit, id));
        addressbook::Contact contact = other.newContact();
        contact.Prijmeni = QStringLiteral("Dvořák");
        ASSERT_TRUE(other.storeContact(std::nullopt, contact));
        other.firm().Telefon = QStringLiteral("541 000 111");
        ASSERT_EQ(other.confirm(), CardOutcome::Saved);
    });
    addressbook::FirmCard card(db(), global(), ui);
    ASSERT_TRUE(card.open(addressbook::FirmCardMode::Edit, id));
    ASSERT_TRUE(card.editable());
    EXPECT_EQ(card.contacts().size(), 1U);
    EXPECT_EQ(card.firm().Telefon, QStringLiteral("541 000 111"));
    card.firm().Poznamka = QStringLiteral("volat ráno");
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty WHERE CisloAdr = :ID"), id), 1);
}

TEST_F(CardsReadWhatTheirLockGuardsTest, AnItemCardKeepsThePriceSavedWhileItWaited) {
    const qint64 sheet =
        db().scalar(QStringLiteral("SELECT MIN(ID) FROM Sklady")).value_or(0).toLongLong();
    catalogue::ItemCard created(db(), ui);
    ASSERT_TRUE(created.open(catalogue::ItemCardMode::New, 0, sheet, 0));
    created.item().Popis = QStringLiteral("Jistič B16");
    created.setNakCena(100.0);
    ASSERT_EQ(created.confirm(), CardOutcome::Saved);
    const qint64 id = created.id();

    meanwhile([&] {
        catalogue::ItemCard other(db(), ui);
        ASSERT_TRUE(other.open(catalogue::ItemCardMode::Edit, id, sheet, 0));
        other.setNakCena(150.0);
        ASSERT_EQ(other.confirm(), CardOutcome::Saved);
    });
    catalogue::ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(catalogue::ItemCardMode::Edit, id, sheet, 0));
    ASSERT_TRUE(card.editable());
    EXPECT_DOUBLE_EQ(card.prices().NakCena, 150.0);
    card.item().Poznamka = QStringLiteral("dodat do pátku");
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_EQ(
        count(QStringLiteral("SELECT CAST(NakCena AS INTEGER) FROM Zasoby WHERE ID = :ID"), id),
        150);
}

} // namespace
