// physics/BodyElements.cpp: the indexed body's per-element operations, each the element's own method
// called on the element in a slot.
#include "physics/TAdvBody.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"

#include <utility>

namespace ravel
{

namespace
{

// Calls a method of the element in a slot with the remaining arguments and returns its result. On an
// empty slot, or one outside the count, nothing is called and the result type's neutral value (0,
// 0.0, an empty string) is returned; out-parameters are left as they were.
template <class T, class Method, class... Args> auto OnSlot(T* element, Method method, Args&&... args)
{
    using Result = decltype((element->*method)(std::forward<Args>(args)...));
    return element ? (element->*method)(std::forward<Args>(args)...) : Result();
}

} // namespace

int TAdvBody::MassSetName(int slot, const std::string& n)
{
    return OnSlot(MassAt(slot), &TMass::SetName, n);
}

std::string TAdvBody::MassGetName(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetName);
}

int TAdvBody::MassMove(int slot, float dx, float dy)
{
    return OnSlot(MassAt(slot), &TMass::Move, dx, dy);
}

int TAdvBody::MassTranslate(int slot, float dx, float dy)
{
    return OnSlot(MassAt(slot), &TMass::Translate, dx, dy);
}

int TAdvBody::MassPosition(int slot, float x, float y)
{
    return OnSlot(MassAt(slot), &TMass::Position, x, y);
}

float TAdvBody::MassGetPositionX(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetPositionX);
}

float TAdvBody::MassGetPositionY(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetPositionY);
}

int TAdvBody::MassGetPosition(int slot, float& x, float& y) const
{
    return OnSlot(MassAt(slot), &TMass::GetPosition, x, y);
}

float TAdvBody::MassGetX(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetX);
}

float TAdvBody::MassGetY(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetY);
}

int TAdvBody::MassSetMass(int slot, float m)
{
    return OnSlot(MassAt(slot), &TMass::SetMass, m);
}

float TAdvBody::MassGetMass(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetMass);
}

int TAdvBody::MassSetRadius(int slot, float r)
{
    return OnSlot(MassAt(slot), &TMass::SetRadius, r);
}

float TAdvBody::MassGetRadius(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetRadius);
}

int TAdvBody::MassSetFriction(int slot, float f)
{
    return OnSlot(MassAt(slot), &TMass::SetFriction, f);
}

float TAdvBody::MassGetFriction(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetFriction);
}

int TAdvBody::MassFreeze(int slot)
{
    return OnSlot(MassAt(slot), &TMass::Freeze);
}

int TAdvBody::MassThaw(int slot)
{
    return OnSlot(MassAt(slot), &TMass::Thaw);
}

int TAdvBody::MassIsFrozen(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::IsFrozen);
}

int TAdvBody::MassSetVelocity(int slot, float vx, float vy)
{
    return OnSlot(MassAt(slot), &TMass::SetVelocity, vx, vy);
}

int TAdvBody::MassAddVelocity(int slot, float vx, float vy)
{
    return OnSlot(MassAt(slot), &TMass::AddVelocity, vx, vy);
}

float TAdvBody::MassGetVelocityX(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetVelocityX);
}

float TAdvBody::MassGetVelocityY(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetVelocityY);
}

float TAdvBody::MassGetVX(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetVX);
}

float TAdvBody::MassGetVY(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetVY);
}

float TAdvBody::MassGetVelocity(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetVelocity);
}

int TAdvBody::MassGetColGroup(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::GetColGroup);
}

int TAdvBody::MassSetColGroup(int slot, int group)
{
    return OnSlot(MassAt(slot), &TMass::SetColGroup, group);
}

int TAdvBody::MassIsActive(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::IsActive);
}

int TAdvBody::MassDraw(int slot) const
{
    return OnSlot(MassAt(slot), &TMass::Draw);
}

int TAdvBody::ConSetName(int slot, const std::string& n)
{
    return OnSlot(ConAt(slot), &TConstraint::SetName, n);
}

std::string TAdvBody::ConGetName(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetName);
}

int TAdvBody::ConAssign(int slot)
{
    return OnSlot(ConAt(slot), &TConstraint::Assign, *this);
}

int TAdvBody::ConFree(int slot)
{
    return OnSlot(ConAt(slot), &TConstraint::Free, *this);
}

int TAdvBody::ConSetRestLength(int slot, float length)
{
    return OnSlot(ConAt(slot), &TConstraint::SetRestLength, length);
}

float TAdvBody::ConGetRestLength(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetRestLength);
}

int TAdvBody::ConSetStiffness(int slot, float s)
{
    return OnSlot(ConAt(slot), &TConstraint::SetStiffness, s);
}

float TAdvBody::ConGetStiffness(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetStiffness);
}

float TAdvBody::ConGetAngle(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetAngle);
}

float TAdvBody::ConGetLength(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetLength);
}

float TAdvBody::ConGetStress(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::GetStress);
}

int TAdvBody::ConDraw(int slot) const
{
    return OnSlot(ConAt(slot), &TConstraint::Draw);
}

int TAdvBody::RigSetName(int slot, const std::string& n)
{
    return OnSlot(RigAt(slot), &TRig::SetName, n);
}

std::string TAdvBody::RigGetName(int slot) const
{
    return OnSlot(RigAt(slot), &TRig::GetName);
}

int TAdvBody::RigSetAngle(int slot, float degrees)
{
    return OnSlot(RigAt(slot), &TRig::SetAngle, degrees);
}

float TAdvBody::RigGetAngle(int slot) const
{
    return OnSlot(RigAt(slot), &TRig::GetAngle);
}

int TAdvBody::RigSetScale(int slot, float x, float y)
{
    return OnSlot(RigAt(slot), &TRig::SetScale, x, y);
}

int TAdvBody::RigGetScale(int slot, float& x, float& y) const
{
    return OnSlot(RigAt(slot), &TRig::GetScale, x, y);
}

int TAdvBody::RigSetColor(int slot, int r, int g, int b)
{
    return OnSlot(RigAt(slot), &TRig::SetColor, r, g, b);
}

int TAdvBody::RigGetColor(int slot, int& r, int& g, int& b) const
{
    return OnSlot(RigAt(slot), &TRig::GetColor, r, g, b);
}

int TAdvBody::RigSetAlpha(int slot, float a)
{
    return OnSlot(RigAt(slot), &TRig::SetAlpha, a);
}

float TAdvBody::RigGetAlpha(int slot) const
{
    return OnSlot(RigAt(slot), &TRig::GetAlpha);
}

int TAdvBody::RigSetBlend(int slot, int mode)
{
    return OnSlot(RigAt(slot), &TRig::SetBlend, mode);
}

int TAdvBody::RigGetBlend(int slot) const
{
    return OnSlot(RigAt(slot), &TRig::GetBlend);
}

int TAdvBody::RigDraw(int slot) const
{
    return OnSlot(RigAt(slot), &TRig::Draw);
}

} // namespace ravel
