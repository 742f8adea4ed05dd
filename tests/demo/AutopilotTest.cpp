// tests/demo/AutopilotTest.cpp: laps of the circuit driven through the keys, as a player drives.
#include "tests/demo/Autopilot.h"

#include <cstdio>

namespace ravel::demo::test
{
namespace
{

bool OnGrass()
{
    for (float g : car->wGrip)
        if (g != 0.9f)
            return true;
    return false;
}

TEST_F(DemoTest, CleanLap)
{
    TAutopilot pilot;
    pilot.Nearest(car->chassis->GetX(), car->chassis->GetY());
    int grass = 0;
    int s = 0;
    float lineX = pilot.Circuit().startLineX * TAutopilot::kScale;
    int crossed = 0;
    float topSpeed = 0;
    for (; s < 4000 && crossed == 0; ++s)
    {
        float before = car->chassis->GetX();
        pilot.Drive(keys);
        StepFrame();
        if (s > 1 && OnGrass())
        {
            ++grass;
            std::printf("grass at step %d idx %zu\n", s, pilot.Index());
        }
        topSpeed = std::max(topSpeed, Speed());
        float after = car->chassis->GetX();
        if (pilot.Laps() == 1 && before > lineX && after <= lineX)
            crossed = s;
        if (s % 60 == 0)
            std::printf("s=%d idx=%zu v=%.2f st=%d%d%d%d\n", s, pilot.Index(), Speed(), car->wStatus[0],
                        car->wStatus[1], car->wStatus[2], car->wStatus[3]);
    }
    std::printf("lap in %d steps, grass %d, top %.2f\n", crossed, grass, topSpeed);
    EXPECT_GT(crossed, 0);
    EXPECT_EQ(grass, 0);
}

} // namespace
} // namespace ravel::demo::test
