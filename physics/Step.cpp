// physics/Step.cpp: the simulation step, stage by stage.
//
// One step integrates every active mass, flushes the event queue and runs the relaxation passes; a
// pass relaxes every constraint and then gives each mass its turn: the bounds, the zones, the other
// masses. Event hooks and zone responses run inside the step and may change anything, the world
// included. They are reached only through detail::CallUser, and every stage that may hand control to
// them takes a Mark first: once user code has run, the stage checks that the world is still the one
// it steps and that the mass whose turn it is still takes part, and it stops trusting what it took
// before (where a cell walk stands, the bounds of the cells and the copies of their masses, which
// masses of its array are in the world).
#include "physics/detail/Step.h"

#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "physics/detail/Contact.h"
#include "physics/detail/Internals.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Relax.h"
#include "physics/detail/Report.h"
#include "physics/detail/UserCode.h"
#include "physics/detail/World.h"

#include <cmath>

namespace ravel
{

namespace detail
{
StepState step;
UserCodeState userCode;
} // namespace detail

namespace
{

using detail::GridCell;
using detail::Internals;
using detail::Mark;
using detail::World;

// Where a mass's turn in the pass stands after user code has run.
enum class Turn
{
    Go,   // the mass is still in the world: its turn goes on
    Skip, // it has left massList: it is not visited again
    Stop, // the world is no longer the current one: its step ends
};

// Where the mass s, whose turn it is in a step of w, stands once user code has run.
inline Turn Standing(const World& w, const TMass& s)
{
    if (world.get() != &w)
        return Turn::Stop;
    return s.link.IsLinked() ? Turn::Go : Turn::Skip;
}

// The step in progress: the world and registries it steps, held for as long as it runs, since user
// code may free or replace them. It marks the step as running, and lets go of the masses kept for it
// at the end.
class StepRun
{
  public:
    StepRun()
        : world_(world), masses_(massList), constraints_(constraintList), zones_(zoneList),
          w(static_cast<World&>(*world_))
    {
        detail::step.running = 1;
    }
    ~StepRun()
    {
        detail::step.running = 0;
        std::vector<TMassRef> last;
        last.swap(detail::step.kept);
        last.clear();                 // their destructors may touch the registries
        last.swap(detail::step.kept); // keeps the capacity
    }
    StepRun(const StepRun&) = delete;
    StepRun& operator=(const StepRun&) = delete;

    // The registries as flat arrays, in list order, taken again only when they have changed since.
    // Nothing changes them during integration or the constraint stage; user code may change them
    // between masses, and the next pass sees that.
    const std::vector<TMass*>& Masses() const
    {
        detail::StepState& st = detail::step;
        if (st.massesAt != detail::registry.version || st.massesOf != masses_.get() ||
            static_cast<int>(st.masses.size()) != masses_->Count())
        {
            st.masses.clear();
            for (const TMassRef& ref : *masses_)
                st.masses.push_back(ref.get());
            st.massesAt = detail::registry.version;
            st.massesOf = masses_.get();
        }
        return st.masses;
    }
    const std::vector<TConstraint*>& Constraints() const
    {
        detail::StepState& st = detail::step;
        if (st.constraintsAt != detail::registry.version || st.constraintsOf != constraints_.get() ||
            static_cast<int>(st.constraints.size()) != constraints_->Count())
        {
            st.constraints.clear();
            for (const TConstraintRef& ref : *constraints_)
                st.constraints.push_back(ref.get());
            st.constraintsAt = detail::registry.version;
            st.constraintsOf = constraints_.get();
        }
        return st.constraints;
    }
    // zoneList as it was when the step began; null when the world was made without one.
    const TList<TZoneRef>* Zones() const { return zones_.get(); }

  private:
    std::shared_ptr<TPhysics> world_;
    TListRef<TMassRef> masses_;
    TListRef<TConstraintRef> constraints_;
    TListRef<TZoneRef> zones_;

  public:
    World& w; ///< the world stepped
};

// ---------------------------------------------------------------------------------------------------
// Integration

// Moves every free mass by its velocity plus gravity and files every mass in the cell of its new
// position. Returns whether any mass can meet another (a non-zero group); if none can, the cells'
// bounds serve nothing.
bool Integrate(const StepRun& run)
{
    const World& w = run.w;
    bool collidable = false;
    for (TMass* mp : run.Masses())
    {
        TMass& m = *mp;
        collidable = collidable || m.colGroup != 0.0f;
        if (!m.frozen)
        {
            float vx = m.posX - m.oldPosX;
            float vy = m.posY - m.oldPosY;
            m.oldPosX = m.posX;
            m.oldPosY = m.posY;
            m.posX = m.posX + vx + w.gravityX;
            m.posY = m.posY + vy + w.gravityY;
        }
        m.AddToGrid();
    }
    return collidable;
}

// ---------------------------------------------------------------------------------------------------
// Constraints

void RelaxConstraints(const StepRun& run)
{
    for (TConstraint* c : run.Constraints())
        detail::Relax(*c);
}

// ---------------------------------------------------------------------------------------------------
// Bounds

// Wall friction along a bound: brakes the velocity component w = pos - old along the wall by up to
// `impulse`, never reversing it.
inline void WallFriction(float pos, float& old, float impulse)
{
    float w = pos - old;
    if (impulse > std::fabs(w))
        old = pos;
    else if (w > 0.0f)
        old = old + impulse;
    else if (w < 0.0f)
        old = old - impulse;
}

// Reports a bound contact; false when a hook has since taken the mass out or ended the step, so that
// nothing more is done to it.
inline bool ReportBound(World& w, TMass& s, float x, float y, float depth)
{
    const Mark mark;
    detail::ReportContact(s, w, x, y, depth);
    return !mark.UserRan() || Standing(w, s) == Turn::Go;
}

// Pushes the mass back inside the world rectangle, x first, then y with the corrected x; each push is
// reported and brakes the velocity along that wall.
inline Turn CollideBounds(World& w, TMass& s)
{
    float lo = w.boundsMinX + s.radius;
    float hi = w.boundsMaxX - s.radius;
    if (s.posX < lo)
    {
        float depth = lo - s.posX;
        s.posX = lo;
        if (!ReportBound(w, s, w.boundsMinX, s.posY, depth))
            return Standing(w, s);
        WallFriction(s.posY, s.oldPosY, depth * (s.friction + w.friction) * 0.5f);
    }
    else if (s.posX > hi)
    {
        float depth = s.posX - hi;
        s.posX = hi;
        if (!ReportBound(w, s, w.boundsMaxX, s.posY, depth))
            return Standing(w, s);
        WallFriction(s.posY, s.oldPosY, depth * (s.friction + w.friction) * 0.5f);
    }
    lo = w.boundsMinY + s.radius;
    hi = w.boundsMaxY - s.radius;
    if (s.posY < lo)
    {
        float depth = lo - s.posY;
        s.posY = lo;
        if (!ReportBound(w, s, s.posX, w.boundsMinY, depth))
            return Standing(w, s);
        WallFriction(s.posX, s.oldPosX, depth * (s.friction + w.friction) * 0.5f);
    }
    else if (s.posY > hi)
    {
        float depth = s.posY - hi;
        s.posY = hi;
        if (!ReportBound(w, s, s.posX, w.boundsMaxY, depth))
            return Standing(w, s);
        WallFriction(s.posX, s.oldPosX, depth * (s.friction + w.friction) * 0.5f);
    }
    return Turn::Go;
}

// ---------------------------------------------------------------------------------------------------
// Zones

// Collides s with every zone of the list that admits it, in list order. The list is walked live:
// zones that a response frees are not visited again, zones added are.
inline Turn CollideZones(const World& w, TMass& s, const TList<TZoneRef>& zones)
{
    const Mark mark;
    for (const TZoneRef& z : zones)
    {
        if (detail::GroupsCollide(s.colGroup, static_cast<float>(z->colGroup)))
            z->Collide(s);
        if (mark.UserRan())
            if (Turn t = Standing(w, s); t != Turn::Go)
                return t;
    }
    return Turn::Go;
}

// ---------------------------------------------------------------------------------------------------
// Other masses

// The pair passes the group rule and the tests `Collide` starts with (not both frozen, boxes
// overlapping), evaluated the same way. Most candidates fail here, so it is done inline; `Collide`
// repeats the tests, so a pair that passes gets exactly the same treatment.
inline bool MayTouch(const TMass& s, const TMass& o)
{
    float r = s.radius + o.radius;
    bool groups = detail::GroupsCollide(s.colGroup, o.colGroup);
    bool movable = !(s.frozen && o.frozen);
    bool near = !(std::fabs(o.posX - s.posX) > r) && !(std::fabs(o.posY - s.posY) > r);
    return groups && movable && near;
}

// A contact between two masses while hooks are installed. The grid may hold a mass that nothing else
// owns once a hook lets go of it (one filed by hand, not active): o is held for the call and, if the
// step is left its last owner, kept until the step ends, since the walk goes on from it.
[[gnu::noinline]] void CollideHeld(TMass& s, TMass& o)
{
    TMassRef hold = std::static_pointer_cast<TMass>(o.weak_from_this().lock());
    s.Collide(o);
    if (hold.use_count() == 1)
        detail::step.kept.push_back(std::move(hold));
}

// Collides s with o, a mass filed in `cell`. True when no user code ran meanwhile: both are still
// where they were filed, and the bounds of their cells have been grown to their new positions.
inline bool Meet(TMass& s, TMass& o, GridCell& cell)
{
    const Mark mark;
    if (detail::HooksInstalled())
        CollideHeld(s, o);
    else
        s.Collide(o);
    if (mark.UserRan())
        return false;
    cell.bounds.Cover(o.posX, o.posY);
    Internals::Cell(s)->bounds.Cover(s.posX, s.posY);
    return true;
}

// Collides s with the masses of one cell from slot k on, in filing order, reading each mass. A
// collision may run a hook that files or unfiles masses; the walk then carries on after o wherever o
// is filed now, which is where a list threaded through the masses would lead it.
Turn CollideCellLive(const World& w, TMass& s, GridCell* cell, std::size_t k)
{
    for (TMass* const* p = cell->slots.data() + k; p != cell->End(); ++p)
    {
        TMass* o = *p;
        if (!MayTouch(s, *o) || Meet(s, *o, *cell))
            continue;
        if (Turn t = Standing(w, s); t != Turn::Go)
            return t;
        cell = Internals::Cell(*o);
        if (!cell)
            return Turn::Go;
        p = cell->Find(o);
    }
    return Turn::Go;
}

// The same walk while the cells' copies can be trusted: candidates are rejected from the copies, and a
// mass is reached only for a pair that passes the group rule and the box test. A contact rewrites the
// copies of both masses (s is the last of its own cell, where it was filed before the walk). Once a
// contact has run user code, the rest of the cell is walked reading the masses.
Turn CollideCellFromCopies(const World& w, TMass& s, GridCell& cell)
{
    const std::size_t n = cell.slots.size(); // nothing files or unfiles while no user code runs
    const float radius = s.radius;
    const float group = s.colGroup;
    const detail::SlotCopy* copies = cell.copies.data();
    for (std::size_t k = detail::NextReached(copies, cell.begin, n, s.posX, s.posY, radius, group); k < n;
         k = detail::NextReached(copies, k + 1, n, s.posX, s.posY, radius, group))
    {
        TMass* o = cell.slots[k];
        if (s.frozen && o->frozen)
            continue;
        if (Meet(s, *o, cell))
        {
            detail::SlotCopy& co = cell.copies[k];
            co.x = o->posX;
            co.y = o->posY;
            detail::SlotCopy& cs = Internals::Cell(s)->copies.back();
            cs.x = s.posX;
            cs.y = s.posY;
            continue;
        }
        if (Turn t = Standing(w, s); t != Turn::Go)
            return t;
        GridCell* now = Internals::Cell(*o);
        if (!now)
            return Turn::Go;
        return CollideCellLive(w, s, now, static_cast<std::size_t>(now->Find(o) - now->slots.data()) + 1);
    }
    return Turn::Go;
}

// Takes every cell's bounds, and the copies of its masses, afresh from the masses filed in it.
void TakeCellBounds(World& w)
{
    for (int gx = 0; gx < w.gridsize; ++gx)
        for (int gy = 0; gy < w.gridsize; ++gy)
        {
            GridCell& cell = w.shiftgrid[gx][gy];
            cell.bounds.Clear();
            for (std::size_t k = cell.begin; k < cell.slots.size(); ++k)
            {
                const TMass& m = *cell.slots[k];
                cell.copies[k] = detail::SlotCopy{m.posX, m.posY, m.radius, m.colGroup};
                cell.bounds.Cover(m.posX, m.posY, m.radius);
            }
        }
}

// Re-files s and collides it with the masses filed in the nine cells around its own. The cells'
// bounds and copies, taken at the pass's start, cull cells and candidates only while no user code has
// run in the pass; without them (no mass can meet another, or user code has run) the walk reads the
// masses.
inline Turn CollideThroughGrid(World& w, TMass& s, bool bounds, Mark pass)
{
    s.AddToGrid();
    if (s.colGroup == 0.0f) // group 0 meets nothing: no cell to look at
        return Turn::Go;
    const int last = w.gridsize - 1;
    for (int gx = s.gridx - 1; gx <= s.gridx + 1; ++gx)
    {
        if (gx < 0 || gx > last)
            continue;
        for (int gy = s.gridy - 1; gy <= s.gridy + 1; ++gy)
        {
            if (gy < 0 || gy > last)
                continue;
            GridCell& cell = w.shiftgrid[gx][gy];
            const bool taken = bounds && !pass.UserRan();
            if (taken && cell.bounds.Apart(s.posX, s.posY, s.radius))
                continue;
            Turn t = taken ? CollideCellFromCopies(w, s, cell) : CollideCellLive(w, s, &cell, cell.begin);
            if (t != Turn::Go)
                return t;
        }
    }
    return Turn::Go;
}

// Collides s with the later masses of the pass's array. Once user code has run in this pass, a mass
// it has taken out of the world is passed over.
inline Turn CollideLater(const World& w, TMass& s, TMass* const* later, TMass* const* end, Mark pass)
{
    for (; later != end; ++later)
    {
        TMass& o = **later;
        if (!MayTouch(s, o))
            continue;
        if (pass.UserRan() && !o.link.IsLinked())
            continue;
        const Mark mark;
        s.Collide(o);
        if (mark.UserRan())
            if (Turn t = Standing(w, s); t != Turn::Go)
                return t;
    }
    return Turn::Go;
}

// ---------------------------------------------------------------------------------------------------
// The pass

// One relaxation pass: every constraint, then each mass of the array in turn against the bounds, the
// zones (free masses only) and the other masses, through the grid when it is on. False when the world
// was freed or replaced meanwhile, which ends the step.
bool Pass(const StepRun& run, bool collidable)
{
    World& w = run.w;
    RelaxConstraints(run);
    const bool bounds = w.gridon && collidable;
    if (bounds)
        TakeCellBounds(w);
    const Mark pass;

    const std::vector<TMass*>& masses = run.Masses();
    TMass* const* const end = masses.data() + masses.size();
    const TList<TZoneRef>* zones = run.Zones();
    for (TMass* const* turn = masses.data(); turn != end; ++turn)
    {
        TMass& s = **turn;
        // Once user code has run in this pass, a mass it took out of the world has no turn.
        Turn t = pass.UserRan() ? Standing(w, s) : Turn::Go;
        if (t == Turn::Go)
            t = CollideBounds(w, s);
        if (t == Turn::Go && !s.frozen && zones && !zones->IsEmpty())
            t = CollideZones(w, s, *zones);
        if (t == Turn::Go)
        {
            if (w.gridon)
                t = CollideThroughGrid(w, s, bounds, pass);
            else if (s.colGroup != 0.0f) // group 0 meets nothing: no pair to look at
                t = CollideLater(w, s, turn + 1, end, pass);
        }
        if (t == Turn::Stop)
            return false;
    }
    return true;
}

} // namespace

int TPhysics::Update()
{
    if (detail::step.running || !world || !massList || !constraintList)
        return 0;
    StepRun run;
    const bool collidable = Integrate(run);
    TColEvent::Flush();
    const int passes = run.w.i;
    for (int pass = 0; pass < passes; ++pass)
        if (!Pass(run, collidable))
            break;
    return 0;
}

} // namespace ravel
