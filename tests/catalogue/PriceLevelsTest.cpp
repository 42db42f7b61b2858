#include "CatalogueAgenda.h"

#include "catalogue/LevelConsistency.h"
#include "catalogue/LevelPrice.h"
#include "catalogue/PriceGroupCard.h"
#include "catalogue/PriceLevelCard.h"
#include "catalogue/PriceLists.h"

using namespace orvento;
using namespace orvento::catalogue;
using testsupport::computed;
using testsupport::fixedLevel;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

LevelPriceItem itemOf(bool sdph, double leading, double purchase, double rate) {
    LevelPriceItem item;
    item.SDPH = sdph;
    item.leading = leading;
    item.NakCena = purchase;
    item.SazbaDPH = rate;
    return item;
}

TEST(LevelPrice, ComputedLevelsFollowTheirBaseAndRounding) {
    // Discount on a leading price with VAT: gross first, net from it by the coefficient.
    const PricePair discount =
        computedLevelPrice(computed(LevelValueType::Discount, 10), itemOf(true, 121, 0, 21));
    EXPECT_DOUBLE_EQ(discount.gross, 108.9);
    EXPECT_DOUBLE_EQ(discount.net, 89.995);
    // Margin on the purchase price, whole crowns, whatever the item's price type.
    const PricePair margin = computedLevelPrice(
        computed(LevelValueType::Margin, 20, LevelBase::Purchase, RoundingCode::WholeUnits),
        itemOf(true, 999, 100, 21));
    EXPECT_DOUBLE_EQ(margin.net, 120);
    EXPECT_DOUBLE_EQ(margin.gross, 145);
    EXPECT_EQ(computedLevelPrice(computed(LevelValueType::Rabat, 100), itemOf(false, 80, 50, 21)),
              PricePair{});
}

TEST(LevelPrice, FixedLevelsReadTheirSlotIgnoringCaseAndStopAtAFreeSlot) {
    LevelPriceItem item = itemOf(false, 100, 50, 21);
    item.fixedSlots[0] = {QStringLiteral("VO"), 90, 108.9, false};
    item.fixedSlots[1] = {QStringLiteral("dealer"), 80, 96.8, false};
    item.fixedSlots[2] = {QString(), 0, 0, false};
    EXPECT_EQ(fixedSlotOf(QStringLiteral("DEALER"), item.fixedSlots), 2);
    EXPECT_EQ(levelRowPrice(QStringLiteral("Dealer"), fixedLevel(), item), (PricePair{80, 96.8}));
    // Not in any slot: 0 and 0; a slot after a free one is never read.
    EXPECT_EQ(levelRowPrice(QStringLiteral("MO"), fixedLevel(), item), PricePair{});
    item.fixedSlots[1].CenHlad.clear();
    item.fixedSlots[2] = {QStringLiteral("DEALER"), 70, 84.7, false};
    EXPECT_EQ(fixedSlotOf(QStringLiteral("DEALER"), item.fixedSlots), 0);
    // A group without the level gives nothing at all.
    EXPECT_FALSE(levelPrice(std::vector<GroupLevelRow>{}, QStringLiteral("VO"), item));
}

using PriceLevelsTest = testsupport::CatalogueAgenda;

TEST_F(PriceLevelsTest, RenamingALevelRipplesThroughGroupsItemsAndOnYesFirms) {
    const qint64 level = addLevel(QStringLiteral("DEALER"), fixedLevel());
    addLevel(QStringLiteral("VO"), computed(LevelValueType::Discount, 5));
    const qint64 group = addGroup(QStringLiteral("A"));
    const qint64 takesOver = addRow(group, QStringLiteral("dealer"), fixedLevel(), true);
    const qint64 own = addRow(addGroup(QStringLiteral("B")), QStringLiteral("DEALER"),
                              computed(LevelValueType::Margin, 7), false);
    ItemRecord item;
    item.Popis = QStringLiteral("Kabel");
    item.fixedSlots[0].CenHlad = QStringLiteral("VO");
    item.fixedSlots[1].CenHlad = QStringLiteral("Dealer");
    const qint64 itemId = addItem(item);
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev, CenHladina) VALUES "
                                            "(:Nazev, :CenHladina)"),
                             {{QStringLiteral("Nazev"), QStringLiteral("Firma")},
                              {QStringLiteral("CenHladina"), QStringLiteral("DEALER")}}));

    PriceLevelCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(level));
    // A code with a quote and the name of a column must stay a value.
    card.level().Zkratka = QStringLiteral(" d'Zkratka ");
    card.level().values = computed(LevelValueType::Discount, 12.5);
    ui.answer(true);
    ui.answer(true);
    EXPECT_EQ(card.confirm(), CardOutcome::Saved);
    const QString renamed = QStringLiteral("D'ZKRATKA");
    const auto rowCode = [&](qint64 id) {
        return value(QStringLiteral("SELECT Zkratka FROM CenSkupPol WHERE ID = :ID"),
                     {{QStringLiteral("ID"), id}});
    };
    EXPECT_EQ(rowCode(takesOver), renamed);
    EXPECT_EQ(rowCode(own), renamed);
    EXPECT_EQ(value(QStringLiteral("SELECT Hodnota FROM CenSkupPol WHERE ID = :ID"),
                    {{QStringLiteral("ID"), takesOver}})
                  .toDouble(),
              12.5);
    EXPECT_EQ(value(QStringLiteral("SELECT Hodnota FROM CenSkupPol WHERE ID = :ID"),
                    {{QStringLiteral("ID"), own}})
                  .toDouble(),
              7.0);
    const auto stored = readItem(db(), itemId);
    EXPECT_EQ(stored->fixedSlots[0].CenHlad, QStringLiteral("VO"));
    EXPECT_EQ(stored->fixedSlots[1].CenHlad, renamed);
    EXPECT_EQ(value(QStringLiteral("SELECT CenHladina FROM Adresar")), renamed);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenHlad")).toInt(), 2);
}

TEST_F(PriceLevelsTest, ATakenCodeIsRefusedForNewAndRenamedLevelsAndGroups) {
    addLevel(QStringLiteral("VO"), computed(0, 1));
    PriceLevelCard level(db(), ui);
    ASSERT_TRUE(level.startNew());
    level.level().Zkratka = QStringLiteral("vo");
    EXPECT_EQ(level.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning,
                       QStringLiteral("Zkratka \"VO\" již v seznamu existuje, zadejte jinou.")));
    level.level().Zkratka = QStringLiteral("  ");
    EXPECT_EQ(level.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte zadat zkratku.")));

    addGroup(QStringLiteral("MALO"));
    PriceGroupCard group(db(), ui);
    ASSERT_TRUE(group.startNew());
    group.group().Zkratka = QStringLiteral("malo");
    ui.clear();
    EXPECT_EQ(group.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning,
                       QStringLiteral("Zkratka \"MALO\" již v seznamu existuje, zadejte jinou.")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkup")).toInt(), 1);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenHlad")).toInt(), 1);
}

TEST_F(PriceLevelsTest, GroupCardKeepsAtMostThreeFixedRowsAndSavesRowsWithTheGroup) {
    PriceGroupCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    card.group().Zkratka = QStringLiteral("velko");
    for (const char* code : {"F1", "F2", "F3", "F4"}) {
        PriceLevel level;
        level.ID = addLevel(QString::fromLatin1(code), fixedLevel());
        level.Zkratka = QString::fromLatin1(code);
        level.values = fixedLevel();
        EXPECT_TRUE(card.addLevel(level));
    }
    PriceLevel again;
    again.Zkratka = QStringLiteral("f1");
    EXPECT_FALSE(card.addLevel(again));
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(
        ui.saw(Kind::Warning, QStringLiteral("Skupina může obsahovat maximálně 3 fixní hladiny.")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkup")).toInt(), 0);

    card.removeRow(3);
    EXPECT_EQ(card.confirm(), CardOutcome::Saved);
    const qint64 id = card.group().ID;
    EXPECT_EQ(value(QStringLiteral("SELECT Zkratka FROM CenSkup WHERE ID = :ID"),
                    {{QStringLiteral("ID"), id}}),
              QStringLiteral("VELKO"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkupPol WHERE IDCenSkup = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toInt(),
              3);

    // Deleting a level takes it out of every group.
    PriceLevelList levels(db(), ui);
    levels.reload();
    levels.locateCode(QStringLiteral("F2"));
    ui.answer(true);
    EXPECT_TRUE(levels.removeCurrent());
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkupPol")).toInt(), 2);
    EXPECT_EQ(levels.current()->Zkratka, QStringLiteral("F3"));
}

TEST_F(PriceLevelsTest, GroupCardNoticesLevelsChangedOrDeletedElsewhere) {
    const qint64 level = addLevel(QStringLiteral("VO"), computed(0, 5));
    addLevel(QStringLiteral("MO"), computed(0, 3));
    const qint64 group = addGroup(QStringLiteral("A"));
    addRow(group, QStringLiteral("VO"), computed(0, 5), true);
    addRow(group, QStringLiteral("MO"), computed(0, 3), true);
    PriceGroupCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(group));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CenHlad WHERE Zkratka = :Z"),
                             {{QStringLiteral("Z"), QStringLiteral("MO")}}));
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE CenHlad SET Hodnota = 9 WHERE ID = :ID"),
                             {{QStringLiteral("ID"), level}}));
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("Upozornění: u některých")));
    ASSERT_EQ(card.rows().size(), 1u);
    EXPECT_EQ(card.rows()[0].values.Hodnota, 9.0);
    EXPECT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkupPol")).toInt(), 1);
}

TEST_F(PriceLevelsTest, ConsistencyCheckReportsTheFirstProblemOnly) {
    EXPECT_TRUE(checkLevelConsistency(db(), ui));
    addLevel(QStringLiteral("VO"), computed(0, 5));
    const qint64 group = addGroup(QStringLiteral("A"));
    addRow(group, QStringLiteral("vo"), computed(0, 5), true);
    addRow(4242, QStringLiteral("GONE"), computed(0, 5), true); // a vanished group is skipped
    EXPECT_TRUE(checkLevelConsistency(db(), ui));
    addRow(group, QStringLiteral("VO"), computed(0, 6), true);
    addRow(group, QStringLiteral("XX"), computed(0, 6), false);
    EXPECT_FALSE(checkLevelConsistency(db(), ui));
    EXPECT_EQ(ui.problemLines(),
              (QStringList{QStringLiteral("Cenová skupina \"A\""),
                           QStringLiteral("• cenová hladina \"VO\" - přebírá hodnoty z původní "
                                          "cen. hladiny, ale některý parametr neodpovídá"),
                           QString(),
                           QStringLiteral("Nelze pokračovat, nejprve opravte cenovou skupinu!")}));
}

} // namespace
