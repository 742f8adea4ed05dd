// scenes/demo/Autopilot.h: a driver that goes round the demo's circuit through the demo's keys only.
#pragma once
#include "scenes/demo/Headless.h"

#include "demo/Circuit.h"
#include "demo/Demo.h"
#include "platform/DegMath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ravel::scenes
{

/// Follows the centre line of the circuit (world units: picture pixels times 5) by steering toward a
/// point ahead and braking before corners so that the speed suits the tightest one ahead.
class TAutopilot
{
  public:
    static constexpr float kScale = 5.0f;

    TAutopilot() : circuit_(demo::BuildCircuit()) {}

    /// The index of the centre-line point nearest to (x, y), searched forward from the last one.
    std::size_t Nearest(float x, float y)
    {
        const auto& c = circuit_.centre;
        std::size_t n = c.size();
        std::size_t best = index_;
        float bestD = 1e30f;
        for (std::size_t k = 0; k < 120; ++k)
        {
            std::size_t i = (index_ + n - 20 + k) % n;
            float dx = c[i].x * kScale - x;
            float dy = c[i].y * kScale - y;
            float d = dx * dx + dy * dy;
            if (d < bestD)
            {
                bestD = d;
                best = i;
            }
        }
        if (best != index_ && best < index_ && index_ - best > n / 2)
            ++laps_; // wrapped past the last point
        index_ = best;
        return best;
    }

    /// Chooses the keys for this frame. `offset` shifts the line the driver follows to its left,
    /// world units, where `offsetWhere` says so (by centre-line index).
    void Drive(TKeys& keys, float offset = 0.0f, std::size_t offsetFrom = 0, std::size_t offsetTo = 0)
    {
        TAdvBody& body = *demo::car->chassis;
        float x = body.GetX(), y = body.GetY();
        float speed = body.MassGetVelocity(0);
        float rot = body.GetRotation();
        const auto& c = circuit_.centre;
        std::size_t n = c.size();
        std::size_t here = Nearest(x, y);

        // Steer toward a point ahead: further ahead at speed.
        float look = 160.0f + speed * 9.0f;
        std::size_t t = here;
        while (Ahead(here, t) < look)
            t = (t + 1) % n;
        float tx = c[t].x * kScale, ty = c[t].y * kScale;
        if (InRange(t, offsetFrom, offsetTo))
        {
            tx += CosDeg(c[t].heading - 90.0f) * offset;
            ty += SinDeg(c[t].heading - 90.0f) * offset;
        }
        float error = Atan2Deg(ty - y, tx - x) - rot;
        while (error > 180.0f)
            error -= 360.0f;
        while (error < -180.0f)
            error += 360.0f;
        keys.Set(VK_LEFT, error < -1.5f);
        keys.Set(VK_RIGHT, error > 1.5f);

        // The fastest speed from which every corner ahead can still be taken.
        float allowed = maxSpeed;
        for (std::size_t i = here; Ahead(here, i) < 900.0f; i = (i + 1) % n)
        {
            if (c[i].curvature == 0.0f)
                continue;
            float radius = kScale / std::fabs(c[i].curvature);
            float corner = std::sqrt(lateral * radius);
            float dist = Ahead(here, i);
            allowed = std::min(allowed, std::sqrt(corner * corner + 2.0f * braking * dist));
        }
        keys.Set(VK_UP, speed < allowed);
        keys.Set(VK_DOWN, speed > allowed + 1.5f);
    }

    /// Distance along the centre line from point a forward to point b, world units.
    float Ahead(std::size_t a, std::size_t b) const
    {
        float d = circuit_.centre[b].distance - circuit_.centre[a].distance;
        if (d < 0.0f)
            d += circuit_.length;
        return d * kScale;
    }

    /// The arc of the first corner after the start: centre-line points [from, to) are where the line
    /// first curves.
    struct TArc
    {
        std::size_t from;
        std::size_t to;
    };
    TArc FirstCorner() const
    {
        const auto& c = circuit_.centre;
        std::size_t from = 0;
        while (c[from].curvature == 0.0f)
            ++from;
        std::size_t to = from;
        while (c[to].curvature != 0.0f)
            ++to;
        return {from, to};
    }

    static bool InRange(std::size_t i, std::size_t from, std::size_t to) { return i >= from && i < to; }

    const demo::TCircuit& Circuit() const { return circuit_; }
    int Laps() const { return laps_; }
    std::size_t Index() const { return index_; }

    float maxSpeed = 40.0f;
    float lateral = 0.28f; ///< world units per step squared the car holds in a corner
    float braking = 0.35f; ///< world units per step squared when braking

  private:
    demo::TCircuit circuit_;
    std::size_t index_ = 0;
    int laps_ = 0;
};

} // namespace ravel::scenes
