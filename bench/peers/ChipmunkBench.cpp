// The four reference scenes on Chipmunk, in nanoseconds per step: circles for masses, pin joints
// for the library's rigid sticks and damped springs for its soft ones, static boxes for the walls,
// 1/60 s steps with the default 10 iterations. Chipmunk has no preferred unit, so it works in world
// units. Each benchmark warms up and times the same steps as the library's.
#include "bench/peers/PeerScene.h"

#include <benchmark/benchmark.h>

#include <chipmunk/chipmunk.h>
#include <cmath>
#include <vector>

namespace ravel::bench::peers
{
namespace
{

/// Group 0 meets no other mass, but the world's bounds still hold it: such a mass's shape is in a
/// category of its own and collides with the walls' category only.
constexpr cpBitmask kWallCategory = 1u << 0;
constexpr cpBitmask kLoneCategory = 1u << 1;
const cpShapeFilter kMeetsWallsOnly = cpShapeFilterNew(CP_NO_GROUP, kLoneCategory, kWallCategory);

/// A space and everything added to it; Chipmunk does not free a space's contents with it.
class Space
{
  public:
    explicit Space(const PeerScene& scene) : space_(cpSpaceNew())
    {
        cpSpaceSetGravity(space_, cpv(scene.gravityX, scene.gravityY));

        // Walls as thick static boxes just outside the bounds, so a heavy pile cannot push through.
        cpBody* ground = cpSpaceGetStaticBody(space_);
        const cpFloat t = 64.0;
        const cpBB boxes[4] = {cpBBNew(scene.minX - t, scene.minY - t, scene.maxX + t, scene.minY),
                               cpBBNew(scene.minX - t, scene.maxY, scene.maxX + t, scene.maxY + t),
                               cpBBNew(scene.minX - t, scene.minY - t, scene.minX, scene.maxY + t),
                               cpBBNew(scene.maxX, scene.minY - t, scene.maxX + t, scene.maxY + t)};
        for (const cpBB& box : boxes)
        {
            cpShape* wall = cpSpaceAddShape(space_, cpBoxShapeNew2(ground, box, 0.0));
            cpShapeSetFriction(wall, scene.wallFriction);
            cpShapeSetFilter(wall, cpShapeFilterNew(CP_NO_GROUP, kWallCategory, CP_ALL_CATEGORIES));
            shapes_.push_back(wall);
        }

        std::vector<cpBody*> bodies;
        bodies.reserve(scene.masses.size());
        for (const PeerMass& m : scene.masses)
        {
            // Masses are points with a radius: infinite moment, so they never turn.
            cpBody* body = m.frozen ? cpBodyNewStatic() : cpBodyNew(m.weight, INFINITY);
            cpBodySetPosition(body, cpv(m.x, m.y));
            cpSpaceAddBody(space_, body);
            cpShape* circle = cpSpaceAddShape(space_, cpCircleShapeNew(body, m.radius, cpvzero));
            cpShapeSetFriction(circle, m.friction);
            cpShapeSetElasticity(circle, 0.0);
            if (m.group == 0)
                cpShapeSetFilter(circle, kMeetsWallsOnly);
            else if (m.shared)
                cpShapeSetFilter(circle, cpShapeFilterNew(static_cast<cpGroup>(m.group), CP_ALL_CATEGORIES,
                                                          CP_ALL_CATEGORIES));
            bodies.push_back(body);
            bodies_.push_back(body);
            shapes_.push_back(circle);
        }
        for (const PeerStick& s : scene.sticks)
        {
            // Two static bodies give a joint no mass to solve for.
            if (s.bothFrozen)
                continue;
            cpBody* a = bodies[s.a];
            cpBody* b = bodies[s.b];
            const PeerMass& ma = scene.masses[s.a];
            const PeerMass& mb = scene.masses[s.b];
            cpConstraint* joint = nullptr;
            if (s.stiffness < 1.0f)
            {
                // A soft stick is a damped spring about the distance the two bodies have now, its
                // stiffness and damping those of the spring's frequency for the pair's reduced mass.
                const Spring spring = SpringOf(s.stiffness, scene.passes);
                const double reduced = ma.frozen   ? mb.weight
                                       : mb.frozen ? ma.weight
                                                   : ma.weight * mb.weight / (ma.weight + mb.weight);
                const double omega = 2.0 * CP_PI * spring.hertz;
                joint = cpDampedSpringNew(
                    a, b, cpvzero, cpvzero, cpvdist(cpBodyGetPosition(a), cpBodyGetPosition(b)),
                    reduced * omega * omega, 2.0 * spring.dampingRatio * reduced * omega);
            }
            else
                // The pin keeps the distance the two bodies have now.
                joint = cpPinJointNew(a, b, cpvzero, cpvzero);
            constraints_.push_back(cpSpaceAddConstraint(space_, joint));
        }
    }

    ~Space()
    {
        cpSpaceFree(space_);
        for (cpConstraint* c : constraints_)
            cpConstraintFree(c);
        for (cpShape* s : shapes_)
            cpShapeFree(s);
        for (cpBody* b : bodies_)
            cpBodyFree(b);
    }

    Space(const Space&) = delete;
    Space& operator=(const Space&) = delete;

    void Step() { cpSpaceStep(space_, kStep); }
    int Joints() const { return static_cast<int>(constraints_.size()); }

    /// The masses' bodies in the scene's order.
    const std::vector<cpBody*>& Bodies() const { return bodies_; }

    /// Dynamic bodies not asleep: all of them, as Chipmunk's sleeping is off unless asked for.
    int Awake() const
    {
        int awake = 0;
        for (cpBody* b : bodies_)
            awake += cpBodyGetType(b) == CP_BODY_TYPE_DYNAMIC && !cpBodyIsSleeping(b) ? 1 : 0;
        return awake;
    }

  private:
    cpSpace* space_;
    std::vector<cpBody*> bodies_;
    std::vector<cpShape*> shapes_;
    std::vector<cpConstraint*> constraints_;
};

template <Scene (*Build)(int), int size> void StepChipmunk(benchmark::State& state, int warm)
{
    const PeerScene scene = Capture<Build>(size);
    Space space(scene);
    for (int k = 0; k < warm; ++k)
        space.Step();
    for (auto _ : state)
        space.Step();
    state.counters["masses"] = static_cast<double>(scene.masses.size());
    state.counters["joints"] = static_cast<double>(space.Joints());
    state.counters["awake"] = space.Awake();
    const std::vector<Disc> discs = Discs(scene, [&](std::size_t i, double& x, double& y) {
        cpVect p = cpBodyGetPosition(space.Bodies()[i]);
        x = p.x;
        y = p.y;
    });
    Report(state, Inspect(discs, Rests(scene)));
}

void BM_ChipmunkPile(benchmark::State& state)
{
    StepChipmunk<BuildPile, 4000>(state, 600);
}
void BM_ChipmunkCloth(benchmark::State& state)
{
    StepChipmunk<BuildCloth, 100>(state, 300);
}
void BM_ChipmunkBlobs(benchmark::State& state)
{
    StepChipmunk<BuildBlobs, 400>(state, 600);
}
void BM_ChipmunkBigPile(benchmark::State& state)
{
    StepChipmunk<BuildBigPile, 16000>(state, 1200);
}

BENCHMARK(BM_ChipmunkPile)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChipmunkCloth)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChipmunkBlobs)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChipmunkBigPile)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ravel::bench::peers
