// The simulation step on the three reference scenes, in nanoseconds per step.
#include "scenes/Scenes.h"
#include "scenes/kernel/Kernel.h"

#include <benchmark/benchmark.h>

namespace ravel::bench
{
using namespace ravel::scenes;

namespace
{

// Runs `warm` steps untimed, then times one step per iteration.
template <Scene (*Build)(int), int size> void StepScene(benchmark::State& state, int warm)
{
    Scene scene = Build(size);
    for (int k = 0; k < warm; ++k)
        TPhysics::Update();
    for (auto _ : state)
        TPhysics::Update();
    state.counters["masses"] = static_cast<double>(massList->Count());
    state.counters["constraints"] = static_cast<double>(constraintList->Count());
    Release(scene);
}

// The same, on the flat-array kernel of the same algorithm.
template <Scene (*Build)(int), int size> void KernelScene(benchmark::State& state, int warm)
{
    Scene scene = Build(size);
    Kernel kernel = Kernel::FromWorld();
    for (int k = 0; k < warm; ++k)
        kernel.Step();
    for (auto _ : state)
        kernel.Step();
    state.counters["masses"] = static_cast<double>(kernel.Count());
    Release(scene);
}

void BM_KernelPile(benchmark::State& state)
{
    KernelScene<BuildPile, 4000>(state, 600);
}
void BM_KernelCloth(benchmark::State& state)
{
    KernelScene<BuildCloth, 100>(state, 300);
}
void BM_KernelBlobs(benchmark::State& state)
{
    KernelScene<BuildBlobs, 400>(state, 600);
}

BENCHMARK(BM_KernelPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_StepPile(benchmark::State& state)
{
    StepScene<BuildPile, 4000>(state, 600);
}
void BM_StepCloth(benchmark::State& state)
{
    StepScene<BuildCloth, 100>(state, 300);
}
void BM_StepBlobs(benchmark::State& state)
{
    StepScene<BuildBlobs, 400>(state, 600);
}

BENCHMARK(BM_StepPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench
