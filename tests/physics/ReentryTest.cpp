// tests/physics/ReentryTest.cpp: user code inside the step (zone responses and event hooks) that frees,
// removes, adds or re-activates zones, masses, constraints, bodies, hooks or the world itself while the
// step walks them. Meant for the asan preset, where a walk onto freed or recycled memory is reported.
#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "platform/Poison.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace ravel;

namespace
{

class ReentryTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 2);
        TColEvent::SetMode(TColEvent::MODE_UPDATE);
        TColEvent::Flush();
    }
    void TearDown() override
    {
        while (TColEvent::RemoveHook(&RunAction, &action_))
        {
        }
        TColEvent::Flush();
        TPhysics::Free();
    }

    // Three LINE zones side by side along y = 100, each 100 long.
    static std::vector<TZoneRef> ThreeLines()
    {
        std::vector<TZoneRef> zones;
        for (int k = 0; k < 3; ++k)
            zones.push_back(
                TZone::Create({k * 100.0f, 100.0f, k * 100.0f + 100.0f, 100.0f}, TZone::LINE, 0.0f, 1, 3));
        return zones;
    }

    static TMassRef Active(float x, float y, float radius, int group)
    {
        TMassRef m = TMass::Create(x, y, 1.0f, radius, 0.0f, group);
        m->AddRef();
        return m;
    }

    static int ZoneCount() { return zoneList ? zoneList->Count() : -1; }

    // An event hook that runs `action_` and passes the event on.
    static TColEventRef RunAction(int, const TColEventRef& event, void* context)
    {
        auto* action = static_cast<std::function<void(const TColEventRef&)>*>(context);
        if (*action)
            (*action)(event);
        return event;
    }
    void Hook(std::function<void(const TColEventRef&)> action)
    {
        action_ = std::move(action);
        TColEvent::AddHook(&RunAction, &action_);
    }

    std::function<void(const TColEventRef&)> action_;
};

// The report that started this: the first zone's response frees itself and the next zone while one
// mass touches the first zone.
TEST_F(ReentryTest, ResponseFreesItsZoneAndTheNext)
{
    std::vector<TZoneRef> zones = ThreeLines();
    TZone* second = zones[1].get();
    int calls = 0;
    zones[0]->OverrideCollision([&](const TZoneRef& z, const TMassRef&, float, float, float) {
        ++calls;
        z->Free();
        second->Free();
        return 0;
    });
    int thirdCalls = 0;
    zones[2]->OverrideCollision([&](const TZoneRef&, const TMassRef&, float, float, float) {
        ++thirdCalls;
        return 0;
    });
    TMassRef m = Active(50.0f, 105.0f, 10.0f, 2);
    // The zones are held only by the registry from here on, so freeing them destroys them.
    zones[0].reset();
    zones[1].reset();
    EXPECT_EQ(TPhysics::Update(), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(thirdCalls, 0);
    EXPECT_EQ(ZoneCount(), 1);
    EXPECT_EQ(zoneList->First(), zones[2]);
    EXPECT_EQ(TPhysics::Update(), 0);
}

// A response that frees every zone, its own included, leaves nothing for the walk; a zone it
// adds is met by the same walk.
TEST_F(ReentryTest, ResponseFreesEveryZoneOrAddsOne)
{
    std::vector<TZoneRef> zones = ThreeLines();
    std::vector<TZone*> raw;
    for (const TZoneRef& z : zones)
        raw.push_back(z.get());
    int later = 0;
    TZoneRef added;
    auto count = [&](const TZoneRef&, const TMassRef&, float, float, float) {
        ++later;
        return 0;
    };
    zones[0]->OverrideCollision([&](const TZoneRef&, const TMassRef&, float, float, float) {
        added = TZone::Create({0.0f, 100.0f, 100.0f, 100.0f}, TZone::LINE, 0.0f, 1, 3);
        added->OverrideCollision([&](const TZoneRef&, const TMassRef&, float, float, float) {
            ++later;
            for (TZone* z : raw)
                z->Free();
            return 0;
        });
        return 0;
    });
    zones[1]->OverrideCollision(count);
    zones[2]->OverrideCollision(count);
    TMassRef first = Active(50.0f, 105.0f, 10.0f, 2);
    TMassRef second = Active(250.0f, 105.0f, 10.0f, 2); // would touch the third zone
    TPhysics::SetIterations(1);
    zones.clear(); // the registry holds the only references: freeing destroys them
    EXPECT_EQ(TPhysics::Update(), 0);
    EXPECT_EQ(later, 1); // the added zone, once; the freed ones never
    EXPECT_EQ(ZoneCount(), 1);
    EXPECT_EQ(zoneList->First(), added);
}

// A response that installs another response in its own place while it runs.
TEST_F(ReentryTest, ResponseReplacesItself)
{
    TZoneRef zone = ThreeLines()[0];
    std::vector<int> seen;
    std::vector<int> big(64, 7); // a capture too large to be stored inside the function object
    zone->OverrideCollision([&seen, big](const TZoneRef& z, const TMassRef&, float, float, float) {
        z->OverrideCollision([&seen](const TZoneRef&, const TMassRef&, float, float, float) {
            seen.push_back(2);
            return 0;
        });
        seen.push_back(big[63]);
        return 0;
    });
    TMassRef m = Active(50.0f, 105.0f, 10.0f, 2);
    TPhysics::Update();
    EXPECT_EQ(seen, (std::vector<int>{7, 2})); // two passes
}

// Hooks and responses that free the world: the step of that world ends there, and the next world
// steps as usual. Replacing the world ends the old world's step too.
TEST_F(ReentryTest, HookOrResponseFreesOrReplacesTheWorld)
{
    for (int replace = 0; replace < 2; ++replace)
        for (int byZone = 0; byZone < 2; ++byZone)
        {
            SCOPED_TRACE(testing::Message() << "replace " << replace << ", zone " << byZone);
            TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 3);
            int calls = 0;
            auto end = [&] {
                ++calls;
                if (replace)
                    TPhysics::Create(500.0f, 500.0f, 0.0f, 0.0f, 1);
                else
                    TPhysics::Free();
            };
            TZoneRef zone = ThreeLines()[0];
            if (byZone)
                zone->OverrideCollision([&](const TZoneRef&, const TMassRef&, float, float, float) {
                    end();
                    return 0;
                });
            else
                Hook([&](const TColEventRef&) { end(); });
            TMassRef a = Active(50.0f, 105.0f, 10.0f, 2);
            TMassRef b = Active(-5.0f, 500.0f, 10.0f, 3); // at the left bound
            TMassRef c = Active(52.0f, 108.0f, 10.0f, 4); // touching a and the zone
            a.reset();
            b.reset();
            c.reset();
            zone.reset();
            EXPECT_EQ(TPhysics::Update(), 0);
            EXPECT_EQ(calls, 1);
            EXPECT_EQ(world != nullptr, replace == 1);
            TColEvent::RemoveHook(&RunAction, &action_);
            TColEvent::Flush();
        }
    TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
    TMassRef m = Active(500.0f, 500.0f, 10.0f, 2);
    m->SetVelocity(3.0f, 0.0f);
    EXPECT_EQ(TPhysics::Update(), 0);
    EXPECT_EQ(m->GetX(), 503.0f);
}

// An Update called from a hook or a response returns 0 at once: the mass moves one step per frame.
TEST_F(ReentryTest, UpdateFromInsideTheStepDoesNotStep)
{
    TZoneRef zone = ThreeLines()[0];
    std::vector<int> results;
    zone->OverrideCollision([&](const TZoneRef& z, const TMassRef& m, float nx, float ny, float depth) {
        results.push_back(TPhysics::Update());
        return TZone::ColDefault(z, m, nx, ny, depth);
    });
    Hook([&](const TColEventRef&) { results.push_back(TPhysics::Update()); });
    TMassRef m = Active(50.0f, 105.0f, 10.0f, 2);
    m->SetVelocity(1.0f, 0.0f);
    TPhysics::SetIterations(1);
    TPhysics::Update();
    EXPECT_EQ(results, (std::vector<int>{0, 0})); // the response, then the hook on its event
    EXPECT_EQ(m->GetX(), 51.0f);
    EXPECT_EQ(m->GetY(), 110.0f);
}

// Masses collide in pairs and with the bounds; a hook on the first contact takes the visited mass and
// the next one out of the world and drops them, or every mass, or destroys the body that holds them.
// None of them is visited again, the rest of the step goes on, and with the grid on as well as off.
TEST_F(ReentryTest, HookRemovesTheVisitedMassTheNextOrAll)
{
    for (int grid = 0; grid < 2; ++grid)
        for (int what = 0; what < 4; ++what)
        {
            SCOPED_TRACE(testing::Message() << "grid " << grid << ", case " << what);
            TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 2);
            TPhysics::UseShiftedGrid(grid);
            // A row of five overlapping masses in a body, the first two past the left bound, and a
            // lone mass far away that keeps going.
            auto body = std::make_shared<TAdvBody>();
            for (int k = 0; k < 5; ++k)
                body->MassAdd(-4.0f + 15.0f * static_cast<float>(k), 500.0f, 1.0f, 10.0f, 0.0f, 10 + k);
            for (int k = 0; k < 4; ++k)
                body->ConAdd(k, k + 1, 50.0f, 0.0f);
            body->Activate();
            TMassRef lone = Active(800.0f, 800.0f, 10.0f, 2);
            lone->SetVelocity(2.0f, 0.0f);
            std::vector<TMass*> removed;
            int events = 0;
            TColEventRef trigger;
            Hook([&](const TColEventRef& e) {
                ++events;
                if (trigger)
                    return;
                trigger = e;
                if (what == 0) // the visited mass and the next one
                {
                    body->MassRemove(0);
                    body->MassRemove(1);
                }
                else if (what == 1) // every mass
                    for (int k = 0; k < 5; ++k)
                        body->MassRemove(k);
                else if (what == 2) // the body itself
                    body.reset();
                else // every mass leaves and comes back
                {
                    body->DeActivate();
                    body->Activate();
                }
            });
            TPhysics::Update();
            EXPECT_GT(events, 0);
            EXPECT_EQ(lone->GetX(), 802.0f);
            int left = 0;
            for (const TMassRef& m : *massList)
                left += m != lone;
            EXPECT_EQ(left, what == 0 ? 3 : (what == 3 ? 5 : 0));
            // After the contact that the hook handled, no event names a mass that left the world.
            while (TColEventRef e = TColEvent::Poll())
            {
                if (e != trigger)
                {
                    EXPECT_TRUE(e->GetMass1()->IsActive() && (!e->GetMass2() || e->GetMass2()->IsActive()));
                }
            }
            TColEvent::RemoveHook(&RunAction, &action_);
            TColEvent::Flush();
        }
}

// A hook that reads and empties the event queue while the step fills it.
TEST_F(ReentryTest, HookPollsAndFlushesTheQueue)
{
    TMassRef a = Active(-5.0f, 500.0f, 10.0f, 2);
    TMassRef b = Active(500.0f, 500.0f, 10.0f, 3);
    TMassRef c = Active(505.0f, 500.0f, 10.0f, 4);
    int polled = 0;
    Hook([&](const TColEventRef&) {
        while (TColEvent::Poll())
            ++polled;
        TColEvent::Flush();
    });
    TPhysics::Update();
    EXPECT_GT(polled, 0);
    // Each hook emptied the queue before its own event was queued: one event is left.
    EXPECT_EQ(TColEvent::Poll() != nullptr, true);
    EXPECT_EQ(TColEvent::Poll(), nullptr);
}

// A mass filed in the grid by hand but owned by nobody else, overlapping an active one: the hook on
// their contact drops the last reference to it.
TEST_F(ReentryTest, HookDropsAFiledInactiveMass)
{
    TPhysics::UseShiftedGrid(1);
    TMassRef s = Active(500.0f, 500.0f, 10.0f, 2);
    TMassRef o = TMass::Create(505.0f, 500.0f, 1.0f, 10.0f, 0.0f, 3);
    o->AddToGrid();
    int events = 0;
    Hook([&](const TColEventRef&) {
        ++events;
        o.reset();
    });
    TPhysics::Update();
    EXPECT_GE(events, 1);
    EXPECT_EQ(o, nullptr);
}

// Hooks that remove themselves and the next hook while the chain runs, and one that adds a hook.
TEST(ReentryHooks, ChainSurvivesHooksRemovedOrAddedWhileItRuns)
{
    static std::vector<int> order;
    struct Chain
    {
        static TColEventRef First(int, const TColEventRef& e, void*)
        {
            order.push_back(1);
            TColEvent::RemoveHook(&First, nullptr);
            TColEvent::RemoveHook(&Second, nullptr);
            TColEvent::AddHook(&Fourth, nullptr);
            return e;
        }
        static TColEventRef Second(int, const TColEventRef& e, void*)
        {
            order.push_back(2);
            return e;
        }
        static TColEventRef Third(int, const TColEventRef& e, void*)
        {
            order.push_back(3);
            return e;
        }
        static TColEventRef Fourth(int, const TColEventRef& e, void*)
        {
            order.push_back(4);
            TColEvent::RemoveHook(&Fourth, nullptr);
            return e;
        }
    };
    order.clear();
    TColEvent::AddHook(&Chain::First, nullptr);
    TColEvent::AddHook(&Chain::Second, nullptr);
    TColEvent::AddHook(&Chain::Third, nullptr);
    TColEvent::Emit(TColEvent::Create(nullptr, nullptr, 0.0f, 0.0f, 1.0f));
    TColEvent::Emit(TColEvent::Create(nullptr, nullptr, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(order, (std::vector<int>{1, 3, 4, 3}));
    EXPECT_EQ(TColEvent::RemoveHook(&Chain::Third, nullptr), 1);
    EXPECT_EQ(TColEvent::RemoveHook(&Chain::Fourth, nullptr), 0);
    TColEvent::Flush();
}

// Under AddressSanitizer the pools poison what they hold free: touching a destroyed mass, constraint
// or event is reported, although its memory stays with the pool.
TEST(PoolPoison, TouchingADestroyedPooledObjectIsReported)
{
    if (!detail::kAddressSanitizer)
        GTEST_SKIP() << "only the sanitizer build poisons";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TMass* mass = nullptr;
    TConstraint* con = nullptr;
    TColEvent* event = nullptr;
    {
        TMassRef a = TMass::Create(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
        TMassRef b = TMass::Create(5.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1);
        TConstraintRef c = TConstraint::Create(a, b, 0.0f, 1.0f);
        TColEventRef e = TColEvent::Create(a, b, 0.0f, 0.0f, 1.0f);
        mass = a.get();
        con = c.get();
        event = e.get();
    }
    EXPECT_DEATH(std::printf("%f\n", static_cast<double>(*static_cast<volatile float*>(&mass->posX))),
                 "use-after-poison");
    EXPECT_DEATH(std::printf("%f\n", static_cast<double>(*static_cast<volatile float*>(&con->restLength))),
                 "use-after-poison");
    EXPECT_DEATH(std::printf("%f\n", static_cast<double>(*static_cast<volatile float*>(&event->force))),
                 "use-after-poison");
}

} // namespace
