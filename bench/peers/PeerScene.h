// bench/peers/PeerScene.h: the benchmark scenes as plain data, for engines other than the library.
#pragma once
#include "bench/Sanity.h"
#include "scenes/Scenes.h"

#include <cmath>
#include <unordered_map>
#include <vector>

namespace ravel::bench::peers
{
using namespace ravel::scenes;

/// One step of the library's world, in seconds.
inline constexpr float kStep = 1.0f / 60.0f;
/// Box2D's length unit: 1 metre is 50 world units.
inline constexpr float kUnitsPerMetre = 50.0f;

/// A mass as the library built it.
struct PeerMass
{
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;
    float weight = 0.0f;
    float friction = 0.0f;
    int group = 0; ///< 0: collides with nothing; masses sharing a group do not collide
    bool frozen = false;
    bool shared = false; ///< another mass has the same group
};

/// A stick between two masses, at the distance they had when it was made.
struct PeerStick
{
    int a = 0;
    int b = 0;
    bool bothFrozen = false; ///< joins two frozen masses, so it can never act
    float stiffness = 1.0f;  ///< the share of the length error each relaxation pass removes
};

/// A soft stick (stiffness below 1) as a damped spring with the same response, for engines that
/// integrate forces. Alone between two free masses, a stick that removes `stiffness` of its length
/// error in each of `passes` passes leaves keep = (1 - stiffness)^passes of it per step, and under
/// position Verlet its error e follows e[n+1] = keep (2 e[n] - e[n-1]): the roots of
/// z^2 - 2 keep z + keep = 0 are sqrt(keep) e^(+-i acos(sqrt(keep))), a damped oscillation whose
/// natural frequency and damping ratio these are. Stiffness 0.5 over 2 passes: 12.0 Hz at 60 steps a
/// second, damping ratio 0.55.
struct Spring
{
    double hertz = 0.0;
    double dampingRatio = 0.0;
};

inline Spring SpringOf(float stiffness, int passes)
{
    const double keep = std::pow(1.0 - static_cast<double>(stiffness), passes);
    const double r = std::sqrt(keep);
    const double decay = -std::log(r) / kStep; // per second
    const double turn = std::acos(r) / kStep;  // radians per second
    const double natural = std::hypot(decay, turn);
    return {natural / (2.0 * 3.14159265358979323846), decay / natural};
}

/// A scene: bounds, gravity, wall friction, masses and sticks.
struct PeerScene
{
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    float gravityX = 0.0f; ///< world units per second squared
    float gravityY = 0.0f;
    float wallFriction = 1.0f;
    int passes = 1; ///< relaxation passes per step
    std::vector<PeerMass> masses;
    std::vector<PeerStick> sticks;
};

/// Builds a scene through the library, copies its world into plain data and drops it again, so that
/// every engine starts from exactly the positions, sizes and groups the library's benchmarks use.
template <Scene (*Build)(int)> PeerScene Capture(int size)
{
    Scene scene = Build(size);
    PeerScene out;
    TPhysics::GetBounds(out.minX, out.minY, out.maxX, out.maxY);
    const float perSecond2 = 1.0f / (kStep * kStep);
    out.gravityX = world->gravityX * perSecond2;
    out.gravityY = world->gravityY * perSecond2;
    out.wallFriction = world->friction;
    out.passes = world->i;
    std::unordered_map<const TMass*, int> index;
    std::unordered_map<int, int> groupSize;
    for (const TMassRef& m : *massList)
    {
        index[m.get()] = static_cast<int>(out.masses.size());
        PeerMass p;
        p.x = m->GetX();
        p.y = m->GetY();
        p.radius = m->GetRadius();
        p.weight = m->GetMass();
        p.friction = m->GetFriction();
        p.group = m->GetColGroup();
        p.frozen = m->IsFrozen() != 0;
        out.masses.push_back(p);
        ++groupSize[p.group];
    }
    for (PeerMass& p : out.masses)
        p.shared = p.group != 0 && groupSize[p.group] > 1;
    for (const TConstraintRef& c : *constraintList)
    {
        PeerStick s;
        s.a = index.at(c->GetMass1().get());
        s.b = index.at(c->GetMass2().get());
        s.bothFrozen = out.masses[s.a].frozen && out.masses[s.b].frozen;
        s.stiffness = c->GetStiffness();
        out.sticks.push_back(s);
    }
    Release(scene);
    return out;
}

/// The scene's sticks with the lengths they were made with, for Inspect.
inline std::vector<Rest> Rests(const PeerScene& scene)
{
    std::vector<Rest> rests;
    rests.reserve(scene.sticks.size());
    for (const PeerStick& s : scene.sticks)
    {
        const PeerMass& a = scene.masses[s.a];
        const PeerMass& b = scene.masses[s.b];
        rests.push_back(
            {s.a, s.b, std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y)});
    }
    return rests;
}

/// The scene's masses as discs at the given positions (world units, in the scene's order).
template <class Position> std::vector<Disc> Discs(const PeerScene& scene, Position position)
{
    std::vector<Disc> discs;
    discs.reserve(scene.masses.size());
    for (std::size_t i = 0; i < scene.masses.size(); ++i)
    {
        Disc d;
        position(i, d.x, d.y);
        d.radius = scene.masses[i].radius;
        d.group = scene.masses[i].group;
        discs.push_back(d);
    }
    return discs;
}

} // namespace ravel::bench::peers
