// platform/TDriver2D.cpp: ellipse vertex counts, polygon triangulation and the shared driver state.
#include "platform/TDriver2D.h"

#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/detail/ShapeDriver2D.h"

#include <algorithm>
#include <cmath>

namespace ravel
{

int OvalVertexCount(float rx, float ry)
{
    // Bounded above so that an absurd size cannot ask for millions of vertices.
    constexpr float MAX_VERTICES = 65536.0f;
    float sum = std::fabs(rx) + std::fabs(ry);
    if (!(sum >= 12.0f))
        return 12; // also NaN
    int count = static_cast<int>(std::min(sum, MAX_VERTICES));
    return count & ~3;
}

namespace
{
double Cross(const std::vector<float>& xy, int a, int b, int c)
{
    double ax = xy[2 * a], ay = xy[2 * a + 1];
    double bx = xy[2 * b], by = xy[2 * b + 1];
    double cx = xy[2 * c], cy = xy[2 * c + 1];
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

bool SamePoint(const std::vector<float>& xy, int a, int b)
{
    return xy[2 * a] == xy[2 * b] && xy[2 * a + 1] == xy[2 * b + 1];
}

// Whether p lies inside or on the triangle (a, b, c) wound with the sign `orient`.
bool InTriangle(const std::vector<float>& xy, int a, int b, int c, int p, double orient)
{
    return Cross(xy, a, b, p) * orient >= 0.0 && Cross(xy, b, c, p) * orient >= 0.0 &&
           Cross(xy, c, a, p) * orient >= 0.0;
}
} // namespace

std::vector<int> TriangulatePolygon(const std::vector<float>& xy)
{
    int n = static_cast<int>(xy.size() / 2);
    std::vector<int> out;
    if (n < 3)
        return out;
    out.reserve(static_cast<std::size_t>(n - 2) * 3);
    double area = 0.0;
    for (int i = 0; i < n; ++i)
    {
        int j = (i + 1) % n;
        area +=
            static_cast<double>(xy[2 * i]) * xy[2 * j + 1] - static_cast<double>(xy[2 * j]) * xy[2 * i + 1];
    }
    double orient = area < 0.0 ? -1.0 : 1.0;
    std::vector<int> ring(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        ring[static_cast<std::size_t>(i)] = i;

    while (ring.size() > 3)
    {
        int m = static_cast<int>(ring.size());
        // Tips are tried from the second vertex on, so that a convex polygon is cut into the fan
        // around vertex 0.
        int chosen = -1, flat = -1;
        for (int step = 0; step < m && chosen < 0; ++step)
        {
            int k = (1 + step) % m;
            int a = ring[static_cast<std::size_t>((k + m - 1) % m)];
            int b = ring[static_cast<std::size_t>(k)];
            int c = ring[static_cast<std::size_t>((k + 1) % m)];
            double turn = Cross(xy, a, b, c) * orient;
            if (turn <= 0.0)
            {
                if (turn == 0.0 && flat < 0)
                    flat = k;
                continue;
            }
            bool ear = true;
            for (int q = 0; q < m && ear; ++q)
            {
                int p = ring[static_cast<std::size_t>(q)];
                if (p == a || p == b || p == c || SamePoint(xy, p, a) || SamePoint(xy, p, b) ||
                    SamePoint(xy, p, c))
                    continue;
                if (InTriangle(xy, a, b, c, p, orient))
                    ear = false;
            }
            if (ear)
                chosen = k;
        }
        // No ear: a straight run of vertices (cut away as an empty triangle), or a polygon that
        // crosses itself, for which any cut keeps the loop finite.
        if (chosen < 0)
            chosen = flat >= 0 ? flat : 1;
        int a = ring[static_cast<std::size_t>((chosen + m - 1) % m)];
        int b = ring[static_cast<std::size_t>(chosen)];
        int c = ring[static_cast<std::size_t>((chosen + 1) % m)];
        out.insert(out.end(), {a, b, c});
        ring.erase(ring.begin() + chosen);
    }
    out.insert(out.end(), {ring[0], ring[1], ring[2]});
    return out;
}

namespace detail
{

bool AllFinite(const TScreenVertex* v, int count)
{
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(v[i].x) || !std::isfinite(v[i].y))
            return false;
    return true;
}

int TShapeDriver2D::SetBlend(int mode)
{
    if (mode < MASKBLEND || mode > SHADEBLEND)
        mode = SOLIDBLEND;
    if (mode == blend)
        return 0;
    blend = mode;
    ApplyBlend(mode);
    return 0;
}

int TShapeDriver2D::SetAlpha(float value)
{
    float a = value >= 0.0f ? std::min(value, 1.0f) : 0.0f; // NaN reads as 0
    alpha = static_cast<int>(a * 255.0f);
    ApplyColor();
    return 0;
}

int TShapeDriver2D::SetColor(int r, int g, int b)
{
    red = std::clamp(r, 0, 255);
    green = std::clamp(g, 0, 255);
    blue = std::clamp(b, 0, 255);
    ApplyColor();
    return 0;
}

int TShapeDriver2D::SetClsColor(int r, int g, int b)
{
    clsRed = std::clamp(r, 0, 255);
    clsGreen = std::clamp(g, 0, 255);
    clsBlue = std::clamp(b, 0, 255);
    return 0;
}

int TShapeDriver2D::SetTransform(float nix, float niy, float njx, float njy)
{
    ix = nix;
    iy = niy;
    jx = njx;
    jy = njy;
    return 0;
}

int TShapeDriver2D::SetLineWidth(float width)
{
    lineWidth = width;
    ApplyLineWidth();
    return 0;
}

void TShapeDriver2D::ResetState()
{
    red = green = blue = 255;
    alpha = 255;
    clsRed = clsGreen = clsBlue = 0;
    blend = 0;
    ix = jy = 1.0f;
    iy = jx = 0.0f;
    lineWidth = 1.0f;
}

TPixmapRef TShapeDriver2D::StartGrab(int x, int y, int w, int h, int surfaceWidth, int surfaceHeight,
                                     TGrabArea& visible)
{
    if (w <= 0 || h <= 0)
        return nullptr;
    auto out = std::make_shared<TPixmap>();
    out->width = w;
    out->height = h;
    out->format = PF_RGBA8888;
    out->pixels.assign(static_cast<std::size_t>(w) * h * 4, 0);
    visible.x0 = std::max(x, 0);
    visible.y0 = std::max(y, 0);
    visible.x1 = std::min(x + w, surfaceWidth);
    visible.y1 = std::min(y + h, surfaceHeight);
    return out;
}

void TShapeDriver2D::MapQuad(float x0, float y0, float x1, float y1, float tx, float ty, float u1, float v1,
                             TScreenVertex out[4]) const
{
    out[0] = Map(x0, y0, tx, ty);
    out[1] = Map(x1, y0, tx, ty);
    out[2] = Map(x1, y1, tx, ty);
    out[3] = Map(x0, y1, tx, ty);
    out[1].u = out[2].u = u1;
    out[2].v = out[3].v = v1;
}

int TShapeDriver2D::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    TScreenVertex q[4];
    MapQuad(x0, y0, x1, y1, tx, ty, 0.0f, 0.0f, q);
    if (!AllFinite(q, 4))
        return 0;
    scratch.assign({q[0], q[1], q[2], q[0], q[2], q[3]});
    FillTriangles(scratch);
    return 0;
}

int TShapeDriver2D::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    float rx = (x1 - x0) * 0.5f, ry = (y1 - y0) * 0.5f;
    float cx = x0 + rx, cy = y0 + ry;
    int count = OvalVertexCount(rx, ry);
    points.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        float angle = static_cast<float>(i) * 360.0f / static_cast<float>(count);
        points[static_cast<std::size_t>(i)] = Map(cx + CosDeg(angle) * rx, cy + SinDeg(angle) * ry, tx, ty);
    }
    if (!AllFinite(points.data(), count))
        return 0;
    scratch.clear();
    for (int i = 1; i + 1 < count; ++i)
        scratch.insert(scratch.end(), {points[0], points[static_cast<std::size_t>(i)],
                                       points[static_cast<std::size_t>(i + 1)]});
    FillTriangles(scratch);
    return 0;
}

int TShapeDriver2D::DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty)
{
    if (xy.size() < 6 || xy.size() % 2 != 0)
        return 0;
    std::size_t n = xy.size() / 2;
    points.resize(n);
    std::vector<float> screen(xy.size());
    for (std::size_t i = 0; i < n; ++i)
    {
        points[i] = Map(xy[2 * i] + hx, xy[2 * i + 1] + hy, tx, ty);
        screen[2 * i] = points[i].x;
        screen[2 * i + 1] = points[i].y;
    }
    if (!AllFinite(points.data(), static_cast<int>(n)))
        return 0;
    // Cut in screen space: the matrix may mirror, which the triangulation does not mind.
    std::vector<int> tris = TriangulatePolygon(screen);
    scratch.clear();
    for (int index : tris)
        scratch.push_back(points[static_cast<std::size_t>(index)]);
    FillTriangles(scratch);
    return 0;
}

} // namespace detail
} // namespace ravel
