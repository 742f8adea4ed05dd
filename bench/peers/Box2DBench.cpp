// The four reference scenes on Box2D, in nanoseconds per step: circles for masses, distance joints
// for sticks (rigid for the library's rigid sticks, springs for its soft ones), static boxes for the
// walls, 1/60 s steps with 8 velocity and 3 position iterations. Lengths are in metres of 50 world
// units. Each benchmark warms up and times the same steps as the library's.
#include "bench/peers/PeerScene.h"

#include <benchmark/benchmark.h>

#include <box2d/box2d.h>
#include <cfloat>
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

/// The world of a scene; `bodies` receives the scene's masses' bodies in the scene's order.
std::unique_ptr<b2World> BuildWorld(const PeerScene& scene, std::vector<b2Body*>& bodies)
{
    auto w =
        std::make_unique<b2World>(b2Vec2(scene.gravityX / kUnitsPerMetre, scene.gravityY / kUnitsPerMetre));
    // The library keeps every mass simulated; a sleeping pile would measure nothing.
    w->SetAllowSleeping(false);
    // The library has no continuous collision. Box2D's, on by default against static bodies, finds
    // each step's earliest time of impact of any mass with a wall, moves the pair there, and scans
    // every contact again for the next: with a heap jiggling on its floor that took 40 % of the
    // blobs' step and nearly all of the big pile's (tens of thousands of contacts scanned for each
    // of hundreds of impacts a step). The benchmark times the work the library does.
    w->SetContinuousPhysics(false);

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
        if (s.stiffness < 1.0f)
        {
            // A soft stick is a spring about the same rest length, with no limits either way.
            const Spring spring = SpringOf(s.stiffness, scene.passes);
            b2LinearStiffness(jd.stiffness, jd.damping, static_cast<float>(spring.hertz),
                              static_cast<float>(spring.dampingRatio), a, b);
            jd.minLength = 0.0f;
            jd.maxLength = FLT_MAX;
        }
        w->CreateJoint(&jd);
    }
    return w;
}

/// Dynamic bodies not asleep: all of them, as sleeping is off.
int Awake(b2World& w)
{
    int awake = 0;
    for (b2Body* b = w.GetBodyList(); b; b = b->GetNext())
        awake += b->GetType() == b2_dynamicBody && b->IsAwake() ? 1 : 0;
    return awake;
}

template <Scene (*Build)(int), int size> void StepBox2D(benchmark::State& state, int warm)
{
    const PeerScene scene = Capture<Build>(size);
    std::vector<b2Body*> bodies;
    std::unique_ptr<b2World> w = BuildWorld(scene, bodies);
    for (int k = 0; k < warm; ++k)
        w->Step(kStep, 8, 3);
    for (auto _ : state)
        w->Step(kStep, 8, 3);
    state.counters["masses"] = static_cast<double>(scene.masses.size());
    state.counters["joints"] = static_cast<double>(w->GetJointCount());
    state.counters["awake"] = Awake(*w);
    const std::vector<Disc> discs = Discs(scene, [&](std::size_t i, double& x, double& y) {
        x = static_cast<double>(bodies[i]->GetPosition().x) * kUnitsPerMetre;
        y = static_cast<double>(bodies[i]->GetPosition().y) * kUnitsPerMetre;
    });
    Report(state, Inspect(discs, Rests(scene)));
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
void BM_Box2DBigPile(benchmark::State& state)
{
    StepBox2D<BuildBigPile, 16000>(state, 1200);
}

BENCHMARK(BM_Box2DPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Box2DBigPile)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench::peers
