// physics/api/RigApi.h: free forms of the rig's operations, Rig<Op> for TRig::<Op>.
#pragma once
#include "physics/TRig.h"
#include "platform/TImage.h"

#include <string>

namespace ravel
{

// The rig comes first. A null rig does nothing and gives 0, 0.0, "" or null; its out-parameters are
// left as they were.

/// TRig::Create: a new rig (never null) drawing the image at the mass, turned by the optional
/// constraint plus angle degrees.
inline TRigRef RigCreate(const TImageRef& image, const TMassRef& mass, const TConstraintRef& con, float angle)
{
    return TRig::Create(image, mass, con, angle);
}
///@{
/// TRig::SetName, TRig::GetName; "" for a null rig. RigSetName returns 0.
inline int RigSetName(const TRigRef& r, const std::string& n)
{
    if (r)
        r->SetName(n);
    return 0;
}
inline std::string RigGetName(const TRigRef& r)
{
    return r ? r->GetName() : std::string();
}
///@}
///@{
/// TRig::SetImage, TRig::GetImage; null for a null rig. RigSetImage returns 0.
inline int RigSetImage(const TRigRef& r, const TImageRef& image)
{
    if (r)
        r->SetImage(image);
    return 0;
}
inline TImageRef RigGetImage(const TRigRef& r)
{
    return r ? r->GetImage() : nullptr;
}
///@}
///@{
/// TRig::SetMass, TRig::GetMass: the anchor mass; null for a null rig. RigSetMass returns 0.
inline int RigSetMass(const TRigRef& r, const TMassRef& mass)
{
    if (r)
        r->SetMass(mass);
    return 0;
}
inline TMassRef RigGetMass(const TRigRef& r)
{
    return r ? r->GetMass() : nullptr;
}
///@}
///@{
/// TRig::SetConstraint (null: the angle becomes absolute), TRig::GetConstraint; null for a
/// null rig. RigSetConstraint returns 0.
inline int RigSetConstraint(const TRigRef& r, const TConstraintRef& con)
{
    if (r)
        r->SetConstraint(con);
    return 0;
}
inline TConstraintRef RigGetConstraint(const TRigRef& r)
{
    return r ? r->GetConstraint() : nullptr;
}
///@}
///@{
/// TRig::SetAngle, TRig::GetAngle, degrees; 0 for a null rig. RigSetAngle returns 0.
inline int RigSetAngle(const TRigRef& r, float degrees)
{
    if (r)
        r->SetAngle(degrees);
    return 0;
}
inline float RigGetAngle(const TRigRef& r)
{
    return r ? r->GetAngle() : 0.0f;
}
///@}
///@{
/// TRig::SetScale, TRig::GetScale. Each returns 0; a null rig leaves the out-parameters as they were.
inline int RigSetScale(const TRigRef& r, float x, float y)
{
    if (r)
        r->SetScale(x, y);
    return 0;
}
inline int RigGetScale(const TRigRef& r, float& x, float& y)
{
    if (r)
        r->GetScale(x, y);
    return 0;
}
///@}
///@{
/// TRig::SetColor, TRig::GetColor: tint channels 0..255, clamped. Each returns 0; a null rig
/// leaves the out-parameters as they were.
inline int RigSetColor(const TRigRef& r, int red, int green, int blue)
{
    if (r)
        r->SetColor(red, green, blue);
    return 0;
}
inline int RigGetColor(const TRigRef& r, int& red, int& green, int& blue)
{
    if (r)
        r->GetColor(red, green, blue);
    return 0;
}
///@}
///@{
/// TRig::SetAlpha (clamped to [0, 1]), TRig::GetAlpha; 0 for a null rig. RigSetAlpha returns 0.
inline int RigSetAlpha(const TRigRef& r, float a)
{
    if (r)
        r->SetAlpha(a);
    return 0;
}
inline float RigGetAlpha(const TRigRef& r)
{
    return r ? r->GetAlpha() : 0.0f;
}
///@}
///@{
/// TRig::SetBlend, TRig::GetBlend: a blend mode number; 0 for a null rig. RigSetBlend returns 0.
inline int RigSetBlend(const TRigRef& r, int mode)
{
    if (r)
        r->SetBlend(mode);
    return 0;
}
inline int RigGetBlend(const TRigRef& r)
{
    return r ? r->GetBlend() : 0;
}
///@}
/// TRig::Draw: the rig's image at its mass in world space. Returns 0.
inline int RigDraw(const TRigRef& r)
{
    if (r)
        r->Draw();
    return 0;
}

} // namespace ravel
