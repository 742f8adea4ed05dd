// physics/api/PhysicsApi.h: free forms of the world's functions, Physics<Op> for TPhysics::<Op>.
#pragma once
#include "physics/TPhysics.h"
#include "platform/TImage.h"

#include <vector>

namespace ravel
{

// Creators and queries return what the function returns; every other form returns 0, out-parameters
// still filled. With no current world each function already does nothing, so no form checks for one.

inline TPhysicsRef PhysicsCreate(float maxX, float maxY, float gravY, float gravX, int iterations)
{
    return TPhysics::Create(maxX, maxY, gravY, gravX, iterations);
}
inline int PhysicsUpdate()
{
    TPhysics::Update();
    return 0;
}
inline int PhysicsFree()
{
    TPhysics::Free();
    return 0;
}
inline int PhysicsSetGravity(float x, float y)
{
    TPhysics::SetGravity(x, y);
    return 0;
}
inline int PhysicsSetIterations(int n)
{
    TPhysics::SetIterations(n);
    return 0;
}
inline int PhysicsSetBounds(float x1, float y1, float x2, float y2)
{
    TPhysics::SetBounds(x1, y1, x2, y2);
    return 0;
}
inline int PhysicsGetBounds(float& minX, float& minY, float& maxX, float& maxY)
{
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    return 0;
}
inline int PhysicsSetFriction(float f)
{
    TPhysics::SetFriction(f);
    return 0;
}
inline int PhysicsUseShiftedGrid(int flag)
{
    TPhysics::UseShiftedGrid(flag);
    return 0;
}
inline int PhysicsSetGridSize(int n)
{
    TPhysics::SetGridSize(n);
    return 0;
}

// The camera and world-space drawing.
inline int PhysicsSetDrawCoords(float x, float y)
{
    TPhysics::SetDrawCoords(x, y);
    return 0;
}
inline int PhysicsSetDrawZoom(float zoom)
{
    TPhysics::SetDrawZoom(zoom);
    return 0;
}
inline int PhysicsSetDrawRotation(float degrees)
{
    TPhysics::SetDrawRotation(degrees);
    return 0;
}
inline int PhysicsUpdateTransform()
{
    TPhysics::UpdateTransform();
    return 0;
}
inline float PhysicsMouseX()
{
    return TPhysics::MouseX();
}
inline float PhysicsMouseY()
{
    return TPhysics::MouseY();
}
inline float PhysicsSimX(float sx, float sy)
{
    return TPhysics::SimX(sx, sy);
}
inline float PhysicsSimY(float sx, float sy)
{
    return TPhysics::SimY(sx, sy);
}
inline int PhysicsDrawImage(const TImageRef& image, float x, float y, int frame)
{
    TPhysics::DrawImage(image, x, y, frame);
    return 0;
}
inline int PhysicsDrawPoly(const std::vector<float>& xy, float x, float y)
{
    TPhysics::DrawPoly(xy, x, y);
    return 0;
}
inline int PhysicsDrawLine(float x1, float y1, float x2, float y2)
{
    TPhysics::DrawLine(x1, y1, x2, y2);
    return 0;
}
inline int PhysicsDrawOval(float x, float y, float w, float h)
{
    TPhysics::DrawOval(x, y, w, h);
    return 0;
}
inline int PhysicsDrawRect(float x, float y, float w, float h)
{
    TPhysics::DrawRect(x, y, w, h);
    return 0;
}
inline float PhysicsScreenX(float x, float y)
{
    return TPhysics::ScreenX(x, y);
}
inline float PhysicsScreenY(float x, float y)
{
    return TPhysics::ScreenY(x, y);
}

} // namespace ravel
