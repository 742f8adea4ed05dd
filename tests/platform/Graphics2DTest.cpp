// Tests of the drawing front end on a recording driver and a fake clock: start state, where
// primitives land, image frames, frame pacing and its calibration, the first-use clear; the shared
// geometry (ellipse vertex counts, polygon triangulation); and the front end with no window system.
#include "platform/Graphics2D.h"

#include "tests/platform/FakeDriver.h"

#include "platform/Input.h"
#include "platform/TWindowSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace ravel;
using namespace ravel::test;

namespace
{
using Graphics2DTest = FakeDriverTest;
} // namespace

TEST_F(Graphics2DTest, OpeningStartsAFreshStateAndClearsBothBuffers)
{
    SetColor(1, 2, 3); // on the detached state: forgotten by the opening
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, GRAPHICS_DEPTHBUFFER));
    EXPECT_EQ(GraphicsWidth(), 320);
    EXPECT_EQ(GraphicsHeight(), 200);
    ExpectArgs(driver->Named("CreateGraphics")[0],
               {320, 200, 0, 0, GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER});

    const TGraphics2D& s = CurrentGraphics2D();
    EXPECT_EQ(s.color_red + s.color_green + s.color_blue, 765);
    EXPECT_EQ(s.color_alpha, 1.0f);
    EXPECT_EQ(s.clscolor_red + s.clscolor_green + s.clscolor_blue, 0);
    EXPECT_EQ(s.line_width, 1.0f);
    EXPECT_EQ(s.tform_rot, 0.0f);
    EXPECT_EQ(s.tform_ix, 1.0f);
    EXPECT_EQ(s.tform_iy, 0.0f);
    EXPECT_EQ(s.tform_jx, 0.0f);
    EXPECT_EQ(s.tform_jy, 1.0f);
    EXPECT_EQ(s.viewport_w, 320);
    EXPECT_EQ(s.viewport_h, 200);
    EXPECT_EQ(s.blend_mode, MASKBLEND);
    EXPECT_EQ(s._setup, 1);
    EXPECT_TRUE(s.image_font);
    EXPECT_EQ(s._driver, driver);

    // The driver hears every start value, then the surface is cleared and shown twice.
    std::vector<std::string> names;
    for (const Call& c : driver->calls)
        names.push_back(c.name);
    std::vector<std::string> tail(names.end() - 4, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Cls", "Flip", "Cls", "Flip"}));
    for (const Call& c : driver->Named("Flip"))
        EXPECT_EQ(c.args[0], 0.0f);
    ExpectArgs(driver->Named("SetColor")[0], {255, 255, 255});
    ExpectArgs(driver->Named("SetViewport")[0], {0, 0, 320, 200});
    ExpectArgs(driver->Named("SetBlend")[0], {MASKBLEND});
}

TEST_F(Graphics2DTest, SettersStoreAsGivenAndLeaveClampingToTheDriver)
{
    Open();
    SetColor(300, -5, 0);
    SetAlpha(1.5f);
    SetClsColor(-1, 256, 7);
    SetBlend(9);
    SetLineWidth(-2.0f);
    SetViewport(5, 6, -7, 8);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{300, -5, 0}));
    EXPECT_EQ(GetAlpha(), 1.5f);
    GetClsColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{-1, 256, 7}));
    EXPECT_EQ(GetBlend(), 9);
    EXPECT_EQ(GetLineWidth(), -2.0f);
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{5, 6, -7, 8}));
    ExpectArgs(driver->Named("SetColor").back(), {300, -5, 0});
    ExpectArgs(driver->Named("SetAlpha").back(), {1.5f});
    ExpectArgs(driver->Named("SetClsColor").back(), {-1, 256, 7});
    ExpectArgs(driver->Named("SetBlend").back(), {9});
    ExpectArgs(driver->Named("SetViewport").back(), {5, 6, -7, 8});

    float hx, hy;
    SetHandle(3.0f, -4.0f);
    GetHandle(hx, hy);
    EXPECT_EQ(hx, 3.0f);
    EXPECT_EQ(hy, -4.0f);
    EXPECT_EQ(CurrentGraphics2D().handle_x, -3.0f); // stored negated
}

TEST_F(Graphics2DTest, MatrixFollowsRotationAndScale)
{
    Open();
    struct Case
    {
        float rot, sx, sy;
    } cases[] = {{0, 1, 1}, {90, 1, 1}, {30, 2, 3}, {-45, 1, -1}, {180, 0.5f, 2}};
    for (const Case& c : cases)
    {
        SetRotation(c.rot);
        SetScale(c.sx, c.sy);
        const TGraphics2D& s = CurrentGraphics2D();
        double cr = std::cos(c.rot * 3.14159265358979323846 / 180.0);
        double sr = std::sin(c.rot * 3.14159265358979323846 / 180.0);
        std::vector<float> want{float(cr * c.sx), float(-sr * c.sy), float(sr * c.sx), float(cr * c.sy)};
        ExpectArgs({"state", {s.tform_ix, s.tform_iy, s.tform_jx, s.tform_jy}}, want);
        ExpectArgs(driver->Named("SetTransform").back(), want);
        float sx, sy;
        GetScale(sx, sy);
        EXPECT_EQ(GetRotation(), c.rot);
        EXPECT_EQ(sx, c.sx);
        EXPECT_EQ(sy, c.sy);
    }
}

TEST_F(Graphics2DTest, PrimitivesLandWithHandleOriginAndMatrix)
{
    Open();
    SetOrigin(10, 20);
    SetHandle(3, 4);
    DrawRect(5, 6, 7, 8);
    DrawOval(5, 6, 7, 8);
    ExpectArgs(driver->Named("DrawRect")[0], {-3, -4, 4, 4, 15, 26});
    ExpectArgs(driver->Named("DrawOval")[0], {-3, -4, 4, 4, 15, 26});

    SetRotation(90);
    DrawLine(1, 2, 11, 7, 1);
    DrawLine(1, 2, 11, 7, 0);
    ExpectArgs(driver->Named("DrawLine")[0], {-3, -4, 7, 1, 11, 22});
    // The last pixel is the mapped second end: (7, 1) turned by 90 degrees is (-1, 7).
    ASSERT_EQ(driver->Named("Plot").size(), 1u);
    ExpectArgs(driver->Named("Plot")[0], {10, 29});

    DrawPoly({0, 0, 10, 0, 10, 10});
    ExpectArgs(driver->Named("DrawPoly")[0], {0, 0, 10, 0, 10, 10, -3, -4, 10, 20});
    DrawPoly({0, 0, 10, 0});     // two vertices
    DrawPoly({0, 0, 10, 0, 10}); // odd count
    DrawPoly({});
    EXPECT_EQ(driver->Named("DrawPoly").size(), 1u);

    Plot(1, 2); // origin only
    ExpectArgs(driver->Named("Plot").back(), {11, 22});
}

TEST_F(Graphics2DTest, ImagesUseTheirOwnHandleAndGetOneFramePerGraphics)
{
    Open();
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 6;
    pixmap->height = 4;
    pixmap->format = PF_RGBA8888;
    pixmap->pixels.assign(6 * 4 * 4, 255);
    TImageRef image = TImage::FromPixmap(pixmap, FILTEREDIMAGE);
    ASSERT_TRUE(image);
    SetImageHandle(image, 2, 1);
    SetOrigin(100, 50);
    SetHandle(30, 30); // the state's handle does not apply to images
    DrawImage(image, 5, 6, 0);
    DrawImage(image, 7, 8, 0);
    DrawImage(image, 7, 8, 1); // no such frame
    DrawImage(nullptr, 7, 8, 0);
    auto made = driver->Named("CreateFrame");
    ASSERT_EQ(made.size(), 1u);
    ExpectArgs(made[0], {FILTEREDIMAGE});
    auto draws = driver->Named("FrameDraw");
    ASSERT_EQ(draws.size(), 2u);
    ExpectArgs(draws[0], {0, -2, -1, 4, 3, 105, 56});

    // A new graphics makes the frame again, once.
    CloseGraphics();
    Open();
    DrawImage(image, 0, 0, 0);
    DrawImage(image, 0, 0, 0);
    EXPECT_EQ(driver->Named("CreateFrame").size(), 1u);
    EXPECT_EQ(driver->framesMade, 2);
}

TEST_F(Graphics2DTest, TextPenFollowsMatrixAndSkipsCodesWithoutGlyphs)
{
    Open();
    SetOrigin(1, 2);
    SetHandle(-4, 0); // stored (4, 0): the pen starts 4 pixels along the turned x axis
    SetRotation(90);
    DrawText("A\xC3\xA9"
             "B\x7f\x1f",
             10, 20);
    auto draws = driver->Named("FrameDraw");
    ASSERT_EQ(draws.size(), 3u); // A, B and DEL (127); the UTF-8 bytes of e-acute and 31 have none
    std::vector<float> penY;
    for (const Call& c : draws)
    {
        EXPECT_EQ(c.args[1], 0.0f);
        EXPECT_EQ(c.args[3], 8.0f);
        EXPECT_EQ(c.args[4], 16.0f);
        EXPECT_NEAR(c.args[5], 11.0f, 1e-5f);
        penY.push_back(c.args[6]);
    }
    EXPECT_NEAR(penY[0], 26.0f, 1e-5f);
    EXPECT_NEAR(penY[1], 34.0f, 1e-5f);
    EXPECT_NEAR(penY[2], 42.0f, 1e-5f);
    EXPECT_EQ(TextWidth("A\xC3\xA9"
                        "B"),
              16);
    EXPECT_EQ(TextHeight("A"), 16);
}

TEST_F(Graphics2DTest, NothingIsDrawnWhileClosed)
{
    Open();
    CloseGraphics();
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(driver->last->closed, 1);
    driver->calls.clear();
    DrawRect(0, 0, 5, 5);
    DrawText("x", 0, 0);
    Cls();
    Flip(0);
    SetColor(1, 2, 3);
    EXPECT_TRUE(driver->calls.empty());
    EXPECT_FALSE(GrabPixmap(0, 0, 1, 1));
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 6);
}

TEST_F(Graphics2DTest, FailedOpeningReturnsNullWithTheDriversReason)
{
    driver->refuse = true;
    EXPECT_FALSE(OpenGraphics(320, 200, 32, 60, 0));
    EXPECT_EQ(GraphicsError(), "refused");
    EXPECT_EQ(GraphicsWidth(), 0);
    driver->refuse = false;
    EXPECT_TRUE(OpenGraphics(320, 200, 0, 60, 0));
    EXPECT_EQ(GraphicsError(), "");
}

// Pacing: exactly hz frames in every second, whatever the remainder of 1000 / hz.
TEST_F(Graphics2DTest, PacedFlipsFitExactlyHzFramesInASecond)
{
    for (int hz : {60, 50, 75, 144, 7, 1, 1500})
    {
        SCOPED_TRACE(hz);
        Open(320, 200, 0, hz);
        std::int64_t start = clock->now;
        for (int f = 1; f <= 3 * hz; ++f)
        {
            Flip(-1);
            if (f % hz == 0)
            {
                EXPECT_EQ(clock->now - start, 1000 * (f / hz));
            }
        }
        for (const Call& c : driver->Named("Flip"))
            EXPECT_EQ(c.args[0], 0.0f);
        CloseGraphics();
    }
}

TEST_F(Graphics2DTest, LateFrameMovesTheScheduleInsteadOfBunching)
{
    Open(320, 200, 0, 50); // 20 ms a frame
    Flip(-1);
    EXPECT_EQ(clock->sleeps.back(), 20);
    clock->now += 75; // a stall of more than three frames
    std::size_t sleeps = clock->sleeps.size();
    Flip(-1);
    EXPECT_EQ(clock->sleeps.size(), sleeps); // no sleep: shown at once
    std::int64_t after = clock->now;
    Flip(-1);
    Flip(-1);
    EXPECT_EQ(clock->now - after, 40); // back at 20 ms a frame, not racing to make up the lost ones
    clock->now += 5;                   // a frame that takes part of its period
    Flip(-1);
    EXPECT_EQ(clock->sleeps.back(), 15);
}

TEST_F(Graphics2DTest, UnpacedFlipUsesTheBlankOnlyInFullScreen)
{
    std::vector<float> flips;
    Open(320, 200, 0, 0);
    Flip(-1);
    Flip(1);
    for (const Call& c : driver->Named("Flip"))
        flips.push_back(c.args[0]);
    Open(320, 200, 32, 0); // no calibration without a rate
    Flip(-1);
    for (const Call& c : driver->Named("Flip"))
        flips.push_back(c.args[0]);
    EXPECT_EQ(flips, (std::vector<float>{0, 1, 1}));
    EXPECT_TRUE(clock->sleeps.empty());
}

TEST_F(Graphics2DTest, CalibrationTrustsOnlyThreeBlankTimedFlipsInARow)
{
    struct Case
    {
        std::vector<int> flipMs;
        bool paced;
    } cases[] = {
        {{16}, false}, // 1000 / 60 exactly
        {{17}, false}, // within a millisecond
        {{15}, false}, //
        {{20, 16, 16, 16}, false},
        {{16, 16, 10}, true}, // never three in a row
        {{1}, true},          // no blank at all
        {{30}, true},         // a slow display
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.flipMs));
        driver->flip1Pattern = c.flipMs;
        driver->flip1Index = 0;
        driver->calls.clear();
        std::int64_t start = clock->now;
        ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
        std::int64_t calibration = clock->now - start;
        if (c.paced)
        {
            EXPECT_GE(calibration, 1000);
        }
        EXPECT_LE(calibration, 1000 + 30);
        EXPECT_EQ(driver->last->centred, 1);
        driver->calls.clear();
        std::size_t sleeps = clock->sleeps.size();
        Flip(-1);
        auto flips = driver->Named("Flip");
        ASSERT_EQ(flips.size(), 1u);
        EXPECT_EQ(flips[0].args[0], c.paced ? 0.0f : 1.0f);
        EXPECT_EQ(clock->sleeps.size() > sleeps, c.paced);
        CloseGraphics();
    }
}

TEST_F(Graphics2DTest, CalibrationGivesUpOnAClockThatNeverMoves)
{
    driver->clock = nullptr; // flips take no time at all on the fake clock
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
    EXPECT_GT(driver->Named("Flip").size(), 1000u);
}

TEST_F(Graphics2DTest, ChangingTheDriverClosesTheGraphics)
{
    Open();
    auto graphics = driver->last;
    SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER | GRAPHICS_ALPHABUFFER);
    EXPECT_EQ(graphics->closed, 1);
    EXPECT_EQ(GraphicsWidth(), 0);
    ASSERT_TRUE(OpenGraphics(10, 10, 0, 0, GRAPHICS_STENCILBUFFER));
    EXPECT_EQ(driver->last->flags, GRAPHICS_BACKBUFFER | GRAPHICS_ALPHABUFFER | GRAPHICS_STENCILBUFFER);
}

// Without a window system (none is installed in this test binary): nothing to open by default,
// every input query reads 0; one installed hears of graphics, frames and input queries.

namespace
{
class RecordingWindowSystem : public TWindowSystem
{
  public:
    std::vector<std::string> calls;
    TDriver2DRef defaultDriver;
    TDriver2DRef DefaultDriver() override { return calls.push_back("DefaultDriver"), defaultDriver; }
    void GraphicsOpened(const TGraphicsRef& g) override { calls.push_back(g ? "Opened" : "Opened null"); }
    void GraphicsClosed() override { calls.push_back("Closed"); }
    void PumpEvents() override { calls.push_back("Pump"); }
    void DiscardWindowEvents() override { calls.push_back("Discard"); }
    int MouseScreenX() override { return 12; }
    float JoystickAxis(int axis, int port) override { return static_cast<float>(axis * 10 + port); }
};
} // namespace

TEST(WindowSystem, NoneOpensNothingByDefaultAndReadsZeroEverywhere)
{
    ASSERT_EQ(dynamic_cast<RecordingWindowSystem*>(GetWindowSystem().get()), nullptr);
    SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    EXPECT_FALSE(OpenGraphics(320, 200, 0, 0, 0));
    EXPECT_FALSE(GraphicsError().empty());
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(GetGraphicsDriver(), nullptr);
    EXPECT_EQ(KeyDown(VK_ESCAPE) + KeyHitCount(VK_ESCAPE) + WaitForKey() + FlushKeys(), 0);
    EXPECT_EQ(MouseScreenX() + MouseScreenY() + MouseDown(1) + SetMouseVisible(0), 0);
    EXPECT_EQ(JoystickCount() + JoystickButton(0, 0) + JoystickButtons(0) + AppTerminate(), 0);
    EXPECT_EQ(JoystickX(0) + JoystickY(0) + JoystickZ(0) + JoystickR(0) + JoystickU(0) + JoystickV(0), 0.0f);
    EXPECT_EQ(ShowErrorBox("Ravel", "nobody sees this"), 0);
}

TEST_F(Graphics2DTest, AnInstalledWindowSystemHearsOfGraphicsFramesAndQueries)
{
    auto system = std::make_shared<RecordingWindowSystem>();
    Open();
    SetWindowSystem(system);
    EXPECT_EQ(driver->last->closed, 1); // the graphics open under the old system closed first
    SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
    system->defaultDriver = driver;
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));
    EXPECT_EQ(GetGraphicsDriver(), driver);
    Flip(0);
    CloseGraphics();
    EXPECT_EQ(system->calls,
              (std::vector<std::string>{"DefaultDriver", "Opened", "Pump", "Closed", "Discard"}));
    EXPECT_EQ(MouseScreenX(), 12);
    EXPECT_EQ(JoystickU(3), 43.0f);
    SetWindowSystem(nullptr);
    EXPECT_EQ(MouseScreenX(), 0);
}

// Geometry shared by the drivers.

TEST(OvalVertexCount, GrowsWithSizeInStepsOfFour)
{
    struct Case
    {
        float rx, ry;
        int count;
    } cases[] = {{0, 0, 12},       {3, 4, 12},    {6.5f, 6.4f, 12}, {7, 7, 12},   {8, 8, 16},
                 {9.9f, 9.9f, 16}, {-10, 10, 20}, {50, 25, 72},     {NAN, 1, 12}, {1e30f, 1, 65536}};
    for (const Case& c : cases)
        EXPECT_EQ(OvalVertexCount(c.rx, c.ry), c.count) << c.rx << " " << c.ry;
}

namespace
{
double SignedArea(const std::vector<float>& xy, const std::vector<int>& idx)
{
    double a = 0.0;
    for (std::size_t i = 0; i < idx.size(); ++i)
    {
        std::size_t j = (i + 1) % idx.size();
        a += double(xy[2 * idx[i]]) * xy[2 * idx[j] + 1] - double(xy[2 * idx[j]]) * xy[2 * idx[i] + 1];
    }
    return a / 2.0;
}

bool InsidePolygon(const std::vector<float>& xy, double px, double py)
{
    bool in = false;
    std::size_t n = xy.size() / 2;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++)
    {
        double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            in = !in;
    }
    return in;
}
} // namespace

TEST(TriangulatePolygon, ConvexPolygonsBecomeTheFanAroundTheFirstVertex)
{
    std::vector<float> hexagon{10, 0, 20, 5, 20, 15, 10, 20, 0, 15, 0, 5};
    EXPECT_EQ(TriangulatePolygon(hexagon), (std::vector<int>{0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5}));
    std::vector<float> reversed{0, 5, 0, 15, 10, 20, 20, 15, 20, 5, 10, 0};
    EXPECT_EQ(TriangulatePolygon(reversed), (std::vector<int>{0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5}));
    EXPECT_TRUE(TriangulatePolygon({0, 0, 1, 1}).empty());
}

TEST(TriangulatePolygon, ConcavePolygonsAreCoveredExactlyOnce)
{
    const std::vector<std::vector<float>> shapes = {
        {0, 0, 30, 0, 30, 28, 22, 28, 22, 8, 8, 8, 8, 28, 0, 28},                     // U
        {0, 0, 10, 0, 10, 10, 20, 10, 20, 20, 0, 20},                                 // L
        {10, 0, 13, 7, 20, 7, 14, 12, 17, 20, 10, 15, 3, 20, 6, 12, 0, 7, 7, 7},      // star
        {0, 0, 40, 0, 40, 40, 30, 40, 30, 10, 20, 10, 20, 40, 10, 40, 10, 10, 0, 10}, // comb
        {0, 0, 10, 0, 20, 0, 20, 10, 10, 5, 0, 10},                                   // straight run, notch
    };
    for (const auto& base : shapes)
        for (int mirror = 0; mirror < 2; ++mirror)
        {
            std::vector<float> xy = base;
            if (mirror) // the other winding
                for (std::size_t i = 0; i < xy.size(); i += 2)
                    xy[i] = -xy[i];
            SCOPED_TRACE(::testing::PrintToString(xy));
            std::vector<int> tris = TriangulatePolygon(xy);
            std::size_t n = xy.size() / 2;
            ASSERT_EQ(tris.size(), 3 * (n - 2));
            std::vector<int> all(n);
            for (std::size_t i = 0; i < n; ++i)
                all[i] = int(i);
            double polygon = std::fabs(SignedArea(xy, all)), sum = 0.0;
            for (std::size_t t = 0; t < tris.size(); t += 3)
            {
                std::vector<int> tri{tris[t], tris[t + 1], tris[t + 2]};
                double a = SignedArea(xy, tri);
                EXPECT_GE(a * SignedArea(xy, all), 0.0) << "triangle wound against the polygon";
                sum += std::fabs(a);
                if (std::fabs(a) > 1e-9)
                {
                    double cx = (xy[2 * tri[0]] + xy[2 * tri[1]] + xy[2 * tri[2]]) / 3.0;
                    double cy = (xy[2 * tri[0] + 1] + xy[2 * tri[1] + 1] + xy[2 * tri[2] + 1]) / 3.0;
                    EXPECT_TRUE(InsidePolygon(xy, cx, cy)) << "triangle outside at " << cx << "," << cy;
                }
            }
            EXPECT_NEAR(sum, polygon, 1e-6);
        }
}

TEST(TriangulatePolygon, SelfCrossingInputStillEnds)
{
    std::vector<float> bowtie{0, 0, 10, 10, 10, 0, 0, 10};
    EXPECT_EQ(TriangulatePolygon(bowtie).size(), 6u);
    std::vector<float> flat{0, 0, 5, 0, 10, 0, 15, 0};
    EXPECT_EQ(TriangulatePolygon(flat).size(), 6u);
}
