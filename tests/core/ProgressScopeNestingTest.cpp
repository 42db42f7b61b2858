#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

using namespace orvento;
using testsupport::ScriptedInteraction;

namespace {

// Counts how often the wait window is hidden: an inner scope must never do it.
class CountingInteraction : public ScriptedInteraction {
public:
    void hideWait() override {
        ++hides;
        ScriptedInteraction::hideWait();
    }
    int hides = 0;
};

const QString kList = QStringLiteral("Načítám seznam\nprosím čekejte...");
const QString kCard = QStringLiteral("Načítám položku\nprosím čekejte...");
const QString kSave = QStringLiteral("Ukládání položky\nprosím čekejte...");

TEST(ProgressScopeNesting, InnerScopesKeepTheWindowAndGiveTheOuterTextAndBarBack) {
    core::resetProgramState();
    CountingInteraction ui;
    {
        core::ProgressScope outer(ui, kList, 4);
        ASSERT_TRUE(outer.step(2));
        {
            const core::ProgressScope card(ui, kCard, 0, false);
            {
                core::ProgressScope save(ui, kSave, 0, false);
                save.end();
                save.end(); // ended once only
                EXPECT_EQ(ui.waitTexts().back(), kCard);
            }
            EXPECT_TRUE(ui.waitShown());
            EXPECT_EQ(ui.hides, 0) << "an inner scope hid the outer one's window";
        }
        EXPECT_EQ(ui.waitTexts(), (QStringList{kList, kCard, kSave, kCard, kList}));
        EXPECT_EQ(ui.progress().back(), std::make_pair(2, 4)) << "the outer bar is back";
        EXPECT_TRUE(outer.step(3));
    }
    EXPECT_EQ(ui.hides, 1);
    EXPECT_FALSE(ui.waitShown());
    EXPECT_EQ(ui.progress().back(), std::make_pair(0, 0));
}

TEST(ProgressScopeNesting, ACancelDuringInnerWorkStopsTheOuterRunAndIsClearedAtItsEnd) {
    core::resetProgramState();
    ScriptedInteraction ui;
    int rowsDone = 0;
    {
        core::ProgressScope run(ui, kList, 3);
        for (int row = 1; row <= 3 && !run.cancelled(); ++row) {
            core::ProgressScope inner(ui, kCard, 2);
            inner.step(1);
            if (row == 2) {
                core::programState().cancelRequested = true; // "<zrušit>" during row 2
                EXPECT_FALSE(inner.step(2));
            }
            run.step(row);
            ++rowsDone;
        }
        EXPECT_TRUE(run.cancelled()) << "the inner scope's end cleared the outer cancel";
        EXPECT_TRUE(core::programState().cancelRequested);
    }
    EXPECT_EQ(rowsDone, 2);
    EXPECT_FALSE(core::programState().cancelRequested);

    // An inner scope starts without wiping a cancel already pressed for the outer run.
    {
        core::ProgressScope run(ui, kList, 2);
        core::programState().cancelRequested = true;
        const core::ProgressScope inner(ui, kCard, 0, false);
        EXPECT_FALSE(inner.cancelled()) << "no cancel link: the inner work runs on";
        EXPECT_TRUE(run.cancelled());
    }
}

TEST(ProgressScopeNesting, AnInWindowRunShowsNoWaitWindowButHidesAnInnerOne) {
    core::resetProgramState();
    CountingInteraction ui;
    std::vector<std::pair<int, int>> shown;
    {
        core::ProgressScope move(
            ui, [&](int done, int total) { shown.emplace_back(done, total); }, 10);
        EXPECT_TRUE(ui.waitTexts().isEmpty());
        EXPECT_TRUE(move.step(5));
        {
            // A step that opens a wait of its own (a card loaded on the way).
            const core::ProgressScope inner(ui, kCard, 0, false);
            EXPECT_TRUE(ui.waitShown());
        }
        EXPECT_FALSE(ui.waitShown()) << "the run shows itself in its own window";
        core::programState().cancelRequested = true; // its own "Přerušit"
        EXPECT_FALSE(move.step(10));
    }
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{5, 10}, {10, 10}}));
    EXPECT_EQ(ui.hides, 1);
    EXPECT_FALSE(core::programState().cancelRequested);
}

TEST(ProgressScopeNesting, AnOuterScopeEndedFirstLeavesTheWindowToTheInnerOne) {
    core::resetProgramState();
    CountingInteraction ui;
    std::optional<core::ProgressScope> outer;
    outer.emplace(ui, kList, 0, false);
    {
        core::ProgressScope inner(ui, kCard, 0, false);
        outer.reset();
        EXPECT_EQ(ui.hides, 0);
        inner.setText(kSave);
        EXPECT_EQ(ui.waitTexts().back(), kSave);
    }
    EXPECT_EQ(ui.hides, 1);
    EXPECT_FALSE(ui.waitShown());
}

} // namespace
