// tests/demo/DemoFixture.h: the demo started headless on SDL's software renderer, driven by key
// events pushed into SDL's queue, as a player's keyboard would deliver them.
#pragma once
#include "scenes/demo/Autopilot.h"
#include "scenes/demo/Headless.h"

#include "demo/Demo.h"
#include "physics/TPhysics.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"
#include "platform/TSDLDriver2D.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace ravel::demo::test
{

using scenes::PushKey;
using scenes::TAutopilot;
using scenes::TKeys;
using scenes::TStepClock;

class DemoTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
        SetGraphicsDriver(SDLSurfaceDriver2D(), GRAPHICS_BACKBUFFER);
        ASSERT_TRUE(OpenGraphics(800, 600, 0, 0, 0)) << GraphicsError();
        ASSERT_EQ(StartWorld(0.78125f), 1) << mediaError;
    }
    void TearDown() override
    {
        keys.ReleaseAll();
        Shutdown();
    }

    /// Steps the demo n frames without drawing.
    void Step(int n)
    {
        for (int k = 0; k < n; ++k)
            StepFrame();
    }
    float Speed() const { return car->chassis->MassGetVelocity(0); }

    TKeys keys;
};

} // namespace ravel::demo::test
