// Tests of masses: settings, activity, grid filing and mass-versus-mass contact.
#include "CoreFixture.h"

#include "physics/detail/Internals.h"
#include "physics/detail/World.h"

#include <cmath>

namespace ravel::test
{
namespace
{

using MassTest = WorldTest;

TEST_F(MassTest, CreateClampsFrictionAndTakesAutomaticGroups)
{
    TMassRef m = TMass::Create(3.0f, 4.0f, 2.0f, 5.0f, 1.5f, 7);
    EXPECT_EQ(m->GetName(), "Mass");
    EXPECT_EQ(m->oldPosX, 3.0f);
    EXPECT_EQ(m->oldPosY, 4.0f);
    EXPECT_EQ(m->GetFriction(), 1.0f);
    EXPECT_EQ(m->GetColGroup(), 7);
    EXPECT_EQ(m->IsActive(), 0);
    EXPECT_EQ(m->GetIndex(), -1);
    EXPECT_EQ(TMass::Create(0, 0, 1, 1, -0.5f, 0)->GetFriction(), 0.0f);
    EXPECT_EQ(TMass::Create(0, 0, 1, 1, NAN, 0)->GetFriction(), 0.0f);

    int next = nextAutoColGroup;
    EXPECT_EQ(TMass::Create(0, 0, 1, 1, 0, -1)->GetColGroup(), next);
    nextAutoColGroup--; // a zone taking a number in between
    TMassRef later = TMass::Create(0, 0, 1, 1, 0, 0);
    later->SetColGroup(-1);
    EXPECT_EQ(later->GetColGroup(), next - 2);
    EXPECT_EQ(nextAutoColGroup, next - 3);

    later->SetColGroup(2147483647); // stored as the float 2^31: read back saturated, not overflowed
    EXPECT_EQ(later->GetColGroup(), 2147483647);
    later->SetColGroup(-2147483647 - 1);
    EXPECT_EQ(later->GetColGroup(), -2147483647 - 1);
}

TEST_F(MassTest, FrozenMassesIgnoreVelocityButNotPlacement)
{
    TMassRef m = TMass::Create(10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 0);
    m->SetVelocity(2.0f, 3.0f);
    EXPECT_EQ(m->GetVX(), 2.0f);
    EXPECT_EQ(m->GetVY(), 3.0f);
    EXPECT_EQ(m->GetVelocity(), std::sqrt(13.0f));
    m->Freeze();
    EXPECT_EQ(m->GetVelocityX(), 0.0f);
    EXPECT_EQ(m->GetVelocityY(), 0.0f);
    m->SetVelocity(5, 5);
    m->AddVelocity(5, 5);
    m->Move(5, 5);
    EXPECT_EQ(m->posX, 10.0f);
    EXPECT_EQ(m->GetVelocity(), 0.0f);
    m->Translate(1.0f, 2.0f);
    EXPECT_EQ(m->posX, 11.0f);
    EXPECT_EQ(m->oldPosY, 12.0f);
    m->Position(-3.0f, -4.0f);
    float x, y;
    m->GetPosition(x, y);
    EXPECT_EQ(x, -3.0f);
    EXPECT_EQ(y, -4.0f);
    m->Thaw();
    m->Move(1.0f, 0.0f);
    EXPECT_EQ(m->GetVX(), 1.0f) << "a move is also a velocity";
    m->AddVelocity(1.0f, 0.5f);
    EXPECT_EQ(m->GetVX(), 2.0f);
    EXPECT_EQ(m->GetVY(), 0.5f);
}

TEST_F(MassTest, CopyIsInactiveAndKeepsEverythingElse)
{
    TMassRef m = Active(5.0f, 6.0f, 2.0f, 3, 4.0f, 0.25f);
    m->SetName("wheel");
    m->SetVelocity(1.0f, -1.0f);
    m->index = 7;
    m->Freeze();
    TMassRef c = m->Copy();
    EXPECT_EQ(c->GetName(), "wheel");
    EXPECT_EQ(c->posX, 5.0f);
    EXPECT_EQ(c->oldPosX, m->oldPosX);
    EXPECT_EQ(c->GetMass(), 4.0f);
    EXPECT_EQ(c->GetRadius(), 2.0f);
    EXPECT_EQ(c->GetFriction(), 0.25f);
    EXPECT_EQ(c->GetColGroup(), 3);
    EXPECT_EQ(c->IsFrozen(), 1);
    EXPECT_EQ(c->GetIndex(), 7);
    EXPECT_EQ(c->IsActive(), 0);
    EXPECT_EQ(detail::Internals::Cell(*c), nullptr);
    EXPECT_EQ(massList->Count(), 1);
}

TEST_F(MassTest, TheActivityCountIsUnclamped)
{
    TMassRef m = TMass::Create(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
    m->AddRef();
    m->AddRef();
    m->SubRef();
    EXPECT_EQ(m->IsActive(), 1);
    EXPECT_EQ(massList->Count(), 1);
    m->SubRef();
    EXPECT_EQ(m->IsActive(), 0);
    EXPECT_TRUE(massList->IsEmpty());
    EXPECT_EQ(detail::Internals::Cell(*m), nullptr);

    m->SubRef(); // -1
    m->AddRef(); // 0: still out
    EXPECT_EQ(m->IsActive(), 0);
    EXPECT_TRUE(massList->IsEmpty());
    m->AddRef(); // 1: in again
    EXPECT_EQ(massList->Count(), 1);
    m->SubRef();
}

TEST_F(MassTest, GridCellsAreTakenFromAbsoluteCoordinatesAndClamped)
{
    TPhysics::SetGridSize(10); // cells of 100 x 100
    struct Case
    {
        float x, y;
        int gx, gy;
    } cases[] = {
        {-50.0f, 50.0f, 0, 0},   {950.0f, 1e9f, 9, 9},   {5000.0f, 250.0f, 9, 2},
        {199.99f, 100.0f, 1, 1}, {NAN, -INFINITY, 0, 0},
    };
    for (const Case& c : cases)
    {
        TMassRef m = Active(c.x, c.y, 1.0f, 0);
        EXPECT_EQ(m->gridx, c.gx) << c.x;
        EXPECT_EQ(m->gridy, c.gy) << c.y;
        EXPECT_EQ(detail::Internals::Cell(*m), &detail::CurrentWorld()->shiftgrid[c.gx][c.gy]);
        m->SubRef();
    }
}

TEST_F(MassTest, CellsKeepTheirMassesInFilingOrder)
{
    TMassRef a = Active(10, 10, 1, 0), b = Active(20, 20, 1, 0), c = Active(30, 30, 1, 0);
    const detail::GridCell& cell = detail::CurrentWorld()->shiftgrid[0][0];
    using Masses = std::vector<TMass*>;
    EXPECT_EQ(Masses(cell.First(), cell.End()), (Masses{a.get(), b.get(), c.get()}));
    b->AddToGrid(); // re-filing moves it to the end
    EXPECT_EQ(Masses(cell.First(), cell.End()), (Masses{a.get(), c.get(), b.get()}));
    a->SubRef();
    EXPECT_EQ(Masses(cell.First(), cell.End()), (Masses{c.get(), b.get()}));
    TMass* kept = c.get();
    c.reset(); // the cell still holds it
    EXPECT_EQ(cell.Count(), 2u);
    b->SubRef();
    EXPECT_EQ(Masses(cell.First(), cell.End()), Masses{kept});
}

// ---------------------------------------------------------------------------------------------------
// Contact

struct SplitCase
{
    float weightA, weightB;
    float moveA, moveB; // distances moved, as fractions of the penetration of 2
};

TEST_F(MassTest, OverlapIsSplitByWeight)
{
    const SplitCase cases[] = {
        {1, 1, 0.5f, 0.5f}, {1, 3, 0.75f, 0.25f}, {3, 1, 0.25f, 0.75f}, {0, 0, 0.5f, 0.5f}};
    for (const SplitCase& c : cases)
    {
        TMassRef a = TMass::Create(100.0f, 100.0f, c.weightA, 5.0f, 0.0f, 1);
        TMassRef b = TMass::Create(108.0f, 100.0f, c.weightB, 5.0f, 0.0f, 2);
        a->Collide(*b);
        EXPECT_FLOAT_EQ(100.0f - a->posX, 2.0f * c.moveA) << c.weightA << ":" << c.weightB;
        EXPECT_FLOAT_EQ(b->posX - 108.0f, 2.0f * c.moveB);
        EXPECT_EQ(b->posX - a->posX, 10.0f);
        EXPECT_EQ(a->posY, 100.0f);
        EXPECT_EQ(a->GetVY(), 0.0f) << "no friction: no braking";
        TColEventRef e = TColEvent::Seek(a, b);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetID(), TColEvent::MASS_MASS);
        EXPECT_EQ(e->GetForce(), 2.0f);
        EXPECT_EQ(e->GetX(), (a->posX + b->posX) * 0.5f);
        TColEvent::Flush();
    }
}

TEST_F(MassTest, AFrozenMassTakesNoneOfTheCorrection)
{
    TMassRef a = TMass::Create(100.0f, 100.0f, 1.0f, 5.0f, 0.0f, 1);
    TMassRef b = TMass::Create(106.0f, 100.0f, 1.0f, 5.0f, 0.0f, 2);
    b->Freeze();
    a->Collide(*b);
    EXPECT_EQ(a->posX, 96.0f);
    EXPECT_EQ(b->posX, 106.0f);
    b->Collide(*a); // touching now: nothing
    EXPECT_EQ(b->posX, 106.0f);

    a->Position(103.0f, 100.0f);
    b->Collide(*a); // receiver frozen: the other takes it all
    EXPECT_EQ(a->posX, 96.0f);
    EXPECT_EQ(b->posX, 106.0f);

    a->Freeze();
    a->Position(103.0f, 100.0f);
    a->Collide(*b);
    EXPECT_EQ(a->posX, 103.0f) << "two frozen masses are left alone";
}

TEST_F(MassTest, TheBoxTestComesBeforeTheDistance)
{
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 5.0f, 0.0f, 1);
    TMassRef b = TMass::Create(8.0f, 8.0f, 1.0f, 5.0f, 0.0f, 2); // inside the box, outside the circle
    a->Collide(*b);
    EXPECT_EQ(a->posX, 0.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
    b->Position(10.0f, 0.0f); // exactly touching
    a->Collide(*b);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
}

TEST_F(MassTest, CoincidentMassesReportButDoNotSeparate)
{
    TMassRef a = TMass::Create(50.0f, 50.0f, 1.0f, 3.0f, 1.0f, 1);
    TMassRef b = TMass::Create(50.0f, 50.0f, 1.0f, 2.0f, 1.0f, 2);
    a->SetVelocity(2.0f, 0.0f);
    a->Position(50.0f, 50.0f);
    a->oldPosX = 48.0f; // moving +x at 2, b at rest
    a->Collide(*b);
    EXPECT_EQ(a->posX, 50.0f);
    EXPECT_EQ(b->posX, 50.0f);
    TColEventRef e = TColEvent::Peek();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetForce(), 5.0f - 0.0001f);
    // With no normal the whole velocities are tangential: the budget 4.9999 covers half their
    // difference, so both end at the mean velocity.
    EXPECT_EQ(a->GetVX(), 1.0f);
    EXPECT_EQ(b->GetVX(), 1.0f);
}

TEST_F(MassTest, FrictionBrakesTheTangentialVelocityOnly)
{
    // A slides along +y past a frozen B at its right; the normal is -x.
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.5f, 1);
    TMassRef b = TMass::Create(1.5f, 0.0f, 1.0f, 1.0f, 0.5f, 2);
    b->Freeze();
    a->oldPosY = -2.0f; // velocity (0, 2)
    a->Collide(*b);
    EXPECT_EQ(a->posX, -0.5f);
    // Budget 0.5 x 1 x 0.5 = 0.25 off the tangential speed; the normal component (now 0.5 away from
    // B, the push) is untouched.
    EXPECT_NEAR(a->GetVY(), 1.75f, 1e-6);
    EXPECT_NEAR(a->GetVX(), -0.5f, 1e-6);

    // A budget larger than the slide stops it.
    TMassRef c = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1);
    c->oldPosY = -0.1f;
    TMassRef d = TMass::Create(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 2);
    d->Freeze();
    c->Collide(*d);
    EXPECT_NEAR(c->GetVY(), 0.0f, 1e-6);
}

TEST_F(MassTest, FrictionBetweenFreeMassesPullsTowardTheirMeanTangentialVelocity)
{
    // Side by side along x, sliding in opposite directions along y.
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1);
    TMassRef b = TMass::Create(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 2);
    a->oldPosY = -3.0f; // (0, 3)
    b->oldPosY = 1.0f;  // (0, -1)
    a->Collide(*b);
    // Penetration 1, budget 1; half the difference is 2, so each loses 1 toward the mean of 1.
    EXPECT_NEAR(a->GetVY(), 2.0f, 1e-5);
    EXPECT_NEAR(b->GetVY(), 0.0f, 1e-5);
    EXPECT_EQ(a->posX, -0.5f);
    EXPECT_EQ(b->posX, 1.5f);
}

} // namespace
} // namespace ravel::test
