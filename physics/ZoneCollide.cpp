// physics/ZoneCollide.cpp: a mass against a zone: the broad phase through the quadtree, the nearest
// point of the outline, the normal and depth by style, the response and the event.
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "physics/detail/Contact.h"
#include "physics/detail/Report.h"
#include "physics/detail/UserCode.h"
#include "platform/DegMath.h"

#include <cmath>

namespace ravel
{

namespace
{

// What the tree query returns when the mass's square misses the root cell altogether.
constexpr int kMissedRoot = -1;

// Coordinates up to this magnitude have float steps of at most 1/8 unit.
constexpr float kNoRoundingReach = 1048576.0f;

bool Small(float v)
{
    return v < kNoRoundingReach && v > -kNoRoundingReach;
}

// Are the mass and the zone's root cell, placed at (ox, oy), where rounding stays far below one unit?
// False for NaN too.
bool WithinReach(const TQuadTree& root, float ox, float oy, float mx, float my, float r)
{
    float cx = ox + root.posX;
    float cy = oy + root.posY;
    return Small(mx) && Small(my) && Small(r) && Small(cx) && Small(cy) && Small(cx + root.sizeX) &&
           Small(cy + root.sizeY);
}

} // namespace

int TZone::Collide(const TMassRef& mass)
{
    return mass ? Collide(*mass) : 0;
}

int TZone::Collide(TMass& mass)
{
    const std::size_t n = area.size() / 2;
    if (!quadTree || n < 2)
        return 0;
    const float mx = mass.posX;
    const float my = mass.posY;
    const float r = mass.radius;
    // The root's miss value is the style's two low bits, so a mass beyond a closed zone's box still
    // goes on to the exact test; only a HOLE can be touched from there. For LOOP and FILL the exact
    // test cannot find a contact: every vertex lies more than one unit beyond the mass's square, which
    // float rounding cannot bridge while all coordinates stay within kNoRoundingReach. Those misses
    // are settled here without scanning the outline.
    int hit = quadTree->Collide(offsetX, offsetY, mx - r, my - r, r * 2.0f, kMissedRoot);
    if (hit == kMissedRoot)
    {
        hit = style & 3;
        if ((style == LOOP || style == FILL) && WithinReach(*quadTree, offsetX, offsetY, mx, my, r))
            hit = 0;
    }
    if (hit == 0)
        return 0;
    // A style without a contact rule (set after the tree was built) never collides.
    if (style < LINE || style > HOLE)
        return 0;

    float qx = 0.0f, qy = 0.0f;
    float best = 1e38f;
    const float* v = area.data();
    // One segment: the nearest point S of P-C to M, kept when strictly nearer than the best so far.
    auto segment = [&](std::size_t i, std::size_t j) {
        float px = v[2 * i] + offsetX;
        float py = v[2 * i + 1] + offsetY;
        float cx = v[2 * j] + offsetX;
        float cy = v[2 * j + 1] + offsetY;
        float dx = cx - px;
        float dy = cy - py;
        float t = (dx * (mx - px) + dy * (my - py)) / (dx * dx + dy * dy);
        if (!(t >= 0.0f))
            t = 0.0f;
        if (t > 1.0f)
            t = 1.0f;
        float sx = (1.0f - t) * px + t * cx;
        float sy = (1.0f - t) * py + t * cy;
        float ex = mx - sx;
        float ey = my - sy;
        float d2 = ex * ex + ey * ey;
        if (d2 < best)
        {
            best = d2;
            qx = sx;
            qy = sy;
        }
    };
    if (style != LINE)
        segment(n - 1, 0);
    for (std::size_t k = 0; k + 1 < n; ++k)
        segment(k, k + 1);

    // The winding test over the outline in world coordinates, the same function the tree was built with.
    bool inside = false;
    if (style == FILL || style == HOLE)
    {
        int sum = QuadrantWinding(v, static_cast<int>(2 * n), mx, my, offsetX, offsetY);
        inside = sum == 4 || sum == -4;
    }

    // best is never NaN (a NaN distance is never kept), so the floor is the one every contact uses.
    float dist = detail::FloorDistance(std::sqrt(best));
    float nx = 0.0f, ny = 0.0f, depth = 0.0f;
    bool outward = true; // n = (M - Q) / dist, depth = r - dist
    switch (style)
    {
    case LINE:
    case LOOP:
        break;
    case FILL:
        outward = !inside;
        break;
    case HOLE:
        outward = inside;
        break;
    default:
        return 0;
    }
    if (outward)
    {
        nx = (mx - qx) / dist;
        ny = (my - qy) / dist;
        depth = r - dist;
    }
    else
    {
        nx = (qx - mx) / dist;
        ny = (qy - my) / dist;
        depth = dist + r;
    }
    if (!(depth > 0.0f))
        return 0;

    // The standard response needs no handles; any other gets the zone and the mass as shared
    // references, which also keep both alive should it drop the last other reference to either.
    const TZoneResponseFn* plain = ColResponse.target<TZoneResponseFn>();
    if (plain && *plain == &TZone::ColDefault)
    {
        PushOut(*this, mass, nx, ny, depth);
        detail::ReportContact(mass, *this, qx, qy, depth);
        return 0;
    }
    TObjectRef self = weak_from_this().lock();
    TObjectRef other = mass.weak_from_this().lock();
    if (!self || !other)
        return 0;
    TZoneRef zoneRef = std::static_pointer_cast<TZone>(self);
    TMassRef massRef = std::static_pointer_cast<TMass>(other);
    if (ColResponse)
    {
        // A copy runs: the response may install another one in its place while it runs.
        TZoneResponse response = ColResponse;
        detail::CallUser([&] { return response(zoneRef, massRef, nx, ny, depth); });
    }
    detail::ReportContact(mass, *this, qx, qy, depth);
    return 0;
}

int TZone::ColDefault(const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth)
{
    if (!zone || !mass)
        return 0;
    return PushOut(*zone, *mass, nx, ny, depth);
}

int TZone::PushOut(TZone& zone, TMass& m, float nx, float ny, float depth)
{
    m.posX += nx * depth;
    m.posY += ny * depth;
    // The velocity after the push, split into its part along the normal and the sliding rest.
    float tx, ty;
    detail::Tangential(m, nx, ny, tx, ty);
    float tlen = std::sqrt(tx * tx + ty * ty);
    float limit = 0.5f * depth * (zone.friction + m.friction);
    if (tlen <= limit)
    {
        m.posX -= tx;
        m.posY -= ty;
    }
    else
    {
        m.posX -= tx * limit / tlen;
        m.posY -= ty * limit / tlen;
    }
    return 0;
}

} // namespace ravel
