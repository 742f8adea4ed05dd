// physics/api/ConstraintApi.h: free forms of the constraint's operations, Constraint<Op> for
// TConstraint::<Op>.
#pragma once
#include "physics/TBody.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"

#include <string>

namespace ravel
{

// The constraint comes first. A null constraint, or a null group for Assign and Free, does nothing and
// gives 0, 0.0, "" or null.

inline TConstraintRef ConstraintCreate(const TMassRef& m1, const TMassRef& m2, float restLength,
                                       float stiffness)
{
    return TConstraint::Create(m1, m2, restLength, stiffness);
}
inline int ConstraintSetName(const TConstraintRef& c, const std::string& n)
{
    if (c)
        c->SetName(n);
    return 0;
}
inline std::string ConstraintGetName(const TConstraintRef& c)
{
    return c ? c->GetName() : std::string();
}
inline int ConstraintAssign(const TConstraintRef& c, const TBodyRef& body)
{
    if (c && body)
        c->Assign(*body);
    return 0;
}
inline int ConstraintFree(const TConstraintRef& c, const TBodyRef& body)
{
    if (c && body)
        c->Free(*body);
    return 0;
}
inline TMassRef ConstraintGetMass1(const TConstraintRef& c)
{
    return c ? c->GetMass1() : nullptr;
}
inline TMassRef ConstraintGetMass2(const TConstraintRef& c)
{
    return c ? c->GetMass2() : nullptr;
}
inline int ConstraintSetRestLength(const TConstraintRef& c, float length)
{
    if (c)
        c->SetRestLength(length);
    return 0;
}
inline float ConstraintGetRestLength(const TConstraintRef& c)
{
    return c ? c->GetRestLength() : 0.0f;
}
inline int ConstraintSetStiffness(const TConstraintRef& c, float s)
{
    if (c)
        c->SetStiffness(s);
    return 0;
}
inline float ConstraintGetStiffness(const TConstraintRef& c)
{
    return c ? c->GetStiffness() : 0.0f;
}
inline float ConstraintGetAngle(const TConstraintRef& c)
{
    return c ? c->GetAngle() : 0.0f;
}
inline float ConstraintGetLength(const TConstraintRef& c)
{
    return c ? c->GetLength() : 0.0f;
}
inline float ConstraintGetStress(const TConstraintRef& c)
{
    return c ? c->GetStress() : 0.0f;
}
inline int ConstraintDraw(const TConstraintRef& c)
{
    if (c)
        c->Draw();
    return 0;
}

} // namespace ravel
