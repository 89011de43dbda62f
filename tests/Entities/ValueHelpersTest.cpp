#include <gtest/gtest.h>

#include "Entities/MostCommonValue.h"
#include "Entities/TextTools.h"

using namespace Tarnel;

TEST(ValueHelpers, MostCommonValueAndTrimming)
{
    // The first value wins a tie.
    EXPECT_EQ(MostCommonValue({4, 7, 7, 4}).value, 4);
    EXPECT_EQ(MostCommonValue({4, 7, 7, 4}).indices, (std::vector<int>{0, 3}));
    EXPECT_EQ(MostCommonValue({1, 2, 2}).value, 2);
    EXPECT_EQ(TrimWhitespace(" \t 17\r\n"), "17");
    EXPECT_EQ(TrimWhitespace("a b"), "a b");
    EXPECT_EQ(TrimWhitespace(" \t\r\n"), "");
}
