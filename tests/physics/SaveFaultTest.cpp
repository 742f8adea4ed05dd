// tests/physics/SaveFaultTest.cpp: saving bodies and zones while the operating system refuses writes
// part-way (a file size limit, a full file system, a full device), and the stream writers under short
// writes.
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"
#include "physics/TQuadTree.h"
#include "physics/TZone.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sched.h>
#include <sstream>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>
#include <vector>

using namespace ravel;
namespace fs = std::filesystem;

namespace
{

using Bytes = std::vector<std::uint8_t>;
using Snapshot = std::map<std::string, Bytes>; // file name -> contents, for one folder

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file of the folder with its bytes (a folder in it counts with no bytes), except the
// file-system filler of the full-disk test.
Snapshot Snap(const std::string& dir)
{
    Snapshot s;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != ".filler")
            s[e.path().filename().string()] = e.is_directory() ? Bytes() : ReadAll(e.path().string());
    return s;
}

// "" when the two folders hold the same files with the same bytes, else what differs.
std::string Diff(const Snapshot& want, const Snapshot& got)
{
    std::ostringstream out;
    for (const auto& [name, bytes] : want)
    {
        auto it = got.find(name);
        if (it == got.end())
            out << " missing " << name << ";";
        else if (it->second != bytes)
            out << " " << name << " differs (" << it->second.size() << " bytes, " << bytes.size()
                << " expected);";
    }
    for (const auto& [name, bytes] : got)
        if (!want.count(name))
            out << " unexpected " << name << " (" << bytes.size() << " bytes);";
    return out.str();
}

// A picture whose PNG grows with its size: every pixel differs, so deflate gains little.
TPixmapRef Noise(int width, int height, std::uint8_t seed)
{
    auto p = std::make_shared<TPixmap>();
    p->width = width;
    p->height = height;
    p->format = PF_RGBA8888;
    std::uint32_t x = 2463534242u + seed;
    for (int i = 0; i < width * height * 4; ++i)
    {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p->pixels.push_back(static_cast<std::uint8_t>(x));
    }
    return p;
}

// While alive, no file may grow beyond `limit` bytes: a write past it fails with EFBIG instead of
// raising SIGXFSZ, which stays ignored afterwards.
class FileSizeLimit
{
  public:
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit r = saved_;
        r.rlim_cur = limit;
        ok_ = setrlimit(RLIMIT_FSIZE, &r) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    bool Ok() const { return ok_; }

  private:
    rlimit saved_{};
    bool ok_ = false;
};

// One kind of save: a body or a zone, its pictures embedded or in side files, with or without backup.
struct Case
{
    const char* what;
    bool zone;
    bool embed;
    int backup;
};

std::ostream& operator<<(std::ostream& out, const Case& c)
{
    return out << c.what;
}

const Case kCases[] = {
    {"BodySideBackup", false, false, 1}, {"BodySideNoBackup", false, false, 0},
    {"BodyEmbedBackup", false, true, 1}, {"BodyEmbedNoBackup", false, true, 0},
    {"ZoneSideBackup", true, false, 1},  {"ZoneSideNoBackup", true, false, 0},
    {"ZoneEmbedBackup", true, true, 1},  {"ZoneEmbedNoBackup", true, true, 0},
};

// Version 0 is an earlier save (its file becomes the backup that a failed save must keep), 1 the old
// file that a failed save must keep, 2 the changed object saved over it. The old version has a long
// name so that its file is the largest one written: a failing backup copy is then reached after
// every new file was complete.
std::function<void(const std::string&, int)> MakeSaver(const Case& c, int version)
{
    std::string name = version == 1 ? std::string(400, 'o') : "version " + std::to_string(version);
    auto seed = static_cast<std::uint8_t>(17 * version + 1);
    int embed = c.embed ? 1 : 0;
    if (c.zone)
    {
        TZoneRef z = TZone::Create({0, 0, 40, -5, 45, 30, 10, 35}, TZone::FILL, 0.5f, 3, 1);
        z->SetName(name);
        // The side picture is larger than the zone file, which is written before it.
        TImageRef picture = TImage::FromPixmap(Noise(8, 8, seed), 0);
        SetImageHandle(picture, 1.5f, -2.0f);
        z->ImageSet(picture);
        return
            [z, embed](const std::string& path, int backup) { EXPECT_EQ(z->Save(path, backup, embed), 0); };
    }
    auto body = std::make_shared<TAdvBody>();
    body->name = name;
    body->MassAdd(0, 0, 1, 2, 0.1f, -2);
    body->MassAdd(10, 0, 1, 2, 0.1f, -2);
    body->MassAdd(5, 8, 2, 3, 0.2f, 4);
    body->MassSetName(2, "hub " + std::to_string(version));
    body->ConAdd(0, 1, 10, 0.5f);
    body->ConAdd(1, 2, 0, 0.5f);
    // The side pictures come out in slot order and grow with the slot, and the body file, closed
    // after them, is larger still.
    body->ImageAdd(TImage::FromPixmap(Noise(2, 2, seed), 0));
    body->ImageAdd(TImage::FromPixmap(Noise(4, 3, seed), 0));
    body->RigAdd(0, 0, 0, 15);
    body->RigAdd(1, 2, -1, 0);
    body->RigSetName(1, "wheel");
    return
        [body, embed](const std::string& path, int backup) { EXPECT_EQ(body->Save(path, backup, embed), 0); };
}

std::string MainName(const Case& c)
{
    return c.zone ? "track.rvz" : "car.rvb";
}

// The files a save writes, in the order it writes them: side pictures are written and closed one
// after another, the body file is closed after its side pictures, the zone file before its picture,
// and the backup copy comes last.
std::vector<std::string> WrittenFiles(const Case& c)
{
    std::vector<std::string> files;
    if (c.zone)
    {
        files.push_back("track.rvz");
        if (!c.embed)
            files.push_back("track_img.png");
    }
    else
    {
        if (!c.embed)
        {
            files.push_back("car_img0.png");
            files.push_back("car_img1.png");
        }
        files.push_back("car.rvb");
    }
    if (c.backup != 0)
        files.push_back(MainName(c) + ".bak");
    return files;
}

// The old files a failed save must leave alone: the earlier backup, the old file and its pictures.
Snapshot Prepare(const Case& c, const std::string& dir)
{
    const std::string path = dir + "/" + MainName(c);
    MakeSaver(c, 0)(path, 1);
    MakeSaver(c, 1)(path, 1);
    return Snap(dir);
}

class SaveFaultTest : public ::testing::TestWithParam<Case>
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(1000, 1000, 0, 0, 1);
        dir = MakeDir("ravel-fault-");
        refDir = MakeDir("ravel-fault-ref-");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        fs::remove_all(refDir);
        TPhysics::Free();
    }
    // The folders go to memory where the machine has a place for that: the loops below save and read
    // back a few thousand small files, which a loaded disk makes slow.
    static std::string MakeDir(const std::string& prefix)
    {
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
                            ? fs::path("/dev/shm")
                            : fs::temp_directory_path();
        std::string pattern = (base / (prefix + "XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            return std::string();
        return pattern;
    }
    // What a successful save of the changed object over the prepared files gives.
    Snapshot SavedState(const Case& c)
    {
        Prepare(c, refDir);
        MakeSaver(c, 2)(refDir + "/" + MainName(c), c.backup);
        return Snap(refDir);
    }

    std::string dir;
    std::string refDir;
};

// The limit applies to each file on its own, not to the sum of what Save writes. Save writes its files
// one after another (see WrittenFiles; a body file smaller than the stdio buffer reaches the disk only
// when it is closed, after its side pictures), so a limit of N bytes cuts the first file longer than N at
// exactly N bytes, and no later file is begun. The objects are shaped so that the files grow in
// that order; then running N over 0 .. the largest length cuts every file at every length from the
// length of the file before it up to its own (and the first file at every length), each time after
// all the files before it were written whole. A larger limit lets every file through: the last N
// checks the successful save, and going on to the sum of all lengths would only repeat it.
TEST_P(SaveFaultTest, EveryFileCutAtEveryLengthKeepsTheOldFiles)
{
    const Case& c = GetParam();
    ASSERT_FALSE(dir.empty() || refDir.empty());
    const Snapshot before = Prepare(c, dir);
    const Snapshot after = SavedState(c);
    ASSERT_NE(Diff(before, after), "");
    // Saved with backup, the old file's bytes move to the backup; without, the earlier backup stays.
    ASSERT_TRUE(after.at(MainName(c) + ".bak") == before.at(MainName(c) + (c.backup ? "" : ".bak")));

    std::size_t largest = 0;
    for (const std::string& file : WrittenFiles(c))
    {
        ASSERT_GT(after.at(file).size(), largest) << file << " is not larger than the files before it";
        largest = after.at(file).size();
    }

    RecordProperty("limits", static_cast<int>(largest + 1));
    auto save = MakeSaver(c, 2);
    const std::string path = dir + "/" + MainName(c);
    for (std::size_t n = 0; n <= largest; ++n)
    {
        {
            FileSizeLimit limit(n);
            ASSERT_TRUE(limit.Ok());
            save(path, c.backup);
        }
        if (n < largest)
            ASSERT_EQ(Diff(before, Snap(dir)), "") << "writes failing beyond " << n << " bytes";
        else
            EXPECT_EQ(Diff(after, Snap(dir)), "") << "no limit reached";
    }
}

// Every file written whole, but the first side picture cannot take its name (a folder is there): the
// save fails after the backup was copied, and the earlier backup must still be the one in place.
class CommitFaultTest : public SaveFaultTest
{
};

TEST_P(CommitFaultTest, FailedCommitKeepsTheEarlierBackup)
{
    const Case& c = GetParam();
    ASSERT_FALSE(c.embed);
    Prepare(c, dir);
    const std::string blocked = dir + "/" + WrittenFiles(c)[c.zone ? 1 : 0];
    ASSERT_TRUE(fs::remove(blocked));
    ASSERT_TRUE(fs::create_directories(blocked + "/inside"));
    const Snapshot before = Snap(dir);
    MakeSaver(c, 2)(dir + "/" + MainName(c), c.backup);
    EXPECT_EQ(Diff(before, Snap(dir)), "");
}

// The process gets a mount namespace of its own, so that a tmpfs mounted for a test is seen by no
// one else and goes away with the process. Empty when it is allowed, else why not.
std::string PrivateMounts()
{
    static std::string why = []() -> std::string {
        if (unshare(CLONE_NEWNS) != 0)
            return std::string("cannot make a mount namespace: ") + std::strerror(errno);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make mounts private: ") + std::strerror(errno);
        return std::string();
    }();
    return why;
}

// Fills the file system of `dir` with `filler` and then frees `pages` pages of it again.
bool LeaveFree(const std::string& filler, long pages)
{
    const long page = sysconf(_SC_PAGESIZE);
    int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    std::vector<char> block(static_cast<std::size_t>(page), 'f');
    long blocks = 0;
    while (write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size()))
        ++blocks;
    bool ok = errno == ENOSPC && blocks >= pages && ftruncate(fd, (blocks - pages) * page) == 0;
    close(fd);
    return ok;
}

// A full file system: with k pages free, a save that needs more pages than that fails somewhere in
// its files and must leave the old ones; each file written here fits in one page.
TEST_P(SaveFaultTest, FullFileSystemKeepsTheOldFiles)
{
    const Case& c = GetParam();
    if (std::string why = PrivateMounts(); !why.empty())
        GTEST_SKIP() << why;
    const std::string mnt = MakeDir("ravel-tmpfs-");
    ASSERT_FALSE(mnt.empty());
    if (mount("ravel", mnt.c_str(), "tmpfs", 0, "size=256k") != 0)
    {
        int err = errno;
        fs::remove(mnt);
        GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(err);
    }
    const Snapshot before = Prepare(c, mnt);
    const Snapshot after = SavedState(c);
    auto save = MakeSaver(c, 2);
    const long files = static_cast<long>(WrittenFiles(c).size());
    long savedWith = -1;
    for (long pages = 0; pages <= files + 2 && savedWith < 0; ++pages)
    {
        ASSERT_TRUE(LeaveFree(mnt + "/.filler", pages));
        save(mnt + "/" + MainName(c), c.backup);
        Snapshot now = Snap(mnt);
        if (Diff(before, now).empty())
            continue;
        EXPECT_EQ(Diff(after, now), "") << pages << " pages free";
        savedWith = pages;
    }
    EXPECT_GT(savedWith, 0) << "a save on a full file system must fail";
    EXPECT_LE(savedWith, files) << "the save never went through";
    umount2(mnt.c_str(), MNT_DETACH);
    fs::remove(mnt);
}

INSTANTIATE_TEST_SUITE_P(SideFiles, CommitFaultTest,
                         ::testing::Values(kCases[0], kCases[1], kCases[4], kCases[5]),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.what); });
INSTANTIATE_TEST_SUITE_P(Saves, SaveFaultTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.what); });

// A memory stream that takes `room` bytes and then writes short.
class ShortStream : public TStream
{
  public:
    explicit ShortStream(std::size_t room) : room_(room) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void* src, std::size_t n) override
    {
        std::size_t done = std::min(n, room_ - bytes_.size());
        const auto* p = static_cast<const std::uint8_t*>(src);
        bytes_.insert(bytes_.end(), p, p + done);
        return done;
    }
    std::int64_t Pos() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::int64_t Size() const override { return Pos(); }
    std::int64_t Seek(std::int64_t) override { return -1; }

  private:
    std::size_t room_;
    Bytes bytes_;
};

TQuadTreeRef Tree()
{
    return TQuadTree::Create({0, 0, 40, -5, 45, 30, 10, 35}, TZone::FILL, -10, -10, 64, 64, 4);
}

TEST(StreamFaultTest, WritersReportEveryShortWrite)
{
    struct Writer
    {
        const char* what;
        std::function<int(TStream&)> write; // 1 when the writer reports success
        bool marksStream;                   // the loss shows in the stream's Failed flag too
    };
    const TPixmapRef pixmap = Noise(5, 4, 3);
    const TQuadTreeRef tree = Tree();
    ASSERT_NE(tree, nullptr);
    const Writer writers[] = {
        {"SavePixmapPNG", [&](TStream& s) { return SavePixmapPNG(*pixmap, s, 9); }, false},
        {"TQuadTree::Write", [&](TStream& s) { return tree->Write(s) == 0 && s.Failed() == 0 ? 1 : 0; },
         true},
        {"WriteLine", [](TStream& s) { return s.WriteLine("a line") == 0 && s.Failed() == 0 ? 1 : 0; }, true},
    };
    for (const Writer& w : writers)
    {
        TMemoryStream whole;
        ASSERT_EQ(w.write(whole), 1) << w.what;
        const std::size_t length = whole.Bytes().size();
        for (std::size_t n = 0; n < length; ++n)
        {
            ShortStream s(n);
            ASSERT_EQ(w.write(s), 0) << w.what << " with room for " << n << " of " << length << " bytes";
            if (w.marksStream)
            {
                ASSERT_EQ(s.Failed(), 1) << w.what;
            }
        }
        ShortStream s(length);
        EXPECT_EQ(w.write(s), 1) << w.what;
    }
}

// Bytes that stdio still buffers reach the full device only at the flush; what is larger than the
// buffer fails at the write itself.
TEST(StreamFaultTest, FullDeviceIsReportedAsFailure)
{
    if (FileType("/dev/full") == FILETYPE_FILE || access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full device here";
    {
        auto s = TFileStream::Open("/dev/full", true);
        ASSERT_NE(s, nullptr);
        s->WriteInt(7);
        EXPECT_EQ(s->Flush(), 0);
        EXPECT_EQ(s->Failed(), 1);
        EXPECT_EQ(s->Close(), 0);
    }
    {
        auto s = TFileStream::Open("/dev/full", true);
        ASSERT_NE(s, nullptr);
        Bytes big(1 << 20, 1);
        EXPECT_LT(s->Write(big.data(), big.size()), big.size());
        EXPECT_EQ(s->Failed(), 1);
        EXPECT_EQ(s->Close(), 0);
    }
    {
        auto s = TFileStream::Open("/dev/full", true);
        ASSERT_NE(s, nullptr);
        Tree()->Write(*s);
        EXPECT_EQ(CloseStream(s), 0);
    }
    {
        // A small picture fits in the buffer, so the failure shows when the stream is closed.
        auto s = TFileStream::Open("/dev/full", true);
        ASSERT_NE(s, nullptr);
        SavePixmapPNG(*Noise(3, 2, 1), *s, 9);
        EXPECT_EQ(CloseStream(s), 0);
    }
    {
        auto s = TFileStream::Open("/dev/full", true);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(SavePixmapPNG(*Noise(64, 64, 2), *s, 0), 0);
        EXPECT_EQ(CloseStream(s), 0);
    }
}

// A limit on file size is the fault injection of the save tests: check that it really cuts writes.
TEST(StreamFaultTest, FileSizeLimitCutsWrites)
{
    std::string path = (fs::temp_directory_path() / ("ravel-limit-" + std::to_string(getpid()))).string();
    {
        FileSizeLimit limit(10);
        ASSERT_TRUE(limit.Ok());
        auto s = TFileStream::Open(path, true);
        ASSERT_NE(s, nullptr);
        s->WriteString(std::string(100, 'x'));
        EXPECT_EQ(s->Close(), 0);
    }
    EXPECT_EQ(fs::file_size(path), 10u);
    EXPECT_EQ(CopyFile(path, path + ".copy"), 1);
    {
        FileSizeLimit limit(4);
        EXPECT_EQ(CopyFile(path, path + ".copy"), 0);
    }
    // A copy that fails leaves what was at the destination.
    EXPECT_EQ(ReadAll(path + ".copy"), Bytes(10, 'x'));
    EXPECT_EQ(FileType(path + ".copy.tmp" + std::to_string(getpid())), FILETYPE_NONE);
    fs::remove(path);
    fs::remove(path + ".copy");
}

} // namespace
