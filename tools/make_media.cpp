// tools/make_media.cpp: writes every file the car demo reads, the same bytes on every run.
//
//   make_media [folder]     (default: media)
//
// The track picture, the grass zones and the car are drawn and built here from the circuit geometry
// of demo/Circuit.h; the zones and the car go through the library's own Save, the pictures through
// SavePixmapPNG.
#include "demo/Circuit.h"
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace ravel;
using namespace ravel::demo;

namespace
{

constexpr int kPictureW = 2048;
constexpr int kPictureH = 1024;

struct TRgb
{
    int r, g, b;
};

// A fixed integer hash of a pixel: the texture's noise, identical on every machine.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t salt)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ salt * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

int Noise(int x, int y, std::uint32_t salt, int amplitude)
{
    return static_cast<int>(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), salt) %
                            static_cast<std::uint32_t>(amplitude * 2 + 1)) -
           amplitude;
}

std::uint8_t Clamp8(int v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Calls fill(x, y) for every pixel whose centre lies inside the polygon (even-odd rule).
template <typename Fill> void ScanPolygon(const std::vector<float>& xy, int width, int height, Fill fill)
{
    std::size_t n = xy.size() / 2;
    if (n < 3)
        return;
    float minY = xy[1], maxY = xy[1];
    for (std::size_t i = 0; i < n; ++i)
    {
        minY = std::min(minY, xy[i * 2 + 1]);
        maxY = std::max(maxY, xy[i * 2 + 1]);
    }
    int y0 = std::max(0, static_cast<int>(std::floor(minY)));
    int y1 = std::min(height - 1, static_cast<int>(std::ceil(maxY)));
    std::vector<float> cross;
    for (int y = y0; y <= y1; ++y)
    {
        float cy = static_cast<float>(y) + 0.5f;
        cross.clear();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++)
        {
            float xi = xy[i * 2], yi = xy[i * 2 + 1];
            float xj = xy[j * 2], yj = xy[j * 2 + 1];
            if ((yi > cy) != (yj > cy))
                cross.push_back((xj - xi) * (cy - yi) / (yj - yi) + xi);
        }
        std::sort(cross.begin(), cross.end());
        for (std::size_t k = 0; k + 1 < cross.size(); k += 2)
        {
            // Pixel x is inside when cross[k] < x + 0.5 < cross[k + 1], as InsidePolygon decides.
            int xa = std::max(0, static_cast<int>(std::ceil(cross[k] - 0.5f)));
            int xb = std::min(width - 1, static_cast<int>(std::ceil(cross[k + 1] - 0.5f)) - 1);
            for (int x = xa; x <= xb; ++x)
                fill(x, y);
        }
    }
}

void Put(TPixmap& pm, int x, int y, TRgb c, int alpha = 255)
{
    std::uint8_t* p = pm.At(x, y);
    p[0] = Clamp8(c.r);
    p[1] = Clamp8(c.g);
    p[2] = Clamp8(c.b);
    if (pm.format == PF_RGBA8888)
        p[3] = Clamp8(alpha);
}

TPixmap NewPixmap(int w, int h, int format)
{
    TPixmap pm;
    pm.width = w;
    pm.height = h;
    pm.format = format;
    pm.pixels.assign(static_cast<std::size_t>(w) * h * format, 0);
    return pm;
}

// --- The track picture --------------------------------------------------------------------------

// The world's edge, along the picture's border: a concrete wall and, inside it, a row of tyres in
// red and white painted groups of three, on dark ground.
void DrawBarrier(TPixmap& pm)
{
    const float tyreSpacing = 6.0f, tyreRadius = 2.8f, tyreLine = 5.0f;
    for (int y = 0; y < kPictureH; ++y)
        for (int x = 0; x < kPictureW; ++x)
        {
            int fromLeft = x, fromRight = kPictureW - 1 - x, fromTop = y, fromBottom = kPictureH - 1 - y;
            int depth = std::min(std::min(fromLeft, fromRight), std::min(fromTop, fromBottom));
            if (depth >= kBarrierWidth)
                continue;
            if (depth < 2)
            {
                int v = 168 + Noise(x, y, 9, 6) - (depth == 0 ? 30 : 0);
                Put(pm, x, y, {v, v, v - 4});
                continue;
            }
            // Position along the wall and across it, measured from the nearest border.
            bool across = std::min(fromTop, fromBottom) <= std::min(fromLeft, fromRight);
            float along = static_cast<float>(across ? x : y) + 0.5f;
            float inward = static_cast<float>(depth) + 0.5f;
            float index = std::floor(along / tyreSpacing);
            float da = along - (index * tyreSpacing + tyreSpacing * 0.5f);
            float dd = inward - tyreLine;
            float r = std::sqrt(da * da + dd * dd);
            TRgb c{38, 42, 36};
            if (r < tyreRadius)
            {
                bool red = static_cast<int>(index) / 3 % 2 == 0;
                if (r >= 1.6f)
                    c = red ? TRgb{196, 30, 28} : TRgb{232, 232, 232};
                else
                    c = r < 0.8f ? TRgb{44, 44, 46} : TRgb{22, 22, 24};
            }
            Put(pm, x, y, {c.r + Noise(x, y, 10, 4), c.g + Noise(x, y, 11, 4), c.b + Noise(x, y, 12, 4)});
        }
}

TPixmap DrawTrack(const TCircuit& circuit)
{
    TPixmap pm = NewPixmap(kPictureW, kPictureH, PF_RGB888);
    // What each pixel is: 0 grass, 1 road.
    std::vector<std::uint8_t> road(static_cast<std::size_t>(kPictureW) * kPictureH, 0);
    ScanPolygon(circuit.rightEdge, kPictureW, kPictureH, [&](int x, int y) { road[y * kPictureW + x] = 1; });
    ScanPolygon(circuit.leftEdge, kPictureW, kPictureH, [&](int x, int y) { road[y * kPictureW + x] = 0; });

    for (int y = 0; y < kPictureH; ++y)
        for (int x = 0; x < kPictureW; ++x)
        {
            if (road[y * kPictureW + x])
            {
                // Asphalt: grey with a fine grain and coarser patches.
                int v = 92 + Noise(x, y, 1, 6) + Noise(x / 8, y / 8, 2, 3);
                Put(pm, x, y, {v, v, v + 4});
            }
            else
            {
                // Grass in mown stripes, lighter and darker, with a grain.
                int stripe = ((x + y) / 40) % 2 == 0 ? 10 : -6;
                int n = Noise(x, y, 3, 9) + Noise(x / 4, y / 4, 4, 5);
                Put(pm, x, y, {52 + stripe / 2 + n / 2, 128 + stripe + n, 40 + n / 2});
            }
        }

    // Kerbs on both edges through every corner: red and white blocks laid inside the road's edges.
    const auto& c = circuit.centre;
    std::size_t n = c.size();
    float half = kRoadWidth * 0.5f;
    for (std::size_t i = 0; i < n; ++i)
    {
        const TCircuitPoint& p = c[i];
        const TCircuitPoint& q = c[(i + 1) % n];
        if (p.curvature == 0.0f || q.curvature == 0.0f)
            continue;
        bool white = static_cast<int>(p.distance / 12.0f) % 2 == 0;
        TRgb colour = white ? TRgb{235, 235, 235} : TRgb{200, 32, 28};
        for (float side : {-1.0f, 1.0f})
        {
            float pnx = CosDeg(p.heading - 90.0f) * side, pny = SinDeg(p.heading - 90.0f) * side;
            float qnx = CosDeg(q.heading - 90.0f) * side, qny = SinDeg(q.heading - 90.0f) * side;
            float outer = half, inner = half - kKerbWidth;
            std::vector<float> quad = {p.x + pnx * outer, p.y + pny * outer, q.x + qnx * outer,
                                       q.y + qny * outer, q.x + qnx * inner, q.y + qny * inner,
                                       p.x + pnx * inner, p.y + pny * inner};
            ScanPolygon(quad, kPictureW, kPictureH, [&](int x, int y) {
                if (road[y * kPictureW + x])
                    Put(pm, x, y, {colour.r + Noise(x, y, 5, 4), colour.g + Noise(x, y, 6, 4), colour.b});
            });
        }
    }

    DrawBarrier(pm);

    // The start line: a chequered band two squares deep across the top straight.
    const int square = 7;
    int lineX0 = static_cast<int>(circuit.startLineX) - square;
    for (int y = 0; y < kPictureH; ++y)
        for (int x = lineX0; x < lineX0 + square * 2; ++x)
        {
            if (!road[y * kPictureW + x] || y > 300)
                continue;
            bool light = ((x - lineX0) / square + y / square) % 2 == 0;
            int v = light ? 240 : 24;
            Put(pm, x, y, {v, v, v});
        }
    return pm;
}

TPixmap Crop(const TPixmap& src, int x0, int w)
{
    TPixmap pm = NewPixmap(w, src.height, src.format);
    for (int y = 0; y < src.height; ++y)
        std::copy(src.At(x0, y), src.At(x0, y) + w * src.format, pm.At(0, y));
    return pm;
}

// --- Sprites ------------------------------------------------------------------------------------

// A soft round puff, white-grey, fading to transparent at its edge.
TPixmap DrawSmoke()
{
    const int size = 64;
    TPixmap pm = NewPixmap(size, size, PF_RGBA8888);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            float dx = (static_cast<float>(x) + 0.5f - size * 0.5f) / (size * 0.5f);
            float dy = (static_cast<float>(y) + 0.5f - size * 0.5f) / (size * 0.5f);
            float d = std::sqrt(dx * dx + dy * dy);
            float a = d >= 1.0f ? 0.0f : (1.0f - d) * (1.0f - d);
            int alpha = static_cast<int>(a * 255.0f) + (a > 0.05f ? Noise(x / 3, y / 3, 7, 12) : 0);
            int v = 226 + Noise(x / 2, y / 2, 8, 10);
            Put(pm, x, y, {v, v, v}, alpha > 0 ? alpha : 0);
        }
    return pm;
}

// 5 x 7 glyphs of the letters of the logo, one row per string, '#' set.
struct TGlyph
{
    char letter;
    const char* rows[7];
};
constexpr TGlyph kGlyphs[] = {
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
};

// "Ravel" in white block letters with a dark outline on a transparent ground.
TPixmap DrawLogo()
{
    const int w = 180, h = 64, cell = 6;
    TPixmap pm = NewPixmap(w, h, PF_RGBA8888);
    std::vector<std::uint8_t> ink(static_cast<std::size_t>(w) * h, 0);
    const char* word = "Ravel";
    int textW = 5 * (5 * cell) + 4 * cell;
    int left = (w - textW) / 2, top = (h - 7 * cell) / 2;
    for (int k = 0; word[k]; ++k)
        for (const TGlyph& g : kGlyphs)
        {
            if (g.letter != word[k])
                continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.rows[row][col] == '#')
                        for (int py = 0; py < cell; ++py)
                            for (int px = 0; px < cell; ++px)
                                ink[(top + row * cell + py) * w + left + k * 6 * cell + col * cell + px] = 1;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            if (ink[y * w + x])
            {
                int shade = 255 - (y - top) * 2;
                Put(pm, x, y, {shade, shade, 255}, 255);
                continue;
            }
            bool edge = false;
            for (int dy = -2; dy <= 2 && !edge; ++dy)
                for (int dx = -2; dx <= 2 && !edge; ++dx)
                {
                    int xx = x + dx, yy = y + dy;
                    edge = xx >= 0 && yy >= 0 && xx < w && yy < h && ink[yy * w + xx];
                }
            if (edge)
                Put(pm, x, y, {16, 28, 64}, 230);
        }
    return pm;
}

// The car's body seen from above, facing +x: red, with windows and lights.
TPixmap DrawCarBody()
{
    const int w = 104, h = 44;
    TPixmap pm = NewPixmap(w, h, PF_RGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            float fx = (static_cast<float>(x) + 0.5f - w * 0.5f) / (w * 0.5f);
            float fy = (static_cast<float>(y) + 0.5f - h * 0.5f) / (h * 0.5f);
            // A rounded rectangle: |fx|^6 + |fy|^6 <= 1, slightly narrower at the nose.
            float narrow = fx > 0.6f ? 1.0f + (fx - 0.6f) * 0.4f : 1.0f;
            float e = std::pow(std::fabs(fx), 6.0f) + std::pow(std::fabs(fy * narrow), 6.0f);
            if (e > 1.0f)
                continue;
            TRgb c{196, 22, 26};
            if (fx > 0.08f && fx < 0.36f && std::fabs(fy) < 0.72f)
                c = {40, 52, 70}; // windscreen
            else if (fx < -0.42f && fx > -0.62f && std::fabs(fy) < 0.66f)
                c = {40, 52, 70}; // rear window
            else if (fx > -0.42f && fx <= 0.08f && std::fabs(fy) < 0.7f)
                c = {170, 16, 20}; // roof
            else if (std::fabs(fy) < 0.12f && (fx > 0.4f || fx < -0.66f))
                c = {240, 240, 240}; // racing stripe
            if (fx > 0.9f && std::fabs(fy) > 0.45f && std::fabs(fy) < 0.8f)
                c = {250, 240, 170}; // headlights
            if (fx < -0.93f && std::fabs(fy) > 0.45f && std::fabs(fy) < 0.8f)
                c = {255, 60, 40}; // tail lights
            int shade = e > 0.8f ? -30 : 0;
            Put(pm, x, y, {c.r + shade, c.g + shade, c.b + shade}, 255);
        }
    return pm;
}

// A tyre seen from above: dark with tread lines.
TPixmap DrawWheel()
{
    const int w = 20, h = 10;
    TPixmap pm = NewPixmap(w, h, PF_RGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
            if (corner)
                continue;
            int v = x % 4 == 0 ? 52 : 30;
            Put(pm, x, y, {v, v, v + 2}, 255);
        }
    return pm;
}

// --- Bodies and zones ---------------------------------------------------------------------------

// A rig image with its handle at its centre, so that it is drawn centred on its mass.
TImageRef Image(const TPixmap& pm)
{
    TImageRef image = TImage::FromPixmap(std::make_shared<TPixmap>(pm), -1);
    if (image)
        SetImageHandle(image, static_cast<float>(pm.width) * 0.5f, static_cast<float>(pm.height) * 0.5f);
    return image;
}

// The car, facing +x with mass 0 at its middle. Masses 3 to 6 are the wheels: front left, front right,
// rear left, rear right (the driver's left is -y). Every pair of masses is joined, so constraint 0
// runs from mass 0 to mass 1, the nose: along the car's forward direction.
bool SaveCar(const std::string& path)
{
    TAdvBody car;
    struct TPart
    {
        const char* name;
        float x, y, weight, radius;
    };
    // The front wheels are the heaviest masses: with the rear wheels driven, their share of the
    // momentum sets the top speed (the drag on all four wheels balances the drive on two).
    const TPart parts[] = {
        {"Centre", 0.0f, 0.0f, 0.8f, 14.0f},       {"Nose", 42.0f, 0.0f, 0.6f, 10.0f},
        {"Tail", -42.0f, 0.0f, 0.6f, 10.0f},       {"Front left", 30.0f, -22.0f, 1.3f, 6.0f},
        {"Front right", 30.0f, 22.0f, 1.3f, 6.0f}, {"Rear left", -30.0f, -22.0f, 1.0f, 6.0f},
        {"Rear right", -30.0f, 22.0f, 1.0f, 6.0f},
    };
    int group = -1;
    for (const TPart& p : parts)
    {
        int slot = car.MassAdd(p.x, p.y, p.weight, p.radius, 0.5f, group);
        car.MassSetName(slot, p.name);
        group = car.MassGetColGroup(slot);
    }
    car.ConAddAll(1.0f);
    int wheel = car.ImageAdd(Image(DrawWheel()));
    int body = car.ImageAdd(Image(DrawCarBody()));
    for (int m = 3; m <= 6; ++m)
        car.RigSetName(car.RigAdd(wheel, m, 0, 0.0f), car.MassGetName(m));
    car.RigSetName(car.RigAdd(body, 0, 0, 0.0f), "Body");
    car.SetName("Car");
    car.Save(path, 0, 1);
    return FileType(path) == FILETYPE_FILE;
}

bool SaveZone(std::vector<float> area, int style, const char* name, const std::string& path)
{
    TZoneRef zone = TZone::Create(std::move(area), style, 0.0f, 1, 6);
    if (!zone)
        return false;
    zone->SetName(name);
    zone->Save(path, 0, 1);
    zone->Free();
    return FileType(path) == FILETYPE_FILE;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "media";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (FileType(dir) != FILETYPE_DIR)
    {
        std::fprintf(stderr, "make_media: cannot create the folder %s\n", dir.c_str());
        return 1;
    }
    TCircuit circuit = BuildCircuit();
    TPhysics::Create(10240, 5120, 0, 0, 1);

    bool ok = true;
    auto check = [&](bool written, const std::string& file) {
        if (!written)
        {
            std::fprintf(stderr, "make_media: cannot write %s\n", file.c_str());
            ok = false;
        }
    };
    TPixmap track = DrawTrack(circuit);
    check(SavePixmapPNG(Crop(track, 0, 1024), dir + "/track01.png", 9) == 1, dir + "/track01.png");
    check(SavePixmapPNG(Crop(track, 1024, 1024), dir + "/track02.png", 9) == 1, dir + "/track02.png");
    check(SavePixmapPNG(DrawSmoke(), dir + "/smoke.png", 9) == 1, dir + "/smoke.png");
    check(SavePixmapPNG(DrawLogo(), dir + "/ravellogo.png", 9) == 1, dir + "/ravellogo.png");

    // The grass: everything outside the road's outer edge, and the infield in two halves.
    check(SaveZone(circuit.rightEdge, TZone::HOLE, "Outer grass", dir + "/grass1.rvz"), dir + "/grass1.rvz");
    check(SaveZone(ClipPolygonAtX(circuit.leftEdge, kInfieldSplitX, true), TZone::FILL, "Infield west",
                   dir + "/grass2.rvz"),
          dir + "/grass2.rvz");
    check(SaveZone(ClipPolygonAtX(circuit.leftEdge, kInfieldSplitX, false), TZone::FILL, "Infield east",
                   dir + "/grass3.rvz"),
          dir + "/grass3.rvz");
    check(SaveCar(dir + "/car4.rvb"), dir + "/car4.rvb");
    TPhysics::Free();
    return ok ? 0 : 1;
}
