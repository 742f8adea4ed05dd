// Random worlds built from finite settings step to finite positions: zero weights, coincident
// masses, zero-length sticks, huge and zero radii and masses far outside the bounds included.
#include "CoreFixture.h"

#include "physics/TBody.h"

#include <cmath>
#include <cstdint>

namespace ravel::test
{
namespace
{

class Dice
{
  public:
    explicit Dice(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
    float Unit()
    {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(state_ >> 40) / static_cast<float>(1ull << 24);
    }
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    int Below(int n) { return static_cast<int>(Unit() * static_cast<float>(n)) % n; }
    /// Mostly ordinary values, sometimes the awkward ones.
    float Pick(float lo, float hi, float awkward)
    {
        float u = Unit();
        if (u < 0.1f)
            return 0.0f;
        if (u < 0.15f)
            return awkward;
        return Range(lo, hi);
    }

  private:
    std::uint64_t state_;
};

TEST(Finiteness, RandomWorldsStayFinite)
{
    for (int world_ = 0; world_ < 2000; ++world_)
    {
        Dice d(static_cast<std::uint64_t>(world_));
        TPhysics::Create(d.Range(50.0f, 2000.0f), d.Range(50.0f, 2000.0f), d.Range(-2.0f, 2.0f),
                         d.Range(-2.0f, 2.0f), d.Below(5));
        TPhysics::SetFriction(d.Pick(0.0f, 2.0f, 50.0f));
        TPhysics::SetGridSize(8 + d.Below(60));
        TPhysics::UseShiftedGrid(d.Below(2));
        std::vector<TMassRef> masses;
        int n = 1 + d.Below(12);
        for (int k = 0; k < n; ++k)
        {
            float x = d.Unit() < 0.1f ? d.Range(-1e5f, 1e5f) : d.Range(0.0f, 200.0f);
            float y = d.Unit() < 0.5f && k > 0 ? masses[0]->posY : d.Range(0.0f, 200.0f);
            TMassRef m = TMass::Create(x, y, d.Pick(0.0f, 10.0f, 1e-30f), d.Pick(0.0f, 40.0f, 1e4f),
                                       d.Range(0.0f, 1.0f), d.Below(4) - 1);
            if (d.Unit() < 0.2f)
                m->Freeze();
            if (d.Unit() < 0.3f && k > 0)
                m->Position(masses[0]->posX, masses[0]->posY);
            m->SetVelocity(d.Pick(-20.0f, 20.0f, 1e4f), d.Pick(-20.0f, 20.0f, -1e4f));
            m->AddRef();
            masses.push_back(m);
        }
        TBody body;
        int sticks = d.Below(2 * n + 1);
        for (int k = 0; k < sticks; ++k)
            TConstraint::Create(masses[d.Below(n)], masses[d.Below(n)], d.Pick(0.0f, 100.0f, 1e4f),
                                d.Range(0.0f, 1.0f))
                ->Assign(body);
        for (int step = 0; step < 60; ++step)
            TPhysics::Update();
        for (const TMassRef& m : masses)
        {
            ASSERT_TRUE(std::isfinite(m->posX) && std::isfinite(m->posY) && std::isfinite(m->oldPosX) &&
                        std::isfinite(m->oldPosY))
                << "world " << world_;
            m->SubRef();
        }
        body.Clear();
        TColEvent::Flush();
    }
    TPhysics::Free();
}

} // namespace
} // namespace ravel::test
