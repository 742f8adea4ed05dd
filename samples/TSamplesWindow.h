// samples/TSamplesWindow.h: the samples' window on either renderer: resizable, with the pointer
// buttons, the wheel and dropped files gathered for the testbed.
#pragma once
#include "samples/TTestbed.h"

#include <string>

namespace ravel::samples
{

/// The window. The drawing layer opens it and reads keys and the pointer; this adds what that layer
/// does not deliver (wheel, dropped files, every button press however short, a new window size),
/// taken from SDL's event stream as it passes.
class TSamplesWindow
{
  public:
    ~TSamplesWindow();
    /// Opens a window of the size on OpenGL (openGL true) or SDL's renderer, falling back to the other
    /// renderer when that one cannot open; false when neither can (error says why).
    bool Open(bool openGL, int width, int height);
    /// Closes the graphics and stops watching events.
    void Close();
    /// Opens the same window on the other renderer, at the present size.
    bool SwitchRenderer();
    /// What the user did since the last call.
    TInput Poll();
    /// Makes the drawing layer follow a change of the window's size; true when the size changed.
    bool FollowResize();
    /// Sets the window's title, with the renderer's name after it.
    void SetTitle(const std::string& title);

    bool openGL = true; ///< the renderer in use
    std::string error;  ///< why Open failed

  private:
    bool OpenOn(bool gl, int width, int height);
    std::string title_;
    void* window_ = nullptr; ///< the SDL window the drawing layer opened
};

} // namespace ravel::samples
