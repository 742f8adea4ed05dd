// platform/DegMath.h: sine, cosine and arc tangent in degrees, the one set used everywhere.
#pragma once
#include <cmath>

namespace ravel
{

// Each helper widens its float arguments to double, works in double and rounds to float once on
// return, so results are the same on every platform and at every optimisation level.
inline constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
inline constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

/// Sine of an angle in degrees.
inline float SinDeg(float degrees)
{
    return static_cast<float>(std::sin(static_cast<double>(degrees) * kDegToRad));
}

/// Cosine of an angle in degrees.
inline float CosDeg(float degrees)
{
    return static_cast<float>(std::cos(static_cast<double>(degrees) * kDegToRad));
}

/// Direction of (x, y) in degrees, -180 to 180, 0 along +x and 90 along +y.
inline float Atan2Deg(float y, float x)
{
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)) * kRadToDeg);
}

} // namespace ravel
