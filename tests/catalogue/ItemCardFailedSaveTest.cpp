#include "CatalogueAgenda.h"
#include "catalogue/ItemCard.h"
#include "support/RefusedWrites.h"

using namespace orvento;
using namespace orvento::catalogue;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class ItemCardFailedSaveTest : public testsupport::CatalogueAgenda {
protected:
    void refuse(const char* what) {
        ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"),
                                              QString::fromLatin1(what), QStringLiteral("Zasoby")));
    }
    void allow() {
        ASSERT_TRUE(
            testsupport::allowWrites(db(), QStringLiteral("refuse"), QStringLiteral("Zasoby")));
    }
};

// A save that fails leaves the card's record as it was before OK: an unfinished item keeps its
// mark and a new item its place, so what the card shows is never a state that was not stored.
// The next OK, once the table takes writes again, stores and takes them.
TEST_F(ItemCardFailedSaveTest, AFailedSaveChangesNothingTheCardHolds) {
    ItemRecord unfinished;
    unfinished.Popis = QStringLiteral("Jistič B16");
    unfinished.price.PrCenaBDPH = 100;
    unfinished.Chyba = true;
    const qint64 id = addItem(unfinished);
    {
        ItemCard card(db(), ui);
        ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
        refuse("UPDATE");
        ui.clear();
        EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
        EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Zasoby"))));
        EXPECT_TRUE(card.item().Chyba);
        EXPECT_TRUE(readItem(db(), id)->Chyba);
        allow();
        ASSERT_EQ(card.confirm(), CardOutcome::Saved);
        EXPECT_FALSE(card.item().Chyba);
        EXPECT_FALSE(readItem(db(), id)->Chyba);
    }

    ItemCard fresh(db(), ui);
    ASSERT_TRUE(fresh.open(ItemCardMode::New, -1, sheet, 0));
    fresh.item().Popis = QStringLiteral("Zásuvka 230 V");
    refuse("INSERT");
    EXPECT_EQ(fresh.confirm(), CardOutcome::StayOpen);
    EXPECT_EQ(fresh.id(), -1);
    EXPECT_EQ(fresh.item().Skupina, 0);
    allow();
    ASSERT_EQ(fresh.confirm(), CardOutcome::Saved);
    EXPECT_GT(fresh.id(), 0);
    EXPECT_EQ(fresh.item().Skupina, basicGroup);
}

} // namespace
