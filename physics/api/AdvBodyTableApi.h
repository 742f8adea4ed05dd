// physics/api/AdvBodyTableApi.h: free forms of the indexed body's four tables (masses, constraints,
// rigs, images), AdvBody<Family><Op> for TAdvBody::<Family><Op>; AdvBodyApi.h, which has the forms of
// the whole body, includes it. Every form of the indexed body is one template applied to one operation.
#pragma once
#include "physics/TAdvBody.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace ravel
{

// The body comes first, then the slot numbers and values. A null body does nothing and gives what an
// empty slot gives (0, 0.0, "" or null, out-parameters left as they were), except that the adders and
// the MaxIndex queries give -1, as for a body without slots, so that no caller takes slot 0 for real.

namespace detail
{

// The result of a form whose operation has nothing to give: 0, whatever the operation returned.
struct ZeroResult
{
};
inline constexpr ZeroResult kZero{};

// Every form below is this template applied to one operation of the body: it calls `op` (a method of
// TAdvBody, or a call on the body for the overloaded ones) with the arguments when there is a body.
// A query gives what the operation gives, `none` for a null body; with `none` = kZero the form gives
// 0 either way.
template <class None, class Op, class... Args>
auto OnBody(const TAdvBodyRef& b, None none, Op&& op, Args&&... args)
{
    if constexpr (std::is_same_v<None, ZeroResult>)
    {
        if (b)
            std::invoke(std::forward<Op>(op), *b, std::forward<Args>(args)...);
        return 0;
    }
    else
        return b ? std::invoke(std::forward<Op>(op), *b, std::forward<Args>(args)...) : none;
}

} // namespace detail

// Masses.
/// TAdvBody::MassAdd: a new mass in the next slot; returns the slot, -1 for a null body.
inline int AdvBodyMassAdd(const TAdvBodyRef& b, float x, float y, float mass, float radius, float friction,
                          int colGroup)
{
    return detail::OnBody(b, -1, &TAdvBody::MassAdd, x, y, mass, radius, friction, colGroup);
}
/// TAdvBody::MassRemove: removes the mass with its rigs and constraints. Returns 0.
inline int AdvBodyMassRemove(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassRemove, slot);
}
/// TAdvBody::MassMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyMassMaxIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, -1, &TAdvBody::MassMaxIndex);
}
///@{
/// TAdvBody::MassSwapIndex, TAdvBody::MassCleanIndex: reorder the mass slots. Each returns 0.
inline int AdvBodyMassSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSwapIndex, slotA, slotB);
}
inline int AdvBodyMassCleanIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassCleanIndex);
}
///@}
///@{
/// TAdvBody::MassExists (1 or 0), TAdvBody::MassGet (the mass or null).
inline int AdvBodyMassExists(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::MassExists, slot);
}
inline TMassRef AdvBodyMassGet(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, nullptr, &TAdvBody::MassGet, slot);
}
///@}
///@{
/// TAdvBody::MassSetName, TAdvBody::MassGetName.
inline int AdvBodyMassSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetName, slot, n);
}
inline std::string AdvBodyMassGetName(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, std::string(), &TAdvBody::MassGetName, slot);
}
///@}
///@{
/// TAdvBody::MassMove, TAdvBody::MassTranslate, TAdvBody::MassPosition, world units. Each returns 0.
inline int AdvBodyMassMove(const TAdvBodyRef& b, int slot, float dx, float dy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassMove, slot, dx, dy);
}
inline int AdvBodyMassTranslate(const TAdvBodyRef& b, int slot, float dx, float dy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassTranslate, slot, dx, dy);
}
inline int AdvBodyMassPosition(const TAdvBodyRef& b, int slot, float x, float y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassPosition, slot, x, y);
}
///@}
///@{
/// The slot's mass's position (TAdvBody::MassGetPositionX and the rest), world units.
inline float AdvBodyMassGetPositionX(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetPositionX, slot);
}
inline float AdvBodyMassGetPositionY(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetPositionY, slot);
}
inline int AdvBodyMassGetPosition(const TAdvBodyRef& b, int slot, float& x, float& y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassGetPosition, slot, x, y);
}
inline float AdvBodyMassGetX(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetX, slot);
}
inline float AdvBodyMassGetY(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetY, slot);
}
///@}
///@{
/// TAdvBody::MassSetMass, TAdvBody::MassGetMass: the weight that splits corrections.
inline int AdvBodyMassSetMass(const TAdvBodyRef& b, int slot, float m)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetMass, slot, m);
}
inline float AdvBodyMassGetMass(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetMass, slot);
}
///@}
///@{
/// TAdvBody::MassSetRadius, TAdvBody::MassGetRadius: collision radius, world units.
inline int AdvBodyMassSetRadius(const TAdvBodyRef& b, int slot, float r)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetRadius, slot, r);
}
inline float AdvBodyMassGetRadius(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetRadius, slot);
}
///@}
///@{
/// TAdvBody::MassSetFriction (clamped to [0, 1]), TAdvBody::MassGetFriction.
inline int AdvBodyMassSetFriction(const TAdvBodyRef& b, int slot, float f)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetFriction, slot, f);
}
inline float AdvBodyMassGetFriction(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetFriction, slot);
}
///@}
///@{
/// TAdvBody::MassFreeze, TAdvBody::MassThaw, TAdvBody::MassIsFrozen.
inline int AdvBodyMassFreeze(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassFreeze, slot);
}
inline int AdvBodyMassThaw(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassThaw, slot);
}
inline int AdvBodyMassIsFrozen(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::MassIsFrozen, slot);
}
///@}
///@{
/// TAdvBody::MassSetVelocity, TAdvBody::MassAddVelocity, world units per step. Each returns 0.
inline int AdvBodyMassSetVelocity(const TAdvBodyRef& b, int slot, float vx, float vy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetVelocity, slot, vx, vy);
}
inline int AdvBodyMassAddVelocity(const TAdvBodyRef& b, int slot, float vx, float vy)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassAddVelocity, slot, vx, vy);
}
///@}
///@{
/// The slot's mass's velocity components (TAdvBody::MassGetVelocityX and the rest), world
/// units per step.
inline float AdvBodyMassGetVelocityX(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetVelocityX, slot);
}
inline float AdvBodyMassGetVelocityY(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetVelocityY, slot);
}
inline float AdvBodyMassGetVX(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetVX, slot);
}
inline float AdvBodyMassGetVY(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetVY, slot);
}
///@}
/// TAdvBody::MassGetVelocity: the slot's mass's speed, world units per step.
inline float AdvBodyMassGetVelocity(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::MassGetVelocity, slot);
}
///@{
/// TAdvBody::MassGetColGroup, TAdvBody::MassSetColGroup (-1 takes a fresh group).
inline int AdvBodyMassGetColGroup(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::MassGetColGroup, slot);
}
inline int AdvBodyMassSetColGroup(const TAdvBodyRef& b, int slot, int group)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassSetColGroup, slot, group);
}
///@}
/// TAdvBody::MassIsActive: 1 while the slot's mass is counted in the simulation.
inline int AdvBodyMassIsActive(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::MassIsActive, slot);
}
///@{
/// TAdvBody::MassDraw, TAdvBody::MassDrawAll: masses as circles, in the caller's colour. Each returns 0.
inline int AdvBodyMassDraw(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassDraw, slot);
}
inline int AdvBodyMassDrawAll(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::MassDrawAll);
}
///@}

// Constraints.
/// TAdvBody::ConAddAll: joins every pair of live masses. Returns 0.
inline int AdvBodyConAddAll(const TAdvBodyRef& b, float stiffness)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConAddAll, stiffness);
}
/// TAdvBody::ConAdd: a new constraint between two live mass slots; returns the slot, -1 when
/// refused or for a null body.
inline int AdvBodyConAdd(const TAdvBodyRef& b, int mass1, int mass2, float restLength, float stiffness)
{
    return detail::OnBody(b, -1, &TAdvBody::ConAdd, mass1, mass2, restLength, stiffness);
}
/// TAdvBody::ConRemove: removes the constraint with its rigs. Returns 0.
inline int AdvBodyConRemove(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConRemove, slot);
}
/// TAdvBody::ConMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyConMaxIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, -1, &TAdvBody::ConMaxIndex);
}
///@{
/// TAdvBody::ConSwapIndex, TAdvBody::ConCleanIndex: reorder the constraint slots. Each returns 0.
inline int AdvBodyConSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConSwapIndex, slotA, slotB);
}
inline int AdvBodyConCleanIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConCleanIndex);
}
///@}
///@{
/// TAdvBody::ConExists (1 or 0), TAdvBody::ConGet (the constraint or null).
inline int AdvBodyConExists(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::ConExists, slot);
}
inline TConstraintRef AdvBodyConGet(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, nullptr, &TAdvBody::ConGet, slot);
}
///@}
///@{
/// TAdvBody::ConSetName, TAdvBody::ConGetName.
inline int AdvBodyConSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConSetName, slot, n);
}
inline std::string AdvBodyConGetName(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, std::string(), &TAdvBody::ConGetName, slot);
}
///@}
///@{
/// TAdvBody::ConAssign, TAdvBody::ConFree: activate or deactivate one constraint through the
/// body. Each returns 0.
inline int AdvBodyConAssign(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConAssign, slot);
}
inline int AdvBodyConFree(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConFree, slot);
}
///@}
///@{
/// TAdvBody::ConGetMass1, TAdvBody::ConGetMass2: slot of the constraint's first or second mass.
inline int AdvBodyConGetMass1(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::ConGetMass1, slot);
}
inline int AdvBodyConGetMass2(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::ConGetMass2, slot);
}
///@}
///@{
/// TAdvBody::ConSetRestLength, TAdvBody::ConGetRestLength, world units.
inline int AdvBodyConSetRestLength(const TAdvBodyRef& b, int slot, float length)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConSetRestLength, slot, length);
}
inline float AdvBodyConGetRestLength(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::ConGetRestLength, slot);
}
///@}
///@{
/// TAdvBody::ConSetStiffness (clamped to [0, 1]), TAdvBody::ConGetStiffness.
inline int AdvBodyConSetStiffness(const TAdvBodyRef& b, int slot, float s)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConSetStiffness, slot, s);
}
inline float AdvBodyConGetStiffness(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::ConGetStiffness, slot);
}
///@}
/// TAdvBody::ConGetAngle: the constraint's direction, degrees.
inline float AdvBodyConGetAngle(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::ConGetAngle, slot);
}
/// TAdvBody::ConGetLength: the constraint's present length, world units.
inline float AdvBodyConGetLength(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::ConGetLength, slot);
}
/// TAdvBody::ConGetStress: length over rest length.
inline float AdvBodyConGetStress(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::ConGetStress, slot);
}
///@{
/// TAdvBody::ConDraw, TAdvBody::ConDrawAll: sticks as lines, in the caller's colour. Each returns 0.
inline int AdvBodyConDraw(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConDraw, slot);
}
inline int AdvBodyConDrawAll(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ConDrawAll);
}
///@}

// Rigs.
/// TAdvBody::RigAdd: a new rig on live image and mass slots; returns the slot, -1 when refused
/// or for a null body.
inline int AdvBodyRigAdd(const TAdvBodyRef& b, int image, int mass, int con, float angle)
{
    return detail::OnBody(b, -1, &TAdvBody::RigAdd, image, mass, con, angle);
}
/// TAdvBody::RigRemove: empties the rig slot. Returns 0.
inline int AdvBodyRigRemove(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigRemove, slot);
}
/// TAdvBody::RigMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyRigMaxIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, -1, &TAdvBody::RigMaxIndex);
}
///@{
/// TAdvBody::RigSwapIndex, TAdvBody::RigCleanIndex: reorder the rig slots. Each returns 0.
inline int AdvBodyRigSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSwapIndex, slotA, slotB);
}
inline int AdvBodyRigCleanIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigCleanIndex);
}
///@}
///@{
/// TAdvBody::RigExists (1 or 0), TAdvBody::RigGet (the rig or null).
inline int AdvBodyRigExists(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::RigExists, slot);
}
inline TRigRef AdvBodyRigGet(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, nullptr, &TAdvBody::RigGet, slot);
}
///@}
///@{
/// TAdvBody::RigSetName, TAdvBody::RigGetName.
inline int AdvBodyRigSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetName, slot, n);
}
inline std::string AdvBodyRigGetName(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, std::string(), &TAdvBody::RigGetName, slot);
}
///@}
///@{
/// TAdvBody::RigSetImage, TAdvBody::RigGetImage: by image slot (-1: the image is in no slot).
inline int AdvBodyRigSetImage(const TAdvBodyRef& b, int slot, int image)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetImage, slot, image);
}
inline int AdvBodyRigGetImage(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::RigGetImage, slot);
}
///@}
///@{
/// TAdvBody::RigSetMass, TAdvBody::RigGetMass: by mass slot.
inline int AdvBodyRigSetMass(const TAdvBodyRef& b, int slot, int mass)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetMass, slot, mass);
}
inline int AdvBodyRigGetMass(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::RigGetMass, slot);
}
///@}
///@{
/// TAdvBody::RigSetConstraint, TAdvBody::RigGetConstraint: by constraint slot, -1 for none.
inline int AdvBodyRigSetConstraint(const TAdvBodyRef& b, int slot, int con)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetConstraint, slot, con);
}
inline int AdvBodyRigGetConstraint(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::RigGetConstraint, slot);
}
///@}
///@{
/// TAdvBody::RigSetAngle, TAdvBody::RigGetAngle, degrees.
inline int AdvBodyRigSetAngle(const TAdvBodyRef& b, int slot, float degrees)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetAngle, slot, degrees);
}
inline float AdvBodyRigGetAngle(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::RigGetAngle, slot);
}
///@}
///@{
/// TAdvBody::RigSetScale, TAdvBody::RigGetScale. Each returns 0.
inline int AdvBodyRigSetScale(const TAdvBodyRef& b, int slot, float x, float y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetScale, slot, x, y);
}
inline int AdvBodyRigGetScale(const TAdvBodyRef& b, int slot, float& x, float& y)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigGetScale, slot, x, y);
}
///@}
///@{
/// TAdvBody::RigSetColor, TAdvBody::RigGetColor: tint channels 0..255. Each returns 0.
inline int AdvBodyRigSetColor(const TAdvBodyRef& b, int slot, int red, int green, int blue)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetColor, slot, red, green, blue);
}
inline int AdvBodyRigGetColor(const TAdvBodyRef& b, int slot, int& red, int& green, int& blue)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigGetColor, slot, red, green, blue);
}
///@}
///@{
/// TAdvBody::RigSetAlpha (clamped to [0, 1]), TAdvBody::RigGetAlpha.
inline int AdvBodyRigSetAlpha(const TAdvBodyRef& b, int slot, float a)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetAlpha, slot, a);
}
inline float AdvBodyRigGetAlpha(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0.0f, &TAdvBody::RigGetAlpha, slot);
}
///@}
///@{
/// TAdvBody::RigSetBlend, TAdvBody::RigGetBlend: a blend mode number.
inline int AdvBodyRigSetBlend(const TAdvBodyRef& b, int slot, int mode)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigSetBlend, slot, mode);
}
inline int AdvBodyRigGetBlend(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::RigGetBlend, slot);
}
///@}
/// TAdvBody::RigDraw: draws one rig. Returns 0.
inline int AdvBodyRigDraw(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::RigDraw, slot);
}

// Images: an image object, a PNG file's path or a stream positioned at PNG data.
///@{
/// TAdvBody::ImageAdd: an image object, a PNG file's path or a stream at PNG data into the next
/// slot; returns the slot, -1 when there is no image or for a null body.
inline int AdvBodyImageAdd(const TAdvBodyRef& b, const TImageRef& image)
{
    return detail::OnBody(b, -1, [&](TAdvBody& body) { return body.ImageAdd(image); });
}
inline int AdvBodyImageAdd(const TAdvBodyRef& b, const std::string& path)
{
    return detail::OnBody(b, -1, [&](TAdvBody& body) { return body.ImageAdd(path); });
}
inline int AdvBodyImageAdd(const TAdvBodyRef& b, TStream& stream)
{
    return detail::OnBody(b, -1, [&](TAdvBody& body) { return body.ImageAdd(stream); });
}
///@}
/// TAdvBody::ImageRemove: removes the image with the rigs drawing it. Returns 0.
inline int AdvBodyImageRemove(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ImageRemove, slot);
}
/// TAdvBody::ImageMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyImageMaxIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, -1, &TAdvBody::ImageMaxIndex);
}
/// TAdvBody::ImageSwapIndex: exchanges two image slots. Returns 0.
inline int AdvBodyImageSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ImageSwapIndex, slotA, slotB);
}
///@{
/// TAdvBody::ImageReplace: a new image in a slot within the count, re-pointing its rigs; 1 on
/// success, 0 when nothing changed or for a null body.
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, const TImageRef& image)
{
    return detail::OnBody(b, 0, [&](TAdvBody& body) { return body.ImageReplace(slot, image); });
}
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, const std::string& path)
{
    return detail::OnBody(b, 0, [&](TAdvBody& body) { return body.ImageReplace(slot, path); });
}
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, TStream& stream)
{
    return detail::OnBody(b, 0, [&](TAdvBody& body) { return body.ImageReplace(slot, stream); });
}
///@}
/// TAdvBody::ImageCleanIndex: compacts the image slots. Returns 0.
inline int AdvBodyImageCleanIndex(const TAdvBodyRef& b)
{
    return detail::OnBody(b, detail::kZero, &TAdvBody::ImageCleanIndex);
}
///@{
/// TAdvBody::ImageExists (1 or 0), TAdvBody::ImageGet (the image or null).
inline int AdvBodyImageExists(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, 0, &TAdvBody::ImageExists, slot);
}
inline TImageRef AdvBodyImageGet(const TAdvBodyRef& b, int slot)
{
    return detail::OnBody(b, nullptr, &TAdvBody::ImageGet, slot);
}
///@}

} // namespace ravel
