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

inline TZoneRef ZoneCreate(std::vector<float> area, int style, float friction, int colGroup, int qtLevel)
{
    return TZone::Create(std::move(area), style, friction, colGroup, qtLevel);
}
inline TZoneRef ZoneLoad(const std::string& path)
{
    return TZone::Load(path);
}
inline int ZoneSetFriction(const TZoneRef& z, float value)
{
    if (z)
        z->SetFriction(value);
    return 0;
}
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
inline int ZoneCalcQuadTree(const TZoneRef& z, int level)
{
    if (z)
        z->CalcQuadTree(level);
    return 0;
}
inline std::vector<float> ZoneGetArea(const TZoneRef& z)
{
    return z ? z->GetArea() : std::vector<float>();
}
inline float ZoneGetPositionX(const TZoneRef& z)
{
    return z ? z->GetPositionX() : 0.0f;
}
inline float ZoneGetPositionY(const TZoneRef& z)
{
    return z ? z->GetPositionY() : 0.0f;
}
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
inline int ZoneFree(const TZoneRef& z)
{
    if (z)
        z->Free();
    return 0;
}
inline int ZoneImageSet(const TZoneRef& z, const TImageRef& picture)
{
    if (z)
        z->ImageSet(picture);
    return 0;
}
inline int ZoneDraw(const TZoneRef& z)
{
    if (z)
        z->Draw();
    return 0;
}
inline int ZoneDrawQuadTree(const TZoneRef& z, int mode)
{
    if (z)
        z->DrawQuadTree(mode);
    return 0;
}
inline int ZoneOverrideCollision(const TZoneRef& z, TZoneResponse response)
{
    if (z)
        z->OverrideCollision(std::move(response));
    return 0;
}

} // namespace ravel
