// tests/demo/CarTest.cpp: the car as a player feels it: top speed, handbrake, grass.
#include "tests/demo/DemoFixture.h"

#include <algorithm>

namespace ravel::demo::test
{
namespace
{

// Keeps the car on the long top straight: whenever it nears the corner it is carried back along the
// straight and back to its middle, its speed unchanged (with no hand on the wheel it drifts slowly).
void StayOnStraight(float y = 750.0f)
{
    if (car->chassis->GetX() < 2500.0f)
        car->chassis->Translate(5000.0f, y - car->chassis->GetY());
}

TEST_F(DemoTest, TopSpeedOnAsphaltWithinFifteenSeconds)
{
    keys.Set(VK_UP, true);
    float at5 = 0.0f;
    for (int s = 0; s < 900; ++s)
    {
        StayOnStraight();
        StepFrame();
        if (s == 300)
            at5 = Speed();
    }
    float top = Speed();
    EXPECT_GE(top, 20.0f);
    EXPECT_LE(top, 32.0f);
    // Still gaining at five seconds, close to the top by fifteen.
    EXPECT_LT(at5, top);
    for (int s = 0; s < 60; ++s)
    {
        StayOnStraight();
        StepFrame();
    }
    EXPECT_NEAR(Speed(), top, 0.5f);
    // Straight ahead: the heading has stayed along -x and every wheel has kept traction.
    EXPECT_NEAR(std::fabs(car->chassis->GetRotation()), 180.0f, 2.0f);
    for (int st : car->wStatus)
        EXPECT_EQ(st, TCar::TRACTION);
}

TEST_F(DemoTest, BrakeStopsAndReverseDrivesBackwards)
{
    keys.Set(VK_UP, true);
    for (int s = 0; s < 300; ++s)
    {
        StayOnStraight();
        StepFrame();
    }
    float fast = Speed();
    keys.Set(VK_DOWN, true); // Down wins over Up
    Step(30);
    EXPECT_LT(Speed(), fast * 0.5f);
    keys.Set(VK_UP, false);
    Step(200);
    // Reversing: the car now moves toward +x, tail first.
    EXPECT_GT(car->chassis->MassGetVX(0), 1.0f);
}

TEST_F(DemoTest, HandbrakeLocksAllWheelsSmokesAndSlows)
{
    keys.Set(VK_UP, true);
    for (int s = 0; s < 300; ++s)
    {
        StayOnStraight();
        StepFrame();
    }
    keys.Set(VK_UP, false);
    float before = Speed();
    EXPECT_EQ(smokeList->Count(), 0); // no smoke while every wheel had traction
    keys.Set(VK_SPACE, true);
    StepFrame();
    for (int st : car->wStatus)
        EXPECT_EQ(st, TCar::LOCKED);
    EXPECT_EQ(smokeList->Count(), 4); // one puff per sliding wheel
    Step(20);
    EXPECT_LT(Speed(), before * 0.5f);
    for (int st : car->wStatus)
        EXPECT_EQ(st, TCar::LOCKED);
    // Released, the wheels skid first and then grip again.
    keys.Set(VK_SPACE, false);
    StepFrame();
    EXPECT_NE(car->wStatus[0], TCar::LOCKED);
    Step(60);
    for (int st : car->wStatus)
        EXPECT_EQ(st, TCar::TRACTION);
}

TEST_F(DemoTest, GrassLowersTheGripOfTheTouchingWheelOnly)
{
    // At the start every wheel is on asphalt.
    Step(2);
    for (float g : car->wGrip)
        EXPECT_EQ(g, 0.9f);
    // Put the car at the top straight's infield edge (picture y 185, world 925) so that only its
    // left-hand wheels (facing -x the driver's left is +y: masses 3 and 5) reach the grass.
    car->chassis->Position(8000.0f, 925.0f - 24.0f);
    car->chassis->Rotate(180);
    TPhysics::Update();
    EXPECT_EQ(car->wGrip[0], 0.45f);
    EXPECT_EQ(car->wGrip[1], 0.9f);
    EXPECT_EQ(car->wGrip[2], 0.45f);
    EXPECT_EQ(car->wGrip[3], 0.9f);
    // Grass does not push: the wheels stay where they are.
    EXPECT_NEAR(car->chassis->MassGetY(3), 925.0f - 2.0f, 0.5f);
    // The lowered grip lasts for one car update.
    car->Update();
    for (float g : car->wGrip)
        EXPECT_EQ(g, 0.9f);
}

TEST_F(DemoTest, GrassSlowsTheCar)
{
    keys.Set(VK_UP, true);
    for (int s = 0; s < 900; ++s)
    {
        StayOnStraight();
        StepFrame();
    }
    float asphalt = Speed();
    // The same straight, a road's width outside it: all four wheels on grass.
    car->chassis->Translate(0.0f, -400.0f);
    for (int s = 0; s < 600; ++s)
    {
        StayOnStraight(350.0f);
        StepFrame();
        for (float g : car->wGrip)
            ASSERT_EQ(g, 0.45f) << s;
    }
    EXPECT_LT(Speed(), asphalt * 0.5f);
}

} // namespace
} // namespace ravel::demo::test
