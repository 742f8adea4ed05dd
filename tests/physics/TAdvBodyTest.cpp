// tests/physics/TAdvBodyTest.cpp: slot tables of indexed bodies: adding, removal cascades, swapping,
// compacting, slot-translating accessors, neutral results and activation.
#include "physics/TAdvBody.h"

#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"

#include <gtest/gtest.h>

using namespace ravel;

namespace
{

TImageRef SmallImage(std::uint8_t shade)
{
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 1;
    pixmap->height = 1;
    pixmap->format = PF_RGBA8888;
    pixmap->pixels.assign(4, shade);
    return TImage::FromPixmap(pixmap, 0);
}

class AdvBodyTest : public ::testing::Test
{
  protected:
    void SetUp() override { TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1); }
    void TearDown() override { TPhysics::Free(); }

    // n masses along the x axis, 10 units apart.
    static void AddRow(TAdvBody& body, int n)
    {
        for (int i = 0; i < n; ++i)
            body.MassAdd(10.0f * static_cast<float>(i), 0.0f, 1.0f, 1.0f, 0.5f, 0);
    }
};

} // namespace

TEST_F(AdvBodyTest, AddingHandsOutSlotsAndDoublesTheCapacity)
{
    TAdvBody body;
    EXPECT_EQ(body.MassMaxIndex(), -1);
    EXPECT_EQ(body.mArray.size(), 0u);
    EXPECT_EQ(body.MassAdd(0, 0, 1, 1, 0, 0), 0);
    EXPECT_EQ(body.mArray.size(), 2u);
    EXPECT_EQ(body.MassAdd(1, 0, 1, 1, 0, 0), 1);
    EXPECT_EQ(body.mArray.size(), 2u);
    EXPECT_EQ(body.MassAdd(2, 0, 1, 1, 0, 0), 2);
    EXPECT_EQ(body.mArray.size(), 6u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(body.MassGet(i)->index, i);
    EXPECT_EQ(body.MassGet(1)->GetName(), "Mass");

    EXPECT_EQ(body.ConAdd(1, 1, 0, 1), -1);
    EXPECT_EQ(body.ConAdd(0, 7, 0, 1), -1);
    EXPECT_EQ(body.ConAdd(0, 2, 0, 1), 0);
    EXPECT_FLOAT_EQ(body.ConGetRestLength(0), 2.0f);
    EXPECT_EQ(body.ConGet(0)->index, 0);
    body.MassRemove(1);
    EXPECT_EQ(body.ConAdd(0, 1, 0, 1), -1);
    EXPECT_EQ(body.ConMaxIndex(), 0);

    EXPECT_EQ(body.ImageAdd(TImageRef()), -1);
    EXPECT_EQ(body.ImageAdd(std::string("/no/such/file.png")), -1);
    EXPECT_EQ(body.ImageMaxIndex(), -1);
    EXPECT_EQ(body.ImageAdd(SmallImage(1)), 0);
    EXPECT_EQ(body.RigAdd(0, 1, -1, 0), -1); // empty mass slot
    EXPECT_EQ(body.RigAdd(1, 0, -1, 0), -1); // no image slot 1
    EXPECT_EQ(body.RigAdd(0, 0, -5, 0), 0);
    EXPECT_EQ(body.RigGet(0)->GetConstraint(), nullptr);
}

TEST_F(AdvBodyTest, ConAddAllConnectsEveryLivePairInOrder)
{
    TAdvBody body;
    AddRow(body, 4);
    body.MassRemove(2);
    body.ConAddAll(0.5f);
    const int pairs[][2] = {{0, 1}, {0, 3}, {1, 3}};
    ASSERT_EQ(body.ConMaxIndex(), 2);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(body.ConGetMass1(c), pairs[c][0]);
        EXPECT_EQ(body.ConGetMass2(c), pairs[c][1]);
        EXPECT_FLOAT_EQ(body.ConGetRestLength(c), 10.0f * static_cast<float>(pairs[c][1] - pairs[c][0]));
        EXPECT_EQ(body.ConGetStiffness(c), 0.5f);
    }
}

TEST_F(AdvBodyTest, MassRemoveTakesItsRigsAndConstraintsAndNeverReusesTheSlot)
{
    TAdvBody body;
    AddRow(body, 5);
    body.ImageAdd(SmallImage(1));
    body.ConAdd(0, 3, 0, 1);  // c0 uses mass 3
    body.ConAdd(1, 2, 0, 1);  // c1 does not
    body.ConAdd(3, 4, 0, 1);  // c2 uses mass 3
    body.RigAdd(0, 3, -1, 0); // r0 on mass 3
    body.RigAdd(0, 1, 2, 0);  // r1 turned by c2
    body.RigAdd(0, 2, 1, 0);  // r2 unrelated
    body.Activate();
    TMassRef m3 = body.MassGet(3);
    ASSERT_EQ(m3->IsActive(), 1);

    body.MassRemove(3);
    EXPECT_EQ(body.MassExists(3), 0);
    EXPECT_EQ(body.MassMaxIndex(), 4);
    EXPECT_EQ(body.ConExists(0), 0);
    EXPECT_EQ(body.ConExists(1), 1);
    EXPECT_EQ(body.ConExists(2), 0);
    EXPECT_EQ(body.RigExists(0), 0);
    EXPECT_EQ(body.RigExists(1), 0);
    EXPECT_EQ(body.RigExists(2), 1);
    EXPECT_EQ(m3->IsActive(), 0); // its active constraints were freed
    EXPECT_EQ(body.MassAdd(0, 0, 1, 1, 0, 0), 5);

    body.ImageRemove(0);
    EXPECT_EQ(body.RigExists(2), 0);
    EXPECT_EQ(body.ImageExists(0), 0);
    EXPECT_EQ(body.ImageMaxIndex(), 0);
}

TEST_F(AdvBodyTest, CleanIndexCompactsAndRenumbers)
{
    TAdvBody body;
    AddRow(body, 6);
    body.ConAdd(0, 5, 0, 1);
    body.ConAdd(2, 5, 0, 1);
    for (int s : {1, 3, 4})
        body.MassRemove(s);
    body.ImageAdd(SmallImage(1));
    body.ImageAdd(SmallImage(2));
    body.RigAdd(1, 5, 1, 0);
    body.ImageRemove(0);
    TMassRef m5 = body.MassGet(5);

    body.CleanIndex();
    EXPECT_EQ(body.MassMaxIndex(), 2);
    EXPECT_EQ(body.mArray.size(), 6u); // the capacity is kept
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(body.MassGet(i)->index, i);
    EXPECT_EQ(body.MassGet(2), m5);
    EXPECT_FLOAT_EQ(body.MassGetX(1), 20.0f);
    EXPECT_EQ(body.ConGetMass1(1), 1);
    EXPECT_EQ(body.ConGetMass2(0), 2);
    EXPECT_EQ(body.RigGetMass(0), 2);
    EXPECT_EQ(body.RigGetImage(0), 0);
    EXPECT_EQ(body.RigGetConstraint(0), 1);
    EXPECT_EQ(body.ImageMaxIndex(), 0);
}

TEST_F(AdvBodyTest, SwapOutsideTheCountChangesNothing)
{
    TAdvBody body;
    AddRow(body, 5);
    TMassRef m0 = body.MassGet(0);
    body.MassSwapIndex(0, 7);
    body.MassSwapIndex(-1, 2);
    EXPECT_EQ(body.MassGet(0), m0);
    EXPECT_EQ(m0->index, 0);
    body.MassRemove(4);
    body.MassSwapIndex(0, 4); // with an empty slot
    EXPECT_EQ(body.MassGet(4), m0);
    EXPECT_EQ(m0->index, 4);
    EXPECT_EQ(body.MassExists(0), 0);
}

TEST_F(AdvBodyTest, SlotTranslatingAccessors)
{
    TAdvBody body;
    AddRow(body, 3);
    body.ConAdd(0, 1, 0, 1);
    body.ImageAdd(SmallImage(1));
    body.RigAdd(0, 0, -1, 0);
    EXPECT_EQ(body.RigGetConstraint(0), -1); // live rig without a constraint
    EXPECT_EQ(body.RigGetConstraint(1), 0);  // empty rig slot
    body.RigSetConstraint(0, 0);
    EXPECT_EQ(body.RigGetConstraint(0), 0);
    body.RigSetConstraint(0, -1);
    EXPECT_EQ(body.RigGetConstraint(0), -1);
    body.RigSetMass(0, 2);
    EXPECT_EQ(body.RigGetMass(0), 2);
    body.MassRemove(1);
    body.RigSetMass(0, 1); // empty mass slot: nothing
    EXPECT_EQ(body.RigGetMass(0), 2);
    body.RigGet(0)->SetImage(SmallImage(9)); // an image from outside the table
    EXPECT_EQ(body.RigGetImage(0), -1);
    body.RigSetImage(0, 0);
    EXPECT_EQ(body.RigGetImage(0), 0);
}

TEST_F(AdvBodyTest, ImageReplaceRepointsExactlyTheRigsOfTheOldImage)
{
    TAdvBody body;
    AddRow(body, 1);
    TImageRef first = SmallImage(1), second = SmallImage(2), third = SmallImage(3);
    body.ImageAdd(first);
    body.ImageAdd(second);
    body.RigAdd(0, 0, -1, 0);
    body.RigAdd(1, 0, -1, 0);
    body.RigAdd(0, 0, -1, 0);
    EXPECT_EQ(body.ImageReplace(0, third), 1);
    EXPECT_EQ(body.ImageGet(0), third);
    EXPECT_EQ(body.RigGet(0)->GetImage(), third);
    EXPECT_EQ(body.RigGet(1)->GetImage(), second);
    EXPECT_EQ(body.RigGet(2)->GetImage(), third);
    EXPECT_EQ(body.ImageReplace(0, TImageRef()), 0);
    EXPECT_EQ(body.ImageReplace(0, std::string("/no/such/file.png")), 0);
    EXPECT_EQ(body.ImageReplace(2, first), 0); // beyond the count: refused
    EXPECT_EQ(body.ImageMaxIndex(), 1);
    EXPECT_EQ(body.ImageGet(0), third);
}

TEST_F(AdvBodyTest, EmptyAndOutOfRangeSlotsGiveNeutralResults)
{
    TAdvBody body;
    AddRow(body, 2);
    body.ConAdd(0, 1, 0, 1);
    body.ImageAdd(SmallImage(1));
    body.RigAdd(0, 0, 0, 0);
    body.MassRemove(1); // also empties constraint 0
    body.RigRemove(0);
    for (int slot : {1, -1, 2, 1000000})
    {
        SCOPED_TRACE(slot);
        float x = 7.0f, y = 8.0f;
        int r = 1, g = 2, b = 3;
        EXPECT_EQ(body.MassSetRadius(slot, 5.0f), 0);
        EXPECT_EQ(body.MassGetRadius(slot), 0.0f);
        EXPECT_EQ(body.MassGetName(slot), "");
        EXPECT_EQ(body.MassIsFrozen(slot), 0);
        EXPECT_EQ(body.MassGetPosition(slot, x, y), 0);
        EXPECT_EQ(body.MassGet(slot), nullptr);
        EXPECT_EQ(body.MassExists(slot), 0);
        EXPECT_EQ(body.MassRemove(slot), 0);
        EXPECT_EQ(body.ConGetLength(slot - 1), 0.0f);
        EXPECT_EQ(body.ConGetMass1(slot - 1), 0);
        EXPECT_EQ(body.ConGetName(slot - 1), "");
        EXPECT_EQ(body.RigGetAlpha(slot - 1), 0.0f);
        EXPECT_EQ(body.RigGetColor(slot - 1, r, g, b), 0);
        EXPECT_EQ(body.RigGetScale(slot - 1, x, y), 0);
        EXPECT_EQ(body.RigGetImage(slot - 1), 0);
        EXPECT_EQ(body.ImageGet(slot), nullptr);
        EXPECT_EQ(body.ImageRemove(slot), 0);
        EXPECT_EQ(x, 7.0f);
        EXPECT_EQ(y, 8.0f);
        EXPECT_EQ(r + g + b, 6);
    }
    EXPECT_EQ(body.MassMaxIndex(), 1);
}

TEST_F(AdvBodyTest, ActivationCountsOnceAndSparesUnconnectedMasses)
{
    TAdvBody body;
    AddRow(body, 4);
    body.ConAdd(0, 1, 0, 1);
    body.ConAdd(1, 2, 0, 1);
    body.Activate();
    body.Activate();
    EXPECT_EQ(body.conList->Count(), 2);
    EXPECT_EQ(constraintList->Count(), 2);
    EXPECT_EQ(massList->Count(), 3);
    EXPECT_EQ(body.MassIsActive(3), 0);
    EXPECT_EQ(body.MassIsActive(1), 1);

    body.ConRemove(0); // frees it at once
    EXPECT_EQ(constraintList->Count(), 1);
    EXPECT_EQ(body.MassIsActive(0), 0);
    body.ConAdd(2, 3, 0, 1); // not active until the next Activate
    EXPECT_EQ(body.MassIsActive(3), 0);

    body.DeActivate();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(body.MassIsActive(i), 0) << i;
    EXPECT_EQ(constraintList->Count(), 0);
    EXPECT_EQ(massList->Count(), 0);
    EXPECT_TRUE(body.conList->IsEmpty());
}

TEST_F(AdvBodyTest, ABodyLeftInAReplacedWorldJoinsTheNewOneWhenActivatedAgain)
{
    TAdvBody body;
    AddRow(body, 3);
    body.ConAdd(0, 1, 0, 1);
    body.ConAdd(1, 2, 0, 1);
    body.Activate();
    TPhysics::Create(1000.0f, 1000.0f, 1.0f, 0.0f, 1);
    EXPECT_TRUE(massList->IsEmpty());
    EXPECT_EQ(body.MassIsActive(1), 1) << "still counted by its constraints";

    body.Activate(); // counts nothing twice, but brings the constraints and their masses in
    EXPECT_EQ(constraintList->Count(), 2);
    EXPECT_EQ(massList->Count(), 3);
    TPhysics::Update();
    EXPECT_EQ(body.MassGetY(2), 1.0f) << "simulated by the new world";

    body.DeActivate(); // one release each is all it takes
    EXPECT_TRUE(constraintList->IsEmpty());
    EXPECT_TRUE(massList->IsEmpty());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(body.MassIsActive(i), 0) << i;
}

TEST_F(AdvBodyTest, DestroyingAnActiveBodyTakesItOutOfTheWorld)
{
    {
        auto body = std::make_shared<TAdvBody>();
        AddRow(*body, 3);
        body->ConAddAll(1.0f);
        body->Activate();
        EXPECT_EQ(massList->Count(), 3);
    }
    EXPECT_EQ(massList->Count(), 0);
    EXPECT_EQ(constraintList->Count(), 0);
}
