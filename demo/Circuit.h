// demo/Circuit.h: the racing circuit's geometry in picture pixels, shared by the media tool and tests.
#pragma once
#include <vector>

namespace ravel::demo
{

/// One point of the circuit's centre line.
struct TCircuitPoint
{
    float x = 0.0f, y = 0.0f; ///< picture pixels
    float heading = 0.0f;     ///< direction of travel in degrees
    float distance = 0.0f;    ///< along the centre line from the first point
    float curvature = 0.0f;   ///< 1 / radius, signed: positive turns toward +heading; 0 on straights
};

/// The circuit, in picture pixels of the 2048 x 1024 track picture (5 world units per pixel).
struct TCircuit
{
    std::vector<TCircuitPoint> centre; ///< closed: the last point leads back to the first
    std::vector<float> leftEdge;       ///< x, y pairs, the driver's left edge: the infield side
    std::vector<float> rightEdge;      ///< x, y pairs, the driver's right edge: the outer side
    float length = 0.0f;               ///< of the centre line, pixels
    /// The start line runs across the road at this x on the top straight; the car faces -x.
    float startLineX = 0.0f;
};

/// Width of the road between its edges, pixels.
inline constexpr float kRoadWidth = 70.0f;
/// Width of the kerbs laid inside the road's edges in the corners, pixels.
inline constexpr float kKerbWidth = 7.0f;
/// Width of the tyre wall drawn along the picture's border, which is the world's edge, pixels.
inline constexpr int kBarrierWidth = 8;
/// Grass kept at the least between the road's outer edge and that wall, pixels.
inline constexpr int kRunOff = 70;
/// The infield is split into two grass zones along this vertical line.
inline constexpr float kInfieldSplitX = 1015.0f;

/// Builds the circuit: straights joined by arcs of several radii, a hairpin among them, running
/// through picture pixel (1600, 150) in direction -x. The same on every call.
TCircuit BuildCircuit();

/// Keeps the part of the polygon (x, y pairs) on one side of the vertical line x = lineX: keepLeft
/// keeps x <= lineX. Suited to a polygon that the line crosses twice.
std::vector<float> ClipPolygonAtX(const std::vector<float>& xy, float lineX, bool keepLeft);

/// Even-odd inside test of the point against the polygon (x, y pairs).
bool InsidePolygon(const std::vector<float>& xy, float x, float y);

} // namespace ravel::demo
