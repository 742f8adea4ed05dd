// tests/api/ResultRuleTest.cpp: what the forms return: stepping, speeds, slots, the same effect as the
// operations, and neutral results for null objects.
#include "tests/api/ApiFixture.h"

#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"
#include "physics/api/Api.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace ravel;
using ravel::test::ApiTest;

TEST_F(ApiTest, PhysicsUpdateReturnsZeroAfterStepping)
{
    PhysicsCreate(1000.0f, 1000.0f, 0.5f, 0.0f, 2);
    TMassRef m = MassCreate(500.0f, 100.0f, 1.0f, 1.0f, 0.0f, 1);
    m->AddRef();
    // Verlet under gravity g from rest: after n steps y = y0 + g * n (n + 1) / 2.
    for (int n = 1; n <= 10; ++n)
    {
        EXPECT_EQ(PhysicsUpdate(), 0);
        EXPECT_NEAR(MassGetY(m), 100.0f + 0.5f * static_cast<float>(n * (n + 1)) / 2.0f, 1e-3f) << n;
    }
    m->SubRef();
    PhysicsFree();
    EXPECT_EQ(PhysicsUpdate(), 0); // no world: nothing to step
}

TEST_F(ApiTest, VelocityFormsReturnTheSpeed)
{
    struct Case
    {
        float vx, vy, speed;
    };
    const Case cases[] = {{3.0f, 4.0f, 5.0f}, {-5.0f, 12.0f, 13.0f}, {0.0f, -2.0f, 2.0f}, {0.0f, 0.0f, 0.0f}};
    TMassRef m = MassCreate(10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 1);
    TAdvBodyRef body = AdvBodyCreate();
    const int slot = AdvBodyMassAdd(body, 10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 1);
    for (const Case& c : cases)
    {
        MassSetVelocity(m, c.vx, c.vy);
        AdvBodyMassSetVelocity(body, slot, c.vx, c.vy);
        EXPECT_FLOAT_EQ(MassGetVelocity(m), c.speed) << c.vx << ", " << c.vy;
        EXPECT_FLOAT_EQ(AdvBodyMassGetVelocity(body, slot), c.speed) << c.vx << ", " << c.vy;
    }
}

TEST_F(ApiTest, AddersReturnTheSlotsTheMethodsReturn)
{
    // The same edits on two bodies, one through the forms and one through the methods.
    TAdvBodyRef viaForms = AdvBodyCreate();
    TAdvBody viaMethods;
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(AdvBodyMassAdd(viaForms, 10.0f * k, 0.0f, 1.0f, 1.0f, 0.0f, 1),
                  viaMethods.MassAdd(10.0f * k, 0.0f, 1.0f, 1.0f, 0.0f, 1));
    AdvBodyMassRemove(viaForms, 1);
    viaMethods.MassRemove(1);
    EXPECT_EQ(AdvBodyMassAdd(viaForms, 5.0f, 5.0f, 1.0f, 1.0f, 0.0f, 1),
              viaMethods.MassAdd(5.0f, 5.0f, 1.0f, 1.0f, 0.0f, 1)); // removed slots are not reused
    AdvBodyMassCleanIndex(viaForms);
    viaMethods.MassCleanIndex();
    EXPECT_EQ(AdvBodyMassAdd(viaForms, 0.0f, 5.0f, 1.0f, 1.0f, 0.0f, 1),
              viaMethods.MassAdd(0.0f, 5.0f, 1.0f, 1.0f, 0.0f, 1));
    EXPECT_EQ(AdvBodyMassMaxIndex(viaForms), viaMethods.MassMaxIndex());

    // Refused adds give -1 from both.
    EXPECT_EQ(AdvBodyConAdd(viaForms, 0, 0, 0.0f, 1.0f), viaMethods.ConAdd(0, 0, 0.0f, 1.0f));
    EXPECT_EQ(AdvBodyConAdd(viaForms, 0, 2, 0.0f, 1.0f), viaMethods.ConAdd(0, 2, 0.0f, 1.0f));
    EXPECT_EQ(AdvBodyRigAdd(viaForms, 0, 0, -1, 0.0f), viaMethods.RigAdd(0, 0, -1, 0.0f));
    EXPECT_EQ(AdvBodyImageAdd(viaForms, TImageRef()), viaMethods.ImageAdd(TImageRef()));
    EXPECT_EQ(AdvBodyImageAdd(viaForms, SmallImage()), viaMethods.ImageAdd(SmallImage()));
    EXPECT_EQ(AdvBodyRigAdd(viaForms, 0, 0, -1, 0.0f), viaMethods.RigAdd(0, 0, -1, 0.0f));
    EXPECT_EQ(AdvBodyImageReplace(viaForms, 5, SmallImage()), viaMethods.ImageReplace(5, SmallImage()));
    EXPECT_EQ(AdvBodyImageReplace(viaForms, 0, SmallImage()), viaMethods.ImageReplace(0, SmallImage()));
}

namespace
{

// A small jelly through the forms or through the methods; both worlds are then stepped the same way.
std::vector<std::uint32_t> StepJelly(bool forms)
{
    std::vector<std::uint32_t> bits;
    if (forms)
        PhysicsCreate(400.0f, 300.0f, 0.3f, 0.05f, 4);
    else
        TPhysics::Create(400.0f, 300.0f, 0.3f, 0.05f, 4);
    const float xy[][2] = {{100, 100}, {120, 100}, {120, 120}, {100, 120}, {110, 110}};
    {
        TAdvBodyRef body = forms ? AdvBodyCreate() : std::make_shared<TAdvBody>();
        for (const auto& p : xy)
            forms ? AdvBodyMassAdd(body, p[0], p[1], 1.0f, 4.0f, 0.3f, -1)
                  : body->MassAdd(p[0], p[1], 1.0f, 4.0f, 0.3f, -1);
        forms ? AdvBodyConAddAll(body, 0.4f) : body->ConAddAll(0.4f);
        forms ? AdvBodyActivate(body) : body->Activate();
        forms ? AdvBodySpin(body, 20.0f) : body->Spin(20.0f);
        for (int step = 0; step < 200; ++step)
            forms ? PhysicsUpdate() : TPhysics::Update();
        for (int k = 0; k <= body->MassMaxIndex(); ++k)
        {
            bits.push_back(std::bit_cast<std::uint32_t>(body->MassGetX(k)));
            bits.push_back(std::bit_cast<std::uint32_t>(body->MassGetY(k)));
        }
    }
    forms ? PhysicsFree() : TPhysics::Free();
    return bits;
}

} // namespace

TEST_F(ApiTest, FormsHaveTheSameEffectAsTheOperations)
{
    const std::vector<std::uint32_t> viaForms = StepJelly(true);
    const std::vector<std::uint32_t> viaMethods = StepJelly(false);
    ASSERT_EQ(viaForms.size(), 10u);
    EXPECT_EQ(viaForms, viaMethods);
}

TEST_F(ApiTest, NullObjectsGiveNeutralResults)
{
    const TMassRef m;
    const TConstraintRef c;
    const TBodyRef g;
    const TRigRef r;
    const TZoneRef z;
    const TColEventRef e;
    const TAdvBodyRef b;
    TMemoryStream stream;
    float fx = 7.0f, fy = 8.0f;
    int ir = 1, ig = 2, ib = 3;

    const int zeros[] = {MassSetName(m, "x"),
                         MassMove(m, 1, 1),
                         MassTranslate(m, 1, 1),
                         MassPosition(m, 1, 1),
                         MassGetPosition(m, fx, fy),
                         MassSetMass(m, 1),
                         MassSetRadius(m, 1),
                         MassSetFriction(m, 1),
                         MassFreeze(m),
                         MassThaw(m),
                         MassIsFrozen(m),
                         MassSetVelocity(m, 1, 1),
                         MassAddVelocity(m, 1, 1),
                         MassGetColGroup(m),
                         MassSetColGroup(m, 1),
                         MassDraw(m),
                         ConstraintSetName(c, "x"),
                         ConstraintAssign(c, g),
                         ConstraintFree(c, g),
                         ConstraintSetRestLength(c, 1),
                         ConstraintSetStiffness(c, 1),
                         ConstraintDraw(c),
                         BodySetName(g, "x"),
                         BodyClear(g),
                         RigSetName(r, "x"),
                         RigSetImage(r, SmallImage()),
                         RigSetMass(r, m),
                         RigSetConstraint(r, c),
                         RigSetAngle(r, 1),
                         RigSetScale(r, 1, 1),
                         RigGetScale(r, fx, fy),
                         RigSetColor(r, 1, 1, 1),
                         RigGetColor(r, ir, ig, ib),
                         RigSetAlpha(r, 1),
                         RigSetBlend(r, 1),
                         RigGetBlend(r),
                         RigDraw(r),
                         ZoneSetFriction(z, 1),
                         ZonePosition(z, 1, 1),
                         ZoneMove(z, 1, 1),
                         ZoneRotate(z, 1),
                         ZoneTurn(z, 1),
                         ZoneCalcQuadTree(z, 1),
                         ZoneSetColGroup(z, 1),
                         ZoneGetColGroup(z),
                         ZoneFree(z),
                         ZoneImageSet(z, SmallImage()),
                         ZoneDraw(z),
                         ZoneDrawQuadTree(z, 1),
                         ZoneOverrideCollision(z, nullptr),
                         ColEventGetID(e),
                         ColEventEmit(e),
                         ColEventPost(e, 1),
                         AdvBodySave(b, Path("none"), 0, 1),
                         AdvBodyCleanIndex(b),
                         AdvBodyActivate(b),
                         AdvBodyDeActivate(b),
                         AdvBodyDraw(b),
                         AdvBodyMove(b, 1, 1),
                         AdvBodyTranslate(b, 1, 1),
                         AdvBodyPosition(b, 1, 1),
                         AdvBodyGetPosition(b, fx, fy),
                         AdvBodyRotate(b, 1),
                         AdvBodySpin(b, 1),
                         AdvBodyTurn(b, 1),
                         AdvBodyMassRemove(b, 0),
                         AdvBodyMassSwapIndex(b, 0, 1),
                         AdvBodyMassCleanIndex(b),
                         AdvBodyMassExists(b, 0),
                         AdvBodyMassSetName(b, 0, "x"),
                         AdvBodyMassMove(b, 0, 1, 1),
                         AdvBodyMassTranslate(b, 0, 1, 1),
                         AdvBodyMassPosition(b, 0, 1, 1),
                         AdvBodyMassGetPosition(b, 0, fx, fy),
                         AdvBodyMassSetMass(b, 0, 1),
                         AdvBodyMassSetRadius(b, 0, 1),
                         AdvBodyMassSetFriction(b, 0, 1),
                         AdvBodyMassFreeze(b, 0),
                         AdvBodyMassThaw(b, 0),
                         AdvBodyMassIsFrozen(b, 0),
                         AdvBodyMassSetVelocity(b, 0, 1, 1),
                         AdvBodyMassAddVelocity(b, 0, 1, 1),
                         AdvBodyMassGetColGroup(b, 0),
                         AdvBodyMassSetColGroup(b, 0, 1),
                         AdvBodyMassIsActive(b, 0),
                         AdvBodyMassDraw(b, 0),
                         AdvBodyMassDrawAll(b),
                         AdvBodyConAddAll(b, 1),
                         AdvBodyConRemove(b, 0),
                         AdvBodyConSwapIndex(b, 0, 1),
                         AdvBodyConCleanIndex(b),
                         AdvBodyConExists(b, 0),
                         AdvBodyConSetName(b, 0, "x"),
                         AdvBodyConAssign(b, 0),
                         AdvBodyConFree(b, 0),
                         AdvBodyConGetMass1(b, 0),
                         AdvBodyConGetMass2(b, 0),
                         AdvBodyConSetRestLength(b, 0, 1),
                         AdvBodyConSetStiffness(b, 0, 1),
                         AdvBodyConDraw(b, 0),
                         AdvBodyConDrawAll(b),
                         AdvBodyRigRemove(b, 0),
                         AdvBodyRigSwapIndex(b, 0, 1),
                         AdvBodyRigCleanIndex(b),
                         AdvBodyRigExists(b, 0),
                         AdvBodyRigSetName(b, 0, "x"),
                         AdvBodyRigSetImage(b, 0, 0),
                         AdvBodyRigGetImage(b, 0),
                         AdvBodyRigSetMass(b, 0, 0),
                         AdvBodyRigGetMass(b, 0),
                         AdvBodyRigSetConstraint(b, 0, 0),
                         AdvBodyRigGetConstraint(b, 0),
                         AdvBodyRigSetAngle(b, 0, 1),
                         AdvBodyRigSetScale(b, 0, 1, 1),
                         AdvBodyRigGetScale(b, 0, fx, fy),
                         AdvBodyRigSetColor(b, 0, 1, 1, 1),
                         AdvBodyRigGetColor(b, 0, ir, ig, ib),
                         AdvBodyRigSetAlpha(b, 0, 1),
                         AdvBodyRigSetBlend(b, 0, 1),
                         AdvBodyRigGetBlend(b, 0),
                         AdvBodyRigDraw(b, 0),
                         AdvBodyImageRemove(b, 0),
                         AdvBodyImageSwapIndex(b, 0, 1),
                         AdvBodyImageReplace(b, 0, SmallImage()),
                         AdvBodyImageReplace(b, 0, Path("none.png")),
                         AdvBodyImageReplace(b, 0, stream),
                         AdvBodyImageCleanIndex(b),
                         AdvBodyImageExists(b, 0)};
    for (std::size_t k = 0; k < std::size(zeros); ++k)
        EXPECT_EQ(zeros[k], 0) << "int form " << k;
    EXPECT_EQ(fx, 7.0f); // out-parameters left as they were
    EXPECT_EQ(fy, 8.0f);
    EXPECT_EQ(ir, 1);
    EXPECT_EQ(ig, 2);
    EXPECT_EQ(ib, 3);
    EXPECT_FALSE(std::filesystem::exists(Path("none.rvb")));

    const float floats[] = {MassGetPositionX(m),
                            MassGetPositionY(m),
                            MassGetX(m),
                            MassGetY(m),
                            MassGetMass(m),
                            MassGetRadius(m),
                            MassGetFriction(m),
                            MassGetVelocityX(m),
                            MassGetVelocityY(m),
                            MassGetVX(m),
                            MassGetVY(m),
                            MassGetVelocity(m),
                            ConstraintGetRestLength(c),
                            ConstraintGetStiffness(c),
                            ConstraintGetAngle(c),
                            ConstraintGetLength(c),
                            ConstraintGetStress(c),
                            RigGetAngle(r),
                            RigGetAlpha(r),
                            ZoneGetPositionX(z),
                            ZoneGetPositionY(z),
                            ColEventGetX(e),
                            ColEventGetY(e),
                            ColEventGetForce(e),
                            AdvBodyGetX(b),
                            AdvBodyGetY(b),
                            AdvBodyGetRotation(b),
                            AdvBodyMassGetPositionX(b, 0),
                            AdvBodyMassGetPositionY(b, 0),
                            AdvBodyMassGetX(b, 0),
                            AdvBodyMassGetY(b, 0),
                            AdvBodyMassGetMass(b, 0),
                            AdvBodyMassGetRadius(b, 0),
                            AdvBodyMassGetFriction(b, 0),
                            AdvBodyMassGetVelocityX(b, 0),
                            AdvBodyMassGetVelocityY(b, 0),
                            AdvBodyMassGetVX(b, 0),
                            AdvBodyMassGetVY(b, 0),
                            AdvBodyMassGetVelocity(b, 0),
                            AdvBodyConGetRestLength(b, 0),
                            AdvBodyConGetStiffness(b, 0),
                            AdvBodyConGetAngle(b, 0),
                            AdvBodyConGetLength(b, 0),
                            AdvBodyConGetStress(b, 0),
                            AdvBodyRigGetAngle(b, 0),
                            AdvBodyRigGetAlpha(b, 0)};
    for (std::size_t k = 0; k < std::size(floats); ++k)
        EXPECT_EQ(floats[k], 0.0f) << "float form " << k;

    const std::string names[] = {MassGetName(m),         ConstraintGetName(c),     BodyGetName(g),
                                 RigGetName(r),          AdvBodyMassGetName(b, 0), AdvBodyConGetName(b, 0),
                                 AdvBodyRigGetName(b, 0)};
    for (const std::string& n : names)
        EXPECT_EQ(n, "");

    EXPECT_EQ(MassCopy(m), nullptr);
    EXPECT_EQ(ConstraintGetMass1(c), nullptr);
    EXPECT_EQ(ConstraintGetMass2(c), nullptr);
    EXPECT_EQ(BodyGetConstraints(g), nullptr);
    EXPECT_EQ(RigGetImage(r), nullptr);
    EXPECT_EQ(RigGetMass(r), nullptr);
    EXPECT_EQ(RigGetConstraint(r), nullptr);
    EXPECT_TRUE(ZoneGetArea(z).empty());
    EXPECT_EQ(ColEventGetMass1(e), nullptr);
    EXPECT_EQ(ColEventGetMass2(e), nullptr);
    EXPECT_EQ(ColEventGetZone(e), nullptr);
    EXPECT_EQ(AdvBodyCopy(b), nullptr);
    EXPECT_EQ(AdvBodyCollideAdvBody(b, AdvBodyCreate()), nullptr);
    EXPECT_EQ(AdvBodyCollideZone(b, z), nullptr);
    EXPECT_EQ(AdvBodyCollideBounds(b), nullptr);
    EXPECT_EQ(AdvBodyMassGet(b, 0), nullptr);
    EXPECT_EQ(AdvBodyConGet(b, 0), nullptr);
    EXPECT_EQ(AdvBodyRigGet(b, 0), nullptr);
    EXPECT_EQ(AdvBodyImageGet(b, 0), nullptr);

    // No body has no slots: adders fail and the tables end before slot 0.
    const int minusOnes[] = {AdvBodyMassAdd(b, 0, 0, 1, 1, 0, 1),
                             AdvBodyConAdd(b, 0, 1, 0, 1),
                             AdvBodyRigAdd(b, 0, 0, -1, 0),
                             AdvBodyImageAdd(b, SmallImage()),
                             AdvBodyImageAdd(b, Path("none.png")),
                             AdvBodyImageAdd(b, stream),
                             AdvBodyMassMaxIndex(b),
                             AdvBodyConMaxIndex(b),
                             AdvBodyRigMaxIndex(b),
                             AdvBodyImageMaxIndex(b)};
    for (std::size_t k = 0; k < std::size(minusOnes); ++k)
        EXPECT_EQ(minusOnes[k], -1) << "slot form " << k;

    // A real object with a null partner: the group forms of a constraint leave it alone.
    TMassRef a = MassCreate(0, 0, 1, 1, 0, 1);
    TConstraintRef real = ConstraintCreate(a, MassCreate(5, 0, 1, 1, 0, 1), 0, 1);
    EXPECT_EQ(ConstraintAssign(real, g), 0);
    EXPECT_EQ(real->refCounter, 0);
    EXPECT_EQ(ConstraintCreate(a, nullptr, 0, 1), nullptr);
    EXPECT_EQ(ZoneCreate({0, 0, 1}, TZone::LINE, 0, 1, 1), nullptr);
}
