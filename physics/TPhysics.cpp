// physics/TPhysics.cpp: the current world, its settings, the step and the camera.
#include "physics/TPhysics.h"

#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Relax.h"
#include "physics/detail/Report.h"
#include "physics/detail/ZoneStage.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"

#include <algorithm>
#include <cmath>

namespace ravel
{

// Defined before the registries, so that at program exit the registries (and the masses they hold)
// go first, while the world whose grid those masses are filed in still exists.
std::shared_ptr<TPhysics> world;
std::shared_ptr<TList<TMassRef>> massList;
std::shared_ptr<TList<TConstraintRef>> constraintList;
std::shared_ptr<TList<TZoneRef>> zoneList;
int nextAutoColGroup = -2;

namespace detail
{
ZoneCollideFn zoneCollide = nullptr;
std::uint64_t registryVersion = 1;
std::uint64_t gridEdits = 0;
std::uint64_t userCalls = 0;
int hooksInstalled = 0;
StepState step;
} // namespace detail

TPhysics::TPhysics()
{
    centerX = static_cast<float>(GraphicsWidth()) * 0.5f;
    centerY = static_cast<float>(GraphicsHeight()) * 0.5f;
    drawIX = CosDeg(drawRot) * drawScale;
    drawIY = -SinDeg(drawRot) * drawScale;
    drawJX = SinDeg(drawRot) * drawScale;
    drawJY = CosDeg(drawRot) * drawScale;
}

TPhysics::~TPhysics()
{
    for (auto& column : shiftgrid)
        for (detail::GridCell& cell : column)
            for (TMass* const* m = cell.First(); m != cell.End(); ++m)
                (*m)->gridlink = detail::GridLink{};
}

int TPhysics::EventKind() const
{
    return TColEvent::MASS_BOUNDS;
}

std::shared_ptr<TPhysics> TPhysics::Create(float maxX, float maxY, float gravY, float gravX, int iterations)
{
    auto w = std::make_shared<TPhysics>();
    constraintList = std::make_shared<TList<TConstraintRef>>();
    massList = std::make_shared<TList<TMassRef>>();
    zoneList = std::make_shared<TList<TZoneRef>>();
    world = w;
    ++detail::registryVersion;
    w->boundsMinX = 0.0f;
    w->boundsMinY = 0.0f;
    w->boundsMaxX = maxX;
    w->boundsMaxY = maxY;
    w->gravityY = gravY;
    w->gravityX = gravX;
    w->i = iterations;
    w->friction = 1.0f;
    w->gridsize = 8;
    w->ratiox = 8.0f / maxX;
    w->ratioy = 8.0f / maxY;
    return w;
}

int TPhysics::SetGravity(float x, float y)
{
    if (world)
    {
        world->gravityX = x;
        world->gravityY = y;
    }
    return 0;
}

int TPhysics::SetIterations(int n)
{
    if (world)
        world->i = n;
    return 0;
}

int TPhysics::SetBounds(float x1, float y1, float x2, float y2)
{
    if (world)
    {
        world->boundsMinX = x1 < x2 ? x1 : x2;
        world->boundsMinY = y1 < y2 ? y1 : y2;
        world->boundsMaxX = x1 > x2 ? x1 : x2;
        world->boundsMaxY = y1 > y2 ? y1 : y2;
    }
    return 0;
}

int TPhysics::GetBounds(float& minX, float& minY, float& maxX, float& maxY)
{
    if (!world)
    {
        minX = minY = maxX = maxY = 0.0f;
        return 0;
    }
    minX = world->boundsMinX;
    minY = world->boundsMinY;
    maxX = world->boundsMaxX;
    maxY = world->boundsMaxY;
    return 0;
}

int TPhysics::SetFriction(float f)
{
    if (world)
        world->friction = f;
    return 0;
}

int TPhysics::UseShiftedGrid(int flag)
{
    if (world)
        world->gridon = flag;
    return 0;
}

int TPhysics::SetGridSize(int n)
{
    if (!world)
        return 0;
    TPhysics& w = *world;
    w.gridsize = ClampRange(n, 8, MAX_GRID);
    w.ratiox = static_cast<float>(w.gridsize) / (w.boundsMaxX - w.boundsMinX);
    w.ratioy = static_cast<float>(w.gridsize) / (w.boundsMaxY - w.boundsMinY);
    return 0;
}

int TPhysics::Free()
{
    if (!world)
        return 0;
    TPhysics& w = *world;
    w.boundsMinX = w.boundsMinY = w.boundsMaxX = w.boundsMaxY = 0.0f;
    w.gravityX = w.gravityY = 0.0f;
    w.i = 0;
    w.friction = 0.0f;
    constraintList = nullptr;
    massList = nullptr;
    zoneList = nullptr;
    world = nullptr;
    ++detail::registryVersion;
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// The step

namespace
{

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

// Where a mass's turn in the pass stands after user code has run.
enum class Turn
{
    Go,   // the mass is still in the world: its turn goes on
    Skip, // it has left massList: it is not visited again
    Stop, // the world is no longer the current one: its step ends
};

inline Turn Standing(const TPhysics& w, const TMass& s)
{
    if (world.get() != &w)
        return Turn::Stop;
    return s.link.IsLinked() ? Turn::Go : Turn::Skip;
}

// Reports a bound contact; false when a hook has since taken the mass out or ended the step, so that
// nothing more is done to it.
inline bool ReportBound(TPhysics& w, TMass& s, float x, float y, float depth)
{
    const std::uint64_t calls = detail::userCalls;
    detail::ReportContact(s, w, x, y, depth);
    return detail::userCalls == calls || Standing(w, s) == Turn::Go;
}

inline Turn Bounds(TPhysics& w, TMass& s)
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

// The pair passes the group rule and the tests `Collide` starts with (not both frozen, boxes
// overlapping), evaluated the same way. Most candidates fail here, so it is done inline; `Collide` repeats
// the tests, so a pair that passes gets exactly the same treatment.
inline bool MayTouch(const TMass& s, const TMass& o)
{
    float r = s.radius + o.radius;
    bool groups = detail::GroupsCollide(s.colGroup, o.colGroup);
    bool movable = !(s.frozen && o.frozen);
    bool near = !(std::fabs(o.posX - s.posX) > r) && !(std::fabs(o.posY - s.posY) > r);
    return groups && movable && near;
}

// A contact between two masses while hooks are installed: o is held for the call, since a hook may
// drop the last reference to a mass that is filed in the grid but not active.
[[gnu::noinline]] void CollideHeld(TMass& s, TMass& o)
{
    TMassRef hold = std::static_pointer_cast<TMass>(o.weak_from_this().lock());
    s.Collide(o);
}

// Collides s with the masses of one cell, in filing order. A collision may run a
// hook that files or unfiles masses; the walk then carries on after o wherever o is filed now, which
// is where a list threaded through the masses would lead it.
inline Turn CollideCell(TPhysics& w, TMass& s, detail::GridCell* cell)
{
    for (TMass* const* p = cell->First(); p != cell->End(); ++p)
    {
        TMass* o = *p;
        if (!MayTouch(s, *o))
            continue;
        const std::uint64_t edits = detail::gridEdits;
        const std::uint64_t calls = detail::userCalls;
        if (detail::hooksInstalled)
            CollideHeld(s, *o);
        else
            s.Collide(*o);
        if (detail::userCalls == calls) // both are still where they were filed
        {
            cell->bounds.Cover(o->posX, o->posY);
            s.gridlink.cell->bounds.Cover(s.posX, s.posY);
        }
        else if (Turn t = Standing(w, s); t != Turn::Go)
            return t;
        if (detail::gridEdits != edits)
        {
            cell = o->gridlink.cell;
            if (!cell)
                return Turn::Go;
            p = cell->Find(o);
        }
    }
    return Turn::Go;
}

// Takes every cell's bounds afresh from the masses filed in it.
void TakeCellBounds(TPhysics& w)
{
    for (int gx = 0; gx < w.gridsize; ++gx)
        for (int gy = 0; gy < w.gridsize; ++gy)
        {
            detail::GridCell& cell = w.shiftgrid[gx][gy];
            cell.bounds.Clear();
            for (TMass* const* p = cell.First(); p != cell.End(); ++p)
                cell.bounds.Cover((*p)->posX, (*p)->posY, (*p)->radius);
        }
}

// The bounds taken at `stamp` (a userCalls value) hold as long as no user code has run since.
inline Turn CollideThroughGrid(TPhysics& w, TMass& s, bool bounds, std::uint64_t stamp)
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
            detail::GridCell& cell = w.shiftgrid[gx][gy];
            if (bounds && detail::userCalls == stamp && cell.bounds.Apart(s.posX, s.posY, s.radius))
                continue;
            if (Turn t = CollideCell(w, s, &cell); t != Turn::Go)
                return t;
        }
    }
    return Turn::Go;
}

// Collides s with the later masses of the pass's array. Once user code has run in this pass, a mass
// it has taken out of the world is passed over.
inline Turn CollideLater(TPhysics& w, TMass& s, TMass* const* later, TMass* const* end, std::uint64_t stamp)
{
    for (; later != end; ++later)
    {
        TMass& o = **later;
        if (!MayTouch(s, o))
            continue;
        if (detail::userCalls != stamp && !o.link.IsLinked())
            continue;
        const std::uint64_t calls = detail::userCalls;
        s.Collide(o);
        if (detail::userCalls != calls)
            if (Turn t = Standing(w, s); t != Turn::Go)
                return t;
    }
    return Turn::Go;
}

// Collides s with every zone of the list that admits it, in list order. The list is walked live:
// zones that a response frees are not visited again, zones added are.
inline Turn CollideZones(TPhysics& w, TMass& s, const TList<TZoneRef>& zones)
{
    const std::uint64_t calls = detail::userCalls;
    for (const TZoneRef& z : zones)
    {
        detail::zoneCollide(*z, s);
        if (detail::userCalls != calls)
            if (Turn t = Standing(w, s); t != Turn::Go)
                return t;
    }
    return Turn::Go;
}

// Marks the step as running for as long as it lives, and lets go of the masses kept for it at the end.
class StepRun
{
  public:
    StepRun() { detail::step.running = 1; }
    ~StepRun()
    {
        detail::step.running = 0;
        std::vector<TMassRef> last;
        last.swap(detail::step.released);
        last.clear();                     // their destructors may touch the registries
        last.swap(detail::step.released); // keeps the capacity
    }
    StepRun(const StepRun&) = delete;
    StepRun& operator=(const StepRun&) = delete;
};

} // namespace

int TPhysics::Update()
{
    if (detail::step.running || !world || !massList || !constraintList)
        return 0;
    // Local handles: a hook or a zone response may replace or free the world during the step.
    std::shared_ptr<TPhysics> keep = world;
    TListRef<TMassRef> masses = massList;
    TListRef<TConstraintRef> constraints = constraintList;
    TListRef<TZoneRef> zones = zoneList;
    TPhysics& w = *keep;
    StepRun run;

    // Flat copies of the registries, taken again only when they have changed. Nothing changes them
    // during integration or the constraint stage; a hook or zone response may change them between
    // masses, and the next pass sees that.
    auto takeSnapshot = [&] {
        if (w.massesVersion == detail::registryVersion &&
            static_cast<int>(w.snapshot.size()) == masses->Count())
            return;
        w.snapshot.clear();
        for (const TMassRef& ref : *masses)
            w.snapshot.push_back(ref.get());
        w.massesVersion = detail::registryVersion;
    };
    auto takeConstraints = [&] {
        if (w.constraintsVersion == detail::registryVersion &&
            static_cast<int>(w.constraintArray.size()) == constraints->Count())
            return;
        w.constraintArray.clear();
        for (const TConstraintRef& ref : *constraints)
            w.constraintArray.push_back(ref.get());
        w.constraintsVersion = detail::registryVersion;
    };

    takeSnapshot();
    bool collidable = false; // any mass that can meet another; else the cells' bounds serve nothing
    for (TMass* mp : w.snapshot)
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

    TColEvent::Flush();

    const int passes = w.i;
    for (int pass = 0; pass < passes; ++pass)
    {
        takeConstraints();
        for (TConstraint* c : w.constraintArray)
            detail::Relax(*c);
        const bool bounds = w.gridon && collidable;
        if (bounds)
            TakeCellBounds(w);
        const std::uint64_t stamp = detail::userCalls;

        takeSnapshot();
        TMass* const* array = w.snapshot.data();
        const std::size_t count = w.snapshot.size();
        for (std::size_t j = 0; j < count; ++j)
        {
            TMass& s = *array[j];
            // Once user code has run in this pass, a mass it took out of the world has no turn.
            Turn t = detail::userCalls == stamp ? Turn::Go : Standing(w, s);
            if (t == Turn::Go)
                t = Bounds(w, s);
            if (t == Turn::Go && !s.frozen && zones && detail::zoneCollide)
                t = CollideZones(w, s, *zones);
            if (t == Turn::Go)
            {
                if (w.gridon)
                    t = CollideThroughGrid(w, s, bounds, stamp);
                else if (s.colGroup != 0.0f) // group 0 meets nothing: no pair to look at
                    t = CollideLater(w, s, array + j + 1, array + count, stamp);
            }
            if (t == Turn::Stop)
                return 0;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Camera and world-space drawing

int TPhysics::SetDrawCoords(float x, float y)
{
    if (!world)
        return 0;
    world->centerX = x;
    world->centerY = y;
    return UpdateTransform();
}

int TPhysics::SetDrawZoom(float zoom)
{
    if (!world)
        return 0;
    world->drawScale = zoom;
    return UpdateTransform();
}

int TPhysics::SetDrawRotation(float degrees)
{
    if (!world)
        return 0;
    world->drawRot = degrees;
    return UpdateTransform();
}

int TPhysics::UpdateTransform()
{
    if (!world)
        return 0;
    TPhysics& w = *world;
    w.drawIX = CosDeg(w.drawRot) * w.drawScale;
    w.drawIY = -SinDeg(w.drawRot) * w.drawScale;
    w.drawJX = SinDeg(w.drawRot) * w.drawScale;
    w.drawJY = CosDeg(w.drawRot) * w.drawScale;
    w.drawOffsetX = -w.centerX * w.drawIX - w.centerY * w.drawIY + static_cast<float>(GraphicsWidth()) * 0.5f;
    w.drawOffsetY =
        -w.centerX * w.drawJX - w.centerY * w.drawJY + static_cast<float>(GraphicsHeight()) * 0.5f;
    return 0;
}

float TPhysics::ScreenX(float x, float y)
{
    if (!world)
        return 0.0f;
    return world->drawOffsetX + x * world->drawIX + y * world->drawIY;
}

float TPhysics::ScreenY(float x, float y)
{
    if (!world)
        return 0.0f;
    return world->drawOffsetY + x * world->drawJX + y * world->drawJY;
}

float TPhysics::SimX(float sx, float sy)
{
    if (!world)
        return 0.0f;
    const TPhysics& w = *world;
    float dx = sx - w.drawOffsetX;
    float dy = sy - w.drawOffsetY;
    return (dx * w.drawIX - dy * w.drawIY) / (w.drawScale * w.drawScale);
}

float TPhysics::SimY(float sx, float sy)
{
    if (!world)
        return 0.0f;
    const TPhysics& w = *world;
    float dx = sx - w.drawOffsetX;
    float dy = sy - w.drawOffsetY;
    return (-dx * w.drawJX + dy * w.drawJY) / (w.drawScale * w.drawScale);
}

float TPhysics::MouseX()
{
    return SimX(static_cast<float>(MouseScreenX()), static_cast<float>(MouseScreenY()));
}

float TPhysics::MouseY()
{
    return SimY(static_cast<float>(MouseScreenX()), static_cast<float>(MouseScreenY()));
}

int TPhysics::DrawImage(const TImageRef& image, float x, float y, int frame)
{
    if (!world)
        return 0;
    float sx = 0.0f, sy = 0.0f;
    GetScale(sx, sy);
    float r = GetRotation();
    SetScale(sx * world->drawScale, sy * world->drawScale);
    SetRotation(r + world->drawRot);
    ravel::DrawImage(image, ScreenX(x, y), ScreenY(x, y), frame);
    SetScale(sx, sy);
    SetRotation(r);
    return 0;
}

int TPhysics::DrawPoly(const std::vector<float>& xy, float x, float y)
{
    if (!world)
        return 0;
    float sx = 0.0f, sy = 0.0f;
    GetScale(sx, sy);
    SetScale(world->drawScale, world->drawScale);
    float ox = 0.0f, oy = 0.0f;
    GetOrigin(ox, oy);
    SetOrigin(ScreenX(x, y) + ox, ScreenY(x, y) + oy);
    float r = GetRotation();
    SetRotation(world->drawRot + r);
    ravel::DrawPoly(xy);
    SetOrigin(ox, oy);
    SetRotation(r);
    SetScale(sx, sy);
    return 0;
}

int TPhysics::DrawLine(float x1, float y1, float x2, float y2)
{
    if (!world)
        return 0;
    ravel::DrawLine(ScreenX(x1, y1), ScreenY(x1, y1), ScreenX(x2, y2), ScreenY(x2, y2), 1);
    return 0;
}

int TPhysics::DrawOval(float x, float y, float w, float h)
{
    if (!world)
        return 0;
    float r = GetRotation();
    SetRotation(world->drawRot + r);
    ravel::DrawOval(ScreenX(x, y), ScreenY(x, y), w * world->drawScale, h * world->drawScale);
    SetRotation(r);
    return 0;
}

int TPhysics::DrawRect(float x, float y, float w, float h)
{
    if (!world)
        return 0;
    float r = GetRotation();
    SetRotation(world->drawRot + r);
    ravel::DrawRect(ScreenX(x, y), ScreenY(x, y), w * world->drawScale, h * world->drawScale);
    SetRotation(r);
    return 0;
}

} // namespace ravel
