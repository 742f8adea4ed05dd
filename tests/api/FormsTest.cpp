// tests/api/FormsTest.cpp: every free form called once, class by class. A missing or misnamed form
// fails the build; a form that forwards to the wrong operation or mixes up its arguments fails a check.
#include "tests/api/ApiFixture.h"

#include "physics/TPhysics.h"
#include "physics/api/Api.h"
#include "platform/DegMath.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace ravel;
using ravel::test::ApiTest;

TEST_F(ApiTest, PhysicsForms)
{
    TPhysicsRef w = PhysicsCreate(200.0f, 100.0f, 0.5f, 0.25f, 3);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w, world);
    EXPECT_EQ(w->gravityY, 0.5f); // the vertical component comes first, as in the function
    EXPECT_EQ(w->gravityX, 0.25f);
    EXPECT_EQ(w->i, 3);

    EXPECT_EQ(PhysicsSetGravity(1.0f, 2.0f), 0);
    EXPECT_EQ(w->gravityX, 1.0f);
    EXPECT_EQ(w->gravityY, 2.0f);
    EXPECT_EQ(PhysicsSetIterations(5), 0);
    EXPECT_EQ(w->i, 5);
    EXPECT_EQ(PhysicsSetBounds(300.0f, 400.0f, 10.0f, 20.0f), 0);
    float minX = -1.0f, minY = -1.0f, maxX = -1.0f, maxY = -1.0f;
    EXPECT_EQ(PhysicsGetBounds(minX, minY, maxX, maxY), 0);
    EXPECT_EQ(minX, 10.0f);
    EXPECT_EQ(minY, 20.0f);
    EXPECT_EQ(maxX, 300.0f);
    EXPECT_EQ(maxY, 400.0f);
    EXPECT_EQ(PhysicsSetFriction(0.75f), 0);
    EXPECT_EQ(w->friction, 0.75f);
    EXPECT_EQ(PhysicsUseShiftedGrid(1), 0);
    EXPECT_EQ(w->gridon, 1);
    EXPECT_EQ(PhysicsSetGridSize(16), 0);
    EXPECT_EQ(w->gridsize, 16);

    EXPECT_EQ(PhysicsSetDrawCoords(50.0f, 60.0f), 0);
    EXPECT_EQ(w->centerX, 50.0f);
    EXPECT_EQ(w->centerY, 60.0f);
    EXPECT_EQ(PhysicsSetDrawZoom(2.0f), 0);
    EXPECT_EQ(w->drawScale, 2.0f);
    EXPECT_EQ(PhysicsSetDrawRotation(30.0f), 0);
    EXPECT_EQ(w->drawRot, 30.0f);
    w->drawRot = 90.0f;
    EXPECT_EQ(PhysicsUpdateTransform(), 0);
    EXPECT_NEAR(w->drawIX, 0.0f, 1e-6f);
    EXPECT_EQ(PhysicsMouseX(), TPhysics::MouseX());
    EXPECT_EQ(PhysicsMouseY(), TPhysics::MouseY());
    // Distinct coordinates under a turned camera, so that a swapped pair would show.
    EXPECT_EQ(PhysicsSimX(3.0f, 7.0f), TPhysics::SimX(3.0f, 7.0f));
    EXPECT_EQ(PhysicsSimY(3.0f, 7.0f), TPhysics::SimY(3.0f, 7.0f));
    EXPECT_EQ(PhysicsScreenX(3.0f, 7.0f), TPhysics::ScreenX(3.0f, 7.0f));
    EXPECT_EQ(PhysicsScreenY(3.0f, 7.0f), TPhysics::ScreenY(3.0f, 7.0f));
    EXPECT_NE(PhysicsScreenX(3.0f, 7.0f), PhysicsScreenY(3.0f, 7.0f));

    EXPECT_EQ(PhysicsDrawImage(SmallImage(), 1.0f, 2.0f, 0), 0);
    EXPECT_EQ(PhysicsDrawPoly({0.0f, 0.0f, 5.0f, 0.0f, 5.0f, 5.0f}, 1.0f, 2.0f), 0);
    EXPECT_EQ(PhysicsDrawLine(0.0f, 0.0f, 10.0f, 10.0f), 0);
    EXPECT_EQ(PhysicsDrawOval(0.0f, 0.0f, 10.0f, 5.0f), 0);
    EXPECT_EQ(PhysicsDrawRect(0.0f, 0.0f, 10.0f, 5.0f), 0);

    EXPECT_EQ(PhysicsUpdate(), 0);
    EXPECT_EQ(PhysicsFree(), 0);
    EXPECT_EQ(world, nullptr);
}

TEST_F(ApiTest, MassForms)
{
    TMassRef m = MassCreate(3.0f, 4.0f, 2.0f, 5.0f, 1.5f, 7);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(MassGetPositionX(m), 3.0f);
    EXPECT_EQ(MassGetPositionY(m), 4.0f);
    EXPECT_EQ(MassGetX(m), 3.0f);
    EXPECT_EQ(MassGetY(m), 4.0f);
    EXPECT_EQ(MassGetMass(m), 2.0f);
    EXPECT_EQ(MassGetRadius(m), 5.0f);
    EXPECT_EQ(MassGetFriction(m), 1.0f); // clamped by Create
    EXPECT_EQ(MassGetColGroup(m), 7);

    EXPECT_EQ(MassSetName(m, "wheel"), 0);
    EXPECT_EQ(MassGetName(m), "wheel");
    TMassRef copy = MassCopy(m);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, m);
    EXPECT_EQ(copy->GetName(), "wheel");

    EXPECT_EQ(MassMove(m, 1.0f, 2.0f), 0); // gains the shift as velocity
    EXPECT_EQ(MassGetVelocityX(m), 1.0f);
    EXPECT_EQ(MassGetVelocityY(m), 2.0f);
    EXPECT_EQ(MassGetVX(m), 1.0f);
    EXPECT_EQ(MassGetVY(m), 2.0f);
    EXPECT_EQ(MassTranslate(m, 10.0f, 20.0f), 0); // velocity kept
    float x = 0.0f, y = 0.0f;
    EXPECT_EQ(MassGetPosition(m, x, y), 0);
    EXPECT_EQ(x, 14.0f);
    EXPECT_EQ(y, 26.0f);
    EXPECT_EQ(MassGetVX(m), 1.0f);
    EXPECT_EQ(MassPosition(m, 50.0f, 60.0f), 0); // at rest
    EXPECT_EQ(MassGetX(m), 50.0f);
    EXPECT_EQ(MassGetVelocity(m), 0.0f);

    EXPECT_EQ(MassSetVelocity(m, 3.0f, 4.0f), 0);
    EXPECT_EQ(MassAddVelocity(m, 1.0f, 2.0f), 0);
    EXPECT_EQ(MassGetVX(m), 4.0f);
    EXPECT_EQ(MassGetVY(m), 6.0f);

    EXPECT_EQ(MassSetMass(m, 9.0f), 0);
    EXPECT_EQ(MassGetMass(m), 9.0f);
    EXPECT_EQ(MassSetRadius(m, 6.0f), 0);
    EXPECT_EQ(MassGetRadius(m), 6.0f);
    EXPECT_EQ(MassSetFriction(m, -2.0f), 0);
    EXPECT_EQ(MassGetFriction(m), 0.0f);
    EXPECT_EQ(MassSetColGroup(m, 3), 0);
    EXPECT_EQ(MassGetColGroup(m), 3);

    EXPECT_EQ(MassFreeze(m), 0);
    EXPECT_EQ(MassIsFrozen(m), 1);
    EXPECT_EQ(MassGetVelocity(m), 0.0f);
    EXPECT_EQ(MassThaw(m), 0);
    EXPECT_EQ(MassIsFrozen(m), 0);
    EXPECT_EQ(MassDraw(m), 0);
}

TEST_F(ApiTest, ConstraintAndBodyForms)
{
    TMassRef a = MassCreate(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = MassCreate(3.0f, 4.0f, 1.0f, 1.0f, 0.0f, 0);
    TConstraintRef c = ConstraintCreate(a, b, 0.0f, 0.5f);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(ConstraintGetMass1(c), a);
    EXPECT_EQ(ConstraintGetMass2(c), b);
    EXPECT_FLOAT_EQ(ConstraintGetRestLength(c), 5.0f); // taken from the distance
    EXPECT_FLOAT_EQ(ConstraintGetLength(c), 5.0f);
    EXPECT_EQ(ConstraintGetStiffness(c), 0.5f);
    EXPECT_FLOAT_EQ(ConstraintGetAngle(c), Atan2Deg(4.0f, 3.0f));
    EXPECT_EQ(ConstraintSetName(c, "axle"), 0);
    EXPECT_EQ(ConstraintGetName(c), "axle");
    EXPECT_EQ(ConstraintSetRestLength(c, 10.0f), 0);
    EXPECT_EQ(ConstraintGetRestLength(c), 10.0f);
    EXPECT_FLOAT_EQ(ConstraintGetStress(c), 0.5f);
    EXPECT_EQ(ConstraintSetStiffness(c, 2.0f), 0);
    EXPECT_EQ(ConstraintGetStiffness(c), 1.0f);
    EXPECT_EQ(ConstraintDraw(c), 0);

    TBodyRef group = BodyCreate();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(BodyGetName(group), "Body");
    EXPECT_EQ(BodySetName(group, "frame"), 0);
    EXPECT_EQ(BodyGetName(group), "frame");

    EXPECT_EQ(ConstraintAssign(c, group), 0);
    EXPECT_EQ(c->refCounter, 1);
    EXPECT_EQ(a->IsActive(), 1);
    TListRef<TConstraintRef> list = BodyGetConstraints(group);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->First(), c);
    EXPECT_EQ(ConstraintFree(c, group), 0);
    EXPECT_EQ(c->refCounter, 0);
    EXPECT_EQ(group->conList->Count(), 0);

    ConstraintAssign(c, group);
    EXPECT_EQ(BodyClear(group), 0);
    EXPECT_EQ(c->refCounter, 0);
    EXPECT_EQ(a->IsActive(), 0);

    // An indexed body is a group too.
    TAdvBodyRef indexed = AdvBodyCreate();
    EXPECT_EQ(BodySetName(indexed, "car"), 0);
    EXPECT_EQ(indexed->GetName(), "car");
}

TEST_F(ApiTest, RigForms)
{
    TImageRef image = SmallImage();
    TMassRef a = MassCreate(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = MassCreate(10.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TConstraintRef c = ConstraintCreate(a, b, 0.0f, 1.0f);
    TRigRef rig = RigCreate(image, a, c, 10.0f);
    ASSERT_NE(rig, nullptr);
    EXPECT_EQ(RigGetImage(rig), image);
    EXPECT_EQ(RigGetMass(rig), a);
    EXPECT_EQ(RigGetConstraint(rig), c);
    EXPECT_EQ(RigGetAngle(rig), 10.0f);
    EXPECT_EQ(RigGetName(rig), "Rig");

    EXPECT_EQ(RigSetName(rig, "tyre"), 0);
    EXPECT_EQ(RigGetName(rig), "tyre");
    EXPECT_EQ(RigSetImage(rig, nullptr), 0);
    EXPECT_EQ(RigGetImage(rig), nullptr);
    EXPECT_EQ(RigSetMass(rig, b), 0);
    EXPECT_EQ(RigGetMass(rig), b);
    EXPECT_EQ(RigSetConstraint(rig, nullptr), 0);
    EXPECT_EQ(RigGetConstraint(rig), nullptr);
    EXPECT_EQ(RigSetAngle(rig, 15.0f), 0);
    EXPECT_EQ(RigGetAngle(rig), 15.0f);
    EXPECT_EQ(RigSetScale(rig, 2.0f, 3.0f), 0);
    float sx = 0.0f, sy = 0.0f;
    EXPECT_EQ(RigGetScale(rig, sx, sy), 0);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 3.0f);
    EXPECT_EQ(RigSetColor(rig, 10, 20, 300), 0);
    int r = 0, g = 0, bl = 0;
    EXPECT_EQ(RigGetColor(rig, r, g, bl), 0);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(bl, 255);
    EXPECT_EQ(RigSetAlpha(rig, 0.5f), 0);
    EXPECT_EQ(RigGetAlpha(rig), 0.5f);
    EXPECT_EQ(RigSetBlend(rig, 3), 0);
    EXPECT_EQ(RigGetBlend(rig), 3);
    RigSetImage(rig, image);
    EXPECT_EQ(RigDraw(rig), 0);
}

TEST_F(ApiTest, ZoneForms)
{
    TZoneRef z = ZoneCreate({0.0f, 0.0f, 20.0f, 0.0f, 20.0f, 10.0f, 0.0f, 10.0f}, TZone::FILL, 0.5f, 4, 3);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->GetStyle(), TZone::FILL);
    EXPECT_EQ(ZoneGetColGroup(z), 4);
    EXPECT_EQ(ZoneSetFriction(z, 2.0f), 0);
    EXPECT_EQ(z->GetFriction(), 1.0f);
    EXPECT_EQ(ZonePosition(z, 5.0f, 6.0f), 0);
    EXPECT_EQ(ZoneMove(z, 1.0f, 2.0f), 0);
    EXPECT_EQ(ZoneGetPositionX(z), 6.0f);
    EXPECT_EQ(ZoneGetPositionY(z), 8.0f);
    EXPECT_EQ(ZoneRotate(z, 90.0f), 0);
    EXPECT_EQ(ZoneTurn(z, 90.0f), 0);
    EXPECT_EQ(z->GetRotation(), 180.0f);
    std::vector<float> area = ZoneGetArea(z);
    EXPECT_EQ(area, z->GetArea());
    ASSERT_EQ(area.size(), 8u);
    EXPECT_NEAR(area[2], -20.0f, 1e-4f); // (20, 0) half a turn round
    EXPECT_EQ(ZoneCalcQuadTree(z, 2), 0);
    EXPECT_EQ(z->GetQTLevel(), 2);
    EXPECT_EQ(ZoneSetColGroup(z, 9), 0);
    EXPECT_EQ(ZoneGetColGroup(z), 9);
    TImageRef image = SmallImage();
    EXPECT_EQ(ZoneImageSet(z, image), 0);
    EXPECT_EQ(z->ImageGet(), image);
    EXPECT_EQ(ZoneDraw(z), 0);
    EXPECT_EQ(ZoneDrawQuadTree(z, 1), 0);

    int calls = 0;
    EXPECT_EQ(ZoneOverrideCollision(z,
                                    [&calls](const TZoneRef&, const TMassRef&, float, float, float) {
                                        ++calls;
                                        return 7;
                                    }),
              0);
    TMassRef inside = MassCreate(-4.0f, 3.0f, 1.0f, 1.0f, 0.0f, 9);
    z->Collide(*inside);
    EXPECT_EQ(calls, 1);

    z->Save(Path("box.rvz"), 0, 1);
    TZoneRef loaded = ZoneLoad(Path("box.rvz"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->VertCount(), 4);
    EXPECT_EQ(ZoneLoad(Path("missing.rvz")), nullptr);

    const int registered = zoneList->Count();
    EXPECT_EQ(ZoneFree(z), 0);
    EXPECT_EQ(zoneList->Count(), registered - 1);
}

TEST_F(ApiTest, ColEventForms)
{
    TMassRef a = MassCreate(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
    TMassRef b = MassCreate(1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
    TColEventRef e = ColEventCreate(a, b, 1.0f, 2.0f, 3.0f);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(ColEventGetID(e), TColEvent::MASS_MASS);
    EXPECT_EQ(ColEventGetMass1(e), a);
    EXPECT_EQ(ColEventGetMass2(e), b);
    EXPECT_EQ(ColEventGetZone(e), nullptr);
    EXPECT_EQ(ColEventGetX(e), 1.0f);
    EXPECT_EQ(ColEventGetY(e), 2.0f);
    EXPECT_EQ(ColEventGetForce(e), 3.0f);

    EXPECT_EQ(ColEventPost(e, TColEvent::MODE_UPDATE), 0);
    EXPECT_EQ(ColEventPeek(), e);
    EXPECT_EQ(ColEventSeek(b, a), e);
    EXPECT_EQ(ColEventSetMode(TColEvent::MODE_REPLACE), 0);
    EXPECT_EQ(TColEvent::GetMode(), TColEvent::MODE_REPLACE);
    EXPECT_EQ(ColEventEmit(ColEventCreate(a, b, 5.0f, 6.0f, 4.0f)), 0); // replaces the pair's force
    EXPECT_EQ(e->GetForce(), 4.0f);
    EXPECT_EQ(e->GetX(), 5.0f);
    EXPECT_EQ(ColEventPoll(), e);
    EXPECT_EQ(ColEventGetCurrent(), e);
    EXPECT_EQ(ColEventPoll(), nullptr);

    TZoneRef z = ZoneCreate({0.0f, 0.0f, 10.0f, 0.0f}, TZone::LINE, 0.0f, 1, 1);
    TColEventRef withZone = ColEventCreate(a, z, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(ColEventGetID(withZone), TColEvent::MASS_ZONE);
    EXPECT_EQ(ColEventGetZone(withZone), z);
    ColEventPost(withZone, TColEvent::MODE_UPDATE);
    EXPECT_EQ(ColEventFlush(), 0);
    EXPECT_EQ(ColEventPeek(), nullptr);
}

TEST_F(ApiTest, AdvBodyWholeBodyForms)
{
    TAdvBodyRef body = AdvBodyCreate();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(AdvBodyMassAdd(body, 100.0f, 100.0f, 1.0f, 2.0f, 0.0f, 1), 0);
    EXPECT_EQ(AdvBodyMassAdd(body, 110.0f, 100.0f, 1.0f, 2.0f, 0.0f, 1), 1);
    EXPECT_EQ(AdvBodyConAdd(body, 0, 1, -1.0f, 1.0f), 0);
    EXPECT_EQ(AdvBodyActivate(body), 0);
    EXPECT_EQ(body->MassIsActive(0), 1);

    EXPECT_EQ(AdvBodyMove(body, 1.0f, 0.0f), 0);
    EXPECT_EQ(body->MassGetVX(1), 1.0f);
    EXPECT_EQ(AdvBodyTranslate(body, 0.0f, 5.0f), 0);
    EXPECT_EQ(AdvBodyPosition(body, 200.0f, 300.0f), 0);
    float x = 0.0f, y = 0.0f;
    EXPECT_EQ(AdvBodyGetPosition(body, x, y), 0);
    EXPECT_EQ(x, 200.0f);
    EXPECT_EQ(y, 300.0f);
    EXPECT_EQ(AdvBodyGetX(body), 200.0f);
    EXPECT_EQ(AdvBodyGetY(body), 300.0f);
    EXPECT_EQ(AdvBodyRotate(body, 90.0f), 0);
    EXPECT_NEAR(AdvBodyGetRotation(body), 90.0f, 1e-3f);
    EXPECT_EQ(AdvBodyTurn(body, -90.0f), 0);
    EXPECT_NEAR(AdvBodyGetRotation(body), 0.0f, 1e-3f);
    EXPECT_EQ(AdvBodySpin(body, 10.0f), 0);
    EXPECT_GT(body->MassGetVelocity(1), 0.0f); // a spin leaves the masses turning
    EXPECT_EQ(AdvBodyDraw(body), 0);

    // Pressed against the top bound, overlapping a mass of a second body and crossing a zone.
    TAdvBodyRef other = AdvBodyCreate();
    AdvBodyMassAdd(other, 101.0f, 5.0f, 1.0f, 2.0f, 0.0f, 2);
    AdvBodyMassAdd(other, 121.0f, 5.0f, 1.0f, 2.0f, 0.0f, 2);
    AdvBodyConAdd(other, 0, 1, -1.0f, 1.0f);
    AdvBodyActivate(other);
    AdvBodyRotate(body, 0.0f);
    AdvBodyPosition(body, 100.0f, 1.0f);
    TZoneRef zone = ZoneCreate({111.0f, -10.0f, 111.0f, 30.0f}, TZone::LINE, 0.0f, 3, 3);
    PhysicsUpdate();
    TListRef<TColEventRef> bounds = AdvBodyCollideBounds(body);
    ASSERT_NE(bounds, nullptr);
    EXPECT_EQ(bounds->Count(), body->CollideBounds()->Count());
    TListRef<TColEventRef> pairs = AdvBodyCollideAdvBody(body, other);
    ASSERT_NE(pairs, nullptr);
    EXPECT_EQ(pairs->Count(), body->CollideAdvBody(other)->Count());
    TListRef<TColEventRef> withZone = AdvBodyCollideZone(body, zone);
    ASSERT_NE(withZone, nullptr);
    EXPECT_EQ(withZone->Count(), body->CollideZone(zone)->Count());

    EXPECT_EQ(AdvBodyDeActivate(body), 0);
    EXPECT_EQ(body->MassIsActive(0), 0);

    // Files and copies.
    TAdvBodyRef copy = AdvBodyCopy(body);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->MassGet(0), body->MassGet(0));
    EXPECT_EQ(copy->MassMaxIndex(), 1);
    EXPECT_EQ(AdvBodySave(body, Path("pair"), 0, 1), 0);
    TAdvBodyRef loaded = AdvBodyLoad(Path("pair.rvb"), 1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->MassMaxIndex(), 1);
    EXPECT_EQ(loaded->MassIsActive(0), 1);
    EXPECT_EQ(AdvBodyLoad(Path("pair"), 0), nullptr); // opened exactly as given

    body->MassRemove(0);
    EXPECT_EQ(AdvBodyCleanIndex(body), 0);
    EXPECT_EQ(body->MassMaxIndex(), 0);
}

TEST_F(ApiTest, AdvBodyMassForms)
{
    TAdvBodyRef body = AdvBodyCreate();
    EXPECT_EQ(AdvBodyMassAdd(body, 1.0f, 2.0f, 3.0f, 4.0f, 0.5f, 6), 0);
    EXPECT_EQ(AdvBodyMassAdd(body, 10.0f, 20.0f, 1.0f, 1.0f, 0.0f, 1), 1);
    EXPECT_EQ(AdvBodyMassMaxIndex(body), 1);
    EXPECT_EQ(AdvBodyMassExists(body, 1), 1);
    EXPECT_EQ(AdvBodyMassExists(body, 2), 0);
    EXPECT_EQ(AdvBodyMassGet(body, 1), body->mArray[1]);
    EXPECT_EQ(AdvBodyMassGetMass(body, 0), 3.0f);
    EXPECT_EQ(AdvBodyMassGetRadius(body, 0), 4.0f);
    EXPECT_EQ(AdvBodyMassGetFriction(body, 0), 0.5f);
    EXPECT_EQ(AdvBodyMassGetColGroup(body, 0), 6);

    EXPECT_EQ(AdvBodyMassSetName(body, 0, "hub"), 0);
    EXPECT_EQ(AdvBodyMassGetName(body, 0), "hub");
    EXPECT_EQ(AdvBodyMassMove(body, 0, 1.0f, 2.0f), 0);
    EXPECT_EQ(AdvBodyMassGetVelocityX(body, 0), 1.0f);
    EXPECT_EQ(AdvBodyMassGetVelocityY(body, 0), 2.0f);
    EXPECT_EQ(AdvBodyMassGetVX(body, 0), 1.0f);
    EXPECT_EQ(AdvBodyMassGetVY(body, 0), 2.0f);
    EXPECT_FLOAT_EQ(AdvBodyMassGetVelocity(body, 0), std::sqrt(5.0f));
    EXPECT_EQ(AdvBodyMassTranslate(body, 0, 10.0f, 10.0f), 0);
    EXPECT_EQ(AdvBodyMassGetPositionX(body, 0), 12.0f);
    EXPECT_EQ(AdvBodyMassGetPositionY(body, 0), 14.0f);
    EXPECT_EQ(AdvBodyMassPosition(body, 0, 30.0f, 40.0f), 0);
    float x = 0.0f, y = 0.0f;
    EXPECT_EQ(AdvBodyMassGetPosition(body, 0, x, y), 0);
    EXPECT_EQ(x, 30.0f);
    EXPECT_EQ(y, 40.0f);
    EXPECT_EQ(AdvBodyMassGetX(body, 0), 30.0f);
    EXPECT_EQ(AdvBodyMassGetY(body, 0), 40.0f);
    EXPECT_EQ(AdvBodyMassSetVelocity(body, 0, 2.0f, 3.0f), 0);
    EXPECT_EQ(AdvBodyMassAddVelocity(body, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(AdvBodyMassGetVX(body, 0), 3.0f);
    EXPECT_EQ(AdvBodyMassGetVY(body, 0), 4.0f);
    EXPECT_EQ(AdvBodyMassSetMass(body, 0, 8.0f), 0);
    EXPECT_EQ(AdvBodyMassGetMass(body, 0), 8.0f);
    EXPECT_EQ(AdvBodyMassSetRadius(body, 0, 9.0f), 0);
    EXPECT_EQ(AdvBodyMassGetRadius(body, 0), 9.0f);
    EXPECT_EQ(AdvBodyMassSetFriction(body, 0, 0.25f), 0);
    EXPECT_EQ(AdvBodyMassGetFriction(body, 0), 0.25f);
    EXPECT_EQ(AdvBodyMassSetColGroup(body, 0, 2), 0);
    EXPECT_EQ(AdvBodyMassGetColGroup(body, 0), 2);
    EXPECT_EQ(AdvBodyMassFreeze(body, 0), 0);
    EXPECT_EQ(AdvBodyMassIsFrozen(body, 0), 1);
    EXPECT_EQ(AdvBodyMassThaw(body, 0), 0);
    EXPECT_EQ(AdvBodyMassIsFrozen(body, 0), 0);
    EXPECT_EQ(AdvBodyMassIsActive(body, 0), 0);
    EXPECT_EQ(AdvBodyMassDraw(body, 0), 0);
    EXPECT_EQ(AdvBodyMassDrawAll(body), 0);

    TMassRef first = body->MassGet(0);
    EXPECT_EQ(AdvBodyMassSwapIndex(body, 0, 1), 0);
    EXPECT_EQ(body->MassGet(1), first);
    EXPECT_EQ(AdvBodyMassRemove(body, 0), 0);
    EXPECT_EQ(body->MassExists(0), 0);
    EXPECT_EQ(AdvBodyMassCleanIndex(body), 0);
    EXPECT_EQ(body->MassGet(0), first);
    EXPECT_EQ(body->MassMaxIndex(), 0);
}

TEST_F(ApiTest, AdvBodyConstraintForms)
{
    TAdvBodyRef body = AdvBodyCreate();
    AdvBodyMassAdd(body, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
    AdvBodyMassAdd(body, 3.0f, 4.0f, 1.0f, 1.0f, 0.0f, 1);
    AdvBodyMassAdd(body, 0.0f, 10.0f, 1.0f, 1.0f, 0.0f, 1);
    EXPECT_EQ(AdvBodyConAdd(body, 1, 0, 0.0f, 0.5f), 0);
    EXPECT_EQ(AdvBodyConAdd(body, 1, 1, 0.0f, 0.5f), -1); // one mass twice
    EXPECT_EQ(AdvBodyConAddAll(body, 0.25f), 0);          // (0,1), (0,2), (1,2)
    EXPECT_EQ(AdvBodyConMaxIndex(body), 3);
    EXPECT_EQ(AdvBodyConExists(body, 3), 1);
    EXPECT_EQ(AdvBodyConGet(body, 0), body->cArray[0]);
    EXPECT_EQ(AdvBodyConGetMass1(body, 0), 1);
    EXPECT_EQ(AdvBodyConGetMass2(body, 0), 0);
    EXPECT_FLOAT_EQ(AdvBodyConGetRestLength(body, 0), 5.0f);
    EXPECT_FLOAT_EQ(AdvBodyConGetLength(body, 0), 5.0f);
    EXPECT_EQ(AdvBodyConGetStiffness(body, 0), 0.5f);
    EXPECT_FLOAT_EQ(AdvBodyConGetAngle(body, 0), Atan2Deg(-4.0f, -3.0f));
    EXPECT_EQ(AdvBodyConSetName(body, 0, "strut"), 0);
    EXPECT_EQ(AdvBodyConGetName(body, 0), "strut");
    EXPECT_EQ(AdvBodyConSetRestLength(body, 0, 2.5f), 0);
    EXPECT_FLOAT_EQ(AdvBodyConGetStress(body, 0), 2.0f);
    EXPECT_EQ(AdvBodyConSetStiffness(body, 0, 0.75f), 0);
    EXPECT_EQ(AdvBodyConGetStiffness(body, 0), 0.75f);

    EXPECT_EQ(AdvBodyConAssign(body, 0), 0);
    EXPECT_EQ(body->MassIsActive(1), 1);
    EXPECT_EQ(AdvBodyConFree(body, 0), 0);
    EXPECT_EQ(body->MassIsActive(1), 0);
    EXPECT_EQ(AdvBodyConDraw(body, 0), 0);
    EXPECT_EQ(AdvBodyConDrawAll(body), 0);

    TConstraintRef first = body->ConGet(0);
    EXPECT_EQ(AdvBodyConSwapIndex(body, 0, 3), 0);
    EXPECT_EQ(body->ConGet(3), first);
    EXPECT_EQ(AdvBodyConRemove(body, 0), 0);
    EXPECT_EQ(body->ConExists(0), 0);
    EXPECT_EQ(AdvBodyConCleanIndex(body), 0);
    EXPECT_EQ(body->ConMaxIndex(), 2);
    EXPECT_EQ(body->ConGet(2), first);
}

TEST_F(ApiTest, AdvBodyRigAndImageForms)
{
    TAdvBodyRef body = AdvBodyCreate();
    AdvBodyMassAdd(body, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
    AdvBodyMassAdd(body, 10.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
    AdvBodyConAdd(body, 0, 1, -1.0f, 1.0f);

    // The three sources of an image: an object, a PNG file and a stream at PNG data.
    TImageRef image = SmallImage();
    ASSERT_EQ(SavePixmapPNG(*image->pixmaps[0], Path("dot.png"), 5), 1);
    TMemoryStream png;
    ASSERT_EQ(SavePixmapPNG(*image->pixmaps[0], png, 5), 1);
    png.Seek(0);
    EXPECT_EQ(AdvBodyImageAdd(body, image), 0);
    EXPECT_EQ(AdvBodyImageAdd(body, Path("dot.png")), 1);
    EXPECT_EQ(AdvBodyImageAdd(body, png), 2);
    EXPECT_EQ(AdvBodyImageAdd(body, Path("missing.png")), -1);
    EXPECT_EQ(AdvBodyImageMaxIndex(body), 2);
    EXPECT_EQ(AdvBodyImageExists(body, 2), 1);
    EXPECT_EQ(AdvBodyImageGet(body, 0), image);

    EXPECT_EQ(AdvBodyRigAdd(body, 0, 0, 0, 5.0f), 0);
    EXPECT_EQ(AdvBodyRigAdd(body, 1, 1, -1, 0.0f), 1);
    EXPECT_EQ(AdvBodyRigAdd(body, 7, 0, -1, 0.0f), -1); // no such image
    EXPECT_EQ(AdvBodyRigMaxIndex(body), 1);
    EXPECT_EQ(AdvBodyRigExists(body, 1), 1);
    EXPECT_EQ(AdvBodyRigGet(body, 0), body->rArray[0]);
    EXPECT_EQ(AdvBodyRigGetImage(body, 1), 1);
    EXPECT_EQ(AdvBodyRigGetMass(body, 1), 1);
    EXPECT_EQ(AdvBodyRigGetConstraint(body, 1), -1);
    EXPECT_EQ(AdvBodyRigGetConstraint(body, 0), 0);
    EXPECT_EQ(AdvBodyRigGetAngle(body, 0), 5.0f);

    EXPECT_EQ(AdvBodyRigSetName(body, 0, "wheel"), 0);
    EXPECT_EQ(AdvBodyRigGetName(body, 0), "wheel");
    EXPECT_EQ(AdvBodyRigSetImage(body, 0, 2), 0);
    EXPECT_EQ(AdvBodyRigGetImage(body, 0), 2);
    EXPECT_EQ(AdvBodyRigSetMass(body, 0, 1), 0);
    EXPECT_EQ(AdvBodyRigGetMass(body, 0), 1);
    EXPECT_EQ(AdvBodyRigSetConstraint(body, 0, -1), 0);
    EXPECT_EQ(AdvBodyRigGetConstraint(body, 0), -1);
    EXPECT_EQ(AdvBodyRigSetAngle(body, 0, 45.0f), 0);
    EXPECT_EQ(AdvBodyRigGetAngle(body, 0), 45.0f);
    EXPECT_EQ(AdvBodyRigSetScale(body, 0, 2.0f, 0.5f), 0);
    float sx = 0.0f, sy = 0.0f;
    EXPECT_EQ(AdvBodyRigGetScale(body, 0, sx, sy), 0);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 0.5f);
    EXPECT_EQ(AdvBodyRigSetColor(body, 0, 1, 2, 3), 0);
    int r = 0, g = 0, b = 0;
    EXPECT_EQ(AdvBodyRigGetColor(body, 0, r, g, b), 0);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(AdvBodyRigSetAlpha(body, 0, 0.25f), 0);
    EXPECT_EQ(AdvBodyRigGetAlpha(body, 0), 0.25f);
    EXPECT_EQ(AdvBodyRigSetBlend(body, 0, 4), 0);
    EXPECT_EQ(AdvBodyRigGetBlend(body, 0), 4);
    EXPECT_EQ(AdvBodyRigDraw(body, 0), 0);

    TRigRef first = body->RigGet(0);
    EXPECT_EQ(AdvBodyRigSwapIndex(body, 0, 1), 0);
    EXPECT_EQ(body->RigGet(1), first);
    EXPECT_EQ(AdvBodyRigRemove(body, 0), 0);
    EXPECT_EQ(AdvBodyRigCleanIndex(body), 0);
    EXPECT_EQ(body->RigMaxIndex(), 0);
    EXPECT_EQ(body->RigGet(0), first);

    // Replacing re-points the rigs that drew the old image; each source once.
    TImageRef fresh = SmallImage();
    EXPECT_EQ(AdvBodyImageReplace(body, 2, fresh), 1);
    EXPECT_EQ(first->GetImage(), fresh);
    EXPECT_EQ(AdvBodyImageReplace(body, 1, Path("dot.png")), 1);
    png.Seek(0);
    EXPECT_EQ(AdvBodyImageReplace(body, 0, png), 1);
    EXPECT_EQ(AdvBodyImageReplace(body, 0, Path("missing.png")), 0);
    EXPECT_EQ(AdvBodyImageSwapIndex(body, 0, 2), 0);
    EXPECT_EQ(body->ImageGet(0), fresh);
    EXPECT_EQ(AdvBodyImageRemove(body, 0), 0); // takes the rig drawing it along
    EXPECT_EQ(body->RigExists(0), 0);
    EXPECT_EQ(AdvBodyImageCleanIndex(body), 0);
    EXPECT_EQ(body->ImageMaxIndex(), 1);
}
