// demo/Circuit.cpp: the circuit as corner points rounded off by arcs, sampled into a centre line.
#include "demo/Circuit.h"

#include "platform/DegMath.h"

#include <cmath>
#include <cstddef>

namespace ravel::demo
{

namespace
{
struct TCorner
{
    float x, y, radius;
};

// Corner points of the circuit in driving order, each rounded off by an arc of its radius. The car
// starts on the top straight between the last corner and the first, driving toward -x; (900, 450)
// and (1130, 450) together make the hairpin.
constexpr TCorner kCorners[] = {
    {150.0f, 150.0f, 110.0f},  {150.0f, 880.0f, 150.0f},  {900.0f, 880.0f, 100.0f},
    {900.0f, 450.0f, 115.0f},  {1130.0f, 450.0f, 115.0f}, {1130.0f, 880.0f, 100.0f},
    {1940.0f, 880.0f, 140.0f}, {1880.0f, 150.0f, 130.0f},
};
constexpr int kCornerCount = static_cast<int>(sizeof(kCorners) / sizeof(kCorners[0]));

constexpr float kStraightStep = 4.0f; // pixels between centre-line points on straights
constexpr float kArcStep = 3.0f;      // degrees between centre-line points on arcs

void Append(TCircuit& circuit, float x, float y, float heading, float curvature)
{
    TCircuitPoint p;
    p.x = x;
    p.y = y;
    p.heading = heading;
    p.curvature = curvature;
    if (!circuit.centre.empty())
    {
        const TCircuitPoint& last = circuit.centre.back();
        float dx = x - last.x;
        float dy = y - last.y;
        p.distance = last.distance + std::sqrt(dx * dx + dy * dy);
    }
    circuit.centre.push_back(p);
}

void AppendStraight(TCircuit& circuit, float x0, float y0, float x1, float y1)
{
    float dx = x1 - x0;
    float dy = y1 - y0;
    float len = std::sqrt(dx * dx + dy * dy);
    float heading = Atan2Deg(dy, dx);
    int steps = static_cast<int>(len / kStraightStep);
    // The start point was the end of the previous arc; the end point starts the next one.
    for (int k = 1; k < steps; ++k)
    {
        float t = static_cast<float>(k) / static_cast<float>(steps);
        Append(circuit, x0 + dx * t, y0 + dy * t, heading, 0.0f);
    }
}
} // namespace

TCircuit BuildCircuit()
{
    TCircuit circuit;
    // Tangent points of every corner: where its arc begins and ends.
    float inX[kCornerCount], inY[kCornerCount], outX[kCornerCount], outY[kCornerCount];
    float centreX[kCornerCount], centreY[kCornerCount], startAngle[kCornerCount], sweep[kCornerCount];
    float headingIn[kCornerCount];
    for (int i = 0; i < kCornerCount; ++i)
    {
        const TCorner& prev = kCorners[(i + kCornerCount - 1) % kCornerCount];
        const TCorner& c = kCorners[i];
        const TCorner& next = kCorners[(i + 1) % kCornerCount];
        float a = Atan2Deg(c.y - prev.y, c.x - prev.x);
        float b = Atan2Deg(next.y - c.y, next.x - c.x);
        float turn = b - a;
        while (turn > 180.0f)
            turn -= 360.0f;
        while (turn < -180.0f)
            turn += 360.0f;
        float half = std::fabs(turn) * 0.5f;
        float t = c.radius * SinDeg(half) / CosDeg(half);
        inX[i] = c.x - CosDeg(a) * t;
        inY[i] = c.y - SinDeg(a) * t;
        outX[i] = c.x + CosDeg(b) * t;
        outY[i] = c.y + SinDeg(b) * t;
        float side = turn > 0.0f ? 1.0f : -1.0f;
        // The arc's centre lies across the incoming direction, on the side the road turns to.
        centreX[i] = inX[i] - SinDeg(a) * c.radius * side;
        centreY[i] = inY[i] + CosDeg(a) * c.radius * side;
        startAngle[i] = Atan2Deg(inY[i] - centreY[i], inX[i] - centreX[i]);
        sweep[i] = turn;
        headingIn[i] = a;
    }

    // Start on the top straight, at the end of the last corner's arc, then go round.
    for (int n = 0; n < kCornerCount; ++n)
    {
        int prev = (n + kCornerCount - 1) % kCornerCount;
        if (n == 0)
            Append(circuit, outX[prev], outY[prev], headingIn[n], 0.0f);
        AppendStraight(circuit, outX[prev], outY[prev], inX[n], inY[n]);
        float radius = kCorners[n].radius;
        int steps = static_cast<int>(std::fabs(sweep[n]) / kArcStep) + 1;
        float curvature = (sweep[n] > 0.0f ? 1.0f : -1.0f) / radius;
        for (int k = 0; k <= steps; ++k)
        {
            if (n == kCornerCount - 1 && k == steps)
                break; // the first point closes the loop
            float t = static_cast<float>(k) / static_cast<float>(steps);
            float ang = startAngle[n] + sweep[n] * t;
            float heading = headingIn[n] + sweep[n] * t;
            Append(circuit, centreX[n] + CosDeg(ang) * radius, centreY[n] + SinDeg(ang) * radius, heading,
                   curvature);
        }
    }
    const TCircuitPoint& first = circuit.centre.front();
    const TCircuitPoint& last = circuit.centre.back();
    float dx = first.x - last.x;
    float dy = first.y - last.y;
    circuit.length = last.distance + std::sqrt(dx * dx + dy * dy);

    // The edges, half a road to either side of the centre line. Facing `heading`, the driver's left
    // is at heading - 90 degrees.
    float half = kRoadWidth * 0.5f;
    for (const TCircuitPoint& p : circuit.centre)
    {
        float lx = CosDeg(p.heading - 90.0f);
        float ly = SinDeg(p.heading - 90.0f);
        circuit.leftEdge.push_back(p.x + lx * half);
        circuit.leftEdge.push_back(p.y + ly * half);
        circuit.rightEdge.push_back(p.x - lx * half);
        circuit.rightEdge.push_back(p.y - ly * half);
    }
    circuit.startLineX = 1570.0f;
    return circuit;
}

std::vector<float> ClipPolygonAtX(const std::vector<float>& xy, float lineX, bool keepLeft)
{
    std::vector<float> out;
    std::size_t n = xy.size() / 2;
    auto inside = [&](float x) { return keepLeft ? x <= lineX : x >= lineX; };
    for (std::size_t i = 0; i < n; ++i)
    {
        std::size_t j = (i + 1) % n;
        float x0 = xy[i * 2], y0 = xy[i * 2 + 1];
        float x1 = xy[j * 2], y1 = xy[j * 2 + 1];
        bool in0 = inside(x0);
        bool in1 = inside(x1);
        if (in0)
        {
            out.push_back(x0);
            out.push_back(y0);
        }
        if (in0 != in1)
        {
            float t = (lineX - x0) / (x1 - x0);
            out.push_back(lineX);
            out.push_back(y0 + (y1 - y0) * t);
        }
    }
    return out;
}

bool InsidePolygon(const std::vector<float>& xy, float x, float y)
{
    bool inside = false;
    std::size_t n = xy.size() / 2;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++)
    {
        float xi = xy[i * 2], yi = xy[i * 2 + 1];
        float xj = xy[j * 2], yj = xy[j * 2 + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

} // namespace ravel::demo
