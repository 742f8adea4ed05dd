// Tests of the file-system helpers.
#include "platform/FileSystem.h"

#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ravel;

namespace
{
class ScratchDir : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("ravel_fs_" + std::to_string(getpid()) + "_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string At(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};
} // namespace

TEST(FileSystemTest, StripExtOnlyWhenNoSlashFollowsTheDot)
{
    EXPECT_EQ(StripExt("media/car4.rvb"), "media/car4");
    EXPECT_EQ(StripExt("media.v2/car"), "media.v2/car");
    EXPECT_EQ(StripExt("car"), "car");
    EXPECT_EQ(StripExt("media\\car4.rvb"), "media/car4");
    EXPECT_EQ(ExtractExt("a/b.rvz"), "rvz");
    EXPECT_EQ(ExtractExt("a.b/c"), "");
}

TEST(FileSystemTest, RealPathResolvesDotsAgainstTheCurrentDirectory)
{
    auto previous = std::filesystem::current_path();
    auto home = std::filesystem::temp_directory_path() / ("ravel_realpath_" + std::to_string(getpid())) / "x";
    std::filesystem::create_directories(home);
    std::filesystem::current_path(home);
    std::string cwd = CurrentDir();
    EXPECT_EQ(RealPath("media/../media/./car4.rvb"), cwd + "/media/car4.rvb");
    EXPECT_EQ(RealPath("media\\car4.rvb"), cwd + "/media/car4.rvb");
    std::filesystem::current_path(previous);
    EXPECT_EQ(RealPath("/home/x/media/../media/./car4.rvb"), "/home/x/media/car4.rvb");
    EXPECT_EQ(RealPath("/../.."), "/");
    EXPECT_EQ(RealPath("/a//b/"), "/a/b");
}

TEST_F(ScratchDir, FileTypeCreateCopyDelete)
{
    std::string file = At("a.bin");
    EXPECT_EQ(FileType(file), FILETYPE_NONE);
    EXPECT_EQ(FileType(dir.string()), FILETYPE_DIR);
    EXPECT_EQ(CreateFile(file), 1);
    EXPECT_EQ(FileType(file), FILETYPE_FILE);

    TStreamRef s = WriteStream(file);
    s->WriteString("hello");
    CloseStream(s);
    EXPECT_EQ(CopyFile(file, At("b.bin")), 1);
    TStreamRef in = ReadStream(At("b.bin"));
    EXPECT_EQ(in->ReadString(99), "hello");
    CloseStream(in);

    EXPECT_EQ(CreateFile(file), 1); // replaces with an empty file
    EXPECT_EQ(ReadStream(file)->Size(), 0);
    EXPECT_EQ(DeleteFile(file), 1);
    EXPECT_EQ(FileType(file), FILETYPE_NONE);
    EXPECT_EQ(DeleteFile(file), 1); // nothing there afterwards either way
    EXPECT_EQ(CopyFile(file, At("c.bin")), 0);
    EXPECT_EQ(FileType(At("c.bin")), FILETYPE_NONE);
    EXPECT_EQ(FileType(dir.string()), FILETYPE_DIR);
}

TEST_F(ScratchDir, BackslashPathsWork)
{
    std::string file = At("sub\\c.bin");
    std::filesystem::create_directories(dir / "sub");
    EXPECT_EQ(CreateFile(file), 1);
    EXPECT_EQ(FileType(At("sub/c.bin")), FILETYPE_FILE);
    EXPECT_EQ(RenameFile(file, At("d.bin")), 1);
    EXPECT_EQ(FileType(At("d.bin")), FILETYPE_FILE);
}
