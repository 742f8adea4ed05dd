// Pixel tests of the drawing drivers: the test card read back with GrabPixmap and checked against the
// drawing rules, the drivers against each other, and full-screen mode selection through the
// display-mode seam. OpenGL runs in SDL's offscreen video driver (Mesa through EGL); the SDL driver on
// its software renderer in memory and in an offscreen window.
#include "scenes/testcard/TestCard.h"

#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/TClock.h"
#include "platform/TGLDriver2D.h"
#include "platform/TSDLDriver2D.h"
#include "platform/sdl/DisplayModes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace ravel;

// Read by the leak checker of sanitizer builds: allocations made inside the system's OpenGL, EGL, X11
// and D-Bus libraries are theirs to keep.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libEGL\nleak:libGLX\nleak:libGL.so\nleak:libGLdispatch\nleak:libgallium\nleak:swrast_dri\n"
           "leak:libLLVM\nleak:libglapi\nleak:dri_\nleak:libX11\nleak:libxcb\nleak:libdbus\n";
}

namespace
{
// Every test picks its video driver before SDL's video starts; a driver named in the environment (the
// real-window run under Xvfb names x11) is kept.
void UseOffscreenVideo()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
}

// Mesa keeps state for the life of the process that the leak checker would report. Holding the video
// and the OpenGL library for the whole run keeps Mesa's modules loaded, so that the reports name them
// and the suppressions above can match them.
class KeepOpenGLLoaded : public ::testing::Environment
{
  public:
    void SetUp() override
    {
        UseOffscreenVideo();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            SDL_GL_LoadLibrary(nullptr);
    }
    // Nothing is released: the leak check runs after the tests, when the modules must still be there.
};
const auto* const keepOpenGL = ::testing::AddGlobalTestEnvironment(new KeepOpenGLLoaded);

TDriver2DRef MakeDriver(const std::string& name)
{
    if (name == "gl")
        return GLDriver2D();
    if (name == "sdl_window")
        return SDLDriver2D();
    return SDLSurfaceDriver2D();
}

// printf-style formatting for failure messages.
template <typename... Args> std::string Format(const char* format, Args... args)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string Join(const std::vector<std::string>& lines, std::size_t most = 20)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < most; ++i)
        out += lines[i] + "\n";
    if (lines.size() > most)
        out += "... and " + std::to_string(lines.size() - most) + " more\n";
    return out;
}

class DriverTest : public ::testing::TestWithParam<std::string>
{
  protected:
    void SetUp() override
    {
        UseOffscreenVideo();
        SetGraphicsDriver(MakeDriver(GetParam()), GRAPHICS_BACKBUFFER);
    }
    void TearDown() override { SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER); }

    void Open(int w = testcard::WIDTH, int h = testcard::HEIGHT, int flags = 0)
    {
        ASSERT_TRUE(OpenGraphics(w, h, 0, 0, flags)) << GraphicsError();
    }

    TPixmapRef Card()
    {
        testcard::Draw();
        return GrabPixmap(0, 0, testcard::WIDTH, testcard::HEIGHT);
    }
};

TPixmapRef DrawCardWith(const std::string& driver)
{
    UseOffscreenVideo();
    SetGraphicsDriver(MakeDriver(driver), GRAPHICS_BACKBUFFER);
    TPixmapRef card;
    if (OpenGraphics(testcard::WIDTH, testcard::HEIGHT, 0, 0, 0))
    {
        testcard::Draw();
        card = GrabPixmap(0, 0, testcard::WIDTH, testcard::HEIGHT);
    }
    SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    return card;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Drivers, DriverTest, ::testing::Values("gl", "sdl_surface", "sdl_window"),
                         [](const auto& param) { return param.param; });

TEST_P(DriverTest, CardFollowsTheDrawingRules)
{
    Open();
    TPixmapRef card = Card();
    ASSERT_TRUE(card);
    ASSERT_EQ(card->width, testcard::WIDTH);
    ASSERT_EQ(card->height, testcard::HEIGHT);
    std::vector<std::string> failures = testcard::Check(*card, testcard::Probes());
    EXPECT_TRUE(failures.empty()) << Join(failures);
}

TEST_P(DriverTest, OvalIsThePolygonOfItsVertexCount)
{
    Open(64, 64);
    SetBlend(SOLIDBLEND);
    struct Size
    {
        float w, h;
    } sizes[] = {{10, 8}, {30, 20}, {16, 16}, {50, 13}};
    for (const Size& size : sizes)
    {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        const float x = 5.25f, y = 7.5f;
        Cls();
        DrawOval(x, y, size.w, size.h);
        TPixmapRef oval = GrabPixmap(0, 0, 64, 64);
        // The same vertices, worked out as the drawing rules give them.
        float rx = size.w * 0.5f, ry = size.h * 0.5f;
        int count = OvalVertexCount(rx, ry);
        std::vector<float> xy;
        for (int i = 0; i < count; ++i)
        {
            float angle = static_cast<float>(i) * 360.0f / static_cast<float>(count);
            float lx = rx + CosDeg(angle) * rx, ly = ry + SinDeg(angle) * ry;
            xy.push_back(lx * 1.0f + ly * 0.0f + x);
            xy.push_back(lx * 0.0f + ly * 1.0f + y);
        }
        Cls();
        DrawPoly(xy);
        TPixmapRef poly = GrabPixmap(0, 0, 64, 64);
        ASSERT_TRUE(oval && poly);
        EXPECT_EQ(oval->pixels, poly->pixels);
        int lit = 0;
        for (std::size_t i = 0; i < oval->pixels.size(); i += 4)
            lit += oval->pixels[i] == 255;
        EXPECT_GT(lit, 0);
    }
}

TEST_P(DriverTest, ClsFillsTheWholeSurfaceWhateverTheViewport)
{
    Open(64, 32);
    SetViewport(10, 10, 5, 5);
    SetClsColor(300, 20, -3);
    Cls();
    SetViewport(0, 0, 64, 32);
    TPixmapRef p = GrabPixmap(0, 0, 64, 32);
    ASSERT_TRUE(p);
    for (auto [x, y] : {std::pair{0, 0}, {63, 31}, {12, 12}, {40, 5}})
    {
        const std::uint8_t* px = p->At(x, y);
        EXPECT_EQ((std::vector<int>{px[0], px[1], px[2], px[3]}), (std::vector<int>{255, 20, 0, 255}))
            << x << "," << y;
    }
}

TEST_P(DriverTest, EmptyViewportDrawsNothing)
{
    Open(32, 32);
    SetClsColor(0, 0, 0);
    Cls();
    SetBlend(SOLIDBLEND);
    SetViewport(8, 8, 0, 10);
    DrawRect(0, 0, 32, 32);
    DrawLine(0, 10, 30, 10);
    DrawText("W", 8, 8);
    SetViewport(0, 0, 32, 32);
    TPixmapRef p = GrabPixmap(0, 0, 32, 32);
    ASSERT_TRUE(p);
    for (int i = 0; i < 32 * 32; ++i)
        ASSERT_EQ(p->pixels[i * 4] + p->pixels[i * 4 + 1] + p->pixels[i * 4 + 2], 0) << "pixel " << i;
}

TEST_P(DriverTest, ImagesAreMadeAgainForEachNewGraphics)
{
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = pixmap->height = 4;
    pixmap->format = PF_RGB888;
    pixmap->pixels.assign(4 * 4 * 3, 0);
    for (int i = 0; i < 16; ++i)
        pixmap->pixels[i * 3 + 1] = 222;
    TImageRef image = TImage::FromPixmap(pixmap, 0);
    for (int round = 0; round < 2; ++round)
    {
        Open(16, 16);
        DrawImage(image, 6, 6);
        TPixmapRef p = GrabPixmap(7, 7, 1, 1);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->pixels[1], 222) << "round " << round;
        CloseGraphics();
    }
}

TEST_P(DriverTest, GrabPixmapReadsOnlyTheSurface)
{
    Open(16, 8);
    SetClsColor(9, 8, 7);
    Cls();
    TPixmapRef p = GrabPixmap(-2, 6, 4, 4);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 4);
    ASSERT_EQ(p->height, 4);
    EXPECT_EQ(p->At(0, 0)[3], 0); // off the surface: nothing
    EXPECT_EQ(p->At(2, 0)[0], 9);
    EXPECT_EQ(p->At(3, 1)[3], 255); // no alpha buffer: opaque
    EXPECT_EQ(p->At(3, 2)[3], 0);   // below the surface
    EXPECT_FALSE(GrabPixmap(0, 0, 0, 5));
    TPixmapRef outside = GrabPixmap(100, 100, 2, 2);
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->pixels, std::vector<std::uint8_t>(16, 0));
}

TEST_P(DriverTest, DrawPixmapCopiesUnscaledEvenPartlyOffTheSurface)
{
    Open(16, 16);
    SetClsColor(0, 0, 0);
    Cls();
    TPixmap pixmap;
    pixmap.width = 4;
    pixmap.height = 3;
    pixmap.format = PF_RGB888;
    for (int i = 0; i < 12; ++i)
        pixmap.pixels.insert(pixmap.pixels.end(), {std::uint8_t(i * 20), 7, 99});
    SetScale(3, 3); // not for pixmaps
    GetGraphicsDriver()->DrawPixmap(pixmap, 5, 2);
    GetGraphicsDriver()->DrawPixmap(pixmap, -2, 13);
    TPixmapRef p = GrabPixmap(0, 0, 16, 16);
    ASSERT_TRUE(p);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
        {
            EXPECT_EQ(p->At(5 + x, 2 + y)[0], (y * 4 + x) * 20) << x << "," << y;
            EXPECT_EQ(p->At(5 + x, 2 + y)[2], 99);
        }
    EXPECT_EQ(p->At(9, 2)[2], 0);
    EXPECT_EQ(p->At(0, 13)[0], 2 * 20); // column 2 of the second copy
    EXPECT_EQ(p->At(1, 15)[0], (2 * 4 + 3) * 20);
}

namespace
{
// Pixels where two cards differ by more than one step in a channel, outside the regions skipped.
std::vector<std::string> Differences(const TPixmap& a, const TPixmap& b,
                                     const std::vector<testcard::TRegion>& skip)
{
    std::vector<std::string> diffs;
    for (int y = 0; y < testcard::HEIGHT; ++y)
        for (int x = 0; x < testcard::WIDTH; ++x)
        {
            bool skipped = false;
            for (const auto& r : skip)
                skipped = skipped || r.Contains(x, y);
            const std::uint8_t *pa = a.At(x, y), *pb = b.At(x, y);
            for (int c = 0; c < 3 && !skipped; ++c)
                if (std::abs(pa[c] - pb[c]) > 1)
                {
                    diffs.push_back(Format("(%d, %d) channel %d: %d against %d", x, y, c, pa[c], pb[c]));
                    break;
                }
        }
    return diffs;
}
} // namespace

TEST(DriverComparison, OpenGLAndSDLAgreeWithinOneStep)
{
    TPixmapRef gl = DrawCardWith("gl");
    ASSERT_TRUE(gl);
    for (std::string other : {"sdl_surface", "sdl_window"})
    {
        SCOPED_TRACE(other);
        TPixmapRef sdl = DrawCardWith(other);
        ASSERT_TRUE(sdl);
        std::vector<testcard::TRegion> skip = testcard::DriverSpecificRegions();
        if (other == "sdl_surface")
            skip.push_back(testcard::SoftwareTurnedImageRegion());
        std::vector<std::string> diffs = Differences(*gl, *sdl, skip);
        EXPECT_TRUE(diffs.empty()) << Join(diffs, 40);
    }
}

namespace
{
// A 1024 x 1024 image of four coloured quarters, turned and scaled to thousands of pixels across and
// drawn about the middle of a small surface, as a turning view draws a track.
const std::uint8_t kQuarters[4][3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}};

TPixmapRef DrawTurnedImageWith(const std::string& driver, float degrees, float scale)
{
    UseOffscreenVideo();
    SetGraphicsDriver(MakeDriver(driver), GRAPHICS_BACKBUFFER);
    TPixmapRef out;
    if (OpenGraphics(96, 72, 0, 0, 0))
    {
        auto pixmap = std::make_shared<TPixmap>();
        pixmap->width = pixmap->height = 1024;
        pixmap->format = PF_RGB888;
        pixmap->pixels.resize(1024 * 1024 * 3);
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1024; ++x)
                std::memcpy(&pixmap->pixels[(y * 1024 + x) * 3], kQuarters[(y / 512) * 2 + x / 512], 3);
        TImageRef image = TImage::FromPixmap(pixmap, 0);
        if (image)
        {
            SetImageHandle(image, 500, 530);
            SetClsColor(0, 0, 0);
            Cls();
            SetTransform(degrees, scale, scale);
            DrawImage(image, 50, 33);
            out = GrabPixmap(0, 0, 96, 72);
        }
    }
    SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    return out;
}

bool SameColour(const std::uint8_t* a, const std::uint8_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
} // namespace

// SDL's software renderer cannot draw such quads whole; the driver cuts them up. Every pixel must still
// be covered, by the quarter OpenGL shows there wherever that is not near a border between quarters
// (within two pixels: the software renderer puts every vertex, and so every cut, on a whole pixel).
TEST(DriverComparison, TurnedImagesFarLargerThanTheSurfaceDrawLikeOpenGL)
{
    for (float degrees : {90.0f, 30.0f, 197.0f})
        for (float scale : {1.0f, 6.0f})
        {
            SCOPED_TRACE(std::to_string(degrees) + " degrees, scale " + std::to_string(scale));
            TPixmapRef gl = DrawTurnedImageWith("gl", degrees, scale);
            ASSERT_TRUE(gl);
            for (std::string other : {"sdl_surface", "sdl_window"})
            {
                SCOPED_TRACE(other);
                TPixmapRef sdl = DrawTurnedImageWith(other, degrees, scale);
                ASSERT_TRUE(sdl);
                std::vector<std::string> diffs;
                for (int y = 0; y < 72; ++y)
                    for (int x = 0; x < 96; ++x)
                    {
                        const std::uint8_t* p = sdl->At(x, y);
                        bool known = false;
                        for (const auto& q : kQuarters)
                            known = known || SameColour(p, q);
                        bool border = false;
                        for (int dy = -2; dy <= 2; ++dy)
                            for (int dx = -2; dx <= 2; ++dx)
                            {
                                int nx = std::clamp(x + dx, 0, 95), ny = std::clamp(y + dy, 0, 71);
                                border = border || !SameColour(gl->At(nx, ny), gl->At(x, y));
                            }
                        if (!known || (!border && !SameColour(p, gl->At(x, y))))
                        {
                            const std::uint8_t* g = gl->At(x, y);
                            diffs.push_back(Format("(%d, %d): %d %d %d against %d %d %d", x, y, p[0], p[1],
                                                   p[2], g[0], g[1], g[2]));
                        }
                    }
                EXPECT_TRUE(diffs.empty()) << diffs.size() << " pixels wrong:\n" << Join(diffs);
            }
        }
}

TEST(GLDriver, FiltersAndMipmapsAsAsked)
{
    TPixmapRef gl = DrawCardWith("gl");
    ASSERT_TRUE(gl);
    std::vector<std::string> failures = testcard::Check(*gl, testcard::FilterProbes());
    EXPECT_TRUE(failures.empty()) << Join(failures);
}

// Full screen through the display-mode seam.

namespace
{
class FakeDisplay : public detail::TDisplayModeCalls
{
  public:
    TGraphicsMode offered{320, 240, 32, 0}; // the one mode the display has
    bool refuseEnter = false;
    std::vector<std::string> log;

    std::vector<TGraphicsMode> ListModes() override { return {offered}; }
    int ClosestMode(void*, const TGraphicsMode& want, TGraphicsMode& got) override
    {
        log.push_back("closest " + Mode(want));
        if (want.width > offered.width || want.height > offered.height)
            return 0;
        got = offered; // like SDL: the smallest mode at least as large, whatever its rate
        return 1;
    }
    int EnterFullScreen(void*, const TGraphicsMode& mode) override
    {
        log.push_back("enter " + Mode(mode));
        return refuseEnter ? 0 : 1;
    }
    int LeaveFullScreen(void*) override { return log.push_back("leave"), 1; }
    int Minimize(void*) override { return log.push_back("minimize"), 1; }
    int Restore(void*) override { return log.push_back("restore"), 1; }
    int DesktopMode(void*, TGraphicsMode& got) override { return got = offered, 1; }
    int EnterDesktopFullScreen(void*) override { return log.push_back("desktop"), 1; }

    static std::string Mode(const TGraphicsMode& m)
    {
        return std::to_string(m.width) + "x" + std::to_string(m.height) + "@" + std::to_string(m.hz);
    }
};

// Each call moves time on, so the blank calibration of full-screen graphics ends at once.
class RushingClock : public TClock
{
  public:
    std::int64_t now = 0;
    std::int64_t NowMs() override { return now += 600; }
    void SleepMs(std::int64_t) override {}
};

class FullScreenTest : public ::testing::TestWithParam<std::string>
{
  protected:
    void SetUp() override
    {
        UseOffscreenVideo();
        display = std::make_shared<FakeDisplay>();
        detail::SetDisplayModeCalls(display);
        SetClock(std::make_shared<RushingClock>());
        SetGraphicsDriver(MakeDriver(GetParam()), GRAPHICS_BACKBUFFER);
    }
    void TearDown() override
    {
        SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
        detail::SetDisplayModeCalls(nullptr);
        SetClock(nullptr);
    }
    std::shared_ptr<FakeDisplay> display;
};
} // namespace

INSTANTIATE_TEST_SUITE_P(WindowDrivers, FullScreenTest, ::testing::Values("gl", "sdl_window"),
                         [](const auto& param) { return param.param; });

TEST_P(FullScreenTest, ModeWithoutTheRateIsTriedSecond)
{
    TGraphicsRef g = OpenGraphics(320, 240, 32, 60, 0);
    ASSERT_TRUE(g) << GraphicsError();
    EXPECT_EQ(display->log,
              (std::vector<std::string>{"closest 320x240@60", "closest 320x240@0", "enter 320x240@0"}));
    EXPECT_EQ(g->depth, 32);
    SetClsColor(1, 2, 3);
    Cls();
    TPixmapRef p = GrabPixmap(160, 120, 1, 1);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixels[2], 3);
}

TEST_P(FullScreenTest, ModeAtTheRateIsTakenFirst)
{
    display->offered.hz = 75;
    ASSERT_TRUE(OpenGraphics(320, 240, 32, 75, 0)) << GraphicsError();
    EXPECT_EQ(display->log, (std::vector<std::string>{"closest 320x240@75", "enter 320x240@75"}));
}

TEST_P(FullScreenTest, NoFittingModeFailsWithTheMessage)
{
    // SDL would offer the larger 320 x 240 for 200 x 150 and report success; the size is checked.
    EXPECT_FALSE(OpenGraphics(200, 150, 32, 60, 0));
    EXPECT_FALSE(OpenGraphics(640, 480, 32, 60, 0));
    std::string want = GetParam() == "gl" ? "GL graphics driver failed to set display mode"
                                          : "SDL graphics driver failed to set display mode";
    EXPECT_EQ(GraphicsError(), want);
    EXPECT_EQ(GraphicsWidth(), 0);
    display->refuseEnter = true;
    display->log.clear();
    EXPECT_FALSE(OpenGraphics(320, 240, 32, 0, 0));
    EXPECT_EQ(display->log, (std::vector<std::string>{"closest 320x240@0", "enter 320x240@0"}));
    EXPECT_EQ(GraphicsError(), want);
}

TEST_P(FullScreenTest, FocusLossGivesTheDisplayBackAndGainTakesItAgain)
{
    ASSERT_TRUE(OpenGraphics(320, 240, 32, 0, 0)) << GraphicsError();
    display->log.clear();
    auto focus = [](Uint8 event) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = event;
        SDL_PushEvent(&e);
        Flip(0); // the window events are handled in Flip
    };
    focus(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(display->log, (std::vector<std::string>{"leave", "minimize"}));
    display->log.clear();
    focus(SDL_WINDOWEVENT_FOCUS_LOST); // already given back
    EXPECT_TRUE(display->log.empty());
    focus(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(display->log, (std::vector<std::string>{"restore", "closest 320x240@0", "enter 320x240@0"}));
}

// A display without the mode: the surface keeps the size asked for and draws exactly as it would in
// that mode; the window covers the desktop, and the focus takes the desktop's full screen again.
TEST_P(FullScreenTest, DesktopFitDrawsAtTheAskedSizeOverTheWholeDesktop)
{
    display->offered = {600, 200, 32, 60};
    TGraphicsRef g = OpenGraphics(testcard::WIDTH, testcard::HEIGHT, 32, 0, GRAPHICS_DESKTOPFIT);
    ASSERT_TRUE(g) << GraphicsError();
    EXPECT_EQ(display->log, (std::vector<std::string>{"desktop"}));
    EXPECT_EQ(GraphicsWidth(), testcard::WIDTH);
    EXPECT_EQ(GraphicsHeight(), testcard::HEIGHT);
    auto* window = static_cast<detail::TWindowGraphics*>(g.get());
    int w = 0, h = 0;
    SDL_GetWindowSize(window->window, &w, &h);
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 200);
    for (int frame = 0; frame < 2; ++frame)
    {
        testcard::Draw();
        TPixmapRef card = GrabPixmap(0, 0, testcard::WIDTH, testcard::HEIGHT);
        ASSERT_TRUE(card);
        std::vector<std::string> failures = testcard::Check(*card, testcard::Probes());
        EXPECT_TRUE(failures.empty()) << Join(failures);
        Flip(0); // shows the picture scaled; drawing goes on at the surface's size
    }
    // 256 x 128 on 600 x 200: scaled by 200 / 128 to 400 x 200, 100 pixels of black each side.
    EXPECT_EQ(window->box.x, 100);
    EXPECT_EQ(window->box.w, 400);
    EXPECT_EQ(window->box.h, 200);
    int x = 100 + 200, y = 100;
    window->MapPointer(x, y);
    EXPECT_EQ(x, 128);
    EXPECT_EQ(y, 64);

    display->log.clear();
    g->FocusChanged(0);
    g->FocusChanged(1);
    EXPECT_EQ(display->log, (std::vector<std::string>{"leave", "minimize", "restore", "desktop"}));
}

TEST(FitPicture, ScalesByTheSmallerFactorAndCentres)
{
    detail::TLetterbox b = detail::FitPicture(800, 600, 1280, 1024);
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 32);
    EXPECT_EQ(b.w, 1280);
    EXPECT_EQ(b.h, 960);
    b = detail::FitPicture(1024, 768, 800, 600); // smaller than the picture: scaled down
    EXPECT_EQ(b.w, 800);
    EXPECT_EQ(b.h, 600);
    b = detail::FitPicture(1024, 768, 1920, 1080); // wide screen: bars left and right
    EXPECT_EQ(b.x, 240);
    EXPECT_EQ(b.y, 0);
    EXPECT_EQ(b.w, 1440);
    EXPECT_EQ(b.h, 1080);
    b = detail::FitPicture(800, 600, 0, 0);
    EXPECT_EQ(b.w + b.h, 0);
}

TEST(WindowGraphics, FocusChangesLeaveWindowsAlone)
{
    UseOffscreenVideo();
    auto display = std::make_shared<FakeDisplay>();
    detail::SetDisplayModeCalls(display);
    SetGraphicsDriver(GLDriver2D(), GRAPHICS_BACKBUFFER);
    TGraphicsRef g = OpenGraphics(64, 64, 0, 0, 0);
    ASSERT_TRUE(g) << GraphicsError();
    g->FocusChanged(0);
    g->FocusChanged(1);
    EXPECT_TRUE(display->log.empty());
    SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    detail::SetDisplayModeCalls(nullptr);
}

// A real window on an X server: run by ctest under xvfb-run with RAVEL_XVFB set, skipped otherwise.
TEST(RealWindow, BothDriversDrawAndPresentOnAnXServer)
{
    if (!std::getenv("RAVEL_XVFB"))
        GTEST_SKIP() << "needs an X server (run under xvfb-run with RAVEL_XVFB=1)";
    for (std::string name : {"gl", "sdl_window"})
    {
        SCOPED_TRACE(name);
        SetGraphicsDriver(MakeDriver(name), GRAPHICS_BACKBUFFER);
        ASSERT_TRUE(OpenGraphics(testcard::WIDTH, testcard::HEIGHT, 0, 60, 0)) << GraphicsError();
        EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        for (int frame = 0; frame < 3; ++frame)
        {
            testcard::Draw();
            TPixmapRef card = GrabPixmap(0, 0, testcard::WIDTH, testcard::HEIGHT);
            ASSERT_TRUE(card);
            std::vector<std::string> failures = testcard::Check(*card, testcard::Probes());
            EXPECT_TRUE(failures.empty()) << Join(failures);
            Flip(-1);
        }
        SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    }
}
