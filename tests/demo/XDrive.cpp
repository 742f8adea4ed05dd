// tests/demo/XDrive.cpp: plays a player's part on an X display: waits for windows, presses and holds
// keys through the XTEST extension, moves the focus and looks at the screen.
//
//   xdrive COMMAND...   with the commands
//     wm MS             until a window manager runs and frames new windows (fails after MS
//                       milliseconds)
//     shown NAME MS     until a window titled NAME is viewable
//     wait NAME MS      until a window titled NAME is viewable and has the keyboard focus
//     full NAME MS      the same, and the window covers the whole screen
//     menu NAME MS      until a focused window titled NAME shows white text: a menu ready for keys
//     pick KEY NAME MS  presses the key in the menu window titled NAME until that window goes (a key
//                       pressed while the menu draws itself is not taken, as for a player who types
//                       ahead)
//     hidden NAME MS    until no window titled NAME is viewable (minimised or closed)
//     key NAME          press and release the key (X key names: 1, Up, Escape, Tab, ...)
//     down NAME         press and hold
//     up NAME           release
//     pause MS          between two key presses
//     cut NAME          closes the connection of the program owning the window titled NAME to the
//                       X server, as when the server goes away under it
//     focus NAME        give the keyboard focus to the window titled NAME, as a window manager would
//     picture W H       the game's picture is W x H pixels, scaled to fit the screen and letterboxed
//                       (default: the screen's size)
//     look FILE MS      until the screen shows a frame of the demo: the red car in the middle on grey
//                       asphalt, green grass, white overlay text at the top left of the picture and
//                       black bars around it; the last screenshot goes to FILE as a PNG
//     away FILE MS      until the screen no longer shows the demo
//     shot FILE         the screen as a PNG file
//     moving MS         until two screenshots in a row differ: the game draws on
//     size              prints the screen's size, WxH
//     hold NAME         opens a small window titled NAME, as another program on the desktop, and
//                       keeps it until xdrive ends; once the commands are done xdrive then waits to
//                       be stopped
//
// Every waiting command polls with a deadline and gives up with a message naming what it waited for.
// libXtst is opened at run time, so building needs only the X11 headers.
#include "platform/TImage.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

using FakeKeyFn = int (*)(Display*, unsigned int, int, unsigned long);
FakeKeyFn fakeKey = nullptr;
Display* display = nullptr;
int pictureW = 0, pictureH = 0; // 0: the screen's size

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls the condition every 50 ms until it holds or the milliseconds have passed.
bool Until(int ms, const std::function<bool()>& condition)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;)
    {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        Sleep(50);
    }
}

int ScreenW()
{
    return DisplayWidth(display, DefaultScreen(display));
}

int ScreenH()
{
    return DisplayHeight(display, DefaultScreen(display));
}

// Errors about windows that went away between two calls are expected here.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// WM_NAME in whatever 8-bit encoding the program set it (SDL's message box sets UTF-8).
std::string Title(Window w)
{
    XTextProperty name{};
    std::string title;
    if (XGetWMName(display, w, &name) && name.value)
    {
        if (name.format == 8)
            title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
    }
    return title;
}

// Every window titled `title` anywhere in the tree: window managers put clients into frames.
void FindTitled(Window w, const std::string& title, std::vector<Window>& found)
{
    if (Title(w) == title)
        found.push_back(w);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i)
        FindTitled(children[i], title, found);
    if (children)
        XFree(children);
}

bool Viewable(Window w)
{
    XWindowAttributes a;
    return XGetWindowAttributes(display, w, &a) && a.map_state == IsViewable;
}

// The viewable window titled `title`, or 0.
Window ViewableTitled(const std::string& title)
{
    std::vector<Window> found;
    FindTitled(DefaultRootWindow(display), title, found);
    for (Window w : found)
        if (Viewable(w))
            return w;
    return 0;
}

bool HasFocus(Window w)
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    // The focus may rest on the window or on a window inside it.
    while (focus != 0 && focus != PointerRoot)
    {
        if (focus == w)
            return true;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, focus, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return false;
        focus = parent;
    }
    return false;
}

// The window's place on the screen.
bool ScreenRect(Window w, int& x, int& y, int& width, int& height)
{
    XWindowAttributes a;
    Window child = 0;
    if (!XGetWindowAttributes(display, w, &a) ||
        !XTranslateCoordinates(display, w, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return false;
    width = a.width;
    height = a.height;
    return true;
}

bool CoversScreen(Window w)
{
    int x = 0, y = 0, width = 0, height = 0;
    return ScreenRect(w, x, y, width, height) && x == 0 && y == 0 && width == ScreenW() &&
           height == ScreenH();
}

int Channel(unsigned long pixel, unsigned long mask);

// White pixels inside the window on the screen.
int WhitePixels(Window w)
{
    int x = 0, y = 0, width = 0, height = 0;
    if (!ScreenRect(w, x, y, width, height))
        return 0;
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + width, ScreenW()), y1 = std::min(y + height, ScreenH());
    if (x1 <= x0 || y1 <= y0)
        return 0;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x0, y0, static_cast<unsigned>(x1 - x0),
                              static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
    if (!image)
        return 0;
    int white = 0;
    for (int py = 0; py < y1 - y0; ++py)
        for (int px = 0; px < x1 - x0; ++px)
        {
            unsigned long p = XGetPixel(image, px, py);
            white += Channel(p, image->red_mask) > 240 && Channel(p, image->green_mask) > 240 &&
                             Channel(p, image->blue_mask) > 240
                         ? 1
                         : 0;
        }
    XDestroyImage(image);
    return white;
}

bool WindowManagerRuns()
{
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool runs = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data)
    {
        runs = count == 1 && *reinterpret_cast<Window*>(data) != 0;
        XFree(data);
    }
    return runs;
}

// A window manager that has just announced itself may still lose a window mapped at that moment: a
// probe window is mapped, again every two seconds, until the manager has put it into a frame.
bool WindowManagerFramesWindows(int ms)
{
    if (!Until(ms, WindowManagerRuns))
        return false;
    Window root = DefaultRootWindow(display);
    Window probe = XCreateSimpleWindow(display, root, 0, 0, 16, 16, 0, 0, 0);
    XStoreName(display, probe, "xdrive probe");
    bool framed = false;
    for (int left = ms; left > 0 && !framed; left -= 2000)
    {
        XMapWindow(display, probe);
        XFlush(display);
        framed = Until(std::min(left, 2000), [&] {
            Window r = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, probe, &r, &parent, &children, &count))
                return false;
            if (children)
                XFree(children);
            return parent != root && Viewable(probe);
        });
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return framed;
}

bool Key(const std::string& name, int down)
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

bool Shot(ravel::TPixmap& pm)
{
    int w = ScreenW(), h = ScreenH();
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
    return true;
}

int Count(const ravel::TPixmap& pm, int x0, int y0, int w, int h, bool (*test)(const std::uint8_t*))
{
    int n = 0;
    for (int y = std::max(y0, 0); y < y0 + h && y < pm.height; ++y)
        for (int x = std::max(x0, 0); x < x0 + w && x < pm.width; ++x)
            n += test(pm.At(x, y)) ? 1 : 0;
    return n;
}

// Where the game's picture lies on the screen: scaled by the largest factor that fits, centred.
struct TFit
{
    int x, y, w, h;
    float scale;
};

TFit Fit(const ravel::TPixmap& pm)
{
    int pw = pictureW > 0 ? pictureW : pm.width, ph = pictureH > 0 ? pictureH : pm.height;
    float scale = std::min(static_cast<float>(pm.width) / static_cast<float>(pw),
                           static_cast<float>(pm.height) / static_cast<float>(ph));
    int w = static_cast<int>(static_cast<float>(pw) * scale + 0.5f);
    int h = static_cast<int>(static_cast<float>(ph) * scale + 0.5f);
    return {(pm.width - w) / 2, (pm.height - h) / 2, w, h, scale};
}

bool LooksLikeTheDemo(const ravel::TPixmap& pm, bool report)
{
    TFit f = Fit(pm);
    int all = f.w * f.h;
    int cx = f.x + f.w / 2, cy = f.y + f.h / 2;
    int car = static_cast<int>(80.0f * f.scale);
    int red = Count(pm, cx - car, cy - car * 3 / 4, car * 2, car * 3 / 2,
                    [](const std::uint8_t* p) { return p[0] > 150 && p[1] < 70 && p[2] < 70; });
    int grass = Count(pm, f.x, f.y, f.w, f.h,
                      [](const std::uint8_t* p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; });
    int asphalt = Count(pm, f.x, f.y, f.w, f.h, [](const std::uint8_t* p) {
        return p[0] > 70 && p[0] < 115 && std::abs(p[0] - p[1]) < 10 && std::abs(p[2] - p[1]) < 12;
    });
    int text = Count(pm, f.x, f.y, static_cast<int>(250.0f * f.scale), static_cast<int>(16.0f * f.scale),
                     [](const std::uint8_t* p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; });
    auto lit = [](const std::uint8_t* p) { return p[0] > 16 || p[1] > 16 || p[2] > 16; };
    int bars = Count(pm, 0, 0, pm.width, f.y, lit) + Count(pm, 0, f.y + f.h, pm.width, pm.height, lit) +
               Count(pm, 0, f.y, f.x, f.h, lit) + Count(pm, f.x + f.w, f.y, pm.width, f.h, lit);
    if (report)
        std::printf("xdrive: picture %dx%d at (%d, %d); car %d, grass %d, asphalt %d, title %d, lit bar %d "
                    "pixels\n",
                    f.w, f.h, f.x, f.y, red, grass, asphalt, text, bars);
    return red > static_cast<int>(200.0f * f.scale * f.scale) && grass > all / 20 && asphalt > all / 20 &&
           text > static_cast<int>(100.0f * f.scale * f.scale) && bars == 0;
}

bool Differ(const ravel::TPixmap& a, const ravel::TPixmap& b)
{
    return a.width != b.width || a.height != b.height || a.pixels != b.pixels;
}

bool SavePng(const ravel::TPixmap& pm, const std::string& path)
{
    if (ravel::SavePixmapPNG(pm, path, 6) == 1)
        return true;
    std::fprintf(stderr, "xdrive: cannot write the screenshot %s\n", path.c_str());
    return false;
}

Window OpenHoldWindow(const std::string& title)
{
    Window w = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 240, 120, 0, 0, 0x4060a0);
    XStoreName(display, w, title.c_str());
    XSizeHints hints{};
    hints.flags = PPosition | PSize;
    hints.width = 240;
    hints.height = 120;
    XSetWMNormalHints(display, w, &hints);
    XMapWindow(display, w);
    XFlush(display);
    return w;
}

bool Fail(const char* what, const std::string& arg)
{
    std::fprintf(stderr, "xdrive: %s %s\n", what, arg.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // Unbuffered, so that the report lines meet the shell's in order.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    display = XOpenDisplay(nullptr);
    if (!display)
    {
        std::fprintf(stderr, "xdrive: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(&IgnoreErrors);
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    fakeKey = xtst ? reinterpret_cast<FakeKeyFn>(dlsym(xtst, "XTestFakeKeyEvent")) : nullptr;
    if (!fakeKey)
    {
        std::fprintf(stderr, "xdrive: cannot load libXtst.so.6\n");
        return 2;
    }
    bool holding = false;
    for (int i = 1; i < argc; ++i)
    {
        std::string command = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        bool ok = true;
        if (command == "wm")
        {
            int ms = std::atoi(next().c_str());
            ok = WindowManagerFramesWindows(ms) ||
                 Fail("no window manager came up within ms", std::to_string(ms));
        }
        else if (command == "shown")
        {
            std::string title = next();
            int ms = std::atoi(next().c_str());
            ok = Until(ms, [&] { return ViewableTitled(title) != 0; }) ||
                 Fail("timed out waiting for a window titled", title);
        }
        else if (command == "wait" || command == "full")
        {
            std::string title = next();
            int ms = std::atoi(next().c_str());
            bool full = command == "full";
            ok = Until(ms,
                       [&] {
                           Window w = ViewableTitled(title);
                           return w != 0 && HasFocus(w) && (!full || CoversScreen(w));
                       }) ||
                 Fail(full ? "timed out waiting for a focused full-screen window titled"
                           : "timed out waiting for a focused window titled",
                      title);
        }
        else if (command == "menu")
        {
            std::string title = next();
            int ms = std::atoi(next().c_str());
            ok = Until(ms,
                       [&] {
                           Window w = ViewableTitled(title);
                           return w != 0 && HasFocus(w) && WhitePixels(w) > 100;
                       }) ||
                 Fail("timed out waiting for the menu in a window titled", title);
        }
        else if (command == "pick")
        {
            // The menu is known by its size: the game's window may get the same title and even the
            // same window id once the menu's is gone.
            std::string key = next(), title = next();
            int ms = std::atoi(next().c_str());
            Window menu = ViewableTitled(title);
            XWindowAttributes a{};
            ok = (menu != 0 && XGetWindowAttributes(display, menu, &a)) ||
                 Fail("no menu window titled", title);
            auto gone = [&] {
                Window w = ViewableTitled(title);
                XWindowAttributes now{};
                return w == 0 || !XGetWindowAttributes(display, w, &now) || now.width != a.width ||
                       now.height != a.height;
            };
            for (int left = ms; ok; left -= 5000)
            {
                ok = Key(key, 1) && (Sleep(60), Key(key, 0));
                if (!ok || Until(5000, gone))
                    break;
                if (left <= 5000)
                    ok = Fail("the menu did not go after pressing", key);
                else
                    std::printf("xdrive: the menu did not take %s, pressing it again\n", key.c_str());
            }
        }
        else if (command == "hidden")
        {
            std::string title = next();
            int ms = std::atoi(next().c_str());
            ok = Until(ms, [&] { return ViewableTitled(title) == 0; }) ||
                 Fail("timed out waiting for this window to be minimised or closed:", title);
        }
        else if (command == "key")
        {
            std::string name = next();
            ok = Key(name, 1) && (Sleep(60), Key(name, 0));
        }
        else if (command == "down" || command == "up")
            ok = Key(next(), command == "down" ? 1 : 0);
        else if (command == "pause")
            Sleep(std::atoi(next().c_str()));
        else if (command == "focus")
        {
            std::string title = next();
            Window w = ViewableTitled(title);
            ok = w != 0 || Fail("no viewable window to focus titled", title);
            if (ok)
            {
                XSetInputFocus(display, w, RevertToPointerRoot, CurrentTime);
                XFlush(display);
            }
        }
        else if (command == "cut")
        {
            std::string title = next();
            Window w = ViewableTitled(title);
            ok = w != 0 || Fail("no viewable window to cut titled", title);
            if (ok)
            {
                XKillClient(display, w);
                XSync(display, False);
            }
        }
        else if (command == "picture")
        {
            pictureW = std::atoi(next().c_str());
            pictureH = std::atoi(next().c_str());
        }
        else if (command == "look" || command == "away")
        {
            std::string path = next();
            int ms = std::atoi(next().c_str());
            bool wantDemo = command == "look";
            ravel::TPixmap pm;
            bool seen = Until(ms, [&] { return Shot(pm) && LooksLikeTheDemo(pm, false) == wantDemo; });
            LooksLikeTheDemo(pm, true);
            ok = SavePng(pm, path) && seen;
            if (!seen)
                Fail(wantDemo ? "the screen does not show the track, the car and the overlay:"
                              : "the screen still shows the demo:",
                     path);
        }
        else if (command == "shot")
        {
            ravel::TPixmap pm;
            ok = Shot(pm) && SavePng(pm, next());
        }
        else if (command == "moving")
        {
            int ms = std::atoi(next().c_str());
            ravel::TPixmap before, now;
            ok = Shot(before) && Until(ms, [&] {
                     Sleep(100);
                     return Shot(now) && Differ(before, now);
                 });
            if (!ok)
                Fail("the picture stood still for ms", std::to_string(ms));
        }
        else if (command == "size")
            std::printf("%dx%d\n", ScreenW(), ScreenH());
        else if (command == "hold")
        {
            OpenHoldWindow(next());
            holding = true;
        }
        else
            ok = Fail("unknown command", command);
        if (!ok)
        {
            XCloseDisplay(display);
            return 1;
        }
    }
    if (holding)
    {
        // Keeps the window until stopped; the event queue is drained so the server never waits on us.
        for (;;)
        {
            while (XPending(display))
            {
                XEvent e;
                XNextEvent(display, &e);
            }
            Sleep(100);
        }
    }
    XCloseDisplay(display);
    return 0;
}
