// physics/api/MassApi.h: free forms of the mass's operations, Mass<Op> for TMass::<Op>.
#pragma once
#include "physics/TMass.h"

#include <string>

namespace ravel
{

// The mass comes first. A null mass does nothing and gives 0, 0.0, "" or null.

inline TMassRef MassCreate(float x, float y, float mass, float radius, float friction, int colGroup)
{
    return TMass::Create(x, y, mass, radius, friction, colGroup);
}
inline TMassRef MassCopy(const TMassRef& m)
{
    return m ? m->Copy() : nullptr;
}
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
inline float MassGetVelocity(const TMassRef& m)
{
    return m ? m->GetVelocity() : 0.0f;
}
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
inline int MassDraw(const TMassRef& m)
{
    if (m)
        m->Draw();
    return 0;
}

} // namespace ravel
