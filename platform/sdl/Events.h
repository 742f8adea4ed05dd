// platform/sdl/Events.h: SDL's event pump, which keeps the keyboard and pointer state, and its hooks.
#pragma once

namespace ravel::detail
{
/// Processes every pending window event: keys, pointer, focus changes, joystick arrival and removal.
void PumpEvents();

/// Starts tracking keyboard and pointer events for newly opened graphics.
void StartInputTracking();

/// Stops tracking and clears every key's held flag and hit count and the pointer buttons.
void StopInputTracking();

/// Drops the window, keyboard, pointer and text events still queued. Called once a window has been
/// destroyed: SDL reports its last focus loss and key releases as it goes, and after a restart of the
/// video system the next window gets the same id, so those reports would be taken for the new
/// window's. A close request of the program (a signal) and joystick events stay queued.
void DiscardWindowEvents();

/// Called by PumpEvents when the window gains (1) or loses (0) the input focus, after the key
/// states have been cleared; the open graphics use it to leave and re-enter full screen.
using FocusHook = void (*)(int gained);
void SetFocusHook(FocusHook hook);

/// Turns pointer positions of window events into surface pixels, for surfaces shown scaled (null:
/// they are the same).
using PointerMap = void (*)(int& x, int& y);
void SetPointerMap(PointerMap map);
} // namespace ravel::detail
