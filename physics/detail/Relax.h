// physics/detail/Relax.h: one relaxation of a constraint, inline so that the step's pass over
// every constraint runs it without a call per constraint.
#pragma once
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/detail/Contact.h"

#include <cmath>

namespace ravel::detail
{

// Moves the two masses along the stick by the length error times the stiffness, split by weight; a
// frozen mass stays and the other takes all of it.
inline void Relax(TConstraint& c)
{
    TMass& a = *c.m[0];
    TMass& b = *c.m[1];
    if (a.frozen && b.frozen)
        return;
    float dx = a.posX - b.posX;
    float dy = a.posY - b.posY;
    float len = FloorDistance(std::sqrt(dx * dx + dy * dy));
    float ux = dx / len;
    float uy = dy / len;
    float corr = (len - c.restLength) * c.stiffness;
    if (a.frozen)
    {
        b.posX = b.posX + ux * corr;
        b.posY = b.posY + uy * corr;
    }
    else if (b.frozen)
    {
        a.posX = a.posX - ux * corr;
        a.posY = a.posY - uy * corr;
    }
    else
    {
        float shareA, shareB;
        WeightShares(a, b, shareA, shareB);
        a.posX = a.posX - ux * corr * shareA;
        a.posY = a.posY - uy * corr * shareA;
        b.posX = b.posX + ux * corr * shareB;
        b.posY = b.posY + uy * corr * shareB;
    }
}

} // namespace ravel::detail
