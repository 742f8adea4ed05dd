// physics/api/MassApi.h: free forms of the mass's operations, Mass<Op> for TMass::<Op>.
#pragma once
#include "physics/TMass.h"

#include <string>

namespace ravel
{

// The mass comes first. A null mass does nothing and gives 0, 0.0, "" or null.

/// TMass::Create: a new inactive mass at rest (never null); colGroup -1 takes a fresh group.
inline TMassRef MassCreate(float x, float y, float mass, float radius, float friction, int colGroup)
{
    return TMass::Create(x, y, mass, radius, friction, colGroup);
}
/// TMass::Copy: an inactive copy; null for a null mass.
inline TMassRef MassCopy(const TMassRef& m)
{
    return m ? m->Copy() : nullptr;
}
///@{
/// TMass::SetName, TMass::GetName; "" for a null mass. MassSetName returns 0.
inline int MassSetName(const TMassRef& m, const std::string& n)
{
    if (m)
        m->SetName(n);
    return 0;
}
inline std::string MassGetName(const TMassRef& m)
{
    return m ? m->GetName() : std::string();
}
///@}
///@{
/// TMass::Move (adds to the velocity), TMass::Translate (keeps it), TMass::Position (at rest);
/// world units. Each returns 0; a null mass does nothing.
inline int MassMove(const TMassRef& m, float dx, float dy)
{
    if (m)
        m->Move(dx, dy);
    return 0;
}
inline int MassTranslate(const TMassRef& m, float dx, float dy)
{
    if (m)
        m->Translate(dx, dy);
    return 0;
}
inline int MassPosition(const TMassRef& m, float x, float y)
{
    if (m)
        m->Position(x, y);
    return 0;
}
///@}
///@{
/// The position (TMass::GetPositionX and the rest), world units; 0 for a null mass, whose
/// out-parameters are left as they were. MassGetPosition returns 0.
inline float MassGetPositionX(const TMassRef& m)
{
    return m ? m->GetPositionX() : 0.0f;
}
inline float MassGetPositionY(const TMassRef& m)
{
    return m ? m->GetPositionY() : 0.0f;
}
inline int MassGetPosition(const TMassRef& m, float& x, float& y)
{
    if (m)
        m->GetPosition(x, y);
    return 0;
}
inline float MassGetX(const TMassRef& m)
{
    return m ? m->GetX() : 0.0f;
}
inline float MassGetY(const TMassRef& m)
{
    return m ? m->GetY() : 0.0f;
}
///@}
///@{
/// TMass::SetMass, TMass::GetMass: the weight that splits corrections; 0 for a null mass.
/// MassSetMass returns 0.
inline int MassSetMass(const TMassRef& m, float mass)
{
    if (m)
        m->SetMass(mass);
    return 0;
}
inline float MassGetMass(const TMassRef& m)
{
    return m ? m->GetMass() : 0.0f;
}
///@}
///@{
/// TMass::SetRadius, TMass::GetRadius: collision radius, world units; 0 for a null mass.
/// MassSetRadius returns 0.
inline int MassSetRadius(const TMassRef& m, float r)
{
    if (m)
        m->SetRadius(r);
    return 0;
}
inline float MassGetRadius(const TMassRef& m)
{
    return m ? m->GetRadius() : 0.0f;
}
///@}
///@{
/// TMass::SetFriction (clamped to [0, 1]), TMass::GetFriction; 0 for a null mass.
/// MassSetFriction returns 0.
inline int MassSetFriction(const TMassRef& m, float f)
{
    if (m)
        m->SetFriction(f);
    return 0;
}
inline float MassGetFriction(const TMassRef& m)
{
    return m ? m->GetFriction() : 0.0f;
}
///@}
///@{
/// TMass::Freeze, TMass::Thaw, TMass::IsFrozen; 0 for a null mass. Freeze and Thaw return 0.
inline int MassFreeze(const TMassRef& m)
{
    if (m)
        m->Freeze();
    return 0;
}
inline int MassThaw(const TMassRef& m)
{
    if (m)
        m->Thaw();
    return 0;
}
inline int MassIsFrozen(const TMassRef& m)
{
    return m ? m->IsFrozen() : 0;
}
///@}
///@{
/// TMass::SetVelocity, TMass::AddVelocity, world units per step; not for a frozen mass.
/// Each returns 0; a null mass does nothing.
inline int MassSetVelocity(const TMassRef& m, float vx, float vy)
{
    if (m)
        m->SetVelocity(vx, vy);
    return 0;
}
inline int MassAddVelocity(const TMassRef& m, float vx, float vy)
{
    if (m)
        m->AddVelocity(vx, vy);
    return 0;
}
///@}
///@{
/// Velocity components (TMass::GetVelocityX and the rest), world units per step; 0 for a null mass.
inline float MassGetVelocityX(const TMassRef& m)
{
    return m ? m->GetVelocityX() : 0.0f;
}
inline float MassGetVelocityY(const TMassRef& m)
{
    return m ? m->GetVelocityY() : 0.0f;
}
inline float MassGetVX(const TMassRef& m)
{
    return m ? m->GetVX() : 0.0f;
}
inline float MassGetVY(const TMassRef& m)
{
    return m ? m->GetVY() : 0.0f;
}
///@}
/// TMass::GetVelocity: the speed, world units per step; 0 for a null mass.
inline float MassGetVelocity(const TMassRef& m)
{
    return m ? m->GetVelocity() : 0.0f;
}
///@{
/// TMass::GetColGroup, TMass::SetColGroup (-1 takes a fresh group); 0 for a null mass.
/// MassSetColGroup returns 0.
inline int MassGetColGroup(const TMassRef& m)
{
    return m ? m->GetColGroup() : 0;
}
inline int MassSetColGroup(const TMassRef& m, int group)
{
    if (m)
        m->SetColGroup(group);
    return 0;
}
///@}
/// TMass::Draw: the mass as a circle in world space, in the caller's colour. Returns 0.
inline int MassDraw(const TMassRef& m)
{
    if (m)
        m->Draw();
    return 0;
}

} // namespace ravel
