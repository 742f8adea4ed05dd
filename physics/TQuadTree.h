// physics/TQuadTree.h: the tree of occupied cells a zone keeps over its outline for fast rejection.
#pragma once
#include "physics/TObject.h"
#include "platform/TStream.h"

#include <memory>
#include <vector>

namespace ravel
{

class TQuadTree;
/// A shared handle on a quadtree cell; zones share trees, which never change once built.
using TQuadTreeRef = std::shared_ptr<TQuadTree>;

/// A cell over a zone's vertices, in the zone's own frame. Only occupied cells exist: a cell without
/// children is occupied wholly, a cell with children only where they are. Cells never change after
/// construction; a new geometry gets a new tree.
class TQuadTree : public TObject
{
  public:
    /// Trees deeper than this many levels are neither built nor read.
    static constexpr int MAX_DEPTH = 32;
    /// Bytes one cell takes in a stream.
    static constexpr int CELL_BYTES = 20;

    /// Builds the tree for the cell (x, y, width, height) over the interleaved vertices `area` drawn in
    /// the given zone style (0 line, 1 loop, 2 fill, 3 hole); null when the cell is not occupied. At
    /// most `level` levels of cells are made (at most MAX_DEPTH).
    static TQuadTreeRef Create(const std::vector<float>& area, int style, float x, float y, float width,
                               float height, int level);

    /// 1 if the square (qx, qy, size x size) overlaps an occupied leaf of this tree placed at (ox, oy),
    /// else 0; `outside` when the square misses this cell altogether. Allocates nothing.
    int Collide(float ox, float oy, float qx, float qy, float size, int outside) const;

    /// Draws every leaf placed at (ox, oy) in world space: a filled rectangle for mode != 0, else the
    /// outline with both diagonals. Returns 0.
    int Draw(float ox, float oy, int mode) const;

    /// Writes the tree depth-first, each cell before its children; returns 0.
    int Write(TStream& stream) const;

    /// Reads a tree written by Write; null when the stream ends inside it, when a cell claims more
    /// children than the remaining bytes could hold, or when it is deeper than MAX_DEPTH.
    static TQuadTreeRef Read(TStream& stream);

    /// Number of cells in the tree, this one included.
    int CellCount() const;

    float posX = 0.0f;                   ///< corner with the smallest coordinates, zone frame
    float posY = 0.0f;                   ///< corner with the smallest coordinates, y
    float sizeX = 0.0f;                  ///< width of the cell
    float sizeY = 0.0f;                  ///< height of the cell
    std::vector<TQuadTreeRef> childList; ///< occupied sub-cells in corner order; empty for a leaf
};

/// 1 if the segment (x1, y1)-(x2, y2) meets the segment (x3, y3)-(x4, y4), else 0. Touching end
/// points meet; segments on one line always count as meeting.
int SegmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);

/// Quadrant winding sum of the point (px, py) against the closed sequence of `count` interleaved
/// vertices at xy (count / 2 vertices), each shifted by (ox, oy) first; the point is inside when the
/// absolute sum is 4. The tree builder and the zone's collision test both use it, so a point gets the
/// same answer from both.
int QuadrantWinding(const float* xy, int count, float px, float py, float ox = 0.0f, float oy = 0.0f);

} // namespace ravel
