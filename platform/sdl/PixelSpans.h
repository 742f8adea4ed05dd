// platform/sdl/PixelSpans.h: the pixels OpenGL lights for a line and fills for a triangle, worked out
// as whole-pixel rectangles, for a renderer that rounds every vertex to a whole pixel (SDL's software
// renderer) and so would move every slanted edge.
#pragma once
#include "platform/detail/ShapeDriver2D.h"

#include <vector>

namespace ravel::detail
{

/// The pixels of columns [x, x + w) and rows [y, y + h).
struct TSpan
{
    int x, y, w, h;
};

/// Appends the pixels OpenGL lights for a line of the width from a to b (pixel-centre coordinates) on
/// a width x height surface: along the major axis every pixel whose centre lies in [a, b), across it
/// those whose centre lies within half the line width (at least 1) of the line. Runs of equal columns
/// (or rows) become one rectangle.
void LineSpans(double ax, double ay, double bx, double by, float lineWidth, int width, int height,
               std::vector<TSpan>& spans);

/// Appends the pixels OpenGL fills for the triangle on a width x height surface, row by row: those
/// whose centre is inside, a centre on an edge belonging to the triangle left of it or above it.
void TriangleSpans(const TScreenVertex& p0, const TScreenVertex& p1, const TScreenVertex& p2, int width,
                   int height, std::vector<TSpan>& spans);

} // namespace ravel::detail
