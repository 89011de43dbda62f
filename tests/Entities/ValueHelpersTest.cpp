#include <gtest/gtest.h>

#include "Entities/MostCommonValue.h"
#include "Entities/TextTools.h"
#include "Entities/ValueRange.h"
#include "Entities/ValueSet.h"

using namespace Tarnel;

TEST(MostCommonValue, FirstValueWinsTies)
{
    const MostCommonValue tie({4, 7, 7, 4});
    EXPECT_EQ(tie.value, 4);
    EXPECT_EQ(tie.indices, (std::vector<int>{0, 3}));
    const MostCommonValue clear({1, 2, 2});
    EXPECT_EQ(clear.value, 2);
    EXPECT_EQ(clear.indices, (std::vector<int>{1, 2}));
}

TEST(ValueSetAndRange, DistinctValuesAndExtremes)
{
    EXPECT_EQ(ValueSet<int>({3, 3, 5}).Length(), 2u);
    const ValueRange<int> range(std::unordered_set<int>{12, -4, 7});
    EXPECT_EQ(range.min, -4);
    EXPECT_EQ(range.max, 12);
}

TEST(TrimWhitespace, RemovesBlanksTabsAndLineEnds)
{
    EXPECT_EQ(TrimWhitespace(" \t 17\r\n"), "17");
    EXPECT_EQ(TrimWhitespace("a b"), "a b");
    EXPECT_EQ(TrimWhitespace(" \t\r\n"), "");
    EXPECT_EQ(TrimWhitespace(""), "");
}
