// physics/TZone.cpp: the zone model: settings, transform, vertex editing, quadtree and drawing.
#include "physics/TZone.h"

#include "physics/TColEvent.h"
#include "physics/TPhysics.h"
#include "physics/detail/Contact.h"
#include "physics/detail/DrawStateGuard.h"
#include "physics/detail/Report.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"

#include <cmath>
#include <initializer_list>

namespace ravel
{

namespace
{

// The vertex arrays with `erase` floats removed at `at` and `insert` put there, as a new array.
std::vector<float> Spliced(const std::vector<float>& src, std::size_t at, std::size_t erase,
                           std::initializer_list<float> insert)
{
    std::vector<float> out;
    out.reserve(src.size() - erase + insert.size());
    out.insert(out.end(), src.begin(), src.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), insert);
    out.insert(out.end(), src.begin() + static_cast<std::ptrdiff_t>(at + erase), src.end());
    return out;
}

} // namespace

TZoneRef TZone::Create(std::vector<float> area, int style, float friction, int colGroup, int qtLevel)
{
    if (area.size() < 4 || area.size() % 2 != 0)
        return nullptr;
    auto zone = std::make_shared<TZone>();
    zone->name = "Zone";
    zone->area = area;
    zone->origArea = std::move(area);
    zone->style = style;
    zone->friction = ClampUnit(friction);
    zone->colGroup = detail::TakeGroup(colGroup);
    zone->Register();
    zone->CalcQuadTree(qtLevel);
    return zone;
}

TZone::~TZone()
{
    detail::OrphanEvents(*this);
}

int TZone::EventKind() const
{
    return TColEvent::MASS_ZONE;
}

// Joins the current world's zoneList; nothing to join while there is no world.
int TZone::Register()
{
    if (zoneList)
    {
        TObjectRef self = weak_from_this().lock();
        if (self)
            link = zoneList->AddLast(std::static_pointer_cast<TZone>(self));
    }
    return 0;
}

int TZone::SetName(const std::string& text)
{
    name = text;
    return 0;
}

int TZone::SetFriction(float value)
{
    friction = ClampUnit(value);
    return 0;
}

int TZone::SetStyle(int value)
{
    style = value;
    return 0;
}

int TZone::Position(float x, float y)
{
    offsetX = x;
    offsetY = y;
    return 0;
}

int TZone::Move(float dx, float dy)
{
    offsetX += dx;
    offsetY += dy;
    return 0;
}

int TZone::Rotate(float degrees)
{
    angle = degrees;
    UpdateArea();
    return CalcQuadTree(qtLevel);
}

int TZone::Turn(float degrees)
{
    angle += degrees;
    UpdateArea();
    return CalcQuadTree(qtLevel);
}

int TZone::SetScale(float sx, float sy)
{
    scaleX = sx;
    scaleY = sy;
    UpdateArea();
    return CalcQuadTree(qtLevel);
}

int TZone::GetScale(float& sx, float& sy) const
{
    sx = scaleX;
    sy = scaleY;
    return 0;
}

int TZone::SetColor(int r, int g, int b)
{
    red = ChannelFraction(r);
    green = ChannelFraction(g);
    blue = ChannelFraction(b);
    return 0;
}

int TZone::GetColor(int& r, int& g, int& b) const
{
    r = static_cast<int>(red * 255.0f);
    g = static_cast<int>(green * 255.0f);
    b = static_cast<int>(blue * 255.0f);
    return 0;
}

int TZone::SetAlpha(float value)
{
    alpha = value;
    return 0;
}

int TZone::SetBlend(int mode)
{
    blend = mode;
    return 0;
}

// Scale, then rotate through polar form; every intermediate is a float.
void TZone::TransformVertex(float x, float y, float& tx, float& ty) const
{
    float sx = x * scaleX;
    float sy = y * scaleY;
    float r = std::sqrt(sx * sx + sy * sy);
    float a = Atan2Deg(sy, sx) + angle;
    tx = CosDeg(a) * r;
    ty = r * SinDeg(a);
}

int TZone::VertCount() const
{
    return (static_cast<int>(origArea.size()) + 1) / 2;
}

int TZone::VertAddLast(float x, float y)
{
    return VertInsert(VertCount(), x, y);
}

int TZone::VertAddFirst(float x, float y)
{
    return VertInsert(0, x, y);
}

int TZone::VertInsert(int index, float x, float y)
{
    if (index < 0 || index > VertCount())
        return 0;
    return Splice(static_cast<std::size_t>(index) * 2, 0, true, x, y);
}

int TZone::VertRemoveLast()
{
    if (VertCount() <= 2)
        return 0;
    return VertRemove(VertCount() - 1);
}

int TZone::VertRemoveFirst()
{
    if (VertCount() <= 2)
        return 0;
    return VertRemove(0);
}

int TZone::VertRemove(int index)
{
    if (VertCount() < 3 || index < 0 || index >= VertCount())
        return 0;
    return Splice(static_cast<std::size_t>(index) * 2, 2, false, 0.0f, 0.0f);
}

int TZone::Splice(std::size_t at, std::size_t erase, bool insert, float x, float y)
{
    if (insert)
    {
        float tx = 0.0f, ty = 0.0f;
        TransformVertex(x, y, tx, ty);
        origArea = Spliced(origArea, at, erase, {x, y});
        area = Spliced(area, at, erase, {tx, ty});
    }
    else
    {
        origArea = Spliced(origArea, at, erase, {});
        area = Spliced(area, at, erase, {});
    }
    return CalcQuadTree(qtLevel);
}

int TZone::VertPosition(int index, float x, float y)
{
    if (index < 0 || index >= VertCount())
        return 0;
    std::size_t at = static_cast<std::size_t>(index) * 2;
    origArea[at] = x;
    origArea[at + 1] = y;
    TransformVertex(x, y, area[at], area[at + 1]);
    return CalcQuadTree(qtLevel);
}

int TZone::VertGetPosition(int index, float& x, float& y) const
{
    if (index < 0 || index >= VertCount())
        return 0;
    x = origArea[static_cast<std::size_t>(index) * 2];
    y = origArea[static_cast<std::size_t>(index) * 2 + 1];
    return 0;
}

float TZone::VertGetX(int index) const
{
    if (index < 0 || index >= VertCount())
        return 0.0f;
    return origArea[static_cast<std::size_t>(index) * 2];
}

float TZone::VertGetY(int index) const
{
    if (index < 0 || index >= VertCount())
        return 0.0f;
    return origArea[static_cast<std::size_t>(index) * 2 + 1];
}

int TZone::CalcQuadTree(int level)
{
    qtLevel = level;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    if (!RootCell(area, x, y, w, h))
    {
        quadTree = nullptr;
        return 0;
    }
    quadTree = TQuadTree::Create(area, style, x, y, w, h, level);
    return 0;
}

int TZone::SetColGroup(int group)
{
    colGroup = detail::TakeGroup(group);
    return 0;
}

int TZone::Free()
{
    if (link.IsLinked())
        detail::KeepForEvents(*this);
    link.Remove();
    return 0;
}

int TZone::ImageSet(const TImageRef& picture)
{
    image = picture;
    return 0;
}

int TZone::ImageSetScale(float sx, float sy)
{
    imgScaleX = sx;
    imgScaleY = sy;
    return 0;
}

int TZone::ImageGetScale(float& sx, float& sy) const
{
    sx = imgScaleX;
    sy = imgScaleY;
    return 0;
}

int TZone::Draw() const
{
    detail::TDrawStateGuard saved;
    ravel::SetBlend(blend);
    saved.Tint(red, green, blue, alpha);
    if (image)
    {
        ravel::SetRotation(angle);
        ravel::SetScale(scaleX * imgScaleX, scaleY * imgScaleY);
        TPhysics::DrawImage(image, offsetX, offsetY, 0);
    }
    else
    {
        ravel::SetRotation(0.0f);
        ravel::SetScale(1.0f, 1.0f);
        const std::size_t n = area.size() / 2;
        if (n >= 2 && (style == LINE || style == LOOP || style == HOLE))
        {
            for (std::size_t k = 0; k + 1 < n; ++k)
                TPhysics::DrawLine(area[2 * k] + offsetX, area[2 * k + 1] + offsetY,
                                   area[2 * k + 2] + offsetX, area[2 * k + 3] + offsetY);
            if (style != LINE)
                TPhysics::DrawLine(area[2 * (n - 1)] + offsetX, area[2 * (n - 1) + 1] + offsetY,
                                   area[0] + offsetX, area[1] + offsetY);
        }
        else if (n >= 2 && style == FILL)
            TPhysics::DrawPoly(area, offsetX, offsetY);
    }
    return 0;
}

int TZone::DrawQuadTree(int mode) const
{
    if (quadTree)
        quadTree->Draw(offsetX, offsetY, mode);
    return 0;
}

int TZone::OverrideCollision(TZoneResponse response)
{
    if (response)
        ColResponse = std::move(response);
    else
        ColResponse = &TZone::ColDefault;
    return 0;
}

int TZone::UpdateArea()
{
    area.resize(origArea.size());
    for (std::size_t k = 0; k + 1 < origArea.size(); k += 2)
        TransformVertex(origArea[k], origArea[k + 1], area[k], area[k + 1]);
    return 0;
}

// The cell a zone's tree covers: the bounding box of the vertices, enlarged by 1 on every side.
bool TZone::RootCell(const std::vector<float>& area, float& x, float& y, float& w, float& h)
{
    if (area.size() < 2)
        return false;
    float minX = area[0], minY = area[1], maxX = area[0], maxY = area[1];
    for (std::size_t k = 2; k + 1 < area.size(); k += 2)
    {
        if (area[k] < minX)
            minX = area[k];
        if (area[k] > maxX)
            maxX = area[k];
        if (area[k + 1] < minY)
            minY = area[k + 1];
        if (area[k + 1] > maxY)
            maxY = area[k + 1];
    }
    x = minX - 1.0f;
    y = minY - 1.0f;
    w = (maxX - minX) + 2.0f;
    h = (maxY - minY) + 2.0f;
    return true;
}

} // namespace ravel
