// physics/detail/ZoneStage.h: how the step reaches the zones without depending on their code.
#pragma once
#include "physics/Refs.h"

namespace ravel::detail
{

/// Collides one mass with one zone of zoneList: applies the group rule (both groups non-zero and
/// different, the zone's integer group compared as a float) and, if it admits the pair, runs the
/// zone's Collide. The step calls it for every zone in list order for every non-frozen mass, every
/// pass; null (the default, before any zone code is linked) skips the stage.
using ZoneCollideFn = void (*)(TZone& zone, TMass& mass);
extern ZoneCollideFn zoneCollide;

/// The group rule shared by mass-mass and mass-zone pairs.
inline bool GroupsCollide(float a, float b)
{
    return a != 0.0f && b != 0.0f && a != b;
}

} // namespace ravel::detail
