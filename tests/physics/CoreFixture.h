// tests/physics/CoreFixture.h: a fresh world and a quiet event queue for every test.
#pragma once
#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"

#include <gtest/gtest.h>

namespace ravel::test
{

class WorldTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
        TColEvent::SetMode(TColEvent::MODE_UPDATE);
        TColEvent::Flush();
    }
    void TearDown() override
    {
        TColEvent::Flush();
        TColEvent::SetMode(TColEvent::MODE_UPDATE);
        TPhysics::Free();
    }

    /// An active mass: one direct owner puts it in the world.
    static TMassRef Active(float x, float y, float radius, int group, float mass = 1.0f,
                           float friction = 0.0f)
    {
        TMassRef m = TMass::Create(x, y, mass, radius, friction, group);
        m->AddRef();
        return m;
    }

    static int QueuedEvents()
    {
        int n = 0;
        for (const TColEventRef& e : PolledAll())
            (void)e, ++n;
        return n;
    }

    static std::vector<TColEventRef> PolledAll()
    {
        std::vector<TColEventRef> all;
        while (TColEventRef e = TColEvent::Poll())
            all.push_back(e);
        return all;
    }
};

} // namespace ravel::test
