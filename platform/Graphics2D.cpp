// platform/Graphics2D.cpp: the current graphics and drawing state, frame pacing, and where each
// primitive lands before it goes to the driver; the window system in use.
#include "platform/Graphics2D.h"

#include "platform/DegMath.h"
#include "platform/TClock.h"
#include "platform/TDriver2D.h"
#include "platform/TWindowSystem.h"

#include <cstdint>
#include <cstdlib>

namespace ravel
{

namespace
{
TDriver2DRef activeDriver;
int defaultFlags = GRAPHICS_BACKBUFFER;
TGraphicsRef current;
TGraphics2D state;
std::string lastError;
// Generation of the current graphics: image frames made for another generation are made again.
int graphicsSeq = 0;

// Frame pacing.
bool pacing = false;
int paceHz = 0;
std::int64_t paceTarget = 0; // milliseconds on the pacing clock
int paceCarry = 0;           // accumulated remainders of 1000 / hz

// A clock that never moves must not hang the calibration: it gives up after this many flips.
constexpr int MAX_CALIBRATION_FLIPS = 20000;

void UpdateMatrix()
{
    float c = CosDeg(state.tform_rot), s = SinDeg(state.tform_rot);
    state.tform_ix = c * state.tform_scale_x;
    state.tform_iy = -s * state.tform_scale_y;
    state.tform_jx = s * state.tform_scale_x;
    state.tform_jy = c * state.tform_scale_y;
    if (current)
        state._driver->SetTransform(state.tform_ix, state.tform_iy, state.tform_jx, state.tform_jy);
}

// Every field of the state goes to the driver, so a fresh surface starts exactly as the state says.
void ApplyState()
{
    TDriver2D& d = *state._driver;
    d.SetColor(state.color_red, state.color_green, state.color_blue);
    d.SetAlpha(state.color_alpha);
    d.SetClsColor(state.clscolor_red, state.clscolor_green, state.clscolor_blue);
    d.SetLineWidth(state.line_width);
    d.SetTransform(state.tform_ix, state.tform_iy, state.tform_jx, state.tform_jy);
    d.SetViewport(state.viewport_x, state.viewport_y, state.viewport_w, state.viewport_h);
    d.SetBlend(state.blend_mode);
}

// Full-screen graphics with a rate are timed: a display that really waits for its blank takes one
// period per Flip(1), and then needs no pacing of its own.
void CalibratePacing(int hz, int depth)
{
    TClock& clock = GetClock();
    pacing = hz > 0;
    paceHz = hz;
    paceCarry = 0;
    if (pacing && depth != 0)
    {
        const std::int64_t period = 1000 / hz;
        const std::int64_t start = clock.NowMs();
        int inRow = 0;
        for (int flips = 0; flips < MAX_CALIBRATION_FLIPS; ++flips)
        {
            std::int64_t before = clock.NowMs();
            if (before - start >= 1000)
                break;
            state._driver->Flip(1);
            std::int64_t took = clock.NowMs() - before;
            inRow = took >= period - 1 && took <= period + 1 ? inRow + 1 : 0;
            if (inRow == 3)
            {
                pacing = false;
                break;
            }
        }
    }
    paceTarget = clock.NowMs();
}

// Waits for the next frame time: 1000 / hz milliseconds on, with the remainders carried so that
// exactly hz frames fall in every second. A frame that is late moves the schedule instead of
// bunching the following frames together.
void Pace()
{
    TClock& clock = GetClock();
    paceTarget += 1000 / paceHz;
    paceCarry += 1000 % paceHz;
    if (paceCarry >= paceHz)
    {
        paceCarry -= paceHz;
        paceTarget += 1;
    }
    std::int64_t now = clock.NowMs();
    if (paceTarget > now)
        clock.SleepMs(paceTarget - now);
    else
        paceTarget = now;
}

// Never destroyed, so that graphics still open when the program ends can be closed through it.
TWindowSystemRef& Installed()
{
    static TWindowSystemRef* system = new TWindowSystemRef(std::make_shared<TWindowSystem>());
    return *system;
}

TWindowSystem& System()
{
    return *Installed();
}

void CloseAtExit()
{
    if (!System().DisplayLost())
        CloseGraphics();
}

TImageFrame* FrameOf(TImage& image, int frame)
{
    if (frame < 0 || static_cast<std::size_t>(frame) >= image.pixmaps.size() || !image.pixmaps[frame])
        return nullptr;
    if (image.frames.size() < image.pixmaps.size())
        image.frames.resize(image.pixmaps.size());
    if (image.seqs.size() < image.pixmaps.size())
        image.seqs.resize(image.pixmaps.size(), 0);
    // Made once per frame and graphics, even when the driver could not make it.
    if (image.seqs[frame] != graphicsSeq)
    {
        image.frames[frame] = state._driver->CreateFrameFromPixmap(image.pixmaps[frame], image.flags);
        image.seqs[frame] = graphicsSeq;
    }
    return image.frames[frame].get();
}
} // namespace

TGraphics2D& CurrentGraphics2D()
{
    return state;
}

int SetWindowSystem(const TWindowSystemRef& system)
{
    CloseGraphics();
    Installed() = system ? system : std::make_shared<TWindowSystem>();
    return 0;
}

TWindowSystemRef GetWindowSystem()
{
    return Installed();
}

int ShowErrorBox(const std::string& title, const std::string& text)
{
    return System().ShowError(title, text);
}

int SetGraphicsDriver(const TDriver2DRef& driver, int flags)
{
    CloseGraphics();
    activeDriver = driver;
    defaultFlags = flags;
    return 0;
}

TDriver2DRef GetGraphicsDriver()
{
    return activeDriver;
}

TGraphicsRef OpenGraphics(int width, int height, int depth, int hz, int flags)
{
    CloseGraphics();
    if (!activeDriver)
        activeDriver = System().DefaultDriver();
    if (!activeDriver)
    {
        lastError = "no graphics driver: none chosen, and the window system offers none";
        return nullptr;
    }
    TGraphicsRef graphics = activeDriver->CreateGraphics(width, height, depth, hz, flags | defaultFlags);
    if (!graphics)
    {
        System().DiscardWindowEvents(); // of the window the driver made and gave up
        lastError = activeDriver->LastError();
        if (lastError.empty())
            lastError = "graphics driver failed to create the surface";
        return nullptr;
    }
    lastError.clear();
    current = graphics;
    ++graphicsSeq;

    state = TGraphics2D{};
    state.viewport_w = graphics->width;
    state.viewport_h = graphics->height;
    state.image_font = TImageFont::CreateDefault();
    state._graphics = graphics;
    state._driver = activeDriver;
    activeDriver->SetGraphics(graphics);
    ApplyState();
    if (!state._setup)
    {
        // Both buffers start at the cls colour.
        activeDriver->Cls();
        activeDriver->Flip(0);
        activeDriver->Cls();
        activeDriver->Flip(0);
        state._setup = 1;
    }

    System().GraphicsOpened(graphics);
    if (graphics->depth != 0)
        graphics->CentrePointer();
    CalibratePacing(hz, graphics->depth);

    static bool atExitArranged = false;
    if (!atExitArranged)
    {
        atExitArranged = std::atexit(&CloseAtExit) == 0;
    }
    return graphics;
}

std::string GraphicsError()
{
    return lastError;
}

int CloseGraphics()
{
    if (!current)
        return 0;
    System().GraphicsClosed();
    TGraphicsRef closing = current;
    TDriver2DRef driver = state._driver;
    current.reset();
    pacing = false;
    driver->SetGraphics(nullptr);
    closing->Close();
    System().DiscardWindowEvents();
    state = TGraphics2D{};
    return 0;
}

int GraphicsWidth()
{
    return current ? current->width : 0;
}

int GraphicsHeight()
{
    return current ? current->height : 0;
}

int Cls()
{
    if (current)
        state._driver->Cls();
    return 0;
}

int Flip(int sync)
{
    if (!current)
        return 0;
    TDriver2D& driver = *state._driver;
    if (sync < 0)
    {
        if (!pacing)
            driver.Flip(current->depth != 0 ? 1 : 0);
        else
        {
            Pace();
            driver.Flip(0);
        }
    }
    else
        driver.Flip(sync);
    System().PumpEvents();
    return 0;
}

int SetColor(int r, int g, int b)
{
    state.color_red = r;
    state.color_green = g;
    state.color_blue = b;
    if (current)
        state._driver->SetColor(r, g, b);
    return 0;
}

int GetColor(int& r, int& g, int& b)
{
    r = state.color_red;
    g = state.color_green;
    b = state.color_blue;
    return 0;
}

int SetAlpha(float a)
{
    state.color_alpha = a;
    if (current)
        state._driver->SetAlpha(a);
    return 0;
}

float GetAlpha()
{
    return state.color_alpha;
}

int SetBlend(int mode)
{
    state.blend_mode = mode;
    if (current)
        state._driver->SetBlend(mode);
    return 0;
}

int GetBlend()
{
    return state.blend_mode;
}

int SetRotation(float degrees)
{
    state.tform_rot = degrees;
    UpdateMatrix();
    return 0;
}

float GetRotation()
{
    return state.tform_rot;
}

int SetScale(float sx, float sy)
{
    state.tform_scale_x = sx;
    state.tform_scale_y = sy;
    UpdateMatrix();
    return 0;
}

int GetScale(float& sx, float& sy)
{
    sx = state.tform_scale_x;
    sy = state.tform_scale_y;
    return 0;
}

int SetTransform(float rotation, float sx, float sy)
{
    state.tform_rot = rotation;
    state.tform_scale_x = sx;
    state.tform_scale_y = sy;
    UpdateMatrix();
    return 0;
}

int SetOrigin(float x, float y)
{
    state.origin_x = x;
    state.origin_y = y;
    return 0;
}

int GetOrigin(float& x, float& y)
{
    x = state.origin_x;
    y = state.origin_y;
    return 0;
}

int SetHandle(float x, float y)
{
    state.handle_x = -x;
    state.handle_y = -y;
    return 0;
}

int GetHandle(float& x, float& y)
{
    x = -state.handle_x;
    y = -state.handle_y;
    return 0;
}

int SetClsColor(int r, int g, int b)
{
    state.clscolor_red = r;
    state.clscolor_green = g;
    state.clscolor_blue = b;
    if (current)
        state._driver->SetClsColor(r, g, b);
    return 0;
}

int GetClsColor(int& r, int& g, int& b)
{
    r = state.clscolor_red;
    g = state.clscolor_green;
    b = state.clscolor_blue;
    return 0;
}

int SetViewport(int x, int y, int w, int h)
{
    state.viewport_x = x;
    state.viewport_y = y;
    state.viewport_w = w;
    state.viewport_h = h;
    if (current)
        state._driver->SetViewport(x, y, w, h);
    return 0;
}

int GetViewport(int& x, int& y, int& w, int& h)
{
    x = state.viewport_x;
    y = state.viewport_y;
    w = state.viewport_w;
    h = state.viewport_h;
    return 0;
}

int SetLineWidth(float w)
{
    state.line_width = w;
    if (current)
        state._driver->SetLineWidth(w);
    return 0;
}

float GetLineWidth()
{
    return state.line_width;
}

int Plot(float x, float y)
{
    if (current)
        state._driver->Plot(x + state.origin_x, y + state.origin_y);
    return 0;
}

int DrawLine(float x1, float y1, float x2, float y2, int lastPixel)
{
    if (!current)
        return 0;
    const TGraphics2D& s = state;
    float ex = s.handle_x + x2 - x1, ey = s.handle_y + y2 - y1;
    float tx = x1 + s.origin_x, ty = y1 + s.origin_y;
    s._driver->DrawLine(s.handle_x, s.handle_y, ex, ey, tx, ty);
    if (lastPixel)
        s._driver->Plot(ex * s.tform_ix + ey * s.tform_iy + tx, ex * s.tform_jx + ey * s.tform_jy + ty);
    return 0;
}

int DrawRect(float x, float y, float width, float height)
{
    if (current)
        state._driver->DrawRect(state.handle_x, state.handle_y, state.handle_x + width,
                                state.handle_y + height, x + state.origin_x, y + state.origin_y);
    return 0;
}

int DrawOval(float x, float y, float width, float height)
{
    if (current)
        state._driver->DrawOval(state.handle_x, state.handle_y, state.handle_x + width,
                                state.handle_y + height, x + state.origin_x, y + state.origin_y);
    return 0;
}

int DrawPoly(const std::vector<float>& xy)
{
    if (current && xy.size() >= 6 && xy.size() % 2 == 0)
        state._driver->DrawPoly(xy, state.handle_x, state.handle_y, state.origin_x, state.origin_y);
    return 0;
}

int DrawImage(const TImageRef& image, float x, float y, int frame)
{
    if (!current || !image)
        return 0;
    if (TImageFrame* f = FrameOf(*image, frame))
    {
        float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
        f->Draw(-image->handle_x, -image->handle_y, w - image->handle_x, h - image->handle_y,
                x + state.origin_x, y + state.origin_y);
    }
    return 0;
}

int DrawText(const std::string& text, float x, float y)
{
    if (!current || !state.image_font || !state.image_font->image)
        return 0;
    const TGraphics2D& s = state;
    const TImageFont& font = *s.image_font;
    float penX = x + s.origin_x + s.handle_x * s.tform_ix + s.handle_y * s.tform_iy;
    float penY = y + s.origin_y + s.handle_x * s.tform_jx + s.handle_y * s.tform_jy;
    float w = static_cast<float>(font.charWidth), h = static_cast<float>(font.charHeight);
    float advance = static_cast<float>(font.advance);
    for (unsigned char c : text)
    {
        int index = font.CharToFrame(c);
        if (index < 0)
            continue;
        if (TImageFrame* f = FrameOf(*font.image, index))
            f->Draw(0.0f, 0.0f, w, h, penX, penY);
        penX += advance * s.tform_ix;
        penY += advance * s.tform_jx;
    }
    return 0;
}

int TextWidth(const std::string& text)
{
    TImageFontRef font = state.image_font ? state.image_font : TImageFont::CreateDefault();
    int width = 0;
    for (unsigned char c : text)
        if (font->CharToFrame(c) >= 0)
            width += font->advance;
    return width;
}

int TextHeight(const std::string&)
{
    TImageFontRef font = state.image_font ? state.image_font : TImageFont::CreateDefault();
    return font->charHeight;
}

TPixmapRef GrabPixmap(int x, int y, int width, int height)
{
    if (!current || width <= 0 || height <= 0)
        return nullptr;
    return state._driver->GrabPixmap(x, y, width, height);
}

} // namespace ravel
