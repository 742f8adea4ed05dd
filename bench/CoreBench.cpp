// The simulation step on the reference scenes, in nanoseconds per step. After the timed steps each
// benchmark reports what the scene looks like (bench/Sanity.h), measured as the peers measure theirs.
#include "bench/Sanity.h"
#include "scenes/Scenes.h"
#include "scenes/kernel/Kernel.h"

#include <benchmark/benchmark.h>

#include <unordered_map>

namespace ravel::bench
{
using namespace ravel::scenes;

namespace
{

/// The world's masses as discs and its constraints as rest lengths, in registry order (the order
/// the kernel copies them in).
struct Shape
{
    std::vector<Disc> discs;
    std::vector<Rest> sticks;
};

Shape WorldShape()
{
    Shape shape;
    std::unordered_map<const TMass*, int> index;
    for (const TMassRef& m : *massList)
    {
        index[m.get()] = static_cast<int>(shape.discs.size());
        shape.discs.push_back({m->GetX(), m->GetY(), m->GetRadius(), m->GetColGroup()});
    }
    for (const TConstraintRef& c : *constraintList)
        shape.sticks.push_back(
            {index.at(c->GetMass1().get()), index.at(c->GetMass2().get()), c->GetRestLength()});
    return shape;
}

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
    const Shape shape = WorldShape();
    Report(state, Inspect(shape.discs, shape.sticks));
    Release(scene);
}

// The same, on the flat-array kernel of the same algorithm.
template <Scene (*Build)(int), int size> void KernelScene(benchmark::State& state, int warm)
{
    Scene scene = Build(size);
    Kernel kernel = Kernel::FromWorld();
    Shape shape = WorldShape();
    for (int k = 0; k < warm; ++k)
        kernel.Step();
    for (auto _ : state)
        kernel.Step();
    state.counters["masses"] = static_cast<double>(kernel.Count());
    for (int i = 0; i < kernel.Count(); ++i)
    {
        shape.discs[i].x = kernel.X(i);
        shape.discs[i].y = kernel.Y(i);
    }
    Report(state, Inspect(shape.discs, shape.sticks));
    Release(scene);
}

// Warm-ups: the pile lands after about 200 steps and keeps a steady jiggle from about 550 on; the
// big pile falls twice as far under twice the load and is steady from about 1,100 steps; the cloth
// hangs still by 300; the blobs have settled by 600.
constexpr int kPileWarmUp = 600;
constexpr int kClothWarmUp = 300;
constexpr int kBlobsWarmUp = 600;
constexpr int kBigPileWarmUp = 1200;

void BM_KernelPile(benchmark::State& state)
{
    KernelScene<BuildPile, 4000>(state, kPileWarmUp);
}
void BM_KernelCloth(benchmark::State& state)
{
    KernelScene<BuildCloth, 100>(state, kClothWarmUp);
}
void BM_KernelBlobs(benchmark::State& state)
{
    KernelScene<BuildBlobs, 400>(state, kBlobsWarmUp);
}
void BM_KernelBigPile(benchmark::State& state)
{
    KernelScene<BuildBigPile, 16000>(state, kBigPileWarmUp);
}

BENCHMARK(BM_KernelPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelBigPile)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_StepPile(benchmark::State& state)
{
    StepScene<BuildPile, 4000>(state, kPileWarmUp);
}
void BM_StepCloth(benchmark::State& state)
{
    StepScene<BuildCloth, 100>(state, kClothWarmUp);
}
void BM_StepBlobs(benchmark::State& state)
{
    StepScene<BuildBlobs, 400>(state, kBlobsWarmUp);
}
void BM_StepBigPile(benchmark::State& state)
{
    StepScene<BuildBigPile, 16000>(state, kBigPileWarmUp);
}

BENCHMARK(BM_StepPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepBigPile)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench
