// The pile scene from 500 to 16,000 masses, pairs found through the grid and by testing every pair,
// in time per step over a settled window.
//
// Both variants settle the same way: the warm-up always runs with the grid on, and the grid switch
// is set for the timed steps only. Every mass is filed in the grid whichever way pairs are found,
// so switching between steps is safe and the timed steps start from the same settled pile. Testing
// every pair costs n^2 / 2 pair tests per step, so the window shrinks with the number of masses
// (kWindows) to keep the run in minutes. Up to 4,000 masses the pile is built in the 2,048 world
// (cells of 32 units), beyond that in the 4,096 world (cells of 64 units), so that every mass starts
// inside the world.
#include "bench/Sanity.h"
#include "scenes/Scenes.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace ravel::bench
{
using namespace ravel::scenes;

namespace
{

/// One size: its untimed warm-up and its timed steps, grid on and off.
struct Window
{
    int masses;
    int warmUp;
    int gridOn;
    int gridOff;
};

/// The 2,048 world holds 83 rows of 80 (6,640 masses); larger piles are built in the 4,096 world, 160
/// to a row, where they fall farther and settle later: the 8,000 pile is steady from about 800 steps
/// and the 16,000 pile from about 1,100, the smaller ones from about 550.
constexpr Window kWindows[] = {
    {500, 600, 300, 300},  {1000, 600, 300, 300}, {2000, 600, 300, 300},
    {4000, 600, 300, 100}, {8000, 1200, 300, 30}, {16000, 1200, 300, 10},
};

/// The largest pile that starts inside the 2,048 world.
constexpr int kSmallWorldMost = 6640;

Scene Build(int masses)
{
    return masses <= kSmallWorldMost ? BuildPile(masses) : BuildBigPile(masses);
}

/// Masses whose disc starts beyond the floor and would be clamped onto it at the first step: none,
/// as each size is built in a world its rows fit.
int StartedBelowFloor()
{
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    int below = 0;
    for (const TMassRef& m : *massList)
        below += m->GetY() + m->GetRadius() > maxY ? 1 : 0;
    return below;
}

void StepPile(benchmark::State& state, Window window, int grid)
{
    Scene scene = Build(window.masses);
    const int below = StartedBelowFloor();
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    TPhysics::UseShiftedGrid(1);
    for (int k = 0; k < window.warmUp; ++k)
        TPhysics::Update();
    TPhysics::UseShiftedGrid(grid);
    for (auto _ : state)
        TPhysics::Update();
    TPhysics::UseShiftedGrid(1);
    std::vector<Disc> discs;
    discs.reserve(scene.masses.size());
    for (const TMassRef& m : scene.masses)
        discs.push_back({m->GetX(), m->GetY(), m->GetRadius(), m->GetColGroup()});
    const Sanity settled = Inspect(discs, {});
    state.counters["masses"] = static_cast<double>(massList->Count());
    state.counters["grid"] = grid;
    state.counters["world"] = maxX - minX;
    state.counters["warmup"] = window.warmUp;
    state.counters["below_floor"] = below;
    state.counters["touching"] = settled.touching;
    state.counters["overlap"] = settled.overlap;
    state.counters["height"] = maxY - settled.top;
    Release(scene);
}

/// Registers every size both ways, grid on first, as BM_ScalingPile/masses:<n>/grid:<0|1>.
const bool registered = [] {
    for (const Window& w : kWindows)
        for (int grid : {1, 0})
        {
            std::string name =
                "BM_ScalingPile/masses:" + std::to_string(w.masses) + "/grid:" + std::to_string(grid);
            benchmark::RegisterBenchmark(name.c_str(), StepPile, w, grid)
                ->Iterations(grid ? w.gridOn : w.gridOff)
                ->Unit(benchmark::kMicrosecond);
        }
    return true;
}();

} // namespace
} // namespace ravel::bench
