// platform/sdl/Events.cpp: the window-event pump, keyboard and pointer state, and the close request.
#include "platform/sdl/Events.h"

#include "platform/Input.h"
#include "platform/sdl/SDLWindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <climits>

namespace ravel
{

namespace
{
constexpr int KEY_COUNT = 256; // codes 1-255; slot 0 stays empty
constexpr int MOUSE_BUTTONS = 6;

struct KeyState
{
    std::array<unsigned char, KEY_COUNT> held{};
    std::array<int, KEY_COUNT> hits{};
};
KeyState keys;
std::array<unsigned char, MOUSE_BUTTONS> mouseHeld{};
int mouseX = 0, mouseY = 0;
bool tracking = false;
bool closeRequested = false;
int mouseVisible = 1;
detail::FocusHook focusHook = nullptr;
detail::PointerMap pointerMap = nullptr;
Uint32 highestWindowId = 0;
int focused = -1; // 1 or 0 after the first focus change reported, -1 before

// Physical key positions to virtual-key codes. Letters are looked up by the character the layout gives
// them first (MapKey), as Windows does; everything else keeps its place whatever the layout.
constexpr std::array<unsigned char, SDL_NUM_SCANCODES> MakeScancodeTable()
{
    std::array<unsigned char, SDL_NUM_SCANCODES> t{};
    for (int i = 0; i < 26; ++i)
        t[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
    for (int i = 0; i < 9; ++i)
        t[SDL_SCANCODE_1 + i] = static_cast<unsigned char>('1' + i);
    t[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i)
        t[SDL_SCANCODE_F1 + i] = static_cast<unsigned char>(VK_F1 + i);
    for (int i = 0; i < 12; ++i)
        t[SDL_SCANCODE_F13 + i] = static_cast<unsigned char>(VK_F13 + i);
    for (int i = 0; i < 9; ++i)
        t[SDL_SCANCODE_KP_1 + i] = static_cast<unsigned char>(VK_NUMPAD1 + i);
    t[SDL_SCANCODE_KP_0] = VK_NUMPAD0;
    t[SDL_SCANCODE_KP_PERIOD] = VK_DECIMAL;
    t[SDL_SCANCODE_KP_DECIMAL] = VK_DECIMAL;
    t[SDL_SCANCODE_KP_DIVIDE] = VK_DIVIDE;
    t[SDL_SCANCODE_KP_MULTIPLY] = VK_MULTIPLY;
    t[SDL_SCANCODE_KP_MINUS] = VK_SUBTRACT;
    t[SDL_SCANCODE_KP_PLUS] = VK_ADD;
    t[SDL_SCANCODE_KP_ENTER] = VK_RETURN;
    t[SDL_SCANCODE_KP_COMMA] = VK_SEPARATOR;
    t[SDL_SCANCODE_KP_EQUALS] = VK_OEM_NEC_EQUAL;
    t[SDL_SCANCODE_KP_CLEAR] = VK_CLEAR;
    t[SDL_SCANCODE_NUMLOCKCLEAR] = VK_NUMLOCK;

    t[SDL_SCANCODE_RETURN] = VK_RETURN;
    t[SDL_SCANCODE_RETURN2] = VK_RETURN;
    t[SDL_SCANCODE_ESCAPE] = VK_ESCAPE;
    t[SDL_SCANCODE_BACKSPACE] = VK_BACK;
    t[SDL_SCANCODE_TAB] = VK_TAB;
    t[SDL_SCANCODE_SPACE] = VK_SPACE;
    t[SDL_SCANCODE_CLEAR] = VK_CLEAR;
    t[SDL_SCANCODE_CAPSLOCK] = VK_CAPITAL;
    t[SDL_SCANCODE_SCROLLLOCK] = VK_SCROLL;
    t[SDL_SCANCODE_PRINTSCREEN] = VK_SNAPSHOT;
    t[SDL_SCANCODE_PAUSE] = VK_PAUSE;
    t[SDL_SCANCODE_INSERT] = VK_INSERT;
    t[SDL_SCANCODE_DELETE] = VK_DELETE;
    t[SDL_SCANCODE_HOME] = VK_HOME;
    t[SDL_SCANCODE_END] = VK_END;
    t[SDL_SCANCODE_PAGEUP] = VK_PRIOR;
    t[SDL_SCANCODE_PAGEDOWN] = VK_NEXT;
    t[SDL_SCANCODE_LEFT] = VK_LEFT;
    t[SDL_SCANCODE_RIGHT] = VK_RIGHT;
    t[SDL_SCANCODE_UP] = VK_UP;
    t[SDL_SCANCODE_DOWN] = VK_DOWN;
    t[SDL_SCANCODE_SELECT] = VK_SELECT;
    t[SDL_SCANCODE_EXECUTE] = VK_EXECUTE;
    t[SDL_SCANCODE_HELP] = VK_HELP;

    t[SDL_SCANCODE_LSHIFT] = VK_LSHIFT;
    t[SDL_SCANCODE_RSHIFT] = VK_RSHIFT;
    t[SDL_SCANCODE_LCTRL] = VK_LCONTROL;
    t[SDL_SCANCODE_RCTRL] = VK_RCONTROL;
    t[SDL_SCANCODE_LALT] = VK_LMENU;
    t[SDL_SCANCODE_RALT] = VK_RMENU;
    t[SDL_SCANCODE_LGUI] = VK_LWIN;
    t[SDL_SCANCODE_RGUI] = VK_RWIN;
    t[SDL_SCANCODE_APPLICATION] = VK_APPS;
    t[SDL_SCANCODE_MENU] = VK_APPS;
    t[SDL_SCANCODE_SLEEP] = VK_SLEEP;

    t[SDL_SCANCODE_SEMICOLON] = VK_OEM_1;
    t[SDL_SCANCODE_EQUALS] = VK_OEM_PLUS;
    t[SDL_SCANCODE_COMMA] = VK_OEM_COMMA;
    t[SDL_SCANCODE_MINUS] = VK_OEM_MINUS;
    t[SDL_SCANCODE_PERIOD] = VK_OEM_PERIOD;
    t[SDL_SCANCODE_SLASH] = VK_OEM_2;
    t[SDL_SCANCODE_GRAVE] = VK_OEM_3;
    t[SDL_SCANCODE_LEFTBRACKET] = VK_OEM_4;
    t[SDL_SCANCODE_BACKSLASH] = VK_OEM_5;
    t[SDL_SCANCODE_NONUSHASH] = VK_OEM_5;
    t[SDL_SCANCODE_RIGHTBRACKET] = VK_OEM_6;
    t[SDL_SCANCODE_APOSTROPHE] = VK_OEM_7;
    t[SDL_SCANCODE_NONUSBACKSLASH] = VK_OEM_102;

    t[SDL_SCANCODE_MUTE] = VK_VOLUME_MUTE;
    t[SDL_SCANCODE_AUDIOMUTE] = VK_VOLUME_MUTE;
    t[SDL_SCANCODE_VOLUMEDOWN] = VK_VOLUME_DOWN;
    t[SDL_SCANCODE_VOLUMEUP] = VK_VOLUME_UP;
    t[SDL_SCANCODE_AUDIONEXT] = VK_MEDIA_NEXT_TRACK;
    t[SDL_SCANCODE_AUDIOPREV] = VK_MEDIA_PREV_TRACK;
    t[SDL_SCANCODE_AUDIOSTOP] = VK_MEDIA_STOP;
    t[SDL_SCANCODE_AUDIOPLAY] = VK_MEDIA_PLAY_PAUSE;
    t[SDL_SCANCODE_MEDIASELECT] = VK_LAUNCH_MEDIA_SELECT;
    t[SDL_SCANCODE_MAIL] = VK_LAUNCH_MAIL;
    t[SDL_SCANCODE_CALCULATOR] = VK_LAUNCH_APP2;
    t[SDL_SCANCODE_COMPUTER] = VK_LAUNCH_APP1;
    t[SDL_SCANCODE_AC_SEARCH] = VK_BROWSER_SEARCH;
    t[SDL_SCANCODE_AC_HOME] = VK_BROWSER_HOME;
    t[SDL_SCANCODE_AC_BACK] = VK_BROWSER_BACK;
    t[SDL_SCANCODE_AC_FORWARD] = VK_BROWSER_FORWARD;
    t[SDL_SCANCODE_AC_STOP] = VK_BROWSER_STOP;
    t[SDL_SCANCODE_AC_REFRESH] = VK_BROWSER_REFRESH;
    t[SDL_SCANCODE_AC_BOOKMARKS] = VK_BROWSER_FAVORITES;
    return t;
}
constexpr std::array<unsigned char, SDL_NUM_SCANCODES> scancodeTable = MakeScancodeTable();

int MapKey(const SDL_Keysym& keysym)
{
    if (keysym.sym >= 'a' && keysym.sym <= 'z')
        return 'A' + (keysym.sym - 'a');
    int scancode = static_cast<int>(keysym.scancode);
    if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES)
        return 0;
    return scancodeTable[scancode];
}

bool ValidKey(int key)
{
    return key >= 1 && key < KEY_COUNT;
}

// The side-neutral Shift, Ctrl and Alt codes read as held while either side is, and count a press
// when the first side goes down.
void UpdateEitherSide(int either, int left, int right)
{
    unsigned char now = (keys.held[left] || keys.held[right]) ? 1 : 0;
    if (now && !keys.held[either] && keys.hits[either] < INT_MAX)
        ++keys.hits[either];
    keys.held[either] = now;
}

void SetKey(int key, bool down)
{
    if (down)
    {
        if (keys.held[key])
            return; // auto-repeat, or a press the system reported twice
        keys.held[key] = 1;
        if (keys.hits[key] < INT_MAX)
            ++keys.hits[key];
    }
    else
    {
        keys.held[key] = 0;
    }
    UpdateEitherSide(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    UpdateEitherSide(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    UpdateEitherSide(VK_MENU, VK_LMENU, VK_RMENU);
}

void ClearKeys()
{
    keys = KeyState{};
}

void ClearStates()
{
    ClearKeys();
    mouseHeld = {};
}

int MouseSlot(Uint8 sdlButton)
{
    switch (sdlButton)
    {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 3;
    case SDL_BUTTON_X1:
        return 4;
    case SDL_BUTTON_X2:
        return 5;
    default:
        return 0;
    }
}

void EnsureSubsystems()
{
    // Each subsystem on its own: a machine without joystick support still gets its window events.
    // One that failed is not retried on every query; one shut down by SDL_Quit is started again.
    const Uint32 wanted[] = {SDL_INIT_EVENTS, SDL_INIT_JOYSTICK, SDL_INIT_GAMECONTROLLER};
    static bool failed[3] = {false, false, false};
    for (int i = 0; i < 3; ++i)
    {
        if (failed[i] || SDL_WasInit(wanted[i]) == wanted[i])
            continue;
        if (SDL_InitSubSystem(wanted[i]) != 0)
            failed[i] = true;
    }
}

// Also run on every pump, so that a window opened after SetMouseVisible (or after SDL was restarted)
// gets the chosen pointer.
void ApplyMouseVisible()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    int wanted = mouseVisible ? SDL_ENABLE : SDL_DISABLE;
    if (SDL_ShowCursor(SDL_QUERY) != wanted)
        SDL_ShowCursor(wanted);
}

void HandleEvent(const SDL_Event& e)
{
    if (e.type == SDL_WINDOWEVENT)
        highestWindowId = std::max(highestWindowId, e.window.windowID);
    switch (e.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (!tracking || (e.type == SDL_KEYDOWN && e.key.repeat))
            break;
        int key = MapKey(e.key.keysym);
        if (ValidKey(key))
            SetKey(key, e.type == SDL_KEYDOWN);
        break;
    }
    case SDL_MOUSEMOTION:
        if (tracking)
        {
            mouseX = e.motion.x;
            mouseY = e.motion.y;
            if (pointerMap)
                pointerMap(mouseX, mouseY);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (tracking)
        {
            mouseX = e.button.x;
            mouseY = e.button.y;
            if (pointerMap)
                pointerMap(mouseX, mouseY);
            if (int slot = MouseSlot(e.button.button))
                mouseHeld[slot] = e.type == SDL_MOUSEBUTTONDOWN ? 1 : 0;
        }
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        {
            // Presses and releases made while another program had the keyboard never reach us, so
            // nothing held before the change can be trusted afterwards.
            ClearStates();
            // The hook switches display modes: call it on a real change only, not on a repeated report.
            int gained = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ? 1 : 0;
            if (gained != focused)
            {
                focused = gained;
                if (focusHook)
                    focusHook(gained);
            }
        }
        else if (e.window.event == SDL_WINDOWEVENT_CLOSE)
        {
            closeRequested = true;
        }
        break;
    case SDL_QUIT:
        closeRequested = true;
        break;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
        // A file dropped on the window: nothing here reads it, but the name is ours to free.
        SDL_free(e.drop.file);
        break;
    default:
        break;
    }
}

// SDL has no list of windows; their ids are handed out from 1 upwards, so look for a live one up to
// beyond the highest id seen so far.
bool AnyWindowOpen()
{
    if (SDL_GetKeyboardFocus() || SDL_GetMouseFocus())
        return true;
    bool found = false;
    for (Uint32 id = 1; id <= highestWindowId + 64; ++id)
    {
        if (SDL_GetWindowFromID(id))
        {
            found = true;
            highestWindowId = std::max(highestWindowId, id);
        }
    }
    return found;
}

bool CanDeliverKeys()
{
    return tracking && !closeRequested && SDL_WasInit(SDL_INIT_VIDEO) && AnyWindowOpen();
}
} // namespace

namespace detail
{
void PumpEvents()
{
    EnsureSubsystems();
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        HandleEvent(e);
    if (tracking)
        ApplyMouseVisible();
}

void StartInputTracking()
{
    EnsureSubsystems();
    ClearStates();
    tracking = true;
    closeRequested = false; // a close request belonged to the graphics before
    focused = -1;
    ApplyMouseVisible();
}

void StopInputTracking()
{
    tracking = false;
    ClearStates();
}

void DiscardWindowEvents()
{
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_FlushEvent(SDL_WINDOWEVENT);
    SDL_FlushEvent(SDL_SYSWMEVENT);
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEMOTION - 1);       // keys and text
    SDL_FlushEvents(SDL_MOUSEMOTION, SDL_JOYAXISMOTION - 1); // pointer
}

void SetFocusHook(FocusHook hook)
{
    focusHook = hook;
}

void SetPointerMap(PointerMap map)
{
    pointerMap = map;
}

int TSDLWindowSystem::KeyDown(int key)
{
    detail::PumpEvents();
    return ValidKey(key) ? keys.held[key] : 0;
}

int TSDLWindowSystem::KeyHitCount(int key)
{
    detail::PumpEvents();
    if (!ValidKey(key))
        return 0;
    int n = keys.hits[key];
    keys.hits[key] = 0;
    return n;
}

int TSDLWindowSystem::WaitForKey()
{
    ClearKeys();
    for (;;)
    {
        detail::PumpEvents();
        for (int key = 1; key < KEY_COUNT; ++key)
        {
            if (keys.hits[key])
            {
                keys.hits[key] = 0;
                return key;
            }
        }
        if (!CanDeliverKeys())
            return 0;
        // Wakes for the next event; the timeout lets a window closed meanwhile end the wait.
        SDL_WaitEventTimeout(nullptr, 100);
    }
}

int TSDLWindowSystem::FlushKeys()
{
    detail::PumpEvents();
    ClearKeys();
    return 0;
}

int TSDLWindowSystem::MouseScreenX()
{
    detail::PumpEvents();
    return mouseX;
}

int TSDLWindowSystem::MouseScreenY()
{
    detail::PumpEvents();
    return mouseY;
}

int TSDLWindowSystem::MouseDown(int button)
{
    detail::PumpEvents();
    return button >= 1 && button < MOUSE_BUTTONS ? mouseHeld[button] : 0;
}

int TSDLWindowSystem::SetMouseVisible(int flag)
{
    mouseVisible = flag ? 1 : 0;
    ApplyMouseVisible();
    return 0;
}

int TSDLWindowSystem::AppTerminate()
{
    detail::PumpEvents();
    return closeRequested ? 1 : 0;
}

void TSDLWindowSystem::PumpEvents()
{
    detail::PumpEvents();
}

void TSDLWindowSystem::DiscardWindowEvents()
{
    detail::DiscardWindowEvents();
}

} // namespace detail

} // namespace ravel
