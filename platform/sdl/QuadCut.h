// platform/sdl/QuadCut.h: textured quads cut into pieces that SDL's software renderer samples safely.
//
// That renderer samples a textured triangle through 32-bit products of edge values, which grow with
// the triangle's size, and texture coordinates, which grow with the texture's: for a triangle of a few
// hundred pixels across and a texture of a thousand texels they overflow and it reads far outside the
// texture. Upright quads it copies as rectangles, safe at any size. Any other quad that leaves the
// viewport or is too large is cut to the viewport and into tiles small enough, each piece keeping the
// texture mapping of the triangle it came from.
#pragma once
#include "platform/detail/ShapeDriver2D.h"

#include <vector>

namespace ravel::detail
{

/// The viewport cut to the surface: pixels [x0, x1) x [y0, y1).
struct TClip
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

/// Whether the quad (corners clockwise from the top left) is an upright rectangle with its texture
/// upright too, which the renderer copies as a rectangle.
bool IsUpright(const TScreenVertex q[4]);

/// Whether the quad lies inside the clip and is small enough to be sampled whole from a texture whose
/// longer side is `textureSide` texels.
bool FitsWhole(const TScreenVertex q[4], int textureSide, const TClip& clip);

/// Side in pixels of the square tiles for a texture whose longer side is `textureSide` texels: whole
/// pixels, so that no pixel centre lies on a cut, and at least 8.
int TileSide(int textureSide);

/// Appends triangles, three vertices each, that cover the part of the triangle abc inside the clip,
/// cut into tiles of the side laid from the clip's corner (so the same screen gets the same cuts every
/// frame). Every vertex is at a whole pixel, where the renderer would put it, with the texture
/// coordinate of that point in abc, kept within abc's texture coordinates.
void CutTriangle(const TScreenVertex& a, const TScreenVertex& b, const TScreenVertex& c, int tile,
                 const TClip& clip, std::vector<TScreenVertex>& out);

} // namespace ravel::detail
