// tests/demo/SoakTest.cpp: the demo loop for 20,000 frames (100,000 in the full soak), headless on
// SDL's software renderer, with a scripted driver going round the circuit, pulling the handbrake and
// cutting a corner over the grass every other lap. The collision event queue, the smoke list and the
// process's memory must stay bounded, and two runs from the same start must end bit for bit in the same
// place. The two runs are two processes forked from one, side by side on the machine's two cores.
#include "tests/demo/DemoFixture.h"

#include "physics/TColEvent.h"
#include "platform/Random.h"
#include "platform/TClock.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ravel::demo::test
{
namespace
{

// A quarter of the 800 x 600 mode's pixels: the software renderer's cost grows with the picture, and
// the zoom factor (width / 1024) keeps the same stretch of the world in view.
constexpr int kWidth = 320;
constexpr int kHeight = 240;
// The full soak, run by hand or before a release:
//   RAVEL_SOAK_FRAMES=100000 build/ci/tests/demo/demo_soak
// It takes some five minutes on a quiet machine of two cores.
constexpr int kSoakFrames = 100000;
#ifdef RAVEL_SOAK_SANITIZED
// Under the sanitizers every frame costs many times as much: a shorter soak, same checks but memory.
constexpr int kDefaultFrames = 10000;
#else
// What the test suite runs: ten laps, about a minute on a quiet machine and a few on a busy one.
constexpr int kDefaultFrames = 20000;
#endif

// The handbrake is held for the first kHandbrakeHold frames of every kHandbrakeEvery.
constexpr int kHandbrakeEvery = 600;
constexpr int kHandbrakeHold = 15;

// Bounds the run must stay within.
constexpr int kMaxQueue = 64;  // a contact per mass and zone or other mass; the car has few masses
constexpr int kMaxSmoke = 204; // four wheels, a puff each per frame, each puff drawn 51 times
constexpr long kMaxRssGrowthKb = 2048;

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    std::string prefix = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// The script needs a few laps for every check to have something to count: the grass comes on the
// second lap, the memory is compared from a tenth of the run on.
constexpr int kMinFrames = 10000;

// The run's length: RAVEL_SOAK_FRAMES when set (at least kMinFrames), else the default.
int Frames()
{
    if (const char* env = std::getenv("RAVEL_SOAK_FRAMES"))
    {
        int n = std::atoi(env);
        if (n > 0)
            return std::max(n, kMinFrames);
    }
    return kDefaultFrames;
}

// The figures of one run; plain data, so that a forked run can send them back through a pipe.
struct TSoakFigures
{
    int frames = 0;
    std::uint64_t trace = 0; // every frame's positions and counts, hashed
    int smokeCount = 0;      // at the end
    int eventCount = 0;      // at the end
    int laps = 0;
    int maxQueue = 0;
    int maxSmoke = 0;
    long handbrakeFrames = 0;
    long lockedFrames = 0;  // frames with a wheel LOCKED
    long slidingFrames = 0; // frames with a wheel in SKID or SPIN
    long smokeCreated = 0;
    long grassFrames = 0;    // frames after which a wheel's grip was lowered by the grass
    long zoneEvents = 0;     // queued events of the zone kind, summed over the frames
    long rssEarlyKb = -1;    // VmRSS at a tenth of the run
    long rssEndKb = -1;      // VmRSS at the end
    long hwmKb = -1;         // VmHWM at the end
    double seconds = 0.0;    // wall clock
    double cpuSeconds = 0.0; // user and system time of the process
    int positionCount = 0;
    char error[200] = {};
};

struct TSoakResult
{
    TSoakFigures f;
    std::vector<std::uint32_t> positions; // x and y bits of every existing chassis mass, by slot

    void Fail(const std::string& why) { std::snprintf(f.error, sizeof f.error, "%s", why.c_str()); }
};

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

class TSoak
{
  public:
    explicit TSoak(int frames) : frames_(frames) { drained_.reserve(kMaxQueue * 4); }

    TSoakResult Run()
    {
        auto start = std::chrono::steady_clock::now();
        double cpuStart = CpuSeconds();
        TSoakResult result;
        TSoakFigures& r = result.f;
        r.frames = frames_;
        SeedRandom(4660);
        SetClock(std::make_shared<TStepClock>());
        SetGraphicsDriver(SDLSurfaceDriver2D(), GRAPHICS_BACKBUFFER);
        if (!OpenGraphics(kWidth, kHeight, 0, 60, 0))
        {
            result.Fail("cannot open the graphics: " + GraphicsError());
            return result;
        }
        if (StartWorld(static_cast<float>(kWidth) / 1024.0f) != 1)
        {
            result.Fail("cannot read " + mediaError);
            Shutdown();
            return result;
        }

        TAutopilot pilot;
        const TAutopilot::TArc arc = pilot.FirstCorner();
        const std::size_t cutFrom = arc.from > 40 ? arc.from - 40 : 0;
        const std::size_t cutTo = arc.to + 20;
        pilot.Nearest(car->chassis->GetX(), car->chassis->GetY());

        std::uint64_t hash = 1469598103934665603ull;
        auto mix = [&hash](std::uint32_t v) {
            for (int b = 0; b < 4; ++b)
            {
                hash ^= (v >> (8 * b)) & 0xffu;
                hash *= 1099511628211ull;
            }
        };

        for (int f = 0; f < frames_; ++f)
        {
            // Every other lap cuts the first corner a road's width inside, at full throttle.
            bool cutting = pilot.Laps() % 2 == 1;
            if (cutting)
                pilot.Drive(keys_, 260.0f, cutFrom, cutTo);
            else
                pilot.Drive(keys_);
            bool inCut = cutting && TAutopilot::InRange(pilot.Index(), cutFrom, cutTo);
            if (inCut)
            {
                keys_.Set(VK_DOWN, false);
                keys_.Set(VK_UP, true);
            }
            bool handbrake = !inCut && f % kHandbrakeEvery < kHandbrakeHold;
            keys_.Set(VK_SPACE, handbrake);
            r.handbrakeFrames += handbrake ? 1 : 0;

            // The loop body of the demo, its two halves with the smoke and the queue read in between.
            int smokeBefore = smokeList->Count();
            StepFrame();
            int smokeAfter = smokeList->Count();
            r.smokeCreated += smokeAfter - smokeBefore;
            r.maxSmoke = std::max(r.maxSmoke, smokeAfter);
            int zone = 0;
            int queued = QueueLength(zone);
            r.maxQueue = std::max(r.maxQueue, queued);
            r.zoneEvents += zone;
            bool grass = false, locked = false, sliding = false;
            for (int i = 0; i < 4; ++i)
            {
                grass = grass || car->wGrip[i] != 0.9f;
                locked = locked || car->wStatus[i] == TCar::LOCKED;
                sliding = sliding || car->wStatus[i] == TCar::SKID || car->wStatus[i] == TCar::SPIN;
            }
            r.grassFrames += grass ? 1 : 0;
            r.lockedFrames += locked ? 1 : 0;
            r.slidingFrames += sliding ? 1 : 0;
            DrawFrame();
            if (KeyHitCount(VK_ESCAPE) != 0 || AppTerminate())
            {
                result.Fail("the loop was asked to end at frame " + std::to_string(f));
                break;
            }

            TAdvBody& body = *car->chassis;
            for (int m = 0; m <= body.MassMaxIndex(); ++m)
                if (body.MassExists(m))
                {
                    mix(std::bit_cast<std::uint32_t>(body.MassGetX(m)));
                    mix(std::bit_cast<std::uint32_t>(body.MassGetY(m)));
                }
            mix(static_cast<std::uint32_t>(smokeList->Count()));
            mix(static_cast<std::uint32_t>(queued));

            if (f + 1 == frames_ / 10)
                r.rssEarlyKb = StatusKb("VmRSS");
        }
        r.rssEndKb = StatusKb("VmRSS");
        r.hwmKb = StatusKb("VmHWM");

        TAdvBody& body = *car->chassis;
        for (int m = 0; m <= body.MassMaxIndex(); ++m)
            if (body.MassExists(m))
            {
                result.positions.push_back(std::bit_cast<std::uint32_t>(body.MassGetX(m)));
                result.positions.push_back(std::bit_cast<std::uint32_t>(body.MassGetY(m)));
            }
        r.positionCount = static_cast<int>(result.positions.size());
        r.trace = hash;
        r.smokeCount = smokeList->Count();
        int unused = 0;
        r.eventCount = QueueLength(unused);
        r.laps = pilot.Laps();

        keys_.ReleaseAll();
        FlushKeys();
        Shutdown();
        SetClock(nullptr);
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.cpuSeconds = CpuSeconds() - cpuStart;
        return result;
    }

  private:
    // Counts the queued events (and those of the zone kind) and leaves the queue as it was: drained
    // oldest first, then the queue and its pair index emptied and the same events queued again in
    // the same order.
    int QueueLength(int& zoneEvents)
    {
        drained_.clear();
        while (TColEventRef e = TColEvent::Poll())
            drained_.push_back(e);
        TColEvent::Flush();
        zoneEvents = 0;
        for (const TColEventRef& e : drained_)
        {
            zoneEvents += e->GetID() == TColEvent::MASS_ZONE ? 1 : 0;
            TColEvent::Post(e, TColEvent::GetMode());
        }
        int n = static_cast<int>(drained_.size());
        drained_.clear();
        return n;
    }

    int frames_;
    TKeys keys_;
    std::vector<TColEventRef> drained_;
};

// Moves all `size` bytes at `p` through `io` (read or write), over as many calls as it takes; false
// when a call fails or the pipe ends first.
template <typename TByte, typename TIo> bool TransferAll(int fd, TByte* p, std::size_t size, TIo io)
{
    while (size > 0)
    {
        ssize_t n = io(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, const void* data, std::size_t size)
{
    return TransferAll(fd, static_cast<const char*>(data), size, write);
}

bool ReadAll(int fd, void* data, std::size_t size)
{
    return TransferAll(fd, static_cast<char*>(data), size, read);
}

// Runs the soak in a child forked now, before any graphics or world exists, so that it starts from
// the same state as the parent's own run; calls `parentRun` meanwhile and returns the child's result.
TSoakResult RunForked(int frames, const std::function<void()>& parentRun)
{
    TSoakResult child;
    int fds[2];
    if (pipe(fds) != 0)
    {
        child.Fail("pipe failed");
        return child;
    }
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid < 0)
    {
        close(fds[0]);
        close(fds[1]);
        child.Fail("fork failed");
        return child;
    }
    if (pid == 0)
    {
        close(fds[0]);
        TSoakResult r = TSoak(frames).Run();
        bool sent = WriteAll(fds[1], &r.f, sizeof r.f) &&
                    WriteAll(fds[1], r.positions.data(), r.positions.size() * sizeof(std::uint32_t));
        _exit(sent ? 0 : 1); // no test teardown in the child: the parent reports
    }
    close(fds[1]);
    parentRun();
    if (!ReadAll(fds[0], &child.f, sizeof child.f))
        child.Fail("the forked run died before it reported");
    else
    {
        child.positions.resize(static_cast<std::size_t>(std::max(child.f.positionCount, 0)));
        if (!ReadAll(fds[0], child.positions.data(), child.positions.size() * sizeof(std::uint32_t)))
            child.Fail("the forked run's positions were cut short");
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        child.Fail("the forked run ended with status " + std::to_string(status));
    return child;
}

void Report(const TSoakResult& result, const char* run)
{
    const TSoakFigures& r = result.f;
    std::printf("soak %s: %d frames in %.1f s (%.1f s of CPU), %d laps; max event queue %d, max smoke "
                "list %d; handbrake frames %ld, locked frames %ld, sliding frames %ld, smoke puffs %ld; "
                "grass frames %ld, "
                "zone events %ld; VmRSS %ld kB at frame %d, %ld kB at frame %d (growth %ld kB), VmHWM "
                "%ld kB\n",
                run, r.frames, r.seconds, r.cpuSeconds, r.laps, r.maxQueue, r.maxSmoke, r.handbrakeFrames,
                r.lockedFrames, r.slidingFrames, r.smokeCreated, r.grassFrames, r.zoneEvents, r.rssEarlyKb,
                r.frames / 10, r.rssEndKb, r.frames, r.rssEndKb - r.rssEarlyKb, r.hwmKb);
    std::fflush(stdout);
    std::string p = std::string(run) + "_";
    ::testing::Test::RecordProperty(p + "seconds", std::to_string(r.seconds));
    ::testing::Test::RecordProperty(p + "cpu_seconds", std::to_string(r.cpuSeconds));
    ::testing::Test::RecordProperty(p + "max_event_queue", r.maxQueue);
    ::testing::Test::RecordProperty(p + "max_smoke_list", r.maxSmoke);
    ::testing::Test::RecordProperty(p + "vmrss_early_kb", static_cast<int>(r.rssEarlyKb));
    ::testing::Test::RecordProperty(p + "vmrss_end_kb", static_cast<int>(r.rssEndKb));
    ::testing::Test::RecordProperty(p + "vmhwm_kb", static_cast<int>(r.hwmKb));
}

void ExpectBounded(const TSoakResult& result, const char* run)
{
    SCOPED_TRACE(run);
    const TSoakFigures& r = result.f;
    ASSERT_EQ(r.error[0], '\0') << r.error;
    // The script did what it was meant to: laps, handbrake slides with smoke, grass contacts.
    EXPECT_GE(r.laps, r.frames / 4000) << "the car has not kept going round";
    EXPECT_GT(r.handbrakeFrames, 0);
    EXPECT_EQ(r.lockedFrames, r.handbrakeFrames);
    EXPECT_GT(r.slidingFrames, r.handbrakeFrames); // skids after each release, slides in the cuts
    EXPECT_GE(r.smokeCreated, r.handbrakeFrames * 2);
    EXPECT_GT(r.grassFrames, 20);
    EXPECT_GE(r.zoneEvents, r.grassFrames);
    // The bounds.
    EXPECT_LE(r.maxQueue, kMaxQueue);
    EXPECT_LE(r.maxSmoke, kMaxSmoke);
    EXPECT_GT(r.maxSmoke, 0);
#ifdef RAVEL_SOAK_SANITIZED
    std::printf("memory growth not checked: the sanitizers' quarantine holds freed memory back\n");
#else
    ASSERT_GT(r.rssEarlyKb, 0);
    ASSERT_GT(r.rssEndKb, 0);
    EXPECT_LT(r.rssEndKb - r.rssEarlyKb, kMaxRssGrowthKb)
        << "VmRSS grew from " << r.rssEarlyKb << " kB to " << r.rssEndKb << " kB";
#endif
}

TEST(DemoSoak, LongRunStaysBoundedAndRepeatsBitForBit)
{
    ASSERT_EQ(chdir(RAVEL_SOURCE_DIR), 0);
    const int frames = Frames();
    if (frames != kSoakFrames)
        std::printf("soak of %d frames; the full soak is RAVEL_SOAK_FRAMES=%d (at least %d)\n", frames,
                    kSoakFrames, kMinFrames);

    TSoakResult first;
    TSoakResult second = RunForked(frames, [&] { first = TSoak(frames).Run(); });
    Report(first, "run1");
    Report(second, "run2");
    ExpectBounded(first, "run1");
    ExpectBounded(second, "run2");

    ASSERT_FALSE(first.positions.empty());
    ASSERT_EQ(first.positions.size(), second.positions.size());
    EXPECT_EQ(std::memcmp(first.positions.data(), second.positions.data(),
                          first.positions.size() * sizeof(std::uint32_t)),
              0)
        << "the final positions differ between the two runs";
    EXPECT_EQ(first.f.trace, second.f.trace) << "the runs went apart somewhere on the way";
    EXPECT_EQ(first.f.smokeCount, second.f.smokeCount);
    EXPECT_EQ(first.f.eventCount, second.f.eventCount);
    EXPECT_EQ(first.f.smokeCreated, second.f.smokeCreated);
    EXPECT_EQ(first.f.laps, second.f.laps);
}

// With the view turning with the car (Enter) the track images reach SDL's software renderer as turned
// quads reaching far outside the picture, which SDL cannot draw whole without reading outside the
// texture: fifteen hundred such frames must draw without a fault.
TEST_F(DemoTest, RotatedViewFramesOnTheSoftwareRenderer)
{
    TAutopilot pilot;
    pilot.Nearest(car->chassis->GetX(), car->chassis->GetY());
    keys.Set(VK_RETURN, true);
    keys.Set(VK_RETURN, false);
    for (int f = 0; f < 1500; ++f)
    {
        pilot.Drive(keys);
        ASSERT_EQ(Frame(), 0);
        ASSERT_EQ(rotateView, 1);
    }
}

} // namespace
} // namespace ravel::demo::test
