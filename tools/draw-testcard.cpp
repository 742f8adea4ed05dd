// tools/draw-testcard.cpp: draws the drawing layer's test card with one driver into a PNG file, for
// looking at. Runs without a display: OpenGL in SDL's offscreen video driver unless SDL_VIDEODRIVER
// names another, the SDL driver on its software renderer in memory.
//
//   draw-testcard gl card-gl.png
//   draw-testcard sdl card-sdl.png
//   draw-testcard sdl-window card-sdl-window.png
#include "scenes/testcard/TestCard.h"

#include "platform/Graphics2D.h"
#include "platform/TGLDriver2D.h"
#include "platform/TImage.h"
#include "platform/TSDLDriver2D.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace ravel;

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s gl|sdl|sdl-window out.png\n", argv[0]);
        return 2;
    }
    std::string which = argv[1];
    TDriver2DRef driver;
    if (which == "gl")
        driver = GLDriver2D();
    else if (which == "sdl")
        driver = SDLSurfaceDriver2D();
    else if (which == "sdl-window")
        driver = SDLDriver2D();
    else
    {
        std::fprintf(stderr, "unknown driver '%s': gl, sdl or sdl-window\n", argv[1]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
    if (!OpenGraphics(testcard::WIDTH, testcard::HEIGHT, 0, 0, 0))
    {
        std::fprintf(stderr, "cannot open graphics: %s\n", GraphicsError().c_str());
        return 1;
    }
    testcard::Draw();
    TPixmapRef card = GrabPixmap(0, 0, testcard::WIDTH, testcard::HEIGHT);
    CloseGraphics();
    if (!card || !SavePixmapPNG(*card, argv[2], 9))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %d x %d, drawn by the %s driver\n", argv[2], card->width, card->height, argv[1]);
    return 0;
}
