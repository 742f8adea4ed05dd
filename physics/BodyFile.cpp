// physics/BodyFile.cpp: reading, writing and copying indexed bodies.
#include "physics/TAdvBody.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/detail/SaveFiles.h"
#include "platform/FileSystem.h"
#include "platform/TStream.h"

#include <cstdint>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace ravel
{

namespace
{

// Empty slots cost no bytes in a file, so a table may legitimately be longer than the file; beyond
// this many slots more than the file's remaining bytes it is taken for damage, which bounds the memory
// a file can make the loader reserve.
constexpr std::int64_t kSpareSlots = 65536;

// A reader that refuses to read past the end: the stream itself would supply zeros there, and a file
// cut short would then never reach its terminators.
class Reader
{
  public:
    explicit Reader(TStream& s) : in(s) {}

    int Int() { return Has(4) ? in.ReadInt() : 0; }
    float Float() { return Has(4) ? in.ReadFloat() : 0.0f; }
    int Byte() { return Has(1) ? in.ReadByte() : 0; }
    // A line always ends with LF; one cut off by the end of the file is still read, and the field
    // after it then fails.
    std::string Line() { return Has(1) ? in.ReadLine() : std::string(); }
    // A table count: not negative and not beyond what the rest of the file can stand for.
    int Count()
    {
        int n = Int();
        if (n < 0 || n > in.Remaining() + kSpareSlots)
            ok = false;
        return ok ? n : 0;
    }
    // The next record's slot in a table of `count` slots; -1 at the terminator or on failure.
    int Slot(int count)
    {
        int s = Int();
        if (!ok || s == -1)
            return -1;
        if (s < 0 || s >= count)
        {
            ok = false;
            return -1;
        }
        return s;
    }

    TStream& in;
    bool ok = true;

  private:
    bool Has(std::int64_t n)
    {
        if (ok && in.Remaining() >= n)
            return true;
        ok = false;
        return false;
    }
};

// The version a magic stands for: "BODY" is 103, "Bnnn" is nnn (0 when not digits), -1 is refused.
int MagicVersion(const std::string& magic)
{
    if (magic.size() != 4 || magic[0] != 'B')
        return -1;
    if (magic == "BODY")
        return 103;
    int v = 0;
    for (int k = 1; k < 4; ++k)
    {
        char c = magic[static_cast<std::size_t>(k)];
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string SideImagePath(const std::string& path, int slot)
{
    return StripExt(path) + "_img" + std::to_string(slot) + ".png";
}

// Negative collision groups are private to one body: each one found is replaced by a fresh group,
// shared by the masses that shared it before. Zero and positive groups are kept.
void RenumberGroups(TAdvBody& body, const std::vector<int>& stored)
{
    std::map<int, int> fresh;
    for (int i = 0; i < body.mIndex; ++i)
    {
        TMassRef m = body.MassGet(i);
        int group = stored[static_cast<std::size_t>(i)];
        if (!m || group >= 0)
            continue;
        auto found = fresh.find(group);
        if (found != fresh.end())
            m->SetColGroup(found->second);
        else
        {
            m->SetColGroup(-1);
            fresh.emplace(group, m->GetColGroup());
        }
    }
}

template <class T> void MakeTable(int count, int& index, std::vector<T>& array)
{
    index = count;
    array.assign(static_cast<std::size_t>(count), nullptr);
}

// Reads everything after the magic into a new inactive body; null when the file is damaged. The
// masses keep group 0 here and their stored groups go to `groups`, so that a refused file takes no
// automatic group.
TAdvBodyRef ReadBody(Reader& r, int version, const std::string& path, std::vector<int>& groups)
{
    auto body = std::make_shared<TAdvBody>();
    body->name = r.Line();

    MakeTable(r.Count(), body->mIndex, body->mArray);
    groups.assign(body->mArray.size(), 0);
    for (int s = r.Slot(body->mIndex); s >= 0; s = r.Slot(body->mIndex))
    {
        float x = r.Float(), y = r.Float(), mass = r.Float(), radius = r.Float(), friction = r.Float();
        int group = r.Int();
        std::string name = r.Line();
        int frozen = r.Byte();
        float vx = r.Float(), vy = r.Float();
        // A mass keeps its group in a float, which holds whole numbers exactly only up to 2^24 in
        // magnitude; a larger stored group cannot be kept and marks a damaged file.
        constexpr int GROUP_LIMIT = 1 << 24;
        if (!r.ok || body->mArray[static_cast<std::size_t>(s)] || group > GROUP_LIMIT || group < -GROUP_LIMIT)
            return nullptr;
        TMassRef m = TMass::Create(x, y, mass, radius, friction, group >= 0 ? group : 0);
        groups[static_cast<std::size_t>(s)] = group;
        m->SetName(name);
        if (frozen != 0)
            m->Freeze();
        m->SetVelocity(vx, vy);
        m->index = s;
        body->mArray[static_cast<std::size_t>(s)] = std::move(m);
    }
    if (!r.ok)
        return nullptr;

    MakeTable(r.Count(), body->cIndex, body->cArray);
    for (int s = r.Slot(body->cIndex); s >= 0; s = r.Slot(body->cIndex))
    {
        int m1 = r.Int(), m2 = r.Int();
        float rest = r.Float(), stiffness = r.Float();
        std::string name = r.Line();
        TMassRef a = body->MassGet(m1), b = body->MassGet(m2);
        if (!r.ok || !a || !b || body->cArray[static_cast<std::size_t>(s)])
            return nullptr;
        TConstraintRef c = TConstraint::Create(a, b, rest, stiffness);
        if (!c)
            return nullptr;
        c->SetName(name);
        c->index = s;
        body->cArray[static_cast<std::size_t>(s)] = std::move(c);
    }
    if (!r.ok)
        return nullptr;

    bool embedded = version >= 111 && r.Byte() != 0;
    MakeTable(r.Count(), body->iIndex, body->iArray);
    for (int s = r.Slot(body->iIndex); s >= 0; s = r.Slot(body->iIndex))
    {
        int mr = r.Byte(), mg = r.Byte(), mb = r.Byte();
        int flags = r.Byte();
        float hx = r.Float(), hy = r.Float();
        if (!r.ok || body->iArray[static_cast<std::size_t>(s)])
            return nullptr;
        SetMaskColor(mr, mg, mb);
        TImageRef image = embedded ? LoadImage(r.in, flags) : LoadImage(SideImagePath(path, s), flags);
        // A body drawn without its pictures is not the body that was saved.
        if (!image)
            return nullptr;
        SetImageHandle(image, hx, hy);
        body->iArray[static_cast<std::size_t>(s)] = std::move(image);
    }
    if (!r.ok)
        return nullptr;

    MakeTable(r.Count(), body->rIndex, body->rArray);
    for (int s = r.Slot(body->rIndex); s >= 0; s = r.Slot(body->rIndex))
    {
        int image = r.Int(), mass = r.Int(), con = r.Int();
        float angle = r.Float();
        float sx = 1.0f, sy = 1.0f, alpha = 1.0f;
        int red = 255, green = 255, blue = 255, blend = 1;
        if (version >= 110)
        {
            sx = r.Float();
            sy = r.Float();
            red = r.Byte();
            green = r.Byte();
            blue = r.Byte();
            alpha = r.Float();
            blend = r.Byte();
        }
        std::string name = r.Line();
        TImageRef img = body->ImageGet(image);
        TMassRef m = body->MassGet(mass);
        if (!r.ok || !img || !m || body->rArray[static_cast<std::size_t>(s)])
            return nullptr;
        // A negative constraint slot, or one naming no constraint, leaves the rig without one.
        TRigRef rig = TRig::Create(img, m, con < 0 ? nullptr : body->ConGet(con), angle);
        if (version >= 110)
        {
            rig->SetScale(sx, sy);
            rig->SetColor(red, green, blue);
            rig->SetAlpha(alpha);
            rig->SetBlend(blend);
        }
        rig->SetName(name);
        body->rArray[static_cast<std::size_t>(s)] = std::move(rig);
    }
    if (!r.ok)
        return nullptr;
    return body;
}

// The slot of an element in a table: its own index when that slot holds it, else the first slot that
// does (the index can only disagree after direct edits of the field); -1 when it is not in the table.
template <class T>
int SlotOf(const std::vector<std::shared_ptr<T>>& array, int count, const std::shared_ptr<T>& e)
{
    if (!e)
        return -1;
    if (e->index >= 0 && e->index < count && array[static_cast<std::size_t>(e->index)] == e)
        return e->index;
    for (int i = 0; i < count; ++i)
        if (array[static_cast<std::size_t>(i)] == e)
            return i;
    return -1;
}

int MassSlotOf(const TAdvBody& body, const TMassRef& m)
{
    return SlotOf(body.mArray, body.mIndex, m);
}

int ConSlotOf(const TAdvBody& body, const TConstraintRef& c)
{
    return SlotOf(body.cArray, body.cIndex, c);
}

// A name as one line of the file.
void WriteName(TStream& out, const std::string& text)
{
    out.WriteLine(detail::NameLine(text));
}

} // namespace

TAdvBodyRef TAdvBody::Load(const std::string& rawPath, int activate)
{
    std::string path = RealPath(rawPath);
    if (FileType(path) != FILETYPE_FILE)
        return nullptr;
    TStreamRef stream = ReadStream(path);
    if (!stream)
        return nullptr;
    // The whole file is read at once and parsed from memory: records are small and many.
    std::int64_t size = stream->Size();
    std::vector<std::uint8_t> bytes;
    try
    {
        if (size > 0)
        {
            bytes.resize(static_cast<std::size_t>(size));
            bytes.resize(stream->Read(bytes.data(), bytes.size()));
        }
    }
    catch (const std::bad_alloc&)
    {
        CloseStream(stream);
        return nullptr;
    }
    CloseStream(stream);
    TMemoryStream file(std::move(bytes));
    int mr = 0, mg = 0, mb = 0;
    GetMaskColor(mr, mg, mb);
    Reader r(file);
    int version = r.in.Remaining() >= 4 ? MagicVersion(r.in.ReadString(4)) : -1;
    std::vector<int> groups;
    TAdvBodyRef body = version >= 0 ? ReadBody(r, version, path, groups) : nullptr;
    if (!body)
    {
        // A refused file leaves the image loader as it found it.
        SetMaskColor(mr, mg, mb);
        return nullptr;
    }
    RenumberGroups(*body, groups);
    if (activate != 0)
        body->Activate();
    return body;
}

int TAdvBody::Save(const std::string& rawPath, int backup, int embedImages)
{
    std::string path = RealPath(rawPath);
    if (StripExt(path) == path)
        path += ".rvb";
    if (FileType(path) == FILETYPE_DIR)
        return 0;
    for (int i = 0; i < iIndex; ++i)
    {
        const TImageRef& image = iArray[static_cast<std::size_t>(i)];
        if (image && (image->pixmaps.empty() || !image->pixmaps[0]))
            return 0; // pixels that cannot be written: keep the old file rather than lose an image
    }

    detail::SaveFiles save(path);
    TStreamRef stream = WriteStream(save.Temp());
    if (!stream)
        return 0;
    TStream& out = *stream;
    bool ok = true;
    out.WriteString("B111");
    WriteName(out, name);

    out.WriteInt(mIndex);
    for (int i = 0; i < mIndex; ++i)
        if (TMass* m = mArray[static_cast<std::size_t>(i)].get())
        {
            out.WriteInt(i);
            out.WriteFloat(m->GetX());
            out.WriteFloat(m->GetY());
            out.WriteFloat(m->GetMass());
            out.WriteFloat(m->GetRadius());
            out.WriteFloat(m->friction);
            out.WriteInt(m->GetColGroup());
            WriteName(out, m->GetName());
            out.WriteByte(m->IsFrozen() != 0 ? 1 : 0);
            out.WriteFloat(m->GetVX());
            out.WriteFloat(m->GetVY());
        }
    out.WriteInt(-1);

    // A constraint whose masses are not in this body's table cannot be described by slots; it is left
    // out, and so are the links of rigs to it.
    std::vector<char> written(static_cast<std::size_t>(cIndex), 0);
    out.WriteInt(cIndex);
    for (int i = 0; i < cIndex; ++i)
        if (TConstraint* c = cArray[static_cast<std::size_t>(i)].get())
        {
            int m1 = MassSlotOf(*this, c->m[0]), m2 = MassSlotOf(*this, c->m[1]);
            if (m1 < 0 || m2 < 0)
                continue;
            written[static_cast<std::size_t>(i)] = 1;
            out.WriteInt(i);
            out.WriteInt(m1);
            out.WriteInt(m2);
            out.WriteFloat(c->GetRestLength());
            out.WriteFloat(c->GetStiffness());
            WriteName(out, c->GetName());
        }
    out.WriteInt(-1);

    out.WriteByte(embedImages != 0 ? 1 : 0);
    out.WriteInt(iIndex);
    for (int i = 0; ok && i < iIndex; ++i)
        if (TImage* image = iArray[static_cast<std::size_t>(i)].get())
        {
            out.WriteInt(i);
            out.WriteByte(image->mask_r);
            out.WriteByte(image->mask_g);
            out.WriteByte(image->mask_b);
            out.WriteByte(image->flags);
            out.WriteFloat(image->handle_x);
            out.WriteFloat(image->handle_y);
            const TPixmap& pixels = *image->pixmaps[0];
            if (embedImages != 0)
                ok = SavePixmapPNG(pixels, out, 9) != 0;
            else
                ok = SavePixmapPNG(pixels, save.Side(SideImagePath(path, i)), 5) != 0;
        }
    out.WriteInt(-1);

    // A rig whose image or mass is not in the tables could not be loaded again; it is left out so that
    // the file stays readable.
    out.WriteInt(rIndex);
    for (int i = 0; i < rIndex; ++i)
        if (TRig* rig = rArray[static_cast<std::size_t>(i)].get())
        {
            int image = -1;
            for (int k = 0; k < iIndex && image < 0; ++k)
                if (rig->image && iArray[static_cast<std::size_t>(k)] == rig->image)
                    image = k;
            int mass = MassSlotOf(*this, rig->mass);
            if (image < 0 || mass < 0)
                continue;
            int con = ConSlotOf(*this, rig->con);
            if (con >= 0 && !written[static_cast<std::size_t>(con)])
                con = -1;
            int r = 0, g = 0, b = 0;
            rig->GetColor(r, g, b);
            out.WriteInt(i);
            out.WriteInt(image);
            out.WriteInt(mass);
            out.WriteInt(con);
            out.WriteFloat(rig->GetAngle());
            float sx = 1.0f, sy = 1.0f;
            rig->GetScale(sx, sy);
            out.WriteFloat(sx);
            out.WriteFloat(sy);
            out.WriteByte(r);
            out.WriteByte(g);
            out.WriteByte(b);
            out.WriteFloat(rig->GetAlpha());
            out.WriteByte(rig->GetBlend());
            WriteName(out, rig->GetName());
        }
    out.WriteInt(-1);

    ok = ok && out.Failed() == 0;
    ok = CloseStream(stream) != 0 && ok;
    if (ok)
        save.Commit(backup != 0);
    else
        save.Discard();
    return 0;
}

TAdvBodyRef TAdvBody::Copy() const
{
    auto body = std::make_shared<TAdvBody>();
    body->name = name;

    MakeTable(mIndex, body->mIndex, body->mArray);
    std::vector<int> groups(static_cast<std::size_t>(mIndex), 0);
    for (int i = 0; i < mIndex; ++i)
        if (const TMassRef& m = mArray[static_cast<std::size_t>(i)])
        {
            TMassRef copy = m->Copy();
            copy->index = i;
            groups[static_cast<std::size_t>(i)] = copy->GetColGroup();
            body->mArray[static_cast<std::size_t>(i)] = std::move(copy);
        }
    RenumberGroups(*body, groups);

    MakeTable(cIndex, body->cIndex, body->cArray);
    for (int i = 0; i < cIndex; ++i)
        if (const TConstraintRef& c = cArray[static_cast<std::size_t>(i)])
        {
            TConstraintRef copy = TConstraint::Create(body->MassGet(MassSlotOf(*this, c->m[0])),
                                                      body->MassGet(MassSlotOf(*this, c->m[1])),
                                                      c->GetRestLength(), c->GetStiffness());
            if (!copy)
                continue;
            copy->index = i;
            copy->SetName(c->GetName());
            body->cArray[static_cast<std::size_t>(i)] = std::move(copy);
        }

    MakeTable(iIndex, body->iIndex, body->iArray);
    for (int i = 0; i < iIndex; ++i)
        body->iArray[static_cast<std::size_t>(i)] = iArray[static_cast<std::size_t>(i)];

    MakeTable(rIndex, body->rIndex, body->rArray);
    for (int i = 0; i < rIndex; ++i)
        if (const TRigRef& rig = rArray[static_cast<std::size_t>(i)])
        {
            TRigRef copy = TRig::Create(rig->image, body->MassGet(MassSlotOf(*this, rig->mass)),
                                        body->ConGet(ConSlotOf(*this, rig->con)), rig->angle);
            copy->name = rig->name;
            copy->scaleX = rig->scaleX;
            copy->scaleY = rig->scaleY;
            int r = 0, g = 0, b = 0;
            rig->GetColor(r, g, b);
            copy->SetColor(r, g, b);
            copy->SetAlpha(rig->alpha);
            copy->SetBlend(rig->blend);
            body->rArray[static_cast<std::size_t>(i)] = std::move(copy);
        }
    return body;
}

} // namespace ravel
