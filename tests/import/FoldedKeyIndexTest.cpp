// Keys found whatever their letter case in any alphabet, the first ID in the order added, and
// how many records share a key.
#include "core/FoldedKeyIndex.h"

#include <gtest/gtest.h>

using orvento::core::FoldedKeyIndex;

TEST(FoldedKeyIndexTest, CaseIsIgnoredInEveryAlphabetAndTheFirstIdWins) {
    FoldedKeyIndex index;
    EXPECT_TRUE(index.add(QStringLiteral("Žluťoučký-1"), 10));
    EXPECT_FALSE(index.add(QStringLiteral("ŽLUŤOUČKÝ-1"), 4));
    EXPECT_TRUE(index.add(QStringLiteral("ΣΟΦΊΑ"), 11));
    EXPECT_TRUE(index.add(QStringLiteral("Москва"), 12));
    EXPECT_TRUE(index.add(QStringLiteral("ΟΔΌΣ"), 13));

    const auto czech = index.find(QStringLiteral("žluťoučký-1"));
    ASSERT_TRUE(czech);
    EXPECT_EQ(czech->id, 10);
    EXPECT_EQ(czech->count, 2);
    EXPECT_EQ(index.find(QStringLiteral("σοφία"))->id, 11);
    EXPECT_EQ(index.find(QStringLiteral("МОСКВА"))->id, 12);
    EXPECT_EQ(index.find(QStringLiteral("οδός"))->id, 13); // the final sigma too
    // Whole values only: no prefix, no trimming, accents count.
    EXPECT_FALSE(index.find(QStringLiteral("žluťoučký")));
    EXPECT_FALSE(index.find(QStringLiteral(" žluťoučký-1")));
    EXPECT_FALSE(index.find(QStringLiteral("zlutoucky-1")));
    EXPECT_EQ(index.size(), 4);
}
