// platform/DegMath.h: sine, cosine and arc tangent in degrees, the one set used everywhere.
#pragma once
#include <cmath>

namespace ravel
{

// Each helper widens its float arguments to double, works in double and rounds to float once on
// return, so results are the same on every platform and at every optimisation level.
///@{
/// Radians per degree and degrees per radian, in double.
inline constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
inline constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;
///@}

namespace detail
{

// The arc tangent and the cosine are on the step's hot path (three and two per contact), so each
// first tries a short evaluation that is accurate to about 1e-15, far beyond float precision. If every
// value within a margin around that estimate rounds to the same float, the float result of the libm
// evaluation lies in the margin too and rounds the same way, so that float is returned; only estimates
// lying next to a rounding boundary between two floats (about one call in 30,000) and awkward
// arguments take the libm path. Either way the result is bit for bit the rounded libm value. The
// series are evaluated in Estrin's scheme rather than Horner's: the contacts chain these calls one
// after another, so their latency counts, not their operation count.
inline constexpr double kMargin = 0x1.0p-40; // relative; the estimates are good to below 2^-47

// The float v rounds to, written to `out`; false when v lies so close to a rounding boundary that the
// ends of [v - v*margin, v + v*margin] round apart. (When they agree, v, lying between, agrees too.)
inline bool RoundsSafely(double v, float& out)
{
    float lo = static_cast<float>(v - v * kMargin);
    float hi = static_cast<float>(v + v * kMargin);
    out = static_cast<float>(v);
    return lo == hi;
}

// atan(k / 32) for k = 0 to 32.
inline constexpr double kAtanTable[33] = {
    0x0.0p+0,             // atan(0/32)
    0x1.ffd55bba97625p-6, // atan(1/32)
    0x1.ff55bb72cfdeap-5, // atan(2/32)
    0x1.7ee182602f10fp-4, // atan(3/32)
    0x1.fd5ba9aac2f6ep-4, // atan(4/32)
    0x1.3d6eee8c6626cp-3, // atan(5/32)
    0x1.7b97b4bce5b02p-3, // atan(6/32)
    0x1.b90d7529260a2p-3, // atan(7/32)
    0x1.f5b75f92c80ddp-3, // atan(8/32)
    0x1.18bf5a30bf178p-2, // atan(9/32)
    0x1.362773707ebccp-2, // atan(10/32)
    0x1.530ad9951cd4ap-2, // atan(11/32)
    0x1.6f61941e4def1p-2, // atan(12/32)
    0x1.8b24d394a1b25p-2, // atan(13/32)
    0x1.a64eec3cc23fdp-2, // atan(14/32)
    0x1.c0db4c94ec9f0p-2, // atan(15/32)
    0x1.dac670561bb4fp-2, // atan(16/32)
    0x1.f40dd0b541418p-2, // atan(17/32)
    0x1.0657e94db30d0p-1, // atan(18/32)
    0x1.1255d9bfbd2a9p-1, // atan(19/32)
    0x1.1e00babdefeb4p-1, // atan(20/32)
    0x1.2958e59308e31p-1, // atan(21/32)
    0x1.345f01cce37bbp-1, // atan(22/32)
    0x1.3f13fb89e96f4p-1, // atan(23/32)
    0x1.4978fa3269ee1p-1, // atan(24/32)
    0x1.538f57b89061fp-1, // atan(25/32)
    0x1.5d58987169b18p-1, // atan(26/32)
    0x1.66d663923e087p-1, // atan(27/32)
    0x1.700a7c5784634p-1, // atan(28/32)
    0x1.78f6bbd5d315ep-1, // atan(29/32)
    0x1.819d0b7158a4dp-1, // atan(30/32)
    0x1.89ff5ff57f1f8p-1, // atan(31/32)
    0x1.921fb54442d18p-1, // atan(32/32)
};

// Arc tangent of t in [0, 1]: atan(c) + atan(u) with c the nearest k / 32 below t and
// u = (t - c) / (1 + t c), |u| <= 1/32, where six terms of the series leave an error below 1e-17.
inline double AtanUnit(double t)
{
    int k = static_cast<int>(t * 32.0);
    double c = static_cast<double>(k) * 0.03125;
    double u = (t - c) / (1.0 + t * c);
    double u2 = u * u;
    double u4 = u2 * u2;
    double p = (-1.0 / 3.0 + 1.0 / 5.0 * u2) + u4 * ((-1.0 / 7.0 + 1.0 / 9.0 * u2) + u4 * (-1.0 / 11.0));
    return kAtanTable[k] + (u + u * u2 * p);
}

// Estimate of atan2(y, x) for finite, non-zero x and y.
inline double Atan2Estimate(double y, double x)
{
    constexpr double kPi = 3.14159265358979323846;
    double ax = std::fabs(x), ay = std::fabs(y);
    double a = ay <= ax ? AtanUnit(ay / ax) : kPi * 0.5 - AtanUnit(ax / ay);
    if (x < 0.0)
        a = kPi - a;
    return y < 0.0 ? -a : a;
}

// cos(r + quadrant * pi / 2) for |r| a little over pi / 4 at most: the Taylor series of the sine to
// r^15 and of the cosine to r^16 leave errors below 5e-17 there.
inline double QuarterCos(double r, int quadrant)
{
    double z = r * r;
    double z2 = z * z;
    double z4 = z2 * z2;
    if (quadrant & 1)
    {
        // sin r = r - r z (1/3! - z/5! + z^2/7! - ... + z^6/15!)
        double p = ((1.0 / 6.0 - 1.0 / 120.0 * z) + z2 * (1.0 / 5040.0 - 1.0 / 362880.0 * z)) +
                   z4 * ((1.0 / 39916800.0 - 1.0 / 6227020800.0 * z) + z2 * (1.0 / 1307674368000.0));
        double v = r - r * z * p;
        return (quadrant & 2) ? v : -v;
    }
    // cos r = 1 + z (-1/2! + z/4! - z^2/6! + ... + z^7/16!)
    double p = ((-1.0 / 2.0 + 1.0 / 24.0 * z) + z2 * (-1.0 / 720.0 + 1.0 / 40320.0 * z)) +
               z4 * ((-1.0 / 3628800.0 + 1.0 / 479001600.0 * z) +
                     z2 * (-1.0 / 87178291200.0 + 1.0 / 20922789888000.0 * z));
    double v = 1.0 + z * p;
    return (quadrant & 2) ? -v : v;
}

// cos((degrees + shift * 90) * pi / 180) for |degrees| <= 720, or false when the estimate is too close
// to a rounding boundary (or too small) to be trusted. The angle is reduced by whole quarter turns in
// degrees, where the subtraction is exact for a float argument, and only the remainder is scaled to
// radians. Against the libm evaluation of the scaled argument the estimate is off by less than
// 4e-15, a sixth of the margin once the value is at least 1/32.
inline bool CosRounds(float degrees, int shift, float& out)
{
    double d = static_cast<double>(degrees);
    if (!(std::fabs(d) <= 720.0))
        return false;
    constexpr double kRound = 0x1.8p52; // adding and removing it rounds to the nearest integer
    double q = (d * (1.0 / 90.0) + kRound) - kRound;
    double r = (d - q * 90.0) * kDegToRad;
    double v = QuarterCos(r, (static_cast<int>(q) + shift) & 3);
    return std::fabs(v) >= 0x1.0p-5 && RoundsSafely(v, out);
}

} // namespace detail

/// Sine of an angle in degrees, rounded once from the double result: the same float everywhere.
inline float SinDeg(float degrees)
{
    float out;
    if (detail::CosRounds(degrees, 3, out)) // sin a = cos(a + 270)
        return out;
    return static_cast<float>(std::sin(static_cast<double>(degrees) * kDegToRad));
}

/// Cosine of an angle in degrees, rounded once from the double result: the same float everywhere.
inline float CosDeg(float degrees)
{
    float out;
    if (detail::CosRounds(degrees, 0, out))
        return out;
    return static_cast<float>(std::cos(static_cast<double>(degrees) * kDegToRad));
}

/// Direction of (x, y) in degrees, -180 to 180, 0 along +x and 90 along +y (note y comes first).
inline float Atan2Deg(float y, float x)
{
    double dy = static_cast<double>(y), dx = static_cast<double>(x);
    float out;
    // Zeros, infinities, NaN and subnormals (whose quotients could leave the double range) take libm.
    if (std::fabs(dx) >= 0x1.0p-126 && std::fabs(dy) >= 0x1.0p-126 && std::fabs(dx) <= 0x1.0p+127 &&
        std::fabs(dy) <= 0x1.0p+127 && detail::RoundsSafely(detail::Atan2Estimate(dy, dx) * kRadToDeg, out))
        return out;
    return static_cast<float>(std::atan2(dy, dx) * kRadToDeg);
}

} // namespace ravel
