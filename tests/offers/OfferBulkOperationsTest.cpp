#include "catalogue/CatalogueAgenda.h"

#include "offers/OfferBulkOperations.h"
#include "offers/OfferItemPricing.h"

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::offers;
using testsupport::computed;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

OfferItem priced(const QString& popis, double purchase, double sale, double rate = 21.0) {
    OfferItem item;
    item.Popis = popis;
    item.NakCena = purchase;
    item.ProdCena = sale;
    item.SazbaDPH = rate;
    item.PocetMJ = 1.0;
    recomputeItem(item, RecomputeKind::None);
    return item;
}

class OfferBulkTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        offer.header().SazDPHZakl = 21.0;
        offer.header().SazDPHSniz = 12.0;
    }

    void add(OfferItem item) {
        offer.insertItem(static_cast<int>(offer.items().size()) + 1, std::move(item));
    }
    OfferBulkOperations bulk(std::vector<bool> marks = {}) {
        return OfferBulkOperations(offer, std::move(marks), ui);
    }
    double sleva(std::size_t i) const { return offer.items()[i].Sleva; }

    OfferWorkingCopy offer;
};

} // namespace

TEST_F(OfferBulkTest, DiscountTouchesMarkedPriceItemsOnlyAndNeverLockedOnes) {
    for (int i = 0; i < 4; ++i)
        add(priced(QStringLiteral("Položka %1").arg(i), 50.0, 100.0));
    add(titleItem(QStringLiteral("Nadpis")));
    OfferItem locked = offer.items()[1];
    locked.IgnorHr = true;
    offer.replaceItem(1, locked);

    EXPECT_EQ(
        bulk({false, true, true, false, true}).applyValue(BulkField::Discount, BulkMode::Set, 10.0),
        BulkOutcome::Done);
    EXPECT_EQ(sleva(0), 0.0);
    EXPECT_EQ(sleva(1), 0.0);
    EXPECT_EQ(sleva(2), 10.0);
    EXPECT_DOUBLE_EQ(offer.items()[2].ProdCenaPo, 90.0);
    EXPECT_EQ(offer.items()[4].Sleva, 0.0);
    EXPECT_DOUBLE_EQ(offer.items()[4].PCBDPHPOL, 0.0);
    EXPECT_DOUBLE_EQ(offer.totals().totalNet, 390.0);
    EXPECT_TRUE(offer.changed);
}

TEST_F(OfferBulkTest, MarginNeedsAPurchasePriceAndResetsAreAskedFor) {
    OfferItem a = priced(QStringLiteral("A"), 100.0, 120.0);
    OfferItem b = priced(QStringLiteral("B"), 100.0, 130.0);
    add(a);
    add(b);
    add(priced(QStringLiteral("Bez nákupu"), 0.0, 50.0));
    bulk().applyValue(BulkField::Margin, BulkMode::Add, 5.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].Marze, 25.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCena, 125.0);
    EXPECT_DOUBLE_EQ(offer.items()[1].Marze, 35.0);
    EXPECT_DOUBLE_EQ(offer.items()[2].ProdCena, 50.0);
    EXPECT_EQ(ui.problemLines(), QStringList{QStringLiteral("• Bez nákupu")});

    ui.clear();
    bulk().applyValue(BulkField::Rabat, BulkMode::Set, 100.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCena, 0.0);
    ui.clear();
    ui.answer(true);
    bulk().applyValue(BulkField::Rabat, BulkMode::Reset, 0.0);
    EXPECT_DOUBLE_EQ(offer.items()[2].Rabat, 0.0); // purchase 0: reset, not listed
    EXPECT_TRUE(ui.problemLines().isEmpty());
    ui.answer(false);
    EXPECT_EQ(bulk().applyValue(BulkField::Margin, BulkMode::Reset, 0.0), BulkOutcome::Cancelled);
}

TEST_F(OfferBulkTest, VatRateMustBeOneOfTheOffers) {
    add(priced(QStringLiteral("A"), 0.0, 100.0));
    EXPECT_EQ(bulk().applyValue(BulkField::VatRate, BulkMode::Set, 15.0), BulkOutcome::StayOpen);
    EXPECT_TRUE(
        ui.saw(Kind::Warning,
               QStringLiteral("Zadaná hodnota neodpovídá platným % DPH sazbám v nabídce.")));
    EXPECT_EQ(bulk().applyValue(BulkField::VatRate, BulkMode::Set, 12.0), BulkOutcome::Done);
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCena, 100.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].PCSDPHMJ, 112.0);
}

TEST_F(OfferBulkTest, DiscountToATotalReachesItWithinTheItemsRounding) {
    add(priced(QStringLiteral("A"), 0.0, 100.0));
    add(priced(QStringLiteral("B"), 0.0, 300.0));
    DiscountSearch s = bulk().discountToTotal(360.0, true);
    EXPECT_TRUE(s.reached);
    EXPECT_EQ(sleva(0), 10.0);
    EXPECT_EQ(sleva(1), 10.0);
    EXPECT_DOUBLE_EQ(s.total, 360.0);
    EXPECT_LE(s.steps, OfferBulkOperations::kMaxSearchSteps);

    OfferItem locked = priced(QStringLiteral("B"), 0.0, 300.0);
    locked.IgnorHr = true;
    offer.replaceItem(1, locked);
    s = bulk().discountToTotal(360.0, true);
    EXPECT_EQ(sleva(0), 40.0);
    EXPECT_EQ(sleva(1), 0.0);

    // Below what the locked item alone costs: refused, the discount stays reset.
    s = bulk().discountToTotal(250.0, true);
    EXPECT_FALSE(s.reached);
    EXPECT_EQ(sleva(0), 0.0);
    EXPECT_EQ(ui.texts(Kind::Warning).size(), 1);
}

TEST_F(OfferBulkTest, DiscountToATotalThatNoHundredthReachesStopsAtTheClosest) {
    add(priced(QStringLiteral("A"), 0.0, 100.0));
    add(priced(QStringLiteral("B"), 0.0, 200.0));
    const DiscountSearch s = bulk().discountToTotal(250.0, true);
    EXPECT_TRUE(s.reached);
    EXPECT_DOUBLE_EQ(s.discount, 16.67);
    EXPECT_DOUBLE_EQ(s.total, 249.99);
    EXPECT_LE(s.steps, OfferBulkOperations::kMaxSearchSteps);

    // Nothing to discount: refused.
    OfferWorkingCopy empty;
    empty.insertItem(1, titleItem(QStringLiteral("Nadpis")));
    OfferBulkOperations none(empty, {}, ui);
    EXPECT_FALSE(none.discountToTotal(100.0, true).reached);
}

TEST_F(OfferBulkTest, PricesFollowTheCatalogueAndMissingOnesAreListed) {
    addLevel(QStringLiteral("VO"), computed(0, 10.0));
    const qint64 group = addGroup(QStringLiteral("ELEKTRO"));
    addRow(group, QStringLiteral("VO"), computed(0, 10.0), true);
    catalogue::ItemRecord stored;
    stored.Popis = QStringLiteral("Jistič");
    stored.CenSkupina = QStringLiteral("ELEKTRO");
    stored.price.NakCena = 60.0;
    stored.price.PrCenaBDPH = 200.0;
    stored.price.SazbaDPH = 21.0;
    const qint64 inGroup = addItem(stored);
    stored.CenSkupina.clear();
    stored.Popis = QStringLiteral("Kabel");
    const qint64 noGroup = addItem(stored);
    stored.Popis = QStringLiteral("Zrušený");
    const qint64 gone = addItem(stored);

    const auto fromCatalogue = [](const QString& popis, qint64 id) {
        OfferItem item = priced(popis, 50.0, 150.0);
        item.CisloKarty = id;
        item.Sleva = 10.0;
        recomputeItem(item, RecomputeKind::Discount);
        return item;
    };
    add(fromCatalogue(QStringLiteral("Jistič"), inGroup));
    add(fromCatalogue(QStringLiteral("Kabel"), noGroup));
    add(fromCatalogue(QStringLiteral("Zrušený"), gone));
    add(priced(QStringLiteral("Volná"), 10.0, 20.0));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Zasoby WHERE ID = :ID"),
                             {{QStringLiteral("ID"), gone}}));

    bulk().setLevel(db(), QStringLiteral("vo"), true);
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCena, 180.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCenaPo, 162.0); // the discount stays
    EXPECT_DOUBLE_EQ(offer.items()[0].NakCena, 50.0);     // and the purchase price
    EXPECT_EQ(offer.items()[0].CenHladina, QStringLiteral("VO"));
    EXPECT_DOUBLE_EQ(offer.items()[1].ProdCena, 150.0);
    EXPECT_DOUBLE_EQ(offer.items()[3].ProdCena, 20.0);
    EXPECT_EQ(
        ui.problemLines(),
        (QStringList{
            QStringLiteral("• Kabel (ID %1) - hladina \"vo\" na položce v ceníku "
                           "neexistuje")
                .arg(noGroup),
            QStringLiteral("• Zrušený (ID %1) - položka v ceníku již neexistuje").arg(gone)}));

    // The catalogue price changes; a refresh takes it on each item's own level, purchase too.
    ASSERT_TRUE(db().execute(
        QStringLiteral("UPDATE Zasoby SET PrCenaBDPH = :P, NakCena = :N WHERE ID = :ID"),
        {{QStringLiteral("P"), 300.0},
         {QStringLiteral("N"), 90.0},
         {QStringLiteral("ID"), inGroup}}));
    ui.clear();
    OfferItem lockedCable = offer.items()[1];
    lockedCable.IgnorHr = true;
    offer.replaceItem(1, lockedCable);
    bulk({true, true, false, false}).refreshFromCatalogue(db());
    EXPECT_DOUBLE_EQ(offer.items()[0].ProdCena, 270.0);
    EXPECT_DOUBLE_EQ(offer.items()[0].NakCena, 90.0);
    EXPECT_EQ(ui.problemLines(),
              QStringList{QStringLiteral("• Kabel (ID %1) - položka je uzamčena").arg(noGroup)});
}

TEST_F(OfferBulkTest, CurrentVatRatesMoveEachItemOnce) {
    offer.header().SazDPHZakl = 15.0;
    offer.header().SazDPHSniz = 10.0;
    add(priced(QStringLiteral("A"), 0.0, 100.0, 10.0));
    add(priced(QStringLiteral("B"), 0.0, 100.0, 15.0));
    add(priced(QStringLiteral("C"), 0.0, 100.0, 0.0));
    OfferItem locked = priced(QStringLiteral("D"), 0.0, 100.0, 10.0);
    locked.IgnorHr = true;
    add(locked);
    const OfferRates current{21.0, 15.0, 0};
    EXPECT_TRUE(VatRatesView::of(offer, current).differ());
    setCurrentVatRates(offer, current);
    EXPECT_DOUBLE_EQ(offer.items()[0].SazbaDPH, 15.0);
    EXPECT_DOUBLE_EQ(offer.items()[1].SazbaDPH, 21.0);
    EXPECT_DOUBLE_EQ(offer.items()[2].SazbaDPH, 0.0);
    EXPECT_DOUBLE_EQ(offer.items()[3].SazbaDPH, 15.0);
    EXPECT_DOUBLE_EQ(offer.items()[1].PCSDPHMJ, 121.0);
    EXPECT_FALSE(VatRatesView::of(offer, current).differ());
}

TEST_F(OfferBulkTest, DiscountToATotalWithVatCountsUnmarkedItemsAsFixed) {
    add(priced(QStringLiteral("A"), 0.0, 100.0)); // 121 with VAT
    add(priced(QStringLiteral("B"), 0.0, 200.0)); // 242 with VAT, not marked
    OfferItem old = priced(QStringLiteral("C"), 0.0, 50.0);
    old.Sleva = 20.0;
    recomputeItem(old, RecomputeKind::Discount);
    add(old); // marked: its discount is reset first
    const DiscountSearch s = bulk({true, false, true}).discountToTotal(242.0 + 90.75, false);
    ASSERT_TRUE(s.reached);
    EXPECT_EQ(sleva(0), 50.0);
    EXPECT_EQ(sleva(1), 0.0);
    EXPECT_EQ(sleva(2), 50.0);
    EXPECT_DOUBLE_EQ(s.total, 332.75);
}

TEST_F(OfferBulkTest, DiscountToATotalRemembersItsBasis) {
    add(priced(QStringLiteral("A"), 0.0, 100.0));
    OfferBulkOperations operations = bulk();
    ASSERT_TRUE(operations.startDiscountToTotal());
    EXPECT_TRUE(OfferBulkOperations::rememberedBasisWithoutVat());
    EXPECT_DOUBLE_EQ(operations.currentTotal(false), 121.0);
    operations.confirmDiscountToTotal(108.9, false);
    EXPECT_EQ(sleva(0), 10.0);
    EXPECT_FALSE(OfferBulkOperations::rememberedBasisWithoutVat());

    OfferWorkingCopy empty;
    OfferBulkOperations none(empty, {}, ui);
    EXPECT_FALSE(none.startDiscountToTotal());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Přidejte nejprve do nabídky alespoň jednu položku.")));
}

TEST_F(OfferBulkTest, LevelQuestionNamesTheLevelAndTheMarks) {
    add(priced(QStringLiteral("A"), 0.0, 100.0));
    add(priced(QStringLiteral("B"), 0.0, 100.0));
    ui.answer(false);
    EXPECT_FALSE(bulk({false, true}).askSetLevel(QStringLiteral("VO")));
    const QString asked = ui.texts(Kind::Question).value(0);
    EXPECT_TRUE(asked.contains(
        QStringLiteral("• na všechny ceníkové položky bude hromadně dosazena hladina \"VO\"")));
    EXPECT_TRUE(asked.contains(QStringLiteral("(aktuální počet označených položek: 1)")));
    EXPECT_TRUE(asked.endsWith(QStringLiteral("Pokračovat ?")));
}
