// tests/platform/SDLWindowSystemTest.cpp: the SDL library installs its window system as the program
// starts, and its event pump hands focus changes to the graphics open now and to no other.
#include "tests/platform/FakeDriver.h"

#include "platform/Graphics2D.h"
#include "platform/TWindowSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

using namespace ravel;
using namespace ravel::test;

namespace
{
using SDLWindowSystemTest = FakeDriverTest;

void PushFocus(Uint8 event)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}
} // namespace

TEST(SDLWindowSystem, IsInstalledByLinkingTheLibraryAndOffersOpenGL)
{
    TWindowSystemRef system = GetWindowSystem();
    EXPECT_NE(system->DefaultDriver(), nullptr);
    EXPECT_EQ(system->DisplayLost(), false);
}

TEST_F(SDLWindowSystemTest, FocusChangesReachTheOpenGraphics)
{
    Open(640, 480, 32, 0);
    // The window-event pump runs inside Flip and hands focus changes to the graphics.
    PushFocus(SDL_WINDOWEVENT_FOCUS_LOST);
    PushFocus(SDL_WINDOWEVENT_FOCUS_GAINED);
    Flip(0);
    EXPECT_EQ(driver->last->focus, (std::vector<int>{0, 1}));
}

// The menu window's last focus loss, queued as it is destroyed, belongs to no later graphics: taken
// for the full-screen game's, it would minimise the game as soon as its first frame pumps events.
TEST_F(SDLWindowSystemTest, AClosedWindowsFocusLossDoesNotReachTheNextGraphics)
{
    Open(400, 75, 0, 0);
    driver->last->onClose = [] { PushFocus(SDL_WINDOWEVENT_FOCUS_LOST); }; // as SDL reports it
    Open(640, 480, 32, 0);
    Flip(0);
    EXPECT_TRUE(driver->last->focus.empty());
}
