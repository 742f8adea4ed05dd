// bench/peers/PeerScene.h: the benchmark scenes as plain data, for engines other than the library.
#pragma once
#include "scenes/Scenes.h"

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
};

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
        out.sticks.push_back(s);
    }
    Release(scene);
    return out;
}

} // namespace ravel::bench::peers
