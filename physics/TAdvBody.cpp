// physics/TAdvBody.cpp: the slot tables of indexed bodies, whole-body motion, collision queries, drawing.
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

namespace
{

// Takes the next slot of a table: raises the count and grows the capacity to twice the new count when
// it no longer fits. Returns the new slot.
template <class T> int TakeSlot(int& count, std::vector<T>& array)
{
    ++count;
    if (array.size() < static_cast<std::size_t>(count))
        array.resize(static_cast<std::size_t>(count) * 2);
    return count - 1;
}

inline bool InTable(int slot, int count)
{
    return slot >= 0 && slot < count;
}

// The lookups, swap and compaction every slot table shares, over its array and its count.

template <class T> using TSlots = std::vector<std::shared_ptr<T>>;

// Masses and constraints carry their slot in `index`; rigs and images do not.
template <class T>
concept CarriesSlot = requires(T& element)
{
    element.index = 0;
};
static_assert(CarriesSlot<TMass> && CarriesSlot<TConstraint> && !CarriesSlot<TRig> && !CarriesSlot<TImage>);

// The element in a slot; null for an empty slot or one outside the count.
template <class T> T* SlotAt(const TSlots<T>& array, int count, int slot)
{
    return InTable(slot, count) ? array[static_cast<std::size_t>(slot)].get() : nullptr;
}

template <class T> std::shared_ptr<T> SlotGet(const TSlots<T>& array, int count, int slot)
{
    return InTable(slot, count) ? array[static_cast<std::size_t>(slot)] : nullptr;
}

template <class T> int SlotExists(const TSlots<T>& array, int count, int slot)
{
    return SlotAt(array, count, slot) ? 1 : 0;
}

// Exchanges two slots within the count, then tells the elements that carry their slot where they are
// now; nothing when either slot is outside the count. Returns 0.
template <class T> int SwapSlots(TSlots<T>& array, int count, int a, int b)
{
    if (!InTable(a, count) || !InTable(b, count))
        return 0;
    std::swap(array[static_cast<std::size_t>(a)], array[static_cast<std::size_t>(b)]);
    if constexpr (CarriesSlot<T>)
    {
        if (T* element = SlotAt(array, count, a))
            element->index = a;
        if (T* element = SlotAt(array, count, b))
            element->index = b;
    }
    return 0;
}

// Moves the live elements to slots 0..k-1, keeping their order, and sets the count to k. Returns 0.
template <class T> int CleanSlots(TSlots<T>& array, int& count)
{
    int k = 0;
    for (int j = 0; j < count; ++j)
        if (array[static_cast<std::size_t>(j)])
            SwapSlots(array, count, k++, j);
    count = k;
    return 0;
}

} // namespace

TAdvBody::TAdvBody() = default;

TAdvBody::~TAdvBody() = default;

TMass* TAdvBody::MassAt(int slot) const
{
    return SlotAt(mArray, mIndex, slot);
}

TConstraint* TAdvBody::ConAt(int slot) const
{
    return SlotAt(cArray, cIndex, slot);
}

TRig* TAdvBody::RigAt(int slot) const
{
    return SlotAt(rArray, rIndex, slot);
}

int TAdvBody::CleanIndex()
{
    MassCleanIndex();
    ConCleanIndex();
    RigCleanIndex();
    ImageCleanIndex();
    return 0;
}

int TAdvBody::Activate()
{
    for (int i = 0; i < cIndex; ++i)
        ConAssign(i);
    return 0;
}

int TAdvBody::DeActivate()
{
    for (int i = 0; i < cIndex; ++i)
        ConFree(i);
    return 0;
}

int TAdvBody::Draw()
{
    for (int i = 0; i < rIndex; ++i)
        RigDraw(i);
    return 0;
}

// Whole-body motion.

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

// Masses.

int TAdvBody::MassAdd(float x, float y, float mass, float radius, float friction, int colGroup)
{
    TMassRef m = TMass::Create(x, y, mass, radius, friction, colGroup);
    if (!m)
        return -1;
    int slot = TakeSlot(mIndex, mArray);
    m->index = slot;
    mArray[static_cast<std::size_t>(slot)] = std::move(m);
    return slot;
}

int TAdvBody::MassRemove(int slot)
{
    TMass* m = MassAt(slot);
    if (!m)
        return 0;
    // Keep the mass alive while its dependants go: they may hold the last references to it.
    TMassRef keep = mArray[static_cast<std::size_t>(slot)];
    for (int r = 0; r < rIndex; ++r)
        if (TRig* rig = RigAt(r); rig && rig->mass.get() == m)
            RigRemove(r);
    for (int c = 0; c < cIndex; ++c)
        if (TConstraint* con = ConAt(c); con && (con->m[0].get() == m || con->m[1].get() == m))
            ConRemove(c);
    mArray[static_cast<std::size_t>(slot)] = nullptr;
    return 0;
}

int TAdvBody::MassSwapIndex(int a, int b)
{
    return SwapSlots(mArray, mIndex, a, b);
}

int TAdvBody::MassCleanIndex()
{
    return CleanSlots(mArray, mIndex);
}

int TAdvBody::MassExists(int slot) const
{
    return SlotExists(mArray, mIndex, slot);
}

TMassRef TAdvBody::MassGet(int slot) const
{
    return SlotGet(mArray, mIndex, slot);
}

// The per-mass forwarders: nothing is called on an empty slot, and the family's neutral value is
// returned instead.
#define RAVEL_MASS_SET(Name, Params, Args)                                                                   \
    int TAdvBody::Mass##Name Params                                                                          \
    {                                                                                                        \
        if (TMass* m = MassAt(slot))                                                                         \
            m->Name Args;                                                                                    \
        return 0;                                                                                            \
    }
#define RAVEL_MASS_GET(Type, Name, Neutral)                                                                  \
    Type TAdvBody::Mass##Name(int slot) const                                                                \
    {                                                                                                        \
        TMass* m = MassAt(slot);                                                                             \
        return m ? m->Name() : Neutral;                                                                      \
    }

RAVEL_MASS_SET(SetName, (int slot, const std::string& n), (n))
RAVEL_MASS_GET(std::string, GetName, std::string())
RAVEL_MASS_SET(Move, (int slot, float dx, float dy), (dx, dy))
RAVEL_MASS_SET(Translate, (int slot, float dx, float dy), (dx, dy))
RAVEL_MASS_SET(Position, (int slot, float x, float y), (x, y))
RAVEL_MASS_GET(float, GetPositionX, 0.0f)
RAVEL_MASS_GET(float, GetPositionY, 0.0f)

int TAdvBody::MassGetPosition(int slot, float& x, float& y) const
{
    if (TMass* m = MassAt(slot))
        m->GetPosition(x, y);
    return 0;
}

RAVEL_MASS_GET(float, GetX, 0.0f)
RAVEL_MASS_GET(float, GetY, 0.0f)
RAVEL_MASS_SET(SetMass, (int slot, float v), (v))
RAVEL_MASS_GET(float, GetMass, 0.0f)
RAVEL_MASS_SET(SetRadius, (int slot, float v), (v))
RAVEL_MASS_GET(float, GetRadius, 0.0f)
RAVEL_MASS_SET(SetFriction, (int slot, float v), (v))
RAVEL_MASS_GET(float, GetFriction, 0.0f)
RAVEL_MASS_SET(Freeze, (int slot), ())
RAVEL_MASS_SET(Thaw, (int slot), ())
RAVEL_MASS_GET(int, IsFrozen, 0)
RAVEL_MASS_SET(SetVelocity, (int slot, float vx, float vy), (vx, vy))
RAVEL_MASS_SET(AddVelocity, (int slot, float vx, float vy), (vx, vy))
RAVEL_MASS_GET(float, GetVelocityX, 0.0f)
RAVEL_MASS_GET(float, GetVelocityY, 0.0f)
RAVEL_MASS_GET(float, GetVX, 0.0f)
RAVEL_MASS_GET(float, GetVY, 0.0f)
RAVEL_MASS_GET(float, GetVelocity, 0.0f)
RAVEL_MASS_GET(int, GetColGroup, 0)
RAVEL_MASS_SET(SetColGroup, (int slot, int group), (group))
RAVEL_MASS_GET(int, IsActive, 0)

int TAdvBody::MassDraw(int slot) const
{
    if (TMass* m = MassAt(slot))
        m->Draw();
    return 0;
}

#undef RAVEL_MASS_SET
#undef RAVEL_MASS_GET

int TAdvBody::MassDrawAll() const
{
    for (int i = 0; i < mIndex; ++i)
        MassDraw(i);
    return 0;
}

// Constraints.

int TAdvBody::ConAddAll(float stiffness)
{
    int n = mIndex;
    for (int i = 0; i < n; ++i)
        for (int j = i; j < n; ++j)
            ConAdd(i, j, -1.0f, stiffness);
    return 0;
}

int TAdvBody::ConAdd(int mass1, int mass2, float restLength, float stiffness)
{
    if (mass1 == mass2 || !MassAt(mass1) || !MassAt(mass2))
        return -1;
    TConstraintRef c = TConstraint::Create(MassGet(mass1), MassGet(mass2), restLength, stiffness);
    if (!c)
        return -1;
    int slot = TakeSlot(cIndex, cArray);
    c->index = slot;
    cArray[static_cast<std::size_t>(slot)] = std::move(c);
    return slot;
}

int TAdvBody::ConRemove(int slot)
{
    TConstraint* c = ConAt(slot);
    if (!c)
        return 0;
    TConstraintRef keep = cArray[static_cast<std::size_t>(slot)];
    for (int r = 0; r < rIndex; ++r)
        if (TRig* rig = RigAt(r); rig && rig->con.get() == c)
            RigRemove(r);
    ConFree(slot);
    cArray[static_cast<std::size_t>(slot)] = nullptr;
    return 0;
}

int TAdvBody::ConSwapIndex(int a, int b)
{
    return SwapSlots(cArray, cIndex, a, b);
}

int TAdvBody::ConCleanIndex()
{
    return CleanSlots(cArray, cIndex);
}

int TAdvBody::ConExists(int slot) const
{
    return SlotExists(cArray, cIndex, slot);
}

TConstraintRef TAdvBody::ConGet(int slot) const
{
    return SlotGet(cArray, cIndex, slot);
}

int TAdvBody::ConSetName(int slot, const std::string& n)
{
    if (TConstraint* c = ConAt(slot))
        c->SetName(n);
    return 0;
}

std::string TAdvBody::ConGetName(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetName() : std::string();
}

int TAdvBody::ConAssign(int slot)
{
    if (TConstraint* c = ConAt(slot))
        c->Assign(*this);
    return 0;
}

int TAdvBody::ConFree(int slot)
{
    if (TConstraint* c = ConAt(slot))
        c->Free(*this);
    return 0;
}

int TAdvBody::ConGetMass1(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c && c->m[0] ? c->m[0]->index : 0;
}

int TAdvBody::ConGetMass2(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c && c->m[1] ? c->m[1]->index : 0;
}

int TAdvBody::ConSetRestLength(int slot, float length)
{
    if (TConstraint* c = ConAt(slot))
        c->SetRestLength(length);
    return 0;
}

float TAdvBody::ConGetRestLength(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetRestLength() : 0.0f;
}

int TAdvBody::ConSetStiffness(int slot, float s)
{
    if (TConstraint* c = ConAt(slot))
        c->SetStiffness(s);
    return 0;
}

float TAdvBody::ConGetStiffness(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetStiffness() : 0.0f;
}

float TAdvBody::ConGetAngle(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetAngle() : 0.0f;
}

float TAdvBody::ConGetLength(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetLength() : 0.0f;
}

float TAdvBody::ConGetStress(int slot) const
{
    TConstraint* c = ConAt(slot);
    return c ? c->GetStress() : 0.0f;
}

int TAdvBody::ConDraw(int slot) const
{
    if (TConstraint* c = ConAt(slot))
        c->Draw();
    return 0;
}

int TAdvBody::ConDrawAll() const
{
    for (int i = 0; i < cIndex; ++i)
        ConDraw(i);
    return 0;
}

// Rigs.

int TAdvBody::RigAdd(int image, int mass, int con, float angle)
{
    if (!ImageGet(image) || !MassAt(mass))
        return -1;
    TConstraintRef c = con < 0 ? nullptr : ConGet(con);
    TRigRef rig = TRig::Create(ImageGet(image), MassGet(mass), c, angle);
    int slot = TakeSlot(rIndex, rArray);
    rArray[static_cast<std::size_t>(slot)] = std::move(rig);
    return slot;
}

int TAdvBody::RigRemove(int slot)
{
    if (InTable(slot, rIndex))
        rArray[static_cast<std::size_t>(slot)] = nullptr;
    return 0;
}

int TAdvBody::RigSwapIndex(int a, int b)
{
    return SwapSlots(rArray, rIndex, a, b);
}

int TAdvBody::RigCleanIndex()
{
    return CleanSlots(rArray, rIndex);
}

int TAdvBody::RigExists(int slot) const
{
    return SlotExists(rArray, rIndex, slot);
}

TRigRef TAdvBody::RigGet(int slot) const
{
    return SlotGet(rArray, rIndex, slot);
}

int TAdvBody::RigSetName(int slot, const std::string& n)
{
    if (TRig* r = RigAt(slot))
        r->SetName(n);
    return 0;
}

std::string TAdvBody::RigGetName(int slot) const
{
    TRig* r = RigAt(slot);
    return r ? r->GetName() : std::string();
}

int TAdvBody::RigSetImage(int slot, int image)
{
    TRig* r = RigAt(slot);
    if (r && ImageGet(image))
        r->SetImage(ImageGet(image));
    return 0;
}

int TAdvBody::RigGetImage(int slot) const
{
    TRig* r = RigAt(slot);
    if (!r)
        return 0;
    for (int i = 0; i < iIndex; ++i)
        if (iArray[static_cast<std::size_t>(i)] && iArray[static_cast<std::size_t>(i)] == r->image)
            return i;
    return -1;
}

int TAdvBody::RigSetMass(int slot, int mass)
{
    TRig* r = RigAt(slot);
    if (r && MassAt(mass))
        r->SetMass(MassGet(mass));
    return 0;
}

int TAdvBody::RigGetMass(int slot) const
{
    TRig* r = RigAt(slot);
    return r && r->mass ? r->mass->index : 0;
}

int TAdvBody::RigSetConstraint(int slot, int con)
{
    if (TRig* r = RigAt(slot))
        r->SetConstraint(con == -1 ? nullptr : ConGet(con));
    return 0;
}

int TAdvBody::RigGetConstraint(int slot) const
{
    TRig* r = RigAt(slot);
    if (!r)
        return 0;
    return r->con ? r->con->index : -1;
}

int TAdvBody::RigSetAngle(int slot, float degrees)
{
    if (TRig* r = RigAt(slot))
        r->SetAngle(degrees);
    return 0;
}

float TAdvBody::RigGetAngle(int slot) const
{
    TRig* r = RigAt(slot);
    return r ? r->GetAngle() : 0.0f;
}

int TAdvBody::RigSetScale(int slot, float x, float y)
{
    if (TRig* r = RigAt(slot))
        r->SetScale(x, y);
    return 0;
}

int TAdvBody::RigGetScale(int slot, float& x, float& y) const
{
    if (TRig* r = RigAt(slot))
        r->GetScale(x, y);
    return 0;
}

int TAdvBody::RigSetColor(int slot, int red, int green, int blue)
{
    if (TRig* r = RigAt(slot))
        r->SetColor(red, green, blue);
    return 0;
}

int TAdvBody::RigGetColor(int slot, int& red, int& green, int& blue) const
{
    if (TRig* r = RigAt(slot))
        r->GetColor(red, green, blue);
    return 0;
}

int TAdvBody::RigSetAlpha(int slot, float a)
{
    if (TRig* r = RigAt(slot))
        r->SetAlpha(a);
    return 0;
}

float TAdvBody::RigGetAlpha(int slot) const
{
    TRig* r = RigAt(slot);
    return r ? r->GetAlpha() : 0.0f;
}

int TAdvBody::RigSetBlend(int slot, int mode)
{
    if (TRig* r = RigAt(slot))
        r->SetBlend(mode);
    return 0;
}

int TAdvBody::RigGetBlend(int slot) const
{
    TRig* r = RigAt(slot);
    return r ? r->GetBlend() : 0;
}

int TAdvBody::RigDraw(int slot) const
{
    if (TRig* r = RigAt(slot))
        r->Draw();
    return 0;
}

// Images.

int TAdvBody::ImageAdd(const TImageRef& image)
{
    if (!image)
        return -1;
    int slot = TakeSlot(iIndex, iArray);
    iArray[static_cast<std::size_t>(slot)] = image;
    return slot;
}

int TAdvBody::ImageAdd(const std::string& path)
{
    return ImageAdd(LoadImage(path, -1));
}

int TAdvBody::ImageAdd(TStream& stream)
{
    return ImageAdd(LoadImage(stream, -1));
}

int TAdvBody::ImageRemove(int slot)
{
    TImageRef image = ImageGet(slot);
    if (!image)
        return 0;
    for (int r = 0; r < rIndex; ++r)
        if (TRig* rig = RigAt(r); rig && rig->image == image)
            RigRemove(r);
    iArray[static_cast<std::size_t>(slot)] = nullptr;
    return 0;
}

int TAdvBody::ImageSwapIndex(int a, int b)
{
    return SwapSlots(iArray, iIndex, a, b);
}

int TAdvBody::ImageReplace(int slot, const TImageRef& image)
{
    // A slot beyond the count would hold an image no operation could reach, and Save would drop it.
    if (!image || !InTable(slot, iIndex))
        return 0;
    TImageRef old = iArray[static_cast<std::size_t>(slot)];
    if (old)
        for (int r = 0; r < rIndex; ++r)
            if (TRig* rig = RigAt(r); rig && rig->image == old)
                rig->SetImage(image);
    iArray[static_cast<std::size_t>(slot)] = image;
    return 1;
}

int TAdvBody::ImageReplace(int slot, const std::string& path)
{
    if (!InTable(slot, iIndex))
        return 0;
    return ImageReplace(slot, LoadImage(path, -1));
}

int TAdvBody::ImageReplace(int slot, TStream& stream)
{
    if (!InTable(slot, iIndex))
        return 0;
    return ImageReplace(slot, LoadImage(stream, -1));
}

int TAdvBody::ImageCleanIndex()
{
    return CleanSlots(iArray, iIndex);
}

int TAdvBody::ImageExists(int slot) const
{
    return SlotExists(iArray, iIndex, slot);
}

TImageRef TAdvBody::ImageGet(int slot) const
{
    return SlotGet(iArray, iIndex, slot);
}

} // namespace ravel
