// Zones: masses stepping over zones, one mass against one zone, building quadtrees, loading zone files.
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"
#include "platform/TImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace ravel::bench
{
namespace
{

// A wavy ring of `count` vertices around (cx, cy): radius r, varied by +-10 %.
std::vector<float> Ring(int count, float cx, float cy, float r)
{
    std::vector<float> area;
    area.reserve(static_cast<std::size_t>(count) * 2);
    for (int k = 0; k < count; ++k)
    {
        float a = 360.0f * static_cast<float>(k) / static_cast<float>(count);
        float rk = r * (1.0f + 0.1f * SinDeg(a * 7.0f));
        area.push_back(cx + CosDeg(a) * rk);
        area.push_back(cy + SinDeg(a) * rk);
    }
    return area;
}

// A small fixed-seed generator, so every run moves the same masses.
struct Lcg
{
    std::uint32_t s = 12345;
    float Next()
    {
        s = s * 1664525u + 1013904223u;
        return static_cast<float>(s >> 8) / static_cast<float>(1u << 24);
    }
};

// 4,000 masses inside a HOLE arena holding a FILL and a LOOP obstacle, all of 200 vertices at level 8;
// one step per iteration. With arg 0 the zones are freed before timing, which gives the cost of the
// rest of the step on the same masses.
void BM_StepOverZones(benchmark::State& state)
{
    TPhysics::Create(6000, 6000, 0, 0, 1);
    TPhysics::UseShiftedGrid(1);
    TPhysics::SetGridSize(64);
    std::vector<TZoneRef> zones = {
        TZone::Create(Ring(200, 3000, 3000, 2600), TZone::HOLE, 0.2f, 1, 8),
        TZone::Create(Ring(200, 2200, 3000, 500), TZone::FILL, 0.2f, 1, 8),
        TZone::Create(Ring(200, 3900, 3000, 500), TZone::LOOP, 0.2f, 1, 8),
    };
    std::vector<TMassRef> masses;
    Lcg rng;
    while (masses.size() < 4000)
    {
        float x = 600 + rng.Next() * 4800;
        float y = 600 + rng.Next() * 4800;
        float dx = x - 2200, dy = y - 3000;
        if (dx * dx + dy * dy < 620.0f * 620.0f)
            continue; // not inside the solid obstacle
        TMassRef m = TMass::Create(x, y, 1, 4, 0.1f, 2);
        m->SetVelocity(rng.Next() * 6 - 3, rng.Next() * 6 - 3);
        m->AddRef();
        masses.push_back(m);
    }
    for (int k = 0; k < 30; ++k)
        TPhysics::Update();
    if (state.range(0) == 0)
        for (const TZoneRef& z : zones)
            z->Free();
    for (auto _ : state)
        TPhysics::Update();
    state.counters["masses"] = static_cast<double>(masses.size());
    for (const TMassRef& m : masses)
        m->SubRef();
    TPhysics::Free();
}
BENCHMARK(BM_StepOverZones)->Arg(1)->Arg(0)->ArgName("zones")->Unit(benchmark::kMicrosecond);

// One mass against one 200-vertex zone at level 8, by style: arg 0 the style, arg 1 where the mass is
// (0 away from the outline, rejected by the tree; 1 touching the outline: a contact resolved by the
// default response and reported).
void BM_ZoneCollide(benchmark::State& state)
{
    const int style = static_cast<int>(state.range(0));
    const bool touching = state.range(1) != 0;
    TPhysics::Create(6000, 6000, 0, 0, 1);
    TZoneRef zone = TZone::Create(Ring(200, 0, 0, 500), style, 0.2f, 1, 8);
    // The outline crosses the +x axis at 500. The centre is empty in the trees of all styles but FILL,
    // whose empty part is outside the ring, towards the corner of its box.
    float x = 0.0f, y = 0.0f;
    if (touching)
        x = 497.0f;
    else if (style == TZone::FILL)
        x = y = 460.0f;
    TMassRef mass = TMass::Create(x, y, 1, 5, 0.1f, 2);
    for (auto _ : state)
    {
        mass->posX = mass->oldPosX = x;
        mass->posY = mass->oldPosY = y;
        zone->Collide(*mass);
        benchmark::DoNotOptimize(mass->posX);
    }
    TPhysics::Free();
}
BENCHMARK(BM_ZoneCollide)
    ->ArgsProduct({{TZone::LINE, TZone::LOOP, TZone::FILL, TZone::HOLE}, {0, 1}})
    ->ArgNames({"style", "touching"});

// Rebuilding the tree of a 200-vertex FILL zone at the given level.
void BM_CalcQuadTree(benchmark::State& state)
{
    TPhysics::Create(6000, 6000, 0, 0, 1);
    TZoneRef zone = TZone::Create(Ring(200, 0, 0, 500), TZone::FILL, 0.2f, 1, 1);
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state)
        zone->CalcQuadTree(level);
    state.counters["cells"] = static_cast<double>(zone->quadTree->CellCount());
    TPhysics::Free();
}
BENCHMARK(BM_CalcQuadTree)->Arg(6)->Arg(8)->Unit(benchmark::kMicrosecond);

// Loading a 200-vertex level-8 zone file, without a picture (arg 0) or with a 128 x 128 one embedded.
void BM_ZoneLoad(benchmark::State& state)
{
    TPhysics::Create(6000, 6000, 0, 0, 1);
    TZoneRef zone = TZone::Create(Ring(200, 0, 0, 500), TZone::FILL, 0.2f, 1, 8);
    if (state.range(0) != 0)
    {
        auto pixmap = std::make_shared<TPixmap>();
        pixmap->width = 128;
        pixmap->height = 128;
        pixmap->pixels.resize(128 * 128 * 4);
        for (std::size_t k = 0; k < pixmap->pixels.size(); ++k)
            pixmap->pixels[k] = static_cast<std::uint8_t>((k * 7) ^ (k >> 9));
        zone->ImageSet(TImage::FromPixmap(pixmap, FILTEREDIMAGE));
    }
    char dir[] = "/tmp/zonebench-XXXXXX";
    if (!mkdtemp(dir))
    {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(dir) + "/bench.rvz";
    zone->Save(path, 0, 1);
    for (auto _ : state)
    {
        TZoneRef loaded = TZone::Load(path);
        if (!loaded)
        {
            state.SkipWithError("load failed");
            break;
        }
        loaded->Free();
    }
    std::remove(path.c_str());
    rmdir(dir);
    TPhysics::Free();
}
BENCHMARK(BM_ZoneLoad)->Arg(0)->Arg(1)->ArgName("picture")->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench
