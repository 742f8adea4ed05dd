// physics/TColEvent.cpp: the event queue, its pair index and the hook chain.
#include "physics/TColEvent.h"

#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "physics/detail/Internals.h"
#include "physics/detail/Pool.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Report.h"
#include "physics/detail/UserCode.h"
#include "platform/TList.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ravel
{
namespace
{

std::uintptr_t Identity(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

constexpr int kNone = -1; // no record

// The key a pair index entry gets once its record can no longer be found: no pair of objects has it.
constexpr std::uintptr_t kGone = ~std::uintptr_t(0);

// Open-addressing map from an unordered pair of object identities to the index of the pair's record.
// Entries of earlier steps are recognised by their generation, so clearing is one increment and the
// table keeps its memory from step to step.
class PairIndex
{
  public:
    int Find(std::uintptr_t a, std::uintptr_t b) const
    {
        const Slot* s = Lookup(a, b);
        return s ? s->record : kNone;
    }

    void Insert(std::uintptr_t a, std::uintptr_t b, int record)
    {
        Order(a, b);
        if ((count_ + 1) * 2 > slots_.size())
            Grow();
        Place(a, b, record);
        ++count_;
    }

    // Forgets the pair. Its slot keeps its generation, so that the lookups of the pairs placed after
    // it still probe past it.
    void Remove(std::uintptr_t a, std::uintptr_t b)
    {
        if (Slot* s = const_cast<Slot*>(Lookup(a, b)))
            s->a = s->b = kGone;
    }

    void Clear()
    {
        count_ = 0;
        if (++gen_ == 0)
        {
            for (Slot& s : slots_)
                s.gen = 0;
            gen_ = 1;
        }
    }

  private:
    struct Slot
    {
        std::uintptr_t a = 0;
        std::uintptr_t b = 0;
        int record = kNone;
        std::uint32_t gen = 0;
    };

    const Slot* Lookup(std::uintptr_t a, std::uintptr_t b) const
    {
        Order(a, b);
        if (slots_.empty())
            return nullptr;
        std::size_t mask = slots_.size() - 1;
        for (std::size_t k = Hash(a, b) & mask;; k = (k + 1) & mask)
        {
            const Slot& s = slots_[k];
            if (s.gen != gen_)
                return nullptr;
            if (s.a == a && s.b == b)
                return &s;
        }
    }

    static void Order(std::uintptr_t& a, std::uintptr_t& b)
    {
        if (b < a)
        {
            std::uintptr_t t = a;
            a = b;
            b = t;
        }
    }

    static std::size_t Hash(std::uintptr_t a, std::uintptr_t b)
    {
        std::uint64_t h = static_cast<std::uint64_t>(a) * 0x9E3779B97F4A7C15ull;
        h ^= static_cast<std::uint64_t>(b) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return static_cast<std::size_t>(h);
    }

    void Place(std::uintptr_t a, std::uintptr_t b, int record)
    {
        std::size_t mask = slots_.size() - 1;
        std::size_t k = Hash(a, b) & mask;
        while (slots_[k].gen == gen_)
            k = (k + 1) & mask;
        slots_[k] = Slot{a, b, record, gen_};
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 256 : old.size() * 2, Slot{});
        for (const Slot& s : old)
            if (s.gen == gen_ && s.a != kGone)
                Place(s.a, s.b, s.record);
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    std::uint32_t gen_ = 1;
};

// The other object of a pair, as the mass keeping the pair knows it.
inline const void* Other(TObject* o)
{
    return static_cast<const void*>(o);
}

// What a mass's own entries hold in place of a pair that can no longer be found: no object's address.
const char goneOther = 0;

// The pair index: the first few pairs of each mass in the mass itself, the rest in a shared table. A
// pair of two masses is kept by the one at the lower address, a pair of a mass and anything else by
// the mass. Entries of an earlier step are recognised by their generation, so flushing the queue never
// visits the masses.
//
// Each operation comes in two forms: one told which mass keeps the pair (the step's posters know the
// types of both objects) and one that works it out.
class EventIndex
{
  public:
    /// The record of the pair (a, b), kept by `owner` (null when neither is a mass) as the pair with
    /// `other`; kNone when there is none.
    int Find(TMass* owner, const void* other, TObject* a, TObject* b) const
    {
        if (!owner)
            return table_.Find(Identity(a), Identity(b));
        const auto& cache = detail::Internals::Events(*owner);
        if (cache.gen != gen_)
            return kNone;
        for (int k = 0; k < cache.count; ++k)
            if (cache.other[k] == other)
                return cache.record[k];
        // A cache with room never sent a pair to the table.
        if (cache.count < detail::Internals::kEventsKept)
            return kNone;
        return table_.Find(Identity(a), Identity(b));
    }

    void Insert(TMass* owner, const void* other, TObject* a, TObject* b, int record)
    {
        if (owner)
        {
            auto& cache = detail::Internals::Events(*owner);
            if (cache.gen != gen_)
            {
                cache.gen = gen_;
                cache.count = 0;
            }
            if (cache.count < detail::Internals::kEventsKept)
            {
                cache.other[cache.count] = other;
                cache.record[cache.count] = record;
                ++cache.count;
                return;
            }
        }
        table_.Insert(Identity(a), Identity(b), record);
    }

    // Forgets the pair, so that objects made later at the same addresses do not find its record.
    void Remove(TMass* owner, const void* other, TObject* a, TObject* b)
    {
        if (owner)
        {
            auto& cache = detail::Internals::Events(*owner);
            if (cache.gen == gen_)
                for (int k = 0; k < cache.count; ++k)
                    if (cache.other[k] == other)
                    {
                        cache.other[k] = &goneOther;
                        return;
                    }
        }
        table_.Remove(Identity(a), Identity(b));
    }

    int Find(TObject* a, TObject* b) const
    {
        TMass* owner;
        const void* other;
        Keeper(a, b, owner, other);
        return Find(owner, other, a, b);
    }

    void Insert(TObject* a, TObject* b, int record)
    {
        TMass* owner;
        const void* other;
        Keeper(a, b, owner, other);
        Insert(owner, other, a, b, record);
    }

    void Remove(TObject* a, TObject* b)
    {
        TMass* owner;
        const void* other;
        Keeper(a, b, owner, other);
        Remove(owner, other, a, b);
    }

    void Clear()
    {
        ++gen_;
        table_.Clear();
    }

    /// Changes with every Clear: what a mass's entries, and the marks of the objects this step's
    /// records name, are compared with.
    std::uint64_t Generation() const { return gen_; }

    /// Which mass keeps the pair of two masses, and the pair's other object.
    static TMass& Keeper(TMass& a, TMass& b, const void*& other)
    {
        bool aFirst = std::less<const void*>()(&a, &b);
        other = aFirst ? Other(&b) : Other(&a);
        return aFirst ? a : b;
    }

  private:
    // Which mass keeps the pair (a, b), and the pair's other object; a null owner when neither is a
    // mass.
    static void Keeper(TObject* a, TObject* b, TMass*& owner, const void*& other)
    {
        TMass* ma = a ? a->AsMass() : nullptr;
        TMass* mb = b ? b->AsMass() : nullptr;
        if (ma && mb)
            owner = &Keeper(*ma, *mb, other);
        else if (ma || mb)
        {
            owner = ma ? ma : mb;
            other = ma ? Other(b) : Other(a);
        }
        else
        {
            owner = nullptr;
            other = nullptr;
        }
    }

    PairIndex table_;
    std::uint64_t gen_ = 1;
};

// One queued contact. The step records only what it knows: the two objects, by address, and the
// numbers. The event object the application sees is made the first time one asks for it (Poll, Peek,
// Seek) and from then on carries the numbers; an event that was posted, or that a hook saw, is made
// from the start.
struct Record
{
    TMass* mass;    // obj1
    TObject* other; // obj2
    int made;       // index of its event in EventState::made, kNone until one is made
    int id;
    float x;
    float y;
    float force;
};

struct HookEntry
{
    TColEvent::Hook hook;
    void* context;
};

// The module state of the queue, made on first use and kept for the life of the program.
//
// A record that has no event yet holds no handle on its objects. Every way the library lets go of a
// mass, a zone or the world (a mass's last SubRef, TZone::Free, new registries) first hands any object
// such a record names to `kept`, which holds it until the flush, as the event would have done.
struct EventState
{
    int eventHookId = 1;
    std::vector<Record> records; // this step's events in arrival order; the queue starts at `head`
    std::size_t head = 0;
    EventIndex eventIndex;
    std::vector<TColEventRef> made;      // owns every event made for a record, until the flush
    std::vector<TObjectRef> kept;        // objects that records name and that nothing else may hold
    const TObject* namedWorld = nullptr; // the one world this step's plain records may name
    TColEventRef currentEvent;
    int eventMode = TColEvent::MODE_UPDATE;
    std::vector<HookEntry> hooks; // entries with a null hook were removed while a chain ran
    int chainRuns = 0;            // hook chains running, nested ones included
};

[[gnu::always_inline]] inline EventState& State()
{
    static EventState* state = new EventState;
    return *state;
}

// Events the library makes come from a pool.
inline TColEventRef NewEvent()
{
    return std::allocate_shared<TColEvent>(detail::PoolAllocator<TColEvent>());
}

// A handle on the object, or null when nothing owns it through one (or it is being destroyed).
template <class T> std::shared_ptr<T> HandleOn(T* object)
{
    if (!object)
        return nullptr;
    return std::static_pointer_cast<T>(object->weak_from_this().lock());
}

// A repeated contact of a pair updates the pair's recorded event: the new position, and the new force
// added to the old, or put in its place in MODE_REPLACE.
inline void Merge(float& ex, float& ey, float& eforce, float x, float y, float force, int mode)
{
    ex = x;
    ey = y;
    if (mode == TColEvent::MODE_REPLACE)
        eforce = force;
    else
        eforce = eforce + force;
}

inline void Merge(EventState& st, Record& r, float x, float y, float force, int mode)
{
    if (r.made == kNone)
        Merge(r.x, r.y, r.force, x, y, force, mode);
    else
    {
        TColEvent& e = *st.made[static_cast<std::size_t>(r.made)];
        Merge(e.x, e.y, e.force, x, y, force, mode);
    }
}

// The record's event, made now if it has none yet.
TColEventRef Made(EventState& st, Record& r)
{
    if (r.made == kNone)
    {
        TColEventRef event = NewEvent();
        event->id = r.id;
        event->obj1 = HandleOn(r.mass);
        event->obj2 = HandleOn(r.other);
        event->x = r.x;
        event->y = r.y;
        event->force = r.force;
        r.made = static_cast<int>(st.made.size());
        st.made.push_back(std::move(event));
    }
    return st.made[static_cast<std::size_t>(r.made)];
}

// The first contact of a pair since the flush, with its event: the pair is recorded, the event kept
// until the flush and queued.
void Queue(EventState& st, TColEventRef event)
{
    TObject* a = event->obj1.get();
    TObject* b = event->obj2.get();
    const int k = static_cast<int>(st.records.size());
    st.records.push_back(
        Record{event->obj1.get(), b, static_cast<int>(st.made.size()), event->id, 0.0f, 0.0f, 0.0f});
    st.made.push_back(std::move(event));
    st.eventIndex.Insert(a, b, k);
}

// Counts a running hook chain; the last one to end sweeps out the hooks removed meanwhile.
class ChainRun
{
  public:
    explicit ChainRun(EventState& st) : st_(st) { ++st_.chainRuns; }
    ~ChainRun()
    {
        if (--st_.chainRuns > 0)
            return;
        std::vector<HookEntry>& hooks = st_.hooks;
        std::size_t kept = 0;
        for (const HookEntry& entry : hooks)
            if (entry.hook)
                hooks[kept++] = entry;
        hooks.resize(kept);
    }
    ChainRun(const ChainRun&) = delete;
    ChainRun& operator=(const ChainRun&) = delete;

  private:
    EventState& st_;
};

} // namespace

TColEventRef TColEvent::Create(const TMassRef& obj1, const TObjectRef& obj2, float x, float y, float force)
{
    TColEventRef event = NewEvent();
    event->id = obj2 ? obj2->EventKind() : MASS_CUSTOM;
    event->obj1 = obj1;
    event->obj2 = obj2;
    event->x = x;
    event->y = y;
    event->force = force;
    return event;
}

int TColEvent::SetMode(int mode)
{
    State().eventMode = mode;
    return 0;
}

int TColEvent::GetMode()
{
    return State().eventMode;
}

int TColEvent::Emit(const TColEventRef& event)
{
    EventState& st = State();
    TColEventRef result = event;
    {
        // Indexing, not iterating: a hook may add hooks while the chain runs, which then run too. A
        // hook removed meanwhile is only blanked, so that the hooks after it keep their places.
        ChainRun run(st);
        for (std::size_t k = 0; k < st.hooks.size() && result; ++k)
        {
            HookEntry entry = st.hooks[k];
            if (!entry.hook)
                continue;
            result = detail::CallUser([&] { return entry.hook(st.eventHookId, result, entry.context); });
        }
    }
    if (!result || st.eventMode == MODE_DISCARD)
        return 0;
    return Post(result, st.eventMode);
}

int TColEvent::Post(const TColEventRef& event, int mode)
{
    if (!event)
        return 0;
    EventState& st = State();
    const int k = st.eventIndex.Find(event->obj1.get(), event->obj2.get());
    if (k != kNone)
        Merge(st, st.records[static_cast<std::size_t>(k)], event->x, event->y, event->force, mode);
    else
        Queue(st, event);
    return 0;
}

TColEventRef TColEvent::Poll()
{
    EventState& st = State();
    if (st.head == st.records.size())
        st.currentEvent = nullptr;
    else
        st.currentEvent = Made(st, st.records[st.head++]);
    return st.currentEvent;
}

TColEventRef TColEvent::Peek()
{
    EventState& st = State();
    if (st.head == st.records.size())
        return nullptr;
    return Made(st, st.records[st.head]);
}

TColEventRef TColEvent::Seek(const TObjectRef& a, const TObjectRef& b)
{
    EventState& st = State();
    TObject* second = b ? b.get() : world.get();
    const int k = st.eventIndex.Find(a.get(), second);
    if (k == kNone)
        return nullptr;
    return Made(st, st.records[static_cast<std::size_t>(k)]);
}

int TColEvent::Flush()
{
    EventState& st = State();
    st.records.clear(); // keeps its capacity
    st.head = 0;
    st.eventIndex.Clear();
    st.namedWorld = nullptr;
    TColEventRef current = std::move(st.currentEvent);
    st.currentEvent = nullptr;
    // What the queue held goes last, once the queue is empty: destroying it may destroy masses, zones
    // or a world. The vectors keep their capacity for the next step.
    std::vector<TColEventRef> made;
    std::vector<TObjectRef> kept;
    made.swap(st.made);
    kept.swap(st.kept);
    current = nullptr;
    made.clear();
    kept.clear();
    if (st.made.empty())
        st.made.swap(made);
    if (st.kept.empty())
        st.kept.swap(kept);
    return 0;
}

TColEventRef TColEvent::GetCurrent()
{
    return State().currentEvent;
}

int TColEvent::GetHookId()
{
    return State().eventHookId;
}

int TColEvent::AddHook(Hook hook, void* context)
{
    if (hook)
    {
        State().hooks.push_back(HookEntry{hook, context});
        ++detail::userCode.hooks;
    }
    return 0;
}

int TColEvent::RemoveHook(Hook hook, void* context)
{
    EventState& st = State();
    if (!hook) // never added; and a null entry is one already removed
        return 0;
    for (std::size_t k = 0; k < st.hooks.size(); ++k)
        if (st.hooks[k].hook == hook && st.hooks[k].context == context)
        {
            if (st.chainRuns > 0)
                st.hooks[k].hook = nullptr; // the running chain steps over it; swept when it ends
            else
                st.hooks.erase(st.hooks.begin() + static_cast<std::ptrdiff_t>(k));
            --detail::userCode.hooks;
            return 1;
        }
    return 0;
}

TMassRef TColEvent::GetMass2() const
{
    TMass* mass = obj2 ? obj2->AsMass() : nullptr;
    return mass ? TMassRef(obj2, mass) : nullptr;
}

TZoneRef TColEvent::GetZone() const
{
    TZone* zone = obj2 ? obj2->AsZone() : nullptr;
    return zone ? TZoneRef(obj2, zone) : nullptr;
}

} // namespace ravel

namespace ravel::detail
{

namespace
{

// An event with handles on both objects, made at once: for contacts a hook must see, and for objects
// that no registry of the current world holds, which the record alone would not keep alive. With no
// hook and no record for the pair yet (the caller looked), it is queued as Post would queue it.
[[gnu::noinline]] void ReportWithEvent(EventState& st, TMass& mass, TObject& other, float x, float y,
                                       float force, bool hooks)
{
    TColEventRef event = NewEvent();
    event->obj1 = HandleOn(&mass);
    event->obj2 = HandleOn(&other);
    event->id = event->obj2 ? event->obj2->EventKind() : TColEvent::MASS_CUSTOM;
    event->x = x;
    event->y = y;
    event->force = force;
    if (hooks || !event->obj1 || !event->obj2)
        TColEvent::Emit(event);
    else
        Queue(st, std::move(event));
}

// Hands the contact to a hook, drops it in MODE_DISCARD or merges it into its pair's record, which
// needs no event; false when it is the pair's first contact since the flush and no hook must see it.
inline bool Handled(EventState& st, TMass& owner, const void* key, TMass& mass, TObject& other, float x,
                    float y, float force)
{
    if (HooksInstalled())
    {
        ReportWithEvent(st, mass, other, x, y, force, true);
        return true;
    }
    if (st.eventMode == TColEvent::MODE_DISCARD)
        return true;
    const int k = st.eventIndex.Find(&owner, key, &mass, &other);
    if (k == kNone)
        return false;
    Merge(st, st.records[static_cast<std::size_t>(k)], x, y, force, st.eventMode);
    return true;
}

// The first contact of a pair since the flush, recorded without an event.
[[gnu::always_inline]] inline void Append(EventState& st, TMass& owner, const void* key, TMass& mass,
                                          TObject& other, int id, float x, float y, float force)
{
    const int k = static_cast<int>(st.records.size());
    st.records.push_back(Record{&mass, &other, kNone, id, x, y, force});
    st.eventIndex.Insert(&owner, key, &mass, &other, k);
}

// A mass that massList of the current world holds: it leaves it only through its last SubRef or new
// registries, both of which keep it for the queue first.
inline bool Registered(const TMass& m)
{
    return m.refCounter > 0 && Internals::Joined(m) == registry.generation;
}

// Keeps the object until the flush.
inline void Keep(EventState& st, TObject& object)
{
    if (TObjectRef ref = object.weak_from_this().lock())
        st.kept.push_back(std::move(ref));
}

// An object named by records without events is being destroyed without having been kept: it was let
// go of by a way the queue does not see. Those records get their events now, with null in place of the
// object, and their pairs are forgotten so that an object made later at the same address does not
// find them.
void Orphan(EventState& st, TObject* dying)
{
    for (std::size_t k = st.head; k < st.records.size(); ++k)
    {
        Record& r = st.records[k];
        if (r.made != kNone || (r.mass != dying && r.other != dying))
            continue;
        st.eventIndex.Remove(r.mass, r.other);
        if (r.mass == dying)
            r.mass = nullptr;
        if (r.other == dying)
            r.other = nullptr;
        Made(st, r);
    }
}

} // namespace

void ReportContact(TMass& mass, TMass& other, float x, float y, float force)
{
    EventState& st = State();
    const void* key;
    TMass& owner = EventIndex::Keeper(mass, other, key);
    if (Handled(st, owner, key, mass, other, x, y, force))
        return;
    if (!Registered(mass) || !Registered(other))
        return ReportWithEvent(st, mass, other, x, y, force, false);
    const std::uint64_t gen = st.eventIndex.Generation();
    Internals::Events(mass).named = gen;
    Internals::Events(other).named = gen;
    Append(st, owner, key, mass, other, TColEvent::MASS_MASS, x, y, force);
}

void ReportContact(TMass& mass, TZone& zone, float x, float y, float force)
{
    EventState& st = State();
    const void* key = Other(&zone);
    if (Handled(st, mass, key, mass, zone, x, y, force))
        return;
    if (!Registered(mass) || !zone.link.IsLinked())
        return ReportWithEvent(st, mass, zone, x, y, force, false);
    const std::uint64_t gen = st.eventIndex.Generation();
    Internals::Events(mass).named = gen;
    Internals::EventsNamed(zone) = gen;
    Append(st, mass, key, mass, zone, zone.EventKind(), x, y, force);
}

void ReportContact(TMass& mass, TPhysics& bounds, float x, float y, float force)
{
    EventState& st = State();
    const void* key = Other(&bounds);
    if (Handled(st, mass, key, mass, bounds, x, y, force))
        return;
    if (!Registered(mass) || &bounds != world.get() || (st.namedWorld && st.namedWorld != &bounds))
        return ReportWithEvent(st, mass, bounds, x, y, force, false);
    Internals::Events(mass).named = st.eventIndex.Generation();
    st.namedWorld = &bounds;
    Append(st, mass, key, mass, bounds, bounds.EventKind(), x, y, force);
}

void KeepForEvents(TMass& m)
{
    EventState& st = State();
    auto& slots = Internals::Events(m);
    if (slots.named != st.eventIndex.Generation())
        return;
    slots.named = 0; // kept: nothing to do at its destruction
    Keep(st, m);
}

void KeepForEvents(TZone& z)
{
    EventState& st = State();
    std::uint64_t& named = Internals::EventsNamed(z);
    if (named != st.eventIndex.Generation())
        return;
    named = 0;
    Keep(st, z);
}

void KeepRegistriesForEvents()
{
    EventState& st = State();
    if (st.records.size() == st.head) // nothing queued, so nothing queued names them
        return;
    if (massList)
        for (const TMassRef& m : *massList)
            KeepForEvents(*m);
    if (zoneList)
        for (const TZoneRef& z : *zoneList)
            KeepForEvents(*z);
    if (world && world.get() == st.namedWorld)
    {
        st.namedWorld = nullptr;
        Keep(st, *world);
    }
}

void OrphanEvents(TMass& m)
{
    EventState& st = State();
    if (Internals::Events(m).named == st.eventIndex.Generation())
        Orphan(st, &m);
}

void OrphanEvents(TZone& z)
{
    EventState& st = State();
    if (Internals::EventsNamed(z) == st.eventIndex.Generation())
        Orphan(st, &z);
}

void OrphanEvents(TPhysics& w)
{
    EventState& st = State();
    if (st.namedWorld != &w)
        return;
    st.namedWorld = nullptr;
    Orphan(st, &w);
}

} // namespace ravel::detail
