// tests/platform/InputTest.cpp: keyboard, pointer and close request fed by events pushed into SDL's queue.
#include "platform/Input.h"

#include "platform/sdl/Events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

using namespace ravel;

namespace
{
std::vector<int> focusCalls;
void RecordFocus(int gained)
{
    focusCalls.push_back(gained);
}

void PushKey(SDL_Scancode scancode, bool down, int repeat = 0, SDL_Keycode sym = SDLK_UNKNOWN)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = static_cast<Uint8>(repeat);
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

void Press(SDL_Scancode scancode)
{
    PushKey(scancode, true);
    PushKey(scancode, false);
}

void PushWindowEvent(Uint8 which)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    SDL_PushEvent(&e);
}

void PushMouseButton(Uint8 button, bool down, int x, int y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

std::vector<int> HeldKeys()
{
    std::vector<int> held;
    for (int key = 1; key < 256; ++key)
        if (KeyDown(key))
            held.push_back(key);
    return held;
}

// A hidden window on SDL's dummy video driver: enough for WaitForKey to have something to wait on.
class InputTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("input", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        detail::PumpEvents(); // whatever the window itself announced
        detail::StartInputTracking();
        focusCalls.clear();
        detail::SetFocusHook(RecordFocus);
    }
    void TearDown() override
    {
        detail::SetFocusHook(nullptr);
        detail::StopInputTracking();
        if (window)
            SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Window* window = nullptr;
};
} // namespace

TEST_F(InputTest, EveryKeyMapsToItsOwnVirtualKeyCode)
{
    struct Case
    {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        std::vector<int> held; // codes that must read as held, and no others
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, 'a', {VK_A}},
        {SDL_SCANCODE_Z, 'z', {VK_Z}},
        {SDL_SCANCODE_Q, 'a', {VK_A}},    // AZERTY: the letter the layout gives
        {SDL_SCANCODE_A, 0x0444, {VK_A}}, // Cyrillic layout: the key's place
        {SDL_SCANCODE_1, '&', {VK_1}},    // AZERTY digit row still reads as digits
        {SDL_SCANCODE_0, '0', {VK_0}},
        {SDL_SCANCODE_KP_1, SDLK_KP_1, {VK_NUMPAD1}}, // never main-row 1
        {SDL_SCANCODE_KP_0, SDLK_KP_0, {VK_NUMPAD0}},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, {VK_NUMPAD9}},
        {SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, {VK_MULTIPLY}},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, {VK_ADD}},
        {SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, {VK_SUBTRACT}},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, {VK_DECIMAL}},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, {VK_DIVIDE}},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, {VK_RETURN}},
        {SDL_SCANCODE_F1, SDLK_F1, {VK_F1}},
        {SDL_SCANCODE_F12, SDLK_F12, {VK_F12}},
        {SDL_SCANCODE_F13, SDLK_F13, {VK_F13}},
        {SDL_SCANCODE_F24, SDLK_F24, {VK_F24}},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, {VK_RETURN}},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, {VK_ESCAPE}},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, {VK_SPACE}},
        {SDL_SCANCODE_TAB, SDLK_TAB, {VK_TAB}},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, {VK_BACK}},
        {SDL_SCANCODE_INSERT, SDLK_INSERT, {VK_INSERT}},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, {VK_DELETE}},
        {SDL_SCANCODE_HOME, SDLK_HOME, {VK_HOME}},
        {SDL_SCANCODE_END, SDLK_END, {VK_END}},
        {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, {VK_PRIOR}},
        {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, {VK_NEXT}},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, {VK_LEFT}},
        {SDL_SCANCODE_UP, SDLK_UP, {VK_UP}},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, {VK_RIGHT}},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, {VK_DOWN}},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, {VK_SHIFT, VK_LSHIFT}},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, {VK_SHIFT, VK_RSHIFT}},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, {VK_CONTROL, VK_LCONTROL}},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, {VK_CONTROL, VK_RCONTROL}},
        {SDL_SCANCODE_LALT, SDLK_LALT, {VK_MENU, VK_LMENU}},
        {SDL_SCANCODE_RALT, SDLK_RALT, {VK_MENU, VK_RMENU}},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, {VK_OEM_1}},
        {SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
        PushKey(c.scancode, true, 0, c.sym);
        EXPECT_EQ(HeldKeys(), c.held);
        PushKey(c.scancode, false, 0, c.sym);
        EXPECT_EQ(HeldKeys(), std::vector<int>{});
    }
}

TEST_F(InputTest, HitCountCountsPressesSinceTheLastCallAndIgnoresAutoRepeat)
{
    Press(SDL_SCANCODE_SPACE);
    Press(SDL_SCANCODE_SPACE);
    Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(KeyHitCount(VK_SPACE), 3);
    EXPECT_EQ(KeyHitCount(VK_SPACE), 0);

    // Held with the system repeating it, once flagged and once not: still one press.
    PushKey(SDL_SCANCODE_UP, true);
    PushKey(SDL_SCANCODE_UP, true, 1);
    PushKey(SDL_SCANCODE_UP, true, 1);
    PushKey(SDL_SCANCODE_UP, true);
    EXPECT_EQ(KeyDown(VK_UP), 1);
    EXPECT_EQ(KeyHitCount(VK_UP), 1);
    PushKey(SDL_SCANCODE_UP, false);
    EXPECT_EQ(KeyDown(VK_UP), 0);
    EXPECT_EQ(KeyHitCount(VK_UP), 0);

    for (int bad : {0, -1, 256, 1000})
    {
        EXPECT_EQ(KeyDown(bad), 0);
        EXPECT_EQ(KeyHitCount(bad), 0);
    }
}

TEST_F(InputTest, EitherSideModifierCountsOnePressWhileBothSidesAreHeld)
{
    PushKey(SDL_SCANCODE_LSHIFT, true);
    PushKey(SDL_SCANCODE_RSHIFT, true);
    PushKey(SDL_SCANCODE_LSHIFT, false);
    EXPECT_EQ(KeyDown(VK_SHIFT), 1);
    EXPECT_EQ(KeyHitCount(VK_SHIFT), 1);
    EXPECT_EQ(KeyHitCount(VK_LSHIFT), 1);
    PushKey(SDL_SCANCODE_RSHIFT, false);
    EXPECT_EQ(KeyDown(VK_SHIFT), 0);
}

TEST_F(InputTest, FocusLossAndGainClearKeysAndPointerButtonsThenCallTheHook)
{
    for (Uint8 change :
         {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED})
    {
        PushKey(SDL_SCANCODE_LEFT, true);
        Press(SDL_SCANCODE_A);
        PushMouseButton(SDL_BUTTON_LEFT, true, 5, 6);
        PushMouseButton(SDL_BUTTON_RIGHT, true, 5, 6);
        ASSERT_EQ(KeyDown(VK_LEFT), 1);
        ASSERT_EQ(MouseDown(1), 1);
        ASSERT_EQ(MouseDown(2), 1);
        PushWindowEvent(change);
        EXPECT_EQ(KeyDown(VK_LEFT), 0);
        EXPECT_EQ(KeyHitCount(VK_LEFT), 0);
        EXPECT_EQ(KeyHitCount(VK_A), 0);
        EXPECT_EQ(MouseDown(1), 0);
        EXPECT_EQ(MouseDown(2), 0);
        // The key still physically held is a fresh press once the system reports it again.
        PushKey(SDL_SCANCODE_LEFT, true);
        EXPECT_EQ(KeyHitCount(VK_LEFT), 1);
        PushKey(SDL_SCANCODE_LEFT, false);
        PushMouseButton(SDL_BUTTON_LEFT, false, 5, 6);
        PushMouseButton(SDL_BUTTON_RIGHT, false, 5, 6);
        detail::PumpEvents();
    }
    EXPECT_EQ(focusCalls, (std::vector<int>{0, 1})); // the repeated loss is no change of focus
}

TEST_F(InputTest, WaitForKeyIgnoresEarlierPressesAndReturnsTheLowestNewOne)
{
    Press(SDL_SCANCODE_A);
    Press(SDL_SCANCODE_Z);
    PushKey(SDL_SCANCODE_LEFT, true);
    ASSERT_EQ(KeyDown(VK_LEFT), 1);      // all three seen before the wait
    PushKey(SDL_SCANCODE_LEFT, true, 1); // still held: the repeat is no new press
    Press(SDL_SCANCODE_M);
    Press(SDL_SCANCODE_D);
    EXPECT_EQ(WaitForKey(), VK_D);
    EXPECT_EQ(KeyHitCount(VK_A), 0);
    EXPECT_EQ(KeyHitCount(VK_Z), 0);
    EXPECT_EQ(KeyHitCount(VK_LEFT), 0);
    EXPECT_EQ(KeyHitCount(VK_D), 0);
    EXPECT_EQ(KeyHitCount(VK_M), 1); // only the returned key's count is taken
}

TEST_F(InputTest, WaitForKeyReturnsAtOnceWhenNothingCanDeliverKeys)
{
    detail::StopInputTracking(); // no graphics open
    EXPECT_EQ(WaitForKey(), 0);

    detail::StartInputTracking();
    SDL_DestroyWindow(window); // graphics without a window, as on an in-memory surface
    window = nullptr;
    EXPECT_EQ(WaitForKey(), 0);
}

TEST_F(InputTest, CloseRequestEndsWaitForKeyAndStaysUntilNewGraphics)
{
    EXPECT_EQ(AppTerminate(), 0);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(WaitForKey(), 0);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 1);
    detail::StartInputTracking();
    EXPECT_EQ(AppTerminate(), 0);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(AppTerminate(), 1);
}

TEST_F(InputTest, KeysAndPointerAreIgnoredWhileNoGraphicsAreOpen)
{
    detail::StopInputTracking();
    PushKey(SDL_SCANCODE_A, true);
    PushMouseButton(SDL_BUTTON_LEFT, true, 7, 9);
    detail::PumpEvents();
    detail::StartInputTracking();
    EXPECT_EQ(KeyDown(VK_A), 0);
    EXPECT_EQ(KeyHitCount(VK_A), 0);
    EXPECT_EQ(MouseDown(1), 0);

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 31;
    motion.motion.y = 17;
    SDL_PushEvent(&motion);
    EXPECT_EQ(MouseScreenX(), 31);
    EXPECT_EQ(MouseScreenY(), 17);
    PushMouseButton(SDL_BUTTON_MIDDLE, true, 40, 2);
    EXPECT_EQ(MouseDown(3), 1);
    EXPECT_EQ(MouseScreenX(), 40);
    EXPECT_EQ(MouseScreenY(), 2);
}

// A surface shown scaled maps window pixels to its own; buttons and motion alike.
TEST_F(InputTest, PointerPositionsGoThroughTheSurfacesMap)
{
    detail::SetPointerMap([](int& x, int& y) {
        x = (x - 100) / 2;
        y = y / 2;
    });
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 300;
    motion.motion.y = 50;
    SDL_PushEvent(&motion);
    EXPECT_EQ(MouseScreenX(), 100);
    EXPECT_EQ(MouseScreenY(), 25);
    PushMouseButton(SDL_BUTTON_LEFT, true, 140, 8);
    EXPECT_EQ(MouseScreenX(), 20);
    EXPECT_EQ(MouseScreenY(), 4);
    detail::SetPointerMap(nullptr);
}

TEST_F(InputTest, PointerVisibilityChosenBeforeGraphicsOpenIsKept)
{
    detail::StopInputTracking();
    SetMouseVisible(0);
    SDL_ShowCursor(SDL_ENABLE); // as a freshly opened window has it
    detail::StartInputTracking();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    SetMouseVisible(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}
