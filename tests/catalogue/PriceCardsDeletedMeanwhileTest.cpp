#include "CatalogueAgenda.h"

#include "catalogue/PriceGroupCard.h"
#include "catalogue/PriceLevelCard.h"

using namespace orvento;
using namespace orvento::catalogue;
using testsupport::computed;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

using PriceCardsDeletedMeanwhileTest = testsupport::CatalogueAgenda;

// A price level or price group deleted at another workstation while its card was open here: OK
// fails with the message, writes nothing back (no group rows without their group) and the card
// keeps what the person entered.
TEST_F(PriceCardsDeletedMeanwhileTest, TheSaveOfALevelOrGroupDeletedElsewhereFails) {
    const qint64 level = addLevel(QStringLiteral("VO"), computed(LevelValueType::Discount, 5));
    PriceLevelCard levelCard(db(), ui);
    ASSERT_TRUE(levelCard.startExisting(level));
    levelCard.level().Popis = QStringLiteral("Velkoobchod");
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CenHlad")));
    EXPECT_NE(levelCard.confirm(), CardOutcome::Saved);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("došlo k chybě")));
    EXPECT_EQ(levelCard.level().Popis, QStringLiteral("Velkoobchod"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenHlad")).toInt(), 0);

    const qint64 other = addLevel(QStringLiteral("MO"), computed(LevelValueType::Discount, 3));
    const qint64 group = addGroup(QStringLiteral("A"));
    addRow(group, QStringLiteral("MO"), computed(LevelValueType::Discount, 3), true);
    PriceGroupCard groupCard(db(), ui);
    ASSERT_TRUE(groupCard.startExisting(group));
    groupCard.group().Popis = QStringLiteral("Stálí zákazníci");
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CenSkupPol")));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CenSkup")));
    ui.clear();
    EXPECT_NE(groupCard.confirm(), CardOutcome::Saved);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("došlo k chybě")));
    EXPECT_EQ(groupCard.group().Popis, QStringLiteral("Stálí zákazníci"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkup")).toInt(), 0);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkupPol")).toInt(), 0);
    EXPECT_GT(other, 0);
}

} // namespace
