// tests/physics/ZoneFileTest.cpp: saving, loading and copying zones; damaged and foreign files.
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
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

std::int32_t IntAt(const Bytes& b, std::size_t at)
{
    std::uint32_t v = std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
                      std::uint32_t(b[at + 3]) << 24;
    return static_cast<std::int32_t>(v);
}

void PutInt(Bytes& b, std::size_t at, std::int32_t value)
{
    std::uint32_t v = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

Bytes TreeBytes(const TQuadTree& tree)
{
    TMemoryStream out;
    tree.Write(out);
    return out.Bytes();
}

std::size_t ZoneCount()
{
    std::size_t n = 0;
    for (const TZoneRef& z : *zoneList)
        n += z ? 1 : 0;
    return n;
}

// A small picture with distinct pixels.
TImageRef Picture()
{
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 3;
    pixmap->height = 2;
    pixmap->format = PF_RGBA8888;
    for (int k = 0; k < 3 * 2 * 4; ++k)
        pixmap->pixels.push_back(static_cast<std::uint8_t>(k * 11));
    TImageRef image = TImage::FromPixmap(pixmap, FILTEREDIMAGE);
    SetImageHandle(image, 1.5f, -2.0f);
    return image;
}

class ZoneFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TPhysics::Create(10240, 5120, 0, 0, 1);
        char pattern[] = "/tmp/zonefiles-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        TPhysics::Free();
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    // A zone with every setting away from its default.
    static TZoneRef Sample()
    {
        TZoneRef z = TZone::Create({0, 0, 80, -10, 95.5f, 60, 20, 75, -15, 30}, TZone::FILL, 0.25f, 5, 4);
        z->SetName("Grass patch");
        z->Position(120.5f, -33);
        z->SetScale(1.5f, 0.75f);
        z->Rotate(17);
        z->SetColor(10, 200, 33);
        z->SetAlpha(0.6f);
        z->SetBlend(3);
        z->ImageSetScale(2, 0.5f);
        return z;
    }

    std::string dir;
};

void ExpectSameZone(const TZone& a, const TZone& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.origArea, b.origArea);
    EXPECT_EQ(a.area, b.area);
    EXPECT_EQ(a.style, b.style);
    EXPECT_EQ(a.friction, b.friction);
    EXPECT_EQ(a.offsetX, b.offsetX);
    EXPECT_EQ(a.offsetY, b.offsetY);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(a.scaleX, b.scaleX);
    EXPECT_EQ(a.scaleY, b.scaleY);
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.green, b.green);
    EXPECT_EQ(a.blue, b.blue);
    EXPECT_EQ(a.alpha, b.alpha);
    EXPECT_EQ(a.blend, b.blend);
    EXPECT_EQ(a.qtLevel, b.qtLevel);
    EXPECT_EQ(a.imgScaleX, b.imgScaleX);
    EXPECT_EQ(a.imgScaleY, b.imgScaleY);
    ASSERT_NE(a.quadTree, nullptr);
    ASSERT_NE(b.quadTree, nullptr);
    EXPECT_EQ(TreeBytes(*a.quadTree), TreeBytes(*b.quadTree));
}

void ExpectSamePicture(const TImageRef& a, const TImageRef& b)
{
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->width, b->width);
    EXPECT_EQ(a->height, b->height);
    EXPECT_EQ(a->flags, b->flags);
    EXPECT_EQ(a->handle_x, b->handle_x);
    EXPECT_EQ(a->handle_y, b->handle_y);
    ASSERT_FALSE(b->pixmaps.empty());
    EXPECT_EQ(a->pixmaps[0]->pixels, b->pixmaps[0]->pixels);
}

} // namespace

TEST_F(ZoneFileTest, RoundTripWithoutPicture)
{
    TZoneRef z = Sample();
    z->Save(Path("a.rvz"), 0, 0);
    const std::size_t before = ZoneCount();
    TZoneRef back = TZone::Load(Path("a.rvz"));
    ASSERT_NE(back, nullptr);
    ExpectSameZone(*z, *back);
    EXPECT_EQ(back->GetColGroup(), 5);
    EXPECT_EQ(back->ImageGet(), nullptr);
    EXPECT_EQ(ZoneCount(), before + 1);
    EXPECT_EQ(zoneList->Last(), back);
    EXPECT_TRUE(back->link.IsLinked());
}

TEST_F(ZoneFileTest, FileLayout)
{
    TZoneRef z = TZone::Create({1, 2, 3, 4}, TZone::LOOP, 0.5f, -1, 2);
    z->SetName("ab");
    z->Save(Path("layout.rvz"), 0, 0);
    Bytes b = ReadAll(Path("layout.rvz"));
    const Bytes tree = TreeBytes(*z->quadTree);
    ASSERT_EQ(b.size(), 5 + 4 + 4 + 4 * 4 + 16 * 4 + tree.size() + 1);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "ZONE");
    EXPECT_EQ(b[4], 0x6F);
    EXPECT_EQ(std::string(b.begin() + 5, b.begin() + 9), "ab\r\n");
    EXPECT_EQ(IntAt(b, 9), 4);
    float f = 0;
    std::memcpy(&f, &b[13 + 8], 4);
    EXPECT_EQ(f, 3.0f);
    EXPECT_EQ(IntAt(b, 29), TZone::LOOP);
    EXPECT_EQ(IntAt(b, 29 + 12 * 4), -1); // the automatic group is stored as -1
    EXPECT_EQ(IntAt(b, 29 + 13 * 4), 2);  // the level
    EXPECT_TRUE(std::equal(tree.begin(), tree.end(), b.begin() + 29 + 16 * 4));
    EXPECT_EQ(b.back(), 0); // no picture
}

TEST_F(ZoneFileTest, GroupsOnSaveAndLoad)
{
    TZoneRef z = Sample();
    z->SetColGroup(-7);
    z->Save(Path("auto.rvz"), 0, 0);
    nextAutoColGroup = -40;
    TZoneRef back = TZone::Load(Path("auto.rvz"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetColGroup(), -40);
    EXPECT_EQ(nextAutoColGroup, -41);
    z->SetColGroup(0);
    z->Save(Path("none.rvz"), 0, 0);
    EXPECT_EQ(TZone::Load(Path("none.rvz"))->GetColGroup(), 0);
}

TEST_F(ZoneFileTest, FifthByteIsIgnored)
{
    Sample()->Save(Path("a.rvz"), 0, 0);
    Bytes b = ReadAll(Path("a.rvz"));
    b[4] = 0x42;
    WriteAll(Path("a.rvz"), b);
    EXPECT_NE(TZone::Load(Path("a.rvz")), nullptr);
}

TEST_F(ZoneFileTest, ExtensionRules)
{
    fs::create_directory(Path("media.d"));
    WriteAll(Path("media.d/track"), {1, 2, 3});
    TZoneRef z = Sample();
    z->Save(Path("media.d/track"), 1, 0);
    EXPECT_EQ(ReadAll(Path("media.d/track")), (Bytes{1, 2, 3}));
    ASSERT_EQ(FileType(Path("media.d/track.rvz")), FILETYPE_FILE);
    EXPECT_EQ(FileType(Path("media.d/track.rvz.bak")), FILETYPE_NONE);
    EXPECT_NE(TZone::Load(Path("media.d/track.rvz")), nullptr);
    // An existing extension is kept.
    z->Save(Path("media.d/track.zone"), 0, 0);
    EXPECT_EQ(FileType(Path("media.d/track.zone")), FILETYPE_FILE);
    // A relative path is taken from the current directory.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    z->Save("rel", 0, 0);
    fs::current_path(cwd);
    EXPECT_EQ(FileType(Path("rel.rvz")), FILETYPE_FILE);
}

TEST_F(ZoneFileTest, BackupKeepsTheReplacedFile)
{
    TZoneRef z = Sample();
    z->Save(Path("a.rvz"), 0, 0);
    const Bytes first = ReadAll(Path("a.rvz"));
    z->SetName("second");
    z->Save(Path("a.rvz"), 1, 0);
    EXPECT_EQ(ReadAll(Path("a.rvz.bak")), first);
    const Bytes second = ReadAll(Path("a.rvz"));
    EXPECT_NE(second, first);
    z->SetName("third");
    z->Save(Path("a.rvz"), 1, 0);
    EXPECT_EQ(ReadAll(Path("a.rvz.bak")), second); // an older backup is replaced
    z->SetName("fourth");
    z->Save(Path("a.rvz"), 0, 0);
    EXPECT_EQ(ReadAll(Path("a.rvz.bak")), second); // no backup asked: the old one stays
    EXPECT_EQ(TZone::Load(Path("a.rvz"))->GetName(), "fourth");
    // Nothing but the zone and its backup is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(ZoneFileTest, FailedSaveLeavesTheOldFile)
{
    TZoneRef z = Sample();
    z->Save(Path("a.rvz"), 0, 0);
    const Bytes old = ReadAll(Path("a.rvz"));
    z->SetName("new");

    // The target is a directory: nothing is written.
    fs::create_directory(Path("d.rvz"));
    EXPECT_EQ(z->Save(Path("d.rvz"), 1, 0), 0);
    EXPECT_TRUE(fs::is_empty(Path("d.rvz")));
    EXPECT_EQ(FileType(Path("d.rvz.bak")), FILETYPE_NONE);

    // The folder does not exist.
    EXPECT_EQ(z->Save(Path("missing/a.rvz"), 0, 0), 0);
    EXPECT_EQ(FileType(Path("missing")), FILETYPE_NONE);

    // The file cannot be written where the temporary file would go: the old contents survive.
    const std::string temp = Path("a.rvz.tmp") + std::to_string(static_cast<long>(getpid()));
    fs::create_directory(temp);
    EXPECT_EQ(z->Save(Path("a.rvz"), 1, 0), 0);
    EXPECT_EQ(ReadAll(Path("a.rvz")), old);
    EXPECT_EQ(FileType(Path("a.rvz.bak")), FILETYPE_NONE);
    fs::remove(temp);

    // The side picture cannot be written: neither file changes and no temporary file is left.
    z->ImageSet(Picture());
    const std::string sideTemp = Path("a_img.png.tmp") + std::to_string(static_cast<long>(getpid()));
    fs::create_directory(sideTemp);
    z->Save(Path("a.rvz"), 0, 0);
    EXPECT_EQ(ReadAll(Path("a.rvz")), old);
    EXPECT_EQ(FileType(Path("a_img.png")), FILETYPE_NONE);
    fs::remove(sideTemp);
    EXPECT_EQ(FileType(temp), FILETYPE_NONE);
}

TEST_F(ZoneFileTest, EmbeddedPicture)
{
    TZoneRef z = Sample();
    z->ImageSet(Picture());
    z->Save(Path("p.rvz"), 0, 1);
    EXPECT_EQ(FileType(Path("p_img.png")), FILETYPE_NONE);
    SetMaskColor(0, 0, 0);
    TZoneRef back = TZone::Load(Path("p.rvz"));
    ASSERT_NE(back, nullptr);
    ExpectSameZone(*z, *back);
    ExpectSamePicture(z->ImageGet(), back->ImageGet());
    Bytes b = ReadAll(Path("p.rvz"));
    // The PNG signature follows the embedded byte.
    const std::size_t png =
        5 + z->name.size() + 2 + 4 + 4 * 10 + 16 * 4 + TreeBytes(*z->quadTree).size() + 14;
    ASSERT_GT(b.size(), png + 8);
    EXPECT_EQ(b[png - 1], 1);
    EXPECT_EQ(b[png + 1], 'P');
    EXPECT_EQ(b[png + 2], 'N');
}

TEST_F(ZoneFileTest, SidePicture)
{
    TZoneRef z = Sample();
    TImageRef picture = Picture();
    picture->mask_r = 7;
    picture->mask_g = 8;
    picture->mask_b = 9;
    z->ImageSet(picture);
    z->Save(Path("grass1.rvz"), 0, 0);
    ASSERT_EQ(FileType(Path("grass1_img.png")), FILETYPE_FILE);
    Bytes b = ReadAll(Path("grass1.rvz"));
    EXPECT_EQ(b.back(), 0); // the embedded byte ends the file
    TZoneRef back = TZone::Load(Path("grass1.rvz"));
    ASSERT_NE(back, nullptr);
    ExpectSamePicture(picture, back->ImageGet());
    // The stored mask colour is left in force.
    int r = 0, g = 0, bl = 0;
    GetMaskColor(r, g, bl);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(bl, 9);
    SetMaskColor(0, 0, 0);

    // Without its side file, or with a broken one, the zone loads without a picture.
    WriteAll(Path("grass1_img.png"), {0x89, 'P', 'N', 'G', 1, 2, 3});
    TZoneRef broken = TZone::Load(Path("grass1.rvz"));
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->ImageGet(), nullptr);
    fs::remove(Path("grass1_img.png"));
    TZoneRef missing = TZone::Load(Path("grass1.rvz"));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->ImageGet(), nullptr);
    ExpectSameZone(*z, *missing);
}

TEST_F(ZoneFileTest, NamesThatCannotBeStored)
{
    TZoneRef z = Sample();
    z->SetName(std::string("two\nlines\r") + '\0' + "end");
    z->Save(Path("n.rvz"), 0, 0);
    TZoneRef back = TZone::Load(Path("n.rvz"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetName(), "twolinesend");
    EXPECT_EQ(back->origArea, z->origArea);
    z->SetName("caf\xc3\xa9 \xff");
    z->Save(Path("n.rvz"), 0, 0);
    EXPECT_EQ(TZone::Load(Path("n.rvz"))->GetName(), "caf\xc3\xa9 \xff");
}

TEST_F(ZoneFileTest, ZoneWithoutTreeStillSavesAndLoads)
{
    TZoneRef z = TZone::Create({0, 0, 50, 0, 50, 50}, 6, 0, 1, 3);
    ASSERT_EQ(z->quadTree, nullptr);
    z->Save(Path("s.rvz"), 0, 0);
    TZoneRef back = TZone::Load(Path("s.rvz"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetStyle(), 6);
    ASSERT_NE(back->quadTree, nullptr);
    EXPECT_EQ(back->quadTree->CellCount(), 1);
    EXPECT_EQ(back->quadTree->sizeX, 52.0f);
    // Given a real style again, the single cell only defers to the exact test.
    back->SetStyle(TZone::FILL);
    TMassRef m = TMass::Create(25, 3, 1, 5, 0, 2);
    back->Collide(*m);
    EXPECT_NEAR(m->posY, -5.0f, 1e-4f);
}

TEST_F(ZoneFileTest, StoredTreeIsKept)
{
    TZoneRef z = Sample();
    z->SetStyle(TZone::LINE); // the tree is still the fill tree
    z->Save(Path("t.rvz"), 0, 0);
    TZoneRef back = TZone::Load(Path("t.rvz"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(TreeBytes(*back->quadTree), TreeBytes(*z->quadTree));
}

TEST_F(ZoneFileTest, ForeignAndMissingFiles)
{
    const std::size_t before = ZoneCount();
    EXPECT_EQ(TZone::Load(Path("nothing.rvz")), nullptr);
    EXPECT_EQ(TZone::Load(dir), nullptr);
    WriteAll(Path("body.rvb"), {'B', '1', '1', '1', 0x6F, 'x', '\r', '\n'});
    EXPECT_EQ(TZone::Load(Path("body.rvb")), nullptr);
    WriteAll(Path("empty.rvz"), {});
    EXPECT_EQ(TZone::Load(Path("empty.rvz")), nullptr);
    EXPECT_EQ(ZoneCount(), before);
}

// Every prefix of a real file up to the picture header is refused; the picture itself may be cut
// anywhere and only the picture is lost.
TEST_F(ZoneFileTest, TruncatedFilesAreRefused)
{
    TZoneRef z = Sample();
    z->SetColGroup(-1);
    z->ImageSet(Picture());
    z->Save(Path("full.rvz"), 0, 1);
    const Bytes full = ReadAll(Path("full.rvz"));
    // Where the PNG starts: name line, count, vertices, settings, tree, picture header.
    const std::size_t header =
        5 + z->name.size() + 2 + 4 + 4 * z->origArea.size() + 64 + TreeBytes(*z->quadTree).size() + 14;
    ASSERT_LT(header + 8, full.size());
    const std::size_t before = ZoneCount();
    int group = nextAutoColGroup;
    for (std::size_t n = 0; n < full.size(); ++n)
    {
        // A new file each time: rewriting one file in place makes the file system flush every time.
        const std::string path = Path("cut" + std::to_string(n) + ".rvz");
        WriteAll(path, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)));
        TZoneRef cut = TZone::Load(path);
        if (n < header)
            EXPECT_EQ(cut, nullptr) << "cut at " << n;
        else
        {
            ASSERT_NE(cut, nullptr) << "cut at " << n;
            EXPECT_EQ(cut->ImageGet(), nullptr) << "cut at " << n;
            EXPECT_EQ(cut->GetColGroup(), group--);
            cut->Free();
        }
    }
    EXPECT_EQ(ZoneCount(), before);
    EXPECT_EQ(nextAutoColGroup, group);
}

TEST_F(ZoneFileTest, DamagedCountsAreRefused)
{
    TZoneRef z = Sample();
    z->Save(Path("good.rvz"), 0, 0);
    const Bytes good = ReadAll(Path("good.rvz"));
    const std::size_t countAt = 5 + z->name.size() + 2;
    const std::size_t treeAt = countAt + 4 + 4 * z->origArea.size() + 64;
    ASSERT_EQ(IntAt(good, countAt), 10);
    ASSERT_EQ(IntAt(good, treeAt + 16), static_cast<int>(z->quadTree->childList.size()));

    struct Damage
    {
        const char* what;
        std::size_t at;
        std::int32_t value;
    } damages[] = {
        {"no vertices", countAt, 0},
        {"one vertex", countAt, 2},
        {"odd count", countAt, 9},
        {"negative count", countAt, -10},
        {"count past the end", countAt, static_cast<std::int32_t>(good.size() / 4) & ~1},
        {"huge count", countAt, 0x7fffffff},
        {"root with more children than bytes", treeAt + 16, 1000},
        {"root with a huge child count", treeAt + 16, 0x7fffffff},
        {"child count one too many", treeAt + 16,
         static_cast<std::int32_t>(z->quadTree->childList.size()) + 1},
    };
    const std::size_t before = ZoneCount();
    for (const Damage& d : damages)
    {
        Bytes b = good;
        PutInt(b, d.at, d.value);
        const std::string path = Path(std::string("bad ") + d.what + ".rvz");
        WriteAll(path, b);
        EXPECT_EQ(TZone::Load(path), nullptr) << d.what;
    }
    // Garbage after a valid header.
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round)
    {
        Bytes b(good.begin(), good.begin() + 5);
        const std::size_t len = rng() % 400;
        for (std::size_t k = 0; k < len; ++k)
            b.push_back(static_cast<std::uint8_t>(rng()));
        const std::string path = Path("garbage" + std::to_string(round) + ".rvz");
        WriteAll(path, b);
        if (TZoneRef g = TZone::Load(path))
            g->Free();
    }
    EXPECT_EQ(ZoneCount(), before);
}

TEST_F(ZoneFileTest, CopySharesTreeAndPicture)
{
    nextAutoColGroup = -3;
    TZoneRef z = Sample();
    z->SetColGroup(-1);
    z->ImageSet(Picture());
    int calls = 0;
    z->OverrideCollision([&calls](const TZoneRef&, const TMassRef&, float, float, float) {
        ++calls;
        return 0;
    });
    z->Free();
    TZoneRef c = z->Copy();
    ASSERT_NE(c, nullptr);
    ExpectSameZone(*z, *c);
    EXPECT_EQ(c->GetColGroup(), -3);
    EXPECT_EQ(nextAutoColGroup, -4);
    EXPECT_EQ(c->quadTree, z->quadTree);
    EXPECT_EQ(c->ImageGet(), z->ImageGet());
    EXPECT_EQ(zoneList->Last(), c);
    EXPECT_TRUE(c->link.IsLinked());
    EXPECT_FALSE(z->link.IsLinked());

    TMassRef m = TMass::Create(z->offsetX + z->area[0], z->offsetY + z->area[1], 1, 5, 0, 2);
    c->Collide(*m);
    EXPECT_EQ(calls, 1);

    const Bytes tree = TreeBytes(*z->quadTree);
    c->Rotate(80);
    EXPECT_NE(c->quadTree, z->quadTree);
    EXPECT_EQ(TreeBytes(*z->quadTree), tree);
}
