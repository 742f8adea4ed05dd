// physics/api/ColEventApi.h: free forms of the event queue and event accessors, ColEvent<Op> for
// TColEvent::<Op>.
#pragma once
#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TZone.h"

namespace ravel
{

// The queue functions take their arguments unchanged. The accessors take the event first; a null event
// gives 0, 0.0 or null.

/// TColEvent::Create: a new, unqueued event (never null); its kind follows from obj2.
inline TColEventRef ColEventCreate(const TMassRef& obj1, const TObjectRef& obj2, float x, float y,
                                   float force)
{
    return TColEvent::Create(obj1, obj2, x, y, force);
}
/// TColEvent::SetMode: MODE_DISCARD, MODE_UPDATE or MODE_REPLACE. Returns 0.
inline int ColEventSetMode(int mode)
{
    TColEvent::SetMode(mode);
    return 0;
}
/// TColEvent::Emit: runs the hooks, then queues the result in the queue's mode. Returns 0.
inline int ColEventEmit(const TColEventRef& event)
{
    TColEvent::Emit(event);
    return 0;
}
/// TColEvent::Post: queues the event, or merges it into its pair's, in the given mode. Returns 0.
inline int ColEventPost(const TColEventRef& event, int mode)
{
    TColEvent::Post(event, mode);
    return 0;
}
/// TColEvent::Poll: removes and returns the oldest queued event; null when the queue is empty.
inline TColEventRef ColEventPoll()
{
    return TColEvent::Poll();
}
/// TColEvent::Peek: the oldest queued event, left in place; null when the queue is empty.
inline TColEventRef ColEventPeek()
{
    return TColEvent::Peek();
}
/// TColEvent::Seek: the event of the pair (a, b) in either order, null b for the world; null
/// when the pair has none.
inline TColEventRef ColEventSeek(const TObjectRef& a, const TObjectRef& b)
{
    return TColEvent::Seek(a, b);
}
/// TColEvent::Flush: empties the queue. Returns 0.
inline int ColEventFlush()
{
    TColEvent::Flush();
    return 0;
}
/// TColEvent::GetCurrent: the event the last Poll returned, or null.
inline TColEventRef ColEventGetCurrent()
{
    return TColEvent::GetCurrent();
}

/// TColEvent::GetID: MASS_MASS, MASS_ZONE, MASS_BOUNDS or MASS_CUSTOM; 0 for a null event.
inline int ColEventGetID(const TColEventRef& e)
{
    return e ? e->GetID() : 0;
}
/// TColEvent::GetMass1: the mass that collided; null for a null event.
inline TMassRef ColEventGetMass1(const TColEventRef& e)
{
    return e ? e->GetMass1() : nullptr;
}
/// TColEvent::GetMass2: the other mass of a mass-mass event, else null.
inline TMassRef ColEventGetMass2(const TColEventRef& e)
{
    return e ? e->GetMass2() : nullptr;
}
/// TColEvent::GetZone: the zone of a mass-zone event, else null.
inline TZoneRef ColEventGetZone(const TColEventRef& e)
{
    return e ? e->GetZone() : nullptr;
}
///@{
/// TColEvent::GetX, TColEvent::GetY: the contact point, world units; 0 for a null event.
inline float ColEventGetX(const TColEventRef& e)
{
    return e ? e->GetX() : 0.0f;
}
inline float ColEventGetY(const TColEventRef& e)
{
    return e ? e->GetY() : 0.0f;
}
///@}
/// TColEvent::GetForce: the penetration depth, world units; 0 for a null event.
inline float ColEventGetForce(const TColEventRef& e)
{
    return e ? e->GetForce() : 0.0f;
}

} // namespace ravel
