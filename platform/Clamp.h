// platform/Clamp.h: keeping a setting inside its range, the one rule for every setter that does.
#pragma once

namespace ravel
{

/// The value kept within [lo, hi]. A NaN has no place in a range and becomes 0 before it is kept
/// there; a negative zero at a lower bound of 0 becomes that bound.
inline float ClampRange(float value, float lo, float hi)
{
    if (value != value)
        value = 0.0f;
    if (!(value > lo))
        return lo;
    return value > hi ? hi : value;
}

/// The value kept within [lo, hi].
constexpr int ClampRange(int value, int lo, int hi)
{
    return value < lo ? lo : (value > hi ? hi : value);
}

/// A fraction kept within [0, 1]: frictions, stiffness, alpha. A NaN becomes 0.
inline float ClampUnit(float value)
{
    return ClampRange(value, 0.0f, 1.0f);
}

/// A colour channel kept within 0..255, as a fraction of 255: the tints of rigs and zones.
inline float ChannelFraction(int channel)
{
    return static_cast<float>(ClampRange(channel, 0, 255)) / 255.0f;
}

} // namespace ravel
