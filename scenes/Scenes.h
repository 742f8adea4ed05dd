// scenes/Scenes.h: the reference scenes (a pile, a cloth, blobs, a big pile) that the benchmarks time, the
// golden digests pin down and the kernel is checked on, built through the library's public interface only.
#pragma once
#include "physics/TBody.h"
#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace ravel::scenes
{

/// 9.8 m/s^2 at 60 steps per second and 50 units per metre, in units per step squared.
inline constexpr float kGravity = 0.1361f;

/// A small fixed-seed generator for scene jitter, independent of the library's own.
class Jitter
{
  public:
    /// Uniform in [-amplitude, amplitude].
    float Next(float amplitude)
    {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        float unit = static_cast<float>(state_ >> 40) / static_cast<float>(1ull << 24);
        return (unit * 2.0f - 1.0f) * amplitude;
    }

  private:
    std::uint64_t state_ = 12345;
};

/// What a scene keeps alive besides the world's registries.
struct Scene
{
    std::vector<TMassRef> masses;
    std::vector<std::shared_ptr<TBody>> bodies;
};

/// The pile's layout in a square world of side `side`: masses of radius 8, weight 1, friction 0.5,
/// one group each, `columns` to a row 24 apart (jittered by up to 2 sideways) and centred, the rows
/// 24 apart from y = 64 down; wall friction 1, grid 64, 1 pass. The rows fit the world as long as
/// 64 + (rows - 1) * 24 + 8 <= side.
inline Scene BuildPileIn(int count, float side, int columns)
{
    TPhysics::Create(side, side, kGravity, 0.0f, 1);
    TPhysics::SetFriction(1.0f);
    TPhysics::SetGridSize(64);
    TPhysics::UseShiftedGrid(1);
    TColEvent::SetMode(TColEvent::MODE_UPDATE);
    Scene scene;
    Jitter jitter;
    const float left = (side - static_cast<float>(columns - 1) * 24.0f) * 0.5f;
    for (int k = 0; k < count; ++k)
    {
        float x = left + static_cast<float>(k % columns) * 24.0f + jitter.Next(2.0f);
        float y = 64.0f + static_cast<float>(k / columns) * 24.0f;
        TMassRef m = TMass::Create(x, y, 1.0f, 8.0f, 0.5f, -1);
        m->AddRef();
        scene.masses.push_back(m);
    }
    return scene;
}

/// S1: 4,000 masses of radius 8 dropped in 80 columns into a 2,048 x 2,048 world, grid 64, 1 pass.
/// Up to 6,640 masses start inside the world.
inline Scene BuildPile(int count = 4000)
{
    return BuildPileIn(count, 2048.0f, 80);
}

/// S4: the pile four times over, 16,000 masses in 160 columns (100 rows) in a 4,096 x 4,096 world,
/// grid 64 (cells of 64 units), 1 pass. Up to 26,880 masses start inside the world.
inline Scene BuildBigPile(int count = 16000)
{
    return BuildPileIn(count, 4096.0f, 160);
}

/// S2: a 100 x 100 cloth of radius-2 masses 10 apart, top row frozen, 19,800 sticks, 4 passes.
inline Scene BuildCloth(int n = 100)
{
    TPhysics::Create(2048.0f, 2048.0f, kGravity, 0.0f, 4);
    TColEvent::SetMode(TColEvent::MODE_UPDATE);
    Scene scene;
    auto body = std::make_shared<TBody>();
    const float left = (2048.0f - static_cast<float>(n - 1) * 10.0f) * 0.5f;
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col)
        {
            TMassRef m = TMass::Create(left + static_cast<float>(col) * 10.0f,
                                       100.0f + static_cast<float>(row) * 10.0f, 1.0f, 2.0f, 0.5f, 0);
            if (row == 0)
                m->Freeze();
            scene.masses.push_back(m);
        }
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col)
        {
            const TMassRef& m = scene.masses[row * n + col];
            if (col + 1 < n)
                TConstraint::Create(m, scene.masses[row * n + col + 1], 0.0f, 1.0f)->Assign(*body);
            if (row + 1 < n)
                TConstraint::Create(m, scene.masses[(row + 1) * n + col], 0.0f, 1.0f)->Assign(*body);
        }
    scene.bodies.push_back(body);
    return scene;
}

/// S3: 400 blobs (a ring of 12 radius-6 masses on a circle of 24 around a centre mass, stiffness
/// 0.5), one group each, in 25 columns 78 apart, grid 64, 2 passes.
inline Scene BuildBlobs(int count = 400)
{
    TPhysics::Create(2048.0f, 2048.0f, kGravity, 0.0f, 2);
    TPhysics::SetGridSize(64);
    TPhysics::UseShiftedGrid(1);
    TColEvent::SetMode(TColEvent::MODE_UPDATE);
    Scene scene;
    const float left = (2048.0f - 24.0f * 78.0f) * 0.5f;
    for (int k = 0; k < count; ++k)
    {
        float cx = left + static_cast<float>(k % 25) * 78.0f;
        float cy = 64.0f + static_cast<float>(k / 25) * 78.0f;
        auto body = std::make_shared<TBody>();
        TMassRef centre = TMass::Create(cx, cy, 1.0f, 6.0f, 0.5f, -1);
        int group = centre->GetColGroup();
        TMassRef ring[12];
        for (int r = 0; r < 12; ++r)
        {
            double a = r * 30.0 * 3.14159265358979323846 / 180.0;
            ring[r] = TMass::Create(cx + static_cast<float>(24.0 * std::cos(a)),
                                    cy + static_cast<float>(24.0 * std::sin(a)), 1.0f, 6.0f, 0.5f, group);
            scene.masses.push_back(ring[r]);
        }
        scene.masses.push_back(centre);
        for (int r = 0; r < 12; ++r)
        {
            TConstraint::Create(ring[r], ring[(r + 1) % 12], 0.0f, 0.5f)->Assign(*body);
            TConstraint::Create(ring[r], centre, 0.0f, 0.5f)->Assign(*body);
            if (r < 6)
                TConstraint::Create(ring[r], ring[r + 6], 0.0f, 0.5f)->Assign(*body);
        }
        scene.bodies.push_back(body);
    }
    return scene;
}

/// Drops the scene and the world.
inline void Release(Scene& scene)
{
    scene.bodies.clear();
    scene.masses.clear();
    TColEvent::Flush();
    TPhysics::Free();
}

} // namespace ravel::scenes
