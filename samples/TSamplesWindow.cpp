// samples/TSamplesWindow.cpp: the window through the drawing layer, plus an SDL event filter for the
// wheel, drops, short clicks and resizing, which the layer's input queries do not report.
#include "samples/TSamplesWindow.h"

#include "platform/Graphics2D.h"
#include "platform/Input.h"
#include "platform/TDriver2D.h"
#include "platform/TGLDriver2D.h"
#include "platform/TSDLDriver2D.h"

#include <SDL.h>

#include <vector>

namespace ravel::samples
{

namespace
{
// What the filter saw since the last Poll.
struct TPending
{
    std::vector<TPress> presses;
    float wheel = 0.0f;
    std::vector<std::string> drops;
    int width = 0, height = 0; ///< the window's new size; 0 while unchanged
};
TPending pending;
SDL_EventFilter previousFilter = nullptr;
void* previousData = nullptr;
bool filtering = false;

int SDLCALL Watch(void*, SDL_Event* e)
{
    switch (e->type)
    {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int button = e->button.button == SDL_BUTTON_LEFT     ? 1
                     : e->button.button == SDL_BUTTON_RIGHT  ? 2
                     : e->button.button == SDL_BUTTON_MIDDLE ? 3
                                                             : 0;
        if (button)
            pending.presses.push_back({button, e->type == SDL_MOUSEBUTTONDOWN, e->button.x, e->button.y});
        break;
    }
    case SDL_MOUSEWHEEL:
        pending.wheel +=
            static_cast<float>(e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e->wheel.y : e->wheel.y);
        break;
    case SDL_WINDOWEVENT:
        if (e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        {
            pending.width = e->window.data1;
            pending.height = e->window.data2;
        }
        break;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
        // The name is SDL's to free; it is taken here and the event goes no further, so that nothing
        // after this keeps a pointer to it.
        if (e->drop.file)
        {
            if (e->type == SDL_DROPFILE)
                pending.drops.emplace_back(e->drop.file);
            SDL_free(e->drop.file);
            e->drop.file = nullptr;
        }
        return 0;
    default:
        break;
    }
    return previousFilter ? previousFilter(previousData, e) : 1;
}

void StartWatching()
{
    if (filtering)
        return;
    SDL_GetEventFilter(&previousFilter, &previousData);
    SDL_SetEventFilter(&Watch, nullptr);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    filtering = true;
}

void StopWatching()
{
    if (!filtering)
        return;
    SDL_SetEventFilter(previousFilter, previousData);
    previousFilter = nullptr;
    previousData = nullptr;
    filtering = false;
    pending = TPending{};
}

// The window the drawing layer opened last: SDL numbers windows from 1 upwards.
SDL_Window* NewestWindow()
{
    SDL_Window* newest = nullptr;
    for (Uint32 id = 1; id < 4096; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id))
            newest = w;
    return newest;
}
} // namespace

TSamplesWindow::~TSamplesWindow()
{
    Close();
}

bool TSamplesWindow::OpenOn(bool gl, int width, int height)
{
    SetGraphicsDriver(gl ? GLDriver2D() : SDLDriver2D(), GRAPHICS_BACKBUFFER);
    if (!OpenGraphics(width, height, 0, 60, 0))
        return false;
    openGL = gl;
    window_ = NewestWindow();
    if (auto* w = static_cast<SDL_Window*>(window_))
    {
        SDL_SetWindowResizable(w, SDL_TRUE);
        SDL_SetWindowMinimumSize(w, 640, 480);
    }
    StartWatching();
    if (!title_.empty())
        SetTitle(title_);
    return true;
}

bool TSamplesWindow::Open(bool gl, int width, int height)
{
    error.clear();
    if (OpenOn(gl, width, height))
        return true;
    std::string first = GraphicsError();
    if (OpenOn(!gl, width, height))
        return true;
    error = first + "; " + GraphicsError();
    return false;
}

void TSamplesWindow::Close()
{
    StopWatching();
    CloseGraphics();
    window_ = nullptr;
}

bool TSamplesWindow::SwitchRenderer()
{
    int width = GraphicsWidth(), height = GraphicsHeight();
    CloseGraphics();
    window_ = nullptr;
    return Open(!openGL, width, height);
}

TInput TSamplesWindow::Poll()
{
    TInput input;
    // Every key query processes the window's events, which passes them through the filter.
    for (int key : TestbedKeys())
        for (int n = KeyHitCount(key); n > 0; --n)
            input.keys.push_back(key);
    for (int key : HeldKeys())
        if (KeyDown(key))
            input.held.push_back(key);
    input.mouseX = MouseScreenX();
    input.mouseY = MouseScreenY();
    input.presses.swap(pending.presses);
    input.wheel = pending.wheel;
    pending.wheel = 0.0f;
    input.drops.swap(pending.drops);
    return input;
}

bool TSamplesWindow::FollowResize()
{
    int width = pending.width, height = pending.height;
    pending.width = pending.height = 0;
    TGraphics2D& state = CurrentGraphics2D();
    if (width <= 0 || height <= 0 || !state._graphics || !state._driver ||
        (width == state._graphics->width && height == state._graphics->height))
        return false;
    // The drawing layer opens fixed-size surfaces: the surface takes the window's new size and is made
    // current again, which sets the renderer's projection and clipping for it; the drawing state is
    // then handed to the renderer once more.
    state._graphics->width = width;
    state._graphics->height = height;
    state._driver->SetGraphics(state._graphics);
    SetViewport(0, 0, width, height);
    SetColor(state.color_red, state.color_green, state.color_blue);
    SetAlpha(state.color_alpha);
    SetBlend(state.blend_mode);
    SetClsColor(state.clscolor_red, state.clscolor_green, state.clscolor_blue);
    SetLineWidth(state.line_width);
    SetTransform(state.tform_rot, state.tform_scale_x, state.tform_scale_y);
    return true;
}

void TSamplesWindow::SetTitle(const std::string& title)
{
    title_ = title;
    std::string full = title + (openGL ? "  (OpenGL)" : "  (SDL renderer)");
    if (auto* w = static_cast<SDL_Window*>(window_))
        if (full != SDL_GetWindowTitle(w))
            SDL_SetWindowTitle(w, full.c_str());
}

} // namespace ravel::samples
