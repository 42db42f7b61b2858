#include "catalogue/ItemCard.h"
#include "catalogue/LevelConsistency.h"
#include "catalogue/LevelPrice.h"
#include "catalogue/PictureLoader.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::catalogue;

namespace {

core::Database& db() {
    return core::programState().db->agenda;
}

// Every level of the item's group, as an offer would price the item on it.
std::vector<std::optional<PricePair>> levelPricesOf(const ItemRecord& item) {
    std::vector<std::optional<PricePair>> prices;
    const qint64 group = groupIdOfCode(db(), item.CenSkupina);
    const auto levels = readLevels(db());
    for (const PriceLevel& level : levels.value_or(std::vector<PriceLevel>{}))
        prices.push_back(levelPrice(db(), group, level.Zkratka, LevelPriceItem::of(item)));
    return prices;
}

} // namespace

// The demo agenda is what a new user tries first: its groups must pass the check that repricing
// runs, its fixed prices must be found on their levels, repricing must not move its prices, its
// offers must be made of its items, and the pictures its items name must be readable ones.
TEST(DemoAgenda, PriceLevelsAreConsistentRepricingKeepsThePricesAndPicturesLoad) {
    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    EXPECT_TRUE(checkLevelConsistency(db(), ui));

    std::vector<ItemRecord> grouped;
    QStringList pictures;
    int fixedPrices = 0;
    // The IDs read whole first: a server connection drops the rest of a result that another
    // statement interrupts.
    std::vector<qint64> itemIds;
    QSqlQuery ids = db().select(QStringLiteral("SELECT ID FROM Zasoby ORDER BY ID"));
    while (ids.next())
        itemIds.push_back(ids.value(0).toLongLong());
    ids.finish();
    for (const qint64 id : itemIds) {
        const auto item = readItem(db(), id);
        ASSERT_TRUE(item);
        if (!item->Obrazek.isEmpty())
            pictures << item->Obrazek;
        if (item->CenSkupina.isEmpty())
            continue;
        ASSERT_GT(groupIdOfCode(db(), item->CenSkupina), 0) << item->CenSkupina.toStdString();
        grouped.push_back(*item);
        for (const FixedSlot& slot : item->fixedSlots) {
            if (slot.CenHlad.isEmpty())
                continue;
            ++fixedPrices;
            const auto price = levelPrice(db(), groupIdOfCode(db(), item->CenSkupina), slot.CenHlad,
                                          LevelPriceItem::of(*item));
            ASSERT_TRUE(price) << slot.CenHlad.toStdString();
            EXPECT_EQ(*price, (PricePair{slot.PrCenaBDPH, slot.PrCenaSDPH}));
            EXPECT_GT(slot.PrCenaBDPH, 0.0);
        }
    }
    EXPECT_GT(grouped.size(), 100u);
    EXPECT_GT(fixedPrices, 20);

    const auto groups = PriceGroupData::load(db());
    ASSERT_TRUE(groups);
    for (const ItemRecord& before : grouped) {
        ASSERT_TRUE(ItemCard::recomputeSilently(db(), ui, before.ID, *groups));
        const auto after = readItem(db(), before.ID);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->price, before.price) << before.Popis.toStdString();
        EXPECT_EQ(levelPricesOf(*after), levelPricesOf(before)) << before.Popis.toStdString();
    }

    // The demo offers take their lines from this price list.
    EXPECT_GT(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky n JOIN Zasoby z ON "
                                         "z.ID = n.CisloKarty"))
                  ->toInt(),
              10);

    ASSERT_GE(pictures.size(), 3);
    for (const QString& name : pictures) {
        EXPECT_LE(name.size(), ItemWidth::Obrazek);
        EXPECT_FALSE(
            loadPicture(QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/DEMO/OBRAZKY/") + name).isNull())
            << name.toStdString();
    }
}
