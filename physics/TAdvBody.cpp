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
