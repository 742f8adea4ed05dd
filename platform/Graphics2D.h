// platform/Graphics2D.h: the immediate-mode 2D drawing layer over one current drawing state.
#pragma once
#include "platform/TImage.h"
#include "platform/TImageFont.h"

#include <memory>
#include <string>
#include <vector>

namespace ravel
{

class TDriver2D;
class TGraphics;
using TDriver2DRef = std::shared_ptr<TDriver2D>;
using TGraphicsRef = std::shared_ptr<TGraphics>;

/// Graphics flags, or-ed into OpenGraphics and SetGraphicsDriver.
inline constexpr int GRAPHICS_BACKBUFFER = 2;
inline constexpr int GRAPHICS_ALPHABUFFER = 4;
inline constexpr int GRAPHICS_DEPTHBUFFER = 8;
inline constexpr int GRAPHICS_STENCILBUFFER = 16;
inline constexpr int GRAPHICS_ACCUMBUFFER = 32;
/// Full screen without a mode switch: the window covers the desktop at its own size, and the picture,
/// drawn at the size asked for exactly as in that mode, is shown scaled to fit with black bars. For
/// a display that lacks the mode.
inline constexpr int GRAPHICS_DESKTOPFIT = 64;

/// Blend modes.
inline constexpr int MASKBLEND = 1;
inline constexpr int SOLIDBLEND = 2;
inline constexpr int ALPHABLEND = 3;
inline constexpr int LIGHTBLEND = 4;
inline constexpr int SHADEBLEND = 5;

/// The current drawing state: one per open graphics, made with these start values by OpenGraphics.
class TGraphics2D
{
  public:
    int color_red = 255, color_green = 255, color_blue = 255; ///< drawing colour, as given
    float color_alpha = 1.0f;                                 ///< opacity, as given
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0.0f; ///< degrees
    float tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    float tform_ix = 1.0f, tform_iy = 0.0f, tform_jx = 0.0f, tform_jy = 1.0f; ///< from rotation and scale
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;       ///< clipping rectangle
    float origin_x = 0.0f, origin_y = 0.0f; ///< added to every position after the matrix
    float handle_x = 0.0f, handle_y = 0.0f; ///< the handle, negated: applied in local space
    TImageFontRef image_font;               ///< font of DrawText; the built-in one
    int blend_mode = MASKBLEND;
    TGraphicsRef _graphics; ///< the surface
    TDriver2DRef _driver;   ///< the renderer
    int _setup = 0;         ///< 1 once the surface has been cleared on first use
};

/// The current drawing state. While no graphics are open it is a detached state that setters still
/// fill and getters read, but nothing is drawn.
TGraphics2D& CurrentGraphics2D();

// Graphics.

/// Makes the driver the active renderer and the flags the defaults added to every later OpenGraphics;
/// closes any open graphics.
int SetGraphicsDriver(const TDriver2DRef& driver, int flags = GRAPHICS_BACKBUFFER);
/// The active driver (null before SetGraphicsDriver).
TDriver2DRef GetGraphicsDriver();
/// Opens a window (depth 0) or the full screen with the given flags or-ed with the default flags,
/// after closing any graphics open before; with no driver chosen, the OpenGL driver is used. hz > 0
/// paces Flip(-1) to that rate. Null when the surface cannot be created.
TGraphicsRef OpenGraphics(int width, int height, int depth = 0, int hz = 60, int flags = 0);
/// Why the last OpenGraphics returned null, for example "GL graphics driver failed to set display
/// mode"; empty after a success.
std::string GraphicsError();
/// Closes the open graphics, if any.
int CloseGraphics();
/// Size of the current graphics in pixels; 0 when none is open.
int GraphicsWidth();
int GraphicsHeight();
/// Clears the surface to the cls colour.
int Cls();
/// Presents the back buffer: sync 0 at once, 1 at the vertical blank, -1 paced to the opening rate.
int Flip(int sync = -1);

// Drawing state. Setters store the value and pass it to the driver; getters return the stored value.

int SetColor(int red, int green, int blue);
int GetColor(int& red, int& green, int& blue);
int SetAlpha(float alpha);
float GetAlpha();
int SetBlend(int mode);
int GetBlend();
int SetRotation(float degrees);
float GetRotation();
int SetScale(float sx, float sy);
int GetScale(float& sx, float& sy);
int SetOrigin(float x, float y);
int GetOrigin(float& x, float& y);
int SetHandle(float x, float y);
int GetHandle(float& x, float& y);
int SetClsColor(int red, int green, int blue);
int GetClsColor(int& red, int& green, int& blue);
int SetViewport(int x, int y, int width, int height);
int GetViewport(int& x, int& y, int& width, int& height);
int SetLineWidth(float width);
float GetLineWidth();
int SetTransform(float rotation, float sx, float sy);

// Primitives, in pixels; rotation, scale, origin and handle apply.

/// One pixel at (x, y) plus the origin; neither matrix nor handle apply.
int Plot(float x, float y);
int DrawLine(float x1, float y1, float x2, float y2, int lastPixel = 1);
int DrawRect(float x, float y, float width, float height);
int DrawOval(float x, float y, float width, float height);
int DrawPoly(const std::vector<float>& xy);
int DrawImage(const TImageRef& image, float x, float y, int frame = 0);
int DrawText(const std::string& text, float x, float y);
/// Width of the text in the current font, in pixels before the matrix: characters without a glyph
/// take no room.
int TextWidth(const std::string& text);
/// Height of a line of text in the current font (16 for the built-in one).
int TextHeight(const std::string& text);
/// Reads back a rectangle of the surface; null when no graphics are open.
TPixmapRef GrabPixmap(int x, int y, int width, int height);

} // namespace ravel
