// platform/sdl/PixelSpans.cpp: the pixels OpenGL lights for lines and fills for triangles.
#include "platform/sdl/PixelSpans.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ravel::detail
{

void LineSpans(double ax, double ay, double bx, double by, float lineWidth, int width, int height,
               std::vector<TSpan>& spans)
{
    double dx = bx - ax, dy = by - ay;
    if (dx == 0.0 && dy == 0.0)
        return;
    bool xMajor = std::fabs(dx) >= std::fabs(dy);
    if (!xMajor)
    {
        std::swap(ax, ay);
        std::swap(bx, by);
        std::swap(dx, dy);
    }
    double half = std::max(static_cast<double>(lineWidth), 1.0) * 0.5;
    double first, last;
    if (dx > 0.0)
    {
        first = std::ceil(ax - 0.5);
        last = std::ceil(bx - 0.5) - 1.0;
    }
    else
    {
        first = std::floor(bx - 0.5) + 1.0;
        last = std::floor(ax - 0.5);
    }
    double limitMajor = xMajor ? width : height;
    double limitMinor = xMajor ? height : width;
    first = std::max(first, 0.0);
    last = std::min(last, limitMajor - 1.0);
    double slope = dy / dx;
    for (double m = first; m <= last; m += 1.0)
    {
        double centre = ay + (m + 0.5 - ax) * slope;
        double lo = std::max(std::ceil(centre - half - 0.5), 0.0);
        double hi = std::min(std::ceil(centre + half - 0.5) - 1.0, limitMinor - 1.0);
        if (hi < lo)
            continue;
        int major = static_cast<int>(m), minor = static_cast<int>(lo), across = static_cast<int>(hi - lo) + 1;
        TSpan s = xMajor ? TSpan{major, minor, 1, across} : TSpan{minor, major, across, 1};
        // Runs of equal columns (or rows) become one rectangle.
        if (!spans.empty())
        {
            TSpan& p = spans.back();
            if (xMajor && p.y == s.y && p.h == s.h && p.x + p.w == s.x)
            {
                ++p.w;
                continue;
            }
            if (!xMajor && p.x == s.x && p.w == s.w && p.y + p.h == s.y)
            {
                ++p.h;
                continue;
            }
        }
        spans.push_back(s);
    }
}

void TriangleSpans(const TScreenVertex& p0, const TScreenVertex& p1, const TScreenVertex& p2, int width,
                   int height, std::vector<TSpan>& spans)
{
    double x[3] = {p0.x, p1.x, p2.x}, y[3] = {p0.y, p1.y, p2.y};
    double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0.0)
        return;
    if (area < 0.0)
    {
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
    }
    // Edge i from vertex i to i + 1: inside where a * px + b * py + c >= 0.
    double a[3], b[3], c[3];
    for (int i = 0; i < 3; ++i)
    {
        int j = (i + 1) % 3;
        a[i] = -(y[j] - y[i]);
        b[i] = x[j] - x[i];
        c[i] = -(a[i] * x[i] + b[i] * y[i]);
    }
    double top = std::min({y[0], y[1], y[2]}), bottom = std::max({y[0], y[1], y[2]});
    double firstRow = std::max(std::ceil(top - 0.5), 0.0);
    double lastRow = std::min(std::ceil(bottom - 0.5), static_cast<double>(height) - 1.0);
    for (double row = firstRow; row <= lastRow; row += 1.0)
    {
        double cy = row + 0.5;
        double lo = -1e300, hi = 1e300;
        bool empty = false;
        for (int i = 0; i < 3 && !empty; ++i)
        {
            double rest = b[i] * cy + c[i];
            if (a[i] > 0.0)
                lo = std::max(lo, -rest / a[i]); // left edge: a centre on it belongs
            else if (a[i] < 0.0)
                hi = std::min(hi, -rest / a[i]); // right edge: it does not
            else if (rest < 0.0 || (rest == 0.0 && b[i] < 0.0))
                empty = true; // outside a horizontal edge, or on a bottom one
        }
        if (empty)
            continue;
        double first = std::max(std::ceil(lo - 0.5), 0.0);
        double last = std::min(std::ceil(hi - 0.5) - 1.0, static_cast<double>(width) - 1.0);
        if (last < first)
            continue;
        spans.push_back(
            {static_cast<int>(first), static_cast<int>(row), static_cast<int>(last - first) + 1, 1});
    }
}

} // namespace ravel::detail
