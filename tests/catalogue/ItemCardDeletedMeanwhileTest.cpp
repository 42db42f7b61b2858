#include "CatalogueAgenda.h"
#include "catalogue/ItemCard.h"

using namespace orvento;
using namespace orvento::catalogue;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

using ItemCardDeletedMeanwhileTest = testsupport::CatalogueAgenda;

// Another workstation deleted the item while its card was open here: its deletion tested the
// lock a moment before this card took it, then waited for the write lock. OK must not report as
// saved an update that found no row, so that the person's changes vanish without a word.
TEST_F(ItemCardDeletedMeanwhileTest, TheSaveOfAnItemDeletedElsewhereFailsAndSaysSo) {
    ItemRecord item;
    item.Popis = QStringLiteral("Jistič B16");
    item.price.PrCenaBDPH = 100;
    const qint64 id = addItem(item);
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    card.item().Poznamka = QStringLiteral("dodat do pátku");
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Zasoby WHERE ID = :ID"),
                             {{QStringLiteral("ID"), id}}));
    ui.clear();
    EXPECT_NE(card.confirm(), CardOutcome::Saved);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Zasoby"))));
    EXPECT_FALSE(readItem(db(), id));
    EXPECT_EQ(card.item().Poznamka, QStringLiteral("dodat do pátku"));
}

} // namespace
