// physics/api/PhysicsApi.h: free forms of the world's functions, Physics<Op> for TPhysics::<Op>.
#pragma once
#include "physics/TPhysics.h"
#include "platform/TImage.h"

#include <vector>

namespace ravel
{

// Creators and queries return what the function returns; every other form returns 0, out-parameters
// still filled. With no current world each function already does nothing, so no form checks for one.

/// TPhysics::Create: makes a new, empty world the current one and returns it. Note the order:
/// vertical gravity, then horizontal (world units per step squared).
inline TPhysicsRef PhysicsCreate(float maxX, float maxY, float gravY, float gravX, int iterations)
{
    return TPhysics::Create(maxX, maxY, gravY, gravX, iterations);
}
/// TPhysics::Update: one simulation step. Returns 0.
inline int PhysicsUpdate()
{
    TPhysics::Update();
    return 0;
}
/// TPhysics::Free: drops the current world and its registries. Returns 0.
inline int PhysicsFree()
{
    TPhysics::Free();
    return 0;
}
/// TPhysics::SetGravity: gravity (x, y) in world units per step squared, +y down. Returns 0.
inline int PhysicsSetGravity(float x, float y)
{
    TPhysics::SetGravity(x, y);
    return 0;
}
/// TPhysics::SetIterations: relaxation passes per step, unclamped. Returns 0.
inline int PhysicsSetIterations(int n)
{
    TPhysics::SetIterations(n);
    return 0;
}
/// TPhysics::SetBounds: the world rectangle, corners in any order. Returns 0.
inline int PhysicsSetBounds(float x1, float y1, float x2, float y2)
{
    TPhysics::SetBounds(x1, y1, x2, y2);
    return 0;
}
/// TPhysics::GetBounds: writes the minimum, then the maximum corner (zeros without a world). Returns 0.
inline int PhysicsGetBounds(float& minX, float& minY, float& maxX, float& maxY)
{
    TPhysics::GetBounds(minX, minY, maxX, maxY);
    return 0;
}
/// TPhysics::SetFriction: wall friction, unclamped. Returns 0.
inline int PhysicsSetFriction(float f)
{
    TPhysics::SetFriction(f);
    return 0;
}
/// TPhysics::UseShiftedGrid: 1 finds mass pairs through the grid, 0 tests every pair. Returns 0.
inline int PhysicsUseShiftedGrid(int flag)
{
    TPhysics::UseShiftedGrid(flag);
    return 0;
}
/// TPhysics::SetGridSize: cells per side, clamped to [8, 64]. Returns 0.
inline int PhysicsSetGridSize(int n)
{
    TPhysics::SetGridSize(n);
    return 0;
}

// The camera and world-space drawing.
/// TPhysics::SetDrawCoords: the world point at the screen centre. Returns 0.
inline int PhysicsSetDrawCoords(float x, float y)
{
    TPhysics::SetDrawCoords(x, y);
    return 0;
}
/// TPhysics::SetDrawZoom: screen pixels per world unit, not 0. Returns 0.
inline int PhysicsSetDrawZoom(float zoom)
{
    TPhysics::SetDrawZoom(zoom);
    return 0;
}
/// TPhysics::SetDrawRotation: camera rotation, degrees. Returns 0.
inline int PhysicsSetDrawRotation(float degrees)
{
    TPhysics::SetDrawRotation(degrees);
    return 0;
}
/// TPhysics::UpdateTransform: recomputes the camera after a change of display mode. Returns 0.
inline int PhysicsUpdateTransform()
{
    TPhysics::UpdateTransform();
    return 0;
}
///@{
/// TPhysics::MouseX, TPhysics::MouseY: world coordinates under the pointer.
inline float PhysicsMouseX()
{
    return TPhysics::MouseX();
}
inline float PhysicsMouseY()
{
    return TPhysics::MouseY();
}
///@}
///@{
/// TPhysics::SimX, TPhysics::SimY: screen pixel to world coordinates.
inline float PhysicsSimX(float sx, float sy)
{
    return TPhysics::SimX(sx, sy);
}
inline float PhysicsSimY(float sx, float sy)
{
    return TPhysics::SimY(sx, sy);
}
///@}
/// TPhysics::DrawImage: an image frame with its handle at a world point. Returns 0.
inline int PhysicsDrawImage(const TImageRef& image, float x, float y, int frame)
{
    TPhysics::DrawImage(image, x, y, frame);
    return 0;
}
/// TPhysics::DrawPoly: a filled polygon, vertices relative to a world point. Returns 0.
inline int PhysicsDrawPoly(const std::vector<float>& xy, float x, float y)
{
    TPhysics::DrawPoly(xy, x, y);
    return 0;
}
/// TPhysics::DrawLine: a line between two world points. Returns 0.
inline int PhysicsDrawLine(float x1, float y1, float x2, float y2)
{
    TPhysics::DrawLine(x1, y1, x2, y2);
    return 0;
}
/// TPhysics::DrawOval: a filled ellipse in a world box at (x, y) of size w x h. Returns 0.
inline int PhysicsDrawOval(float x, float y, float w, float h)
{
    TPhysics::DrawOval(x, y, w, h);
    return 0;
}
/// TPhysics::DrawRect: a filled rectangle, placed like DrawOval. Returns 0.
inline int PhysicsDrawRect(float x, float y, float w, float h)
{
    TPhysics::DrawRect(x, y, w, h);
    return 0;
}
///@{
/// TPhysics::ScreenX, TPhysics::ScreenY: world point to screen pixel.
inline float PhysicsScreenX(float x, float y)
{
    return TPhysics::ScreenX(x, y);
}
inline float PhysicsScreenY(float x, float y)
{
    return TPhysics::ScreenY(x, y);
}
///@}

} // namespace ravel
