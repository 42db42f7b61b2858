#include "catalogue/CatalogueAgenda.h"

#include "catalogue/IdentifierRecords.h"
#include "core/ProgramState.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferIdentifierBreakdown.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

using namespace orvento;
using offers::IdentifierBreakdownRow;
using offers::OfferItem;

namespace {

OfferItem tagged(const QString& identif, double net, double purchase = 0.0, double profit = 0.0) {
    OfferItem item;
    item.Popis = identif;
    item.Identif = identif;
    item.PocetMJ = 2.0;
    item.NakCena = purchase;
    item.PCBDPHPOL = net;
    item.PCSDPHPOL = net * 1.21;
    item.ZiskPol = profit;
    return item;
}

catalogue::Identifier defined(const QString& code, const QString& name, bool left = false) {
    return {-1, code, name, left};
}

QStringList codesOf(const std::vector<IdentifierBreakdownRow>& rows) {
    QStringList codes;
    for (const IdentifierBreakdownRow& row : rows)
        codes << row.ZkrIdent;
    return codes;
}

// An item tagged A and one tagged A and B: the rows sum to more than the offer, as they must.
TEST(IdentifierBreakdown, ItemsCountInFullUnderEachOfTheirIdentifiers) {
    const std::vector<OfferItem> items = {tagged(QStringLiteral("_A_"), 100.0, 30.0, 40.0),
                                          tagged(QStringLiteral("_A_B_"), 50.0, 10.0, 30.0)};
    const auto rows = offers::buildIdentifierBreakdown(
        items, {defined(QStringLiteral("B"), QStringLiteral("Služby"))}, true);
    ASSERT_EQ(codesOf(rows), (QStringList{"A", "B"}));
    EXPECT_DOUBLE_EQ(rows[0].ProdBDPH, 150.0);
    EXPECT_DOUBLE_EQ(rows[1].ProdBDPH, 50.0);
    EXPECT_DOUBLE_EQ(rows[0].ProdBDPH + rows[1].ProdBDPH, 200.0);
    EXPECT_DOUBLE_EQ(rows[0].ProdSDPH, 150.0 * 1.21);
    // The purchase price is the unit price times the quantity; the profit the line's.
    EXPECT_DOUBLE_EQ(rows[0].NakCena, 80.0);
    EXPECT_DOUBLE_EQ(rows[0].Zisk, 70.0);
    EXPECT_TRUE(rows[0].PopisIdent.isEmpty()); // A is not defined
    EXPECT_EQ(rows[1].PopisIdent, QStringLiteral("Služby"));

    // Without the purchase-price right the purchase price and profit stay 0.
    const auto hidden = offers::buildIdentifierBreakdown(items, {}, false);
    ASSERT_EQ(hidden.size(), 2u);
    EXPECT_DOUBLE_EQ(hidden[0].NakCena, 0.0);
    EXPECT_DOUBLE_EQ(hidden[0].Zisk, 0.0);
    EXPECT_DOUBLE_EQ(hidden[0].ProdBDPH, 150.0);
}

TEST(IdentifierBreakdown, CodesMeetIgnoringCaseAndKeepTheFirstSpelling) {
    const std::vector<OfferItem> items = {
        tagged(QStringLiteral("_čaj_"), 10.0), tagged(QStringLiteral("_ČAJ_hw_"), 20.0),
        tagged(QStringLiteral("_HW_"), 5.0),
        // Read up to the adjacent separators only, and a code named twice counts once.
        tagged(QStringLiteral("_HW__ČAJ_"), 1.0), tagged(QStringLiteral("_hw_HW_"), 2.0)};
    const auto rows = offers::buildIdentifierBreakdown(
        items,
        {defined(QStringLiteral("ČAJ"), QStringLiteral("Čaje")),
         defined(QStringLiteral("HW"), QStringLiteral("Přístroje"))},
        true);
    ASSERT_EQ(codesOf(rows), (QStringList{QStringLiteral("čaj"), QStringLiteral("hw")}));
    EXPECT_DOUBLE_EQ(rows[0].ProdBDPH, 30.0);
    EXPECT_EQ(rows[0].PopisIdent, QStringLiteral("Čaje"));
    EXPECT_DOUBLE_EQ(rows[1].ProdBDPH, 28.0);
    EXPECT_EQ(rows[1].PopisIdent, QStringLiteral("Přístroje"));
}

// Items without identifiers, title and text items count under the empty code, never shown; an
// identifier left out of the breakdown is hidden while its items count under their others.
TEST(IdentifierBreakdown, HiddenRowsAndItemsWithoutIdentifiers) {
    std::vector<OfferItem> items = {offers::titleItem(QStringLiteral("Materiál")),
                                    tagged(QString(), 100.0),
                                    offers::textItem(QStringLiteral("Poznámka"))};
    EXPECT_TRUE(offers::buildIdentifierBreakdown(items, {}, true).empty());

    items.push_back(tagged(QStringLiteral("_AKCE_HW_"), 40.0));
    items.push_back(tagged(QStringLiteral("_akce_"), 7.0));
    const auto rows = offers::buildIdentifierBreakdown(
        items, {defined(QStringLiteral("AKCE"), QStringLiteral("Akce"), true)}, true);
    ASSERT_EQ(codesOf(rows), QStringList{QStringLiteral("HW")});
    EXPECT_DOUBLE_EQ(rows[0].ProdBDPH, 40.0);
    EXPECT_FALSE(rows[0].Nepouzivat);
}

class IdentifierBreakdownCardTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        ASSERT_TRUE(opened);
        card = std::make_unique<offers::OfferCardLogic>(test.context, std::move(*opened), editor);
        card->offer().insertItem(1, tagged(QStringLiteral("_A_"), 100.0));
        card->offer().insertItem(2, tagged(QStringLiteral("_A_b_"), 50.0));
        card->offer().insertItem(3, tagged(QStringLiteral("_C_"), 10.0));
        card->itemsChanged();
        catalogue::Identifier c = defined(QStringLiteral("C"), QStringLiteral("Vyřazeno"), true);
        ASSERT_TRUE(catalogue::identifierMapping().insert(db(), c));
    }

    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
    std::unique_ptr<offers::OfferCardLogic> card;
};

// Marking B marks only the second item and clears earlier marks; the card keeps its item.
TEST_F(IdentifierBreakdownCardTest, MarkingInTheOfferReplacesTheCardsMarks) {
    card->setMark(0, true);
    card->setMark(2, true);
    card->setCurrent(2);
    auto breakdown = offers::IdentifierBreakdown::open(test.context, *card);
    ASSERT_TRUE(breakdown);
    ASSERT_EQ(codesOf(breakdown->rows()), (QStringList{"A", "b"}));
    breakdown->setMark(1, true);
    EXPECT_DOUBLE_EQ(breakdown->markedSums().net, 50.0);
    breakdown->markInOffer();
    EXPECT_EQ(card->marks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(card->current(), std::optional<std::size_t>(2));

    // With no row marked the current row counts as marked.
    breakdown->markAll(false);
    breakdown->setCurrent(0);
    breakdown->markInOffer();
    EXPECT_EQ(card->marks(), (std::vector<bool>{true, true, false}));
    breakdown->markAll(true);
    EXPECT_DOUBLE_EQ(breakdown->markedSums().net, 200.0);
}

} // namespace
