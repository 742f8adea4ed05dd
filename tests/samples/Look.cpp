// tests/samples/Look.cpp: reads screenshots (PNG) for the samples' run on a display and prints what a
// rectangle of them holds, for the script to compare:
//   samples_look lit FILE X Y W H             pixels unlike the samples' background
//   samples_look background FILE X Y W H      pixels of that background (within 6 on every channel)
//   samples_look colour FILE X Y W H R G B     pixels within 40 of the colour on every channel
//   samples_look lowest FILE X Y W H R G B     "x y" of the lowest such pixel (status 1 when none)
//   samples_look differ FILE1 FILE2 X Y W H    pixels that differ between the two
//   samples_look crop FILE X Y W H OUT         writes the rectangle to OUT as a PNG
// Rectangles are clipped to the picture.
#include "platform/TImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace
{
using ravel::TPixmapRef;

TPixmapRef Read(const char* path)
{
    TPixmapRef pm = ravel::LoadPixmapPNG(path);
    if (!pm)
    {
        std::fprintf(stderr, "samples_look: cannot read %s\n", path);
        std::exit(2);
    }
    return pm;
}

// Calls `visit` for every pixel of the rectangle, from the top row down.
void Each(const ravel::TPixmap& pm, int x0, int y0, int w, int h,
          const std::function<void(int, int, const std::uint8_t*)>& visit)
{
    for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < pm.height; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < pm.width; ++x)
            visit(x, y, pm.At(x, y));
}

bool Near(const std::uint8_t* p, int r, int g, int b)
{
    return std::abs(p[0] - r) <= 40 && std::abs(p[1] - g) <= 40 && std::abs(p[2] - b) <= 40;
}
} // namespace

int main(int argc, char** argv)
{
    std::string what = argc > 1 ? argv[1] : "";
    auto arg = [&](int i) { return i < argc ? std::atoi(argv[i]) : 0; };
    long count = 0;
    if (((what == "lit" || what == "background") && argc == 7) || (what == "colour" && argc == 10))
    {
        TPixmapRef pm = Read(argv[2]);
        int r = arg(7), g = arg(8), b = arg(9);
        Each(*pm, arg(3), arg(4), arg(5), arg(6), [&](int, int, const std::uint8_t* p) {
            int off = std::abs(p[0] - 22) + std::abs(p[1] - 24) + std::abs(p[2] - 30);
            if (what == "lit")
                count += off > 30 ? 1 : 0;
            else if (what == "background")
                count +=
                    std::abs(p[0] - 22) <= 6 && std::abs(p[1] - 24) <= 6 && std::abs(p[2] - 30) <= 6 ? 1 : 0;
            else
                count += Near(p, r, g, b) ? 1 : 0;
        });
    }
    else if (what == "lowest" && argc == 10)
    {
        TPixmapRef pm = Read(argv[2]);
        int fx = -1, fy = -1;
        Each(*pm, arg(3), arg(4), arg(5), arg(6), [&](int x, int y, const std::uint8_t* p) {
            if (Near(p, arg(7), arg(8), arg(9)))
            {
                fx = x;
                fy = y;
            }
        });
        if (fy < 0)
            return 1;
        std::printf("%d %d\n", fx, fy);
        return 0;
    }
    else if (what == "differ" && argc == 8)
    {
        TPixmapRef a = Read(argv[2]), b = Read(argv[3]);
        if (a->width != b->width || a->height != b->height)
            count = static_cast<long>(a->width) * a->height;
        else
            Each(*a, arg(4), arg(5), arg(6), arg(7), [&](int x, int y, const std::uint8_t* p) {
                const std::uint8_t* q = b->At(x, y);
                count += p[0] != q[0] || p[1] != q[1] || p[2] != q[2] ? 1 : 0;
            });
    }
    else if (what == "crop" && argc == 8)
    {
        TPixmapRef pm = Read(argv[2]);
        ravel::TPixmap out;
        out.width = std::max(0, std::min(arg(5), pm->width - arg(3)));
        out.height = std::max(0, std::min(arg(6), pm->height - arg(4)));
        out.format = pm->format;
        out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * out.format);
        Each(*pm, arg(3), arg(4), out.width, out.height, [&](int x, int y, const std::uint8_t* p) {
            std::copy(p, p + out.format, out.At(x - arg(3), y - arg(4)));
        });
        return ravel::SavePixmapPNG(out, argv[7], 9) == 1 ? 0 : 1;
    }
    else
    {
        std::fprintf(stderr,
                     "usage: samples_look lit|background|colour|lowest|differ|crop ... (see the source)\n");
        return 2;
    }
    std::printf("%ld\n", count);
    return 0;
}
