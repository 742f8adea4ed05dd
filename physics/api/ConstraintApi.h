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

/// TConstraint::Create: a new inactive constraint; restLength 0 or less takes the present
/// distance, stiffness is stored unclamped. Null when either mass is null.
inline TConstraintRef ConstraintCreate(const TMassRef& m1, const TMassRef& m2, float restLength,
                                       float stiffness)
{
    return TConstraint::Create(m1, m2, restLength, stiffness);
}
///@{
/// TConstraint::SetName, TConstraint::GetName; "" for a null constraint. ConstraintSetName returns 0.
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
///@}
///@{
/// TConstraint::Assign, TConstraint::Free with the group: activate or deactivate the
/// constraint through it. Each returns 0; a null constraint or group does nothing.
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
///@}
///@{
/// TConstraint::GetMass1, TConstraint::GetMass2; null for a null constraint.
inline TMassRef ConstraintGetMass1(const TConstraintRef& c)
{
    return c ? c->GetMass1() : nullptr;
}
inline TMassRef ConstraintGetMass2(const TConstraintRef& c)
{
    return c ? c->GetMass2() : nullptr;
}
///@}
///@{
/// TConstraint::SetRestLength (0 or less: the present distance), TConstraint::GetRestLength,
/// world units; 0 for a null constraint. ConstraintSetRestLength returns 0.
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
///@}
///@{
/// TConstraint::SetStiffness (clamped to [0, 1]), TConstraint::GetStiffness; 0 for a null
/// constraint. ConstraintSetStiffness returns 0.
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
///@}
/// TConstraint::GetAngle: direction from the first mass to the second, degrees; 0 for a null constraint.
inline float ConstraintGetAngle(const TConstraintRef& c)
{
    return c ? c->GetAngle() : 0.0f;
}
/// TConstraint::GetLength: the present distance, world units; 0 for a null constraint.
inline float ConstraintGetLength(const TConstraintRef& c)
{
    return c ? c->GetLength() : 0.0f;
}
/// TConstraint::GetStress: length over rest length; 0 for a null constraint.
inline float ConstraintGetStress(const TConstraintRef& c)
{
    return c ? c->GetStress() : 0.0f;
}
/// TConstraint::Draw: the stick in world space, in the caller's colour. Returns 0.
inline int ConstraintDraw(const TConstraintRef& c)
{
    if (c)
        c->Draw();
    return 0;
}

} // namespace ravel
