// scenes/demo/Headless.h: what stands in for the player when the demo runs headless: keys pushed into
// SDL's event queue as a keyboard delivers them, and a clock that never lets a frame sleep.
#pragma once
#include "platform/Input.h"
#include "platform/TClock.h"

#include <SDL.h>

#include <cstdint>

namespace ravel::scenes
{

/// The key's place on the keyboard, for the keys the demo reads.
inline SDL_Scancode ScancodeOf(int key)
{
    switch (key)
    {
    case VK_LEFT:
        return SDL_SCANCODE_LEFT;
    case VK_RIGHT:
        return SDL_SCANCODE_RIGHT;
    case VK_UP:
        return SDL_SCANCODE_UP;
    case VK_DOWN:
        return SDL_SCANCODE_DOWN;
    case VK_SPACE:
        return SDL_SCANCODE_SPACE;
    case VK_RETURN:
        return SDL_SCANCODE_RETURN;
    case VK_ESCAPE:
        return SDL_SCANCODE_ESCAPE;
    case VK_F1:
        return SDL_SCANCODE_F1;
    default:
        return SDL_SCANCODE_UNKNOWN;
    }
}

/// Queues a press or a release of the key.
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

} // namespace ravel::scenes
