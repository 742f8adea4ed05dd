// Tests of the byte streams: encodings, lines, and reads past the end.
#include "platform/TStream.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <unistd.h>

using namespace ravel;

TEST(TStreamTest, NumbersAreLittleEndianWhateverTheHost)
{
    TMemoryStream s;
    s.WriteInt(0x01020304);
    s.WriteInt(-2);
    s.WriteFloat(1.0f);
    s.WriteByte(0x1FF); // low 8 bits
    const std::vector<std::uint8_t> expected = {4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0x80, 0x3F, 0xFF};
    EXPECT_EQ(s.Bytes(), expected);
    s.Seek(0);
    EXPECT_EQ(s.ReadInt(), 0x01020304);
    EXPECT_EQ(s.ReadInt(), -2);
    EXPECT_EQ(s.ReadFloat(), 1.0f);
    EXPECT_EQ(s.ReadByte(), 255);
    EXPECT_EQ(s.Eof(), 1);
}

TEST(TStreamTest, FloatBitPatternsSurviveIncludingNanAndInfinity)
{
    TMemoryStream s;
    const float values[] = {-0.0f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::denorm_min(), 1.17549435e-38f, 3.4028235e38f};
    for (float v : values)
        s.WriteFloat(v);
    s.WriteFloat(std::numeric_limits<float>::quiet_NaN());
    s.Seek(0);
    for (float v : values)
    {
        float r = s.ReadFloat();
        EXPECT_EQ(std::signbit(r), std::signbit(v));
        EXPECT_EQ(r, v);
    }
    EXPECT_TRUE(std::isnan(s.ReadFloat()));
}

TEST(TStreamTest, LinesEndInCrLfAndReadBackWithoutThem)
{
    TMemoryStream s;
    s.WriteLine("Body");
    EXPECT_EQ(s.Bytes(), (std::vector<std::uint8_t>{66, 111, 100, 121, 13, 10}));
    s.WriteInt(5);
    s.Seek(0);
    EXPECT_EQ(s.ReadLine(), "Body");
    EXPECT_EQ(s.Pos(), 6);
    EXPECT_EQ(s.ReadInt(), 5);
}

TEST(TStreamTest, ReadLineStopsAtLfOrNulAndDropsEveryCr)
{
    const char bytes[] = {'a', 13, 'b', 13, 13, 10, 'c', 0, 'd', (char)0xE9};
    TMemoryStream s(bytes, sizeof bytes);
    EXPECT_EQ(s.ReadLine(), "ab");
    EXPECT_EQ(s.ReadLine(), "c");
    std::string last = s.ReadLine(); // runs into the end
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(last[1]), 0xE9);
    EXPECT_EQ(s.ReadLine(), "");
}

TEST(TStreamTest, ReadsPastTheEndGiveZerosAndShortText)
{
    const unsigned char bytes[] = {1, 2};
    TMemoryStream s(bytes, sizeof bytes);
    EXPECT_EQ(s.ReadInt(), 0); // only two bytes left: a number needs four
    s.Seek(0);
    EXPECT_EQ(s.ReadString(10), std::string("\x01\x02"));
    EXPECT_EQ(s.ReadInt(), 0);
    EXPECT_EQ(s.ReadFloat(), 0.0f);
    EXPECT_EQ(s.ReadByte(), 0);
    EXPECT_EQ(s.Eof(), 1);
}

TEST(TStreamTest, HugeStringCountAllocatesOnlyWhatIsThere)
{
    TMemoryStream s("abc", 3);
    EXPECT_EQ(s.ReadString(2000000000), "abc");
}

TEST(TStreamTest, FileStreamsRoundTripAndReportShortWrites)
{
    std::string path =
        (std::filesystem::temp_directory_path() / ("ravel_stream_" + std::to_string(getpid()) + ".bin"))
            .string();
    TStreamRef out = WriteStream(path);
    ASSERT_NE(out, nullptr);
    out->WriteString("ZONE");
    out->WriteLine("name");
    out->WriteFloat(2.5f);
    EXPECT_EQ(CloseStream(out), 1);

    TStreamRef in = ReadStream(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Size(), 14);
    EXPECT_EQ(in->ReadString(4), "ZONE");
    EXPECT_EQ(in->ReadLine(), "name");
    EXPECT_EQ(in->ReadFloat(), 2.5f);
    EXPECT_EQ(in->Eof(), 1);
    EXPECT_EQ(in->ReadInt(), 0);
    in->WriteInt(1); // a read stream takes no writes
    EXPECT_EQ(in->Failed(), 1);
    CloseStream(in);
    DeleteFile(path);

    EXPECT_EQ(ReadStream(path), nullptr);
    EXPECT_EQ(WriteStream("/nonexistent-dir/x.bin"), nullptr);
}

TEST(TStreamTest, WritingToAFullDeviceFailsTheStream)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    TStreamRef out = WriteStream("/dev/full");
    ASSERT_NE(out, nullptr);
    for (int k = 0; k < 100000; ++k)
        out->WriteInt(k);
    EXPECT_EQ(CloseStream(out), 0);
}
