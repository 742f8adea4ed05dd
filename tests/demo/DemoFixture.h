// tests/demo/DemoFixture.h: the demo started headless on SDL's software renderer, driven by key
// events pushed into SDL's queue, as a player's keyboard would deliver them.
#pragma once
#include "demo/Demo.h"
#include "physics/TPhysics.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"
#include "platform/TClock.h"
#include "platform/TSDLDriver2D.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <unistd.h>

namespace ravel::demo::test
{

inline SDL_Scancode ScancodeOf(int key)
{
    switch (key)
    {
    case KEY_LEFT:
        return SDL_SCANCODE_LEFT;
    case KEY_RIGHT:
        return SDL_SCANCODE_RIGHT;
    case KEY_UP:
        return SDL_SCANCODE_UP;
    case KEY_DOWN:
        return SDL_SCANCODE_DOWN;
    case KEY_SPACE:
        return SDL_SCANCODE_SPACE;
    case KEY_ENTER:
        return SDL_SCANCODE_RETURN;
    case KEY_ESCAPE:
        return SDL_SCANCODE_ESCAPE;
    case KEY_F1:
        return SDL_SCANCODE_F1;
    default:
        return SDL_SCANCODE_UNKNOWN;
    }
}

inline void PushKey(int key, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = ScancodeOf(key);
    SDL_PushEvent(&e);
}

/// Holds and releases keys, pushing an event only when a key's state changes.
class TKeys
{
  public:
    void Set(int key, bool down)
    {
        if (held_[key] == down)
            return;
        held_[key] = down;
        PushKey(key, down);
    }
    void ReleaseAll()
    {
        for (int key = 0; key < 256; ++key)
            Set(key, false);
    }

  private:
    bool held_[256] = {};
};

/// A clock that moves only when asked to wait: the demo's 60 Hz pacing runs as it does for a player,
/// but no frame ever sleeps.
class TStepClock : public TClock
{
  public:
    std::int64_t NowMs() override { return now_; }
    void SleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            now_ += ms;
    }

  private:
    std::int64_t now_ = 0;
};

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
