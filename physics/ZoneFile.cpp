// physics/ZoneFile.cpp: zone files (load and save) and zone copies.
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "physics/detail/SaveFiles.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <cstdint>

namespace ravel
{

namespace
{

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

// Bytes of the fixed fields between the vertex array and the quadtree.
constexpr std::int64_t kSettingsBytes = 4 * 16;

} // namespace

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

    detail::SaveFiles save(path);
    TStreamRef stream = WriteStream(save.Temp());
    if (!stream)
        return 0;
    TStream& out = *stream;
    out.WriteString("ZONE");
    out.WriteByte(0x6F);
    out.WriteLine(detail::NameLine(name));
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

    if (ok && sidePicture)
        ok = SavePixmapPNG(*pixmap, save.Side(SideImagePath(path)), 5) != 0;
    if (ok)
        save.Commit(backup != 0);
    else
        save.Discard();
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
