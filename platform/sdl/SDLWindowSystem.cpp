// platform/sdl/SDLWindowSystem.cpp: the SDL window system's graphics side and message box, and its
// installation as the program starts.
#include "platform/sdl/SDLWindowSystem.h"

#include "platform/TGLDriver2D.h"
#include "platform/sdl/DisplayModes.h"
#include "platform/sdl/Events.h"

#include <SDL.h>

#include <cstring>

namespace ravel::detail
{

namespace
{
// The graphics open now, which hear of focus changes and map pointer positions.
TGraphicsRef openGraphics;

void FocusChanged(int gained)
{
    if (openGraphics)
        openGraphics->FocusChanged(gained);
}

void MapPointer(int& x, int& y)
{
    if (openGraphics)
        openGraphics->MapPointer(x, y);
}
} // namespace

TDriver2DRef TSDLWindowSystem::DefaultDriver()
{
    return GLDriver2D();
}

void TSDLWindowSystem::GraphicsOpened(const TGraphicsRef& graphics)
{
    openGraphics = graphics;
    StartInputTracking();
    SetFocusHook(&FocusChanged);
    SetPointerMap(&MapPointer);
}

void TSDLWindowSystem::GraphicsClosed()
{
    SetFocusHook(nullptr);
    SetPointerMap(nullptr);
    StopInputTracking();
    openGraphics.reset();
}

bool TSDLWindowSystem::DisplayLost()
{
    return detail::DisplayLost();
}

int TSDLWindowSystem::ShowError(const std::string& title, const std::string& text)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return 0;
    // Only on a real display, where someone can close it.
    const char* driver = SDL_GetCurrentVideoDriver();
    int shown = 0;
    if (driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0)
        shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return shown;
}

namespace
{
// Linking the library is all a program does to get windows, input and the default renderer.
struct TInstaller
{
    TInstaller() { SetWindowSystem(std::make_shared<TSDLWindowSystem>()); }
} installer;
} // namespace

} // namespace ravel::detail

// Named on the link line of every program that links the library (the linker's --undefined), so that
// this file, and with it the installer above, is linked in although no program calls into it by name.
extern "C" const int ravel_sdl_window_system = 1;
