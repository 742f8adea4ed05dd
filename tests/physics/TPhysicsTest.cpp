// Tests of the world: settings, registries, grid resolution and the camera.
#include "CoreFixture.h"

#include "platform/Graphics2D.h"
#include "platform/Random.h"

#include <cmath>
#include <type_traits>

namespace ravel::test
{
namespace
{

TEST(WorldSettings, CreateMakesTheCurrentWorldWithItsDefaults)
{
    TPhysicsRef w = TPhysics::Create(10240.0f, 5120.0f, 0.0f, 0.0f, 1);
    ASSERT_EQ(world, w);
    float minX, minY, maxX, maxY;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    EXPECT_EQ(minX, 0.0f);
    EXPECT_EQ(minY, 0.0f);
    EXPECT_EQ(maxX, 10240.0f);
    EXPECT_EQ(maxY, 5120.0f);
    EXPECT_EQ(w->gravityX, 0.0f);
    EXPECT_EQ(w->gravityY, 0.0f);
    EXPECT_EQ(w->i, 1);
    EXPECT_EQ(w->friction, 1.0f);
    EXPECT_EQ(w->gridsize, 8);
    EXPECT_EQ(w->gridon, 0);
    EXPECT_EQ(1.0f / w->ratiox, 1280.0f);
    EXPECT_EQ(1.0f / w->ratioy, 640.0f);
    EXPECT_EQ(w->drawScale, 1.0f);
    EXPECT_EQ(w->drawIX, 1.0f);
    EXPECT_EQ(w->drawIY, 0.0f);
    EXPECT_EQ(w->drawJX, 0.0f);
    EXPECT_EQ(w->drawJY, 1.0f);
    ASSERT_TRUE(massList && constraintList && zoneList);
    EXPECT_TRUE(massList->IsEmpty());
    TPhysics::Free();
}

TEST(WorldSettings, CreateTakesTheVerticalGravityFirst)
{
    TPhysicsRef w = TPhysics::Create(640.0f, 480.0f, 9.8f, 0.0f, 3);
    EXPECT_EQ(w->gravityY, 9.8f);
    EXPECT_EQ(w->gravityX, 0.0f);
    TPhysics::SetGravity(1.0f, 2.0f);
    EXPECT_EQ(w->gravityX, 1.0f);
    EXPECT_EQ(w->gravityY, 2.0f);
    TPhysics::Free();
}

TEST(WorldSettings, SettersStoreWhatTheyAreGivenExceptGridAndBounds)
{
    TPhysicsRef w = TPhysics::Create(1000.0f, 500.0f, 0.0f, 0.0f, 1);
    TPhysics::SetGridSize(2);
    EXPECT_EQ(w->gridsize, 8);
    TPhysics::SetGridSize(1000);
    EXPECT_EQ(w->gridsize, 64);
    EXPECT_EQ(w->ratiox, 64.0f / 1000.0f);
    EXPECT_EQ(w->ratioy, 64.0f / 500.0f);

    TPhysics::SetBounds(100.0f, 50.0f, -100.0f, -50.0f);
    float minX, minY, maxX, maxY;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    EXPECT_EQ(minX, -100.0f);
    EXPECT_EQ(minY, -50.0f);
    EXPECT_EQ(maxX, 100.0f);
    EXPECT_EQ(maxY, 50.0f);
    EXPECT_EQ(w->ratiox, 64.0f / 1000.0f) << "ratios wait for the next SetGridSize";
    TPhysics::SetGridSize(8);
    EXPECT_EQ(w->ratiox, 8.0f / 200.0f);

    TPhysics::SetFriction(3.0f);
    EXPECT_EQ(w->friction, 3.0f);
    TPhysics::SetIterations(-4);
    EXPECT_EQ(w->i, -4);
    TPhysics::UseShiftedGrid(1);
    EXPECT_EQ(w->gridon, 1);
    TPhysics::Free();
}

TEST(WorldSettings, FreeZeroesTheSettingsAndDropsTheRegistries)
{
    TPhysicsRef w = TPhysics::Create(1000.0f, 500.0f, 2.0f, 1.0f, 4);
    TPhysics::Free();
    EXPECT_EQ(world, nullptr);
    EXPECT_EQ(massList, nullptr);
    EXPECT_EQ(constraintList, nullptr);
    EXPECT_EQ(zoneList, nullptr);
    EXPECT_EQ(w->boundsMaxX, 0.0f);
    EXPECT_EQ(w->gravityY, 0.0f);
    EXPECT_EQ(w->i, 0);
    EXPECT_EQ(w->friction, 0.0f);
}

TEST(WorldSettings, EveryFunctionIsHarmlessWithoutAWorld)
{
    TPhysics::Free();
    ASSERT_EQ(world, nullptr);
    EXPECT_EQ(TPhysics::Update(), 0);
    EXPECT_EQ(TPhysics::SetGravity(1, 1), 0);
    EXPECT_EQ(TPhysics::SetIterations(2), 0);
    EXPECT_EQ(TPhysics::SetBounds(0, 0, 1, 1), 0);
    EXPECT_EQ(TPhysics::SetFriction(1), 0);
    EXPECT_EQ(TPhysics::UseShiftedGrid(1), 0);
    EXPECT_EQ(TPhysics::SetGridSize(16), 0);
    EXPECT_EQ(TPhysics::SetDrawCoords(1, 2), 0);
    EXPECT_EQ(TPhysics::SetDrawZoom(2), 0);
    EXPECT_EQ(TPhysics::SetDrawRotation(3), 0);
    EXPECT_EQ(TPhysics::ScreenX(5, 5), 0.0f);
    EXPECT_EQ(TPhysics::SimY(5, 5), 0.0f);
    EXPECT_EQ(TPhysics::DrawLine(0, 0, 1, 1), 0);
    float a = 9, b = 9, c = 9, d = 9;
    TPhysics::GetBounds(a, b, c, d);
    EXPECT_EQ(a + b + c + d, 0.0f);
    // A mass and a constraint can still be made, owned and released.
    TMassRef m1 = TMass::Create(0, 0, 1, 1, 0, 1);
    TMassRef m2 = TMass::Create(5, 0, 1, 1, 0, 1);
    TConstraintRef c1 = TConstraint::Create(m1, m2, 0, 1);
    c1->AddRef();
    EXPECT_EQ(m1->IsActive(), 1);
    c1->SubRef();
    EXPECT_EQ(m1->IsActive(), 0);
    EXPECT_EQ(TPhysics::Free(), 0);
}

TEST(WorldSettings, ANewWorldForgetsTheMassesOfTheOldOne)
{
    TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
    TMassRef m = TMass::Create(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
    m->AddRef();
    m->SetVelocity(3.0f, 0.0f);
    TPhysics::Update();
    EXPECT_EQ(m->posX, 103.0f);

    TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
    EXPECT_TRUE(massList->IsEmpty());
    TPhysics::Update();
    EXPECT_EQ(m->posX, 103.0f) << "the new world does not simulate it";
    EXPECT_EQ(m->IsActive(), 1) << "its own count still says active";
    m->SubRef(); // releasing it from the replaced world is harmless
    EXPECT_EQ(m->IsActive(), 0);
    m->AddRef(); // and it joins the new world on the next first owner
    EXPECT_EQ(massList->Count(), 1);
    m->SubRef();
    TPhysics::Free();
}

TEST(WorldSettings, AMassCountedWithoutAWorldJoinsTheNextOneOnItsNextOwner)
{
    TPhysics::Free();
    TMassRef m = TMass::Create(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
    m->AddRef(); // nothing to join yet
    TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
    EXPECT_TRUE(massList->IsEmpty());
    m->AddRef(); // joins, and counts as ever
    EXPECT_EQ(massList->Count(), 1);
    m->AddRef(); // already in: nothing more to join
    EXPECT_EQ(massList->Count(), 1);
    m->SubRef();
    m->SubRef();
    EXPECT_EQ(massList->Count(), 1) << "one count is left";
    m->SubRef();
    EXPECT_TRUE(massList->IsEmpty());
    TPhysics::Free();
}

// A program may keep two worlds and step them in turn by putting each one's registries back in the
// globals; each step must see the lists it is given, even when both hold as many masses.
TEST(WorldSettings, TwoWorldsSteppedInTurnEachMoveOnlyTheirOwnMasses)
{
    struct Slot
    {
        std::shared_ptr<TPhysics> physics;
        std::shared_ptr<TList<TMassRef>> masses;
        std::shared_ptr<TList<TConstraintRef>> constraints;
        std::shared_ptr<TList<TZoneRef>> zones;
        TMassRef m;
    };
    auto make = [](float speed) {
        Slot s;
        TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
        s.m = TMass::Create(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
        s.m->AddRef();
        s.m->SetVelocity(speed, 0.0f);
        s.physics = world;
        s.masses = massList;
        s.constraints = constraintList;
        s.zones = zoneList;
        return s;
    };
    auto use = [](const Slot& s) {
        world = s.physics;
        massList = s.masses;
        constraintList = s.constraints;
        zoneList = s.zones;
    };
    Slot a = make(1.0f);
    Slot b = make(2.0f);
    for (int k = 0; k < 3; ++k)
    {
        use(a);
        TPhysics::Update();
        use(b);
        TPhysics::Update();
    }
    EXPECT_EQ(a.m->posX, 103.0f);
    EXPECT_EQ(b.m->posX, 106.0f);
    a.m->SubRef();
    b.m->SubRef();
    TPhysics::Free();
    use(a);
    TPhysics::Free();
}

// Masses and constraints come only from their factories, which own them through a handle: built any
// other way they could be counted active without ever joining a world.
static_assert(!std::is_default_constructible_v<TMass> && !std::is_copy_constructible_v<TMass>);
static_assert(!std::is_default_constructible_v<TConstraint> && !std::is_copy_constructible_v<TConstraint>);

TEST(WorldSettings, MassesOutliveAFreedWorldThatTheyWereFiledIn)
{
    TMassRef m;
    {
        TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
        m = TMass::Create(100.0f, 100.0f, 1.0f, 1.0f, 0.0f, 0);
        m->AddRef();
        TPhysics::Free(); // the world and its grid are gone; the mass still thinks it is active
    }
    m->AddToGrid();
    m->SubRef();
    m->AddRef();
    m.reset();
}

// ---------------------------------------------------------------------------------------------------
// Camera

TEST_F(WorldTest, TheViewIsTheIdentityUntilTheCameraFirstChanges)
{
    EXPECT_EQ(TPhysics::ScreenX(100.0f, 50.0f), 100.0f);
    EXPECT_EQ(TPhysics::ScreenY(100.0f, 50.0f), 50.0f);
    EXPECT_EQ(TPhysics::SimX(100.0f, 50.0f), 100.0f);
    EXPECT_EQ(TPhysics::SimY(100.0f, 50.0f), 50.0f);
}

TEST_F(WorldTest, TheCentreLandsMidScreenAtAnyZoomAndRotation)
{
    // No graphics are open in these tests, so the screen is 0 x 0 and its centre is (0, 0).
    TPhysics::SetDrawCoords(1000.0f, 2000.0f);
    EXPECT_EQ(TPhysics::ScreenX(1000.0f, 2000.0f), 0.0f);
    EXPECT_EQ(TPhysics::ScreenY(1000.0f, 2000.0f), 0.0f);

    TPhysics::SetDrawZoom(2.0f);
    EXPECT_EQ(TPhysics::ScreenX(1010.0f, 2000.0f), 20.0f);
    EXPECT_EQ(TPhysics::ScreenY(1010.0f, 2000.0f), 0.0f);

    TPhysics::SetDrawZoom(1.0f);
    TPhysics::SetDrawRotation(90.0f);
    EXPECT_NEAR(TPhysics::ScreenX(1010.0f, 2000.0f), 0.0f, 1e-3);
    EXPECT_NEAR(TPhysics::ScreenY(1010.0f, 2000.0f), 10.0f, 1e-3);
}

TEST_F(WorldTest, TheMatrixIsTheScaledRotationInFloats)
{
    TPhysics::SetDrawZoom(1.5f);
    TPhysics::SetDrawRotation(30.0f);
    const TPhysics& w = *world;
    EXPECT_EQ(w.drawIX, static_cast<float>(std::cos(30.0 * M_PI / 180.0)) * 1.5f);
    EXPECT_EQ(w.drawIY, -static_cast<float>(std::sin(30.0 * M_PI / 180.0)) * 1.5f);
    EXPECT_EQ(w.drawJX, w.drawIY * -1.0f);
    EXPECT_EQ(w.drawJY, w.drawIX);
}

TEST_F(WorldTest, ScreenAndSimulationCoordinatesRoundTrip)
{
    for (int k = 0; k < 500; ++k)
    {
        TPhysics::SetDrawCoords(RandomRange(-5000, 5000), RandomRange(-5000, 5000));
        TPhysics::SetDrawZoom(RandomRange(0.05f, 8.0f));
        TPhysics::SetDrawRotation(RandomRange(-360, 360));
        float x = RandomRange(-5000, 5000), y = RandomRange(-5000, 5000);
        float sx = TPhysics::ScreenX(x, y), sy = TPhysics::ScreenY(x, y);
        float tolerance = 1e-3f * (1.0f + std::fabs(x) + std::fabs(y)) / world->drawScale;
        ASSERT_NEAR(TPhysics::SimX(sx, sy), x, tolerance);
        ASSERT_NEAR(TPhysics::SimY(sx, sy), y, tolerance);
    }
}

TEST_F(WorldTest, WorldSpaceDrawingPutsTheDrawingStateBack)
{
    TPhysics::SetDrawZoom(2.0f);
    TPhysics::SetDrawRotation(10.0f);
    SetRotation(30.0f);
    SetScale(0.5f, 0.25f);
    SetOrigin(3.0f, 4.0f);
    const std::vector<float> triangle = {0, 0, 10, 0, 0, 10};
    for (int call = 0; call < 6; ++call)
    {
        switch (call)
        {
        case 0:
            TPhysics::DrawImage(nullptr, 5, 5, 0);
            break;
        case 1:
            TPhysics::DrawPoly(triangle, 5, 5);
            break;
        case 2:
            TPhysics::DrawLine(0, 0, 5, 5);
            break;
        case 3:
            TPhysics::DrawOval(0, 0, 5, 5);
            break;
        case 4:
            TPhysics::DrawRect(0, 0, 5, 5);
            break;
        default:
            TMass::Create(1, 1, 1, 1, 0, 0)->Draw();
            break;
        }
        float sx, sy, ox, oy;
        GetScale(sx, sy);
        GetOrigin(ox, oy);
        EXPECT_EQ(GetRotation(), 30.0f) << call;
        EXPECT_EQ(sx, 0.5f) << call;
        EXPECT_EQ(sy, 0.25f) << call;
        EXPECT_EQ(ox, 3.0f) << call;
        EXPECT_EQ(oy, 4.0f) << call;
    }
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    SetOrigin(0.0f, 0.0f);
}

} // namespace
} // namespace ravel::test
