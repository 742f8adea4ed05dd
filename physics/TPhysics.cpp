// physics/TPhysics.cpp: the current world, its settings, its registries and the camera.
#include "physics/TPhysics.h"

#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/detail/Internals.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Report.h"
#include "physics/detail/World.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"

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

RegistryState registry;

TLink Enlist(TList<TMassRef>& masses, TMassRef m)
{
    ++registry.version;
    return masses.AddLast(std::move(m));
}

TLink Enlist(TList<TConstraintRef>& constraints, TConstraintRef c)
{
    ++registry.version;
    return constraints.AddLast(std::move(c));
}

void Delist(TLink& link)
{
    ++registry.version;
    link.Remove();
}

void ReplaceRegistries(bool fresh)
{
    // This step's events may name the world, its masses and zones without holding them.
    KeepRegistriesForEvents();
    constraintList = fresh ? std::make_shared<TList<TConstraintRef>>() : nullptr;
    massList = fresh ? std::make_shared<TList<TMassRef>>() : nullptr;
    zoneList = fresh ? std::make_shared<TList<TZoneRef>>() : nullptr;
    ++registry.version;
    ++registry.generation;
}

World::~World()
{
    OrphanEvents(*this);
    for (auto& column : shiftgrid)
        for (GridCell& cell : column)
            for (TMass* const* m = cell.First(); m != cell.End(); ++m)
                Internals::Cell(**m) = nullptr;
}

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

int TPhysics::EventKind() const
{
    return TColEvent::MASS_BOUNDS;
}

std::shared_ptr<TPhysics> TPhysics::Create(float maxX, float maxY, float gravY, float gravX, int iterations)
{
    std::shared_ptr<TPhysics> w = std::make_shared<detail::World>();
    detail::ReplaceRegistries(true);
    world = w;
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
    detail::ReplaceRegistries(false);
    world = nullptr;
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
