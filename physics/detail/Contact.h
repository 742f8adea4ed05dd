// physics/detail/Contact.h: the arithmetic that constraints, mass contacts and zone contacts share,
// and the collision-group rules of masses and zones.
#pragma once
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "platform/DegMath.h"

#include <cmath>

namespace ravel::detail
{

/// The shortest distance a correction divides by: coincident points are taken this far apart, so that
/// nothing divides by zero (their direction then comes out as zero).
constexpr float kMinDistance = 0.0001f;

/// A distance floored at kMinDistance; NaN is left as it is.
inline float FloorDistance(float distance)
{
    return distance < kMinDistance ? kMinDistance : distance;
}

/// How two free masses share a correction: each moves by the other's share of the total weight, so
/// the heavier moves less. Weightless pairs have no ratio to split by and share evenly.
inline void WeightShares(const TMass& a, const TMass& b, float& shareA, float& shareB)
{
    float total = a.mass + b.mass;
    shareA = total != 0.0f ? b.mass / total : 0.5f;
    shareB = total != 0.0f ? a.mass / total : 0.5f;
}

/// The tangential part of a mass's velocity against the unit normal (nx, ny). The normal component is
/// the dot product v . n, x term first; for a unit normal it is |v| cos(theta_v - theta_n).
inline void Tangential(const TMass& m, float nx, float ny, float& tx, float& ty)
{
    float vx = m.posX - m.oldPosX;
    float vy = m.posY - m.oldPosY;
    float vn = vx * nx + vy * ny;
    tx = vx - nx * vn;
    ty = vy - ny * vn;
}

/// The group rule shared by mass-mass and mass-zone pairs: both groups non-zero and different.
inline bool GroupsCollide(float a, float b)
{
    return a != 0.0f && b != 0.0f && a != b;
}

/// The group stored for a requested one: -1 takes the next automatic group (-2, -3, ..., shared by
/// masses and zones and never reused), anything else is kept.
inline int TakeGroup(int group)
{
    if (group != -1)
        return group;
    return nextAutoColGroup--;
}

} // namespace ravel::detail
