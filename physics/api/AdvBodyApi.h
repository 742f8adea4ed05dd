// physics/api/AdvBodyApi.h: free forms of the indexed body's own operations, AdvBody<Op> for
// TAdvBody::<Op>: those of the whole body here, those of its tables in AdvBodyTableApi.h, which this
// header includes. The operations it inherits have their forms in BodyApi.h.
#pragma once
#include "physics/TAdvBody.h"
#include "physics/TZone.h"
#include "physics/api/AdvBodyTableApi.h"
#include "platform/TList.h"

#include <memory>
#include <string>

namespace ravel
{

// The forms take and give as AdvBodyTableApi.h describes, and are made by the same template.

/// A new empty body, as constructing one gives.
inline TAdvBodyRef AdvBodyCreate()
{
    return std::make_shared<TAdvBody>();
}
/// TAdvBody::Load: reads a body file into a new body, activated when `activate` is non-zero;
/// null when the file cannot be read.
inline TAdvBodyRef AdvBodyLoad(const std::string& path, int activate)
{
    return TAdvBody::Load(path, activate);
}
/// TAdvBody::Save: writes the body file (".rvb" added without an extension). Returns 0.
inline int AdvBodySave(const TAdvBodyRef& b, const std::string& path, int backup, int embedImages)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Save, path, backup, embedImages);
}
/// TAdvBody::Copy: a deep, inactive copy; null for a null body.
inline TAdvBodyRef AdvBodyCopy(const TAdvBodyRef& b)
{
    return detail::OnBody(b, nullptr, &TAdvBody::Copy);
}
/// TAdvBody::CleanIndex: compacts all four tables. Returns 0.
inline int AdvBodyCleanIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::CleanIndex);
}
///@{
/// TAdvBody::Activate, TAdvBody::DeActivate: put the body's constraints and their masses into
/// the current world, or take them out. Each returns 0.
inline int AdvBodyActivate(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Activate);
}
inline int AdvBodyDeActivate(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::DeActivate);
}
///@}
/// TAdvBody::Draw: every live rig in slot order. Returns 0.
inline int AdvBodyDraw(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Draw);
}

// Whole-body motion and collision queries.
///@{
/// TAdvBody::Move (the shift becomes velocity), TAdvBody::Translate (velocities kept),
/// TAdvBody::Position (the reference mass at (x, y), at rest); world units. Each returns 0.
inline int AdvBodyMove(const TAdvBodyRef& b, float dx, float dy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Move, dx, dy);
}
inline int AdvBodyTranslate(const TAdvBodyRef& b, float dx, float dy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Translate, dx, dy);
}
inline int AdvBodyPosition(const TAdvBodyRef& b, float x, float y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Position, x, y);
}
///@}
///@{
/// TAdvBody::GetPosition, TAdvBody::GetX, TAdvBody::GetY: the reference mass's position, world
/// units; 0 (out-parameters untouched) for a null body or one without masses.
inline int AdvBodyGetPosition(const TAdvBodyRef& b, float& x, float& y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::GetPosition, x, y);
}
inline float AdvBodyGetX(const TAdvBodyRef& b)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::GetX);
}
inline float AdvBodyGetY(const TAdvBodyRef& b)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::GetY);
}
///@}
/// TAdvBody::Rotate: turns the body so its reference constraint points along `degrees`, at rest. Returns 0.
inline int AdvBodyRotate(const TAdvBodyRef& b, float degrees)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Rotate, degrees);
}
/// TAdvBody::GetRotation: the reference constraint's angle, degrees; 0 for a null body.
inline float AdvBodyGetRotation(const TAdvBodyRef& b)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::GetRotation);
}
///@{
/// TAdvBody::Spin (the turn becomes rotation speed), TAdvBody::Turn (velocities kept), by
/// `degrees`. Each returns 0.
inline int AdvBodySpin(const TAdvBodyRef& b, float degrees)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Spin, degrees);
}
inline int AdvBodyTurn(const TAdvBodyRef& b, float degrees)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::Turn, degrees);
}
///@}
///@{
/// TAdvBody::CollideAdvBody, TAdvBody::CollideZone, TAdvBody::CollideBounds: the last step's
/// events of the body's masses; null when there are none or the body is null.
inline TListRef<TColEventRef> AdvBodyCollideAdvBody(const TAdvBodyRef& b, const TAdvBodyRef& other)
{
    return detail::OnBody(b, nullptr, &TAdvBody::CollideAdvBody, other);
}
inline TListRef<TColEventRef> AdvBodyCollideZone(const TAdvBodyRef& b, const TZoneRef& zone)
{
    return detail::OnBody(b, nullptr, &TAdvBody::CollideZone, zone);
}
inline TListRef<TColEventRef> AdvBodyCollideBounds(const TAdvBodyRef& b)
{
    return detail::OnBody(b, nullptr, &TAdvBody::CollideBounds);
}
///@}

} // namespace ravel
