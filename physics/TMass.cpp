// physics/TMass.cpp: masses, their activity count, grid filing and mass-versus-mass contact.
#include "physics/TMass.h"

#include "physics/TColEvent.h"
#include "physics/TPhysics.h"
#include "physics/detail/Contact.h"
#include "physics/detail/Pool.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Report.h"
#include "physics/detail/Step.h"
#include "physics/detail/World.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"

#include <algorithm>
#include <cmath>

namespace ravel
{

namespace
{

// Floor of a cell coordinate, clamped into [0, last] before it becomes an integer, so that huge or
// undefined coordinates land in the edge cells too.
inline int Cell(float coordinate, float ratio, int last)
{
    float c = std::floor(coordinate * ratio);
    if (!(c > 0.0f))
        return 0;
    if (c > static_cast<float>(last))
        return last;
    return static_cast<int>(c);
}

// Brakes one mass's velocity along the surface with normal (nx, ny) by up to `budget`.
inline void BrakeOne(TMass& m, float nx, float ny, float budget)
{
    float tx, ty;
    detail::Tangential(m, nx, ny, tx, ty);
    float t = std::sqrt(tx * tx + ty * ty);
    if (budget >= t)
    {
        m.oldPosX = m.oldPosX + tx;
        m.oldPosY = m.oldPosY + ty;
    }
    else
    {
        float k = budget / t;
        m.oldPosX = m.oldPosX + tx * k;
        m.oldPosY = m.oldPosY + ty * k;
    }
}

} // namespace

TMassRef TMass::Create(float x, float y, float mass, float radius, float friction, int colGroup)
{
    TMassRef m = std::allocate_shared<TMass>(detail::PoolAllocator<TMass>(), Key());
    m->name = "Mass";
    m->posX = m->oldPosX = x;
    m->posY = m->oldPosY = y;
    m->mass = mass;
    m->radius = radius;
    m->friction = ClampUnit(friction);
    m->colGroup = static_cast<float>(detail::TakeGroup(colGroup));
    return m;
}

TMass::~TMass()
{
    Unfile();
    detail::OrphanEvents(*this);
}

int TMass::EventKind() const
{
    return TColEvent::MASS_MASS;
}

TMassRef TMass::Copy() const
{
    TMassRef m = std::allocate_shared<TMass>(detail::PoolAllocator<TMass>(), Key());
    m->name = name;
    m->posX = posX;
    m->posY = posY;
    m->oldPosX = oldPosX;
    m->oldPosY = oldPosY;
    m->mass = mass;
    m->radius = radius;
    m->friction = friction;
    m->colGroup = colGroup;
    m->frozen = frozen;
    m->index = index;
    return m;
}

int TMass::SetName(const std::string& n)
{
    name = n;
    return 0;
}

int TMass::Move(float dx, float dy)
{
    if (!frozen)
    {
        posX = posX + dx;
        posY = posY + dy;
    }
    return 0;
}

int TMass::Translate(float dx, float dy)
{
    posX = posX + dx;
    posY = posY + dy;
    oldPosX = oldPosX + dx;
    oldPosY = oldPosY + dy;
    return 0;
}

int TMass::Position(float x, float y)
{
    posX = oldPosX = x;
    posY = oldPosY = y;
    return 0;
}

int TMass::GetPosition(float& x, float& y) const
{
    x = posX;
    y = posY;
    return 0;
}

int TMass::SetMass(float m)
{
    mass = m;
    return 0;
}

int TMass::SetRadius(float r)
{
    radius = r;
    return 0;
}

int TMass::SetFriction(float f)
{
    friction = ClampUnit(f);
    return 0;
}

int TMass::Freeze()
{
    oldPosX = posX;
    oldPosY = posY;
    frozen = 1;
    return 0;
}

int TMass::Thaw()
{
    frozen = 0;
    return 0;
}

int TMass::SetVelocity(float vx, float vy)
{
    if (!frozen)
    {
        oldPosX = posX - vx;
        oldPosY = posY - vy;
    }
    return 0;
}

int TMass::AddVelocity(float vx, float vy)
{
    if (!frozen)
    {
        oldPosX = oldPosX - vx;
        oldPosY = oldPosY - vy;
    }
    return 0;
}

float TMass::GetVelocity() const
{
    float vx = posX - oldPosX;
    float vy = posY - oldPosY;
    return std::sqrt(vx * vx + vy * vy);
}

int TMass::SetColGroup(int group)
{
    colGroup = static_cast<float>(detail::TakeGroup(group));
    return 0;
}

int TMass::Draw() const
{
    float r = GetRotation();
    SetRotation(0.0f);
    TPhysics::DrawOval(posX - radius, posY - radius, 2.0f * radius, 2.0f * radius);
    SetRotation(r);
    return 0;
}

bool TMass::InWorld() const
{
    return joined_ == detail::registry.generation && link.IsLinked();
}

// Joins the current world's massList and grid; nothing to join while there is no world.
void TMass::Join()
{
    if (!massList)
        return;
    if (TMassRef self = std::static_pointer_cast<TMass>(weak_from_this().lock()))
    {
        link = detail::Enlist(*massList, std::move(self));
        joined_ = detail::registry.generation;
        AddToGrid();
    }
}

void TMass::Rejoin()
{
    if (refCounter > 0 && !InWorld())
        Join();
}

int TMass::AddRef()
{
    if (refCounter == 0)
        Join();
    else
        Rejoin();
    ++refCounter;
    return 0;
}

int TMass::SubRef()
{
    --refCounter;
    if (refCounter != 0)
        return 0;
    TMassRef self = std::static_pointer_cast<TMass>(weak_from_this().lock());
    // A step in progress may still hold this mass in its pass: keep it alive until the step ends.
    if (self && detail::step.running && link.IsLinked())
        detail::step.kept.push_back(self);
    // This step's events may name it without holding it: the queue keeps it until the flush.
    detail::KeepForEvents(*this);
    Unfile();
    detail::Delist(link);
    return 0;
}

void TMass::Unfile()
{
    detail::GridCell* cell = cell_;
    if (!cell)
        return;
    cell->Remove(this);
    cell_ = nullptr;
}

int TMass::AddToGrid()
{
    detail::World* w = detail::CurrentWorld();
    const int last = w ? w->gridsize - 1 : -1;
    if (last < 0)
    {
        Unfile();
        return 0;
    }
    gridx = Cell(posX, w->ratiox, last);
    gridy = Cell(posY, w->ratioy, last);
    detail::GridCell& cell = w->shiftgrid[gridx][gridy];
    cell.bounds.Cover(posX, posY, radius);
    const detail::SlotCopy copy{posX, posY, radius, colGroup};
    // Already the last of its own cell: taking it out and appending it again would change nothing but
    // the copy.
    if (cell_ == &cell && cell.End()[-1] == this)
    {
        cell.copies.back() = copy;
        return 0;
    }
    Unfile();
    cell_ = &cell;
    cell.Append(this, copy);
    return 0;
}

int TMass::Collide(TMass& b)
{
    TMass& a = *this;
    if (a.frozen && b.frozen)
        return 0;
    float r = a.radius + b.radius;
    if (std::fabs(b.posX - a.posX) > r || std::fabs(b.posY - a.posY) > r)
        return 0;
    float dx = a.posX - b.posX;
    float dy = a.posY - b.posY;
    float dist = detail::FloorDistance(std::sqrt(dx * dx + dy * dy));
    float nx = dx / dist;
    float ny = dy / dist;
    float pen = dist - r;
    if (pen >= 0.0f)
        return 0;
    float sx = nx * pen;
    float sy = ny * pen;
    float budget = -pen * (a.friction + b.friction) * 0.5f;

    if (b.frozen)
    {
        a.posX = a.posX - sx;
        a.posY = a.posY - sy;
        BrakeOne(a, nx, ny, budget);
    }
    else if (a.frozen)
    {
        b.posX = b.posX + sx;
        b.posY = b.posY + sy;
        BrakeOne(b, nx, ny, budget);
    }
    else
    {
        float shareA, shareB;
        detail::WeightShares(a, b, shareA, shareB);
        a.posX = a.posX - sx * shareA;
        a.posY = a.posY - sy * shareA;
        b.posX = b.posX + sx * shareB;
        b.posY = b.posY + sy * shareB;

        float tax, tay, tbx, tby;
        detail::Tangential(a, nx, ny, tax, tay);
        detail::Tangential(b, nx, ny, tbx, tby);
        float hx = tax - (tax + tbx) * 0.5f;
        float hy = tay - (tay + tby) * 0.5f;
        float h = std::sqrt(hx * hx + hy * hy);
        if (budget >= h)
        {
            a.oldPosX = a.oldPosX + hx;
            a.oldPosY = a.oldPosY + hy;
            b.oldPosX = b.oldPosX - hx;
            b.oldPosY = b.oldPosY - hy;
        }
        else
        {
            float k = budget / h;
            a.oldPosX = a.oldPosX + hx * k;
            a.oldPosY = a.oldPosY + hy * k;
            b.oldPosX = b.oldPosX - hx * k;
            b.oldPosY = b.oldPosY - hy * k;
        }
    }

    detail::ReportContact(a, b, (a.posX + b.posX) * 0.5f, (a.posY + b.posY) * 0.5f, -pen);
    return 0;
}

} // namespace ravel
