// physics/api/ZoneApi.h: free forms of the zone operations a program drives, Zone<Op> for TZone::<Op>.
#pragma once
#include "physics/TZone.h"
#include "platform/TImage.h"

#include <string>
#include <utility>
#include <vector>

namespace ravel
{

// The zone comes first. A null zone does nothing and gives 0, 0.0, an empty array or null. Editing a
// zone's vertices, style, looks and files goes through its methods.

/// TZone::Create: a new registered zone; null for fewer than 4 floats or an odd count.
inline TZoneRef ZoneCreate(std::vector<float> area, int style, float friction, int colGroup, int qtLevel)
{
    return TZone::Create(std::move(area), style, friction, colGroup, qtLevel);
}
/// TZone::Load: reads and registers a zone file; null when it cannot be read.
inline TZoneRef ZoneLoad(const std::string& path)
{
    return TZone::Load(path);
}
/// TZone::SetFriction: clamped to [0, 1]. Returns 0.
inline int ZoneSetFriction(const TZoneRef& z, float value)
{
    if (z)
        z->SetFriction(value);
    return 0;
}
///@{
/// TZone::Position, TZone::Move: place or move the zone's origin, world units. Each returns 0.
inline int ZonePosition(const TZoneRef& z, float x, float y)
{
    if (z)
        z->Position(x, y);
    return 0;
}
inline int ZoneMove(const TZoneRef& z, float dx, float dy)
{
    if (z)
        z->Move(dx, dy);
    return 0;
}
///@}
///@{
/// TZone::Rotate, TZone::Turn: set or add to the rotation, degrees. Each returns 0.
inline int ZoneRotate(const TZoneRef& z, float degrees)
{
    if (z)
        z->Rotate(degrees);
    return 0;
}
inline int ZoneTurn(const TZoneRef& z, float degrees)
{
    if (z)
        z->Turn(degrees);
    return 0;
}
///@}
/// TZone::CalcQuadTree: rebuilds the quadtree with the given number of levels. Returns 0.
inline int ZoneCalcQuadTree(const TZoneRef& z, int level)
{
    if (z)
        z->CalcQuadTree(level);
    return 0;
}
/// TZone::GetArea: the scaled and rotated vertices; empty for a null zone.
inline std::vector<float> ZoneGetArea(const TZoneRef& z)
{
    return z ? z->GetArea() : std::vector<float>();
}
///@{
/// TZone::GetPositionX, TZone::GetPositionY: the origin, world units; 0 for a null zone.
inline float ZoneGetPositionX(const TZoneRef& z)
{
    return z ? z->GetPositionX() : 0.0f;
}
inline float ZoneGetPositionY(const TZoneRef& z)
{
    return z ? z->GetPositionY() : 0.0f;
}
///@}
///@{
/// TZone::SetColGroup (-1 takes a fresh group), TZone::GetColGroup; 0 for a null zone.
/// ZoneSetColGroup returns 0.
inline int ZoneSetColGroup(const TZoneRef& z, int group)
{
    if (z)
        z->SetColGroup(group);
    return 0;
}
inline int ZoneGetColGroup(const TZoneRef& z)
{
    return z ? z->GetColGroup() : 0;
}
///@}
/// TZone::Free: takes the zone out of the simulation. Returns 0.
inline int ZoneFree(const TZoneRef& z)
{
    if (z)
        z->Free();
    return 0;
}
/// TZone::ImageSet: the picture drawn instead of the outline; null for none. Returns 0.
inline int ZoneImageSet(const TZoneRef& z, const TImageRef& picture)
{
    if (z)
        z->ImageSet(picture);
    return 0;
}
/// TZone::Draw: the picture or the outline in world space. Returns 0.
inline int ZoneDraw(const TZoneRef& z)
{
    if (z)
        z->Draw();
    return 0;
}
/// TZone::DrawQuadTree: the quadtree's leaves, filled for mode != 0. Returns 0.
inline int ZoneDrawQuadTree(const TZoneRef& z, int mode)
{
    if (z)
        z->DrawQuadTree(mode);
    return 0;
}
/// TZone::OverrideCollision: installs a collision response; an empty one restores
/// TZone::ColDefault. Returns 0.
inline int ZoneOverrideCollision(const TZoneRef& z, TZoneResponse response)
{
    if (z)
        z->OverrideCollision(std::move(response));
    return 0;
}

} // namespace ravel
