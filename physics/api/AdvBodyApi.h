// physics/api/AdvBodyApi.h: free forms of the indexed body's own operations, AdvBody<Op> for
// TAdvBody::<Op>. The operations it inherits have their forms in BodyApi.h.
#pragma once
#include "physics/TAdvBody.h"
#include "physics/TZone.h"
#include "platform/TImage.h"
#include "platform/TList.h"
#include "platform/TStream.h"

#include <memory>
#include <string>

namespace ravel
{

// The body comes first, then the slot numbers and values. A null body does nothing and gives what an
// empty slot gives (0, 0.0, "" or null, out-parameters left as they were), except that the adders and
// the MaxIndex queries give -1, as for a body without slots, so that no caller takes slot 0 for real.

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
    if (b)
        b->Save(path, backup, embedImages);
    return 0;
}
/// TAdvBody::Copy: a deep, inactive copy; null for a null body.
inline TAdvBodyRef AdvBodyCopy(const TAdvBodyRef& b)
{
    return b ? b->Copy() : nullptr;
}
/// TAdvBody::CleanIndex: compacts all four tables. Returns 0.
inline int AdvBodyCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->CleanIndex();
    return 0;
}
///@{
/// TAdvBody::Activate, TAdvBody::DeActivate: put the body's constraints and their masses into
/// the current world, or take them out. Each returns 0.
inline int AdvBodyActivate(const TAdvBodyRef& b)
{
    if (b)
        b->Activate();
    return 0;
}
inline int AdvBodyDeActivate(const TAdvBodyRef& b)
{
    if (b)
        b->DeActivate();
    return 0;
}
///@}
/// TAdvBody::Draw: every live rig in slot order. Returns 0.
inline int AdvBodyDraw(const TAdvBodyRef& b)
{
    if (b)
        b->Draw();
    return 0;
}

// Whole-body motion and collision queries.
///@{
/// TAdvBody::Move (the shift becomes velocity), TAdvBody::Translate (velocities kept),
/// TAdvBody::Position (the reference mass at (x, y), at rest); world units. Each returns 0.
inline int AdvBodyMove(const TAdvBodyRef& b, float dx, float dy)
{
    if (b)
        b->Move(dx, dy);
    return 0;
}
inline int AdvBodyTranslate(const TAdvBodyRef& b, float dx, float dy)
{
    if (b)
        b->Translate(dx, dy);
    return 0;
}
inline int AdvBodyPosition(const TAdvBodyRef& b, float x, float y)
{
    if (b)
        b->Position(x, y);
    return 0;
}
///@}
///@{
/// TAdvBody::GetPosition, TAdvBody::GetX, TAdvBody::GetY: the reference mass's position, world
/// units; 0 (out-parameters untouched) for a null body or one without masses.
inline int AdvBodyGetPosition(const TAdvBodyRef& b, float& x, float& y)
{
    if (b)
        b->GetPosition(x, y);
    return 0;
}
inline float AdvBodyGetX(const TAdvBodyRef& b)
{
    return b ? b->GetX() : 0.0f;
}
inline float AdvBodyGetY(const TAdvBodyRef& b)
{
    return b ? b->GetY() : 0.0f;
}
///@}
/// TAdvBody::Rotate: turns the body so its reference constraint points along `degrees`, at rest. Returns 0.
inline int AdvBodyRotate(const TAdvBodyRef& b, float degrees)
{
    if (b)
        b->Rotate(degrees);
    return 0;
}
/// TAdvBody::GetRotation: the reference constraint's angle, degrees; 0 for a null body.
inline float AdvBodyGetRotation(const TAdvBodyRef& b)
{
    return b ? b->GetRotation() : 0.0f;
}
///@{
/// TAdvBody::Spin (the turn becomes rotation speed), TAdvBody::Turn (velocities kept), by
/// `degrees`. Each returns 0.
inline int AdvBodySpin(const TAdvBodyRef& b, float degrees)
{
    if (b)
        b->Spin(degrees);
    return 0;
}
inline int AdvBodyTurn(const TAdvBodyRef& b, float degrees)
{
    if (b)
        b->Turn(degrees);
    return 0;
}
///@}
///@{
/// TAdvBody::CollideAdvBody, TAdvBody::CollideZone, TAdvBody::CollideBounds: the last step's
/// events of the body's masses; null when there are none or the body is null.
inline TListRef<TColEventRef> AdvBodyCollideAdvBody(const TAdvBodyRef& b, const TAdvBodyRef& other)
{
    return b ? b->CollideAdvBody(other) : nullptr;
}
inline TListRef<TColEventRef> AdvBodyCollideZone(const TAdvBodyRef& b, const TZoneRef& zone)
{
    return b ? b->CollideZone(zone) : nullptr;
}
inline TListRef<TColEventRef> AdvBodyCollideBounds(const TAdvBodyRef& b)
{
    return b ? b->CollideBounds() : nullptr;
}
///@}

// Masses.
/// TAdvBody::MassAdd: a new mass in the next slot; returns the slot, -1 for a null body.
inline int AdvBodyMassAdd(const TAdvBodyRef& b, float x, float y, float mass, float radius, float friction,
                          int colGroup)
{
    return b ? b->MassAdd(x, y, mass, radius, friction, colGroup) : -1;
}
/// TAdvBody::MassRemove: removes the mass with its rigs and constraints. Returns 0.
inline int AdvBodyMassRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->MassRemove(slot);
    return 0;
}
/// TAdvBody::MassMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyMassMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->MassMaxIndex() : -1;
}
///@{
/// TAdvBody::MassSwapIndex, TAdvBody::MassCleanIndex: reorder the mass slots. Each returns 0.
inline int AdvBodyMassSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    if (b)
        b->MassSwapIndex(slotA, slotB);
    return 0;
}
inline int AdvBodyMassCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->MassCleanIndex();
    return 0;
}
///@}
///@{
/// TAdvBody::MassExists (1 or 0), TAdvBody::MassGet (the mass or null).
inline int AdvBodyMassExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassExists(slot) : 0;
}
inline TMassRef AdvBodyMassGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGet(slot) : nullptr;
}
///@}
///@{
/// TAdvBody::MassSetName, TAdvBody::MassGetName.
inline int AdvBodyMassSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    if (b)
        b->MassSetName(slot, n);
    return 0;
}
inline std::string AdvBodyMassGetName(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetName(slot) : std::string();
}
///@}
///@{
/// TAdvBody::MassMove, TAdvBody::MassTranslate, TAdvBody::MassPosition, world units. Each returns 0.
inline int AdvBodyMassMove(const TAdvBodyRef& b, int slot, float dx, float dy)
{
    if (b)
        b->MassMove(slot, dx, dy);
    return 0;
}
inline int AdvBodyMassTranslate(const TAdvBodyRef& b, int slot, float dx, float dy)
{
    if (b)
        b->MassTranslate(slot, dx, dy);
    return 0;
}
inline int AdvBodyMassPosition(const TAdvBodyRef& b, int slot, float x, float y)
{
    if (b)
        b->MassPosition(slot, x, y);
    return 0;
}
///@}
///@{
/// The slot's mass's position (TAdvBody::MassGetPositionX and the rest), world units.
inline float AdvBodyMassGetPositionX(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetPositionX(slot) : 0.0f;
}
inline float AdvBodyMassGetPositionY(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetPositionY(slot) : 0.0f;
}
inline int AdvBodyMassGetPosition(const TAdvBodyRef& b, int slot, float& x, float& y)
{
    if (b)
        b->MassGetPosition(slot, x, y);
    return 0;
}
inline float AdvBodyMassGetX(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetX(slot) : 0.0f;
}
inline float AdvBodyMassGetY(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetY(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::MassSetMass, TAdvBody::MassGetMass: the weight that splits corrections.
inline int AdvBodyMassSetMass(const TAdvBodyRef& b, int slot, float m)
{
    if (b)
        b->MassSetMass(slot, m);
    return 0;
}
inline float AdvBodyMassGetMass(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetMass(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::MassSetRadius, TAdvBody::MassGetRadius: collision radius, world units.
inline int AdvBodyMassSetRadius(const TAdvBodyRef& b, int slot, float r)
{
    if (b)
        b->MassSetRadius(slot, r);
    return 0;
}
inline float AdvBodyMassGetRadius(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetRadius(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::MassSetFriction (clamped to [0, 1]), TAdvBody::MassGetFriction.
inline int AdvBodyMassSetFriction(const TAdvBodyRef& b, int slot, float f)
{
    if (b)
        b->MassSetFriction(slot, f);
    return 0;
}
inline float AdvBodyMassGetFriction(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetFriction(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::MassFreeze, TAdvBody::MassThaw, TAdvBody::MassIsFrozen.
inline int AdvBodyMassFreeze(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->MassFreeze(slot);
    return 0;
}
inline int AdvBodyMassThaw(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->MassThaw(slot);
    return 0;
}
inline int AdvBodyMassIsFrozen(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassIsFrozen(slot) : 0;
}
///@}
///@{
/// TAdvBody::MassSetVelocity, TAdvBody::MassAddVelocity, world units per step. Each returns 0.
inline int AdvBodyMassSetVelocity(const TAdvBodyRef& b, int slot, float vx, float vy)
{
    if (b)
        b->MassSetVelocity(slot, vx, vy);
    return 0;
}
inline int AdvBodyMassAddVelocity(const TAdvBodyRef& b, int slot, float vx, float vy)
{
    if (b)
        b->MassAddVelocity(slot, vx, vy);
    return 0;
}
///@}
///@{
/// The slot's mass's velocity components (TAdvBody::MassGetVelocityX and the rest), world
/// units per step.
inline float AdvBodyMassGetVelocityX(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVelocityX(slot) : 0.0f;
}
inline float AdvBodyMassGetVelocityY(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVelocityY(slot) : 0.0f;
}
inline float AdvBodyMassGetVX(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVX(slot) : 0.0f;
}
inline float AdvBodyMassGetVY(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVY(slot) : 0.0f;
}
///@}
/// TAdvBody::MassGetVelocity: the slot's mass's speed, world units per step.
inline float AdvBodyMassGetVelocity(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVelocity(slot) : 0.0f;
}
///@{
/// TAdvBody::MassGetColGroup, TAdvBody::MassSetColGroup (-1 takes a fresh group).
inline int AdvBodyMassGetColGroup(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetColGroup(slot) : 0;
}
inline int AdvBodyMassSetColGroup(const TAdvBodyRef& b, int slot, int group)
{
    if (b)
        b->MassSetColGroup(slot, group);
    return 0;
}
///@}
/// TAdvBody::MassIsActive: 1 while the slot's mass is counted in the simulation.
inline int AdvBodyMassIsActive(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassIsActive(slot) : 0;
}
///@{
/// TAdvBody::MassDraw, TAdvBody::MassDrawAll: masses as circles, in the caller's colour. Each returns 0.
inline int AdvBodyMassDraw(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->MassDraw(slot);
    return 0;
}
inline int AdvBodyMassDrawAll(const TAdvBodyRef& b)
{
    if (b)
        b->MassDrawAll();
    return 0;
}
///@}

// Constraints.
/// TAdvBody::ConAddAll: joins every pair of live masses. Returns 0.
inline int AdvBodyConAddAll(const TAdvBodyRef& b, float stiffness)
{
    if (b)
        b->ConAddAll(stiffness);
    return 0;
}
/// TAdvBody::ConAdd: a new constraint between two live mass slots; returns the slot, -1 when
/// refused or for a null body.
inline int AdvBodyConAdd(const TAdvBodyRef& b, int mass1, int mass2, float restLength, float stiffness)
{
    return b ? b->ConAdd(mass1, mass2, restLength, stiffness) : -1;
}
/// TAdvBody::ConRemove: removes the constraint with its rigs. Returns 0.
inline int AdvBodyConRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ConRemove(slot);
    return 0;
}
/// TAdvBody::ConMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyConMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->ConMaxIndex() : -1;
}
///@{
/// TAdvBody::ConSwapIndex, TAdvBody::ConCleanIndex: reorder the constraint slots. Each returns 0.
inline int AdvBodyConSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    if (b)
        b->ConSwapIndex(slotA, slotB);
    return 0;
}
inline int AdvBodyConCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->ConCleanIndex();
    return 0;
}
///@}
///@{
/// TAdvBody::ConExists (1 or 0), TAdvBody::ConGet (the constraint or null).
inline int AdvBodyConExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConExists(slot) : 0;
}
inline TConstraintRef AdvBodyConGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGet(slot) : nullptr;
}
///@}
///@{
/// TAdvBody::ConSetName, TAdvBody::ConGetName.
inline int AdvBodyConSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    if (b)
        b->ConSetName(slot, n);
    return 0;
}
inline std::string AdvBodyConGetName(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetName(slot) : std::string();
}
///@}
///@{
/// TAdvBody::ConAssign, TAdvBody::ConFree: activate or deactivate one constraint through the
/// body. Each returns 0.
inline int AdvBodyConAssign(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ConAssign(slot);
    return 0;
}
inline int AdvBodyConFree(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ConFree(slot);
    return 0;
}
///@}
///@{
/// TAdvBody::ConGetMass1, TAdvBody::ConGetMass2: slot of the constraint's first or second mass.
inline int AdvBodyConGetMass1(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetMass1(slot) : 0;
}
inline int AdvBodyConGetMass2(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetMass2(slot) : 0;
}
///@}
///@{
/// TAdvBody::ConSetRestLength, TAdvBody::ConGetRestLength, world units.
inline int AdvBodyConSetRestLength(const TAdvBodyRef& b, int slot, float length)
{
    if (b)
        b->ConSetRestLength(slot, length);
    return 0;
}
inline float AdvBodyConGetRestLength(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetRestLength(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::ConSetStiffness (clamped to [0, 1]), TAdvBody::ConGetStiffness.
inline int AdvBodyConSetStiffness(const TAdvBodyRef& b, int slot, float s)
{
    if (b)
        b->ConSetStiffness(slot, s);
    return 0;
}
inline float AdvBodyConGetStiffness(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetStiffness(slot) : 0.0f;
}
///@}
/// TAdvBody::ConGetAngle: the constraint's direction, degrees.
inline float AdvBodyConGetAngle(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetAngle(slot) : 0.0f;
}
/// TAdvBody::ConGetLength: the constraint's present length, world units.
inline float AdvBodyConGetLength(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetLength(slot) : 0.0f;
}
/// TAdvBody::ConGetStress: length over rest length.
inline float AdvBodyConGetStress(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetStress(slot) : 0.0f;
}
///@{
/// TAdvBody::ConDraw, TAdvBody::ConDrawAll: sticks as lines, in the caller's colour. Each returns 0.
inline int AdvBodyConDraw(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ConDraw(slot);
    return 0;
}
inline int AdvBodyConDrawAll(const TAdvBodyRef& b)
{
    if (b)
        b->ConDrawAll();
    return 0;
}
///@}

// Rigs.
/// TAdvBody::RigAdd: a new rig on live image and mass slots; returns the slot, -1 when refused
/// or for a null body.
inline int AdvBodyRigAdd(const TAdvBodyRef& b, int image, int mass, int con, float angle)
{
    return b ? b->RigAdd(image, mass, con, angle) : -1;
}
/// TAdvBody::RigRemove: empties the rig slot. Returns 0.
inline int AdvBodyRigRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->RigRemove(slot);
    return 0;
}
/// TAdvBody::RigMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyRigMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->RigMaxIndex() : -1;
}
///@{
/// TAdvBody::RigSwapIndex, TAdvBody::RigCleanIndex: reorder the rig slots. Each returns 0.
inline int AdvBodyRigSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    if (b)
        b->RigSwapIndex(slotA, slotB);
    return 0;
}
inline int AdvBodyRigCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->RigCleanIndex();
    return 0;
}
///@}
///@{
/// TAdvBody::RigExists (1 or 0), TAdvBody::RigGet (the rig or null).
inline int AdvBodyRigExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigExists(slot) : 0;
}
inline TRigRef AdvBodyRigGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGet(slot) : nullptr;
}
///@}
///@{
/// TAdvBody::RigSetName, TAdvBody::RigGetName.
inline int AdvBodyRigSetName(const TAdvBodyRef& b, int slot, const std::string& n)
{
    if (b)
        b->RigSetName(slot, n);
    return 0;
}
inline std::string AdvBodyRigGetName(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetName(slot) : std::string();
}
///@}
///@{
/// TAdvBody::RigSetImage, TAdvBody::RigGetImage: by image slot (-1: the image is in no slot).
inline int AdvBodyRigSetImage(const TAdvBodyRef& b, int slot, int image)
{
    if (b)
        b->RigSetImage(slot, image);
    return 0;
}
inline int AdvBodyRigGetImage(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetImage(slot) : 0;
}
///@}
///@{
/// TAdvBody::RigSetMass, TAdvBody::RigGetMass: by mass slot.
inline int AdvBodyRigSetMass(const TAdvBodyRef& b, int slot, int mass)
{
    if (b)
        b->RigSetMass(slot, mass);
    return 0;
}
inline int AdvBodyRigGetMass(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetMass(slot) : 0;
}
///@}
///@{
/// TAdvBody::RigSetConstraint, TAdvBody::RigGetConstraint: by constraint slot, -1 for none.
inline int AdvBodyRigSetConstraint(const TAdvBodyRef& b, int slot, int con)
{
    if (b)
        b->RigSetConstraint(slot, con);
    return 0;
}
inline int AdvBodyRigGetConstraint(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetConstraint(slot) : 0;
}
///@}
///@{
/// TAdvBody::RigSetAngle, TAdvBody::RigGetAngle, degrees.
inline int AdvBodyRigSetAngle(const TAdvBodyRef& b, int slot, float degrees)
{
    if (b)
        b->RigSetAngle(slot, degrees);
    return 0;
}
inline float AdvBodyRigGetAngle(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetAngle(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::RigSetScale, TAdvBody::RigGetScale. Each returns 0.
inline int AdvBodyRigSetScale(const TAdvBodyRef& b, int slot, float x, float y)
{
    if (b)
        b->RigSetScale(slot, x, y);
    return 0;
}
inline int AdvBodyRigGetScale(const TAdvBodyRef& b, int slot, float& x, float& y)
{
    if (b)
        b->RigGetScale(slot, x, y);
    return 0;
}
///@}
///@{
/// TAdvBody::RigSetColor, TAdvBody::RigGetColor: tint channels 0..255. Each returns 0.
inline int AdvBodyRigSetColor(const TAdvBodyRef& b, int slot, int red, int green, int blue)
{
    if (b)
        b->RigSetColor(slot, red, green, blue);
    return 0;
}
inline int AdvBodyRigGetColor(const TAdvBodyRef& b, int slot, int& red, int& green, int& blue)
{
    if (b)
        b->RigGetColor(slot, red, green, blue);
    return 0;
}
///@}
///@{
/// TAdvBody::RigSetAlpha (clamped to [0, 1]), TAdvBody::RigGetAlpha.
inline int AdvBodyRigSetAlpha(const TAdvBodyRef& b, int slot, float a)
{
    if (b)
        b->RigSetAlpha(slot, a);
    return 0;
}
inline float AdvBodyRigGetAlpha(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetAlpha(slot) : 0.0f;
}
///@}
///@{
/// TAdvBody::RigSetBlend, TAdvBody::RigGetBlend: a blend mode number.
inline int AdvBodyRigSetBlend(const TAdvBodyRef& b, int slot, int mode)
{
    if (b)
        b->RigSetBlend(slot, mode);
    return 0;
}
inline int AdvBodyRigGetBlend(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGetBlend(slot) : 0;
}
///@}
/// TAdvBody::RigDraw: draws one rig. Returns 0.
inline int AdvBodyRigDraw(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->RigDraw(slot);
    return 0;
}

// Images: an image object, a PNG file's path or a stream positioned at PNG data.
///@{
/// TAdvBody::ImageAdd: an image object, a PNG file's path or a stream at PNG data into the next
/// slot; returns the slot, -1 when there is no image or for a null body.
inline int AdvBodyImageAdd(const TAdvBodyRef& b, const TImageRef& image)
{
    return b ? b->ImageAdd(image) : -1;
}
inline int AdvBodyImageAdd(const TAdvBodyRef& b, const std::string& path)
{
    return b ? b->ImageAdd(path) : -1;
}
inline int AdvBodyImageAdd(const TAdvBodyRef& b, TStream& stream)
{
    return b ? b->ImageAdd(stream) : -1;
}
///@}
/// TAdvBody::ImageRemove: removes the image with the rigs drawing it. Returns 0.
inline int AdvBodyImageRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ImageRemove(slot);
    return 0;
}
/// TAdvBody::ImageMaxIndex: the highest slot handed out; -1 for an empty table or a null body.
inline int AdvBodyImageMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->ImageMaxIndex() : -1;
}
/// TAdvBody::ImageSwapIndex: exchanges two image slots. Returns 0.
inline int AdvBodyImageSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    if (b)
        b->ImageSwapIndex(slotA, slotB);
    return 0;
}
///@{
/// TAdvBody::ImageReplace: a new image in a slot within the count, re-pointing its rigs; 1 on
/// success, 0 when nothing changed or for a null body.
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, const TImageRef& image)
{
    return b ? b->ImageReplace(slot, image) : 0;
}
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, const std::string& path)
{
    return b ? b->ImageReplace(slot, path) : 0;
}
inline int AdvBodyImageReplace(const TAdvBodyRef& b, int slot, TStream& stream)
{
    return b ? b->ImageReplace(slot, stream) : 0;
}
///@}
/// TAdvBody::ImageCleanIndex: compacts the image slots. Returns 0.
inline int AdvBodyImageCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->ImageCleanIndex();
    return 0;
}
///@{
/// TAdvBody::ImageExists (1 or 0), TAdvBody::ImageGet (the image or null).
inline int AdvBodyImageExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->ImageExists(slot) : 0;
}
inline TImageRef AdvBodyImageGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->ImageGet(slot) : nullptr;
}
///@}

} // namespace ravel
