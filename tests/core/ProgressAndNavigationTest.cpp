#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "support/ScriptedInteraction.h"
#include "support/ScriptedNavigator.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvento;
using testsupport::ScriptedInteraction;
using testsupport::ScriptedNavigator;

namespace {

// A long run over `rows` steps as the bulk operations do it: stops when asked to.
int workThrough(core::UserInteraction& ui, int rows) {
    core::ProgressScope progress(ui, QStringLiteral("Přeceňuji položky\nprosím čekejte..."), rows);
    int done = 0;
    for (int i = 1; i <= rows; ++i) {
        if (!progress.step(i))
            break;
        ++done;
    }
    return done;
}

TEST(ProgressScope, CancelledHalfWayStopsThereHidesTheWindowAndClearsTheFlag) {
    core::resetProgramState();
    core::programState().cancelRequested = true; // left over from an earlier run
    ScriptedInteraction ui;
    ui.cancelAtStep(4);
    EXPECT_EQ(workThrough(ui, 10), 3);
    EXPECT_FALSE(ui.waitShown());
    EXPECT_FALSE(core::programState().cancelRequested);
    EXPECT_EQ(ui.waitTexts(), QStringList{QStringLiteral("Přeceňuji položky\nprosím čekejte...")});
    ASSERT_GE(ui.progress().size(), 5u);
    EXPECT_EQ(ui.progress()[1], std::make_pair(1, 10));
    EXPECT_EQ(ui.progress()[4], std::make_pair(4, 10));
    EXPECT_EQ(ui.progress().back(), std::make_pair(0, 0)) << "the bar goes with the window";

    // The next run starts afresh and goes to the end.
    EXPECT_EQ(workThrough(ui, 10), 10);
    EXPECT_GE(ui.keepAlives(), 10);
}

TEST(ProgressScope, HidesOnceAlsoWhenTheWorkFails) {
    ScriptedInteraction ui;
    try {
        core::ProgressScope progress(ui, QStringLiteral("Import\nprosím čekejte..."), 3, false);
        progress.step(1);
        throw std::runtime_error("disk full");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(ui.waitShown());
    // Without the cancel link a stray flag does not stop the work.
    core::programState().cancelRequested = true;
    core::ProgressScope progress(ui, QStringLiteral("x"), 2, false);
    core::programState().cancelRequested = true;
    EXPECT_TRUE(progress.advance());
}

TEST(ScriptedDoubles, FailTheTestWhenAScriptedAnswerIsLeftUnused) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedInteraction ui;
            ui.answer(true);
        },
        "left unused");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedInteraction ui;
            ui.answer(core::Answer::Cancel);
            ui.question(QStringLiteral("Yes or no?"));
        },
        "Cancel scripted for a Yes/No question");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedNavigator navigator;
            navigator.answerWindow({core::NavigationStatus::Done, {1}});
        },
        "left unused");
}

TEST(ScriptedDoubles, QuestionsCarryTheirButtonsAndDefault) {
    ScriptedInteraction ui;
    ui.answer(core::Answer::Cancel);
    ui.answer(true);
    EXPECT_EQ(ui.ask(QStringLiteral("Opustit nabídku bez uložení?"), core::Buttons::YesNoCancel,
                     core::Answer::Cancel),
              core::Answer::Cancel);
    EXPECT_TRUE(ui.question(QStringLiteral("Pokračovat?")));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].buttons, core::Buttons::YesNoCancel);
    EXPECT_EQ(ui.messages()[0].defaultButton, core::Answer::Cancel);
    EXPECT_EQ(ui.messages()[1].buttons, core::Buttons::YesNo);
}

// What an offer card will do with the catalogue beside it: ask for items and add them when they
// come, which for a window that stays open is after the request has returned.
class ItemsRequester {
public:
    explicit ItemsRequester(core::Navigator& navigator)
        : m_navigator(navigator) {}
    void addFromCatalogue() {
        m_pick = m_navigator.pickCatalogueItems();
        m_pick->onAnswer([this](const core::NavigationResult& result) {
            if (result.status == core::NavigationStatus::Done)
                added.insert(added.end(), result.ids.begin(), result.ids.end());
            else
                ++refused;
        });
    }
    std::vector<qint64> added;
    int refused = 0;

private:
    core::Navigator& m_navigator;
    std::shared_ptr<core::PendingNavigation> m_pick;
};

TEST(Navigator, PickFromAWindowThatStaysOpenAnswersLaterAndOnlyWhileAsked) {
    ScriptedNavigator navigator;
    navigator.answerWindow({core::NavigationStatus::Done, {11, 12}}); // modal: answers at once
    navigator.keepOpen();                                             // stays open
    navigator.keepOpen();
    ItemsRequester card(navigator);
    card.addFromCatalogue();
    EXPECT_EQ(card.added, (std::vector<qint64>{11, 12}));

    card.addFromCatalogue();
    EXPECT_EQ(card.added.size(), 2u) << "nothing chosen yet";
    ASSERT_TRUE(navigator.answerPending({core::NavigationStatus::Done, {30}}));
    EXPECT_EQ(card.added, (std::vector<qint64>{11, 12, 30}));

    // The card closed before the person chose: the late answer reaches nobody.
    {
        ItemsRequester closed(navigator);
        closed.addFromCatalogue();
    }
    EXPECT_TRUE(navigator.answerPending({core::NavigationStatus::Done, {40}}));
    EXPECT_FALSE(navigator.answerPending({core::NavigationStatus::Done, {50}}));
    EXPECT_EQ(navigator.count(QStringLiteral("pickCatalogueItems")), 3);

    // A window this program does not have yet: a clear "not available".
    navigator.answerWindow({core::NavigationStatus::NotAvailable, {}});
    const auto firm = navigator.openFirmCard(7);
    ASSERT_TRUE(firm->answered());
    EXPECT_EQ(firm->result().status, core::NavigationStatus::NotAvailable);
    EXPECT_EQ(navigator.requests().back(), QStringLiteral("openFirmCard 7"));
}

} // namespace
