// platform/sdl/DisplayModes.h: the display-mode calls of full-screen graphics, replaceable so that
// tests can make the display refuse modes.
#pragma once
#include "platform/TDriver2D.h"

#include <SDL_stdinc.h>

#include <memory>
#include <string>
#include <vector>

struct SDL_Window;

namespace ravel::detail
{

/// The calls full-screen graphics make on the display. `window` is the SDL window.
class TDisplayModeCalls
{
  public:
    virtual ~TDisplayModeCalls() = default;
    /// Modes the display lists.
    virtual std::vector<TGraphicsMode> ListModes() = 0;
    /// The display's mode closest to `want` (hz 0: any rate) into `got`; 0 when nothing fits.
    virtual int ClosestMode(void* window, const TGraphicsMode& want, TGraphicsMode& got) = 0;
    /// Switches the display to the mode and puts the window full screen; 0 when refused.
    virtual int EnterFullScreen(void* window, const TGraphicsMode& mode) = 0;
    /// Gives the display back its desktop mode and makes the window a window again.
    virtual int LeaveFullScreen(void* window) = 0;
    virtual int Minimize(void* window) = 0;
    virtual int Restore(void* window) = 0;
    /// The desktop's own mode on the window's display (null window: the first display); 0 when unknown.
    virtual int DesktopMode(void* window, TGraphicsMode& got) = 0;
    /// Puts the window full screen over the desktop at the desktop's own mode; 0 when refused.
    virtual int EnterDesktopFullScreen(void* window) = 0;
};

/// Replaces the calls; null restores SDL's own.
int SetDisplayModeCalls(const std::shared_ptr<TDisplayModeCalls>& calls);
TDisplayModeCalls& DisplayModeCalls();

/// Puts the window full screen at width x height and the rate, else at that size with any rate. The
/// display's closest mode is checked by hand (SDL reports success even when no mode fits): its size
/// must match, and so must its rate on the first try. 1 on success.
int SetFullScreenMode(void* window, int width, int height, int depth, int hz);

/// Where a picture of width x height lands on a screen of screenW x screenH: scaled by the largest
/// factor that fits, centred, in whole pixels.
struct TLetterbox
{
    int x = 0, y = 0, w = 0, h = 0;
};
TLetterbox FitPicture(int width, int height, int screenW, int screenH);

/// A surface in an SDL window, which in full screen gives the display back while it has no focus.
/// Opened with GRAPHICS_DESKTOPFIT it covers the desktop and shows its picture in `box`.
class TWindowGraphics : public TGraphics
{
  public:
    SDL_Window* window = nullptr;
    bool fullScreen = false; ///< the display is in this surface's mode now
    bool desktopFit = false; ///< full screen at the desktop's mode, the picture scaled into `box`
    TLetterbox box;          ///< where the picture was last shown, in window pixels

    void FocusChanged(int gained) override;
    void CentrePointer() override;
    void MapPointer(int& x, int& y) const override;

    /// Creates the window for the surface: a window of the size, full screen in that mode, or with
    /// GRAPHICS_DESKTOPFIT full screen over the desktop. `flags` are SDL's window flags. On failure
    /// `error` says why and the window is null.
    void OpenWindow(Uint32 flags, const char* driverName, std::string& error);
    /// Takes the full screen again after the focus came back.
    bool EnterFullScreen();
};

/// Starts SDL's video (counted: every success needs one StopVideo); false when there is no display.
bool StartVideo();
/// True once the connection to the display has broken: the program is ending, and closing windows
/// would wait on the dead connection for ever.
bool DisplayLost();
void StopVideo();

} // namespace ravel::detail
