// physics/TZone.cpp: zone geometry, drawing, collision with masses and the zone file.
#include "physics/TZone.h"

#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/detail/DrawStateGuard.h"
#include "physics/detail/Report.h"
#include "physics/detail/UserCode.h"
#include "physics/detail/ZoneStage.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"
#include "platform/FileSystem.h"
#include "platform/Graphics2D.h"
#include "platform/TStream.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <unistd.h>

namespace ravel
{

namespace
{

int NextAutoGroup()
{
    int group = nextAutoColGroup;
    nextAutoColGroup = nextAutoColGroup - 1;
    return group;
}

// A path has an extension when its last "." comes after its last "/".
bool HasExtension(const std::string& path)
{
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

std::string SideImagePath(const std::string& path)
{
    return StripExt(path) + "_img.png";
}

// The step's zone stage for one (zone, mass) pair: the group rule, then the zone's own test.
void CollideAdmitted(TZone& zone, TMass& mass)
{
    if (detail::GroupsCollide(mass.colGroup, static_cast<float>(zone.colGroup)))
        zone.Collide(mass);
}

// What the tree query returns when the mass's square misses the root cell altogether.
constexpr int kMissedRoot = -1;

// Coordinates up to this magnitude have float steps of at most 1/8 unit.
constexpr float kNoRoundingReach = 1048576.0f;

bool Small(float v)
{
    return v < kNoRoundingReach && v > -kNoRoundingReach;
}

// Are the mass and the zone's root cell, placed at (ox, oy), where rounding stays far below one unit?
// False for NaN too.
bool WithinReach(const TQuadTree& root, float ox, float oy, float mx, float my, float r)
{
    float cx = ox + root.posX;
    float cy = oy + root.posY;
    return Small(mx) && Small(my) && Small(r) && Small(cx) && Small(cy) && Small(cx + root.sizeX) &&
           Small(cy + root.sizeY);
}

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

// The cell a zone's tree covers: the bounding box of the vertices, enlarged by 1 on every side.
bool RootCell(const std::vector<float>& area, float& x, float& y, float& w, float& h)
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

// The name as the file can hold it: line ends and zero characters would end the name line early and
// make the rest of the file unreadable, so they are left out.
std::string NameLine(const std::string& name)
{
    std::string line;
    line.reserve(name.size());
    for (char c : name)
        if (c != '\n' && c != '\r' && c != '\0')
            line.push_back(c);
    return line;
}

// A name for a temporary file beside the target, unique to this process.
std::string TempPath(const std::string& path)
{
    return path + ".tmp" + std::to_string(static_cast<long>(getpid()));
}

// Bytes of the fixed fields between the vertex array and the quadtree.
constexpr std::int64_t kSettingsBytes = 4 * 16;

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
    zone->colGroup = colGroup == -1 ? NextAutoGroup() : colGroup;
    zone->Register();
    zone->CalcQuadTree(qtLevel);
    return zone;
}

int TZone::EventKind() const
{
    return TColEvent::MASS_ZONE;
}

// Every zone that joins a world switches the step's zone stage on.
int TZone::Register()
{
    detail::zoneCollide = &CollideAdmitted;
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
    colGroup = group == -1 ? NextAutoGroup() : group;
    return 0;
}

int TZone::Free()
{
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

int TZone::Collide(const TMassRef& mass)
{
    return mass ? Collide(*mass) : 0;
}

int TZone::Collide(TMass& mass)
{
    const std::size_t n = area.size() / 2;
    if (!quadTree || n < 2)
        return 0;
    const float mx = mass.posX;
    const float my = mass.posY;
    const float r = mass.radius;
    // The root's miss value is the style's two low bits, so a mass beyond a closed zone's box still
    // goes on to the exact test; only a HOLE can be touched from there. For LOOP and FILL the exact
    // test cannot find a contact: every vertex lies more than one unit beyond the mass's square, which
    // float rounding cannot bridge while all coordinates stay within kNoRoundingReach. Those misses
    // are settled here without scanning the outline.
    int hit = quadTree->Collide(offsetX, offsetY, mx - r, my - r, r * 2.0f, kMissedRoot);
    if (hit == kMissedRoot)
    {
        hit = style & 3;
        if ((style == LOOP || style == FILL) && WithinReach(*quadTree, offsetX, offsetY, mx, my, r))
            hit = 0;
    }
    if (hit == 0)
        return 0;
    // A style without a contact rule (set after the tree was built) never collides.
    if (style < LINE || style > HOLE)
        return 0;

    float qx = 0.0f, qy = 0.0f;
    float best = 1e38f;
    const float* v = area.data();
    // One segment: the nearest point S of P-C to M, kept when strictly nearer than the best so far.
    auto segment = [&](std::size_t i, std::size_t j) {
        float px = v[2 * i] + offsetX;
        float py = v[2 * i + 1] + offsetY;
        float cx = v[2 * j] + offsetX;
        float cy = v[2 * j + 1] + offsetY;
        float dx = cx - px;
        float dy = cy - py;
        float t = (dx * (mx - px) + dy * (my - py)) / (dx * dx + dy * dy);
        if (!(t >= 0.0f))
            t = 0.0f;
        if (t > 1.0f)
            t = 1.0f;
        float sx = (1.0f - t) * px + t * cx;
        float sy = (1.0f - t) * py + t * cy;
        float ex = mx - sx;
        float ey = my - sy;
        float d2 = ex * ex + ey * ey;
        if (d2 < best)
        {
            best = d2;
            qx = sx;
            qy = sy;
        }
    };
    if (style != LINE)
        segment(n - 1, 0);
    for (std::size_t k = 0; k + 1 < n; ++k)
        segment(k, k + 1);

    // The winding test over the outline in world coordinates, the same function the tree was built with.
    bool inside = false;
    if (style == FILL || style == HOLE)
    {
        int sum = QuadrantWinding(v, static_cast<int>(2 * n), mx, my, offsetX, offsetY);
        inside = sum == 4 || sum == -4;
    }

    float dist = std::sqrt(best);
    if (!(dist >= 0.0001f))
        dist = 0.0001f;
    float nx = 0.0f, ny = 0.0f, depth = 0.0f;
    bool outward = true; // n = (M - Q) / dist, depth = r - dist
    switch (style)
    {
    case LINE:
    case LOOP:
        break;
    case FILL:
        outward = !inside;
        break;
    case HOLE:
        outward = inside;
        break;
    default:
        return 0;
    }
    if (outward)
    {
        nx = (mx - qx) / dist;
        ny = (my - qy) / dist;
        depth = r - dist;
    }
    else
    {
        nx = (qx - mx) / dist;
        ny = (qy - my) / dist;
        depth = dist + r;
    }
    if (!(depth > 0.0f))
        return 0;

    // The standard response needs no handles; any other gets the zone and the mass as shared
    // references, which also keep both alive should it drop the last other reference to either.
    const TZoneResponseFn* plain = ColResponse.target<TZoneResponseFn>();
    if (plain && *plain == &TZone::ColDefault)
    {
        PushOut(*this, mass, nx, ny, depth);
        detail::ReportContact(mass, *this, qx, qy, depth);
        return 0;
    }
    TObjectRef self = weak_from_this().lock();
    TObjectRef other = mass.weak_from_this().lock();
    if (!self || !other)
        return 0;
    TZoneRef zoneRef = std::static_pointer_cast<TZone>(self);
    TMassRef massRef = std::static_pointer_cast<TMass>(other);
    if (ColResponse)
    {
        // A copy runs: the response may install another one in its place while it runs.
        TZoneResponse response = ColResponse;
        detail::EnterUserCode();
        response(zoneRef, massRef, nx, ny, depth);
    }
    detail::ReportContact(mass, *this, qx, qy, depth);
    return 0;
}

int TZone::ColDefault(const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth)
{
    if (!zone || !mass)
        return 0;
    return PushOut(*zone, *mass, nx, ny, depth);
}

int TZone::PushOut(TZone& zone, TMass& m, float nx, float ny, float depth)
{
    m.posX += nx * depth;
    m.posY += ny * depth;
    // The velocity after the push, split into its part along the normal and the sliding rest.
    float vx = m.posX - m.oldPosX;
    float vy = m.posY - m.oldPosY;
    float s = std::sqrt(vx * vx + vy * vy);
    float vn = s * CosDeg(Atan2Deg(vy, vx) - Atan2Deg(ny, nx));
    float tx = vx - nx * vn;
    float ty = vy - ny * vn;
    float tlen = std::sqrt(tx * tx + ty * ty);
    float limit = 0.5f * depth * (zone.friction + m.friction);
    if (tlen <= limit)
    {
        m.posX -= tx;
        m.posY -= ty;
    }
    else
    {
        m.posX -= tx * limit / tlen;
        m.posY -= ty * limit / tlen;
    }
    return 0;
}

// Zone files.

TZoneRef TZone::Load(const std::string& rawPath)
{
    std::string path = RealPath(rawPath);
    if (FileType(path) != FILETYPE_FILE)
        return nullptr;
    TStreamRef stream = ReadStream(path);
    if (!stream)
        return nullptr;
    TStream& in = *stream;
    std::string magic = in.ReadString(4);
    in.ReadByte();
    if (magic != "ZONE")
    {
        CloseStream(stream);
        return nullptr;
    }
    auto zone = std::make_shared<TZone>();
    zone->name = in.ReadLine();
    int count = in.ReadInt();
    // The vertices, the settings and at least one cell and the picture byte must still fit.
    if (count < 4 || count % 2 != 0 ||
        static_cast<std::int64_t>(count) > (in.Remaining() - kSettingsBytes - TQuadTree::CELL_BYTES - 1) / 4)
    {
        CloseStream(stream);
        return nullptr;
    }
    zone->origArea.resize(static_cast<std::size_t>(count));
    for (float& f : zone->origArea)
        f = in.ReadFloat();
    zone->area.resize(zone->origArea.size());
    zone->style = in.ReadInt();
    zone->friction = in.ReadFloat();
    zone->offsetX = in.ReadFloat();
    zone->offsetY = in.ReadFloat();
    zone->angle = in.ReadFloat();
    zone->scaleX = in.ReadFloat();
    zone->scaleY = in.ReadFloat();
    zone->red = in.ReadFloat();
    zone->green = in.ReadFloat();
    zone->blue = in.ReadFloat();
    zone->alpha = in.ReadFloat();
    zone->blend = in.ReadInt();
    int group = in.ReadInt();
    zone->qtLevel = in.ReadInt();
    zone->imgScaleX = in.ReadFloat();
    zone->imgScaleY = in.ReadFloat();
    zone->quadTree = TQuadTree::Read(in);
    // The picture-present byte must follow the tree.
    if (!zone->quadTree || in.Remaining() < 1)
    {
        CloseStream(stream);
        return nullptr;
    }
    if (in.ReadByte() != 0)
    {
        // Mask colour, flags, handle and the embedded byte: 1 + 1 + 1 + 1 + 4 + 4 + 1 bytes.
        if (in.Remaining() < 13)
        {
            CloseStream(stream);
            return nullptr;
        }
        int mr = in.ReadByte();
        int mg = in.ReadByte();
        int mb = in.ReadByte();
        SetMaskColor(mr, mg, mb);
        int flags = in.ReadByte();
        float hx = in.ReadFloat();
        float hy = in.ReadFloat();
        int embedded = in.ReadByte();
        // A picture that cannot be decoded leaves the zone without one; the geometry still loads.
        TImageRef picture = embedded != 0 ? LoadImage(in, flags) : LoadImage(SideImagePath(path), flags);
        if (picture)
        {
            SetImageHandle(picture, hx, hy);
            zone->image = picture;
        }
    }
    CloseStream(stream);
    // The group is applied last, so a refused file never takes an automatic group.
    zone->SetColGroup(group);
    zone->UpdateArea();
    zone->Register();
    return zone;
}

int TZone::Save(const std::string& rawPath, int backup, int embedImage)
{
    std::string path = RealPath(rawPath);
    if (!HasExtension(path))
        path += ".rvz";
    if (FileType(path) == FILETYPE_DIR)
        return 0;
    // A file without vertices could not be loaded again.
    if (origArea.size() < 4 || origArea.size() % 2 != 0)
        return 0;

    // Everything goes to temporary files beside the targets first, so the old files survive a failed
    // save whatever the failure.
    const std::string temp = TempPath(path);
    TStreamRef stream = WriteStream(temp);
    if (!stream)
        return 0;
    TStream& out = *stream;
    out.WriteString("ZONE");
    out.WriteByte(0x6F);
    out.WriteLine(NameLine(name));
    out.WriteInt(static_cast<int>(origArea.size()));
    for (float f : origArea)
        out.WriteFloat(f);
    out.WriteInt(style);
    out.WriteFloat(friction);
    out.WriteFloat(offsetX);
    out.WriteFloat(offsetY);
    out.WriteFloat(angle);
    out.WriteFloat(scaleX);
    out.WriteFloat(scaleY);
    out.WriteFloat(red);
    out.WriteFloat(green);
    out.WriteFloat(blue);
    out.WriteFloat(alpha);
    out.WriteInt(blend);
    out.WriteInt(colGroup < -1 ? -1 : colGroup);
    out.WriteInt(qtLevel);
    out.WriteFloat(imgScaleX);
    out.WriteFloat(imgScaleY);
    if (quadTree)
        quadTree->Write(out);
    else
    {
        // A zone whose style had no tree still needs one in the file: a single leaf over the whole
        // box, which answers every query with "maybe" and leaves the decision to the exact test.
        TQuadTree leaf;
        RootCell(area, leaf.posX, leaf.posY, leaf.sizeX, leaf.sizeY);
        leaf.Write(out);
    }
    bool ok = true;
    const TPixmap* pixmap = image && !image->pixmaps.empty() ? image->pixmaps[0].get() : nullptr;
    const bool sidePicture = pixmap && embedImage == 0;
    if (!pixmap)
        out.WriteByte(0);
    else
    {
        out.WriteByte(1);
        out.WriteByte(image->mask_r);
        out.WriteByte(image->mask_g);
        out.WriteByte(image->mask_b);
        out.WriteByte(image->flags);
        out.WriteFloat(image->handle_x);
        out.WriteFloat(image->handle_y);
        out.WriteByte(embedImage != 0 ? 1 : 0);
        if (embedImage != 0)
            ok = SavePixmapPNG(*pixmap, out, 9) != 0;
    }
    ok = ok && out.Failed() == 0;
    ok = CloseStream(stream) != 0 && ok;

    const std::string side = SideImagePath(path);
    const std::string sideTemp = TempPath(side);
    if (ok && sidePicture)
        ok = SavePixmapPNG(*pixmap, sideTemp, 5) != 0;
    // The backup is part of what was asked for: without it the old file is not replaced. It is copied
    // beside its name first, so that an earlier backup stays when the save fails after this point.
    const std::string backupTemp = TempPath(path + ".bak");
    const bool backingUp = backup != 0 && FileType(path) == FILETYPE_FILE;
    if (ok && backingUp)
        ok = CopyFile(path, backupTemp) != 0;
    if (ok && sidePicture)
        ok = RenameFile(sideTemp, side) != 0;
    if (ok && backingUp)
        ok = RenameFile(backupTemp, path + ".bak") != 0;
    if (ok)
        ok = RenameFile(temp, path) != 0;
    if (!ok)
    {
        DeleteFile(temp);
        if (sidePicture)
            DeleteFile(sideTemp);
        if (backingUp)
            DeleteFile(backupTemp);
    }
    return 0;
}

TZoneRef TZone::Copy() const
{
    if (origArea.size() < 4)
        return nullptr;
    auto zone = std::make_shared<TZone>();
    zone->name = name;
    zone->origArea = origArea;
    zone->area = area;
    zone->style = style;
    zone->friction = friction;
    zone->offsetX = offsetX;
    zone->offsetY = offsetY;
    zone->angle = angle;
    zone->scaleX = scaleX;
    zone->scaleY = scaleY;
    zone->red = red;
    zone->green = green;
    zone->blue = blue;
    zone->alpha = alpha;
    zone->blend = blend;
    zone->colGroup = colGroup;
    zone->qtLevel = qtLevel;
    zone->imgScaleX = imgScaleX;
    zone->imgScaleY = imgScaleY;
    zone->ColResponse = ColResponse;
    zone->quadTree = quadTree;
    zone->image = image;
    zone->Register();
    return zone;
}

} // namespace ravel
