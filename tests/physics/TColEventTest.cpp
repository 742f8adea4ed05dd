// Tests of the collision-event queue: kinds, merging modes, hooks, polling and lookup.
#include "CoreFixture.h"

#include "physics/TZone.h"

#include <vector>

namespace ravel::test
{
namespace
{

class EventTest : public WorldTest
{
  protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        a = TMass::Create(0, 0, 1, 1, 0, 1);
        b = TMass::Create(1, 0, 1, 1, 0, 2);
        c = TMass::Create(2, 0, 1, 1, 0, 3);
    }
    void TearDown() override
    {
        while (TColEvent::RemoveHook(&Record, &seen) || TColEvent::RemoveHook(&Stop, nullptr) ||
               TColEvent::RemoveHook(&Swap, this))
            ;
        WorldTest::TearDown();
    }

    static TColEventRef Record(int, const TColEventRef& e, void* context)
    {
        static_cast<std::vector<TColEventRef>*>(context)->push_back(e);
        return e;
    }
    static TColEventRef Stop(int, const TColEventRef&, void*) { return nullptr; }
    static TColEventRef Swap(int, const TColEventRef& e, void* context)
    {
        auto* self = static_cast<EventTest*>(context);
        return TColEvent::Create(e->obj1, self->c, 7.0f, 8.0f, 9.0f);
    }

    void Emit(const TMassRef& m, const TObjectRef& o, float x, float force)
    {
        TColEvent::Emit(TColEvent::Create(m, o, x, 0.0f, force));
    }

    TMassRef a, b, c;
    std::vector<TColEventRef> seen;
};

TEST_F(EventTest, KindsFollowTheSecondObject)
{
    EXPECT_EQ(TColEvent::Create(a, b, 0, 0, 0)->GetID(), TColEvent::MASS_MASS);
    EXPECT_EQ(TColEvent::Create(a, world, 0, 0, 0)->GetID(), TColEvent::MASS_BOUNDS);
    EXPECT_EQ(TColEvent::Create(a, nullptr, 0, 0, 0)->GetID(), TColEvent::MASS_CUSTOM);
    EXPECT_EQ(TColEvent::Create(a, std::make_shared<TObject>(), 0, 0, 0)->GetID(), TColEvent::MASS_CUSTOM);
    TColEventRef e = TColEvent::Create(a, b, 1, 2, 3);
    EXPECT_EQ(e->GetMass1(), a);
    EXPECT_EQ(e->GetMass2(), b);
    EXPECT_EQ(e->GetZone(), nullptr);
    EXPECT_EQ(TColEvent::Create(a, world, 0, 0, 0)->GetMass2(), nullptr);
    EXPECT_EQ(TColEvent::Peek(), nullptr) << "Create queues nothing";
}

TEST_F(EventTest, RepeatedPairsMergeByMode)
{
    struct Case
    {
        int mode;
        int queued;
        float force;
    } cases[] = {
        {TColEvent::MODE_UPDATE, 2, 6.0f},
        {TColEvent::MODE_REPLACE, 2, 3.0f},
        {TColEvent::MODE_DISCARD, 0, 0.0f},
        {17, 2, 6.0f}, // unknown modes update
    };
    for (const Case& k : cases)
    {
        TColEvent::Flush();
        TColEvent::SetMode(k.mode);
        Emit(a, b, 1.0f, 1.0f);
        Emit(a, c, 5.0f, 1.0f);
        Emit(b, a, 2.0f, 2.0f); // the same pair, the other way round
        Emit(a, b, 3.0f, 3.0f);
        std::vector<TColEventRef> all = PolledAll();
        ASSERT_EQ(static_cast<int>(all.size()), k.queued) << k.mode;
        if (k.queued)
        {
            EXPECT_EQ(all[0]->obj1, a) << "the first report keeps its objects and place";
            EXPECT_EQ(all[0]->GetForce(), k.force);
            EXPECT_EQ(all[0]->GetX(), 3.0f);
            EXPECT_EQ(all[1]->obj2, c);
        }
    }
}

TEST_F(EventTest, HooksSeeEveryEventAndMayStopOrReplaceIt)
{
    TColEvent::AddHook(&Record, &seen);
    TColEvent::SetMode(TColEvent::MODE_DISCARD);
    Emit(a, b, 1, 1);
    Emit(a, b, 1, 1);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(TColEvent::Peek(), nullptr);

    TColEvent::SetMode(TColEvent::MODE_UPDATE);
    TColEvent::AddHook(&Swap, this);
    Emit(a, b, 1, 1);
    TColEventRef e = TColEvent::Poll();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->obj2, c) << "the replacement is queued";
    EXPECT_EQ(e->GetForce(), 9.0f);
    EXPECT_EQ(TColEvent::Seek(a, b), nullptr);

    TColEvent::AddHook(&Stop, nullptr);
    TColEvent::Flush();
    Emit(a, b, 1, 1);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
    EXPECT_EQ(seen.size(), 4u) << "earlier hooks ran";
    EXPECT_EQ(TColEvent::RemoveHook(&Stop, nullptr), 1);
    EXPECT_EQ(TColEvent::RemoveHook(&Stop, nullptr), 0);
}

TEST_F(EventTest, APolledEventStaysFindableAndMergeableUntilTheFlush)
{
    Emit(a, b, 1.0f, 1.0f);
    TColEventRef e = TColEvent::Poll();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(TColEvent::GetCurrent(), e);
    EXPECT_EQ(TColEvent::Peek(), nullptr);
    EXPECT_EQ(TColEvent::Seek(a, b), e);
    EXPECT_EQ(TColEvent::Seek(b, a), e);
    Emit(b, a, 4.0f, 2.0f);
    EXPECT_EQ(TColEvent::Peek(), nullptr) << "merged into the polled one";
    EXPECT_EQ(e->GetForce(), 3.0f);
    EXPECT_EQ(TColEvent::Poll(), nullptr);
    EXPECT_EQ(TColEvent::GetCurrent(), nullptr);

    TColEvent::Flush();
    EXPECT_EQ(TColEvent::Seek(a, b), nullptr);
    Emit(a, b, 1.0f, 1.0f);
    EXPECT_EQ(e->GetForce(), 3.0f) << "a flushed event is left alone";
}

TEST_F(EventTest, SeekWithoutASecondObjectFindsTheBoundsEvent)
{
    Emit(a, world, 0.0f, 2.0f);
    Emit(a, b, 0.0f, 2.0f);
    TColEventRef e = TColEvent::Seek(a, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetID(), TColEvent::MASS_BOUNDS);
    EXPECT_EQ(TColEvent::Seek(b, nullptr), nullptr);
}

TEST_F(EventTest, ManyPairsInOneStepAreAllKeptInArrivalOrder)
{
    std::vector<TMassRef> masses;
    for (int k = 0; k < 300; ++k)
        masses.push_back(TMass::Create(0, 0, 1, 1, 0, k + 1));
    for (int round = 0; round < 2; ++round)
        for (int k = 0; k + 1 < 300; ++k)
            Emit(masses[k], masses[k + 1], static_cast<float>(k), 1.0f);
    std::vector<TColEventRef> all = PolledAll();
    ASSERT_EQ(all.size(), 299u);
    for (int k = 0; k < 299; ++k)
    {
        EXPECT_EQ(all[k]->obj1, masses[k]);
        EXPECT_EQ(all[k]->GetForce(), 2.0f);
    }
}

// The step records its contacts without events; asking for one by any way gives the same object, into
// which later contacts of the pair merge until the flush.
TEST_F(EventTest, AStepsEventIsTheSameObjectHoweverItIsAskedFor)
{
    TMassRef p = Active(500.0f, 500.0f, 5.0f, 1);
    TMassRef q = Active(506.0f, 500.0f, 5.0f, 2);
    TPhysics::Update();
    TColEventRef e = TColEvent::Seek(q, p);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->obj1, p);
    EXPECT_EQ(e->GetForce(), 4.0f);
    EXPECT_EQ(TColEvent::Peek(), e);
    EXPECT_EQ(TColEvent::Poll(), e);
    EXPECT_EQ(TColEvent::GetCurrent(), e);
    TColEvent::Post(TColEvent::Create(q, p, 1.0f, 2.0f, 3.0f), TColEvent::MODE_UPDATE);
    EXPECT_EQ(TColEvent::Seek(p, q), e);
    EXPECT_EQ(e->GetForce(), 7.0f);
    EXPECT_EQ(e->GetX(), 1.0f);
    TPhysics::Update();
    EXPECT_EQ(e->GetForce(), 7.0f) << "a flushed event is left alone";
    EXPECT_EQ(e->obj2, q);
}

// Objects that only this step's events still name live until the flush, and as long as the program
// holds their events: a mass taken out between the step and Poll, a zone its own response or another
// zone's frees, and the world and its masses replaced before Poll.
TEST_F(EventTest, ObjectsLetGoOfAfterTheirContactsLiveWhileTheirEventsDo)
{
    TMassRef p = Active(500.0f, 500.0f, 5.0f, 1);
    TMassRef q = Active(506.0f, 500.0f, 5.0f, 2);
    std::weak_ptr<TMass> gone = p;
    TPhysics::Update();
    p->SubRef();
    p.reset();
    ASSERT_FALSE(gone.expired());
    TColEventRef e = TColEvent::Poll();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetMass1(), gone.lock());
    EXPECT_EQ(e->GetMass2(), q);
    TPhysics::Update();
    EXPECT_FALSE(gone.expired()) << "the polled event holds it";
    e.reset();
    EXPECT_TRUE(gone.expired());
    q->SubRef();

    // Zone 0 is met by the first mass with the standard response; zone 1, met by the second mass,
    // frees itself and zone 0 in its response. Nothing but the registry holds them.
    TZoneRef z0 = TZone::Create({0.0f, 100.0f, 100.0f, 100.0f}, TZone::LINE, 0.0f, 5, 3);
    TZoneRef z1 = TZone::Create({200.0f, 100.0f, 300.0f, 100.0f}, TZone::LINE, 0.0f, 5, 3);
    TZone* first = z0.get();
    z1->OverrideCollision([first](const TZoneRef& z, const TMassRef&, float, float, float) {
        z->Free();
        first->Free();
        return 0;
    });
    std::weak_ptr<TZone> zone0 = z0, zone1 = z1;
    z0.reset();
    z1.reset();
    TMassRef m0 = Active(50.0f, 105.0f, 10.0f, 6);
    TMassRef m1 = Active(250.0f, 105.0f, 10.0f, 7);
    TPhysics::Update();
    EXPECT_EQ(zoneList->Count(), 0);
    ASSERT_FALSE(zone0.expired());
    ASSERT_FALSE(zone1.expired());
    EXPECT_EQ(TColEvent::Seek(m0, zone0.lock())->GetZone(), zone0.lock());
    EXPECT_EQ(TColEvent::Seek(m1, zone1.lock())->GetID(), TColEvent::MASS_ZONE);
    TColEvent::Flush();
    EXPECT_TRUE(zone0.expired());
    EXPECT_TRUE(zone1.expired());

    // A mass at the left bound touching another; the program drops them and makes a new world.
    TMassRef r = Active(3.0f, 500.0f, 5.0f, 1);
    TMassRef s = Active(9.0f, 500.0f, 5.0f, 2);
    std::weak_ptr<TPhysics> oldWorld = world;
    std::weak_ptr<TMass> r0 = r, s0 = s;
    TPhysics::Update();
    r.reset();
    s.reset();
    m0.reset();
    m1.reset();
    TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
    ASSERT_FALSE(oldWorld.expired() || r0.expired() || s0.expired());
    std::vector<TColEventRef> all = PolledAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]->GetID(), TColEvent::MASS_BOUNDS);
    EXPECT_EQ(all[0]->obj2, oldWorld.lock());
    EXPECT_EQ(all[0]->GetMass1(), r0.lock());
    EXPECT_EQ(all[1]->GetMass2(), s0.lock());
    EXPECT_EQ(TColEvent::Seek(r0.lock(), nullptr), nullptr) << "null stands for the current world";
    TColEvent::Flush();
    all.clear();
    EXPECT_TRUE(oldWorld.expired());
    EXPECT_TRUE(r0.expired());
    EXPECT_TRUE(s0.expired());
}

// A program that edits massList by hand takes masses out where the queue does not see it. An event of
// such a mass, once it is destroyed, names null in its place; an object made later at its address
// starts pairs of its own.
TEST_F(EventTest, AMassDestroyedBehindTheQueuesBackLeavesANullInItsEvent)
{
    TMassRef p = Active(500.0f, 500.0f, 5.0f, 1);
    TMassRef q = Active(506.0f, 500.0f, 5.0f, 2);
    TPhysics::Update();
    p->link.Remove();
    p.reset();
    TMassRef n = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 3); // likely where p was
    Emit(n, q, 0.0f, 1.0f);
    std::vector<TColEventRef> all = PolledAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]->obj1, nullptr);
    EXPECT_EQ(all[0]->obj2, q);
    EXPECT_EQ(all[0]->GetForce(), 4.0f);
    EXPECT_EQ(all[1]->obj1, n);
    EXPECT_EQ(TColEvent::Seek(q, n), all[1]);
}

} // namespace
} // namespace ravel::test
