// physics/TColEvent.cpp: the event queue, its pair index and the hook chain.
#include "physics/TColEvent.h"

#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/detail/Internals.h"
#include "physics/detail/Pool.h"
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

// Open-addressing map from an unordered pair of object identities to the pair's recorded event.
// Entries of earlier steps are recognised by their generation, so clearing is one increment and the
// table keeps its memory from step to step.
class PairIndex
{
  public:
    TColEvent* Find(std::uintptr_t a, std::uintptr_t b) const
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
                return s.event;
        }
    }

    void Insert(std::uintptr_t a, std::uintptr_t b, TColEvent* event)
    {
        Order(a, b);
        if ((count_ + 1) * 2 > slots_.size())
            Grow();
        Place(a, b, event);
        ++count_;
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
        TColEvent* event = nullptr;
        std::uint32_t gen = 0;
    };

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

    void Place(std::uintptr_t a, std::uintptr_t b, TColEvent* event)
    {
        std::size_t mask = slots_.size() - 1;
        std::size_t k = Hash(a, b) & mask;
        while (slots_[k].gen == gen_)
            k = (k + 1) & mask;
        slots_[k] = Slot{a, b, event, gen_};
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 256 : old.size() * 2, Slot{});
        for (const Slot& s : old)
            if (s.gen == gen_)
                Place(s.a, s.b, s.event);
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    std::uint32_t gen_ = 1;
};

// The pair index: the first few pairs of each mass in the mass itself, the rest in a shared table. A
// pair of two masses is kept by the one at the lower address, a pair of a mass and anything else by
// the mass. Entries of an earlier step are recognised by their generation, so flushing the queue never
// visits the masses.
class EventIndex
{
  public:
    TColEvent* Find(TObject* a, TObject* b) const
    {
        TMass* owner;
        const void* other;
        if (!Keeper(a, b, owner, other))
            return table_.Find(Identity(a), Identity(b));
        const auto& cache = detail::Internals::Events(*owner);
        if (cache.gen != gen_)
            return nullptr;
        for (int k = 0; k < cache.count; ++k)
            if (cache.other[k] == other)
                return cache.event[k];
        // A cache with room never sent a pair to the table.
        if (cache.count < detail::Internals::kEventsKept)
            return nullptr;
        return table_.Find(Identity(a), Identity(b));
    }

    void Insert(TObject* a, TObject* b, TColEvent* event)
    {
        TMass* owner;
        const void* other;
        if (Keeper(a, b, owner, other))
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
                cache.event[cache.count] = event;
                ++cache.count;
                return;
            }
        }
        table_.Insert(Identity(a), Identity(b), event);
    }

    void Clear()
    {
        ++gen_;
        table_.Clear();
    }

  private:
    // Which mass keeps the pair (a, b), and the pair's other object; false when neither is a mass.
    static bool Keeper(TObject* a, TObject* b, TMass*& owner, const void*& other)
    {
        TMass* ma = a ? a->AsMass() : nullptr;
        TMass* mb = b ? b->AsMass() : nullptr;
        if (ma && mb)
        {
            bool aFirst = std::less<const void*>()(ma, mb);
            owner = aFirst ? ma : mb;
            other = aFirst ? static_cast<const void*>(b) : static_cast<const void*>(a);
            return true;
        }
        if (ma || mb)
        {
            owner = ma ? ma : mb;
            other = ma ? static_cast<const void*>(b) : static_cast<const void*>(a);
            return true;
        }
        return false;
    }

    PairIndex table_;
    std::uint64_t gen_ = 1;
};

struct HookEntry
{
    TColEvent::Hook hook;
    void* context;
};

// The module state of the queue, made on first use and kept for the life of the program.
struct EventState
{
    int eventHookId = 1;
    TList<TColEventRef> eventQueue;
    EventIndex eventIndex;
    std::vector<TColEventRef> indexed; // owns every event recorded in eventIndex until the flush
    TColEventRef currentEvent;
    int eventMode = TColEvent::MODE_UPDATE;
    std::vector<HookEntry> hooks; // entries with a null hook were removed while a chain ran
    int chainRuns = 0;            // hook chains running, nested ones included
};

EventState& State()
{
    static EventState* state = new EventState;
    return *state;
}

// Events the library makes come from a pool: the step makes one for every new pair of every step.
inline TColEventRef NewEvent()
{
    return std::allocate_shared<TColEvent>(detail::PoolAllocator<TColEvent>());
}

// A repeated contact of a pair updates the pair's recorded event: the new position, and the new force
// added to the old, or put in its place in MODE_REPLACE.
inline void Merge(TColEvent& e, float x, float y, float force, int mode)
{
    e.x = x;
    e.y = y;
    if (mode == TColEvent::MODE_REPLACE)
        e.force = force;
    else
        e.force = e.force + force;
}

// The first contact of a pair since the flush: the event is recorded for the pair, kept until the
// flush, and queued.
inline void Record(EventState& st, TObject* a, TObject* b, TColEventRef&& event)
{
    st.eventIndex.Insert(a, b, event.get());
    st.indexed.push_back(event);
    st.eventQueue.AddLast(std::move(event));
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
    TObject* a = event->obj1.get();
    TObject* b = event->obj2.get();
    if (TColEvent* e = st.eventIndex.Find(a, b))
        Merge(*e, event->x, event->y, event->force, mode);
    else
        Record(st, a, b, TColEventRef(event));
    return 0;
}

TColEventRef TColEvent::Poll()
{
    EventState& st = State();
    st.currentEvent = st.eventQueue.RemoveFirst();
    return st.currentEvent;
}

TColEventRef TColEvent::Peek()
{
    return State().eventQueue.First();
}

TColEventRef TColEvent::Seek(const TObjectRef& a, const TObjectRef& b)
{
    EventState& st = State();
    TObject* second = b ? b.get() : world.get();
    TColEvent* e = st.eventIndex.Find(a.get(), second);
    if (!e)
        return nullptr;
    return std::static_pointer_cast<TColEvent>(e->weak_from_this().lock());
}

int TColEvent::Flush()
{
    EventState& st = State();
    st.eventQueue.Clear();
    st.eventIndex.Clear();
    st.currentEvent = nullptr;
    st.indexed.clear(); // keeps its capacity
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

void ReportContact(TMass& mass, TObject& other, float x, float y, float force)
{
    EventState& st = State();
    const bool hooks = HooksInstalled();
    if (!hooks)
    {
        if (st.eventMode == TColEvent::MODE_DISCARD)
            return;
        // A repeated pair only updates its recorded event, so there is nothing to make.
        if (TColEvent* e = st.eventIndex.Find(&mass, &other))
        {
            Merge(*e, x, y, force, st.eventMode);
            return;
        }
    }
    // Made in place rather than through Create and Emit, which would copy every handle once more.
    TColEventRef event = NewEvent();
    event->obj1 = std::static_pointer_cast<TMass>(mass.weak_from_this().lock());
    event->obj2 = other.weak_from_this().lock();
    event->id = event->obj2 ? event->obj2->EventKind() : TColEvent::MASS_CUSTOM;
    event->x = x;
    event->y = y;
    event->force = force;
    if (hooks || !event->obj1 || !event->obj2)
    {
        TColEvent::Emit(event);
        return;
    }
    // No hook and no event for the pair yet (looked up above): record it as Post would.
    Record(st, &mass, &other, std::move(event));
}

} // namespace ravel::detail
