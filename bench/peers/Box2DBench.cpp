// The three reference scenes on Box2D, in nanoseconds per step: circles for masses, rigid distance
// joints for sticks, static boxes for the walls, 1/60 s steps with 8 velocity and 3 position
// iterations. Lengths are in metres of 50 world units.
#include "bench/peers/PeerScene.h"

#include <benchmark/benchmark.h>

#include <box2d/box2d.h>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>

namespace ravel::bench::peers
{
namespace
{

constexpr float kPi = 3.14159265358979323846f;
/// Collision categories: the walls, and the masses of group 0, which collide with the walls only.
constexpr uint16 kWallCategory = 0x0001;
constexpr uint16 kLoneCategory = 0x0002;

/// Box2D's group indices are 16-bit; shared groups are renumbered densely as negative indices so
/// that their members never collide with each other.
class GroupIndex
{
  public:
    int16 Of(const PeerMass& m)
    {
        if (!m.shared)
            return 0;
        auto [it, added] = ids_.try_emplace(m.group, static_cast<int16>(-1 - static_cast<int>(ids_.size())));
        return it->second;
    }

  private:
    std::unordered_map<int, int16> ids_;
};

std::unique_ptr<b2World> BuildWorld(const PeerScene& scene)
{
    auto w =
        std::make_unique<b2World>(b2Vec2(scene.gravityX / kUnitsPerMetre, scene.gravityY / kUnitsPerMetre));
    // The library keeps every mass simulated; a sleeping pile would measure nothing.
    w->SetAllowSleeping(false);

    const float minX = scene.minX / kUnitsPerMetre;
    const float minY = scene.minY / kUnitsPerMetre;
    const float maxX = scene.maxX / kUnitsPerMetre;
    const float maxY = scene.maxY / kUnitsPerMetre;
    const float thick = 1.0f;
    const float midX = (minX + maxX) * 0.5f;
    const float midY = (minY + maxY) * 0.5f;
    const float halfW = (maxX - minX) * 0.5f + 2.0f * thick;
    const float halfH = (maxY - minY) * 0.5f + 2.0f * thick;
    b2BodyDef wallDef;
    b2Body* walls = w->CreateBody(&wallDef);
    const b2Vec2 centres[4] = {
        {midX, minY - thick}, {midX, maxY + thick}, {minX - thick, midY}, {maxX + thick, midY}};
    const b2Vec2 halves[4] = {{halfW, thick}, {halfW, thick}, {thick, halfH}, {thick, halfH}};
    for (int k = 0; k < 4; ++k)
    {
        b2PolygonShape box;
        box.SetAsBox(halves[k].x, halves[k].y, centres[k], 0.0f);
        b2FixtureDef fd;
        fd.shape = &box;
        fd.friction = scene.wallFriction;
        fd.filter.categoryBits = kWallCategory;
        walls->CreateFixture(&fd);
    }

    GroupIndex groups;
    std::vector<b2Body*> bodies;
    bodies.reserve(scene.masses.size());
    for (const PeerMass& m : scene.masses)
    {
        b2BodyDef bd;
        bd.type = m.frozen ? b2_staticBody : b2_dynamicBody;
        bd.position.Set(m.x / kUnitsPerMetre, m.y / kUnitsPerMetre);
        // Masses are points with a radius: no angle to turn.
        bd.fixedRotation = true;
        b2Body* body = w->CreateBody(&bd);
        b2CircleShape circle;
        circle.m_radius = m.radius / kUnitsPerMetre;
        b2FixtureDef fd;
        fd.shape = &circle;
        fd.density = m.weight / (kPi * circle.m_radius * circle.m_radius);
        fd.friction = m.friction;
        fd.restitution = 0.0f;
        if (m.group == 0)
        {
            // Group 0 meets no other mass, but the world's bounds still hold it: walls only.
            fd.filter.categoryBits = kLoneCategory;
            fd.filter.maskBits = kWallCategory;
        }
        else
            fd.filter.groupIndex = groups.Of(m);
        body->CreateFixture(&fd);
        bodies.push_back(body);
    }
    for (const PeerStick& s : scene.sticks)
    {
        if (s.bothFrozen)
            continue;
        b2Body* a = bodies[s.a];
        b2Body* b = bodies[s.b];
        b2DistanceJointDef jd;
        // Rest length, minimum and maximum all at the current distance; stiffness 0 makes it rigid.
        jd.Initialize(a, b, a->GetPosition(), b->GetPosition());
        jd.stiffness = 0.0f;
        jd.damping = 0.0f;
        w->CreateJoint(&jd);
    }
    return w;
}

/// What the world is doing after the timed steps, so that a reader can check the scene does the
/// same work as the library's: touching contacts (the pairs the solver really works on, against the
/// contact count, which also holds pairs whose boxes merely overlap), awake dynamic bodies (all of
/// them: sleeping is off), the lowest point of any body and the largest relative stretch of a joint,
/// both in world units like the library's and Chipmunk's counters.
struct Sanity
{
    int touching = 0;
    int awake = 0;
    double bottom = 0.0;
    double stretch = 0.0;
};

Sanity Inspect(b2World& w)
{
    Sanity s;
    for (b2Contact* c = w.GetContactList(); c; c = c->GetNext())
        s.touching += c->IsTouching() ? 1 : 0;
    s.bottom = -INFINITY;
    for (b2Body* b = w.GetBodyList(); b; b = b->GetNext())
    {
        if (b->GetType() != b2_dynamicBody)
            continue;
        s.awake += b->IsAwake() ? 1 : 0;
        for (b2Fixture* f = b->GetFixtureList(); f; f = f->GetNext())
            s.bottom = std::fmax(s.bottom, (b->GetPosition().y + f->GetShape()->m_radius) * kUnitsPerMetre);
    }
    for (b2Joint* j = w.GetJointList(); j; j = j->GetNext())
    {
        auto* d = static_cast<b2DistanceJoint*>(j);
        double rest = d->GetLength();
        double now = b2Distance(d->GetAnchorA(), d->GetAnchorB());
        s.stretch = std::fmax(s.stretch, std::fabs(now - rest) / rest);
    }
    return s;
}

template <Scene (*Build)(int), int size> void StepBox2D(benchmark::State& state, int warm)
{
    const PeerScene scene = Capture<Build>(size);
    std::unique_ptr<b2World> w = BuildWorld(scene);
    for (int k = 0; k < warm; ++k)
        w->Step(kStep, 8, 3);
    for (auto _ : state)
        w->Step(kStep, 8, 3);
    state.counters["masses"] = static_cast<double>(scene.masses.size());
    state.counters["joints"] = static_cast<double>(w->GetJointCount());
    state.counters["contacts"] = static_cast<double>(w->GetContactCount());
    const Sanity sanity = Inspect(*w);
    state.counters["touching"] = sanity.touching;
    state.counters["awake"] = sanity.awake;
    state.counters["bottom"] = sanity.bottom;
    state.counters["stretch"] = sanity.stretch;
}

void BM_Box2DPile(benchmark::State& state)
{
    StepBox2D<BuildPile, 4000>(state, 600);
}
void BM_Box2DCloth(benchmark::State& state)
{
    StepBox2D<BuildCloth, 100>(state, 300);
}
void BM_Box2DBlobs(benchmark::State& state)
{
    StepBox2D<BuildBlobs, 400>(state, 600);
}

BENCHMARK(BM_Box2DPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench::peers
