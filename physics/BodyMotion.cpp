// physics/BodyMotion.cpp: the indexed body as a whole: motion about its reference mass, the collision
// queries over the last step's events, and drawing.
#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"

#include <cmath>
#include <utility>

namespace ravel
{

int TAdvBody::Draw()
{
    for (int i = 0; i < rIndex; ++i)
        RigDraw(i);
    return 0;
}

int TAdvBody::ReferenceSlot() const
{
    for (int i = 0; i < mIndex; ++i)
        if (mArray[static_cast<std::size_t>(i)])
            return i;
    return -1;
}

int TAdvBody::Move(float dx, float dy)
{
    for (int i = 0; i < mIndex; ++i)
        MassMove(i, dx, dy);
    return 0;
}

int TAdvBody::Translate(float dx, float dy)
{
    for (int i = 0; i < mIndex; ++i)
        MassTranslate(i, dx, dy);
    return 0;
}

int TAdvBody::Position(float x, float y)
{
    int ref = ReferenceSlot();
    if (ref < 0)
        return 0;
    float ax = MassAt(ref)->posX;
    float ay = MassAt(ref)->posY;
    for (int j = ref; j < mIndex; ++j)
        if (TMass* m = MassAt(j))
        {
            float nx = (x + m->posX) - ax;
            float ny = (y + m->posY) - ay;
            m->Position(nx, ny);
        }
    return 0;
}

int TAdvBody::GetPosition(float& x, float& y) const
{
    int ref = ReferenceSlot();
    if (ref >= 0)
        MassAt(ref)->GetPosition(x, y);
    return 0;
}

float TAdvBody::GetX() const
{
    int ref = ReferenceSlot();
    return ref >= 0 ? MassAt(ref)->posX : 0.0f;
}

float TAdvBody::GetY() const
{
    int ref = ReferenceSlot();
    return ref >= 0 ? MassAt(ref)->posY : 0.0f;
}

float TAdvBody::GetRotation() const
{
    for (int i = 0; i < cIndex; ++i)
        if (TConstraint* c = ConAt(i))
            return c->GetAngle();
    return 0.0f;
}

int TAdvBody::Rotate(float degrees)
{
    int ref = ReferenceSlot();
    if (ref < 0)
        return 0;
    float r = GetRotation();
    float px = MassAt(ref)->posX;
    float py = MassAt(ref)->posY;
    for (int j = ref; j < mIndex; ++j)
        if (TMass* m = MassAt(j))
        {
            float dx = m->posX - px;
            float dy = m->posY - py;
            float d = std::sqrt(dx * dx + dy * dy);
            float b = Atan2Deg(dy, dx);
            float a = b - r + degrees;
            m->Position(px + CosDeg(a) * d, py + SinDeg(a) * d);
        }
    return 0;
}

int TAdvBody::TurnBy(float degrees, bool asMotion)
{
    int ref = ReferenceSlot();
    if (ref < 0)
        return 0;
    float px = MassAt(ref)->posX;
    float py = MassAt(ref)->posY;
    for (int j = ref; j < mIndex; ++j)
        if (TMass* m = MassAt(j))
        {
            float dx = m->posX - px;
            float dy = m->posY - py;
            float d = std::sqrt(dx * dx + dy * dy);
            float a = Atan2Deg(dy, dx) + degrees;
            float sx = CosDeg(a) * d - dx;
            float sy = SinDeg(a) * d - dy;
            if (asMotion)
                m->Move(sx, sy);
            else
                m->Translate(sx, sy);
        }
    return 0;
}

int TAdvBody::Spin(float degrees)
{
    return TurnBy(degrees, true);
}

int TAdvBody::Turn(float degrees)
{
    return TurnBy(degrees, false);
}

// Collision queries.

namespace
{

// Appends the queued event of the pair, if there is one, creating the list on the first event.
inline void AppendSeek(TListRef<TColEventRef>& list, const TObjectRef& a, const TObjectRef& b)
{
    TColEventRef e = TColEvent::Seek(a, b);
    if (!e)
        return;
    if (!list)
        list = std::make_shared<TList<TColEventRef>>();
    list->AddLast(std::move(e));
}

} // namespace

TListRef<TColEventRef> TAdvBody::CollideAdvBody(const TAdvBodyRef& other) const
{
    TListRef<TColEventRef> list;
    if (!other)
        return list;
    for (int i = 0; i < mIndex; ++i)
    {
        const TMassRef& a = mArray[static_cast<std::size_t>(i)];
        if (!a)
            continue;
        for (int j = 0; j < other->mIndex; ++j)
            if (const TMassRef& b = other->mArray[static_cast<std::size_t>(j)])
                AppendSeek(list, a, b);
    }
    return list;
}

TListRef<TColEventRef> TAdvBody::CollideZone(const TZoneRef& zone) const
{
    TListRef<TColEventRef> list;
    if (!zone)
        return list;
    for (int i = 0; i < mIndex; ++i)
        if (const TMassRef& a = mArray[static_cast<std::size_t>(i)])
            AppendSeek(list, a, zone);
    return list;
}

TListRef<TColEventRef> TAdvBody::CollideBounds() const
{
    TListRef<TColEventRef> list;
    for (int i = 0; i < mIndex; ++i)
        if (const TMassRef& a = mArray[static_cast<std::size_t>(i)])
            AppendSeek(list, a, nullptr);
    return list;
}

} // namespace ravel
