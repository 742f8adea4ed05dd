// platform/TGLDriver2D.h: the OpenGL 1.1 renderer, in an SDL window with an OpenGL context.
#pragma once
#include "platform/TDriver2D.h"

namespace ravel
{

/// A new OpenGL driver (`TGLDriver2D`). Its surfaces are SDL windows, or the full screen, with an
/// OpenGL context drawn in immediate mode through an orthographic projection in pixels.
TDriver2DRef GLDriver2D();

} // namespace ravel
