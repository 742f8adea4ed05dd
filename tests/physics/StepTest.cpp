// Tests of the simulation step: integration, passes, bounds, pair coverage and trajectories.
#include "CoreFixture.h"

#include "physics/TBody.h"

#include <utility>
#include <vector>

namespace ravel::test
{
namespace
{

class StepTest : public WorldTest
{
  protected:
    void TearDown() override
    {
        TColEvent::RemoveHook(&RecordPair, &pairs);
        WorldTest::TearDown();
    }

    static TColEventRef RecordPair(int, const TColEventRef& e, void* context)
    {
        static_cast<std::vector<std::pair<TObject*, TObject*>>*>(context)->emplace_back(e->obj1.get(),
                                                                                        e->obj2.get());
        return e;
    }

    std::vector<std::pair<TObject*, TObject*>> pairs;
};

TEST_F(StepTest, WithoutPassesAStepOnlyIntegratesAndFlushes)
{
    TPhysics::SetIterations(0);
    TPhysics::SetGravity(0.0f, 0.5f);
    TMassRef a = Active(-10.0f, 500.0f, 5.0f, 1); // outside the bounds
    TMassRef b = Active(-10.0f, 500.0f, 5.0f, 2); // on top of a
    TColEvent::Emit(TColEvent::Create(a, b, 0, 0, 1));
    TPhysics::Update();
    EXPECT_EQ(a->posX, -10.0f);
    EXPECT_EQ(a->posY, 500.5f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
}

TEST_F(StepTest, AFreeMassKeepsItsVelocity)
{
    TMassRef m = Active(100.0f, 100.0f, 1.0f, 1);
    m->SetVelocity(3.0f, 0.0f);
    for (int k = 1; k <= 100; ++k)
    {
        TPhysics::Update();
        ASSERT_EQ(m->posX, 100.0f + 3.0f * static_cast<float>(k));
    }
    EXPECT_EQ(m->GetVX(), 3.0f);
}

TEST_F(StepTest, ABoundPushesBackReportsTheDepthAndBrakesTheSlide)
{
    struct Case
    {
        const char* what;
        float x, y, vx, vy, friction;
        float endX, endY, endVX, endVY;
        float eventX, eventY, force;
    } cases[] = {
        // Each arrives at (x, y) with velocity (vx, vy); the radius is 5, so the bounds sit at 5 and 995.
        {"left, no slide", 2.0f, 500.0f, 0.0f, 0.0f, 0.0f, 5.0f, 500.0f, 3.0f, 0.0f, 0.0f, 500.0f, 3.0f},
        // Depth 2, frictions 0.5 + 1: I = 1.5.
        {"left, slide 1 stops", 3.0f, 500.0f, -2.0f, 1.0f, 0.5f, 5.0f, 500.0f, 0.0f, 0.0f, 0.0f, 500.0f,
         2.0f},
        {"left, slide 4 slows", 3.0f, 500.0f, -2.0f, 4.0f, 0.5f, 5.0f, 500.0f, 0.0f, 2.5f, 0.0f, 500.0f,
         2.0f},
        {"right, slide -4", 997.0f, 500.0f, 2.0f, -4.0f, 0.5f, 995.0f, 500.0f, 0.0f, -2.5f, 1000.0f, 500.0f,
         2.0f},
        {"bottom", 500.0f, 997.0f, 4.0f, 2.0f, 0.5f, 500.0f, 995.0f, 2.5f, 0.0f, 500.0f, 1000.0f, 2.0f},
        {"top", 500.0f, 3.0f, -4.0f, -2.0f, 0.5f, 500.0f, 5.0f, -2.5f, 0.0f, 500.0f, 0.0f, 2.0f},
    };
    for (const Case& c : cases)
    {
        TMassRef m = Active(c.x - c.vx, c.y - c.vy, 5.0f, 1, 1.0f, c.friction);
        m->oldPosX = c.x - 2.0f * c.vx;
        m->oldPosY = c.y - 2.0f * c.vy;
        TPhysics::Update(); // integrates onto (x, y), then meets the bound
        EXPECT_EQ(m->posX, c.endX) << c.what;
        EXPECT_EQ(m->posY, c.endY) << c.what;
        EXPECT_EQ(m->GetVX(), c.endVX) << c.what;
        EXPECT_EQ(m->GetVY(), c.endVY) << c.what;
        std::vector<TColEventRef> all = PolledAll();
        ASSERT_EQ(all.size(), 1u) << c.what;
        EXPECT_EQ(all[0]->GetID(), TColEvent::MASS_BOUNDS);
        EXPECT_EQ(all[0]->obj2, world);
        EXPECT_EQ(all[0]->GetX(), c.eventX) << c.what;
        EXPECT_EQ(all[0]->GetY(), c.eventY) << c.what;
        EXPECT_EQ(all[0]->GetForce(), c.force) << c.what;
        m->SubRef();
    }
}

TEST_F(StepTest, AMassExactlyAtTheBoundIsLeftAlone)
{
    TMassRef m = Active(5.0f, 995.0f, 5.0f, 1);
    TPhysics::Update();
    EXPECT_EQ(m->posX, 5.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
}

TEST_F(StepTest, ACornerIsOneMergedBoundsEvent)
{
    TMassRef m = Active(2.0f, 3.0f, 5.0f, 1);
    TPhysics::Update();
    std::vector<TColEventRef> all = PolledAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->GetForce(), 3.0f + 2.0f);
    EXPECT_EQ(all[0]->GetX(), 5.0f) << "the last contact's point: the y bound beside the corrected x";
    EXPECT_EQ(all[0]->GetY(), 0.0f);
}

TEST_F(StepTest, FrozenMassesAreClampedButNotIntegrated)
{
    TPhysics::SetGravity(0.0f, 1.0f);
    TMassRef m = Active(-3.0f, 500.0f, 2.0f, 1, 1.0f, 0.0f);
    m->Freeze();
    m->oldPosY = 498.0f; // a slide that only wall friction touches
    TPhysics::Update();
    EXPECT_EQ(m->posX, 2.0f);
    EXPECT_EQ(m->posY, 500.0f);
    EXPECT_EQ(m->oldPosY, 500.0f) << "depth 5 x (0 + 1) / 2 stops a slide of 2";
}

TEST_F(StepTest, PairsAreMetOnceInArrayOrderWithTheGridOff)
{
    TColEvent::AddHook(&RecordPair, &pairs);
    TMassRef m1 = Active(500.0f, 500.0f, 5.0f, 1);
    TMassRef m2 = Active(501.0f, 500.0f, 5.0f, 2);
    TMassRef m3 = Active(502.0f, 500.0f, 5.0f, 3);
    TMassRef same = Active(500.0f, 500.5f, 5.0f, 1);  // shares m1's group
    TMassRef ghost = Active(500.0f, 499.5f, 5.0f, 0); // group 0 meets nothing
    TPhysics::Update();
    std::vector<std::pair<TObject*, TObject*>> expected = {{m1.get(), m2.get()},
                                                           {m1.get(), m3.get()},
                                                           {m2.get(), m3.get()},
                                                           {m2.get(), same.get()},
                                                           {m3.get(), same.get()}};
    EXPECT_EQ(pairs, expected);
}

TEST_F(StepTest, EveryPassReportsItsContactsAgain)
{
    TPhysics::SetIterations(3);
    TColEvent::AddHook(&RecordPair, &pairs);
    TMassRef a = Active(500.0f, 500.0f, 5.0f, 1);
    TMassRef b = Active(500.0f, 500.0f, 5.0f, 2); // coincident: never separated
    TPhysics::Update();
    EXPECT_EQ(pairs.size(), 3u);
    TColEventRef e = TColEvent::Seek(a, b);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetForce(), (10.0f - 0.0001f) + (10.0f - 0.0001f) + (10.0f - 0.0001f));
    TColEvent::SetMode(TColEvent::MODE_REPLACE);
    TPhysics::Update();
    EXPECT_EQ(TColEvent::Seek(a, b)->GetForce(), 10.0f - 0.0001f);
}

TEST_F(StepTest, TheGridMeetsNeighboursFromBothSidesAndMissesFarCells)
{
    TPhysics::SetGridSize(64); // cells of 15.625
    TPhysics::UseShiftedGrid(1);
    TColEvent::AddHook(&RecordPair, &pairs);
    TMassRef a = Active(100.0f, 100.0f, 4.0f, 1);
    TMassRef b = Active(106.0f, 100.0f, 4.0f, 2); // same cell
    TPhysics::Update();
    ASSERT_EQ(pairs.size(), 1u) << "the first turn separated them";
    EXPECT_EQ(pairs[0].first, a.get());

    // Overlapping by radius, but their cells are two columns apart.
    TMassRef c = Active(300.0f, 300.0f, 20.0f, 3);
    TMassRef d = Active(330.0f, 300.0f, 20.0f, 4);
    pairs.clear();
    TPhysics::Update();
    EXPECT_TRUE(pairs.empty());
    EXPECT_EQ(c->posX, 300.0f);

    // Coincident and never separated: met from both sides.
    TMassRef e = Active(700.0f, 700.0f, 2.0f, 5);
    TMassRef f = Active(700.0f, 700.0f, 2.0f, 6);
    pairs.clear();
    TPhysics::Update();
    std::vector<std::pair<TObject*, TObject*>> expected = {{e.get(), f.get()}, {f.get(), e.get()}};
    EXPECT_EQ(pairs, expected);
}

// The grid skips cells whose masses all lie out of reach, judged by bounds taken at the start of the
// pass. A hook may move a mass anywhere without the grid seeing it; the walk must still find it.
TEST_F(StepTest, TheGridFindsAMassAHookMovedIntoReach)
{
    static TMassRef mover;
    struct Move
    {
        static TColEventRef Hook(int, const TColEventRef& e, void* context)
        {
            if (mover)
            {
                mover->Position(305.0f, 300.0f); // still filed in its old column
                mover.reset();
            }
            return RecordPair(0, e, context);
        }
    };
    TPhysics::SetGridSize(64); // cells of 15.625
    TPhysics::UseShiftedGrid(1);
    TColEvent::AddHook(&Move::Hook, &pairs);
    TMassRef p = Active(100.0f, 100.0f, 4.0f, 1);
    TMassRef q = Active(104.0f, 100.0f, 4.0f, 2); // their contact runs the hook
    TMassRef a = Active(300.0f, 300.0f, 4.0f, 3);
    TMassRef b = Active(322.0f, 300.0f, 4.0f, 4); // the next column, 22 away
    mover = b;
    TPhysics::Update();
    TColEvent::RemoveHook(&Move::Hook, &pairs);
    std::vector<std::pair<TObject*, TObject*>> expected = {{p.get(), q.get()}, {a.get(), b.get()}};
    EXPECT_EQ(pairs, expected);
    EXPECT_GT(b->posX - a->posX, 5.0f) << "pushed apart";
}

// The walk rejects candidates from what the cells copied of their masses. A group or radius changed
// between steps on a mass filed by hand (no step re-files it), or changed by a hook in the middle of a
// pass on a mass that stays put, must still be seen.
TEST_F(StepTest, TheGridSeesGroupsAndRadiiChangedOutsideTheWalk)
{
    TPhysics::SetGridSize(64); // cells of 15.625
    TPhysics::UseShiftedGrid(1);
    TColEvent::AddHook(&RecordPair, &pairs);
    TMassRef a = Active(100.0f, 100.0f, 2.0f, 1);
    TMassRef byHand = TMass::Create(104.0f, 100.0f, 1.0f, 1.0f, 0.0f, 1); // same group, out of reach
    byHand->AddToGrid();
    TPhysics::Update();
    EXPECT_TRUE(pairs.empty());
    byHand->SetColGroup(2);
    byHand->SetRadius(3.0f);
    TPhysics::Update();
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].second, byHand.get());
    byHand.reset();

    static TMassRef grower;
    struct Grow
    {
        static TColEventRef Hook(int, const TColEventRef& e, void* context)
        {
            if (grower)
            {
                grower->SetRadius(6.0f);
                grower->SetColGroup(7);
                grower.reset();
            }
            return RecordPair(0, e, context);
        }
    };
    TColEvent::RemoveHook(&RecordPair, &pairs);
    TColEvent::AddHook(&Grow::Hook, &pairs);
    TMassRef p = Active(300.0f, 300.0f, 4.0f, 3);
    TMassRef q = Active(304.0f, 300.0f, 4.0f, 4); // their contact runs the hook
    TMassRef c = Active(600.0f, 600.0f, 4.0f, 5);
    TMassRef d = Active(609.0f, 600.0f, 4.0f, 5); // out of reach and in c's group until the hook
    grower = d;
    pairs.clear();
    TPhysics::Update();
    TColEvent::RemoveHook(&Grow::Hook, &pairs);
    std::vector<std::pair<TObject*, TObject*>> expected = {{p.get(), q.get()}, {c.get(), d.get()}};
    EXPECT_EQ(pairs, expected);
}

TEST_F(StepTest, AFallingMassComesToRestOnTheFloor)
{
    // Gravity 0.5 from rest at y = 90: 90.5, 91.5, 93, 95, 97.5, then 100.5 crosses the floor at 99.
    TPhysics::SetBounds(0.0f, 0.0f, 100.0f, 100.0f);
    TPhysics::SetGravity(0.0f, 0.5f);
    TMassRef m = Active(50.0f, 90.0f, 1.0f, 1);
    const float expectedY[] = {90.5f, 91.5f, 93.0f, 95.0f, 97.5f, 99.0f, 99.0f, 99.0f};
    const float expectedForce[] = {0, 0, 0, 0, 0, 1.5f, 2.0f, 0.5f};
    for (int k = 0; k < 8; ++k)
    {
        TPhysics::Update();
        EXPECT_EQ(m->posY, expectedY[k]) << "step " << k + 1;
        TColEventRef e = TColEvent::Seek(m, nullptr);
        EXPECT_EQ(e ? e->GetForce() : 0.0f, expectedForce[k]) << "step " << k + 1;
    }
    EXPECT_EQ(m->posX, 50.0f);
}

TEST_F(StepTest, AStretchedStickOscillatesAboutItsRestLength)
{
    TMassRef a = TMass::Create(0.0f, 500.0f, 1.0f, 0.0f, 0.0f, 0);
    TMassRef b = TMass::Create(12.0f, 500.0f, 1.0f, 0.0f, 0.0f, 0);
    TBody body;
    TConstraint::Create(a, b, 10.0f, 0.5f)->Assign(body);
    // Step 1: corr 1 moves each 0.5 inward. Step 2: that motion carries them to 10 apart. Step 3:
    // they coast to 9 apart, and corr -0.5 pushes each 0.25 back.
    const float expectedA[] = {0.5f, 1.0f, 1.25f};
    const float expectedB[] = {11.5f, 11.0f, 10.75f};
    for (int k = 0; k < 3; ++k)
    {
        TPhysics::Update();
        EXPECT_EQ(a->posX, expectedA[k]) << "step " << k + 1;
        EXPECT_EQ(b->posX, expectedB[k]) << "step " << k + 1;
    }
}

TEST_F(StepTest, AMassDeactivatedDuringAPassIsStillSafeToVisit)
{
    static TMassRef victim;
    struct Kill
    {
        static TColEventRef Hook(int, const TColEventRef& e, void*)
        {
            if (victim)
            {
                victim->SubRef();
                victim.reset();
            }
            return e;
        }
    };
    TColEvent::AddHook(&Kill::Hook, nullptr);
    TMassRef a = Active(500.0f, 500.0f, 5.0f, 1);
    victim = Active(503.0f, 500.0f, 5.0f, 2);
    Active(506.0f, 500.0f, 5.0f, 3); // held only by the world
    TPhysics::SetIterations(2);
    TPhysics::UseShiftedGrid(1);
    TPhysics::Update();
    TColEvent::RemoveHook(&Kill::Hook, nullptr);
    EXPECT_EQ(massList->Count(), 2);
}

} // namespace
} // namespace ravel::test
