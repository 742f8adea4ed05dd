// The car demo's frame, headless on SDL's software renderer over an in-memory 800 x 600 surface,
// with the car driven round the circuit by the autopilot through the demo's own keys.
// Reports CPU time per frame: the car update and the step alone, and the whole frame with drawing,
// with the view fixed and turning.
//
// The graphics open with no refresh rate, so Flip(-1) neither paces nor waits; a clock that only
// moves when asked to sleep is installed as well, so no frame can ever sleep. The autopilot's own
// work (choosing keys) is outside the timing.
#include "scenes/demo/Autopilot.h"
#include "scenes/demo/Headless.h"

#include "demo/Demo.h"
#include "physics/TPhysics.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"
#include "platform/TClock.h"
#include "platform/TSDLDriver2D.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <unistd.h>

namespace ravel::demo::bench
{
namespace
{

/// Untimed frames first: the car leaves the line and gets up to speed.
constexpr int kWarmUpFrames = 120;
/// Timed frames: 30 seconds of driving at 60 frames per second.
constexpr int kFrames = 1800;

/// The demo started as the player's 800 x 600 software mode starts it, and shut down again.
class TDemoRun
{
  public:
    TDemoRun()
    {
        if (chdir(RAVEL_SOURCE_DIR) != 0)
            return;
        SetClock(std::make_shared<scenes::TStepClock>());
        SetGraphicsDriver(SDLSurfaceDriver2D(), GRAPHICS_BACKBUFFER);
        if (!OpenGraphics(800, 600, 0, 0, 0))
            return;
        FlushKeys();
        if (StartWorld(0.78125f) != 1)
            return;
        pilot.Nearest(car->chassis->GetX(), car->chassis->GetY());
        ok = true;
    }
    ~TDemoRun()
    {
        keys.ReleaseAll();
        if (car)
            Shutdown();
        SetClock(nullptr);
    }
    TDemoRun(const TDemoRun&) = delete;
    TDemoRun& operator=(const TDemoRun&) = delete;

    void Drive() { pilot.Drive(keys); }

    scenes::TKeys keys;
    scenes::TAutopilot pilot;
    bool ok = false;
};

template <bool draw, bool turnView = false> void DemoFrames(benchmark::State& state)
{
    TDemoRun run;
    if (!run.ok)
    {
        state.SkipWithError(("the demo did not start: " + GraphicsError() + mediaError).c_str());
        return;
    }
    rotateView = turnView ? 1 : 0;
    for (int f = 0; f < kWarmUpFrames; ++f)
    {
        run.Drive();
        StepFrame();
        if (draw)
            DrawFrame();
    }
    float fastest = 0.0f;
    for (auto _ : state)
    {
        state.PauseTiming();
        run.Drive();
        state.ResumeTiming();
        StepFrame();
        if (draw)
            DrawFrame();
        fastest = std::max(fastest, car->chassis->MassGetVelocity(0));
    }
    state.counters["masses"] = static_cast<double>(massList->Count());
    state.counters["top_speed"] = fastest;
    state.counters["laps"] = run.pilot.Laps();
    state.counters["smoke"] = smokeList->Count();
}

/// (a) The car's update and the world step: StepFrame.
void BM_DemoCarAndStep(benchmark::State& state)
{
    DemoFrames<false>(state);
}
/// (b) The whole frame: StepFrame, then DrawFrame through the software renderer at 800 x 600.
void BM_DemoFrame(benchmark::State& state)
{
    DemoFrames<true>(state);
}

/// (c) As (b) with the view turning with the car (Enter): the track images are drawn turned, cut into
/// pieces the software renderer can take.
void BM_DemoFrameTurningView(benchmark::State& state)
{
    DemoFrames<true, true>(state);
}

BENCHMARK(BM_DemoCarAndStep)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DemoFrame)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DemoFrameTurningView)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::demo::bench
