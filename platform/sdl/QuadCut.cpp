// platform/sdl/QuadCut.cpp: textured quads cut to the viewport and into tiles that SDL's software
// renderer samples safely.
#include "platform/sdl/QuadCut.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ravel::detail
{

namespace
{
/// Pixels of bounding box times texels of texture side a piece may have; an eighth of the smallest
/// product seen to fail.
constexpr double safeProduct = 67108864.0; // 2^26

/// Where the software renderer puts a vertex at x >= 0: it drops the fraction.
double SnapToPixel(double x)
{
    return std::floor(x);
}

struct TPoint
{
    double x, y;
};

/// The point where the segment a-b crosses the line (x or y) = at; the same whichever way round the
/// segment is given, so that the two triangles of a quad meet without a gap along their diagonal.
TPoint Cross(TPoint a, TPoint b, bool vertical, double at)
{
    if (b.x < a.x || (b.x == a.x && b.y < a.y))
        std::swap(a, b);
    double t = vertical ? (at - a.x) / (b.x - a.x) : (at - a.y) / (b.y - a.y);
    TPoint p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    (vertical ? p.x : p.y) = at; // exact on the cut
    return p;
}

/// Keeps the part of the convex polygon on one side of a line (Sutherland-Hodgman, one edge).
int ClipPolygon(const TPoint* in, int n, TPoint* out, bool vertical, double at, bool keepBelow)
{
    auto inside = [&](TPoint p) {
        double v = vertical ? p.x : p.y;
        return keepBelow ? v <= at : v >= at;
    };
    int m = 0;
    for (int i = 0; i < n; ++i)
    {
        TPoint a = in[i], b = in[(i + 1) % n];
        bool ia = inside(a), ib = inside(b);
        if (ia)
            out[m++] = a;
        if (ia != ib)
            out[m++] = Cross(a, b, vertical, at);
    }
    return m;
}
} // namespace

bool IsUpright(const TScreenVertex q[4])
{
    return q[0].y == q[1].y && q[1].x == q[2].x && q[2].y == q[3].y && q[3].x == q[0].x && q[0].x < q[1].x &&
           q[0].y < q[3].y && q[0].u == q[3].u && q[1].u == q[2].u && q[0].v == q[1].v && q[2].v == q[3].v;
}

bool FitsWhole(const TScreenVertex q[4], int textureSide, const TClip& clip)
{
    double x0 = q[0].x, y0 = q[0].y, x1 = x0, y1 = y0;
    for (int i = 1; i < 4; ++i)
    {
        x0 = std::min(x0, static_cast<double>(q[i].x));
        x1 = std::max(x1, static_cast<double>(q[i].x));
        y0 = std::min(y0, static_cast<double>(q[i].y));
        y1 = std::max(y1, static_cast<double>(q[i].y));
    }
    return x0 >= clip.x0 && y0 >= clip.y0 && x1 <= clip.x1 && y1 <= clip.y1 &&
           (x1 - x0) * (y1 - y0) * textureSide <= safeProduct;
}

int TileSide(int textureSide)
{
    double side = std::floor(std::sqrt(safeProduct / std::max(textureSide, 1)));
    return static_cast<int>(std::max(side, 8.0));
}

void CutTriangle(const TScreenVertex& a, const TScreenVertex& b, const TScreenVertex& c, int tile,
                 const TClip& clip, std::vector<TScreenVertex>& out)
{
    double ax = a.x, ay = a.y;
    double bx = static_cast<double>(b.x) - ax, by = static_cast<double>(b.y) - ay;
    double cx = static_cast<double>(c.x) - ax, cy = static_cast<double>(c.y) - ay;
    double area = bx * cy - by * cx;
    if (area == 0.0)
        return;
    double x0 = std::max(std::min({ax, ax + bx, ax + cx}), static_cast<double>(clip.x0));
    double x1 = std::min(std::max({ax, ax + bx, ax + cx}), static_cast<double>(clip.x1));
    double y0 = std::max(std::min({ay, ay + by, ay + cy}), static_cast<double>(clip.y0));
    double y1 = std::min(std::max({ay, ay + by, ay + cy}), static_cast<double>(clip.y1));
    if (x0 >= x1 || y0 >= y1)
        return;
    // Tiles are laid from the viewport's corner, so the same screen gets the same cuts every frame.
    int firstCol = static_cast<int>(std::floor((x0 - clip.x0) / tile));
    int firstRow = static_cast<int>(std::floor((y0 - clip.y0) / tile));
    for (int row = firstRow; clip.y0 + static_cast<double>(row) * tile < y1; ++row)
        for (int col = firstCol; clip.x0 + static_cast<double>(col) * tile < x1; ++col)
        {
            double tx0 = std::max(x0, static_cast<double>(clip.x0) + static_cast<double>(col) * tile);
            double ty0 = std::max(y0, static_cast<double>(clip.y0) + static_cast<double>(row) * tile);
            double tx1 = std::min(x1, static_cast<double>(clip.x0) + static_cast<double>(col + 1) * tile);
            double ty1 = std::min(y1, static_cast<double>(clip.y0) + static_cast<double>(row + 1) * tile);
            TPoint p[8] = {{ax, ay}, {ax + bx, ay + by}, {ax + cx, ay + cy}}, r[8];
            int n = ClipPolygon(p, 3, r, true, tx0, false);
            n = ClipPolygon(r, n, p, true, tx1, true);
            n = ClipPolygon(p, n, r, false, ty0, false);
            n = ClipPolygon(r, n, p, false, ty1, true);
            for (int i = 1; i + 1 < n; ++i)
                for (int k : {0, i, i + 1})
                {
                    // The software renderer moves every vertex to a whole pixel; the texel is
                    // taken where the vertex will be, so that the image does not shift with the
                    // cuts. Barycentric weights in the whole triangle give it.
                    double x = SnapToPixel(p[k].x);
                    double y = SnapToPixel(p[k].y);
                    double px = x - ax, py = y - ay;
                    double wb = (px * cy - py * cx) / area, wc = (bx * py - by * px) / area;
                    double u =
                        a.u + (static_cast<double>(b.u) - a.u) * wb + (static_cast<double>(c.u) - a.u) * wc;
                    double v =
                        a.v + (static_cast<double>(b.v) - a.v) * wb + (static_cast<double>(c.v) - a.v) * wc;
                    // A moved vertex may fall just outside the triangle: keep to its texels.
                    u = std::clamp(u, static_cast<double>(std::min({a.u, b.u, c.u})),
                                   static_cast<double>(std::max({a.u, b.u, c.u})));
                    v = std::clamp(v, static_cast<double>(std::min({a.v, b.v, c.v})),
                                   static_cast<double>(std::max({a.v, b.v, c.v})));
                    out.push_back(TScreenVertex{static_cast<float>(x), static_cast<float>(y),
                                                static_cast<float>(u), static_cast<float>(v)});
                }
        }
}

} // namespace ravel::detail
