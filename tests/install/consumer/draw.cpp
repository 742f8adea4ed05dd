// A program outside the Ravel tree that draws through the installed SDL library: linking it is all
// it takes to have the window system installed; the SDL renderer draws into memory here.
#include "platform/Graphics2D.h"
#include "platform/TSDLDriver2D.h"
#include "platform/TWindowSystem.h"

#include <cstdint>
#include <cstdio>

int main()
{
    using namespace ravel;
    if (!GetWindowSystem()->DefaultDriver())
    {
        std::printf("no window system installed\n");
        return 1;
    }
    SetGraphicsDriver(SDLSurfaceDriver2D());
    if (!OpenGraphics(64, 48, 0, 0))
    {
        std::printf("no graphics: %s\n", GraphicsError().c_str());
        return 1;
    }
    SetClsColor(0, 0, 0);
    Cls();
    SetColor(255, 128, 0);
    DrawRect(8, 8, 16, 16);
    TPixmapRef inside = GrabPixmap(12, 12, 1, 1);
    TPixmapRef outside = GrabPixmap(40, 30, 1, 1);
    CloseGraphics();
    if (!inside || !outside)
        return 1;
    const std::uint8_t* a = inside->At(0, 0);
    const std::uint8_t* b = outside->At(0, 0);
    std::printf("inside %d %d %d, outside %d %d %d\n", a[0], a[1], a[2], b[0], b[1], b[2]);
    return a[0] == 255 && a[1] == 128 && a[2] == 0 && b[0] == 0 && b[1] == 0 && b[2] == 0 ? 0 : 1;
}
