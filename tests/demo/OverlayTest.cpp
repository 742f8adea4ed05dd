// tests/demo/OverlayTest.cpp: what the player sees of a frame: the overlay's texts, the toggles, the
// camera, the smoke puffs, Escape.
#include "tests/demo/DemoFixture.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace ravel::demo::test
{
namespace
{

bool White(const std::uint8_t* p)
{
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

// The white pixels of a grabbed rectangle, row by row, as '#' and '.'.
std::string WhiteMask(const TPixmapRef& pm)
{
    std::string mask;
    for (int y = 0; y < pm->height; ++y)
    {
        for (int x = 0; x < pm->width; ++x)
            mask += White(pm->At(x, y)) ? '#' : '.';
        mask += '\n';
    }
    return mask;
}

struct TLine
{
    int y;
    std::string text;
};

// The white shape of the text drawn alone, white on black, at the left edge.
std::string AloneMask(const std::string& text, int width)
{
    SetClsColor(0, 0, 0);
    Cls();
    SetOrigin(0, 0);
    SetColor(255, 255, 255);
    DrawText(text, 0, 0);
    return WhiteMask(GrabPixmap(0, 0, width, 16));
}

std::vector<TLine> OverlayAtRest()
{
    return {
        {0, "Verdant Challenge by Orin Hale"},
        {45, "Toggle info: 'F1'"},
        {75, "Toggle view: 'Enter'"},
        {90, "Quit: 'Escape'"},
        {135, "Wheel status"},
        {150, "  Front left:  TRACTION"},
        {165, "  Front Right: TRACTION"},
        {180, "  Rear left:   TRACTION"},
        {195, "  Rear Right:  TRACTION"},
        {225, "Speed: 0kph, 0mph"},
        {270, "Controls: Xbox360 pad (Recommended)"},
        {285, "  Accelerate: Right trigger"},
        {300, "  Brake: Left trigger"},
        {315, "  Steer: Left analogue stick"},
        {330, "  Hand brake: 'X' button"},
        {360, "Controls: Keys"},
        {375, "  Accelerate: Up arrow"},
        {390, "  Brake: Down arrow"},
        {405, "  Steer: Left/right arrow"},
        {420, "  Hand brake: 'Spacebar'"},
        {450, "Controls: Joypad"},
        {465, "  Accelerate: Button 1"},
        {480, "  Brake: Button 2"},
        {495, "  Steer: Left analogue stick"},
        {510, "  Hand brake: Button 3"},
    };
}

TEST_F(DemoTest, OverlayRowsHoldTheQuotedLinesInWhite)
{
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Speed(), 0.0f);
    const int width = 8 * 40; // wider than the longest line
    std::vector<std::string> frame;
    for (const TLine& line : OverlayAtRest())
        frame.push_back(WhiteMask(GrabPixmap(0, line.y, width, 16)));
    std::size_t k = 0;
    for (const TLine& line : OverlayAtRest())
    {
        std::string alone = AloneMask(line.text, width);
        EXPECT_NE(alone.find('#'), std::string::npos) << line.text;
        EXPECT_EQ(frame[k++], alone) << "row " << line.y << ": " << line.text;
    }
}

TEST_F(DemoTest, OverlayHasADropShadowAndF1HidesIt)
{
    EXPECT_EQ(Frame(), 0);
    // Under the white title, two pixels down and right, the shadow is black where no white covers it.
    TPixmapRef title = GrabPixmap(0, 0, 260, 20);
    int shadow = 0;
    for (int y = 0; y + 2 < title->height; ++y)
        for (int x = 0; x + 2 < title->width; ++x)
        {
            const std::uint8_t* p = title->At(x + 2, y + 2);
            if (White(title->At(x, y)) && !White(p))
            {
                EXPECT_EQ(p[0] + p[1] + p[2], 0) << x << "," << y;
                ++shadow;
            }
        }
    EXPECT_GT(shadow, 50);

    PushKey(VK_F1, true);
    PushKey(VK_F1, false);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(showInfo, 0);
    // The title and the F1 help stay; the rest of the overlay has gone.
    EXPECT_NE(WhiteMask(GrabPixmap(0, 0, 260, 16)).find('#'), std::string::npos);
    EXPECT_NE(WhiteMask(GrabPixmap(0, 45, 260, 16)).find('#'), std::string::npos);
    EXPECT_EQ(WhiteMask(GrabPixmap(0, 75, 260, 16)).find('#'), std::string::npos);
    EXPECT_EQ(WhiteMask(GrabPixmap(0, 225, 260, 16)).find('#'), std::string::npos);
}

TEST_F(DemoTest, SpeedAndWheelLines)
{
    EXPECT_EQ(SpeedLine(0.0f), "Speed: 0kph, 0mph");
    EXPECT_EQ(SpeedLine(10.0f), "Speed: 75kph, 47mph");
    EXPECT_EQ(SpeedLine(25.43f), "Speed: 193kph, 120mph");
    EXPECT_EQ(WheelLine(0, TCar::LOCKED), "  Front left:  LOCKED");
    EXPECT_EQ(WheelLine(1, TCar::SKID), "  Front Right: SKID");
    EXPECT_EQ(WheelLine(2, TCar::SPIN), "  Rear left:   SPIN");
    EXPECT_EQ(WheelLine(3, TCar::TRACTION), "  Rear Right:  TRACTION");
    EXPECT_EQ(WheelLine(3, 4), "");
    EXPECT_EQ(WheelLine(0, -1), "");
}

TEST_F(DemoTest, TogglesFlipOncePerFrameAndTheCameraFollows)
{
    EXPECT_EQ(rotateView, 0);
    EXPECT_EQ(showInfo, 1);
    for (int k = 0; k < 3; ++k)
    {
        PushKey(VK_RETURN, true);
        PushKey(VK_RETURN, false);
    }
    StepFrame();
    EXPECT_EQ(rotateView, 1);
    // The rotating camera keeps the car's nose pointing up the screen.
    EXPECT_FLOAT_EQ(world->drawRot, -90.0f - car->chassis->ConGetAngle(0));
    EXPECT_FLOAT_EQ(world->drawScale, 0.75f * 0.78125f);
    EXPECT_FLOAT_EQ(world->centerX, car->chassis->GetX());
    EXPECT_FLOAT_EQ(world->centerY, car->chassis->GetY());
    StepFrame();
    EXPECT_EQ(rotateView, 1);

    // The camera zooms out with speed.
    keys.Set(VK_UP, true);
    Step(120);
    EXPECT_FLOAT_EQ(world->drawScale, (0.75f - Speed() / 70.0f) * 0.78125f);
    EXPECT_LT(world->drawScale, 0.75f * 0.78125f);
}

TEST_F(DemoTest, EscapeEndsTheLoopAfterTheFrame)
{
    EXPECT_EQ(Frame(), 0);
    PushKey(VK_ESCAPE, true);
    PushKey(VK_ESCAPE, false);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Frame(), 0); // the press was counted once
}

TEST_F(DemoTest, SmokePuffsLiveFiftyOneFramesAndRestoreTheDrawingState)
{
    TSmoke::Create(8000, 750);
    ASSERT_EQ(smokeList->Count(), 1);
    TSmokeRef puff = *smokeList->begin();
    SetColor(10, 20, 30);
    SetRotation(33);
    SetAlpha(0.2f);
    SetScale(3, 3);
    for (int k = 0; k < 50; ++k)
        TSmoke::Do();
    EXPECT_EQ(smokeList->Count(), 1);
    TSmoke::Do();
    EXPECT_EQ(smokeList->Count(), 0);
    EXPECT_LT(puff->alpha, 0.0f);
    EXPECT_NEAR(puff->scl, 0.76f, 1e-4f);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 255 * 3);
    EXPECT_EQ(GetRotation(), 0.0f);
    EXPECT_EQ(GetAlpha(), 1.0f);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
}

} // namespace
} // namespace ravel::demo::test

namespace ravel::demo::test
{
namespace
{

int CountPixels(const TPixmapRef& pm, bool (*test)(const std::uint8_t*))
{
    int n = 0;
    for (int y = 0; y < pm->height; ++y)
        for (int x = 0; x < pm->width; ++x)
            n += test(pm->At(x, y)) ? 1 : 0;
    return n;
}

TEST_F(DemoTest, FrameShowsTrackCarAndLogo)
{
    EXPECT_EQ(Frame(), 0);
    TPixmapRef all = GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(all);
    if (const char* dump = std::getenv("RAVEL_DEMO_FRAME_PNG"))
        SavePixmapPNG(*all, dump, 6);
    // Around the car at the centre: its red body on grey asphalt.
    TPixmapRef middle = GrabPixmap(360, 270, 80, 60);
    EXPECT_GT(CountPixels(middle, [](const std::uint8_t* p) { return p[0] > 150 && p[1] < 60 && p[2] < 60; }),
              300);
    EXPECT_GT(CountPixels(middle,
                          [](const std::uint8_t* p) {
                              return p[0] > 70 && p[0] < 110 && std::abs(p[0] - p[1]) < 8 && p[2] >= p[1];
                          }),
              300);
    // Grass above and below the straight.
    TPixmapRef grass = GrabPixmap(400, 560, 300, 30);
    EXPECT_GT(CountPixels(grass, [](const std::uint8_t* p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; }),
              8000);
    // The logo, half size, centred 45 pixels from the right and 35 from the bottom.
    TPixmapRef logoArea = GrabPixmap(800 - 90, 600 - 52, 90, 34);
    EXPECT_GT(CountPixels(logoArea, [](const std::uint8_t* p) { return p[2] > 200 && p[0] > 180; }), 100);
}

} // namespace
} // namespace ravel::demo::test
