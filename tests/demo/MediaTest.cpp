// tests/demo/MediaTest.cpp: the committed media are exactly what the media tool writes, and they fit
// the demo: the track picture, the grass zones over it and the car.
#include "demo/Circuit.h"
#include "demo/Demo.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "platform/TImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ravel::demo::test
{
namespace
{

const char* const kFiles[] = {"car4.rvb",    "grass1.rvz",  "grass2.rvz", "grass3.rvz",
                              "track01.png", "track02.png", "smoke.png",  "ravellogo.png"};

std::vector<char> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Committed(const std::string& name)
{
    return std::string(RAVEL_SOURCE_DIR) + "/media/" + name;
}

TEST(MediaTest, ToolWritesTheCommittedBytes)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "ravel_media_test";
    std::filesystem::remove_all(dir);
    std::string command = std::string("\"") + RAVEL_MAKE_MEDIA + "\" \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : kFiles)
    {
        std::vector<char> made = ReadAll((dir / name).string());
        ASSERT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == ReadAll(Committed(name))) << name << " differs: run make_media media";
    }
    std::filesystem::remove_all(dir);
}

TEST(MediaTest, TrackPictureHalvesAreRgbSquares)
{
    for (const char* name : {"track01.png", "track02.png"})
    {
        TPixmapRef pm = LoadPixmapPNG(Committed(name));
        ASSERT_TRUE(pm) << name;
        EXPECT_EQ(pm->width, 1024);
        EXPECT_EQ(pm->height, 1024);
        EXPECT_EQ(pm->format, PF_RGB888);
    }
}

bool Green(const std::uint8_t* p)
{
    return p[1] > p[0] + 30 && p[1] > p[2] + 30;
}

// Pixels from the picture's nearest border.
int Depth(int x, int y)
{
    return std::min(std::min(x, 2047 - x), std::min(y, 1023 - y));
}

// Grass in the picture is green-dominant, road (asphalt, kerbs, start line) is not. Every pixel's
// centre, taken as a point of the grass zones scaled by 5, is grass exactly where the zones say so;
// the tyre wall along the border lies on the outer grass zone.
TEST(MediaTest, GrassZonesMatchThePicture)
{
    TPhysics::Create(10240, 5120, 0, 0, 1);
    std::vector<TZoneRef> zones;
    for (const char* name : {"grass1.rvz", "grass2.rvz", "grass3.rvz"})
    {
        TZoneRef zone = TZone::Load(Committed(name));
        ASSERT_TRUE(zone) << name;
        EXPECT_EQ(zone->GetPositionX(), 0.0f);
        EXPECT_EQ(zone->GetPositionY(), 0.0f);
        zones.push_back(zone);
    }
    EXPECT_EQ(zones[0]->GetStyle(), TZone::HOLE);
    EXPECT_EQ(zones[1]->GetStyle(), TZone::FILL);
    EXPECT_EQ(zones[2]->GetStyle(), TZone::FILL);

    TPixmapRef left = LoadPixmapPNG(Committed("track01.png"));
    TPixmapRef right = LoadPixmapPNG(Committed("track02.png"));
    ASSERT_TRUE(left && right);
    int mismatches = 0;
    for (int y = 0; y < 1024; y += 4)
        for (int x = 0; x < 2048; x += 4)
        {
            if (Depth(x, y) < kBarrierWidth)
                continue;
            const TPixmap& pm = x < 1024 ? *left : *right;
            bool greenPixel = Green(pm.At(x % 1024, y));
            float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            bool grassZone = !InsidePolygon(zones[0]->origArea, px, py) ||
                             InsidePolygon(zones[1]->origArea, px, py) ||
                             InsidePolygon(zones[2]->origArea, px, py);
            if (greenPixel != grassZone)
                ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
    TPhysics::Free();
}

// The world ends at the picture's border, where the bounds hold the car: the picture shows a wall of
// tyres there, and the road keeps a run-off of grass from it all round.
TEST(MediaTest, TheWorldsEdgeIsAWallWithGrassBeforeIt)
{
    TPixmapRef left = LoadPixmapPNG(Committed("track01.png"));
    TPixmapRef right = LoadPixmapPNG(Committed("track02.png"));
    ASSERT_TRUE(left && right);
    int wallGreen = 0, runOffNotGreen = 0, red = 0, white = 0;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 2048; ++x)
        {
            int depth = Depth(x, y);
            if (depth >= kBarrierWidth + kRunOff)
                continue;
            const std::uint8_t* p = (x < 1024 ? *left : *right).At(x % 1024, y);
            if (depth < kBarrierWidth)
            {
                wallGreen += Green(p) ? 1 : 0;
                red += p[0] > 150 && p[1] < 70 ? 1 : 0;
                white += p[0] > 200 && p[1] > 200 && p[2] > 200 ? 1 : 0;
            }
            else
                runOffNotGreen += Green(p) ? 0 : 1;
        }
    EXPECT_EQ(wallGreen, 0);
    EXPECT_EQ(runOffNotGreen, 0);
    // Red and white painted tyres all along: thousands of pixels of each.
    EXPECT_GT(red, 5000);
    EXPECT_GT(white, 5000);
}

// The car's body file holds what the car model needs.
TEST(MediaTest, CarBodyFitsTheCarModel)
{
    TPhysics::Create(10240, 5120, 0, 0, 1);
    TAdvBodyRef body = TAdvBody::Load(Committed("car4.rvb"), 0);
    ASSERT_TRUE(body);
    for (int m = 0; m <= 6; ++m)
        EXPECT_EQ(body->MassExists(m), 1) << m;
    ASSERT_EQ(body->ConExists(0), 1);
    EXPECT_EQ(body->ConGetMass1(0), 0);
    // Constraint 0 points forward: from the middle to the nose, ahead of the front wheels.
    EXPECT_NEAR(body->ConGetAngle(0), 0.0f, 0.01f);
    EXPECT_GT(body->MassGetX(3), 0.0f);
    EXPECT_LT(body->MassGetY(3), 0.0f); // front left: the driver's left is -y when facing +x
    EXPECT_GT(body->MassGetY(4), 0.0f);
    EXPECT_LT(body->MassGetX(5), 0.0f);
    EXPECT_LT(body->MassGetY(5), 0.0f);
    EXPECT_GT(body->MassGetY(6), 0.0f);
    float length = body->MassGetX(1) - body->MassGetX(2);
    EXPECT_GT(length, 70.0f);
    EXPECT_LT(length, 130.0f);
    int group = body->MassGetColGroup(0);
    EXPECT_LT(group, 0);
    for (int m = 1; m <= body->MassMaxIndex(); ++m)
        EXPECT_EQ(body->MassGetColGroup(m), group);
    EXPECT_GE(body->RigMaxIndex(), 4);
    for (int r = 0; r <= body->RigMaxIndex(); ++r)
        EXPECT_TRUE(body->ImageGet(body->RigGetImage(r))) << r;
    TPhysics::Free();
}

} // namespace
} // namespace ravel::demo::test
