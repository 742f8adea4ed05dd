// platform/TWindowSystem.h: what stands behind the drawing layer's window and the input queries: the
// window system that delivers events, keys, pointer and joysticks, and how one is installed.
#pragma once
#include "platform/TDriver2D.h"

#include <memory>
#include <string>

namespace ravel
{

/// The services of a desktop window system: its event queue, keyboard, pointer, joysticks and error
/// messages, and the renderer its windows are drawn with by default. The drawing layer calls it as graphics
/// open and close and as frames are presented, and every query of platform/Input.h forwards to it.
///
/// The base class is the absence of one: no default renderer, no events, every key up, the pointer at
/// (0, 0) with no button held, no joystick, no close request, no message box. It is what a program
/// that only simulates runs with; drawing still works through any driver given to SetGraphicsDriver.
/// Linking the SDL library (Ravel::sdl) installs its window system before main starts.
class TWindowSystem
{
  public:
    /// Releases the window system.
    virtual ~TWindowSystem() = default;

    // Graphics.

    /// The renderer OpenGraphics uses when no driver was chosen; null when there is none.
    virtual TDriver2DRef DefaultDriver() { return nullptr; }
    /// Graphics were opened: track keys and pointer for them from now on, hand focus changes to the
    /// graphics (TGraphics::FocusChanged) and pointer positions through their map (TGraphics::MapPointer).
    virtual void GraphicsOpened(const TGraphicsRef& /*graphics*/) {}
    /// The graphics are closing: stop tracking, clear every key's held flag and hit count and the
    /// pointer buttons, and forget the graphics.
    virtual void GraphicsClosed() {}
    /// Processes every pending event; Flip calls it after presenting.
    virtual void PumpEvents() {}
    /// Drops the window, keyboard and pointer events still queued for a window that is gone, so that
    /// none of them is taken for the next window's.
    virtual void DiscardWindowEvents() {}
    /// True once the connection to the display has broken: the program is ending, and closing the
    /// graphics would wait on the dead connection.
    virtual bool DisplayLost() { return false; }

    // Input: the queries of platform/Input.h, with the meanings documented there.

    ///@{
    /// Keyboard.
    virtual int KeyDown(int /*key*/) { return 0; }
    virtual int KeyHitCount(int /*key*/) { return 0; }
    virtual int WaitForKey() { return 0; }
    virtual int FlushKeys() { return 0; }
    ///@}
    ///@{
    /// Pointer.
    virtual int MouseScreenX() { return 0; }
    virtual int MouseScreenY() { return 0; }
    virtual int MouseDown(int /*button*/) { return 0; }
    virtual int SetMouseVisible(int /*flag*/) { return 0; }
    ///@}
    ///@{
    /// Joysticks; axis 0-5 is X, Y, Z, R, U, V.
    virtual int JoystickCount() { return 0; }
    virtual float JoystickAxis(int /*axis*/, int /*port*/) { return 0.0f; }
    virtual int JoystickButton(int /*button*/, int /*port*/) { return 0; }
    virtual int JoystickButtons(int /*port*/) { return 0; }
    ///@}
    /// 1 once the user has asked to close the window or quit the program.
    virtual int AppTerminate() { return 0; }

    /// Shows the text in an error message box with the title until the user closes it, where a
    /// display can show one to somebody; 1 when shown, 0 when not.
    virtual int ShowError(const std::string& /*title*/, const std::string& /*text*/) { return 0; }
};
/// A shared handle on a window system.
using TWindowSystemRef = std::shared_ptr<TWindowSystem>;

/// Installs the window system that the drawing layer and the input queries use from now on, after
/// closing any open graphics; null installs the absence of one (the TWindowSystem base class).
/// Returns 0.
int SetWindowSystem(const TWindowSystemRef& system);
/// The window system in use; never null.
TWindowSystemRef GetWindowSystem();

/// Shows the text in an error message box with the title until the user closes it, where the window
/// system can show one to somebody (not on a display nobody sees); 1 when shown, 0 when not.
int ShowErrorBox(const std::string& title, const std::string& text);

} // namespace ravel
