// tests/demo/XDrive.cpp: plays a player's part on an X display: waits for a window, presses and
// holds keys through the XTEST extension and takes screenshots of the whole screen.
//
//   xdrive COMMAND...   with the commands
//     wait MS        until a window is mapped (fails after MS milliseconds)
//     gone MS        until no window is mapped any more (fails after MS milliseconds)
//     key NAME       press and release the key (X key names: 1, Up, Escape, ...)
//     down NAME      press and hold
//     up NAME        release
//     sleep MS
//     shot FILE      the screen as a PNG file
//     look FILE      the same, then checks that it shows a frame of the demo: the red car in the
//                    middle on grey asphalt, green grass, white overlay text at the top left
//
// libXtst is opened at run time, so building needs only the X11 headers.
#include "platform/TImage.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <thread>

namespace
{

using FakeKeyFn = int (*)(Display*, unsigned int, int, unsigned long);
FakeKeyFn fakeKey = nullptr;

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int MappedWindows(Display* display)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    int mapped = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count))
    {
        for (unsigned int i = 0; i < count; ++i)
        {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                ++mapped;
        }
        XFree(children);
    }
    return mapped;
}

bool Key(Display* display, const std::string& name, int down)
{
    KeySym sym = XStringToKeysym(name.c_str());
    KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (code == 0)
    {
        std::fprintf(stderr, "xdrive: no key named %s\n", name.c_str());
        return false;
    }
    fakeKey(display, code, down, 0);
    XFlush(display);
    return true;
}

// Channel value of a pixel under a mask, scaled to 0-255.
int Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    unsigned long max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

bool Shot(Display* display, const std::string& path, ravel::TPixmap& pm)
{
    int screen = DefaultScreen(display);
    int w = DisplayWidth(display, screen), h = DisplayHeight(display, screen);
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, w, h, AllPlanes, ZPixmap);
    if (!image)
        return false;
    pm.width = w;
    pm.height = h;
    pm.format = ravel::PF_RGB888;
    pm.pixels.resize(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            unsigned long p = XGetPixel(image, x, y);
            std::uint8_t* out = pm.At(x, y);
            out[0] = static_cast<std::uint8_t>(Channel(p, image->red_mask));
            out[1] = static_cast<std::uint8_t>(Channel(p, image->green_mask));
            out[2] = static_cast<std::uint8_t>(Channel(p, image->blue_mask));
        }
    XDestroyImage(image);
    return ravel::SavePixmapPNG(pm, path, 6) == 1;
}

int Count(const ravel::TPixmap& pm, int x0, int y0, int w, int h, bool (*test)(const std::uint8_t*))
{
    int n = 0;
    for (int y = y0; y < y0 + h && y < pm.height; ++y)
        for (int x = x0; x < x0 + w && x < pm.width; ++x)
            n += test(pm.At(x, y)) ? 1 : 0;
    return n;
}

bool LooksLikeTheDemo(const ravel::TPixmap& pm)
{
    int w = pm.width, h = pm.height, all = w * h;
    int red = Count(pm, w / 2 - 80, h / 2 - 60, 160, 120,
                    [](const std::uint8_t* p) { return p[0] > 150 && p[1] < 70 && p[2] < 70; });
    int grass =
        Count(pm, 0, 0, w, h, [](const std::uint8_t* p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; });
    int asphalt = Count(pm, 0, 0, w, h, [](const std::uint8_t* p) {
        return p[0] > 70 && p[0] < 115 && std::abs(p[0] - p[1]) < 10 && std::abs(p[2] - p[1]) < 12;
    });
    int text = Count(pm, 0, 0, 250, 16,
                     [](const std::uint8_t* p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; });
    std::printf("xdrive: car %d, grass %d, asphalt %d, title %d pixels\n", red, grass, asphalt, text);
    return red > 200 && grass > all / 20 && asphalt > all / 20 && text > 100;
}

} // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
    {
        std::fprintf(stderr, "xdrive: cannot open the display\n");
        return 2;
    }
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    fakeKey = xtst ? reinterpret_cast<FakeKeyFn>(dlsym(xtst, "XTestFakeKeyEvent")) : nullptr;
    if (!fakeKey)
    {
        std::fprintf(stderr, "xdrive: cannot load libXtst.so.6\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2)
    {
        std::string command = argv[i], arg = argv[i + 1];
        bool ok = true;
        if (command == "wait" || command == "gone")
        {
            int left = std::atoi(arg.c_str());
            bool wantMapped = command == "wait";
            while ((MappedWindows(display) > 0) != wantMapped && left > 0)
            {
                Sleep(50);
                left -= 50;
            }
            ok = (MappedWindows(display) > 0) == wantMapped;
            if (!ok)
                std::fprintf(stderr, "xdrive: timed out waiting (%s)\n", command.c_str());
        }
        else if (command == "key")
            ok = Key(display, arg, 1) && (Sleep(60), Key(display, arg, 0));
        else if (command == "down")
            ok = Key(display, arg, 1);
        else if (command == "up")
            ok = Key(display, arg, 0);
        else if (command == "sleep")
            Sleep(std::atoi(arg.c_str()));
        else if (command == "shot" || command == "look")
        {
            ravel::TPixmap pm;
            ok = Shot(display, arg, pm);
            if (ok && command == "look" && !LooksLikeTheDemo(pm))
            {
                std::fprintf(stderr, "xdrive: %s does not show the track, the car and the overlay\n",
                             arg.c_str());
                return 1;
            }
            if (!ok)
                std::fprintf(stderr, "xdrive: cannot take the screenshot %s\n", arg.c_str());
        }
        else
        {
            std::fprintf(stderr, "xdrive: unknown command %s\n", command.c_str());
            ok = false;
        }
        if (!ok)
        {
            XCloseDisplay(display);
            return 1;
        }
    }
    XCloseDisplay(display);
    return 0;
}
