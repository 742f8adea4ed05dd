// scenes/testcard/TestCard.cpp: the test card and its predicted pixels. Each block of Draw has its
// probes in Probes, worked out from the drawing rules (blend formulas, matrix, handles, font bits).
#include "scenes/testcard/TestCard.h"

#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/TImageFont.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace ravel::testcard
{

namespace
{
struct RGB
{
    int r, g, b;
};

TPixmapRef MakePixmap(int w, int h, int format, auto colourAt)
{
    auto p = std::make_shared<TPixmap>();
    p->width = w;
    p->height = h;
    p->format = format;
    p->pixels.resize(static_cast<std::size_t>(w) * h * format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            std::uint8_t* d = p->At(x, y);
            int c[4];
            colourAt(x, y, c);
            for (int k = 0; k < format; ++k)
                d[k] = static_cast<std::uint8_t>(c[k]);
        }
    return p;
}

// The masked image: every third diagonal is the mask colour (black).
bool MaskedAt(int x, int y)
{
    return (x + y) % 3 == 0;
}

// Quadrants of the 8 x 8 orientation image: red, green / blue, white.
RGB Quadrant(int x, int y)
{
    if (y < 4)
        return x < 4 ? RGB{255, 0, 0} : RGB{0, 255, 0};
    return x < 4 ? RGB{0, 0, 255} : RGB{255, 255, 255};
}

TImageRef Image(TPixmapRef pixmap, int flags)
{
    return TImage::FromPixmap(std::move(pixmap), flags);
}

// Alpha blending of an integer alpha a (0-255) as both drivers compute it.
int Blend(int src, int dst, int a)
{
    return static_cast<int>(std::lround((src * a + dst * (255 - a)) / 255.0));
}

const RGB BG{BG_R, BG_G, BG_B};
const RGB YELLOW{255, 200, 0};

// The combined transform block: rotation 30, scale (1.5, 1), origin (4, 2), handle (4, 3).
constexpr float COMBINED_X = 84.0f, COMBINED_Y = 40.0f;
} // namespace

void Draw()
{
    SetMaskColor(0, 0, 0);
    SetAutoMidHandle(0);
    SetClsColor(BG_R, BG_G, BG_B);
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
    Cls();

    // Row A: blend modes, colour and alpha clamping, lines.
    SetBlend(SOLIDBLEND);
    SetColor(200, 100, 50);
    DrawRect(4, 4, 24, 24);

    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    DrawRect(32, 4, 24, 24);

    SetBlend(LIGHTBLEND);
    SetAlpha(1.0f);
    SetColor(100, 50, 25);
    DrawRect(60, 4, 12, 24);
    SetAlpha(0.5f);
    SetColor(200, 200, 200);
    DrawRect(72, 4, 12, 24);

    SetBlend(SOLIDBLEND);
    SetAlpha(1.0f);
    SetColor(200, 200, 200);
    DrawRect(88, 4, 24, 24);
    SetBlend(SHADEBLEND);
    SetColor(128, 64, 255);
    DrawRect(88, 4, 24, 24);

    SetBlend(MASKBLEND);
    SetColor(10, 220, 10);
    SetAlpha(0.4f); // below the mask threshold: nothing
    DrawRect(116, 4, 24, 12);
    SetAlpha(0.6f); // above it: drawn opaque, not blended
    DrawRect(116, 16, 24, 12);

    SetBlend(SOLIDBLEND);
    SetAlpha(1.5f);
    SetColor(300, -5, 0);
    DrawRect(144, 4, 24, 24);

    SetBlend(ALPHABLEND);
    SetAlpha(-1.0f);
    SetColor(255, 255, 255);
    DrawRect(172, 4, 24, 24);

    SetBlend(SOLIDBLEND);
    SetAlpha(1.0f);
    DrawLine(200, 4, 220, 4, 0);
    DrawLine(200, 8, 220, 8, 1);
    SetLineWidth(3.0f);
    DrawLine(200, 14, 220, 14, 0);
    SetLineWidth(1.0f);
    DrawLine(224, 4, 224, 24, 0);
    DrawLine(230, 4, 250, 24, 0);

    // Row B: matrix, origin, handle, ellipse, concave polygon, points, viewport, image alpha.
    SetColor(YELLOW.r, YELLOW.g, YELLOW.b);
    SetRotation(90);
    DrawRect(24, 34, 20, 10);
    SetRotation(0);
    SetScale(2, 3);
    DrawRect(30, 34, 5, 5);
    SetScale(1, 1);
    SetOrigin(44, 30);
    DrawRect(0, 4, 10, 10);
    SetOrigin(0, 0);
    SetHandle(5, 5);
    DrawRect(63, 39, 10, 10);
    SetHandle(0, 0);

    SetColor(0, 255, 255);
    SetRotation(30);
    SetScale(1.5f, 1.0f);
    SetOrigin(4, 2);
    SetHandle(4, 3);
    DrawRect(COMBINED_X, COMBINED_Y, 12, 8);
    SetHandle(0, 0);
    SetOrigin(0, 0);
    SetScale(1, 1);
    SetRotation(0);

    SetColor(YELLOW.r, YELLOW.g, YELLOW.b);
    DrawOval(104, 34, 28, 28);
    DrawPoly({136, 34, 166, 34, 166, 62, 158, 62, 158, 42, 144, 42, 144, 62, 136, 62});
    Plot(170, 34);
    Plot(172.4f, 34.4f);
    Plot(174.6f, 34.0f);
    SetViewport(180, 36, 10, 10);
    DrawRect(176, 32, 20, 20);
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());

    // Left half opaque green, right half green at alpha 200.
    TImageRef halfAlpha = Image(MakePixmap(8, 8, PF_RGBA8888,
                                           [](int x, int, int* c) {
                                               c[0] = 0;
                                               c[1] = 255;
                                               c[2] = 0;
                                               c[3] = x < 4 ? 255 : 200;
                                           }),
                                0);
    SetColor(255, 255, 255);
    SetBlend(MASKBLEND);
    SetAlpha(0.6f); // 200 / 255 * 153 / 255 < 0.5: the right half fails the test
    DrawImage(halfAlpha, 200, 36);
    SetAlpha(1.0f);
    DrawImage(halfAlpha, 212, 36);
    SetBlend(ALPHABLEND);
    DrawImage(halfAlpha, 224, 36);

    // Row C: text, images.
    SetBlend(MASKBLEND);
    SetColor(255, 255, 0);
    DrawText("Ag~#", 4, 68);
    DrawText("A\xC3\xA9g", 4, 88);

    SetColor(255, 255, 255);
    TImageRef masked = Image(MakePixmap(8, 8, PF_RGB888,
                                        [](int x, int y, int* c) {
                                            bool m = MaskedAt(x, y);
                                            c[0] = 0;
                                            c[1] = m ? 0 : 200;
                                            c[2] = m ? 0 : 255;
                                        }),
                             MASKEDIMAGE);
    DrawImage(masked, 40, 68);

    auto white = [](int, int, int* c) { c[0] = c[1] = c[2] = 255; };
    SetColor(100, 150, 200);
    DrawImage(Image(MakePixmap(8, 8, PF_RGB888, white), 0), 52, 68);
    TImageRef handled = Image(MakePixmap(8, 8, PF_RGB888, white), 0);
    SetImageHandle(handled, 4, 4);
    DrawImage(handled, 68, 72);

    SetColor(255, 255, 255);
    TImageRef quad = Image(MakePixmap(8, 8, PF_RGB888,
                                      [](int x, int y, int* c) {
                                          RGB q = Quadrant(x, y);
                                          c[0] = q.r;
                                          c[1] = q.g;
                                          c[2] = q.b;
                                      }),
                           0);
    SetScale(2, 2);
    DrawImage(quad, 80, 68);
    SetScale(1, 1);
    SetRotation(180);
    DrawImage(quad, 112, 92);
    SetRotation(90);
    DrawImage(quad, 128, 68);
    SetRotation(0);

    TImageRef ramp = Image(MakePixmap(2, 2, PF_RGB888,
                                      [](int x, int, int* c) {
                                          int v = x == 0 ? 0 : 255;
                                          c[0] = c[1] = c[2] = v;
                                      }),
                           FILTEREDIMAGE);
    SetScale(8, 4);
    DrawImage(ramp, 136, 68);
    TImageRef checker = Image(MakePixmap(8, 8, PF_RGB888,
                                         [](int x, int y, int* c) {
                                             int v = (x + y) % 2 ? 255 : 0;
                                             c[0] = c[1] = c[2] = v;
                                         }),
                              FILTEREDIMAGE | MIPMAPPEDIMAGE);
    SetScale(0.25f, 0.25f);
    DrawImage(checker, 160, 68);
    SetScale(1, 1);

    SetBlend(ALPHABLEND);
    SetAlpha(0.75f);
    SetColor(0, 0, 255);
    SetRotation(45);
    SetHandle(8, 8);
    DrawRect(190, 92, 16, 16);
    SetHandle(0, 0);
    SetRotation(0);

    // Images take the blend mode too; text takes the matrix.
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    SetBlend(LIGHTBLEND);
    DrawImage(quad, 208, 68);
    SetBlend(SHADEBLEND);
    DrawImage(quad, 220, 68);
    SetBlend(ALPHABLEND);
    SetAlpha(0.5f);
    DrawImage(quad, 232, 68);

    SetBlend(MASKBLEND);
    SetAlpha(1.0f);
    SetColor(255, 128, 0);
    SetScale(2, 1);
    DrawText("A", 232, 92);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}

std::vector<TProbe> Probes()
{
    std::vector<TProbe> p;
    auto add = [&](const std::string& what, int x, int y, RGB c, int tol = 0) {
        p.push_back({what, x, y, c.r, c.g, c.b, tol});
    };
    // Row A.
    add("solid", 16, 16, {200, 100, 50});
    add("solid left of", 2, 16, BG);
    add("solid right edge", 27, 16, {200, 100, 50});
    add("solid past right", 28, 16, BG);
    add("alpha 0.5", 44, 16, {Blend(255, BG_R, 127), Blend(255, BG_G, 127), Blend(255, BG_B, 127)}, 1);
    add("light", 66, 16, {BG_R + 100, BG_G + 50, BG_B + 25});
    int lit = static_cast<int>(std::lround(200 * 127 / 255.0));
    add("light alpha 0.5", 78, 16, {BG_R + lit, BG_G + lit, BG_B + lit}, 1);
    add("shade", 100, 16,
        {static_cast<int>(std::lround(200 * 128 / 255.0)), static_cast<int>(std::lround(200 * 64 / 255.0)),
         200},
        1);
    add("mask below threshold", 128, 10, BG);
    add("mask above threshold", 128, 22, {10, 220, 10});
    add("clamped colour", 156, 16, {255, 0, 0});
    add("negative alpha", 184, 16, BG);
    add("line start", 200, 4, {255, 255, 255});
    add("line end pixel left out", 219, 4, {255, 255, 255});
    add("line past end", 220, 4, BG);
    add("line with last pixel", 220, 8, {255, 255, 255});
    add("wide line top", 210, 13, {255, 255, 255});
    add("wide line bottom", 210, 15, {255, 255, 255});
    add("wide line above", 210, 12, BG);
    add("wide line below", 210, 16, BG);
    add("vertical line", 224, 12, {255, 255, 255});
    add("vertical line end", 224, 24, BG);
    add("diagonal line", 240, 14, {255, 255, 255});
    add("beside diagonal", 241, 14, BG);
    add("beside diagonal", 240, 15, BG);

    // Row B.
    add("rotated 90", 19, 44, YELLOW);
    add("rotated 90, right of", 25, 44, BG);
    add("rotated 90, below", 19, 55, BG);
    add("scaled", 38, 47, YELLOW);
    add("scaled, right of", 41, 40, BG);
    add("scaled, below", 35, 50, BG);
    add("origin", 49, 39, YELLOW);
    add("origin, below", 49, 45, BG);
    add("handle", 59, 35, YELLOW);
    add("handle, right of", 69, 40, BG);
    {
        // Local centre of the combined block, through the matrix, plus origin and position.
        float c = CosDeg(30), s = SinDeg(30);
        float ix = c * 1.5f, iy = -s, jx = s * 1.5f, jy = c;
        float lx = -4 + 6, ly = -3 + 4;
        float sx = lx * ix + ly * iy + COMBINED_X + 4, sy = lx * jx + ly * jy + COMBINED_Y + 2;
        add("rotated, scaled, origin, handle", static_cast<int>(sx), static_cast<int>(sy), {0, 255, 255});
        // Beyond the local corner (-4, -3), outwards along both axes.
        float ox = -7 * ix - 6 * iy + COMBINED_X + 4, oy = -7 * jx - 6 * jy + COMBINED_Y + 2;
        add("combined, outside its corner", static_cast<int>(ox), static_cast<int>(oy), BG);
    }
    add("oval centre", 118, 48, YELLOW);
    add("oval top", 118, 35, YELLOW);
    add("oval left", 105, 48, YELLOW);
    add("oval corner", 105, 35, BG);
    add("polygon left arm", 140, 55, YELLOW);
    add("polygon right arm", 162, 55, YELLOW);
    add("polygon base", 151, 38, YELLOW);
    add("polygon notch", 151, 50, BG);
    add("polygon notch bottom", 151, 58, BG);
    add("plot", 170, 34, YELLOW);
    add("plot rounded down", 172, 34, YELLOW);
    add("plot rounded up", 175, 34, YELLOW);
    add("between plots", 171, 34, BG);
    add("between plots", 174, 34, BG);
    add("inside viewport", 185, 40, YELLOW);
    add("left of viewport", 178, 40, BG);
    add("right of viewport", 192, 40, BG);
    add("below viewport", 185, 48, BG);
    add("mask image, opaque half", 202, 40, {0, 255, 0});
    add("mask image, alpha 200 at 0.6", 206, 40, BG);
    add("mask image at alpha 1", 214, 40, {0, 255, 0});
    add("mask image alpha 200 at alpha 1", 218, 40, {0, 255, 0});
    add("alpha image, opaque half", 226, 40, {0, 255, 0});
    add("alpha image, alpha 200", 230, 40, {Blend(0, BG_R, 200), Blend(255, BG_G, 200), Blend(0, BG_B, 200)},
        1);

    // Row C: every pixel of the text, from the font's bits.
    auto text = [&](const std::string& glyphs, int x0, int y0, int slots) {
        for (int i = 0; i < slots; ++i)
            for (int gy = 0; gy < 16; ++gy)
                for (int gx = 0; gx < 8; ++gx)
                {
                    bool on = false;
                    if (i < static_cast<int>(glyphs.size()))
                        on = DEFAULT_FONT_BITS[gy * 96 + (glyphs[i] - 32)] >> gx & 1;
                    add(std::string("text '") + (i < static_cast<int>(glyphs.size()) ? glyphs[i] : ' ') + "'",
                        x0 + 8 * i + gx, y0 + gy, on ? RGB{255, 255, 0} : BG);
                }
    };
    text("Ag~#", 4, 68, 4);
    text("Ag", 4, 88, 3); // the two bytes of e-acute take no room
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            add("masked image", 40 + x, 68 + y, MaskedAt(x, y) ? BG : RGB{0, 200, 255});
            add("tinted image", 52 + x, 68 + y, {100, 150, 200});
            add("image handle", 64 + x, 68 + y, {100, 150, 200});
        }
    add("image handle, right of", 72, 72, BG);
    add("image handle, below", 66, 76, BG);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            RGB q = Quadrant(x / 2, y / 2);
            add("scaled image", 80 + x, 68 + y, q);
        }
    add("turned 180, red", 110, 90, {255, 0, 0});
    add("turned 180, green", 106, 90, {0, 255, 0});
    add("turned 180, blue", 110, 86, {0, 0, 255});
    add("turned 180, white", 106, 86, {255, 255, 255});
    add("turned 90, red", 126, 70, {255, 0, 0});
    add("turned 90, green", 126, 74, {0, 255, 0});
    add("turned 90, blue", 122, 70, {0, 0, 255});
    add("turned 90, white", 122, 74, {255, 255, 255});

    add("turned 45, alpha 0.75", 190, 92, {Blend(0, BG_R, 191), Blend(0, BG_G, 191), Blend(255, BG_B, 191)},
        1);
    add("turned 45, top", 190, 82, {Blend(0, BG_R, 191), Blend(0, BG_G, 191), Blend(255, BG_B, 191)}, 1);
    add("turned 45, outside its corner", 180, 82, BG);
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx)
        {
            RGB q = Quadrant(qx * 4, qy * 4);
            int dx = 2 + qx * 4, dy = 2 + qy * 4;
            add("light image", 208 + dx, 68 + dy,
                {std::min(BG_R + q.r, 255), std::min(BG_G + q.g, 255), std::min(BG_B + q.b, 255)});
            add("shade image", 220 + dx, 68 + dy,
                {static_cast<int>(std::lround(BG_R * q.r / 255.0)),
                 static_cast<int>(std::lround(BG_G * q.g / 255.0)),
                 static_cast<int>(std::lround(BG_B * q.b / 255.0))},
                1);
            add("image at alpha 0.5", 232 + dx, 68 + dy,
                {Blend(q.r, BG_R, 127), Blend(q.g, BG_G, 127), Blend(q.b, BG_B, 127)}, 1);
        }
    for (int gy = 0; gy < 16; ++gy)
        for (int x = 0; x < 16; ++x)
        {
            bool on = DEFAULT_FONT_BITS[gy * 96 + ('A' - 32)] >> (x / 2) & 1;
            add("text scaled (2, 1)", 232 + x, 92 + gy, on ? RGB{255, 128, 0} : BG);
        }
    add("outside everything", 250, 120, BG);
    return p;
}

std::vector<TProbe> FilterProbes()
{
    std::vector<TProbe> p;
    // The 2-texel ramp stretched to 16 pixels: pixel k samples at (k + 0.5) / 8 - 0.5 texels from the
    // first texel centre, clamped at the edges.
    for (int k = 0; k < 16; ++k)
    {
        double s = std::clamp((k + 0.5) / 8.0 - 0.5, 0.0, 1.0);
        int v = static_cast<int>(std::lround(255.0 * s));
        p.push_back({"linear ramp", 136 + k, 70, v, v, v, 2});
    }
    // The one-pixel checkerboard at a quarter size reads its 2 x 2 mipmap level: an even grey.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            p.push_back({"mipmapped checkerboard", 160 + x, 68 + y, 128, 128, 128, 1});
    return p;
}

std::vector<TRegion> DriverSpecificRegions()
{
    return {{136, 68, 16, 8}, {160, 68, 2, 2}};
}

TRegion SoftwareTurnedImageRegion()
{
    return {120, 68, 8, 8};
}

std::vector<std::string> Check(const TPixmap& pixmap, const std::vector<TProbe>& probes)
{
    std::vector<std::string> failures;
    for (const TProbe& pr : probes)
    {
        if (pr.x < 0 || pr.y < 0 || pr.x >= pixmap.width || pr.y >= pixmap.height)
        {
            failures.push_back(pr.what + ": outside the pixmap");
            continue;
        }
        const std::uint8_t* px = pixmap.At(pr.x, pr.y);
        if (std::abs(px[0] - pr.r) > pr.tolerance || std::abs(px[1] - pr.g) > pr.tolerance ||
            std::abs(px[2] - pr.b) > pr.tolerance)
        {
            std::ostringstream line;
            line << pr.what << " at (" << pr.x << ", " << pr.y << "): got (" << int(px[0]) << ", "
                 << int(px[1]) << ", " << int(px[2]) << "), want (" << pr.r << ", " << pr.g << ", " << pr.b
                 << ") +-" << pr.tolerance;
            failures.push_back(line.str());
        }
    }
    return failures;
}

} // namespace ravel::testcard
