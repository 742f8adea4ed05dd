// The pile scene from 500 to 16,000 masses, pairs found through the grid and by testing every pair,
// in time per step over a settled window.
//
// Both variants settle the same way: the warm-up always runs with the grid on, and the grid switch
// is set for the timed steps only. Every mass is filed in the grid whichever way pairs are found,
// so switching between steps is safe and the timed steps start from the same settled pile. Testing
// every pair costs n^2 / 2 pair tests per step, so the window shrinks with the number of masses
// (kWindows) to keep the run in minutes.
#include "scenes/Scenes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace ravel::bench
{
using namespace ravel::scenes;

namespace
{

/// Untimed warm-up steps: the pile lands after about 200 steps and is still by 600.
constexpr int kWarmUp = 600;

/// Timed steps for one size, grid on and grid off.
struct Window
{
    int masses;
    int gridOn;
    int gridOff;
};

constexpr Window kWindows[] = {
    {500, 300, 300}, {1000, 300, 300}, {2000, 300, 300}, {4000, 300, 100}, {8000, 300, 30}, {16000, 300, 10},
};

/// Masses whose starting row lies on or below the floor: BuildPile stacks 80 to a row, 24 apart from
/// y = 64, so from 6,640 masses on the rows run past the bottom of the 2,048 world and are clamped.
int StartedBelowFloor()
{
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    int below = 0;
    for (const TMassRef& m : *massList)
        below += m->GetY() + m->GetRadius() > maxY ? 1 : 0;
    return below;
}

/// The deepest overlap of two colliding masses, in world units, and the height of the pile.
struct Settled
{
    double overlap = 0.0;
    double height = 0.0;
};

Settled Measure(const Scene& scene)
{
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    // Sorted by x, each mass need only look at the masses less than two radii to its right.
    std::vector<const TMass*> sorted;
    sorted.reserve(scene.masses.size());
    for (const TMassRef& m : scene.masses)
        sorted.push_back(m.get());
    std::sort(sorted.begin(), sorted.end(),
              [](const TMass* a, const TMass* b) { return a->GetX() < b->GetX(); });
    Settled s;
    double top = maxY;
    for (std::size_t i = 0; i < sorted.size(); ++i)
    {
        const TMass& a = *sorted[i];
        top = std::min(top, static_cast<double>(a.GetY() - a.GetRadius()));
        for (std::size_t j = i + 1; j < sorted.size(); ++j)
        {
            const TMass& b = *sorted[j];
            double reach = a.GetRadius() + b.GetRadius();
            double dx = b.GetX() - a.GetX();
            if (dx >= reach)
                break;
            double dy = b.GetY() - a.GetY();
            double d = std::sqrt(dx * dx + dy * dy);
            s.overlap = std::max(s.overlap, reach - d);
        }
    }
    s.height = maxY - top;
    return s;
}

void StepPile(benchmark::State& state, int masses, int grid)
{
    Scene scene = BuildPile(masses);
    const int below = StartedBelowFloor();
    TPhysics::UseShiftedGrid(1);
    for (int k = 0; k < kWarmUp; ++k)
        TPhysics::Update();
    TPhysics::UseShiftedGrid(grid);
    for (auto _ : state)
        TPhysics::Update();
    TPhysics::UseShiftedGrid(1);
    const Settled settled = Measure(scene);
    state.counters["masses"] = static_cast<double>(massList->Count());
    state.counters["grid"] = grid;
    state.counters["warmup"] = kWarmUp;
    state.counters["below_floor"] = below;
    state.counters["overlap"] = settled.overlap;
    state.counters["height"] = settled.height;
    Release(scene);
}

/// Registers every size both ways, grid on first, as BM_ScalingPile/masses:<n>/grid:<0|1>.
const bool registered = [] {
    for (const Window& w : kWindows)
        for (int grid : {1, 0})
        {
            std::string name =
                "BM_ScalingPile/masses:" + std::to_string(w.masses) + "/grid:" + std::to_string(grid);
            benchmark::RegisterBenchmark(name.c_str(), StepPile, w.masses, grid)
                ->Iterations(grid ? w.gridOn : w.gridOff)
                ->Unit(benchmark::kMicrosecond);
        }
    return true;
}();

} // namespace
} // namespace ravel::bench
