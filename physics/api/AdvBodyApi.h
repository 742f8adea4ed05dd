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
inline TAdvBodyRef AdvBodyLoad(const std::string& path, int activate)
{
    return TAdvBody::Load(path, activate);
}
inline int AdvBodySave(const TAdvBodyRef& b, const std::string& path, int backup, int embedImages)
{
    if (b)
        b->Save(path, backup, embedImages);
    return 0;
}
inline TAdvBodyRef AdvBodyCopy(const TAdvBodyRef& b)
{
    return b ? b->Copy() : nullptr;
}
inline int AdvBodyCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->CleanIndex();
    return 0;
}
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
inline int AdvBodyDraw(const TAdvBodyRef& b)
{
    if (b)
        b->Draw();
    return 0;
}

// Whole-body motion and collision queries.
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
inline int AdvBodyRotate(const TAdvBodyRef& b, float degrees)
{
    if (b)
        b->Rotate(degrees);
    return 0;
}
inline float AdvBodyGetRotation(const TAdvBodyRef& b)
{
    return b ? b->GetRotation() : 0.0f;
}
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

// Masses.
inline int AdvBodyMassAdd(const TAdvBodyRef& b, float x, float y, float mass, float radius, float friction,
                          int colGroup)
{
    return b ? b->MassAdd(x, y, mass, radius, friction, colGroup) : -1;
}
inline int AdvBodyMassRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->MassRemove(slot);
    return 0;
}
inline int AdvBodyMassMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->MassMaxIndex() : -1;
}
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
inline int AdvBodyMassExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassExists(slot) : 0;
}
inline TMassRef AdvBodyMassGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGet(slot) : nullptr;
}
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
inline float AdvBodyMassGetVelocity(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassGetVelocity(slot) : 0.0f;
}
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
inline int AdvBodyMassIsActive(const TAdvBodyRef& b, int slot)
{
    return b ? b->MassIsActive(slot) : 0;
}
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

// Constraints.
inline int AdvBodyConAddAll(const TAdvBodyRef& b, float stiffness)
{
    if (b)
        b->ConAddAll(stiffness);
    return 0;
}
inline int AdvBodyConAdd(const TAdvBodyRef& b, int mass1, int mass2, float restLength, float stiffness)
{
    return b ? b->ConAdd(mass1, mass2, restLength, stiffness) : -1;
}
inline int AdvBodyConRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ConRemove(slot);
    return 0;
}
inline int AdvBodyConMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->ConMaxIndex() : -1;
}
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
inline int AdvBodyConExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConExists(slot) : 0;
}
inline TConstraintRef AdvBodyConGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGet(slot) : nullptr;
}
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
inline int AdvBodyConGetMass1(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetMass1(slot) : 0;
}
inline int AdvBodyConGetMass2(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetMass2(slot) : 0;
}
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
inline float AdvBodyConGetAngle(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetAngle(slot) : 0.0f;
}
inline float AdvBodyConGetLength(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetLength(slot) : 0.0f;
}
inline float AdvBodyConGetStress(const TAdvBodyRef& b, int slot)
{
    return b ? b->ConGetStress(slot) : 0.0f;
}
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

// Rigs.
inline int AdvBodyRigAdd(const TAdvBodyRef& b, int image, int mass, int con, float angle)
{
    return b ? b->RigAdd(image, mass, con, angle) : -1;
}
inline int AdvBodyRigRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->RigRemove(slot);
    return 0;
}
inline int AdvBodyRigMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->RigMaxIndex() : -1;
}
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
inline int AdvBodyRigExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigExists(slot) : 0;
}
inline TRigRef AdvBodyRigGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->RigGet(slot) : nullptr;
}
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
inline int AdvBodyRigDraw(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->RigDraw(slot);
    return 0;
}

// Images: an image object, a PNG file's path or a stream positioned at PNG data.
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
inline int AdvBodyImageRemove(const TAdvBodyRef& b, int slot)
{
    if (b)
        b->ImageRemove(slot);
    return 0;
}
inline int AdvBodyImageMaxIndex(const TAdvBodyRef& b)
{
    return b ? b->ImageMaxIndex() : -1;
}
inline int AdvBodyImageSwapIndex(const TAdvBodyRef& b, int slotA, int slotB)
{
    if (b)
        b->ImageSwapIndex(slotA, slotB);
    return 0;
}
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
inline int AdvBodyImageCleanIndex(const TAdvBodyRef& b)
{
    if (b)
        b->ImageCleanIndex();
    return 0;
}
inline int AdvBodyImageExists(const TAdvBodyRef& b, int slot)
{
    return b ? b->ImageExists(slot) : 0;
}
inline TImageRef AdvBodyImageGet(const TAdvBodyRef& b, int slot)
{
    return b ? b->ImageGet(slot) : nullptr;
}

} // namespace ravel
