// tests/physics/TAdvBodyMotionTest.cpp: whole-body placing, shifting and turning, and the collision
// queries over the event queue.
#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"

#include <gtest/gtest.h>

using namespace ravel;

namespace
{

class AdvBodyMotionTest : public ::testing::Test
{
  protected:
    void SetUp() override { TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 4); }
    void TearDown() override { TPhysics::Free(); }

    // A rigid right triangle at (100, 100), (130, 100), (100, 140); its first constraint points along +x.
    static void AddTriangle(TAdvBody& body)
    {
        body.MassAdd(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
        body.MassAdd(130.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
        body.MassAdd(100.0f, 140.0f, 1.0f, 1.0f, 0.0f, 0);
        body.ConAddAll(1.0f);
    }
};

} // namespace

TEST_F(AdvBodyMotionTest, BodyWithoutMassesHasNoPositionAndIgnoresMotion)
{
    TAdvBody body;
    float x = 3.0f, y = 4.0f;
    body.GetPosition(x, y);
    EXPECT_EQ(x, 3.0f);
    EXPECT_EQ(y, 4.0f);
    EXPECT_EQ(body.GetX(), 0.0f);
    EXPECT_EQ(body.GetY(), 0.0f);
    EXPECT_EQ(body.GetRotation(), 0.0f);
    EXPECT_EQ(body.Position(1, 2), 0);
    EXPECT_EQ(body.Rotate(45), 0);
    EXPECT_EQ(body.Spin(45), 0);
    EXPECT_EQ(body.Turn(45), 0);
    EXPECT_EQ(body.CollideBounds(), nullptr);
}

TEST_F(AdvBodyMotionTest, PositionPlacesTheLowestLiveMassAndKeepsTheShapeAtRest)
{
    TAdvBody body;
    AddTriangle(body);
    body.MassSetVelocity(2, 5.0f, 5.0f);
    body.MassRemove(0);
    body.Position(10.0f, 20.0f);
    EXPECT_EQ(body.MassGetX(1), 10.0f);
    EXPECT_EQ(body.MassGetY(1), 20.0f);
    EXPECT_FLOAT_EQ(body.MassGetX(2), -20.0f);
    EXPECT_FLOAT_EQ(body.MassGetY(2), 60.0f);
    EXPECT_EQ(body.MassGetVelocity(2), 0.0f);
    EXPECT_EQ(body.GetX(), 10.0f);
    EXPECT_EQ(body.GetY(), 20.0f);
}

TEST_F(AdvBodyMotionTest, RotateSetsTheReferenceAngleAndIsIdempotent)
{
    TAdvBody body;
    AddTriangle(body);
    body.MassSetVelocity(1, 1.0f, 2.0f);
    body.Rotate(90.0f);
    EXPECT_NEAR(body.GetRotation(), 90.0f, 1e-4f);
    EXPECT_NEAR(body.MassGetX(1), 100.0f, 1e-4f);
    EXPECT_NEAR(body.MassGetY(1), 130.0f, 1e-4f);
    EXPECT_NEAR(body.MassGetX(2), 60.0f, 1e-4f);
    EXPECT_NEAR(body.MassGetY(2), 100.0f, 1e-4f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(body.MassGetVelocity(i), 0.0f);
    float x1 = body.MassGetX(1), y1 = body.MassGetY(1), x2 = body.MassGetX(2), y2 = body.MassGetY(2);
    body.Rotate(90.0f);
    EXPECT_NEAR(body.MassGetX(1), x1, 1e-3f);
    EXPECT_NEAR(body.MassGetY(1), y1, 1e-3f);
    EXPECT_NEAR(body.MassGetX(2), x2, 1e-3f);
    EXPECT_NEAR(body.MassGetY(2), y2, 1e-3f);
}

TEST_F(AdvBodyMotionTest, SpinKeepsTurningUnderStepsWhileTurnDoesNot)
{
    struct Case
    {
        bool spin;
        float afterSteps; // reference angle after three steps
    };
    for (Case c : {Case{true, 40.0f}, Case{false, 10.0f}})
    {
        SCOPED_TRACE(c.spin ? "Spin" : "Turn");
        TAdvBody body;
        AddTriangle(body);
        body.Activate();
        if (c.spin)
            body.Spin(10.0f);
        else
            body.Turn(10.0f);
        EXPECT_NEAR(body.GetRotation(), 10.0f, 1e-3f);
        for (int s = 0; s < 3; ++s)
            TPhysics::Update();
        // A spinning rigid body turns about its centre by about the same angle every step.
        EXPECT_NEAR(body.GetRotation(), c.afterSteps, c.spin ? 2.0f : 1e-3f);
        body.DeActivate();
    }
}

TEST_F(AdvBodyMotionTest, FrozenMassesFollowOnlyTheMotionsThatIgnoreVelocity)
{
    struct Case
    {
        const char* name;
        void (*apply)(TAdvBody&);
        bool moves;
    };
    const Case cases[] = {
        {"Move", [](TAdvBody& b) { b.Move(5.0f, 0.0f); }, false},
        {"Spin", [](TAdvBody& b) { b.Spin(30.0f); }, false},
        {"Translate", [](TAdvBody& b) { b.Translate(5.0f, 0.0f); }, true},
        {"Turn", [](TAdvBody& b) { b.Turn(30.0f); }, true},
        {"Position", [](TAdvBody& b) { b.Position(0.0f, 0.0f); }, true},
        {"Rotate", [](TAdvBody& b) { b.Rotate(30.0f); }, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TAdvBody body;
        AddTriangle(body);
        body.MassFreeze(1);
        c.apply(body);
        bool moved = body.MassGetX(1) != 130.0f || body.MassGetY(1) != 100.0f;
        EXPECT_EQ(moved, c.moves);
        EXPECT_EQ(body.MassGetVelocity(1), 0.0f);
        EXPECT_EQ(body.MassIsFrozen(1), 1);
    }
}

TEST_F(AdvBodyMotionTest, QueriesAreNullWithoutCollisions)
{
    auto body = std::make_shared<TAdvBody>();
    AddTriangle(*body);
    body->Activate();
    TZoneRef zone = TZone::Create({500, 500, 600, 500, 600, 600, 500, 600}, TZone::FILL, 0.0f, 9, 2);
    TPhysics::Update();
    EXPECT_EQ(body->CollideBounds(), nullptr);
    EXPECT_EQ(body->CollideZone(zone), nullptr);
    EXPECT_EQ(body->CollideAdvBody(body), nullptr);
    EXPECT_EQ(body->CollideAdvBody(nullptr), nullptr);
    zone->Free();
}

TEST_F(AdvBodyMotionTest, QueriesListTheQueuedEventsOfTheBodysMasses)
{
    // Masses 0 and 1 overlap and are in different groups; mass 2 sits on the bounds and in the zone.
    auto body = std::make_shared<TAdvBody>();
    body->MassAdd(100.0f, 100.0f, 1.0f, 5.0f, 0.0f, 1);
    body->MassAdd(104.0f, 100.0f, 1.0f, 5.0f, 0.0f, 2);
    body->MassAdd(2.0f, 300.0f, 1.0f, 5.0f, 0.0f, 3);
    body->ConAdd(0, 1, 0, 0);
    body->ConAdd(1, 2, 0, 0);
    body->Activate();
    TZoneRef zone = TZone::Create({-50, 250, 50, 250, 50, 350, -50, 350}, TZone::FILL, 0.0f, 9, 2);
    TPhysics::Update();

    TListRef<TColEventRef> self = body->CollideAdvBody(body);
    ASSERT_NE(self, nullptr);
    ASSERT_EQ(self->Count(), 2); // the pair (0, 1) once for each order
    EXPECT_EQ(self->First(), self->Last());
    EXPECT_EQ(self->First()->GetID(), TColEvent::MASS_MASS);

    TListRef<TColEventRef> bounds = body->CollideBounds();
    ASSERT_NE(bounds, nullptr);
    ASSERT_EQ(bounds->Count(), 1);
    EXPECT_EQ(bounds->First()->GetMass1(), body->MassGet(2));
    EXPECT_EQ(bounds->First()->GetID(), TColEvent::MASS_BOUNDS);

    TListRef<TColEventRef> zones = body->CollideZone(zone);
    ASSERT_NE(zones, nullptr);
    ASSERT_EQ(zones->Count(), 1);
    EXPECT_EQ(zones->First()->GetZone(), zone);

    auto other = std::make_shared<TAdvBody>();
    other->MassAdd(900.0f, 900.0f, 1.0f, 1.0f, 0.0f, 4);
    EXPECT_EQ(body->CollideAdvBody(other), nullptr);
    EXPECT_NE(TColEvent::Peek(), nullptr); // the queries only look
    zone->Free();
}
