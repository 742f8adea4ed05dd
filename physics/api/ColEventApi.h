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

inline TColEventRef ColEventCreate(const TMassRef& obj1, const TObjectRef& obj2, float x, float y,
                                   float force)
{
    return TColEvent::Create(obj1, obj2, x, y, force);
}
inline int ColEventSetMode(int mode)
{
    TColEvent::SetMode(mode);
    return 0;
}
inline int ColEventEmit(const TColEventRef& event)
{
    TColEvent::Emit(event);
    return 0;
}
inline int ColEventPost(const TColEventRef& event, int mode)
{
    TColEvent::Post(event, mode);
    return 0;
}
inline TColEventRef ColEventPoll()
{
    return TColEvent::Poll();
}
inline TColEventRef ColEventPeek()
{
    return TColEvent::Peek();
}
inline TColEventRef ColEventSeek(const TObjectRef& a, const TObjectRef& b)
{
    return TColEvent::Seek(a, b);
}
inline int ColEventFlush()
{
    TColEvent::Flush();
    return 0;
}
inline TColEventRef ColEventGetCurrent()
{
    return TColEvent::GetCurrent();
}

inline int ColEventGetID(const TColEventRef& e)
{
    return e ? e->GetID() : 0;
}
inline TMassRef ColEventGetMass1(const TColEventRef& e)
{
    return e ? e->GetMass1() : nullptr;
}
inline TMassRef ColEventGetMass2(const TColEventRef& e)
{
    return e ? e->GetMass2() : nullptr;
}
inline TZoneRef ColEventGetZone(const TColEventRef& e)
{
    return e ? e->GetZone() : nullptr;
}
inline float ColEventGetX(const TColEventRef& e)
{
    return e ? e->GetX() : 0.0f;
}
inline float ColEventGetY(const TColEventRef& e)
{
    return e ? e->GetY() : 0.0f;
}
inline float ColEventGetForce(const TColEventRef& e)
{
    return e ? e->GetForce() : 0.0f;
}

} // namespace ravel
