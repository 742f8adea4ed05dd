// Tests of the deterministic random-number source.
#include "platform/Random.h"

#include <gtest/gtest.h>

using namespace ravel;

// Values worked out by hand from the generator: s(k+1) = 48271 * s(k) mod (2^31 - 1), s(0) = 4660,
// and each value (s1 & 536870908 + (s2 & 536870904) / 2^27) / 2^29 from two consecutive draws.
TEST(RandomTest, FirstValuesFromTheStartingSeedAreFixed)
{
    SeedRandom(4660);
    EXPECT_DOUBLE_EQ(RandomUnit(), 0.4189887270692887);
    EXPECT_EQ(RandomSeed(), 539475828);
    EXPECT_DOUBLE_EQ(RandomUnit(), 0.21256311710331344);
    EXPECT_EQ(RandomSeed(), 1951098782);
    EXPECT_FLOAT_EQ(RandomRange(-180.0f, 180.0f), 69.94249725341797f);
}

TEST(RandomTest, RangeWithMinAboveMaxIsSwapped)
{
    SeedRandom(4660);
    float a = RandomRange(-180.0f, 180.0f);
    SeedRandom(4660);
    float b = RandomRange(180.0f, -180.0f);
    EXPECT_EQ(a, b);
    EXPECT_FLOAT_EQ(a, -29.164058685302734f);
}

TEST(RandomTest, ValuesStayInsideTheRange)
{
    SeedRandom(4660);
    for (int k = 0; k < 10000; ++k)
    {
        float v = RandomRange(2.0f, 5.0f);
        ASSERT_GE(v, 2.0f);
        ASSERT_LE(v, 5.0f);
    }
}
