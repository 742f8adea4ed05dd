// Tests of constraints and constraint groups: relaxation, ownership and activity.
#include "CoreFixture.h"

#include "physics/TBody.h"

namespace ravel::test
{
namespace
{

using ConstraintTest = WorldTest;

TEST_F(ConstraintTest, CreateMeasuresAMissingRestLengthAndKeepsStiffnessAsGiven)
{
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = TMass::Create(18.0f, 24.0f, 1.0f, 1.0f, 0.0f, 0);
    TConstraintRef c = TConstraint::Create(a, b, 0.0f, 7.0f);
    EXPECT_EQ(c->GetName(), "Con");
    EXPECT_EQ(c->GetRestLength(), 30.0f);
    EXPECT_EQ(c->GetStiffness(), 7.0f);
    EXPECT_EQ(c->GetMass1(), a);
    EXPECT_EQ(c->GetMass2(), b);
    EXPECT_EQ(TConstraint::Create(a, b, -3.0f, 1.0f)->GetRestLength(), 30.0f);
    EXPECT_EQ(TConstraint::Create(a, b, 12.0f, 1.0f)->GetRestLength(), 12.0f);
    EXPECT_EQ(TConstraint::Create(a, nullptr, 12.0f, 1.0f), nullptr);

    c->SetStiffness(7.0f);
    EXPECT_EQ(c->GetStiffness(), 1.0f);
    c->SetStiffness(-2.0f);
    EXPECT_EQ(c->GetStiffness(), 0.0f);
    c->SetRestLength(0.0f);
    EXPECT_EQ(c->GetRestLength(), 30.0f);
    c->SetRestLength(60.0f);
    EXPECT_EQ(c->GetStress(), 0.5f);
    EXPECT_EQ(c->GetLength(), 30.0f);
}

TEST_F(ConstraintTest, AngleAndStressOfDegenerateSticks)
{
    TMassRef a = TMass::Create(5.0f, 5.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = TMass::Create(5.0f, 9.0f, 1.0f, 1.0f, 0.0f, 0);
    EXPECT_EQ(TConstraint::Create(a, b, 0.0f, 1.0f)->GetAngle(), 90.0f);
    EXPECT_EQ(TConstraint::Create(b, a, 0.0f, 1.0f)->GetAngle(), -90.0f);
    TConstraintRef same = TConstraint::Create(a, a, 0.0f, 1.0f);
    EXPECT_EQ(same->GetRestLength(), 0.0f);
    EXPECT_EQ(same->GetStress(), 0.0f) << "a zero rest length has no finite stress: 0";
    same->Satisfy();
    EXPECT_EQ(a->posX, 5.0f);
}

struct SatisfyCase
{
    const char* what;
    float weightA, weightB;
    bool frozenA, frozenB;
    float stiffness;
    float endA, endB; // x positions after one relaxation; start 0 and 40, rest length 30
};

TEST_F(ConstraintTest, SatisfySplitsTheCorrectionByWeightAndFreezing)
{
    const SatisfyCase cases[] = {
        {"equal halves", 1, 1, false, false, 0.5f, 2.5f, 37.5f},
        {"light first", 1, 3, false, false, 0.4f, 3.0f, 39.0f},
        {"first frozen", 1, 1, true, false, 1.0f, 0.0f, 30.0f},
        {"second frozen", 1, 1, false, true, 1.0f, 10.0f, 40.0f},
        {"both frozen", 1, 1, true, true, 1.0f, 0.0f, 40.0f},
        {"weightless", 0, 0, false, false, 1.0f, 5.0f, 35.0f},
        {"inert", 1, 1, false, false, 0.0f, 0.0f, 40.0f},
    };
    for (const SatisfyCase& c : cases)
    {
        TMassRef a = TMass::Create(0.0f, 0.0f, c.weightA, 1.0f, 0.0f, 0);
        TMassRef b = TMass::Create(40.0f, 0.0f, c.weightB, 1.0f, 0.0f, 0);
        if (c.frozenA)
            a->Freeze();
        if (c.frozenB)
            b->Freeze();
        TConstraintRef k = TConstraint::Create(a, b, 30.0f, c.stiffness);
        k->Satisfy();
        EXPECT_EQ(a->posX, c.endA) << c.what;
        EXPECT_EQ(b->posX, c.endB) << c.what;
        EXPECT_EQ(a->oldPosX, 0.0f) << c.what << ": only positions change";
    }
}

TEST_F(ConstraintTest, AssignAndFreeCountOncePerGroup)
{
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = TMass::Create(10.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TConstraintRef c = TConstraint::Create(a, b, 0.0f, 1.0f);
    TBody g1, g2;
    c->Assign(g1);
    c->Assign(g1);
    EXPECT_EQ(c->refCounter, 1);
    EXPECT_EQ(g1.conList->Count(), 1);
    EXPECT_EQ(a->IsActive(), 1);
    EXPECT_EQ(massList->Count(), 2);
    EXPECT_EQ(massList->First(), a);
    EXPECT_EQ(constraintList->First(), c);

    c->Free(g2); // not listed there: nothing
    EXPECT_EQ(c->refCounter, 1);
    c->Assign(g2);
    c->Free(g1);
    EXPECT_EQ(c->refCounter, 1);
    EXPECT_EQ(a->IsActive(), 1);
    EXPECT_TRUE(g1.conList->IsEmpty());

    a->AddRef(); // a direct owner keeps a in the world after the last group lets go
    c->Free(g2);
    EXPECT_EQ(c->refCounter, 0);
    EXPECT_TRUE(constraintList->IsEmpty());
    EXPECT_EQ(a->IsActive(), 1);
    EXPECT_EQ(b->IsActive(), 0);
    EXPECT_EQ(massList->Count(), 1);
    a->SubRef();
}

TEST_F(ConstraintTest, AGroupGivesItsCountsBackWhenClearedOrDestroyed)
{
    TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef b = TMass::Create(10.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TMassRef d = TMass::Create(20.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
    TConstraintRef ab = TConstraint::Create(a, b, 0.0f, 1.0f);
    TConstraintRef bd = TConstraint::Create(b, d, 0.0f, 1.0f);
    TBody keeper;
    bd->Assign(keeper);
    {
        auto group = std::make_shared<TBody>();
        EXPECT_EQ(group->GetName(), "Body");
        group->Clear(); // empty: nothing
        ab->Assign(*group);
        bd->Assign(*group);
        auto copy = group->GetConstraints();
        copy->AddLast(ab);
        EXPECT_EQ(group->conList->Count(), 2) << "the copy is the caller's";
        EXPECT_EQ(copy->First(), ab);
        EXPECT_EQ(bd->refCounter, 2);
    }
    EXPECT_EQ(ab->refCounter, 0) << "the destroyed group cleared itself";
    EXPECT_EQ(bd->refCounter, 1);
    EXPECT_EQ(a->IsActive(), 0);
    EXPECT_EQ(b->IsActive(), 1);
    EXPECT_EQ(constraintList->Count(), 1);

    keeper.Clear();
    EXPECT_TRUE(keeper.GetConstraints()->IsEmpty());
    EXPECT_TRUE(constraintList->IsEmpty());
    EXPECT_TRUE(massList->IsEmpty());
    bd->Assign(keeper); // assignable again after a clear
    EXPECT_EQ(bd->refCounter, 1);
}

TEST_F(ConstraintTest, AConstraintHeldOnlyByItsGroupSurvivesBeingFreed)
{
    TBody group;
    {
        TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
        TMassRef b = TMass::Create(10.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0);
        TConstraint::Create(a, b, 0.0f, 1.0f)->Assign(group);
    }
    TConstraintRef c = group.conList->First();
    TConstraint* raw = c.get();
    c.reset();
    raw->Free(group); // drops the last references while freeing
    EXPECT_TRUE(group.conList->IsEmpty());
    EXPECT_TRUE(massList->IsEmpty());
}

} // namespace
} // namespace ravel::test
