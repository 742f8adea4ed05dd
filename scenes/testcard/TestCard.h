// scenes/testcard/TestCard.h: one picture that uses every primitive, blend mode and state of the drawing
// layer, with the pixel values the drawing rules predict for it.
#pragma once
#include "platform/TImage.h"

#include <string>
#include <vector>

namespace ravel::testcard
{

inline constexpr int WIDTH = 256;
inline constexpr int HEIGHT = 128;
inline constexpr int BG_R = 40, BG_G = 60, BG_B = 80; ///< the cls colour

/// A pixel of the card and the colour it must have, within `tolerance` per channel.
struct TProbe
{
    std::string what;
    int x, y;
    int r, g, b;
    int tolerance;
};

/// A rectangle where the two drivers may differ by design (linear filtering and mipmaps, which the
/// SDL renderer does not do the same way everywhere).
struct TRegion
{
    int x, y, w, h;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

/// Clears the current graphics (at least WIDTH x HEIGHT) and draws the card; leaves the drawing state
/// at its start values, the mask colour at black and the automatic mid handle off.
void Draw();

/// What the drawing rules predict, for any driver.
std::vector<TProbe> Probes();

/// Probes of the linear filtering and mipmap regions, as the OpenGL driver draws them.
std::vector<TProbe> FilterProbes();

/// Where the drivers may disagree (FilterProbes' regions).
std::vector<TRegion> DriverSpecificRegions();

/// The image turned by 90 degrees, which SDL's software renderer maps onto its triangles up to a texel
/// off (its textured triangles are not sampled at pixel centres); the probes still check its turn.
TRegion SoftwareTurnedImageRegion();

/// The probes that a pixmap fails, one line each; empty when all pass.
std::vector<std::string> Check(const TPixmap& pixmap, const std::vector<TProbe>& probes);

} // namespace ravel::testcard
