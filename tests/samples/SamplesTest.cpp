// Tests of the samples: every scene built, stepped and drawn headless on SDL's software renderer in
// memory, each holding to what it shows; the mouse tools and keys through the testbed's input; the
// window's own events on SDL's dummy video.
#include "samples/Registry.h"
#include "samples/TSamplesWindow.h"
#include "samples/TTestbed.h"

#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "platform/Graphics2D.h"
#include "platform/KeyCodes.h"
#include "platform/TSDLDriver2D.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace ravel::samples::test
{
namespace
{

class SamplesTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
        SetGraphicsDriver(SDLSurfaceDriver2D(), GRAPHICS_BACKBUFFER);
        ASSERT_TRUE(OpenGraphics(1000, 700, 0, 0, 0)) << GraphicsError();
        bed = std::make_unique<TTestbed>();
    }
    void TearDown() override
    {
        bed.reset();
        CloseGraphics();
        TColEvent::SetMode(TColEvent::MODE_UPDATE);
    }

    void Open(const char* name)
    {
        int index = FindScene(name);
        ASSERT_GE(index, 0) << name;
        bed->Open(index);
    }
    void Steps(int n)
    {
        for (int k = 0; k < n; ++k)
            bed->StepScene();
    }
    float Figure(const char* name) const { return FigureValue(*bed->Scene(), name); }
    // Pixels of the picture, right of the panel, that differ from the background.
    int DrawnPixels()
    {
        bed->Draw();
        int x0 = TTestbed::PANEL_WIDTH;
        TPixmapRef pm = GrabPixmap(x0, 0, GraphicsWidth() - x0, GraphicsHeight());
        int n = 0;
        for (int y = 0; pm && y < pm->height; ++y)
            for (int x = 0; x < pm->width; ++x)
            {
                const std::uint8_t* p = pm->At(x, y);
                n += std::abs(p[0] - 22) + std::abs(p[1] - 24) + std::abs(p[2] - 30) > 30 ? 1 : 0;
            }
        return n;
    }
    // The window pixel of a world point through the testbed's camera.
    void ToScreen(float wx, float wy, int& sx, int& sy) const
    {
        const TView& v = bed->show.view;
        sx = static_cast<int>(std::lround((wx - v.cx) * v.zoom + static_cast<float>(GraphicsWidth()) * 0.5f));
        sy =
            static_cast<int>(std::lround((wy - v.cy) * v.zoom + static_cast<float>(GraphicsHeight()) * 0.5f));
    }
    bool PanelSays(const std::string& text) const
    {
        for (const TPanelLine& line : bed->PanelLines())
            if (line.text.find(text) != std::string::npos)
                return true;
        return false;
    }

    std::unique_ptr<TTestbed> bed;
};

TEST_F(SamplesTest, EverySceneBuildsStepsAndDraws)
{
    const std::vector<TSceneEntry>& list = SceneList();
    ASSERT_EQ(list.size(), 9u);
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        SCOPED_TRACE(list[i].name);
        bed->Open(static_cast<int>(i));
        ASSERT_NE(bed->Scene(), nullptr);
        EXPECT_EQ(bed->Title(), "Ravel samples: " + list[i].name);
        Steps(30);
        EXPECT_EQ(bed->steps, 30);
        EXPECT_EQ(bed->times.Count(), 30);
        EXPECT_GT(DrawnPixels(), 500);
        EXPECT_TRUE(PanelSays("> " + std::to_string(i + 1) + " " + list[i].name));
        EXPECT_TRUE(PanelSays("Step "));
        EXPECT_FALSE(PanelSays("Error"));
        if (list[i].name != "Viewer")
        {
            EXPECT_GT(massList->Count(), 0);
        }
    }
}

TEST_F(SamplesTest, PileAndBlobsSettleInsideTheBounds)
{
    // At half their sizes. The pile: about seven rows of masses 16 across on the floor at y = 2048,
    // quiet but for the jitter of a single pass under gravity (0.136 a step). The blobs: two deep.
    struct TCase
    {
        const char* scene;
        int steps;
        float top;
    };
    for (const TCase& c : {TCase{"Pile", 600, 1900.0f}, TCase{"Blobs", 450, 1800.0f}})
    {
        SCOPED_TRACE(c.scene);
        Open(c.scene);
        bed->Scene()->size /= 2;
        bed->Restart();
        int masses = massList->Count();
        Steps(c.steps);
        EXPECT_EQ(Figure("Inside the bounds"), static_cast<float>(masses));
        EXPECT_GT(Figure("Top of the heap"), c.top);
        EXPECT_LT(Figure("Mean speed"), 0.6f);
    }
    EXPECT_EQ(Figure("Blobs"), 50.0f);
    EXPECT_GT(Figure("Smallest blob"), 0.7f);
    EXPECT_LT(Figure("Largest blob"), 1.3f);
}

TEST_F(SamplesTest, ClothHangsFromItsPinnedRow)
{
    Open("Cloth");
    Steps(600);
    EXPECT_EQ(Figure("Pinned masses"), 40.0f);
    // Forty rows 10 apart below y = 100: hanging, the lowest row is at least that far down, and no
    // stick has torn.
    EXPECT_GT(Figure("Lowest mass"), 490.0f);
    EXPECT_LT(Figure("Longest stick"), 1.25f);
}

TEST_F(SamplesTest, BridgeHoldsEveryBlob)
{
    Open("Bridge");
    Steps(700);
    EXPECT_EQ(Figure("Blobs dropped"), 6.0f);
    EXPECT_EQ(Figure("Blobs on the deck"), 6.0f);
    EXPECT_EQ(Figure("Blobs fallen through"), 0.0f);
    EXPECT_LT(Figure("Longest link"), 1.3f);
    EXPECT_GT(Figure("Deck sag"), 10.0f);
}

TEST_F(SamplesTest, ZonesKeepTheirStyles)
{
    Open("Zones");
    float touched[5] = {0, 0, 0, 0, 0};
    const char* names[5] = {"LINE contacts", "LOOP contacts", "FILL contacts", "HOLE contacts",
                            "Pad contacts"};
    std::vector<TFigure> figures;
    for (int k = 0; k < 600; ++k)
    {
        bed->StepScene();
        figures.clear();
        bed->Scene()->Figures(figures); // the first five are the contacts of each zone, in that order
        for (std::size_t z = 0; z < 5; ++z)
        {
            ASSERT_EQ(figures[z].name, names[z]);
            touched[z] += figures[z].value;
        }
    }
    for (int z = 0; z < 5; ++z)
        EXPECT_GT(touched[z], 0.0f) << names[z];
    EXPECT_EQ(Figure("Inside the FILL"), 0.0f);
    EXPECT_EQ(Figure("Outside the HOLE"), 0.0f);
    // A mass outside can touch one inside across the loop's line and, hit hard enough from above,
    // knock it through; the loop still holds nearly all of them.
    EXPECT_GE(Figure("Held in the LOOP"), 10.0f);
    EXPECT_GT(Figure("Bounces"), 0.0f);
}

TEST_F(SamplesTest, ContactModesKeepTheSameContactsDifferently)
{
    // The same 80 steps under each mode: the reports are alike, the queue is not.
    struct TSeen
    {
        float reports, queued, reportedDepth, queuedDepth;
    } seen[3];
    const int modes[3] = {TColEvent::MODE_UPDATE, TColEvent::MODE_REPLACE, TColEvent::MODE_DISCARD};
    for (int m = 0; m < 3; ++m)
    {
        Open("Contacts");
        TColEvent::SetMode(modes[m]);
        Steps(80);
        seen[m] = {Figure("Reports"), Figure("Queued events"), Figure("Reported depth"),
                   Figure("Queued depth")};
    }
    EXPECT_GT(seen[0].queued, 0.0f);
    EXPECT_GT(seen[0].reports, seen[0].queued); // four passes meet the same pairs again
    EXPECT_NEAR(seen[0].queuedDepth, seen[0].reportedDepth, seen[0].reportedDepth * 1e-4f);
    EXPECT_EQ(seen[1].reports, seen[0].reports);
    EXPECT_EQ(seen[1].queued, seen[0].queued);
    EXPECT_LT(seen[1].queuedDepth, seen[0].queuedDepth);
    EXPECT_EQ(seen[2].reports, seen[0].reports);
    EXPECT_EQ(seen[2].queued, 0.0f);
    // Each kind gets its own dot, the queue's events drawn at their points.
    bed->show.contacts = true;
    Open("Contacts");
    Steps(80);
    EXPECT_GT(DrawnPixels(), 2000);
}

TEST_F(SamplesTest, DeterminismDigestsAgreeUntilAMassIsDragged)
{
    Open("Determinism");
    Steps(300);
    EXPECT_EQ(Figure("Steps"), 300.0f);
    EXPECT_EQ(Figure("Digests equal"), 1.0f);
    EXPECT_LT(Figure("Parted at step"), 0.0f);
    // Drag a mass of the left world a little: the worlds part at once.
    TMassRef m = massList->begin() != massList->end() ? *massList->begin() : nullptr;
    ASSERT_NE(m, nullptr);
    int sx = 0, sy = 0;
    ToScreen(m->GetX(), m->GetY(), sx, sy);
    TInput press;
    press.mouseX = sx;
    press.mouseY = sy - 20;
    press.presses.push_back({1, true, sx, sy});
    bed->HandleInput(press);
    ASSERT_EQ(bed->dragged, m);
    Steps(3);
    EXPECT_EQ(Figure("Digests equal"), 0.0f);
    EXPECT_EQ(Figure("Parted at step"), 301.0f);
}

TEST_F(SamplesTest, DraggedMassFollowsThePointerAndKeepsItsSpeed)
{
    Open("Cloth");
    Steps(100);
    // A mass of the bottom row: the last active one.
    TMassRef m;
    for (const TMassRef& each : *massList)
        m = each;
    int sx = 0, sy = 0;
    ToScreen(m->GetX(), m->GetY(), sx, sy);
    TInput input;
    input.mouseX = sx;
    input.mouseY = sy;
    input.presses.push_back({1, true, sx, sy});
    bed->HandleInput(input);
    ASSERT_EQ(bed->dragged, m);
    // The pointer moves 3 pixels right a frame; the mass goes with it.
    input.presses.clear();
    for (int k = 1; k <= 30; ++k)
    {
        input.mouseX = sx + 3 * k;
        bed->HandleInput(input);
        bed->StepScene();
    }
    float wx = 0.0f, wy = 0.0f;
    bed->ToWorld(static_cast<float>(input.mouseX), static_cast<float>(input.mouseY), wx, wy);
    EXPECT_NEAR(m->GetX(), wx, 4.0f);
    EXPECT_NEAR(m->GetY(), wy, 4.0f);
    input.presses.push_back({1, false, input.mouseX, input.mouseY});
    bed->HandleInput(input);
    EXPECT_EQ(bed->dragged, nullptr);
    EXPECT_GT(m->GetVX(), 0.5f * 3.0f / bed->show.view.zoom);
}

TEST_F(SamplesTest, PointerPansAndZoomsAndKeysChangeTheWorld)
{
    Open("Blobs");
    TInput input;
    input.mouseX = 600;
    input.mouseY = 300;
    float cx = bed->show.view.cx, zoom = bed->show.view.zoom;
    input.presses.push_back({2, true, 600, 300});
    bed->HandleInput(input);
    input.presses.clear();
    input.mouseX = 650;
    bed->HandleInput(input);
    EXPECT_NEAR(bed->show.view.cx, cx - 50.0f / zoom, 1e-3f);

    input.wheel = 2.0f;
    float wx = 0.0f, wy = 0.0f, ax = 0.0f, ay = 0.0f;
    bed->ToWorld(650.0f, 300.0f, wx, wy);
    bed->HandleInput(input);
    bed->ToWorld(650.0f, 300.0f, ax, ay);
    EXPECT_NEAR(bed->show.view.zoom, zoom * 1.15f * 1.15f, zoom * 1e-4f);
    EXPECT_NEAR(ax, wx, 0.01f);
    EXPECT_NEAR(ay, wy, 0.01f);

    TInput keys;
    keys.keys = {VK_OEM_6, VK_G, VK_OEM_PERIOD, VK_V, VK_E};
    int passes = world->i, grid = world->gridon, cells = world->gridsize;
    bed->HandleInput(keys);
    EXPECT_EQ(world->i, passes + 1);
    EXPECT_EQ(world->gridon, grid ? 0 : 1);
    EXPECT_EQ(world->gridsize, std::min(cells + 8, 64));
    EXPECT_EQ(world->gravityY, 0.0f);
    EXPECT_EQ(TColEvent::GetMode(), TColEvent::MODE_REPLACE);
    EXPECT_TRUE(PanelSays("Passes " + std::to_string(passes + 1)));
    EXPECT_TRUE(PanelSays("Events REPLACE"));

    keys.keys = {VK_P};
    bed->Frame(keys);
    bed->Frame(TInput{});
    EXPECT_EQ(bed->steps, 0);
    keys.keys = {VK_O};
    bed->Frame(keys);
    EXPECT_EQ(bed->steps, 1);
    keys.keys = {VK_OEM_MINUS, VK_R};
    bed->Frame(keys);
    EXPECT_EQ(bed->Scene()->size, 50);
    EXPECT_EQ(bed->steps, 0);
    EXPECT_EQ(world->i, 2); // the scene's own settings again
}

TEST_F(SamplesTest, CarDrivesOnTheDemosTrack)
{
    Open("Car");
    EXPECT_GT(Figure("Rigs"), 0.0f);
    Steps(30);
    EXPECT_EQ(Figure("Masses on grass"), 0.0f);
    TInput up;
    up.held = {VK_UP};
    bed->HandleInput(up);
    Steps(60);
    EXPECT_GT(Figure("Speed"), 2.0f);
    EXPECT_TRUE(bed->following);
    // Left turns it 1.2 degrees a step, from facing -x (180) toward -y.
    TInput left;
    left.held = {VK_LEFT};
    bed->HandleInput(left);
    Steps(20);
    EXPECT_NEAR(Figure("Heading"), 156.0f, 3.0f);
}

TEST_F(SamplesTest, ViewerShowsDroppedFilesAndNamesOnesItCannotLoad)
{
    bed->Drop("media/car4.rvb");
    EXPECT_EQ(bed->Title(), "Ravel samples: Viewer");
    EXPECT_GE(Figure("Masses"), 7.0f);
    EXPECT_GT(Figure("Rigs"), 0.0f);
    EXPECT_GT(Figure("Images"), 0.0f);
    EXPECT_EQ(massList->Count(), static_cast<int>(Figure("Masses")));
    float y = massList->begin() != massList->end() ? (*massList->begin())->GetY() : 0.0f;
    Steps(60);
    EXPECT_GT((*massList->begin())->GetY(), y + 5.0f); // it falls
    EXPECT_GT(DrawnPixels(), 500);

    bed->Drop("media/grass1.rvz");
    EXPECT_EQ(Figure("Style"), 3.0f);
    EXPECT_GT(Figure("Quadtree cells"), 0.0f);
    Steps(60);
    EXPECT_GT(massList->Count(), 0); // masses rain on it

    // The list of the folder's files: a click on one opens it.
    std::vector<TPanelLine> lines = bed->PanelLines();
    int row = -1;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].text == "  grass2.rvz")
            row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    TInput click;
    click.presses = {{1, true, 40, 4 + row * 16 + 8}, {1, false, 40, 4 + row * 16 + 8}};
    bed->Frame(click);
    EXPECT_TRUE(PanelSays("File: grass2.rvz"));
    EXPECT_EQ(Figure("Style"), 2.0f);

    // A PNG of the shared suite, and a body file that is not one: both named, nothing shown.
    bed->Drop(std::string(RAVEL_SOURCE_DIR) + "/tests/data/pngsuite/basn2c08.png");
    EXPECT_EQ(Figure("Error"), 1.0f);
    EXPECT_TRUE(PanelSays("Error: not a body (.rvb) or zone (.rvz) file"));
    std::string junk = ::testing::TempDir() + "samples-junk.rvb";
    if (FILE* f = std::fopen(junk.c_str(), "wb"))
    {
        std::fputs("B111 not really a body\r\n", f);
        std::fclose(f);
    }
    bed->Drop(junk);
    EXPECT_TRUE(PanelSays("Error: not a body file that can be read"));
    EXPECT_EQ(massList->Count(), 0);
    EXPECT_GT(DrawnPixels(), 100); // the message on the picture
    std::remove(junk.c_str());
}

// The real window on SDL's dummy video: the files dropped on it, the wheel and a new size reach
// the testbed and the drawing layer.
TEST(SamplesWindow, DeliversDropsWheelAndResizing)
{
    ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    TSamplesWindow window;
    if (!window.Open(false, 800, 600))
        GTEST_SKIP() << "no window on the dummy video: " << window.error;
    TTestbed bed;
    bed.Open(0);
    SDL_Event drop{};
    drop.type = SDL_DROPFILE;
    drop.drop.file = SDL_strdup("media/car4.rvb");
    SDL_PushEvent(&drop);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    SDL_PushEvent(&wheel);
    SDL_Event resized{};
    resized.type = SDL_WINDOWEVENT;
    resized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    resized.window.data1 = 900;
    resized.window.data2 = 650;
    SDL_PushEvent(&resized);
    TInput input = window.Poll();
    ASSERT_EQ(input.drops.size(), 1u);
    EXPECT_EQ(input.drops[0], "media/car4.rvb");
    EXPECT_EQ(input.wheel, 1.0f);
    EXPECT_TRUE(window.FollowResize());
    EXPECT_EQ(GraphicsWidth(), 900);
    EXPECT_EQ(GraphicsHeight(), 650);
    bed.Frame(input);
    EXPECT_EQ(bed.Title(), "Ravel samples: Viewer");
    EXPECT_GE(FigureValue(*bed.Scene(), "Masses"), 7.0f);
    // The picture fills the new size: the panel's background reaches the bottom row.
    TPixmapRef bottom = GrabPixmap(0, 649, 10, 1);
    ASSERT_NE(bottom, nullptr);
    window.SetTitle(bed.Title());
}

} // namespace
} // namespace ravel::samples::test
