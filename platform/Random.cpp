// platform/Random.cpp: Park and Miller's minimal-standard generator, multiplier 48271.
#include "platform/Random.h"

namespace ravel
{

namespace
{
int state = 4660;

// One step of the generator, by Schrage's factorisation so that nothing overflows 32 bits.
int Draw()
{
    constexpr int a = 48271, m = 2147483647, q = 44488, r = 3399;
    int s = state;
    s = a * (s % q) - r * (s / q);
    if (s < 0)
        s += m;
    state = s;
    return s;
}
} // namespace

double RandomUnit()
{
    int s1 = Draw();
    int s2 = Draw();
    double a = s1 & 536870908;
    double b = s2 & 536870904;
    return (a + b / 134217728.0) / 536870912.0;
}

float RandomRange(float min, float max)
{
    if (min > max)
    {
        float t = min;
        min = max;
        max = t;
    }
    return static_cast<float>(RandomUnit() * static_cast<double>(max - min) + static_cast<double>(min));
}

void SeedRandom(int seed)
{
    seed %= 2147483647;
    if (seed < 0)
        seed += 2147483647;
    state = seed == 0 ? 1 : seed;
}

int RandomSeed()
{
    return state;
}

} // namespace ravel
