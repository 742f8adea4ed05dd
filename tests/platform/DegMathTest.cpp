// The degree helpers must give exactly the float that rounding the double libm result gives.
#include "platform/DegMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace ravel
{
namespace
{

float LibmCos(float degrees)
{
    return static_cast<float>(std::cos(static_cast<double>(degrees) * kDegToRad));
}

float LibmSin(float degrees)
{
    return static_cast<float>(std::sin(static_cast<double>(degrees) * kDegToRad));
}

float LibmAtan2(float y, float x)
{
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)) * kRadToDeg);
}

// Equal bits, so that -0 and +0 and NaN payloads count too (any NaN matches any NaN).
bool Same(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) || (a != a && b != b);
}

std::vector<float> AwkwardValues()
{
    const float inf = std::numeric_limits<float>::infinity();
    return {0.0f,      -0.0f,       1.0f,    -1.0f,
            90.0f,     -90.0f,      180.0f,  -180.0f,
            270.0f,    360.0f,      720.0f,  3667.0f,
            1e-30f,    -1e-30f,     1e-45f,  -1e-45f,
            FLT_MIN,   -FLT_MIN,    FLT_MAX, -FLT_MAX,
            inf,       -inf,        1e30f,   -1e30f,
            0.1f,      1.0f / 3.0f, 45.0f,   44.9999f,
            89.99999f, 90.00001f,   1e-7f,   std::numeric_limits<float>::quiet_NaN()};
}

// Both functions reduce by quarter turns, so both are checked at every quarter and every zero.
void ExpectSineAndCosine(float d)
{
    ASSERT_TRUE(Same(CosDeg(d), LibmCos(d))) << "cos " << d;
    ASSERT_TRUE(Same(SinDeg(d), LibmSin(d))) << "sin " << d;
}

TEST(DegMath, SineAndCosineMatchLibmBitForBit)
{
    for (float d : AwkwardValues())
        ExpectSineAndCosine(d);
    // Every float near the quarter turns (the zeros of one function, the peaks of the other) and near
    // the eighths, where the reduction switches quarter.
    for (float mark : {0.0f, 45.0f, 90.0f, 135.0f, 180.0f, 270.0f, 405.0f, 450.0f, 675.0f, 720.0f})
        for (float sign : {1.0f, -1.0f})
            for (float away : {1e9f, -1e9f})
            {
                float d = sign * mark;
                for (int k = 0; k < 2000; ++k, d = std::nextafter(d, away))
                    ExpectSineAndCosine(d);
            }
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> angles(-800.0f, 800.0f);
    for (int k = 0; k < 2000000; ++k)
        ExpectSineAndCosine(angles(random));
    std::uniform_real_distribution<float> small(-1.0f, 1.0f);
    for (int k = 0; k < 200000; ++k)
        ExpectSineAndCosine(small(random));
    for (int k = 0; k < 500000; ++k) // any bit pattern
        ExpectSineAndCosine(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
}

TEST(DegMath, ArcTangentMatchesLibmBitForBit)
{
    for (float y : AwkwardValues())
        for (float x : AwkwardValues())
            EXPECT_TRUE(Same(Atan2Deg(y, x), LibmAtan2(y, x))) << y << " " << x;
    std::mt19937 random(54321);
    // Unit normals and small velocities, as the contacts produce them.
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_real_distribution<float> small(-0.01f, 0.01f);
    for (int k = 0; k < 1000000; ++k)
    {
        float y = unit(random), x = unit(random);
        ASSERT_TRUE(Same(Atan2Deg(y, x), LibmAtan2(y, x))) << y << " " << x;
        y = small(random), x = small(random);
        ASSERT_TRUE(Same(Atan2Deg(y, x), LibmAtan2(y, x))) << y << " " << x;
    }
    for (int k = 0; k < 500000; ++k) // any bit patterns, so every ratio and quadrant
    {
        float y = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        float x = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        ASSERT_TRUE(Same(Atan2Deg(y, x), LibmAtan2(y, x))) << y << " " << x;
    }
    // Along the table's interval ends and the diagonal.
    for (int k = 0; k <= 32; ++k)
    {
        float x = 1.0f, y = static_cast<float>(k) / 32.0f;
        for (int j = 0; j < 200; ++j, y = std::nextafter(y, 2.0f))
        {
            ASSERT_TRUE(Same(Atan2Deg(y, x), LibmAtan2(y, x))) << y;
            ASSERT_TRUE(Same(Atan2Deg(x, -y), LibmAtan2(x, -y))) << y;
        }
    }
}

} // namespace
} // namespace ravel
