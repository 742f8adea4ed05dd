// tests/physics/ReentryTest.cpp: user code inside the step (zone responses and event hooks) that frees,
// removes, adds or re-activates zones, masses, constraints, bodies, hooks or the world itself while the
// step walks them. Meant for the asan preset, where a walk onto freed or recycled memory is reported.
#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"

#include <gtest/gtest.h>

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
            zones.push_back(TZone::Create({k * 100.0f, 100.0f, k * 100.0f + 100.0f, 100.0f}, TZone::LINE, 0.0f, 1, 3));
        return zones;
    }

    static TMassRef Active(float x, float y, float radius, int group)
    {
        TMassRef m = TMass::Create(x, y, 1.0f, radius, 0.0f, group);
        m->AddRef();
        return m;
    }

    static int ZoneCount()
    {
        return zoneList ? zoneList->Count() : -1;
    }

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

} // namespace
