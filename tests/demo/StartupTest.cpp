// tests/demo/StartupTest.cpp: finding the media, and what the program says when one is missing or bad.
#include "demo/Demo.h"
#include "platform/Graphics2D.h"
#include "platform/TSDLDriver2D.h"

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
        std::string command = "cd \"" + (root / "cwd").string() + "\" && SDL_VIDEODRIVER=dummy \"" +
                              (root / "bin" / "demo").string() + "\" 2> \"" + (root / "err.txt").string() +
                              "\" < /dev/null";
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

} // namespace
} // namespace ravel::demo::test
