// Loading body files, embedded and with side images, in microseconds per load.
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"
#include "platform/TImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace ravel::bench
{
namespace
{

// A car-sized body: `side` x `side` masses joined pair by pair, four 64 x 64 pictures, one rig per
// picture.
TAdvBodyRef BuildBody(int side)
{
    auto body = std::make_shared<TAdvBody>();
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            body->MassAdd(10.0f * static_cast<float>(x), 10.0f * static_cast<float>(y), 1.0f, 3.0f, 0.5f, -1);
    body->ConAddAll(0.5f);
    for (int k = 0; k < 4; ++k)
    {
        auto pixmap = std::make_shared<TPixmap>();
        pixmap->width = 64;
        pixmap->height = 64;
        pixmap->format = PF_RGBA8888;
        pixmap->pixels.resize(64 * 64 * 4);
        for (std::size_t i = 0; i < pixmap->pixels.size(); ++i)
            pixmap->pixels[i] = static_cast<std::uint8_t>((i * (k + 3)) ^ (i >> 7));
        body->ImageAdd(TImage::FromPixmap(pixmap, 0));
        body->RigAdd(k, k, k, 0.0f);
    }
    return body;
}

void LoadBody(benchmark::State& state, int embed)
{
    TPhysics::Create(4096.0f, 4096.0f, 0.0f, 0.0f, 4);
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ravel_body_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "body.rvb").string();
    BuildBody(static_cast<int>(state.range(0)))->Save(path, 0, embed);
    for (auto _ : state)
    {
        TAdvBodyRef body = TAdvBody::Load(path, 0);
        if (!body)
        {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(body);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove_all(dir);
    TPhysics::Free();
}

void BM_LoadEmbedded(benchmark::State& state)
{
    LoadBody(state, 1);
}
void BM_LoadSideImages(benchmark::State& state)
{
    LoadBody(state, 0);
}

BENCHMARK(BM_LoadEmbedded)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSideImages)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench
