#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferListLogic.h"
#include "offers/OfferListModel.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// The print window of the offer list and the price-level list of the offer card, reached by the
// logic through the navigator.
class OfferWindowsThroughNavigator : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        if (HasFatalFailure())
            return;
        core::programState().user.vsechnyNabidky = true;
    }

    qint64 addOffer(const QString& doklad) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, AdrNazev, IDStav, Zamek) VALUES "
                           "(:Doklad, 'Firma', 0, 0)"),
            {{QStringLiteral("Doklad"), doklad}}));
        return db().newRowId();
    }
    static core::NavigationResult level(qint64 id, const QString& code) {
        core::NavigationResult result{NavigationStatus::Done, {id}};
        result.code = code;
        return result;
    }

    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
};

// "Tisk" prints the marked offers in the list's order, else every offer shown; only a print that
// changed an offer's state reads the list again (and with it drops the marks).
TEST_F(OfferWindowsThroughNavigator, ListPrintsMarksOrAllAndReloadsAfterAStateChange) {
    const qint64 a = addOffer(QStringLiteral("NB1"));
    const qint64 b = addOffer(QStringLiteral("NB2"));
    const qint64 c = addOffer(QStringLiteral("NB3"));
    offers::OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ASSERT_TRUE(list.sortBy(QStringLiteral("Doklad")));
    int told = 0;
    list.setOnChanged([&told] { ++told; });
    list.setCurrentRow(1);

    test.navigator.answerWindow({NavigationStatus::Done, {}});
    list.printList();
    EXPECT_EQ(test.navigator.requests().last(),
              QStringLiteral("printOfferList %1: %2 %3 %4").arg(b).arg(a).arg(b).arg(c));

    list.toggleMark(2);
    list.toggleMark(0);
    // The window closed without a print that changed a state: the marks stay.
    test.navigator.answerWindow({NavigationStatus::Done, {}});
    list.printList();
    EXPECT_EQ(test.navigator.requests().last(),
              QStringLiteral("printOfferList %1: %2 %3").arg(b).arg(a).arg(c));
    EXPECT_EQ(list.offersToPrint(), (std::vector<qint64>{a, c}));
    EXPECT_EQ(told, 0);

    // A print that marked offers as sent (their state written here by hand): the list shows the
    // new state, on the same offer.
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nabidky SET IDStav = 1 WHERE ID = :ID"),
                             {{QStringLiteral("ID"), a}}));
    test.navigator.answerWindow({NavigationStatus::Done, {a, c}});
    list.printList();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(list.currentId(), b);
    EXPECT_EQ(list.offersToPrint(), (std::vector<qint64>{a, b, c}));
    EXPECT_EQ(list.rows().index(0, 0).data(offers::OfferListModel::StateRole).toInt(), 1);
}

// "..." of the card's own level: the list starts on the level the offer has; the chosen code
// becomes the offer's level (with the usual question about the items), a cancel changes nothing.
TEST_F(OfferWindowsThroughNavigator, CardTakesTheOwnLevelPickedThroughTheNavigator) {
    const qint64 wholesale = addLevel(QStringLiteral("VO"), {});
    auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
    ASSERT_TRUE(opened);
    offers::OfferCardLogic card(test.context, std::move(*opened), editor);
    card.setLevelFromAddress(false);

    test.navigator.answerWindow(level(wholesale, QStringLiteral("VO")));
    ui.answer(false); // the items keep their prices
    card.pickOwnLevel();
    EXPECT_EQ(card.offer().header().CenHladina, QStringLiteral("VO"));
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("hladina \"VO\"")));

    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    card.pickOwnLevel();
    EXPECT_EQ(card.offer().header().CenHladina, QStringLiteral("VO"));
    EXPECT_EQ(ui.texts(Kind::Question).size(), 1);
    EXPECT_EQ(test.navigator.requests(),
              (QStringList{QStringLiteral("pickPriceLevel"), QStringLiteral("pickPriceLevel VO")}));
}

} // namespace
