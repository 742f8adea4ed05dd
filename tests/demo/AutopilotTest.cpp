// tests/demo/AutopilotTest.cpp: laps of the circuit driven through the keys only, as a player drives.
#include "tests/demo/DemoFixture.h"

#include <algorithm>

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

// The longest and shortest constraint of the car relative to its rest length.
void StressRange(float& low, float& high)
{
    TAdvBody& body = *car->chassis;
    for (int c = 0; c <= body.ConMaxIndex(); ++c)
    {
        low = std::min(low, body.ConGetStress(c));
        high = std::max(high, body.ConGetStress(c));
    }
}

class AutopilotTest : public DemoTest
{
  protected:
    // Drives until the car crosses the start line toward -x on lap `lap` (counted from 1 when the
    // centre line wraps) or the step budget runs out; returns the steps taken, or -1.
    int DriveLap(int lap, int budget, float offset = 0.0f, std::size_t from = 0, std::size_t to = 0)
    {
        float lineX = pilot.Circuit().startLineX * TAutopilot::kScale;
        for (int s = 0; s < budget; ++s)
        {
            float before = car->chassis->GetX();
            pilot.Drive(keys, offset, from, to);
            if (TAutopilot::InRange(pilot.Index(), from, to))
            {
                // Full throttle through the cut, to show that the grass itself slows the car.
                keys.Set(VK_DOWN, false);
                keys.Set(VK_UP, true);
            }
            StepFrame();
            if (s > 0 && OnGrass())
                grassSteps.push_back({pilot.Index(), Speed()});
            StressRange(lowStress, highStress);
            float after = car->chassis->GetX();
            if (pilot.Laps() == lap && before > lineX && after <= lineX)
                return s + 1;
        }
        return -1;
    }

    struct TGrassStep
    {
        std::size_t index;
        float speed;
    };
    TAutopilot pilot;
    std::vector<TGrassStep> grassSteps;
    float lowStress = 1.0f, highStress = 1.0f;
};

TEST_F(AutopilotTest, CleanLapThenALapCuttingTheFirstCornerOverGrass)
{
    pilot.Nearest(car->chassis->GetX(), car->chassis->GetY());
    int first = DriveLap(1, 3000);
    ASSERT_GT(first, 0) << "no lap within 50 seconds";
    EXPECT_TRUE(grassSteps.empty()) << "touched grass at centre-line point " << grassSteps[0].index;
    // Cornering has not folded the car up: every constraint stays within a few percent of its length.
    EXPECT_GT(lowStress, 0.9f);
    EXPECT_LT(highStress, 1.1f);

    // The first corner after the line: its arc, where the centre line curves.
    const TAutopilot::TArc arc = pilot.FirstCorner();
    // Aim a road's width inside the corner from well before it to well after it.
    int second = DriveLap(2, 3000, 260.0f, arc.from > 40 ? arc.from - 40 : 0, arc.to + 20);
    ASSERT_GT(second, 0) << "the cut lap did not come round";
    ASSERT_GT(grassSteps.size(), 20u);
    // Every contact was in the cut, and the car lost speed over the grass at full throttle.
    for (const TGrassStep& g : grassSteps)
        EXPECT_TRUE(g.index + 60 >= arc.from && g.index <= arc.to + 60) << g.index;
    float entry = grassSteps.front().speed;
    float slowest = entry;
    for (const TGrassStep& g : grassSteps)
        slowest = std::min(slowest, g.speed);
    EXPECT_LT(slowest, entry * 0.8f);
}

} // namespace
} // namespace ravel::demo::test
