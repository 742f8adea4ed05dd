// tests/demo/StartupTest.cpp: finding the media, what the program says when one is missing or bad,
// and the menu: leaving it, and a display without the chosen mode.
#include "demo/Demo.h"
#include "physics/TPhysics.h"
#include "platform/Graphics2D.h"
#include "platform/TSDLDriver2D.h"
#include "platform/sdl/DisplayModes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace ravel::demo::test
{
namespace
{

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder with a copy of the demo program in bin/ and, when asked, media beside it.
class ProgramTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("ravel_demo_start_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(root / "cwd");
        fs::copy_file(RAVEL_DEMO_EXE, root / "bin" / "demo");
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs the program from the empty cwd folder; returns its exit status, stderr in `err`.
    int Run()
    {
        std::string command =
            "cd \"" + (root / "cwd").string() + "\" && SDL_VIDEODRIVER=dummy timeout 120 \"" +
            (root / "bin" / "demo").string() + "\" 2> \"" + (root / "err.txt").string() + "\" < /dev/null";
        int status = std::system(command.c_str());
        err = ReadText(root / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path root;
    std::string err;
};

TEST_F(ProgramTest, WithoutMediaItSaysWhichFileAndEndsWithStatusOne)
{
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(err, "demo: cannot read media file media/car4.rvb (run from the folder that holds media/)\n");
}

TEST_F(ProgramTest, LooksForTheMediaBesideTheProgram)
{
    // The media beside the program, all but the last file of the list: the message names that
    // file in the folder beside the program, so the folder was found.
    fs::copy(fs::path(RAVEL_SOURCE_DIR) / "media", root / "bin" / "media");
    fs::remove(root / "bin" / "media" / "ravellogo.png");
    EXPECT_EQ(Run(), 1);
    std::string beside = fs::weakly_canonical(root / "bin" / "media" / "ravellogo.png").string();
    EXPECT_NE(err.find(beside), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
}

// A damaged file is named before the menu would open: with no one to press a key, a menu would wait
// until the time limit.
TEST_F(ProgramTest, ADamagedMediaFileIsNamedBeforeTheMenu)
{
    fs::copy(fs::path(RAVEL_SOURCE_DIR) / "media", root / "cwd" / "media");
    fs::resize_file(root / "cwd" / "media" / "track02.png",
                    fs::file_size(root / "cwd" / "media" / "track02.png") / 2);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(err, "demo: media file media/track02.png is damaged: not a PNG image that can be decoded\n");
}

TEST_F(ProgramTest, AnEmptyMediaFileCountsAsUnreadable)
{
    fs::copy(fs::path(RAVEL_SOURCE_DIR) / "media", root / "cwd" / "media");
    std::ofstream(root / "cwd" / "media" / "grass2.rvz", std::ios::trunc).close();
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(err, "demo: cannot read media file media/grass2.rvz (run from the folder that holds media/)\n");
}

// A file that is there but damaged is found when it is loaded; the start-up names it.
TEST(StartupTest, ADamagedMediaFileIsNamed)
{
    fs::path root = fs::temp_directory_path() / ("ravel_demo_damaged_" + std::to_string(getpid()));
    for (const char* name : {"car4.rvb", "grass3.rvz", "track02.png", "smoke.png"})
    {
        SCOPED_TRACE(name);
        fs::remove_all(root);
        fs::create_directories(root);
        fs::copy(fs::path(RAVEL_SOURCE_DIR) / "media", root / "media");
        {
            std::ofstream damaged(root / "media" / name, std::ios::binary | std::ios::trunc);
            damaged << "not what it should be";
        }
        ASSERT_EQ(chdir(root.c_str()), 0);
        EXPECT_EQ(MissingMedia(), "");
        SetGraphicsDriver(SDLSurfaceDriver2D(), GRAPHICS_BACKBUFFER);
        ASSERT_TRUE(OpenGraphics(800, 600, 0, 0, 0));
        EXPECT_EQ(StartWorld(0.78125f), 0);
        EXPECT_EQ(mediaError, std::string("media/") + name);
        Shutdown();
    }
    ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
    fs::remove_all(root);
}

// Every file is read as the start-up reads it; the check leaves the automatic collision groups as they
// were, so that the start-up afterwards makes the same objects.
TEST(StartupTest, TheMediaCheckReadsEveryFileAndLeavesNoTrace)
{
    fs::path root = fs::temp_directory_path() / ("ravel_demo_check_" + std::to_string(getpid()));
    ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
    int groups = nextAutoColGroup;
    EXPECT_EQ(CheckMedia(), "");
    EXPECT_EQ(nextAutoColGroup, groups);
    struct TDamage
    {
        const char* name;
        bool truncate; // else overwritten with text
        const char* fault;
    };
    for (const TDamage& d : {TDamage{"car4.rvb", true, "not a body file that can be read"},
                             TDamage{"grass1.rvz", true, "not a zone file that can be read"},
                             TDamage{"smoke.png", false, "not a PNG image that can be decoded"},
                             TDamage{"ravellogo.png", true, "not a PNG image that can be decoded"}})
    {
        SCOPED_TRACE(d.name);
        fs::remove_all(root);
        fs::create_directories(root);
        fs::copy(fs::path(RAVEL_SOURCE_DIR) / "media", root / "media");
        fs::path file = root / "media" / d.name;
        if (d.truncate)
            fs::resize_file(file, fs::file_size(file) - 40);
        else
            std::ofstream(file, std::ios::binary | std::ios::trunc) << "not what it should be";
        ASSERT_EQ(chdir(root.c_str()), 0);
        EXPECT_EQ(CheckMedia(), std::string("media file media/") + d.name + " is damaged: " + d.fault);
        EXPECT_EQ(nextAutoColGroup, groups);
    }
    ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
    fs::remove_all(root);
}

// The menu on SDL's dummy video and software renderer, in front of a display whose only mode is
// its desktop's 640 x 480. Keys come as a player's would, again and again until the menu returns: a
// press made while the menu draws itself is not taken.
class FakeDisplay : public detail::TDisplayModeCalls
{
  public:
    std::vector<std::string> log;
    std::vector<TGraphicsMode> ListModes() override { return {{640, 480, 32, 60}}; }
    int ClosestMode(void*, const TGraphicsMode& want, TGraphicsMode& got) override
    {
        if (want.width > 640 || want.height > 480)
            return 0;
        got = {640, 480, 32, 60};
        return 1;
    }
    int EnterFullScreen(void*, const TGraphicsMode&) override { return log.push_back("mode"), 1; }
    int LeaveFullScreen(void*) override { return 1; }
    int Minimize(void*) override { return 1; }
    int Restore(void*) override { return 1; }
    int DesktopMode(void*, TGraphicsMode& got) override { return got = {640, 480, 32, 60}, 1; }
    int EnterDesktopFullScreen(void*) override { return log.push_back("desktop"), 1; }
};

class MenuTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0) << SDL_GetError();
        display = std::make_shared<FakeDisplay>();
        detail::SetDisplayModeCalls(display);
        openGLDriver = &SDLDriver2D;
        secondDriver = &SDLDriver2D;
    }
    void TearDown() override
    {
        CloseGraphics();
        detail::SetDisplayModeCalls(nullptr);
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }

    static Uint32 Press(Uint32 interval, void* scancode)
    {
        for (bool down : {true, false})
        {
            SDL_Event e{};
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.scancode = static_cast<SDL_Scancode>(reinterpret_cast<std::intptr_t>(scancode));
            SDL_PushEvent(&e);
        }
        return interval;
    }

    // The menu's answer while the key is pressed every 20 milliseconds.
    float Choose(SDL_Scancode key)
    {
        SDL_TimerID timer =
            SDL_AddTimer(20, &Press, reinterpret_cast<void*>(static_cast<std::intptr_t>(key)));
        float zoom = SelectGraphicsMode();
        SDL_RemoveTimer(timer);
        SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
        return zoom;
    }

    std::shared_ptr<FakeDisplay> display;
};

TEST_F(MenuTest, AMissingModeShowsTheSamePictureScaledToTheDesktop)
{
    ::testing::internal::CaptureStderr();
    float zoom = Choose(SDL_SCANCODE_1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(zoom, 0.78125f);
    EXPECT_EQ(GraphicsWidth(), 800);
    EXPECT_EQ(GraphicsHeight(), 600);
    EXPECT_EQ(display->log, (std::vector<std::string>{"desktop"}));
    EXPECT_EQ(err, "demo: the display has no 800 x 600 mode; showing the game at 800 x 600 scaled to fit the "
                   "screen\n");
}

TEST_F(MenuTest, EscapeLeavesTheMenuWithNothingChosenAndNothingWrong)
{
    EXPECT_EQ(Choose(SDL_SCANCODE_ESCAPE), 0.0f);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(GraphicsError(), "");
}

} // namespace
} // namespace ravel::demo::test
