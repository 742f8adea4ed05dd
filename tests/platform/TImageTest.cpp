// Tests of image decoding and encoding, the mask step and the image settings.
#include "platform/TImage.h"

#include "platform/FileSystem.h"
#include "platform/TStream.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>
#include <zlib.h>

using namespace ravel;

namespace
{
using Bytes = std::vector<std::uint8_t>;

const std::string SUITE = std::string(RAVEL_TEST_DATA) + "/pngsuite/";

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Fnv1a(const Bytes& data)
{
    std::uint32_t h = 2166136261u;
    for (std::uint8_t b : data)
        h = (h ^ b) * 16777619u;
    return h;
}

struct Reference
{
    int width, height, channels;
    std::uint32_t hash;
};

// reference.txt: the decode of every valid suite file by an independent decoder (make_reference.py
// beside it: Python and zlib, no libpng), cross-checked against netpbm's pngtopnm.
std::map<std::string, Reference> LoadReference()
{
    std::map<std::string, Reference> table;
    std::ifstream in(SUITE + "reference.txt");
    std::string name, hash;
    Reference r{};
    while (in >> name >> r.width >> r.height >> r.channels >> hash)
    {
        r.hash = static_cast<std::uint32_t>(std::stoul(hash, nullptr, 16));
        table[name] = r;
    }
    return table;
}

std::vector<std::string> SuiteFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SUITE))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The pixels as RGBA, so that an RGB and an RGBA decode of one picture compare equal.
Bytes AsRGBA(const TPixmap& p)
{
    if (p.format == PF_RGBA8888)
        return p.pixels;
    Bytes out;
    for (std::size_t i = 0; i + 2 < p.pixels.size(); i += 3)
        out.insert(out.end(), {p.pixels[i], p.pixels[i + 1], p.pixels[i + 2], 255});
    return out;
}

std::vector<int> PixelAt(const TPixmap& p, int x, int y)
{
    const std::uint8_t* px = p.At(x, y);
    return std::vector<int>(px, px + p.format);
}

void PutU32(Bytes& out, std::uint32_t v)
{
    out.insert(out.end(),
               {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
}

void AppendChunk(Bytes& out, const char type[5], const Bytes& data)
{
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out,
           static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

struct Chunk
{
    std::string type;
    Bytes data;
};

std::vector<Chunk> SplitChunks(const Bytes& png)
{
    std::vector<Chunk> chunks;
    std::size_t pos = 8;
    while (pos + 12 <= png.size())
    {
        std::uint32_t n = std::uint32_t(png[pos]) << 24 | std::uint32_t(png[pos + 1]) << 16 |
                          std::uint32_t(png[pos + 2]) << 8 | png[pos + 3];
        chunks.push_back({std::string(png.begin() + pos + 4, png.begin() + pos + 8),
                          Bytes(png.begin() + pos + 8, png.begin() + pos + 8 + n)});
        pos += 12 + n;
    }
    return chunks;
}

Bytes JoinChunks(const std::vector<Chunk>& chunks)
{
    Bytes out = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    for (const Chunk& c : chunks)
        AppendChunk(out, c.type.c_str(), c.data);
    return out;
}

Bytes Header(std::uint32_t width, std::uint32_t height, int depth, int colorType)
{
    Bytes ihdr;
    PutU32(ihdr, width);
    PutU32(ihdr, height);
    ihdr.insert(ihdr.end(), {std::uint8_t(depth), std::uint8_t(colorType), 0, 0, 0});
    return ihdr;
}

TPixmapRef Decode(const Bytes& png)
{
    TMemoryStream stream(png);
    return LoadPixmapPNG(stream);
}

TPixmapRef MakePixmap(int width, int height, int format)
{
    auto p = std::make_shared<TPixmap>();
    p->width = width;
    p->height = height;
    p->format = format;
    p->pixels.resize(std::size_t(width) * height * format);
    // a smooth pattern with some noise in it: compressible, but not trivially
    for (std::size_t i = 0; i < p->pixels.size(); ++i)
        p->pixels[i] = static_cast<std::uint8_t>((i * 7 + (i / 97) * 13 + (i % 5 == 0 ? i * i : 0)) & 255);
    return p;
}

Bytes Encode(const TPixmap& p, int level)
{
    TMemoryStream stream;
    EXPECT_EQ(SavePixmapPNG(p, stream, level), 1);
    return stream.Bytes();
}

// A stream that accepts only the first `limit` bytes written to it.
class ShortStream : public TMemoryStream
{
  public:
    explicit ShortStream(std::size_t limit) : limit_(limit) {}
    std::size_t Write(const void* src, std::size_t n) override
    {
        std::size_t room = written_ < limit_ ? limit_ - written_ : 0;
        std::size_t done = TMemoryStream::Write(src, std::min(n, room));
        written_ += done;
        return done;
    }

  private:
    std::size_t limit_;
    std::size_t written_ = 0;
};

// The mask colour and the automatic mid handle are module settings: every test starts from the
// defaults and puts them back.
class ImageTest : public ::testing::Test
{
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        SetMaskColor(0, 0, 0);
        SetAutoMidHandle(0);
    }
};
} // namespace

TEST_F(ImageTest, EveryValidSuiteFileDecodesLikeTheIndependentDecoder)
{
    std::map<std::string, Reference> reference = LoadReference();
    ASSERT_EQ(reference.size(), 162u); // INDEX.md: 162 valid files
    for (const auto& [name, ref] : reference)
    {
        SCOPED_TRACE(name);
        TPixmapRef p = LoadPixmapPNG(SUITE + name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->width, ref.width);
        EXPECT_EQ(p->height, ref.height);
        EXPECT_EQ(p->format, ref.channels);
        ASSERT_EQ(p->pixels.size(), std::size_t(ref.width) * ref.height * ref.channels);
        EXPECT_EQ(Fnv1a(p->pixels), ref.hash);
    }
}

TEST_F(ImageTest, EveryCorruptSuiteFileIsRefused)
{
    std::map<std::string, Reference> reference = LoadReference();
    int corrupt = 0;
    for (const std::string& name : SuiteFiles())
    {
        if (name[0] != 'x')
        {
            EXPECT_EQ(reference.count(name), 1u) << name << " is neither valid nor corrupt";
            continue;
        }
        SCOPED_TRACE(name);
        ++corrupt;
        EXPECT_EQ(LoadPixmapPNG(SUITE + name), nullptr);
        EXPECT_EQ(LoadImage(SUITE + name), nullptr);
        TMemoryStream stream(ReadBytes(SUITE + name));
        EXPECT_EQ(LoadImage(stream, 0), nullptr);
    }
    EXPECT_EQ(corrupt, 14);
}

TEST_F(ImageTest, InterlacedFilesMatchTheirPlainTwins)
{
    int pairs = 0;
    for (const std::string& name : SuiteFiles())
    {
        if (name.size() != 12 || name[3] != 'i')
            continue;
        std::string twin = name;
        twin[3] = 'n';
        if (FileType(SUITE + twin) != FILETYPE_FILE)
            continue; // bgai4a08 and bgai4a16 have no plain twin of that name
        SCOPED_TRACE(name);
        TPixmapRef a = LoadPixmapPNG(SUITE + name);
        TPixmapRef b = LoadPixmapPNG(SUITE + twin);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a->format, b->format);
        EXPECT_EQ(a->width, b->width);
        EXPECT_EQ(a->height, b->height);
        EXPECT_TRUE(a->pixels == b->pixels);
        ++pairs;
    }
    EXPECT_EQ(pairs, 33); // 15 basic formats, 18 odd sizes
}

TEST_F(ImageTest, VariantsOfOnePictureDecodeAlike)
{
    // Each group is one picture stored differently: in another colour type or depth, with chunks that
    // do not change pixels, split into other IDATs or compressed at another level.
    const std::vector<std::vector<std::string>> groups = {
        {"basn0g08", "ps1n0g08", "ps2n0g08"},                         // sPLT
        {"basn0g16", "oi1n0g16", "oi2n0g16", "oi4n0g16", "oi9n0g16"}, // IDAT splits, grey 16
        {"basn2c16", "oi1n2c16", "oi2n2c16", "oi4n2c16", "oi9n2c16", "pp0n2c16", "ps1n2c16", "ps2n2c16"},
        {"basn3p04", "ch1n3p04"}, // hIST
        {"basn3p08", "ch2n3p08"},
        {"basn4a08", "bgai4a08", "bgbn4a08"}, // bKGD is not applied
        {"basn4a16", "bgai4a16", "bggn4a16"},
        {"basn6a08", "bgan6a08", "bgwn6a08"},
        {"basn6a16", "bgan6a16", "bgyn6a16"},
        {"ct0n0g04", "ct1n0g04", "ctzn0g04", "cm0n0g04", "cm7n0g04", "cm9n0g04"}, // text, time
        {"cs8n2c08", "cs8n3p08", "cs3n2c16"}, // RGB 8, palette, RGB 16 (high byte) alike
        {"cs5n2c08", "cs5n3p08"},             // RGB and palette
        {"tbrn2c08", "tbbn2c16", "tbgn2c16"}, // RGB 8 and 16 with a tRNS colour key
        {"tp1n3p08", "tbbn3p08", "tbgn3p08", "tbwn3p08", "tbyn3p08"}, // palette tRNS
        {"z00n2c08", "z03n2c08", "z06n2c08", "z09n2c08"},             // zlib levels
    };
    for (const auto& group : groups)
    {
        TPixmapRef first = LoadPixmapPNG(SUITE + group[0] + ".png");
        ASSERT_NE(first, nullptr) << group[0];
        for (std::size_t i = 1; i < group.size(); ++i)
        {
            SCOPED_TRACE(group[0] + " vs " + group[i]);
            TPixmapRef other = LoadPixmapPNG(SUITE + group[i] + ".png");
            ASSERT_NE(other, nullptr);
            EXPECT_TRUE(AsRGBA(*first) == AsRGBA(*other));
        }
    }
}

TEST_F(ImageTest, OnlyFilesWithAlphaOrTransparencyDecodeToRGBA)
{
    for (const auto& [name, ref] : LoadReference())
    {
        Bytes file = ReadBytes(SUITE + name);
        bool trns = false;
        for (const Chunk& c : SplitChunks(file))
            trns = trns || c.type == "tRNS";
        int colorType = file[25];
        bool alpha = colorType == 4 || colorType == 6 || trns;
        TPixmapRef p = LoadPixmapPNG(SUITE + name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->format, alpha ? PF_RGBA8888 : PF_RGB888) << name;
    }
    // tp1n3p08: one palette entry fully transparent, every other opaque
    TPixmapRef keyed = LoadPixmapPNG(SUITE + "tp1n3p08.png");
    ASSERT_NE(keyed, nullptr);
    int transparent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            int a = keyed->At(x, y)[3];
            EXPECT_TRUE(a == 0 || a == 255);
            transparent += a == 0;
        }
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 32 * 32);
}

TEST_F(ImageTest, KnownPixelsOfSuiteFiles)
{
    struct Case
    {
        const char* file;
        int format, x, y;
        std::vector<int> pixel;
    };
    // Values follow from the files' contents (palette entries, tRNS values, sample depths), and agree
    // with netpbm's pngtopnm.
    const std::vector<Case> cases = {
        {"basn0g01.png", PF_RGB888, 0, 0, {255, 255, 255}}, // 1-bit grey: 1 -> 255
        {"basn0g01.png", PF_RGB888, 31, 0, {0, 0, 0}},
        {"basn0g02.png", PF_RGB888, 31, 31, {170, 170, 170}}, // 2-bit grey 2 -> 2 * 85
        {"basn0g08.png", PF_RGB888, 31, 0, {31, 31, 31}},
        {"basn0g16.png", PF_RGB888, 31, 0, {186, 186, 186}},
        {"basn2c08.png", PF_RGB888, 31, 0, {255, 255, 224}},
        {"basn3p01.png", PF_RGB888, 0, 0, {238, 255, 34}}, // the two palette entries
        {"basn3p01.png", PF_RGB888, 31, 0, {34, 102, 255}},
        {"basn3p08.png", PF_RGB888, 5, 7, {119, 58, 0}},
        {"basn4a08.png", PF_RGBA8888, 0, 0, {255, 255, 255, 0}},
        {"basn4a08.png", PF_RGBA8888, 31, 31, {0, 0, 0, 255}},
        {"basn6a08.png", PF_RGBA8888, 16, 16, {4, 255, 0, 131}},
        {"basn6a16.png", PF_RGBA8888, 16, 16, {0, 0, 255, 247}},
        {"tbrn2c08.png", PF_RGBA8888, 0, 0, {255, 255, 255, 0}}, // tRNS key white
        {"tbrn2c08.png", PF_RGBA8888, 16, 16, {158, 158, 158, 255}},
        {"tm3n3p02.png", PF_RGBA8888, 0, 0, {0, 0, 255, 0}}, // palette alphas 0, 85, 170, opaque
        {"tm3n3p02.png", PF_RGBA8888, 31, 0, {0, 0, 255, 85}},
        {"tm3n3p02.png", PF_RGBA8888, 0, 31, {0, 0, 255, 170}},
        {"tm3n3p02.png", PF_RGBA8888, 31, 31, {0, 0, 255, 255}},
        {"s01n3p01.png", PF_RGB888, 0, 0, {0, 0, 255}},
        {"s01i3p01.png", PF_RGB888, 0, 0, {0, 0, 255}},
        {"PngSuite.png", PF_RGB888, 128, 128, {1, 255, 1}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        TPixmapRef p = LoadPixmapPNG(SUITE + c.file);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->format, c.format);
        EXPECT_EQ(PixelAt(*p, c.x, c.y), c.pixel);
    }
}

TEST_F(ImageTest, StreamLoadStopsDirectlyAfterIEND)
{
    // Every valid suite file, embedded between other bytes, leaves the position right after its IEND.
    for (const auto& [name, ref] : LoadReference())
    {
        SCOPED_TRACE(name);
        Bytes file = ReadBytes(SUITE + name);
        TMemoryStream stream;
        stream.WriteInt(777);
        stream.Write(file.data(), file.size());
        stream.WriteInt(-123456789);
        stream.Seek(4);
        TPixmapRef p = LoadPixmapPNG(stream);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(stream.Pos(), std::int64_t(4 + file.size()));
        EXPECT_EQ(stream.ReadInt(), -123456789);
    }
}

TEST_F(ImageTest, ChunksAfterTheImageDataAreReadThroughIEND)
{
    std::vector<Chunk> chunks = SplitChunks(ReadBytes(SUITE + "basn2c08.png"));
    ASSERT_EQ(chunks.back().type, "IEND");
    const char keyword[] = "Comment\0after the pixels";
    std::string text(keyword, sizeof keyword - 1);
    chunks.insert(chunks.end() - 1, Chunk{"tEXt", Bytes(text.begin(), text.end())});
    chunks.insert(chunks.end() - 1, Chunk{"prIv", Bytes(40, 7)}); // unknown ancillary chunk
    Bytes png = JoinChunks(chunks);
    TMemoryStream stream(png);
    stream.Seek(stream.Size());
    stream.WriteInt(42);
    stream.Seek(0);
    TImageRef image = LoadImage(stream, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(stream.Pos(), std::int64_t(png.size()));
    EXPECT_EQ(stream.ReadInt(), 42);
}

TEST_F(ImageTest, PngWrittenBeforeAnIntReadsBack)
{
    TPixmapRef p = MakePixmap(13, 7, PF_RGBA8888);
    TMemoryStream stream;
    stream.WriteInt(5);
    ASSERT_EQ(SavePixmapPNG(*p, stream, 6), 1);
    stream.WriteInt(0x12345678);
    stream.Seek(0);
    EXPECT_EQ(stream.ReadInt(), 5);
    TImageRef image = LoadImage(stream, -1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(stream.ReadInt(), 0x12345678);
    EXPECT_EQ(stream.Eof(), 1);
    EXPECT_TRUE(image->pixmaps[0]->pixels == p->pixels);
}

TEST_F(ImageTest, TruncatedPngsAreRefused)
{
    for (const char* name : {"basn0g01.png", "basn2c08.png", "basi6a16.png", "oi9n2c16.png", "tbbn3p08.png"})
    {
        Bytes file = ReadBytes(SUITE + name);
        ASSERT_NE(Decode(file), nullptr) << name;
        // every length up to 200 bytes, then a spread of lengths, always the last few bytes of IEND
        std::vector<std::size_t> lengths;
        for (std::size_t n = 0; n < std::min<std::size_t>(file.size(), 200); ++n)
            lengths.push_back(n);
        for (std::size_t n = 200; n < file.size(); n += 37)
            lengths.push_back(n);
        for (std::size_t back = 1; back <= 12 && back <= file.size(); ++back)
            lengths.push_back(file.size() - back);
        for (std::size_t n : lengths)
        {
            Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(n));
            EXPECT_EQ(Decode(cut), nullptr) << name << " cut to " << n;
        }
    }
}

TEST_F(ImageTest, AnyChangedByteOfACriticalChunkIsRefused)
{
    // Every byte of a file lies in the signature or in a chunk covered by its CRC. Flipping a bit of
    // the signature or of a critical chunk refuses the file; flipping one in the data or the CRC of an
    // ancillary chunk drops that chunk, and the picture loads. (A flipped length or type of an
    // ancillary chunk may go either way; it must only be survived.)
    for (const char* name : {"basn0g01.png", "tbrn2c08.png"})
    {
        Bytes file = ReadBytes(SUITE + name);
        int dropped = 0;
        for (std::size_t i = 0; i < file.size(); ++i)
        {
            // The chunk holding byte i, and whether i is in its data or CRC.
            bool ancillary = false, body = false;
            for (std::size_t pos = 8; pos + 12 <= file.size();)
            {
                std::size_t n = std::size_t(file[pos]) << 24 | std::size_t(file[pos + 1]) << 16 |
                                std::size_t(file[pos + 2]) << 8 | file[pos + 3];
                if (i < pos + 12 + n)
                {
                    ancillary = i >= pos && (file[pos + 4] & 0x20) != 0;
                    body = i >= pos + 8;
                    break;
                }
                pos += 12 + n;
            }
            for (std::uint8_t bit : {std::uint8_t(0x01), std::uint8_t(0x80)})
            {
                Bytes bad = file;
                bad[i] ^= bit;
                TPixmapRef p = Decode(bad);
                if (!ancillary)
                    EXPECT_EQ(p, nullptr) << name << " byte " << i << " bit " << int(bit);
                else if (body)
                {
                    EXPECT_NE(p, nullptr) << name << " byte " << i << " bit " << int(bit);
                    ++dropped;
                }
            }
        }
        EXPECT_GT(dropped, 0) << name << " has ancillary chunks";
    }
}

TEST_F(ImageTest, BadAdlerChecksumIsRefusedEvenWithGoodCrcs)
{
    std::vector<Chunk> chunks = SplitChunks(ReadBytes(SUITE + "basn2c08.png"));
    auto idat = std::find_if(chunks.begin(), chunks.end(), [](const Chunk& c) { return c.type == "IDAT"; });
    ASSERT_NE(idat, chunks.end());
    ASSERT_EQ(std::count_if(chunks.begin(), chunks.end(), [](const Chunk& c) { return c.type == "IDAT"; }),
              1);
    ASSERT_NE(Decode(JoinChunks(chunks)), nullptr); // rebuilding the chunks alone changes nothing
    idat->data.back() ^= 0x5A;                      // the last byte of the zlib stream's Adler-32
    EXPECT_EQ(Decode(JoinChunks(chunks)), nullptr);
}

TEST_F(ImageTest, SurplusImageDataIsRefused)
{
    // The zlib stream of a 1x1 grey image holding two rows instead of one.
    const Bytes rows = {0, 10, 0, 20};
    Bytes deflated(64);
    uLongf size = static_cast<uLongf>(deflated.size());
    ASSERT_EQ(compress(deflated.data(), &size, rows.data(), static_cast<uLong>(rows.size())), Z_OK);
    deflated.resize(size);
    EXPECT_EQ(Decode(JoinChunks({{"IHDR", Header(1, 1, 8, 0)}, {"IDAT", deflated}, {"IEND", {}}})), nullptr);
    // and the same with one row is a valid image
    deflated.assign(64, 0);
    size = static_cast<uLongf>(deflated.size());
    ASSERT_EQ(compress(deflated.data(), &size, rows.data(), 2), Z_OK);
    deflated.resize(size);
    TPixmapRef p = Decode(JoinChunks({{"IHDR", Header(1, 1, 8, 0)}, {"IDAT", deflated}, {"IEND", {}}}));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(PixelAt(*p, 0, 0), (std::vector<int>{10, 10, 10}));
}

TEST_F(ImageTest, HostileHeadersAreRefusedBeforeAllocating)
{
    Bytes tiny = {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}; // an empty zlib stream
    const std::vector<Bytes> headers = {
        Header(65536, 1, 8, 6),     // wider than 65535
        Header(1, 70000, 8, 2),     // taller than 65535
        Header(65535, 65535, 8, 6), // 2^32 pixels
        Header(20000, 20000, 1, 0), // over 2^28 pixels even at one bit each
        Header(0, 5, 8, 2),         // empty
    };
    for (const Bytes& ihdr : headers)
    {
        Bytes png = JoinChunks({{"IHDR", ihdr}, {"IDAT", tiny}, {"IEND", {}}});
        EXPECT_EQ(Decode(png), nullptr);
    }
}

TEST_F(ImageTest, LargeHeaderOverFewBytesAllocatesNoPixels)
{
    // 16384 x 16384 RGBA is within the size limits, but a few dozen bytes cannot hold its 1 GiB: the
    // decoder refuses it before making the pixel buffer, so the process's peak memory stays put.
    Bytes tiny = {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
    Bytes png = JoinChunks({{"IHDR", Header(16384, 16384, 8, 6)}, {"IDAT", tiny}, {"IEND", {}}});
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(Decode(png), nullptr);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024); // kilobytes
}

TEST_F(ImageTest, ChunkLongerThanTheStreamAllocatesNothing)
{
    // An ancillary chunk whose header declares 1.8 GB over a file of a few dozen bytes (found by the
    // fuzzer once damaged ancillary chunks were dropped instead of refused): libpng would make the
    // chunk's buffer before reading it, so the decoder refuses the chunk at its header.
    Bytes png = JoinChunks({{"IHDR", Header(32, 32, 8, 2)}});
    Bytes header = {0x70, 0x79, 0x00, 0x41, 'i', 'T', 'X', 't'};
    png.insert(png.end(), header.begin(), header.end());
    png.resize(png.size() + 64, 0);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(Decode(png), nullptr);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024); // kilobytes
}

TEST_F(ImageTest, MissingFilesAndEmptyStreamsGiveNull)
{
    EXPECT_EQ(LoadImage(SUITE + "no-such-file.png"), nullptr);
    EXPECT_EQ(LoadImage(SUITE), nullptr); // a directory
    EXPECT_EQ(LoadPixmapPNG(SUITE + "INDEX.md"), nullptr);
    TMemoryStream empty;
    EXPECT_EQ(LoadImage(empty), nullptr);
    TMemoryStream atEnd(ReadBytes(SUITE + "basn0g01.png"));
    atEnd.Seek(atEnd.Size());
    EXPECT_EQ(LoadImage(atEnd), nullptr);
}

TEST_F(ImageTest, SaveRoundTripsAtEveryLevelWithClamping)
{
    for (int format : {PF_RGB888, PF_RGBA8888})
    {
        TPixmapRef p = MakePixmap(61, 29, format);
        std::map<int, Bytes> encoded;
        for (int level : {-5, 0, 9, 12})
        {
            SCOPED_TRACE("format " + std::to_string(format) + " level " + std::to_string(level));
            encoded[level] = Encode(*p, level);
            const Bytes& png = encoded[level];
            ASSERT_GT(png.size(), 33u);
            EXPECT_EQ(png[24], 8);                             // bit depth
            EXPECT_EQ(png[25], format == PF_RGBA8888 ? 6 : 2); // colour type RGBA or RGB
            EXPECT_EQ(png[28], 0);                             // not interlaced
            TPixmapRef back = Decode(png);
            ASSERT_NE(back, nullptr);
            EXPECT_EQ(back->format, format);
            EXPECT_EQ(back->width, 61);
            EXPECT_EQ(back->height, 29);
            EXPECT_TRUE(back->pixels == p->pixels);
        }
        EXPECT_TRUE(encoded[-5] == encoded[0]); // clamped to 0
        EXPECT_TRUE(encoded[12] == encoded[9]); // clamped to 9
        EXPECT_GT(encoded[0].size(), encoded[9].size());
        EXPECT_TRUE(Encode(*p, 9) == encoded[9]); // deterministic
        for (const Chunk& c : SplitChunks(encoded[9]))
            EXPECT_TRUE(c.type == "IHDR" || c.type == "IDAT" || c.type == "IEND") << c.type;
    }
}

TEST_F(ImageTest, SaveToPathCreatesTheFile)
{
    std::string path = (std::filesystem::temp_directory_path() / "ravel_timage_test.png").string();
    TPixmapRef p = MakePixmap(9, 4, PF_RGB888);
    ASSERT_EQ(SavePixmapPNG(*p, path, 6), 1);
    TPixmapRef back = LoadPixmapPNG(path);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->pixels == p->pixels);
    TImageRef image = LoadImage(path, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ImageWidth(image), 9);
    EXPECT_EQ(ImageHeight(image), 4);
    EXPECT_EQ(DeleteFile(path), 1);
    EXPECT_EQ(SavePixmapPNG(*p, SUITE + "no-such-dir/out.png", 6), 0);
}

TEST_F(ImageTest, SaveFailsOnShortWritesAndBadPixmaps)
{
    TPixmapRef p = MakePixmap(20, 20, PF_RGBA8888);
    std::size_t full = Encode(*p, 6).size();
    for (std::size_t limit : {std::size_t(0), std::size_t(8), std::size_t(40), full / 2, full - 1})
    {
        ShortStream stream(limit);
        EXPECT_EQ(SavePixmapPNG(*p, stream, 6), 0) << "limit " << limit;
    }
    ShortStream roomy(full);
    EXPECT_EQ(SavePixmapPNG(*p, roomy, 6), 1);

    TMemoryStream stream;
    TPixmap empty;
    EXPECT_EQ(SavePixmapPNG(empty, stream, 6), 0);
    TPixmap wrongFormat = *p;
    wrongFormat.format = 2;
    EXPECT_EQ(SavePixmapPNG(wrongFormat, stream, 6), 0);
    TPixmap shortPixels = *p;
    shortPixels.pixels.resize(shortPixels.pixels.size() - 1);
    EXPECT_EQ(SavePixmapPNG(shortPixels, stream, 6), 0);
    EXPECT_EQ(stream.Size(), 0);
}

TEST_F(ImageTest, MaskPixelTakesTheAverageOfItsUnmaskedNeighbours)
{
    SetMaskColor(10, 20, 30);
    // 3x3: the top-left corner and the centre are of the mask colour.
    auto p = std::make_shared<TPixmap>();
    p->width = 3;
    p->height = 3;
    p->format = PF_RGB888;
    p->pixels = {10, 20, 30, 100, 0,  7,  0, 50, 9, //
                 1,  2,  3,  10,  20, 30, 4, 5,  6, //
                 7,  8,  9,  200, 1,  1,  9, 9,  250};
    const Bytes original = p->pixels;
    TImageRef image = TImage::FromPixmap(p, MASKEDIMAGE);
    ASSERT_NE(image, nullptr);
    const TPixmap& out = *image->pixmaps[0];
    ASSERT_EQ(out.format, PF_RGBA8888);
    // centre: the seven neighbours other than the corner
    EXPECT_EQ(PixelAt(out, 1, 1),
              (std::vector<int>{(100 + 0 + 1 + 4 + 7 + 200 + 9) / 7, (0 + 50 + 2 + 5 + 8 + 1 + 9) / 7,
                                (7 + 9 + 3 + 6 + 9 + 1 + 250) / 7, 0}));
    // corner: its right and lower neighbours; the centre is of the mask colour
    EXPECT_EQ(PixelAt(out, 0, 0), (std::vector<int>{(100 + 1) / 2, (0 + 2) / 2, (7 + 3) / 2, 0}));
    EXPECT_EQ(PixelAt(out, 2, 0), (std::vector<int>{0, 50, 9, 255}));
    EXPECT_EQ(PixelAt(out, 2, 2), (std::vector<int>{9, 9, 250, 255}));
    EXPECT_TRUE(p->pixels == original); // the given pixmap is left as it was
    EXPECT_EQ(p->format, PF_RGB888);
    EXPECT_EQ(image->mask_r, 10);
    EXPECT_EQ(image->mask_g, 20);
    EXPECT_EQ(image->mask_b, 30);
}

TEST_F(ImageTest, IsolatedMaskPixelsTurnTransparentBlack)
{
    SetMaskColor(255, 0, 255);
    auto p = std::make_shared<TPixmap>();
    p->width = 2;
    p->height = 2;
    p->format = PF_RGB888;
    p->pixels = {255, 0, 255, 255, 0, 255, 255, 0, 255, 255, 0, 255};
    TImageRef image = TImage::FromPixmap(p, -1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, DEFAULT_IMAGE_FLAGS);
    EXPECT_EQ(image->pixmaps[0]->pixels, Bytes(16, 0));

    auto single = std::make_shared<TPixmap>(*p);
    single->width = 1;
    single->height = 1;
    single->pixels.resize(3);
    image = TImage::FromPixmap(single, MASKEDIMAGE);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelAt(*image->pixmaps[0], 0, 0), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(ImageTest, MaskStepLeavesAlphaImagesAndUnmaskedFlagsAlone)
{
    TPixmapRef rgba = MakePixmap(4, 4, PF_RGBA8888);
    std::fill(rgba->pixels.begin(), rgba->pixels.end(), 0); // every pixel of the mask colour (black)
    TImageRef image = TImage::FromPixmap(rgba, -1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmaps[0], rgba);
    EXPECT_EQ(rgba->pixels, Bytes(64, 0));

    TPixmapRef rgb = MakePixmap(4, 4, PF_RGB888);
    std::fill(rgb->pixels.begin(), rgb->pixels.end(), 0);
    image = TImage::FromPixmap(rgb, FILTEREDIMAGE);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, FILTEREDIMAGE);
    EXPECT_EQ(image->pixmaps[0], rgb);
    EXPECT_EQ(image->pixmaps[0]->format, PF_RGB888);

    // a file with its own alpha keeps it, with default flags too
    SetMaskColor(255, 255, 255);
    image = LoadImage(SUITE + "tbrn2c08.png");
    ASSERT_NE(image, nullptr);
    TPixmapRef raw = LoadPixmapPNG(SUITE + "tbrn2c08.png");
    EXPECT_TRUE(image->pixmaps[0]->pixels == raw->pixels);
}

TEST_F(ImageTest, LoadedRgbFileIsMaskedWithTheCurrentColour)
{
    // basn0g01 is black and white; with the default mask colour black becomes transparent.
    TImageRef image = LoadImage(SUITE + "basn0g01.png");
    TPixmapRef raw = LoadPixmapPNG(SUITE + "basn0g01.png");
    ASSERT_NE(image, nullptr);
    ASSERT_NE(raw, nullptr);
    const TPixmap& out = *image->pixmaps[0];
    ASSERT_EQ(out.format, PF_RGBA8888);
    int masked = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            bool black = raw->At(x, y)[0] == 0;
            const std::uint8_t* px = out.At(x, y);
            EXPECT_EQ(px[3], black ? 0 : 255);
            // a masked pixel averages white neighbours only: white, or black when it has none
            if (black)
            {
                EXPECT_TRUE(px[0] == 0 || px[0] == 255);
            }
            masked += black;
        }
    EXPECT_GT(masked, 0);
    EXPECT_EQ(image->flags, DEFAULT_IMAGE_FLAGS);
}

TEST_F(ImageTest, ImageIsOneFrameWithHandleAndSettingsCaptured)
{
    SetMaskColor(1, 2, 3);
    int r = 0, g = 0, b = 0;
    GetMaskColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));
    TImageRef image = TImage::FromPixmap(MakePixmap(5, 3, PF_RGB888), 0);
    ASSERT_NE(image, nullptr);
    SetMaskColor(9, 9, 9); // later settings do not reach an existing image
    EXPECT_EQ(image->mask_r, 1);
    EXPECT_EQ(image->mask_g, 2);
    EXPECT_EQ(image->mask_b, 3);
    EXPECT_EQ(image->flags, 0);
    EXPECT_EQ(image->pixmaps.size(), 1u);
    ASSERT_EQ(image->frames.size(), 1u);
    EXPECT_EQ(image->frames[0], nullptr);
    EXPECT_EQ(image->seqs, std::vector<int>{0});
    EXPECT_FLOAT_EQ(image->handle_x, 0.0f);
    EXPECT_FLOAT_EQ(image->handle_y, 0.0f);

    SetAutoMidHandle(1);
    image = TImage::FromPixmap(MakePixmap(5, 3, PF_RGB888), -1);
    ASSERT_NE(image, nullptr);
    EXPECT_FLOAT_EQ(image->handle_x, 2.5f);
    EXPECT_FLOAT_EQ(image->handle_y, 1.5f);
    TImageRef loaded = LoadImage(SUITE + "cdfn2c08.png"); // 8x32
    ASSERT_NE(loaded, nullptr);
    EXPECT_FLOAT_EQ(loaded->handle_x, 4.0f);
    EXPECT_FLOAT_EQ(loaded->handle_y, 16.0f);
    SetAutoMidHandle(0);
    image = TImage::FromPixmap(MakePixmap(5, 3, PF_RGB888), -1);
    EXPECT_FLOAT_EQ(image->handle_x, 0.0f);

    EXPECT_EQ(SetImageHandle(image, -3.5f, 7.0f), 0);
    EXPECT_FLOAT_EQ(image->handle_x, -3.5f);
    EXPECT_FLOAT_EQ(image->handle_y, 7.0f);
    EXPECT_EQ(SetImageHandle(nullptr, 1.0f, 1.0f), 0);
    EXPECT_EQ(ImageWidth(nullptr), 0);
    EXPECT_EQ(ImageHeight(nullptr), 0);
    EXPECT_EQ(TImage::FromPixmap(nullptr, -1), nullptr);
}

// Real-world files carry ancillary chunks that libpng finds damaged or questionable: a bad CRC, a
// colour profile it cannot use, or one it knows to be an incorrect sRGB profile (as many exported
// photographs do). Such a chunk is dropped and the picture loads; the tests make these files from a
// plain RGB picture of the suite.
namespace
{

void PutBigEndian(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
}

std::uint32_t Adler(const Bytes& b)
{
    return static_cast<std::uint32_t>(adler32(adler32(0, nullptr, 0), b.data(), static_cast<uInt>(b.size())));
}

std::uint32_t Crc(const Bytes& b)
{
    return static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), b.data(), static_cast<uInt>(b.size())));
}

// A display profile for RGB data with no tags, `length` bytes long, of the given rendering intent, with
// an empty profile ID: the header libpng checks first.
Bytes ProfileHeader(std::uint32_t length, std::uint32_t intent)
{
    Bytes p(length, 0);
    PutBigEndian(p, 0, length);
    PutBigEndian(p, 8, 0x02100000); // version 2.1
    std::copy_n("mntrRGB XYZ ", 12, p.begin() + 12);
    std::copy_n("acsp", 4, p.begin() + 36);
    PutBigEndian(p, 64, intent);
    PutBigEndian(p, 68, 0x0000F6D6); // the D50 illuminant
    PutBigEndian(p, 72, 0x00010000);
    PutBigEndian(p, 76, 0x0000D32D);
    return p; // tag count 0 at byte 128
}

// A profile whose length, intent, profile ID, Adler-32 and CRC-32 are those of a profile that libpng
// lists as a known incorrect sRGB profile (3144 bytes, perceptual, no ID). Its filler bytes are chosen
// so: units of 0 or 1 placed at chosen distances set the Adler-32, then groups of four bytes 0 1 1 0,
// which turn into 1 0 0 1 without changing the Adler-32, are flipped to set the CRC-32.
Bytes KnownIncorrectSrgbProfile()
{
    constexpr std::uint32_t kLength = 3144, kAdler = 0xf784f3fb, kCrc = 0x182ea552;
    constexpr std::uint64_t M = 65521;
    Bytes p = ProfileHeader(kLength, 0);
    constexpr std::size_t kQuads = 132, kQuadCount = 64, kBallast = 400, kTuning = 700, kUnits = 300,
                          kSpan = 2000;
    for (std::size_t q = 0; q < kQuadCount; ++q)
        p[kQuads + 4 * q + 1] = p[kQuads + 4 * q + 2] = 1;
    auto sums = [&](std::uint64_t& s, std::uint64_t& w) {
        s = w = 0;
        for (std::size_t i = 0; i < p.size(); ++i)
        {
            s += p[i];
            w += std::uint64_t(kLength - i) * p[i];
        }
    };
    std::uint64_t s, w;
    sums(s, w);
    // Ballast: the byte sum short of its target by exactly the tuning units.
    std::uint64_t ballast = ((kAdler & 0xffff) + 2 * M - 1 - s % M - kUnits) % M;
    for (std::size_t i = kBallast; ballast > 0; ++i)
    {
        p[i] = static_cast<std::uint8_t>(std::min<std::uint64_t>(ballast, 255));
        ballast -= p[i];
    }
    sums(s, w);
    // Tuning: one unit at each of kUnits distinct distances d (byte kTuning + kSpan - 1 - d), whose
    // weights are base + d.
    const std::uint64_t base = kLength - (kTuning + kSpan - 1);
    const std::uint64_t least = kUnits * (kUnits - 1) / 2;
    std::uint64_t need = ((kAdler >> 16) + 4 * M - kLength % M - w % M - (kUnits * base) % M) % M;
    std::uint64_t extra = (need + M - least % M) % M;
    for (std::size_t j = kUnits; j-- > 0;)
    {
        std::uint64_t shift = std::min<std::uint64_t>(extra, kSpan - kUnits);
        extra -= shift;
        p[kTuning + kSpan - 1 - (j + shift)] = 1;
    }
    // The CRC-32 is affine in the bits: solve for the quads to flip over GF(2).
    std::uint32_t start = Crc(p);
    std::vector<std::pair<std::uint32_t, std::uint64_t>> basis; // (vector, quads giving it)
    for (std::size_t q = 0; q < kQuadCount; ++q)
    {
        Bytes f = p;
        for (int k = 0; k < 4; ++k)
            f[kQuads + 4 * q + k] ^= 1;
        std::uint32_t v = Crc(f) ^ start;
        std::uint64_t mask = std::uint64_t(1) << q;
        for (const auto& [bv, bm] : basis)
            if ((v ^ bv) < v)
                v ^= bv, mask ^= bm;
        if (v)
            basis.emplace_back(v, mask);
        std::sort(basis.begin(), basis.end(), std::greater<>());
    }
    std::uint32_t want = start ^ kCrc;
    std::uint64_t flips = 0;
    for (const auto& [bv, bm] : basis)
        if ((want ^ bv) < want)
            want ^= bv, flips ^= bm;
    EXPECT_EQ(want, 0u);
    for (std::size_t q = 0; q < kQuadCount; ++q)
        if (flips >> q & 1)
            for (int k = 0; k < 4; ++k)
                p[kQuads + 4 * q + k] ^= 1;
    EXPECT_EQ(Adler(p), kAdler);
    EXPECT_EQ(Crc(p), kCrc);
    return p;
}

// An iCCP chunk's data: the profile's name, compression method 0 and the zlib stream.
Bytes IccpData(const Bytes& profile)
{
    Bytes out = {'I', 'C', 'C', 0, 0};
    uLongf size = compressBound(static_cast<uLong>(profile.size()));
    Bytes z(size);
    EXPECT_EQ(compress(z.data(), &size, profile.data(), static_cast<uLong>(profile.size())), Z_OK);
    out.insert(out.end(), z.begin(), z.begin() + static_cast<std::ptrdiff_t>(size));
    return out;
}

// The picture's critical chunks with `extra` inserted before its image data.
Bytes WithChunks(const std::vector<Chunk>& extra)
{
    std::vector<Chunk> chunks;
    for (const Chunk& c : SplitChunks(ReadBytes(SUITE + "basn2c08.png")))
        if (c.type == "IHDR" || c.type == "IDAT" || c.type == "IEND")
            chunks.push_back(c);
    chunks.insert(chunks.begin() + 1, extra.begin(), extra.end());
    return JoinChunks(chunks);
}

// What libpng itself says of a file with its benign errors as warnings, which is its default.
std::vector<std::string> LibpngWarnings(const Bytes& file)
{
    struct Source
    {
        const Bytes* file;
        std::size_t pos;
        std::vector<std::string> warnings;
    } source{&file, 0, {}};
    png_structp png = png_create_read_struct(
        PNG_LIBPNG_VER_STRING, &source, [](png_structp p, png_const_charp) { png_longjmp(p, 1); },
        [](png_structp p, png_const_charp message) {
            static_cast<Source*>(png_get_error_ptr(p))->warnings.push_back(message);
        });
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &source, [](png_structp p, png_bytep dst, size_t n) {
        auto* src = static_cast<Source*>(png_get_io_ptr(p));
        if (src->pos + n > src->file->size())
            png_error(p, "truncated");
        std::copy_n(src->file->data() + src->pos, n, dst);
        src->pos += n;
    });
    if (!setjmp(png_jmpbuf(png)))
        png_read_info(png, info);
    png_destroy_read_struct(&png, &info, nullptr);
    return source.warnings;
}

bool Mentions(const std::vector<std::string>& warnings, const std::string& text)
{
    return std::any_of(warnings.begin(), warnings.end(),
                       [&](const std::string& w) { return w.find(text) != std::string::npos; });
}

} // namespace

TEST_F(ImageTest, DamagedOrQuestionableAncillaryChunksAreDropped)
{
    TPixmapRef plain = Decode(WithChunks({}));
    ASSERT_NE(plain, nullptr);
    auto loadsAsPlain = [&](const Bytes& file) {
        TPixmapRef p = Decode(file);
        return p && p->format == plain->format && p->pixels == plain->pixels;
    };

    // A text chunk and a gamma chunk whose CRCs are wrong.
    Bytes file =
        WithChunks({{"tEXt", Bytes{'T', 'i', 't', 'l', 'e', 0, 'x'}}, {"gAMA", Bytes{0, 0, 0xB1, 0x8F}}});
    const std::size_t text = 8 + 12 + 13, gamma = text + 12 + 7; // after the signature and IHDR
    file[text + 8 + 7 + 3] ^= 0x40;                              // the last CRC byte of each
    file[gamma + 8 + 4 + 3] ^= 0x01;
    EXPECT_TRUE(Mentions(LibpngWarnings(file), "CRC error"));
    EXPECT_TRUE(loadsAsPlain(file));

    // Colour profiles that are damaged: a bad signature, and a zlib stream cut short.
    Bytes unsigned_ = ProfileHeader(132, 0);
    unsigned_[36] = 'X';
    EXPECT_TRUE(loadsAsPlain(WithChunks({{"iCCP", IccpData(unsigned_)}})));
    Bytes cut = IccpData(ProfileHeader(1000, 0));
    cut.resize(cut.size() - 8);
    EXPECT_TRUE(loadsAsPlain(WithChunks({{"iCCP", cut}})));

    // A profile that libpng rejects as a known incorrect sRGB profile.
    file = WithChunks({{"iCCP", IccpData(KnownIncorrectSrgbProfile())}});
    EXPECT_TRUE(Mentions(LibpngWarnings(file), "known incorrect sRGB profile"));
    EXPECT_TRUE(loadsAsPlain(file));
    TMemoryStream stream(file);
    EXPECT_NE(LoadImage(stream, 0), nullptr);
}
