// tests/physics/BodyFileTest.cpp: body files in every version the reader takes, embedded and side-file
// images, backups, group renumbering, damaged files, failed saves and copies.
#include "physics/TAdvBody.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ravel;
namespace fs = std::filesystem;

namespace
{

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 3 x 2 RGB picture with a different colour in every pixel.
TPixmapRef Picture(std::uint8_t seed)
{
    auto p = std::make_shared<TPixmap>();
    p->width = 3;
    p->height = 2;
    p->format = PF_RGB888;
    for (int i = 0; i < 18; ++i)
        p->pixels.push_back(static_cast<std::uint8_t>(seed + 37 * i));
    return p;
}

Bytes PngBytes(const TPixmap& pixmap)
{
    TMemoryStream out;
    SavePixmapPNG(pixmap, out, 9);
    return out.Bytes();
}

// The records of a body file as a test writes them by hand.
struct MassRec
{
    int slot;
    float x, y, mass, radius, friction;
    int group;
    std::string name;
    int frozen;
    float vx, vy;
};
struct ConRec
{
    int slot, m1, m2;
    float rest, stiffness;
    std::string name;
};
struct ImageRec
{
    int slot, mr, mg, mb, flags;
    float hx, hy;
};
struct RigRec
{
    int slot, image, mass, con;
    float angle, sx, sy;
    int r, g, b;
    float alpha;
    int blend;
    std::string name;
};
struct FileSpec
{
    std::string magic = "B111";
    int version = 111; // which optional fields are written
    std::string name = "Cart";
    int massCount = 0;
    std::vector<MassRec> masses;
    int conCount = 0;
    std::vector<ConRec> cons;
    int embedded = 1;
    int imageCount = 0;
    std::vector<ImageRec> images;
    int rigCount = 0;
    std::vector<RigRec> rigs;
};

Bytes Build(const FileSpec& s)
{
    TMemoryStream out;
    out.WriteString(s.magic);
    out.WriteLine(s.name);
    out.WriteInt(s.massCount);
    for (const MassRec& m : s.masses)
    {
        out.WriteInt(m.slot);
        for (float f : {m.x, m.y, m.mass, m.radius, m.friction})
            out.WriteFloat(f);
        out.WriteInt(m.group);
        out.WriteLine(m.name);
        out.WriteByte(m.frozen);
        out.WriteFloat(m.vx);
        out.WriteFloat(m.vy);
    }
    out.WriteInt(-1);
    out.WriteInt(s.conCount);
    for (const ConRec& c : s.cons)
    {
        out.WriteInt(c.slot);
        out.WriteInt(c.m1);
        out.WriteInt(c.m2);
        out.WriteFloat(c.rest);
        out.WriteFloat(c.stiffness);
        out.WriteLine(c.name);
    }
    out.WriteInt(-1);
    if (s.version >= 111)
        out.WriteByte(s.embedded);
    out.WriteInt(s.imageCount);
    for (const ImageRec& i : s.images)
    {
        out.WriteInt(i.slot);
        out.WriteByte(i.mr);
        out.WriteByte(i.mg);
        out.WriteByte(i.mb);
        out.WriteByte(i.flags);
        out.WriteFloat(i.hx);
        out.WriteFloat(i.hy);
        if (s.version >= 111 && s.embedded)
        {
            Bytes png = PngBytes(*Picture(static_cast<std::uint8_t>(i.slot)));
            out.Write(png.data(), png.size());
        }
    }
    out.WriteInt(-1);
    out.WriteInt(s.rigCount);
    for (const RigRec& r : s.rigs)
    {
        out.WriteInt(r.slot);
        out.WriteInt(r.image);
        out.WriteInt(r.mass);
        out.WriteInt(r.con);
        out.WriteFloat(r.angle);
        if (s.version >= 110)
        {
            out.WriteFloat(r.sx);
            out.WriteFloat(r.sy);
            out.WriteByte(r.r);
            out.WriteByte(r.g);
            out.WriteByte(r.b);
            out.WriteFloat(r.alpha);
            out.WriteByte(r.blend);
        }
        out.WriteLine(r.name);
    }
    out.WriteInt(-1);
    return out.Bytes();
}

// Masses in slots 0, 2, 3 of 5 (two of them sharing a negative group), constraints in slots 1 and 2
// of 3, images in slots 0 and 2 of 3, rigs in slots 0 and 2 of 4.
FileSpec Sample()
{
    FileSpec s;
    s.massCount = 5;
    s.masses = {{0, 10, 20, 1.5f, 4, 0.25f, -7, "nose", 0, 1, -2},
                {2, 40, 20, 2, 5, 0.5f, -7, "tail", 1, 3, 3},
                {3, 25, 50, 1, 3, 1, 6, "roof", 0, 0, 0.5f}};
    s.conCount = 3;
    s.cons = {{1, 0, 2, 30, 0.75f, "axle"}, {2, 2, 3, 0, 1, "strut"}};
    s.imageCount = 3;
    s.images = {{0, 255, 0, 255, 1, 1.5f, 0.5f}, {2, 1, 2, 3, 3, 0, 1}};
    s.rigCount = 4;
    s.rigs = {{0, 2, 3, 1, 45, 2, 0.5f, 255, 128, 0, 0.5f, 3, "body"},
              {2, 0, 0, -1, -30, 1, 1, 10, 20, 30, 1, 1, "wheel"}};
    return s;
}

class BodyFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(1000.0f, 1000.0f, 0.0f, 0.0f, 1);
        dir = fs::temp_directory_path() / ("ravel_body_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        TPhysics::Free();
        fs::remove_all(dir);
    }
    std::string At(const std::string& file) const { return (dir / file).string(); }
    // Writes the side files a non-embedded version of the sample expects beside `path`.
    void WriteSideImages(const std::string& path, const FileSpec& s)
    {
        for (const ImageRec& i : s.images)
            SavePixmapPNG(*Picture(static_cast<std::uint8_t>(i.slot)),
                          StripExt(path) + "_img" + std::to_string(i.slot) + ".png", 5);
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

// Everything the sample file describes, checked on a loaded body; `version` says which optional rig
// fields were in the file.
void ExpectSample(const TAdvBody& b, int version)
{
    EXPECT_EQ(b.GetName(), "Cart");
    EXPECT_EQ(b.MassMaxIndex(), 4);
    EXPECT_EQ(b.ConMaxIndex(), 2);
    EXPECT_EQ(b.ImageMaxIndex(), 2);
    EXPECT_EQ(b.RigMaxIndex(), 3);
    const int massLive[] = {1, 0, 1, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(b.MassExists(i), massLive[i]) << i;
    EXPECT_EQ(b.ConExists(0), 0);
    EXPECT_EQ(b.ImageExists(1), 0);
    EXPECT_EQ(b.RigExists(1) + b.RigExists(3), 0);

    EXPECT_EQ(b.MassGetX(0), 10.0f);
    EXPECT_EQ(b.MassGetY(0), 20.0f);
    EXPECT_EQ(b.MassGetMass(0), 1.5f);
    EXPECT_EQ(b.MassGetRadius(2), 5.0f);
    EXPECT_EQ(b.MassGetFriction(0), 0.25f);
    EXPECT_EQ(b.MassGetName(2), "tail");
    EXPECT_EQ(b.MassGetVX(0), 1.0f);
    EXPECT_EQ(b.MassGetVY(0), -2.0f);
    EXPECT_EQ(b.MassIsFrozen(2), 1);
    EXPECT_EQ(b.MassGetVelocity(2), 0.0f); // frozen masses load at rest
    EXPECT_EQ(b.MassGetColGroup(3), 6);
    EXPECT_LT(b.MassGetColGroup(0), -1);
    EXPECT_EQ(b.MassGetColGroup(0), b.MassGetColGroup(2));
    for (int i : {0, 2, 3})
        EXPECT_EQ(b.MassGet(i)->index, i);

    EXPECT_EQ(b.ConGetMass1(1), 0);
    EXPECT_EQ(b.ConGetMass2(1), 2);
    EXPECT_EQ(b.ConGetRestLength(1), 30.0f);
    EXPECT_EQ(b.ConGetStiffness(1), 0.75f);
    EXPECT_FLOAT_EQ(b.ConGetRestLength(2), std::sqrt(15.0f * 15.0f + 30.0f * 30.0f));
    EXPECT_EQ(b.ConGetName(2), "strut");
    EXPECT_EQ(b.ConGet(2)->index, 2);

    TImageRef img0 = b.ImageGet(0);
    ASSERT_NE(img0, nullptr);
    EXPECT_EQ(img0->flags, 1);
    EXPECT_EQ(img0->mask_r + img0->mask_g + img0->mask_b, 510);
    EXPECT_EQ(img0->handle_x, 1.5f);
    EXPECT_EQ(img0->handle_y, 0.5f);
    EXPECT_EQ(b.ImageGet(2)->flags, 3);
    EXPECT_EQ(b.ImageGet(2)->mask_b, 3);

    EXPECT_EQ(b.RigGetImage(0), 2);
    EXPECT_EQ(b.RigGetMass(0), 3);
    EXPECT_EQ(b.RigGetConstraint(0), 1);
    EXPECT_EQ(b.RigGetConstraint(2), -1);
    EXPECT_EQ(b.RigGetAngle(2), -30.0f);
    EXPECT_EQ(b.RigGetName(0), "body");
    float sx = 0, sy = 0;
    int r = 0, g = 0, bl = 0;
    b.RigGetScale(0, sx, sy);
    b.RigGetColor(0, r, g, bl);
    if (version >= 110)
    {
        EXPECT_EQ(sx, 2.0f);
        EXPECT_EQ(sy, 0.5f);
        EXPECT_EQ(r, 255);
        EXPECT_EQ(g, 128);
        EXPECT_EQ(bl, 0);
        EXPECT_EQ(b.RigGetAlpha(0), 0.5f);
        EXPECT_EQ(b.RigGetBlend(0), 3);
    }
    else
    {
        EXPECT_EQ(sx, 1.0f);
        EXPECT_EQ(sy, 1.0f);
        EXPECT_EQ(r + g + bl, 765);
        EXPECT_EQ(b.RigGetAlpha(0), 1.0f);
        EXPECT_EQ(b.RigGetBlend(0), 1);
    }
}

} // namespace

TEST_F(BodyFileTest, EveryAcceptedVersionLoadsWithItsOptionalFields)
{
    struct Case
    {
        const char* magic;
        int version;   // the fields the file has
        bool embedded; // images inline (only possible from 111 on)
    };
    const Case cases[] = {{"BODY", 103, false}, {"B100", 100, false}, {"BXY1", 0, false},
                          {"B110", 110, false}, {"B111", 111, false}, {"B111", 111, true},
                          {"B120", 120, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.magic) + (c.embedded ? " embedded" : ""));
        FileSpec s = Sample();
        s.magic = c.magic;
        s.version = c.version;
        s.embedded = c.embedded ? 1 : 0;
        std::string path = At(std::string("v") + c.magic + (c.embedded ? "e" : "s") + ".rvb");
        WriteAll(path, Build(s));
        if (!c.embedded)
            WriteSideImages(path, s);
        TAdvBodyRef body = TAdvBody::Load(path, 0);
        ASSERT_NE(body, nullptr);
        ExpectSample(*body, c.version);
        EXPECT_EQ(body->MassIsActive(0), 0);
        EXPECT_EQ(massList->Count(), 0);
    }
    EXPECT_EQ(TAdvBody::Load(At("missing.rvb"), 0), nullptr);
    EXPECT_EQ(TAdvBody::Load(dir.string(), 0), nullptr);
}

TEST_F(BodyFileTest, SavedBodyWithHolesLoadsBackTheSame)
{
    for (int embed : {1, 0})
    {
        SCOPED_TRACE(embed);
        std::string src = At("src.rvb");
        FileSpec s = Sample();
        s.embedded = 0;
        WriteAll(src, Build(s));
        WriteSideImages(src, s);
        TAdvBodyRef body = TAdvBody::Load(src, 0);
        ASSERT_NE(body, nullptr);
        std::string path = At(embed ? "embedded.rvb" : "side.rvb");
        body->Save(path, 0, embed);
        TAdvBodyRef again = TAdvBody::Load(path, 1);
        ASSERT_NE(again, nullptr);
        ExpectSample(*again, 111);
        EXPECT_NE(again->MassGetColGroup(0), body->MassGetColGroup(0));
        EXPECT_EQ(again->MassIsActive(0), 1);
        for (int i : {0, 2})
        {
            const TImage& a = *body->ImageGet(i);
            const TImage& b = *again->ImageGet(i);
            EXPECT_EQ(a.width, b.width);
            EXPECT_EQ(a.pixmaps[0]->format, b.pixmaps[0]->format);
            EXPECT_EQ(a.pixmaps[0]->pixels, b.pixmaps[0]->pixels);
        }
        again->DeActivate();
        fs::remove(src);
    }
    // Embedding wrote no side files; the side-file save wrote exactly one per live image slot.
    EXPECT_EQ(Listing(), (std::vector<std::string>{"embedded.rvb", "side.rvb", "side_img0.png",
                                                   "side_img2.png", "src_img0.png", "src_img2.png"}));
}

TEST_F(BodyFileTest, SaveAddsTheExtensionAndKeepsABackup)
{
    TAdvBody body;
    body.MassAdd(1, 2, 1, 1, 0, 0);
    auto pixmap = Picture(5);
    body.ImageAdd(TImage::FromPixmap(pixmap, 0));
    body.RigAdd(0, 0, -1, 0);
    WriteAll(At("car"), Bytes{1, 2, 3});
    WriteAll(At("car.rvb"), Bytes{9, 9});
    body.Save(At("car"), 1, 0);
    EXPECT_EQ(ReadAll(At("car")), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadAll(At("car.rvb.bak")), (Bytes{9, 9}));
    EXPECT_EQ(fs::exists(At("car_img0.png")), true);
    TAdvBodyRef loaded = TAdvBody::Load(At("car.rvb"), 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->RigGetImage(0), 0);
    // Load opens exactly the path given: no extension is added.
    EXPECT_EQ(TAdvBody::Load(At("car"), 0), nullptr);

    // Without backup the previous file is simply replaced; the earlier backup stays.
    body.MassSetName(0, "second");
    body.Save(At("car.rvb"), 0, 1);
    EXPECT_EQ(ReadAll(At("car.rvb.bak")), (Bytes{9, 9}));
    EXPECT_EQ(TAdvBody::Load(At("car.rvb"), 0)->MassGetName(0), "second");

    // A directory is refused.
    fs::create_directories(At("folder.rvb"));
    body.Save(At("folder.rvb"), 1, 1);
    EXPECT_TRUE(fs::is_directory(At("folder.rvb")));
    EXPECT_EQ(Listing(),
              (std::vector<std::string>{"car", "car.rvb", "car.rvb.bak", "car_img0.png", "folder.rvb"}));
}

TEST_F(BodyFileTest, FailedSaveLeavesThePreviousFilesUntouched)
{
    TAdvBody body;
    body.MassAdd(1, 2, 1, 1, 0, 0);
    body.ImageAdd(TImage::FromPixmap(Picture(5), 0));
    body.Save(At("kart.rvb"), 0, 0);
    Bytes before = ReadAll(At("kart.rvb"));
    Bytes pictureBefore = ReadAll(At("kart_img0.png"));
    body.MassSetName(0, "changed");

    // The side image cannot replace what is at its name: nothing is committed.
    fs::create_directories(At("kart_img1.png"));
    body.ImageAdd(TImage::FromPixmap(Picture(6), 0));
    EXPECT_EQ(body.Save(At("kart.rvb"), 1, 0), 0);
    EXPECT_EQ(ReadAll(At("kart.rvb")), before);
    EXPECT_EQ(ReadAll(At("kart_img0.png")), pictureBefore);

    // An image without pixels cannot be written: nothing is written at all.
    body.ImageAdd(std::make_shared<TImage>());
    EXPECT_EQ(body.Save(At("kart.rvb"), 1, 1), 0);
    EXPECT_EQ(ReadAll(At("kart.rvb")), before);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"kart.rvb", "kart_img0.png", "kart_img1.png"}));
}

TEST_F(BodyFileTest, EveryLoadOfOneFileGetsItsOwnNegativeGroups)
{
    std::string path = At("pair.rvb");
    WriteAll(path, Build(Sample()));
    int counter = nextAutoColGroup;
    TAdvBodyRef a = TAdvBody::Load(path, 0);
    TAdvBodyRef b = TAdvBody::Load(path, 0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(nextAutoColGroup, counter - 2); // one fresh group per load for the one stored group
    EXPECT_EQ(a->MassGetColGroup(0), a->MassGetColGroup(2));
    EXPECT_EQ(b->MassGetColGroup(0), b->MassGetColGroup(2));
    EXPECT_NE(a->MassGetColGroup(0), b->MassGetColGroup(0));
    EXPECT_EQ(a->MassGetColGroup(3), 6);
    EXPECT_EQ(b->MassGetColGroup(3), 6);
}

TEST_F(BodyFileTest, DamagedFilesLoadAsNullAndChangeNothing)
{
    using Damage = std::function<void(FileSpec&)>;
    struct Case
    {
        const char* what;
        Damage damage;
    };
    const Case cases[] = {
        {"foreign magic", [](FileSpec& s) { s.magic = "ZONE"; }},
        {"mass slot beyond the count", [](FileSpec& s) { s.masses[2].slot = 5; }},
        {"negative mass slot", [](FileSpec& s) { s.masses[1].slot = -3; }},
        {"duplicate mass slot", [](FileSpec& s) { s.masses[1].slot = 0; }},
        {"negative count", [](FileSpec& s) { s.massCount = -2; }},
        {"count no file could hold", [](FileSpec& s) { s.conCount = 0x7fffffff; }},
        {"constraint on an empty mass slot", [](FileSpec& s) { s.cons[0].m2 = 1; }},
        {"constraint on a mass slot beyond the table", [](FileSpec& s) { s.cons[0].m1 = 40; }},
        {"duplicate constraint slot", [](FileSpec& s) { s.cons[1].slot = 1; }},
        {"image slot beyond the count", [](FileSpec& s) { s.images[1].slot = 3; }},
        {"rig on a missing image", [](FileSpec& s) { s.rigs[0].image = 1; }},
        {"rig on a missing mass", [](FileSpec& s) { s.rigs[1].mass = 4; }},
        {"rig slot beyond the count", [](FileSpec& s) { s.rigs[1].slot = 4; }},
        {"duplicate rig slot", [](FileSpec& s) { s.rigs[1].slot = 0; }},
        {"side image missing", [](FileSpec& s) { s.embedded = 0; }},
    };
    SetMaskColor(4, 5, 6);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        FileSpec s = Sample();
        c.damage(s);
        std::string path = At("damaged.rvb");
        WriteAll(path, Build(s));
        int counter = nextAutoColGroup;
        EXPECT_EQ(TAdvBody::Load(path, 1), nullptr);
        EXPECT_EQ(nextAutoColGroup, counter);
        EXPECT_EQ(massList->Count(), 0);
        EXPECT_EQ(constraintList->Count(), 0);
        int r = 0, g = 0, b = 0;
        GetMaskColor(r, g, b);
        EXPECT_EQ(r * 100 + g * 10 + b, 456);
    }

    // Every prefix of a good file is refused; the whole file loads.
    Bytes good = Build(Sample());
    std::string path = At("cut.rvb");
    for (std::size_t n = 0; n < good.size(); ++n)
    {
        WriteAll(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        ASSERT_EQ(TAdvBody::Load(path, 1), nullptr) << n << " of " << good.size() << " bytes";
    }
    EXPECT_EQ(massList->Count(), 0);
    WriteAll(path, good);
    EXPECT_NE(TAdvBody::Load(path, 0), nullptr);

    // Any single damaged byte either loads or is refused; neither crashes or leaves anything behind.
    for (std::size_t n = 0; n < good.size(); ++n)
    {
        Bytes flipped = good;
        flipped[n] ^= 0xA5;
        WriteAll(path, flipped);
        if (TAdvBodyRef body = TAdvBody::Load(path, 1))
            body->DeActivate();
        ASSERT_EQ(massList->Count(), 0) << n;
    }

    // A damaged embedded picture, and side pictures that are missing or not PNG.
    Bytes broken = good;
    std::size_t png = 0;
    while (!(broken[png] == 0x89 && broken[png + 1] == 'P'))
        ++png;
    broken[png + 20] ^= 0xFF; // inside the IHDR chunk: its checksum no longer fits
    WriteAll(path, broken);
    EXPECT_EQ(TAdvBody::Load(path, 1), nullptr);
    FileSpec side = Sample();
    side.embedded = 0;
    WriteAll(path, Build(side));
    WriteSideImages(path, side);
    ASSERT_NE(TAdvBody::Load(path, 0), nullptr);
    WriteAll(At("cut_img2.png"), Bytes{'n', 'o', 't', ' ', 'p', 'n', 'g'});
    EXPECT_EQ(TAdvBody::Load(path, 1), nullptr);
    EXPECT_EQ(massList->Count(), 0);
}

TEST_F(BodyFileTest, CopyIsDeepInactiveAndSharesImages)
{
    std::string path = At("orig.rvb");
    WriteAll(path, Build(Sample()));
    TAdvBodyRef orig = TAdvBody::Load(path, 1);
    ASSERT_NE(orig, nullptr);
    TAdvBodyRef copy = orig->Copy();
    ASSERT_NE(copy, nullptr);
    ExpectSample(*copy, 111);
    EXPECT_TRUE(copy->conList->IsEmpty());
    for (int i : {0, 2, 3})
    {
        EXPECT_NE(copy->MassGet(i), orig->MassGet(i));
        EXPECT_EQ(copy->MassIsActive(i), 0);
    }
    EXPECT_NE(copy->MassGetColGroup(0), orig->MassGetColGroup(0));
    EXPECT_EQ(copy->ImageGet(0), orig->ImageGet(0));
    EXPECT_NE(copy->RigGet(0), orig->RigGet(0));
    EXPECT_EQ(copy->RigGet(0)->GetMass(), copy->MassGet(3));
    EXPECT_EQ(copy->RigGet(0)->GetConstraint(), copy->ConGet(1));
    EXPECT_EQ(copy->ConGet(1)->GetMass1(), copy->MassGet(0));
    copy->MassPosition(0, 500, 500);
    EXPECT_EQ(orig->MassGetX(0), 10.0f);
    EXPECT_EQ(massList->Count(), 3);
    orig->DeActivate();
}

TEST_F(BodyFileTest, NamesWithLineBreaksCannotShiftTheFieldsAfterThem)
{
    TAdvBody body;
    body.SetName("two\nlines");
    body.MassAdd(1, 2, 1, 1, 0, 0);
    body.MassAdd(3, 4, 1, 1, 0, 0);
    body.MassSetName(0, std::string("a\r\nb\0c", 6));
    body.ConAdd(0, 1, 0, 1);
    body.ConSetName(0, "x\n");
    body.Save(At("names.rvb"), 0, 1);
    TAdvBodyRef loaded = TAdvBody::Load(At("names.rvb"), 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetName(), "twolines");
    EXPECT_EQ(loaded->MassGetName(0), "abc");
    EXPECT_EQ(loaded->MassGetX(1), 3.0f);
    EXPECT_EQ(loaded->ConGetName(0), "x");
    EXPECT_EQ(loaded->ConGetMass2(0), 1);
}
