#include "catalogue/CatalogueAgenda.h"

#include "offers/OfferItemCard.h"
#include "offers/OfferItemPricing.h"
#include "offers/TextItemCard.h"

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::offers;
using testsupport::computed;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

OfferItem freeItem(double purchase, double sale, double rate = 21.0, int zaok = 0) {
    OfferItem item;
    item.Popis = QStringLiteral("Montáž");
    item.NakCena = purchase;
    item.ProdCena = sale;
    item.SazbaDPH = rate;
    item.Zaok = zaok;
    item.PocetMJ = 1.0;
    return item;
}

// Purchase 100, margin 25 %, 21 %, without VAT, discount 10 %, three units.
OfferItem marginExample(int zaok) {
    OfferItem item = freeItem(100.0, 0.0, 21.0, zaok);
    item.Marze = 25.0;
    item.Sleva = 10.0;
    item.PocetMJ = 3.0;
    recomputeItem(item, RecomputeKind::Margin);
    return item;
}

} // namespace

TEST(OfferItemArithmetic, MarginDiscountAndLineTotalsWithoutRounding) {
    const OfferItem item = marginExample(0);
    EXPECT_DOUBLE_EQ(item.ProdCena, 125.0);
    EXPECT_DOUBLE_EQ(item.ProdCenaPo, 112.5);
    EXPECT_DOUBLE_EQ(item.PCBDPHMJ, 112.5);
    EXPECT_DOUBLE_EQ(item.PCSDPHMJ, 136.125);
    EXPECT_DOUBLE_EQ(item.VyseDPHMJ, 23.625);
    EXPECT_DOUBLE_EQ(item.ZiskMJ, 12.5);
    EXPECT_DOUBLE_EQ(item.PCBDPHPOL, 337.5);
    EXPECT_DOUBLE_EQ(item.PCSDPHPOL, 408.38); // 408.375 held at two decimals
    EXPECT_DOUBLE_EQ(item.VyseDPHPol, 70.88);
    EXPECT_DOUBLE_EQ(item.ZiskPol, 37.5);
    EXPECT_DOUBLE_EQ(item.Rabat, 20.0);
    EXPECT_DOUBLE_EQ(item.NakCenaPol, 300.0);
}

TEST(OfferItemArithmetic, WholeUnitsRoundThePriceAfterDiscountBeforeTheVat) {
    const OfferItem item = marginExample(1);
    EXPECT_DOUBLE_EQ(item.ProdCenaPo, 113.0);
    EXPECT_DOUBLE_EQ(item.PCSDPHMJ, 137.0);
    EXPECT_DOUBLE_EQ(item.VyseDPHMJ, 24.0);
    EXPECT_DOUBLE_EQ(item.PCBDPHPOL, 339.0);
    EXPECT_DOUBLE_EQ(item.PCSDPHPOL, 411.0);
    EXPECT_DOUBLE_EQ(item.ZiskMJ, 13.0);
    EXPECT_DOUBLE_EQ(item.ZiskPol, 39.0);
}

TEST(OfferItemArithmetic, LineTotalsAreRoundedByTheCodeAndProfitByThePriceRule) {
    // Half a unit at 113 whole units: the line is rounded by the code, not merely held.
    OfferItem half = freeItem(0.0, 113.0, 0.0, 1);
    half.PocetMJ = 0.5;
    recomputeItem(half, RecomputeKind::None);
    EXPECT_DOUBLE_EQ(half.PCBDPHPOL, 57.0);
    EXPECT_DOUBLE_EQ(half.PCSDPHPOL, 57.0);

    // A profit of 0.1246 rounds up by the price rule (fraction above .45), to 0.13.
    OfferItem thin = freeItem(10.0, 10.1246, 0.0);
    recomputeItem(thin, RecomputeKind::None);
    EXPECT_DOUBLE_EQ(thin.ZiskMJ, 0.13);
}

TEST(OfferItemArithmetic, PriceWithVatUsesTheRoundedCoefficient) {
    OfferItem gross = freeItem(0.0, 121.0);
    gross.SDPH = true;
    recomputeItem(gross, RecomputeKind::None);
    EXPECT_DOUBLE_EQ(gross.PCSDPHMJ, 121.0);
    EXPECT_DOUBLE_EQ(gross.PCBDPHMJ, 99.9944);
    EXPECT_DOUBLE_EQ(gross.VyseDPHMJ, 21.0056);
    // Purchase 0: no margin, and a rabat of 100 % for any price.
    EXPECT_DOUBLE_EQ(gross.Marze, 0.0);
    EXPECT_DOUBLE_EQ(gross.Rabat, 100.0);
}

TEST(OfferItemArithmetic, FullDiscountAndFullRabatDivideByNothing) {
    OfferItem item = freeItem(40.0, 100.0);
    item.Sleva = 100.0;
    recomputeItem(item, RecomputeKind::Discount);
    EXPECT_DOUBLE_EQ(item.ProdCenaPo, 0.0);
    EXPECT_DOUBLE_EQ(item.ZiskMJ, -40.0);
    item.ProdCenaPo = 50.0;
    computeFromPriceAfterDiscount(item);
    EXPECT_DOUBLE_EQ(item.ProdCena, 0.0);

    OfferItem rabat = freeItem(40.0, 100.0);
    rabat.Rabat = 100.0;
    recomputeItem(rabat, RecomputeKind::Rabat);
    EXPECT_DOUBLE_EQ(rabat.ProdCena, 0.0);
    EXPECT_DOUBLE_EQ(rabat.Marze, -100.0);
}

class OfferItemCardTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        offer.header().SazDPHZakl = 21.0;
        offer.header().SazDPHSniz = 12.0;
        offer.header().NabZaok = 0;
    }

    OfferItemCard card() { return OfferItemCard(db(), ui, offer, current); }

    OfferWorkingCopy offer;
    OfferRates current{21.0, 15.0, 1};
};

TEST_F(OfferItemCardTest, EveryEditedFieldDrivesTheRest) {
    OfferItemCard c = card();
    c.openNew(std::nullopt);
    EXPECT_EQ(c.rates(), (std::vector<double>{0.0, 21.0, 12.0, 15.0}));
    EXPECT_DOUBLE_EQ(c.item().SazbaDPH, 21.0);
    c.setNakCena(80.0);
    c.setRabat(20.0);
    EXPECT_DOUBLE_EQ(c.item().ProdCena, 100.0);
    EXPECT_DOUBLE_EQ(c.item().Marze, 25.0);
    c.setSleva(10.0);
    c.setProdCenaPo(99.0); // typed after the discount: the sale price follows back
    EXPECT_DOUBLE_EQ(c.item().ProdCena, 110.0);
    EXPECT_DOUBLE_EQ(c.item().Marze, 37.5);
    EXPECT_DOUBLE_EQ(c.item().PCBDPHMJ, 99.0);
    c.setSleva(0.0);
    c.setMarze(50.0);
    EXPECT_DOUBLE_EQ(c.item().ProdCena, 120.0);
    EXPECT_DOUBLE_EQ(c.item().Rabat, 33.33);
    // The price type keeps the number and reinterprets it: 120 with VAT.
    c.setSDPH(true);
    EXPECT_DOUBLE_EQ(c.item().PCSDPHMJ, 120.0);
    EXPECT_DOUBLE_EQ(c.item().PCBDPHMJ, 99.168); // 120 − 120 × 0.1736
    c.setPocetMJ(0.0);
    EXPECT_DOUBLE_EQ(c.item().PocetMJ, 0.0001);
}

TEST_F(OfferItemCardTest, ConfirmWantsADescriptionAndPutsTheItemAfterTheCurrentOne) {
    offer.insertItem(1, titleItem(QStringLiteral("Rozvaděč")));
    offer.insertItem(2, titleItem(QStringLiteral("Kabely")));
    OfferItemCard c = card();
    c.openNew(0);
    EXPECT_EQ(c.position(), 2);
    c.setProdCena(10.0);
    EXPECT_FALSE(c.confirm());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit popis položky.")));
    c.item().Popis = QStringLiteral("Jistič");
    ASSERT_TRUE(c.confirm());
    ASSERT_EQ(offer.items().size(), 3u);
    EXPECT_EQ(offer.items()[1].Popis, QStringLiteral("Jistič"));
    EXPECT_EQ(offer.items()[1].LockID, -1);
    EXPECT_EQ(offer.header().NabZaok, 1);
    EXPECT_DOUBLE_EQ(offer.totals().totalNet, 10.0);
}

TEST_F(OfferItemCardTest, CatalogueItemTakesTheOffersLevelAndKeepsAVanishedOne) {
    addLevel(QStringLiteral("VO"), computed(0, 10.0));
    const qint64 group = addGroup(QStringLiteral("ELEKTRO"));
    const qint64 row = addRow(group, QStringLiteral("VO"), computed(0, 10.0), true);
    catalogue::ItemRecord stored;
    stored.Popis = QStringLiteral("Jistič B16");
    stored.CenSkupina = QStringLiteral("ELEKTRO");
    stored.price.NakCena = 100.0;
    stored.price.PrCenaBDPH = 200.0;
    stored.price.PrCenaSDPH = 242.0;
    stored.price.SazbaDPH = 10.0;
    stored.Nakladova = true;
    const qint64 id = addItem(stored);
    offer.header().CenHladAdr = false;
    offer.header().CenHladina = QStringLiteral("vo");

    OfferItemCard c = card();
    c.openFromCatalogue(*catalogue::readItem(db(), id), std::nullopt);
    EXPECT_EQ(c.caption(), QStringLiteral("Položka nabídky z ceníku"));
    EXPECT_EQ(c.levels().size(), 2u);
    EXPECT_EQ(c.levelIndex(), 1);
    EXPECT_DOUBLE_EQ(c.item().ProdCena, 180.0);
    EXPECT_DOUBLE_EQ(c.item().SazbaDPH, 10.0); // the catalogue's own rate joins the list
    EXPECT_TRUE(c.item().IgnorHr);             // a cost item is locked
    ASSERT_TRUE(c.confirm());
    EXPECT_EQ(offer.items()[0].CenHladina, QStringLiteral("VO"));

    // The level leaves the group: the stored price stays and the level shows as missing.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CenSkupPol WHERE ID = :ID"),
                             {{QStringLiteral("ID"), row}}));
    OfferItemCard again = card();
    ASSERT_TRUE(again.openExisting(0));
    EXPECT_TRUE(again.levelMissing());
    EXPECT_DOUBLE_EQ(again.item().ProdCena, 180.0);
    EXPECT_EQ(again.levels().size(), 2u);
}

TEST_F(OfferItemCardTest, PercentCalculatorRefusesAPriceThatRoundsToNothing) {
    OfferItemCard c = card();
    c.openNew(std::nullopt);
    c.setProdCena(0.004);
    EXPECT_FALSE(c.adjustmentStart(false));
    EXPECT_TRUE(ui.saw(Kind::Information, PriceAdjustment::zeroPriceMessage()));

    PriceAdjustment adjustment(80.004);
    EXPECT_DOUBLE_EQ(adjustment.start(), 80.0);
    adjustment.setPercent(12.5);
    EXPECT_DOUBLE_EQ(adjustment.newPrice(), 70.0);
    adjustment.setNewPrice(88.0);
    EXPECT_DOUBLE_EQ(adjustment.percent(), -10.0);
    PriceAdjustment nothing(0.0);
    nothing.setNewPrice(5.0);
    EXPECT_DOUBLE_EQ(nothing.percent(), 0.0);
}

TEST_F(OfferItemCardTest, TextItemNeedsItsText) {
    TextItemCard c(ui, offer);
    c.openNew(true, std::nullopt);
    EXPECT_FALSE(c.confirm());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Zadejte text do kolonky \"Nadpis\".")));
    c.text = QStringLiteral("Rozvaděč");
    ASSERT_TRUE(c.confirm());
    ASSERT_EQ(offer.items().size(), 1u);
    EXPECT_TRUE(offer.items()[0].Nadpisova);
}

TEST_F(OfferItemCardTest, RateListCarriesTheAgendasNewRatesAndTheItemsOwn) {
    offer.header().SazDPHZakl = 20.0;
    offer.header().SazDPHSniz = 10.0;
    OfferItem odd;
    odd.Popis = QStringLiteral("Stará sazba");
    odd.SazbaDPH = 5.0;
    odd.ProdCena = 100.0;
    odd.PocetMJ = 2.0;
    offer.insertItem(1, odd);
    OfferItemCard c = card();
    ASSERT_TRUE(c.openExisting(0));
    EXPECT_EQ(c.rates(), (std::vector<double>{0.0, 20.0, 10.0, 21.0, 15.0, 5.0}));
    EXPECT_EQ(c.rateIndex(), 5);
    EXPECT_DOUBLE_EQ(c.item().PCSDPHMJ, 105.0);
    c.selectRate(3);
    EXPECT_DOUBLE_EQ(c.item().PCSDPHMJ, 121.0);
    EXPECT_DOUBLE_EQ(c.item().PCSDPHPOL, 242.0);
}

TEST_F(OfferItemCardTest, EditKeepsTheStoredRowAndMovesItACopyIsANewRowAfterIt) {
    for (const char* name : {"A", "B", "C"}) {
        OfferItem item;
        item.Popis = QString::fromLatin1(name);
        item.ProdCena = 10.0;
        item.PocetMJ = 1.0;
        item.LockID = static_cast<unsigned char>(name[0]);
        recomputeItem(item, RecomputeKind::None);
        offer.insertItem(static_cast<int>(offer.items().size()) + 1, item);
    }
    OfferItemCard c = card();
    ASSERT_TRUE(c.openExisting(0));
    c.setProdCena(30.0);
    c.setPosition(3);
    ASSERT_TRUE(c.confirm());
    ASSERT_EQ(offer.items().size(), 3u);
    EXPECT_EQ(offer.items()[2].Popis, QStringLiteral("A"));
    EXPECT_EQ(offer.items()[2].LockID, 'A');
    EXPECT_EQ(offer.items()[2].Poradi, 3);
    EXPECT_DOUBLE_EQ(offer.totals().totalNet, 50.0);

    OfferItemCard copy = card();
    ASSERT_TRUE(copy.openCopy(0));
    EXPECT_EQ(copy.position(), 2);
    ASSERT_TRUE(copy.confirm());
    ASSERT_EQ(offer.items().size(), 4u);
    EXPECT_EQ(offer.items()[1].Popis, QStringLiteral("B"));
    EXPECT_EQ(offer.items()[1].LockID, -1);
    EXPECT_EQ(offer.items()[0].LockID, 'B');

    TextItemCard text(ui, offer);
    EXPECT_FALSE(text.openExisting(0, false)); // a price item is not a text item
}
