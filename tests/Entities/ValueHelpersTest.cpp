#include <gtest/gtest.h>

#include "Entities/MostCommonValue.h"
#include "Entities/TextTools.h"
#include "Entities/ValueRange.h"
#include "Entities/ValueSet.h"

using namespace Tarnel;

TEST(ValueHelpers, MostCommonValueSetRangeAndTrimming)
{
    // The first value wins a tie.
    EXPECT_EQ(MostCommonValue({4, 7, 7, 4}).value, 4);
    EXPECT_EQ(MostCommonValue({4, 7, 7, 4}).indices, (std::vector<int>{0, 3}));
    EXPECT_EQ(MostCommonValue({1, 2, 2}).value, 2);
    EXPECT_EQ(ValueSet<int>({3, 3, 5}).Length(), 2u);
    const ValueRange<int> range(std::unordered_set<int>{12, -4, 7});
    EXPECT_EQ(range.min, -4);
    EXPECT_EQ(range.max, 12);
    EXPECT_EQ(TrimWhitespace(" \t 17\r\n"), "17");
    EXPECT_EQ(TrimWhitespace("a b"), "a b");
    EXPECT_EQ(TrimWhitespace(" \t\r\n"), "");
}
