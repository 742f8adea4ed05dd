// tests/physics/TZoneTest.cpp: zone geometry and editing, collision with masses, and the step's zone stage.
#include "physics/TZone.h"

#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TRig.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace ravel;

namespace
{

// Every test gets a fresh world with an empty event queue.
class ZoneTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(10240, 5120, 0, 0, 1);
        TColEvent::Flush();
    }
    void TearDown() override
    {
        TColEvent::Flush();
        TPhysics::Free();
    }

    static TZoneRef Square(int style, float friction = 0.0f)
    {
        return TZone::Create({0, 0, 100, 0, 100, 100, 0, 100}, style, friction, 1, 4);
    }
    static TZoneRef Line(float friction = 0.0f)
    {
        return TZone::Create({0, 0, 100, 0}, TZone::LINE, friction, 1, 4);
    }
    static TMassRef Mass(float x, float y, float radius, float friction = 0.0f)
    {
        return TMass::Create(x, y, 1.0f, radius, friction, 2);
    }
};

std::size_t ZoneCount()
{
    std::size_t n = 0;
    for (const TZoneRef& z : *zoneList)
        n += z ? 1 : 0;
    return n;
}

// The zone's transform of one vertex, written out with every intermediate held as a float.
void PolarTransform(float x, float y, float scaleX, float scaleY, float angle, float& tx, float& ty)
{
    float sx = x * scaleX;
    float sy = y * scaleY;
    float r = std::sqrt(sx * sx + sy * sy);
    float a = Atan2Deg(sy, sx) + angle;
    tx = CosDeg(a) * r;
    ty = r * SinDeg(a);
}

struct Contact
{
    int calls = 0;
    float nx = 0, ny = 0, depth = 0;
};

// A response that only records what it was given.
TZoneResponse Recorder(Contact& c)
{
    return [&c](const TZoneRef&, const TMassRef&, float nx, float ny, float depth) {
        ++c.calls;
        c.nx = nx;
        c.ny = ny;
        c.depth = depth;
        return 0;
    };
}

} // namespace

TEST_F(ZoneTest, CreateRefusesShortAndOddArrays)
{
    const std::size_t before = ZoneCount();
    EXPECT_EQ(TZone::Create({0, 0}, TZone::LINE, 0, 1, 1), nullptr);
    EXPECT_EQ(TZone::Create({0, 0, 1, 1, 2, 2, 3}, TZone::LINE, 0, 1, 1), nullptr);
    EXPECT_EQ(TZone::Create({}, TZone::LINE, 0, 1, 1), nullptr);
    EXPECT_EQ(ZoneCount(), before);

    TZoneRef z = TZone::Create({0, 0, 10, 0}, TZone::LOOP, 7.0f, 9, 2);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(ZoneCount(), before + 1);
    EXPECT_EQ(zoneList->Last(), z);
    EXPECT_EQ(z->GetName(), "Zone");
    EXPECT_EQ(z->GetFriction(), 1.0f);
    EXPECT_EQ(z->GetColGroup(), 9);
    EXPECT_EQ(z->GetQTLevel(), 2);
    EXPECT_EQ(z->VertCount(), 2);
    EXPECT_NE(z->quadTree, nullptr);
    EXPECT_EQ(TZone::Create({0, 0, 10, 0}, TZone::LINE, -3.0f, 1, 1)->GetFriction(), 0.0f);
}

TEST_F(ZoneTest, AutomaticGroupsAreSharedWithMasses)
{
    nextAutoColGroup = -2;
    TZoneRef z = TZone::Create({0, 0, 10, 0}, TZone::LINE, 0, -1, 1);
    EXPECT_EQ(z->GetColGroup(), -2);
    TMassRef m = TMass::Create(0, 0, 1, 1, 0, -1);
    EXPECT_EQ(m->GetColGroup(), -3);
    z->SetColGroup(-1);
    EXPECT_EQ(z->GetColGroup(), -4);
    z->SetColGroup(-9);
    EXPECT_EQ(z->GetColGroup(), -9);
    EXPECT_EQ(nextAutoColGroup, -5);
}

TEST_F(ZoneTest, VertexTransformGoesThroughPolarFormInFloats)
{
    const std::vector<float> verts = {0.1f, 0.7f, -3.3f, 12.9f, 1e-3f, -7.25f, -0.0f, 5.0f, 123.456f, -0.5f};
    struct Setting
    {
        float sx, sy, angle;
    } settings[] = {{1, 1, 0}, {2, 0.5f, 30}, {-1.5f, 3, -117.5f}, {1, 1, 90}};
    for (const Setting& st : settings)
    {
        TZoneRef z = TZone::Create(verts, TZone::LOOP, 0, 1, 3);
        z->SetScale(st.sx, st.sy);
        z->Rotate(st.angle);
        std::vector<float> area = z->GetArea();
        ASSERT_EQ(area.size(), verts.size());
        for (std::size_t k = 0; k < verts.size(); k += 2)
        {
            float tx = 0, ty = 0;
            PolarTransform(verts[k], verts[k + 1], st.sx, st.sy, st.angle, tx, ty);
            EXPECT_EQ(area[k], tx) << "vertex " << k / 2 << " angle " << st.angle;
            EXPECT_EQ(area[k + 1], ty) << "vertex " << k / 2 << " angle " << st.angle;
        }
        // Edits transform only the new vertex, the same way.
        z->VertAddFirst(4.5f, -2.25f);
        float tx = 0, ty = 0;
        PolarTransform(4.5f, -2.25f, st.sx, st.sy, st.angle, tx, ty);
        EXPECT_EQ(z->GetArea()[0], tx);
        EXPECT_EQ(z->GetArea()[1], ty);
    }
}

TEST_F(ZoneTest, RotateScaleAndMove)
{
    TZoneRef z = TZone::Create({-10, -10, 10, -10, 10, 10, -10, 10}, TZone::FILL, 0, 1, 3);
    TQuadTreeRef tree = z->quadTree;
    z->Position(500, 600);
    z->Move(-5, 5);
    EXPECT_EQ(z->GetPositionX(), 495.0f);
    EXPECT_EQ(z->GetY(), 605.0f);
    EXPECT_EQ(z->quadTree, tree);
    EXPECT_EQ(z->GetArea(), z->origArea);

    z->Rotate(90);
    std::vector<float> area = z->GetArea();
    for (std::size_t k = 0; k < area.size(); k += 2)
    {
        EXPECT_NEAR(area[k], -z->origArea[k + 1], 1e-4f);
        EXPECT_NEAR(area[k + 1], z->origArea[k], 1e-4f);
    }
    EXPECT_NE(z->quadTree, tree);
    z->Turn(-45);
    EXPECT_EQ(z->GetRotation(), 45.0f);

    z->SetScale(2, 3);
    float vx = 0, vy = 0;
    z->VertGetPosition(2, vx, vy);
    EXPECT_EQ(vx, 10.0f);
    EXPECT_EQ(vy, 10.0f);
    float sx = 0, sy = 0;
    z->GetScale(sx, sy);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 3.0f);
    z->Rotate(0);
    EXPECT_NEAR(z->GetArea()[4], 20.0f, 1e-4f);
    EXPECT_NEAR(z->GetArea()[5], 30.0f, 1e-4f);
    // The tree covers the scaled outline, enlarged by one unit.
    EXPECT_NEAR(z->quadTree->posX, -21.0f, 1e-4f);
    EXPECT_NEAR(z->quadTree->sizeY, 62.0f, 1e-4f);
}

TEST_F(ZoneTest, VertexEditing)
{
    auto make = [] { return TZone::Create({0, 0, 10, 0, 10, 10}, TZone::LOOP, 0, 1, 3); };
    auto same = [](const TZoneRef& a, const TZoneRef& b) {
        return a->origArea == b->origArea && a->area == b->area;
    };

    TZoneRef a = make(), b = make();
    a->VertInsert(a->VertCount(), 5, 7);
    b->VertAddLast(5, 7);
    EXPECT_TRUE(same(a, b));
    EXPECT_EQ(a->VertCount(), 4);
    a = make(), b = make();
    a->VertInsert(0, 5, 7);
    b->VertAddFirst(5, 7);
    EXPECT_TRUE(same(a, b));
    EXPECT_EQ(a->VertGetX(0), 5.0f);
    EXPECT_EQ(a->VertGetY(1), 0.0f);

    a = make();
    a->VertInsert(1, -1, -2);
    EXPECT_EQ(a->origArea, (std::vector<float>{0, 0, -1, -2, 10, 0, 10, 10}));
    a->VertRemove(2);
    EXPECT_EQ(a->origArea, (std::vector<float>{0, 0, -1, -2, 10, 10}));
    a->VertPosition(1, 3, 4);
    EXPECT_EQ(a->origArea, (std::vector<float>{0, 0, 3, 4, 10, 10}));
    EXPECT_EQ(a->area.size(), a->origArea.size());

    // Out-of-range indices change nothing.
    b = make();
    const std::vector<float> before = b->origArea;
    b->VertInsert(-1, 1, 1);
    b->VertInsert(b->VertCount() + 1, 1, 1);
    b->VertRemove(-1);
    b->VertRemove(3);
    b->VertPosition(3, 1, 1);
    EXPECT_EQ(b->origArea, before);
    float x = 42, y = 43;
    b->VertGetPosition(3, x, y);
    b->VertGetPosition(-1, x, y);
    EXPECT_EQ(x, 42.0f);
    EXPECT_EQ(y, 43.0f);

    // A two-vertex zone keeps both vertices.
    TZoneRef two = Line();
    two->VertRemoveLast();
    two->VertRemoveFirst();
    two->VertRemove(0);
    EXPECT_EQ(two->VertCount(), 2);
    // Removing a vertex from a longer zone works from either end.
    b->VertRemoveFirst();
    EXPECT_EQ(b->origArea, (std::vector<float>{10, 0, 10, 10}));
    b->VertAddLast(0, 0);
    b->VertRemoveLast();
    EXPECT_EQ(b->origArea, (std::vector<float>{10, 0, 10, 10}));
}

TEST_F(ZoneTest, EditsRebuildTheTreeOverTheNewOutline)
{
    TZoneRef z = Line();
    z->VertAddLast(100, 300);
    ASSERT_NE(z->quadTree, nullptr);
    EXPECT_NEAR(z->quadTree->sizeY, 302.0f, 1e-3f);
    TMassRef m = Mass(103, 250, 5);
    z->Collide(*m);
    EXPECT_NEAR(m->posX, 105.0f, 1e-3f);
}

TEST_F(ZoneTest, ColourAlphaBlendAndImageSettings)
{
    TZoneRef z = Line();
    z->SetColor(300, -5, 128);
    EXPECT_EQ(z->red, 1.0f);
    EXPECT_EQ(z->green, 0.0f);
    EXPECT_EQ(z->blue, 128.0f / 255.0f);
    int r = 0, g = 0, b = 0;
    z->GetColor(r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);
    for (int v = 0; v <= 255; ++v)
    {
        z->SetColor(v, v, v);
        z->GetColor(r, g, b);
        ASSERT_EQ(r, v);
    }
    z->SetAlpha(1.5f);
    EXPECT_EQ(z->GetAlpha(), 1.5f);
    z->SetBlend(4);
    EXPECT_EQ(z->GetBlend(), 4);
    z->ImageSetScale(2, 0.5f);
    float sx = 0, sy = 0;
    z->ImageGetScale(sx, sy);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 0.5f);
}

TEST_F(ZoneTest, SetStyleKeepsTheOldTreeUntilRebuilt)
{
    TZoneRef z = Square(TZone::LINE);
    TQuadTreeRef tree = z->quadTree;
    z->SetStyle(TZone::FILL);
    EXPECT_EQ(z->quadTree, tree);
    // The line tree has no cell in the middle of the square: a centred mass is not tested.
    TMassRef m = Mass(50, 50, 5);
    z->Collide(*m);
    EXPECT_EQ(m->posX, 50.0f);
    EXPECT_EQ(m->posY, 50.0f);
    z->CalcQuadTree(z->GetQTLevel());
    z->Collide(*m);
    EXPECT_NE(m->posX == 50.0f && m->posY == 50.0f, true);
}

TEST_F(ZoneTest, UnknownStyleHasNoTreeAndNeverCollides)
{
    TZoneRef z = TZone::Create({0, 0, 100, 0, 100, 100}, 7, 0, 1, 3);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->quadTree, nullptr);
    TMassRef m = Mass(50, 1, 10);
    z->Collide(*m);
    z->Draw();
    z->DrawQuadTree(0);
    EXPECT_EQ(m->posY, 1.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);

    // Switched to an unknown style after its tree was built: the tree still answers, the exact test not.
    TZoneRef loop = Square(TZone::LOOP);
    loop->SetStyle(5);
    loop->Collide(*m);
    EXPECT_EQ(m->posY, 1.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
}

TEST_F(ZoneTest, ZoneWithoutVerticesIsHarmless)
{
    auto z = std::make_shared<TZone>();
    TMassRef m = Mass(0, 0, 10);
    z->Collide(*m);
    z->Draw();
    z->DrawQuadTree(1);
    z->CalcQuadTree(3);
    EXPECT_EQ(z->quadTree, nullptr);
    EXPECT_EQ(z->Copy(), nullptr);
    EXPECT_EQ(m->posX, 0.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
}

// Collision figures: where the mass ends up and what the response and the event were given.
TEST_F(ZoneTest, CollisionFigures)
{
    struct Figure
    {
        const char* what;
        int style;
        float mx, my, radius;
        float nx, ny, depth; // what the response receives
        float ex, ey;        // the mass after the default response
        float qx, qy;        // the event's contact point
    } figures[] = {
        {"line, above", TZone::LINE, 50, 6, 10, 0, 1, 4, 50, 10, 50, 0},
        {"line, below", TZone::LINE, 50, -6, 10, 0, -1, 4, 50, -10, 50, 0},
        {"line, past the end", TZone::LINE, 106, 8, 20, 0.6f, 0.8f, 10, 112, 16, 100, 0},
        {"loop, inside", TZone::LOOP, 50, 3, 5, 0, 1, 2, 50, 5, 50, 0},
        {"fill, inside", TZone::FILL, 50, 3, 5, 0, -1, 8, 50, -5, 50, 0},
        {"fill, outside", TZone::FILL, 50, -3, 5, 0, -1, 2, 50, -5, 50, 0},
        {"hole, inside", TZone::HOLE, 50, 3, 5, 0, 1, 2, 50, 5, 50, 0},
        {"hole, outside", TZone::HOLE, 50, -20, 5, 0, 1, 25, 50, 5, 50, 0},
        {"hole, outside the box", TZone::HOLE, -300, 50, 5, 1, 0, 305, 5, 50, 0, 50},
        {"fill, inside near a side", TZone::FILL, 97, 40, 5, 1, 0, 8, 105, 40, 100, 40},
    };
    for (const Figure& f : figures)
    {
        SCOPED_TRACE(f.what);
        TColEvent::Flush();
        TZoneRef z = f.style == TZone::LINE ? Line() : Square(f.style);
        Contact c;
        z->OverrideCollision(Recorder(c));
        TMassRef probe = Mass(f.mx, f.my, f.radius);
        z->Collide(*probe);
        ASSERT_EQ(c.calls, 1);
        EXPECT_NEAR(c.nx, f.nx, 1e-5f);
        EXPECT_NEAR(c.ny, f.ny, 1e-5f);
        EXPECT_NEAR(c.depth, f.depth, 1e-4f);
        EXPECT_EQ(probe->posX, f.mx); // the recorder moves nothing
        TColEventRef e = TColEvent::Seek(probe, z);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetID(), TColEvent::MASS_ZONE);
        EXPECT_EQ(e->GetZone(), z);
        EXPECT_NEAR(e->GetX(), f.qx, 1e-4f);
        EXPECT_NEAR(e->GetY(), f.qy, 1e-4f);
        EXPECT_NEAR(e->GetForce(), f.depth, 1e-4f);

        z->OverrideCollision(nullptr);
        TMassRef m = Mass(f.mx, f.my, f.radius);
        z->Collide(*m);
        EXPECT_NEAR(m->posX, f.ex, 1e-4f);
        EXPECT_NEAR(m->posY, f.ey, 1e-4f);
    }
}

TEST_F(ZoneTest, NoContactNoResponseNoEvent)
{
    struct Miss
    {
        int style;
        float mx, my, radius;
    } misses[] = {
        {TZone::LINE, 50, 10, 10},  // exactly one radius away
        {TZone::LINE, 50, 500, 10}, // outside the tree
        {TZone::LOOP, 50, 50, 10},  // inside the outline, clear of it
        {TZone::FILL, 200, 50, 10}, // outside the solid
        {TZone::HOLE, 50, 50, 10},  // free inside the hole
    };
    for (const Miss& f : misses)
    {
        TZoneRef z = f.style == TZone::LINE ? Line() : Square(f.style);
        Contact c;
        z->OverrideCollision(Recorder(c));
        TMassRef m = Mass(f.mx, f.my, f.radius);
        z->Collide(*m);
        EXPECT_EQ(c.calls, 0) << "style " << f.style << " at " << f.mx << "," << f.my;
        EXPECT_EQ(TColEvent::Peek(), nullptr);
    }
}

// Just beyond the box the tree cannot answer: a HOLE pulls the mass back, LOOP and FILL leave it alone,
// whether the zone sits near the origin or far out where float steps are coarse.
TEST_F(ZoneTest, JustBeyondTheBox)
{
    for (float at : {0.0f, 3.0e6f, 2.0e7f})
        for (int style : {TZone::LOOP, TZone::FILL, TZone::HOLE})
        {
            TColEvent::Flush();
            TZoneRef z = Square(style);
            z->Position(at, at);
            Contact c;
            z->OverrideCollision(Recorder(c));
            // The root cell ends at 101; the mass's square ends just short of it.
            TMassRef m = Mass(at + 106.01f, at + 50, 5);
            z->Collide(*m);
            EXPECT_EQ(c.calls, style == TZone::HOLE ? 1 : 0) << "style " << style << " at " << at;
            EXPECT_EQ(TColEvent::Peek() != nullptr, style == TZone::HOLE);
        }
}

TEST_F(ZoneTest, PositionedZoneCollidesInWorldCoordinates)
{
    TZoneRef z = Square(TZone::FILL);
    z->Position(1000, 2000);
    TMassRef m = Mass(1050, 2003, 5);
    z->Collide(*m);
    EXPECT_NEAR(m->posX, 1050.0f, 1e-3f);
    EXPECT_NEAR(m->posY, 1995.0f, 1e-3f);
    // Where the zone used to be nothing happens.
    TMassRef old = Mass(50, 3, 5);
    z->Collide(*old);
    EXPECT_EQ(old->posY, 3.0f);
}

TEST_F(ZoneTest, MassOnTheOutlineIsOnlyBraked)
{
    for (int style : {TZone::LINE, TZone::LOOP})
    {
        TColEvent::Flush();
        TZoneRef z = style == TZone::LINE ? Line(1.0f) : Square(style, 1.0f);
        TMassRef m = Mass(50, 0, 10, 1.0f);
        m->oldPosX = 47; // moving 3 per step along the outline
        Contact c;
        z->OverrideCollision(Recorder(c));
        z->Collide(*m);
        ASSERT_EQ(c.calls, 1);
        EXPECT_EQ(c.nx, 0.0f);
        EXPECT_EQ(c.ny, 0.0f);
        EXPECT_EQ(c.depth, 10.0f - 0.0001f);
        EXPECT_EQ(TColEvent::Seek(m, z)->GetForce(), 10.0f - 0.0001f);

        z->OverrideCollision(nullptr);
        z->Collide(*m);
        // Not moved out, but its whole velocity braked away.
        EXPECT_EQ(m->posY, 0.0f);
        EXPECT_EQ(m->posX, 47.0f);
    }
    // Very close but not on it: the normal points the right way and is shorter than 1.
    TZoneRef z = Line();
    Contact c;
    z->OverrideCollision(Recorder(c));
    TMassRef m = Mass(50, 0.00005f, 10);
    z->Collide(*m);
    EXPECT_GT(c.ny, 0.0f);
    EXPECT_LT(c.ny, 1.0f);
}

TEST_F(ZoneTest, DefaultFrictionGrowsWithDepth)
{
    struct Case
    {
        float zoneFriction, massFriction, vx;
        float ex; // x after the response; the mass started at 50 with old x 50 - vx
    } cases[] = {
        {1, 1, 1.0f, 49.0f},   // tangential speed 1 below the limit 2: sliding stops
        {1, 1, 3.0f, 48.0f},   // speed 3, limit 2: slowed by 2
        {0, 0, 1.0f, 50.0f},   // no friction: no braking
        {0.5f, 0, 2.0f, 49.5f} // limit 0.5
    };
    for (const Case& c : cases)
    {
        TZoneRef z = Line(c.zoneFriction);
        TMassRef m = Mass(50, 8, 10, c.massFriction);
        m->oldPosX = 50 - c.vx;
        m->oldPosY = 8;
        z->Collide(*m);
        EXPECT_NEAR(m->posY, 10.0f, 1e-5f) << c.vx;
        EXPECT_NEAR(m->posX, c.ex, 1e-4f) << c.zoneFriction << " " << c.massFriction << " " << c.vx;
        EXPECT_EQ(m->oldPosX, 50 - c.vx); // the old position is never touched
    }
    EXPECT_EQ(TZone::ColDefault(nullptr, nullptr, 1, 0, 1), 0);
}

TEST_F(ZoneTest, OverrideCollisionAndTheNullResponse)
{
    TZoneRef z = Line();
    Contact c;
    z->OverrideCollision(Recorder(c));
    TMassRef m = Mass(50, 6, 10);
    z->Collide(*m);
    EXPECT_EQ(c.calls, 1);
    EXPECT_EQ(m->posY, 6.0f);
    ASSERT_NE(TColEvent::Peek(), nullptr);
    EXPECT_EQ(TColEvent::Peek()->GetID(), TColEvent::MASS_ZONE);

    z->OverrideCollision(nullptr);
    const TZoneResponseFn* fn = z->ColResponse.target<TZoneResponseFn>();
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(*fn, &TZone::ColDefault);
    z->Collide(*m);
    EXPECT_EQ(c.calls, 1);
    EXPECT_EQ(m->posY, 10.0f);

    // A custom response can call the default one.
    z->OverrideCollision([&c](const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth) {
        ++c.calls;
        return TZone::ColDefault(zone, mass, nx, ny * 0.5f, depth);
    });
    TMassRef n = Mass(50, 6, 10);
    z->Collide(n);
    EXPECT_EQ(c.calls, 2);
    EXPECT_EQ(n->posY, 8.0f);
}

TEST_F(ZoneTest, EventsMergePerPair)
{
    TZoneRef z = Line();
    TMassRef m = Mass(50, 8, 10);
    Contact c;
    z->OverrideCollision(Recorder(c));
    z->Collide(*m);
    z->Collide(*m);
    TColEventRef e = TColEvent::Poll();
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(e->GetForce(), 4.0f, 1e-5f);
    EXPECT_EQ(TColEvent::Poll(), nullptr);
}

// The step: frozen masses skipped, the group rule, list order, freed zones left out.
TEST_F(ZoneTest, StepCollidesAdmittedPairsOnly)
{
    struct Case
    {
        float massGroup;
        int zoneGroup;
        bool frozen;
        bool collides;
    } cases[] = {
        {2, 1, false, true},  {1, 1, false, false}, {0, 1, false, false},  {2, 0, false, false},
        {-3, 3, false, true}, {2, 1, true, false},  {-2, -3, false, true},
    };
    for (const Case& c : cases)
    {
        TPhysics::Create(10240, 5120, 0, 0, 1);
        TZoneRef z = TZone::Create({100, 100, 300, 100}, TZone::LINE, 0, c.zoneGroup, 4);
        TMassRef m = TMass::Create(200, 106, 1, 10, 0, 1);
        m->colGroup = c.massGroup;
        if (c.frozen)
            m->Freeze();
        m->AddRef();
        TPhysics::Update();
        EXPECT_EQ(m->posY == 110.0f, c.collides) << c.massGroup << " vs " << c.zoneGroup << " " << c.frozen;
        EXPECT_EQ(TColEvent::Seek(m, z) != nullptr, c.collides);
        m->SubRef();
    }
}

TEST_F(ZoneTest, StepVisitsZonesInListOrderEveryPass)
{
    TPhysics::SetIterations(3);
    std::vector<int> order;
    auto tag = [&order](int id) {
        return [&order, id](const TZoneRef&, const TMassRef&, float, float, float) {
            order.push_back(id);
            return 0;
        };
    };
    TZoneRef a = TZone::Create({0, 100, 400, 100}, TZone::LINE, 0, 1, 3);
    TZoneRef b = TZone::Create({0, 100, 400, 100}, TZone::LINE, 0, 1, 3);
    TZoneRef gone = TZone::Create({0, 100, 400, 100}, TZone::LINE, 0, 1, 3);
    a->OverrideCollision(tag(1));
    b->OverrideCollision(tag(2));
    gone->OverrideCollision(tag(3));
    gone->Free();
    EXPECT_FALSE(gone->link.IsLinked());
    TMassRef m = TMass::Create(200, 105, 1, 10, 0, 2);
    m->AddRef();
    TPhysics::Update();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2, 1, 2}));
    // A new world forgets the zones.
    TPhysics::Create(10240, 5120, 0, 0, 1);
    m->SubRef();
}

TEST_F(ZoneTest, DrawRestoresTheDrawingState)
{
    TZoneRef outline = Square(TZone::LOOP);
    TZoneRef filled = Square(TZone::FILL);
    TZoneRef pictured = Line();
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 2;
    pixmap->height = 2;
    pixmap->pixels.assign(16, 200);
    pictured->ImageSet(TImage::FromPixmap(pixmap, 0));
    ASSERT_NE(pictured->ImageGet(), nullptr);
    for (const TZoneRef& z : {outline, filled, pictured})
    {
        z->SetBlend(3);
        z->SetColor(10, 20, 30);
        z->SetAlpha(0.5f);
        z->Rotate(33);
        SetBlend(2);
        SetColor(100, 110, 120);
        SetAlpha(0.75f);
        SetRotation(12);
        SetScale(2, 3);
        z->Draw();
        z->DrawQuadTree(0);
        z->DrawQuadTree(1);
        int r = 0, g = 0, b = 0;
        GetColor(r, g, b);
        float sx = 0, sy = 0;
        GetScale(sx, sy);
        EXPECT_EQ(GetBlend(), 2);
        EXPECT_EQ(r, 100);
        EXPECT_EQ(g, 110);
        EXPECT_EQ(b, 120);
        EXPECT_EQ(GetAlpha(), 0.75f);
        EXPECT_EQ(GetRotation(), 12.0f);
        EXPECT_EQ(sx, 2.0f);
        EXPECT_EQ(sy, 3.0f);
    }
    SetBlend(1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
    pictured->ImageSet(nullptr);
    EXPECT_EQ(pictured->ImageGet(), nullptr);
}

// Every setter that keeps a fraction in [0, 1] reads a NaN as 0, and a zone given a NaN friction
// pushes a mass out to a finite place.
TEST_F(ZoneTest, NaNFractionsBecomeZeroEverywhere)
{
    const float nan = std::nanf("");
    TZoneRef zone = Line(0.5f);
    zone->SetFriction(nan);
    EXPECT_EQ(zone->GetFriction(), 0.0f);
    EXPECT_EQ(TZone::Create({0, 0, 100, 0}, TZone::LINE, nan, 1, 4)->GetFriction(), 0.0f);
    zone->Free();
    TMassRef m = Mass(50.0f, 6.0f, 10.0f, nan);
    EXPECT_EQ(m->GetFriction(), 0.0f);
    m->SetFriction(0.5f);
    m->SetFriction(nan);
    EXPECT_EQ(m->GetFriction(), 0.0f);
    m->SetVelocity(2.0f, 0.0f);
    zone = Line(nan);
    zone->Collide(m);
    EXPECT_TRUE(std::isfinite(m->GetX()) && std::isfinite(m->GetY()));
    EXPECT_EQ(m->GetY(), 10.0f);

    TConstraintRef c = TConstraint::Create(m, Mass(0, 0, 1), 0.0f, 0.5f);
    c->SetStiffness(nan);
    EXPECT_EQ(c->GetStiffness(), 0.0f);
    TRigRef rig = TRig::Create(nullptr, m, nullptr, 0.0f);
    rig->SetAlpha(nan);
    EXPECT_EQ(rig->GetAlpha(), 0.0f);
    // Values in range and out of it are kept as before.
    rig->SetAlpha(-0.5f);
    EXPECT_EQ(rig->GetAlpha(), 0.0f);
    rig->SetAlpha(0.25f);
    EXPECT_EQ(rig->GetAlpha(), 0.25f);
    c->SetStiffness(7.0f);
    EXPECT_EQ(c->GetStiffness(), 1.0f);
}
