// platform/TSDLDriver2D.h: the renderer on SDL's own 2D renderer (Direct3D, OpenGL or software,
// whichever SDL picks), and its software form over a surface in memory.
#pragma once
#include "platform/TDriver2D.h"

namespace ravel
{

/// A new driver on SDL's 2D renderer (`TSDLDriver2D`): surfaces are SDL windows, or the full screen,
/// drawn with SDL_RenderGeometry. It meets the OpenGL driver's drawing contract, mask blend included;
/// SDL's renderer has no mipmaps, so mipmapped images are drawn from their full-size texture.
TDriver2DRef SDLDriver2D();

/// The same driver drawing with SDL's software renderer into a surface in memory: no display, no
/// window, no events. Flip presents nothing; GrabPixmap reads what was drawn.
TDriver2DRef SDLSurfaceDriver2D();

} // namespace ravel
