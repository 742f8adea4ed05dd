// physics/TQuadTree.cpp: building, querying and streaming the cell tree of a zone.
#include "physics/TQuadTree.h"

#include "physics/TPhysics.h"

#include <cmath>
#include <cstdint>

namespace ravel
{

namespace
{

constexpr int STYLE_LINE = 0;
constexpr int STYLE_LOOP = 1;
constexpr int STYLE_FILL = 2;
constexpr int STYLE_HOLE = 3;

// Quadrant of the vertex (vx, vy) around the point (px, py): 1 to 4 counter-clockwise from below left.
int Quadrant(float vx, float vy, float px, float py)
{
    if (vx >= px)
        return vy >= py ? 3 : 2;
    return vy >= py ? 4 : 1;
}

// Does the segment (ax, ay)-(bx, by) meet one of the cell's four edges?
bool SegmentTouchesCell(float ax, float ay, float bx, float by, float x, float y, float w, float h)
{
    float x1 = x + w;
    float y1 = y + h;
    return SegmentsIntersect(ax, ay, bx, by, x, y, x1, y) != 0       // top
           || SegmentsIntersect(ax, ay, bx, by, x, y, x, y1) != 0    // left
           || SegmentsIntersect(ax, ay, bx, by, x1, y, x1, y1) != 0  // right
           || SegmentsIntersect(ax, ay, bx, by, x, y1, x1, y1) != 0; // bottom
}

// Does the outline of the style pass through the cell: a vertex strictly inside, or a segment across
// an edge?
bool OutlineTouchesCell(const std::vector<float>& area, int style, float x, float y, float w, float h)
{
    const std::size_t n = area.size() / 2;
    const float* v = area.data();
    float x1 = x + w;
    float y1 = y + h;
    for (std::size_t k = 0; k < n; ++k)
    {
        float vx = v[2 * k];
        float vy = v[2 * k + 1];
        if (x < vx && vx < x1 && y < vy && vy < y1)
            return true;
    }
    if (n == 0)
        return false;
    // Closed styles start with the segment from the last vertex back to the first.
    if (style != STYLE_LINE && SegmentTouchesCell(v[2 * (n - 1)], v[2 * (n - 1) + 1], v[0], v[1], x, y, w, h))
        return true;
    for (std::size_t k = 0; k + 1 < n; ++k)
        if (SegmentTouchesCell(v[2 * k], v[2 * k + 1], v[2 * k + 2], v[2 * k + 3], x, y, w, h))
            return true;
    return false;
}

bool CellOccupied(const std::vector<float>& area, int style, float x, float y, float w, float h)
{
    switch (style)
    {
    case STYLE_LINE:
    case STYLE_LOOP:
        return OutlineTouchesCell(area, style, x, y, w, h);
    case STYLE_FILL:
        return OutlineTouchesCell(area, style, x, y, w, h) ||
               std::abs(QuadrantWinding(area.data(), static_cast<int>(area.size()), x, y)) == 4;
    case STYLE_HOLE:
        return OutlineTouchesCell(area, style, x, y, w, h) ||
               std::abs(QuadrantWinding(area.data(), static_cast<int>(area.size()), x, y)) != 4;
    default:
        return false;
    }
}

TQuadTreeRef Build(const std::vector<float>& area, int style, float x, float y, float w, float h, int level)
{
    if (!CellOccupied(area, style, x, y, w, h))
        return nullptr;
    auto node = std::make_shared<TQuadTree>();
    node->posX = x;
    node->posY = y;
    node->sizeX = w;
    node->sizeY = h;
    level = level - 1;
    if (level > 0)
    {
        float hw = w / 2.0f;
        float hh = h / 2.0f;
        const float cornerX[4] = {x, x + hw, x, x + hw};
        const float cornerY[4] = {y, y, y + hh, y + hh};
        int leaves = 0;
        for (int c = 0; c < 4; ++c)
        {
            TQuadTreeRef child = Build(area, style, cornerX[c], cornerY[c], hw, hh, level);
            if (!child)
                continue;
            if (child->childList.empty())
                ++leaves;
            node->childList.push_back(std::move(child));
        }
        // Four leaves stand for the whole cell: the node becomes one leaf.
        if (leaves == 4)
            node->childList.clear();
    }
    return node;
}

int CollideCell(const TQuadTree* cell, float ox, float oy, float qx, float qy, float size, int outside)
{
    float cx = ox + cell->posX;
    float cy = oy + cell->posY;
    if (cx > qx + size || cx + cell->sizeX < qx || cy > qy + size || cy + cell->sizeY < qy)
        return outside;
    if (cell->childList.empty())
        return 1;
    for (const TQuadTreeRef& child : cell->childList)
        if (CollideCell(child.get(), ox, oy, qx, qy, size, 0) != 0)
            return 1;
    return 0;
}

void DrawCell(const TQuadTree& cell, float ox, float oy, int mode)
{
    if (!cell.childList.empty())
    {
        for (const TQuadTreeRef& child : cell.childList)
            DrawCell(*child, ox, oy, mode);
        return;
    }
    float x0 = ox + cell.posX;
    float y0 = oy + cell.posY;
    if (mode != 0)
    {
        TPhysics::DrawRect(x0, y0, cell.sizeX, cell.sizeY);
        return;
    }
    float x1 = x0 + cell.sizeX;
    float y1 = y0 + cell.sizeY;
    TPhysics::DrawLine(x0, y0, x1, y0);
    TPhysics::DrawLine(x1, y0, x1, y1);
    TPhysics::DrawLine(x1, y1, x0, y1);
    TPhysics::DrawLine(x0, y1, x0, y0);
    TPhysics::DrawLine(x0, y0, x1, y1);
    TPhysics::DrawLine(x0, y1, x1, y0);
}

void WriteCell(const TQuadTree& cell, TStream& stream)
{
    stream.WriteFloat(cell.posX);
    stream.WriteFloat(cell.posY);
    stream.WriteFloat(cell.sizeX);
    stream.WriteFloat(cell.sizeY);
    stream.WriteInt(static_cast<int>(cell.childList.size()));
    for (const TQuadTreeRef& child : cell.childList)
        WriteCell(*child, stream);
}

TQuadTreeRef ReadCell(TStream& stream, int depth)
{
    if (depth > TQuadTree::MAX_DEPTH || stream.Remaining() < TQuadTree::CELL_BYTES)
        return nullptr;
    auto node = std::make_shared<TQuadTree>();
    node->posX = stream.ReadFloat();
    node->posY = stream.ReadFloat();
    node->sizeX = stream.ReadFloat();
    node->sizeY = stream.ReadFloat();
    int count = stream.ReadInt();
    if (count <= 0)
        return node;
    // Every child takes at least one cell's bytes: a larger count cannot be genuine.
    if (static_cast<std::int64_t>(count) > stream.Remaining() / TQuadTree::CELL_BYTES)
        return nullptr;
    node->childList.reserve(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c)
    {
        TQuadTreeRef child = ReadCell(stream, depth + 1);
        if (!child)
            return nullptr;
        node->childList.push_back(std::move(child));
    }
    return node;
}

} // namespace

int SegmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
    float d = (y2 - y1) * (x4 - x3) - (y4 - y3) * (x2 - x1);
    float l = (y3 - y1) + (y4 - y2);
    float m = (x3 - x1) + (x4 - x2);
    float n1 = l * (x4 - x3) - m * (y4 - y3);
    float n2 = l * (x2 - x1) - m * (y2 - y1);
    return std::abs(n1) <= std::abs(d) && std::abs(n2) <= std::abs(d) ? 1 : 0;
}

int QuadrantWinding(const float* xy, int count, float px, float py, float ox, float oy)
{
    const int n = count / 2;
    if (n <= 0)
        return 0;
    float prevX = xy[2 * (n - 1)] + ox;
    float prevY = xy[2 * (n - 1) + 1] + oy;
    int qp = Quadrant(prevX, prevY, px, py);
    int sum = 0;
    for (int k = 0; k < n; ++k)
    {
        float vx = xy[2 * k] + ox;
        float vy = xy[2 * k + 1] + oy;
        int q = Quadrant(vx, vy, px, py);
        int d = q - qp;
        if (d == 2 || d == -2)
        {
            // The edge jumps to the opposite quadrant: which way round depends on where it crosses
            // the horizontal through the point.
            float xcross = vx - (vy - py) * (prevX - vx) / (prevY - vy);
            if (!(xcross >= px))
                d = -d;
        }
        if (d == 3)
            d = -1;
        else if (d == -3)
            d = 1;
        sum += d;
        prevX = vx;
        prevY = vy;
        qp = q;
    }
    return sum;
}

TQuadTreeRef TQuadTree::Create(const std::vector<float>& area, int style, float x, float y, float width,
                               float height, int level)
{
    if (level > MAX_DEPTH)
        level = MAX_DEPTH;
    return Build(area, style, x, y, width, height, level);
}

int TQuadTree::Collide(float ox, float oy, float qx, float qy, float size, int outside) const
{
    return CollideCell(this, ox, oy, qx, qy, size, outside);
}

int TQuadTree::Draw(float ox, float oy, int mode) const
{
    DrawCell(*this, ox, oy, mode);
    return 0;
}

int TQuadTree::Write(TStream& stream) const
{
    WriteCell(*this, stream);
    return 0;
}

TQuadTreeRef TQuadTree::Read(TStream& stream)
{
    return ReadCell(stream, 1);
}

int TQuadTree::CellCount() const
{
    int count = 1;
    for (const TQuadTreeRef& child : childList)
        count += child->CellCount();
    return count;
}

} // namespace ravel
