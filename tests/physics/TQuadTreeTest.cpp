// tests/physics/TQuadTreeTest.cpp: cell layouts, the two geometric tests, queries and the stream form.
#include "physics/TQuadTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace ravel;

namespace
{

struct Cell
{
    float x, y, w, h;
    int children;
};

void ExpectCell(const TQuadTree& t, const Cell& c)
{
    EXPECT_FLOAT_EQ(t.posX, c.x);
    EXPECT_FLOAT_EQ(t.posY, c.y);
    EXPECT_FLOAT_EQ(t.sizeX, c.w);
    EXPECT_FLOAT_EQ(t.sizeY, c.h);
    EXPECT_EQ(static_cast<int>(t.childList.size()), c.children);
}

// Bit-for-bit comparison of two trees, cell by cell in stream order.
void ExpectSameTree(const TQuadTree& a, const TQuadTree& b)
{
    EXPECT_EQ(a.posX, b.posX);
    EXPECT_EQ(a.posY, b.posY);
    EXPECT_EQ(a.sizeX, b.sizeX);
    EXPECT_EQ(a.sizeY, b.sizeY);
    ASSERT_EQ(a.childList.size(), b.childList.size());
    for (std::size_t k = 0; k < a.childList.size(); ++k)
        ExpectSameTree(*a.childList[k], *b.childList[k]);
}

// The tree a zone builds: its bounding box enlarged by one unit on every side.
TQuadTreeRef ZoneTree(const std::vector<float>& area, int style, int level)
{
    float minX = area[0], minY = area[1], maxX = area[0], maxY = area[1];
    for (std::size_t k = 0; k + 1 < area.size(); k += 2)
    {
        minX = std::min(minX, area[k]);
        maxX = std::max(maxX, area[k]);
        minY = std::min(minY, area[k + 1]);
        maxY = std::max(maxY, area[k + 1]);
    }
    return TQuadTree::Create(area, style, minX - 1.0f, minY - 1.0f, (maxX - minX) + 2.0f,
                             (maxY - minY) + 2.0f, level);
}

std::vector<std::uint8_t> Written(const TQuadTree& tree)
{
    TMemoryStream out;
    tree.Write(out);
    return out.Bytes();
}

} // namespace

TEST(SegmentsIntersectTest, Cases)
{
    struct Case
    {
        float s[8];
        int expected;
    } cases[] = {
        {{0, 0, 10, 0, 5, -5, 5, 5}, 1},   // crossing
        {{0, 0, 10, 0, 11, -5, 11, 5}, 0}, // beyond the end
        {{0, 0, 10, 0, 10, 0, 15, 7}, 1},  // sharing an end point only
        {{0, 0, 1, 0, 5, 0, 6, 0}, 1},     // one line, apart: still counted as meeting
        {{0, 0, 10, 0, 0, 1, 10, 1}, 0},   // parallel, different lines
        {{0, 0, 10, 10, 0, 10, 10, 0}, 1}, // diagonals of a square
        {{0, 0, 4, 4, 5, 5, 9, 0}, 0},     // would meet only if extended
        {{0, 0, 10, 0, 5, 0.5f, 5, 5}, 0}, // stops short of the segment
    };
    for (const Case& c : cases)
        EXPECT_EQ(SegmentsIntersect(c.s[0], c.s[1], c.s[2], c.s[3], c.s[4], c.s[5], c.s[6], c.s[7]),
                  c.expected)
            << c.s[0] << "," << c.s[1] << "-" << c.s[2] << "," << c.s[3] << " vs " << c.s[4] << "," << c.s[5]
            << "-" << c.s[6] << "," << c.s[7];
}

TEST(QuadrantWindingTest, InsideEitherWindingOutsideZero)
{
    const std::vector<float> ccw = {0, 0, 10, 0, 10, 10, 0, 10};
    const std::vector<float> cw = {0, 0, 0, 10, 10, 10, 10, 0};
    EXPECT_EQ(std::abs(QuadrantWinding(ccw.data(), 8, 5, 5)), 4);
    EXPECT_EQ(std::abs(QuadrantWinding(cw.data(), 8, 5, 5)), 4);
    EXPECT_EQ(QuadrantWinding(ccw.data(), 8, 5, 5), -QuadrantWinding(cw.data(), 8, 5, 5));
    EXPECT_EQ(QuadrantWinding(ccw.data(), 8, 15, 5), 0);
    EXPECT_EQ(QuadrantWinding(ccw.data(), 8, -3, -3), 0);
    // A triangle whose edges jump between opposite quadrants of the point.
    const std::vector<float> tri = {-10, -10, 10, 10, -10, 10};
    EXPECT_EQ(std::abs(QuadrantWinding(tri.data(), 6, -5, 2)), 4);
    EXPECT_EQ(QuadrantWinding(tri.data(), 6, 5, -2), 0);
    EXPECT_EQ(QuadrantWinding(nullptr, 0, 0, 0), 0);
}

TEST(TQuadTreeTest, StraightLineLevelOneIsOneLeaf)
{
    TQuadTreeRef t = ZoneTree({0, 0, 100, 0}, 0, 1);
    ASSERT_NE(t, nullptr);
    ExpectCell(*t, {-1, -1, 102, 2, 0});
}

TEST(TQuadTreeTest, StraightLineLevelThreeAlongTheBorder)
{
    TQuadTreeRef t = ZoneTree({0, 0, 100, 0}, 0, 3);
    ASSERT_NE(t, nullptr);
    ExpectCell(*t, {-1, -1, 102, 2, 4});
    const Cell children[4] = {{-1, -1, 51, 1, 2}, {50, -1, 51, 1, 2}, {-1, 0, 51, 1, 2}, {50, 0, 51, 1, 2}};
    // Upper children keep their lower halves, lower children their upper halves.
    const Cell leaves[4][2] = {{{-1, -0.5f, 25.5f, 0.5f, 0}, {24.5f, -0.5f, 25.5f, 0.5f, 0}},
                               {{50, -0.5f, 25.5f, 0.5f, 0}, {75.5f, -0.5f, 25.5f, 0.5f, 0}},
                               {{-1, 0, 25.5f, 0.5f, 0}, {24.5f, 0, 25.5f, 0.5f, 0}},
                               {{50, 0, 25.5f, 0.5f, 0}, {75.5f, 0, 25.5f, 0.5f, 0}}};
    for (int c = 0; c < 4; ++c)
    {
        ExpectCell(*t->childList[c], children[c]);
        for (int l = 0; l < 2 && l < static_cast<int>(t->childList[c]->childList.size()); ++l)
            ExpectCell(*t->childList[c]->childList[l], leaves[c][l]);
    }
}

TEST(TQuadTreeTest, DiagonalLevelThreeCollapsesFullQuarters)
{
    TQuadTreeRef t = ZoneTree({0, 0, 100, 100}, 0, 3);
    ASSERT_NE(t, nullptr);
    ExpectCell(*t, {-1, -1, 102, 102, 4});
    ExpectCell(*t->childList[0], {-1, -1, 51, 51, 0});
    ExpectCell(*t->childList[1], {50, -1, 51, 51, 1});
    ExpectCell(*t->childList[1]->childList[0], {50, 24.5f, 25.5f, 25.5f, 0});
    ExpectCell(*t->childList[2], {-1, 50, 51, 51, 1});
    ExpectCell(*t->childList[2]->childList[0], {24.5f, 50, 25.5f, 25.5f, 0});
    ExpectCell(*t->childList[3], {50, 50, 51, 51, 0});
}

TEST(TQuadTreeTest, UnoccupiedRootAndUnknownStyleGiveNoTree)
{
    EXPECT_EQ(TQuadTree::Create({0, 0, 10, 0}, 0, 50, 50, 10, 10, 3), nullptr);
    EXPECT_EQ(ZoneTree({0, 0, 10, 0}, 4, 3), nullptr);
    EXPECT_EQ(ZoneTree({0, 0, 10, 0}, -1, 3), nullptr);
}

TEST(TQuadTreeTest, FillKeepsInsideHoleKeepsOutside)
{
    // A right triangle: its lower-right half of the box is empty.
    const std::vector<float> tri = {0, 0, 100, 0, 0, 100};
    TQuadTreeRef fill = ZoneTree(tri, 2, 5);
    TQuadTreeRef hole = ZoneTree(tri, 3, 5);
    ASSERT_NE(fill, nullptr);
    ASSERT_NE(hole, nullptr);
    // Far inside, far outside but within the box, and on the hypotenuse.
    EXPECT_EQ(fill->Collide(0, 0, 20, 20, 1, 7), 1);
    EXPECT_EQ(fill->Collide(0, 0, 85, 85, 1, 7), 0);
    EXPECT_EQ(fill->Collide(0, 0, 49.5f, 49.5f, 1, 7), 1);
    EXPECT_EQ(hole->Collide(0, 0, 20, 20, 1, 7), 0);
    EXPECT_EQ(hole->Collide(0, 0, 85, 85, 1, 7), 1);
    EXPECT_EQ(hole->Collide(0, 0, 49.5f, 49.5f, 1, 7), 1);
    // A line tree of the same outline holds neither the inside nor the outside.
    TQuadTreeRef loop = ZoneTree(tri, 1, 5);
    EXPECT_EQ(loop->Collide(0, 0, 20, 20, 1, 7), 0);
    EXPECT_EQ(loop->Collide(0, 0, 85, 85, 1, 7), 0);
}

TEST(TQuadTreeTest, CollideTouchingOffsetAndOutside)
{
    TQuadTreeRef t = ZoneTree({0, 0, 100, 100}, 0, 3);
    // Placed at (1000, 2000): the top-left leaf spans x 999..1050, y 1999..2050.
    EXPECT_EQ(t->Collide(1000, 2000, 10, 10, 2, 3), 3); // misses the root: the outside value
    EXPECT_EQ(t->Collide(1000, 2000, 10, 10, 2, 0), 0);
    EXPECT_EQ(t->Collide(1000, 2000, 997, 2010, 2, 3), 1);  // touches the leaf's left edge exactly
    EXPECT_EQ(t->Collide(1000, 2000, 1100, 2020, 2, 3), 0); // inside the root, in the empty part
    EXPECT_EQ(t->Collide(1000, 2000, 1101, 2101, 5, 3), 1); // touches the root's corner: a leaf
}

TEST(TQuadTreeTest, WriteReadRoundTrip)
{
    TQuadTreeRef leaf = ZoneTree({0, 0, 100, 0}, 0, 1);
    EXPECT_EQ(Written(*leaf).size(), 20u);
    for (const TQuadTreeRef& t : {ZoneTree({0, 0, 100, 0}, 0, 3), ZoneTree({0, 0, 100, 100}, 0, 4),
                                  ZoneTree({0, 0, 100, 0, 0, 100}, 3, 5)})
    {
        std::vector<std::uint8_t> bytes = Written(*t);
        EXPECT_EQ(bytes.size(), static_cast<std::size_t>(20 * t->CellCount()));
        TMemoryStream in(bytes);
        TQuadTreeRef back = TQuadTree::Read(in);
        ASSERT_NE(back, nullptr);
        ExpectSameTree(*t, *back);
        EXPECT_EQ(in.Remaining(), 0);
    }
}

TEST(TQuadTreeTest, ReadRefusesTruncatedStreams)
{
    std::vector<std::uint8_t> bytes = Written(*ZoneTree({0, 0, 100, 100}, 0, 4));
    for (std::size_t n = 0; n < bytes.size(); ++n)
    {
        TMemoryStream in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        EXPECT_EQ(TQuadTree::Read(in), nullptr) << n << " of " << bytes.size();
    }
}

TEST(TQuadTreeTest, ReadRefusesImpossibleCountsAndDepth)
{
    auto cell = [](TMemoryStream& s, int count) {
        s.WriteFloat(0);
        s.WriteFloat(0);
        s.WriteFloat(1);
        s.WriteFloat(1);
        s.WriteInt(count);
    };
    {
        TMemoryStream s;
        cell(s, 0x7fffffff); // a huge claim with nothing behind it
        s.Seek(0);
        EXPECT_EQ(TQuadTree::Read(s), nullptr);
    }
    {
        TMemoryStream s;
        cell(s, -5); // a negative count is a leaf
        s.Seek(0);
        TQuadTreeRef t = TQuadTree::Read(s);
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(t->childList.empty());
    }
    for (int depth : {TQuadTree::MAX_DEPTH, TQuadTree::MAX_DEPTH + 1})
    {
        TMemoryStream s;
        for (int d = 1; d < depth; ++d)
            cell(s, 1);
        cell(s, 0);
        s.Seek(0);
        TQuadTreeRef t = TQuadTree::Read(s);
        EXPECT_EQ(t != nullptr, depth <= TQuadTree::MAX_DEPTH) << depth;
    }
}

TEST(QuadrantWindingTest, OffsetMatchesAShiftedCopyBitForBit)
{
    const std::vector<float> poly = {0.1f, 0.3f, 97.7f, -3.1f, 51.3f, 88.9f, 12.5f, 40.25f, -20.2f, 70.7f};
    const float offsets[][2] = {{0, 0}, {1000.3f, -2000.7f}, {-0.1f, 12345.6f}, {3.3e-3f, 7.0f}};
    std::uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (const auto& o : offsets)
    {
        std::vector<float> shifted = poly;
        for (std::size_t k = 0; k < shifted.size(); k += 2)
        {
            shifted[k] = poly[k] + o[0];
            shifted[k + 1] = poly[k + 1] + o[1];
        }
        for (int i = 0; i < 500; ++i)
        {
            // Points over the box, some exactly on vertex coordinates.
            float px = i % 7 == 0 ? shifted[2 * (i % 5)] : o[0] - 30 + next() * 160;
            float py = i % 11 == 0 ? shifted[2 * (i % 5) + 1] : o[1] - 30 + next() * 160;
            ASSERT_EQ(QuadrantWinding(poly.data(), 10, px, py, o[0], o[1]),
                      QuadrantWinding(shifted.data(), 10, px, py))
                << px << "," << py;
        }
    }
}
