// platform/sdl/DisplayModes.cpp: full-screen mode selection over SDL's display-mode calls, the windows
// of full-screen surfaces, and the picture fitted to the desktop where a mode is missing.
#include "platform/sdl/DisplayModes.h"

#include "platform/Graphics2D.h"

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <dlfcn.h>

namespace ravel::detail
{

namespace
{
Uint32 FormatForDepth(int depth)
{
    // 0 lets SDL take the desktop's format, which is what 24- and 32-bit requests want.
    return depth == 16 ? SDL_PIXELFORMAT_RGB565 : 0;
}

class SDLDisplayModeCalls : public TDisplayModeCalls
{
  public:
    std::vector<TGraphicsMode> ListModes() override
    {
        std::vector<TGraphicsMode> modes;
        int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i)
        {
            SDL_DisplayMode m;
            if (SDL_GetDisplayMode(0, i, &m) == 0)
                modes.push_back({m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
        }
        return modes;
    }

    int ClosestMode(void* window, const TGraphicsMode& want, TGraphicsMode& got) override
    {
        int display = window ? SDL_GetWindowDisplayIndex(static_cast<SDL_Window*>(window)) : 0;
        if (display < 0)
            display = 0;
        SDL_DisplayMode wanted{FormatForDepth(want.depth), want.width, want.height, want.hz, nullptr};
        SDL_DisplayMode closest;
        if (!SDL_GetClosestDisplayMode(display, &wanted, &closest))
            return 0;
        got = {closest.w, closest.h, static_cast<int>(SDL_BITSPERPIXEL(closest.format)),
               closest.refresh_rate};
        return 1;
    }

    int EnterFullScreen(void* window, const TGraphicsMode& mode) override
    {
        auto* w = static_cast<SDL_Window*>(window);
        SDL_DisplayMode m{FormatForDepth(mode.depth), mode.width, mode.height, mode.hz, nullptr};
        if (SDL_SetWindowDisplayMode(w, &m) != 0)
            return 0;
        return SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN) == 0 ? 1 : 0;
    }

    int LeaveFullScreen(void* window) override
    {
        return SDL_SetWindowFullscreen(static_cast<SDL_Window*>(window), 0) == 0 ? 1 : 0;
    }

    int Minimize(void* window) override
    {
        SDL_MinimizeWindow(static_cast<SDL_Window*>(window));
        return 1;
    }

    int Restore(void* window) override
    {
        SDL_RestoreWindow(static_cast<SDL_Window*>(window));
        return 1;
    }

    int DesktopMode(void* window, TGraphicsMode& got) override
    {
        int display = window ? SDL_GetWindowDisplayIndex(static_cast<SDL_Window*>(window)) : 0;
        SDL_DisplayMode m;
        if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &m) != 0 || m.w <= 0 || m.h <= 0)
            return 0;
        got = {m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate};
        return 1;
    }

    int EnterDesktopFullScreen(void* window) override
    {
        return SDL_SetWindowFullscreen(static_cast<SDL_Window*>(window), SDL_WINDOW_FULLSCREEN_DESKTOP) == 0
                   ? 1
                   : 0;
    }
};

SDLDisplayModeCalls sdlCalls;
std::shared_ptr<TDisplayModeCalls> replacement;
} // namespace

int SetDisplayModeCalls(const std::shared_ptr<TDisplayModeCalls>& calls)
{
    replacement = calls;
    return 0;
}

TDisplayModeCalls& DisplayModeCalls()
{
    if (replacement)
        return *replacement;
    return sdlCalls;
}

int SetFullScreenMode(void* window, int width, int height, int depth, int hz)
{
    TDisplayModeCalls& calls = DisplayModeCalls();
    const int rates[2] = {hz, 0};
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        int rate = rates[attempt];
        if (attempt == 1 && hz == 0)
            break; // the first try already took any rate
        TGraphicsMode want{width, height, depth, rate}, got;
        if (!calls.ClosestMode(window, want, got))
            continue;
        if (got.width != width || got.height != height || (rate != 0 && got.hz != rate))
            continue;
        TGraphicsMode use{width, height, depth, rate != 0 ? rate : got.hz};
        if (calls.EnterFullScreen(window, use))
            return 1;
    }
    return 0;
}

} // namespace ravel::detail

namespace ravel::detail
{

TLetterbox FitPicture(int width, int height, int screenW, int screenH)
{
    TLetterbox box;
    if (width <= 0 || height <= 0 || screenW <= 0 || screenH <= 0)
        return box;
    // The smaller of the two factors, compared exactly: screenW / width < screenH / height.
    if (static_cast<long long>(screenW) * height <= static_cast<long long>(screenH) * width)
    {
        box.w = screenW;
        box.h = static_cast<int>((static_cast<long long>(height) * screenW * 2 + width) / (width * 2LL));
    }
    else
    {
        box.h = screenH;
        box.w = static_cast<int>((static_cast<long long>(width) * screenH * 2 + height) / (height * 2LL));
    }
    box.x = (screenW - box.w) / 2;
    box.y = (screenH - box.h) / 2;
    return box;
}

void TWindowGraphics::OpenWindow(Uint32 sdlFlags, const char* driverName, std::string& error)
{
    const std::string failed = std::string(driverName) + " graphics driver failed to set display mode";
    desktopFit = depth != 0 && (flags & GRAPHICS_DESKTOPFIT);
    if (desktopFit)
    {
        // Made at the desktop's size in its corner, so that it covers the screen even where nothing
        // handles the full-screen request.
        TGraphicsMode desktop;
        if (!DisplayModeCalls().DesktopMode(nullptr, desktop))
        {
            error = failed;
            return;
        }
        window = SDL_CreateWindow("Ravel", 0, 0, desktop.width, desktop.height, sdlFlags);
        if (!window)
        {
            error = std::string(driverName) + " graphics driver: no window: " + SDL_GetError();
            return;
        }
        if (!DisplayModeCalls().EnterDesktopFullScreen(window))
        {
            error = failed;
            return;
        }
        fullScreen = true;
        box = FitPicture(width, height, desktop.width, desktop.height);
        return;
    }
    window =
        SDL_CreateWindow("Ravel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, sdlFlags);
    if (!window)
    {
        error = std::string(driverName) + " graphics driver: no window: " + SDL_GetError();
        return;
    }
    if (depth != 0)
    {
        if (!SetFullScreenMode(window, width, height, depth, hz))
        {
            error = failed;
            return;
        }
        fullScreen = true;
    }
}

bool TWindowGraphics::EnterFullScreen()
{
    if (desktopFit)
        return DisplayModeCalls().EnterDesktopFullScreen(window) != 0;
    return SetFullScreenMode(window, width, height, depth, hz) != 0;
}

void TWindowGraphics::FocusChanged(int gained)
{
    if (depth == 0 || !window)
        return;
    TDisplayModeCalls& calls = DisplayModeCalls();
    if (!gained && fullScreen)
    {
        calls.LeaveFullScreen(window);
        calls.Minimize(window);
        fullScreen = false;
    }
    else if (gained && !fullScreen)
    {
        calls.Restore(window);
        fullScreen = EnterFullScreen();
    }
}

void TWindowGraphics::CentrePointer()
{
    if (!window)
        return;
    if (desktopFit)
        SDL_WarpMouseInWindow(window, box.x + box.w / 2, box.y + box.h / 2);
    else
        SDL_WarpMouseInWindow(window, width / 2, height / 2);
}

void TWindowGraphics::MapPointer(int& x, int& y) const
{
    if (!desktopFit || box.w <= 0 || box.h <= 0)
        return;
    x = static_cast<int>(std::floor(static_cast<double>(x - box.x) * width / box.w));
    y = static_cast<int>(std::floor(static_cast<double>(y - box.y) * height / box.h));
}

namespace
{
// When the X server goes away (the session ends, the server dies), Xlib calls its I/O error handler
// and then ends the program. The handler only notes it, so that nothing run at exit waits on the
// dead connection, and leaves the rest to the handler that was there before.
using XIOErrorHandler = int (*)(void*);
using SetIOErrorHandlerFn = XIOErrorHandler (*)(XIOErrorHandler);
XIOErrorHandler previousIOErrorHandler = nullptr;
bool displayLost = false;

int NoteDisplayLost(void* xdisplay)
{
    displayLost = true;
    return previousIOErrorHandler ? previousIOErrorHandler(xdisplay) : 0;
}

void WatchForALostDisplay()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0)
        return;
    // SDL has loaded Xlib for its X11 driver; the program itself does not link it. Xlib may have been
    // loaded afresh since the last start, so the handler is set on every start.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    auto set = xlib ? reinterpret_cast<SetIOErrorHandlerFn>(dlsym(xlib, "XSetIOErrorHandler")) : nullptr;
    if (set)
    {
        XIOErrorHandler before = set(&NoteDisplayLost);
        if (before != &NoteDisplayLost)
            previousIOErrorHandler = before;
    }
    if (xlib)
        dlclose(xlib);
}
} // namespace

bool StartVideo()
{
    // Full-screen graphics handle focus loss themselves (FocusChanged), so SDL must not as well.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    WatchForALostDisplay();
    return true;
}

bool DisplayLost()
{
    return displayLost;
}

void StopVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace ravel::detail
