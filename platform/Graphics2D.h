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
/// A shared handle on a renderer.
using TDriver2DRef = std::shared_ptr<TDriver2D>;
/// A shared handle on an open surface.
using TGraphicsRef = std::shared_ptr<TGraphics>;

///@{
/// Graphics flags, or-ed into OpenGraphics and SetGraphicsDriver: double buffering, and an alpha,
/// depth, stencil or accumulation buffer.
inline constexpr int GRAPHICS_BACKBUFFER = 2;
inline constexpr int GRAPHICS_ALPHABUFFER = 4;
inline constexpr int GRAPHICS_DEPTHBUFFER = 8;
inline constexpr int GRAPHICS_STENCILBUFFER = 16;
inline constexpr int GRAPHICS_ACCUMBUFFER = 32;
///@}
/// Full screen without a mode switch: the window covers the desktop at its own size, and the picture,
/// drawn at the size asked for exactly as in that mode, is shown scaled to fit with black bars. For
/// a display that lacks the mode.
inline constexpr int GRAPHICS_DESKTOPFIT = 64;

/// Blend mode: no blending, pixels with alpha below 0.5 are not drawn (the start mode).
inline constexpr int MASKBLEND = 1;
/// Blend mode: no blending and no alpha test; also what any unknown mode number draws as.
inline constexpr int SOLIDBLEND = 2;
/// Blend mode: source times its alpha plus destination times one minus that alpha.
inline constexpr int ALPHABLEND = 3;
/// Blend mode: additive, source times its alpha plus destination.
inline constexpr int LIGHTBLEND = 4;
/// Blend mode: multiplicative, source times destination.
inline constexpr int SHADEBLEND = 5;

/// The current drawing state: one per open graphics, made with these start values by OpenGraphics
/// and reset by CloseGraphics. Read and change it through the setters and getters below.
class TGraphics2D
{
  public:
    ///@{
    int color_red = 255, color_green = 255, color_blue = 255; ///< drawing colour, as given
    float color_alpha = 1.0f;                                 ///< opacity, as given
    ///@}
    ///@{
    /// Colour Cls clears to, as given.
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    ///@}
    /// Width of lines in pixels.
    float line_width = 1.0f;
    float tform_rot = 0.0f; ///< degrees
    ///@{
    /// Scale of later drawing.
    float tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    ///@}
    ///@{
    float tform_ix = 1.0f, tform_iy = 0.0f, tform_jx = 0.0f, tform_jy = 1.0f; ///< from rotation and scale
    ///@}
    ///@{
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0; ///< clipping rectangle
    ///@}
    ///@{
    float origin_x = 0.0f, origin_y = 0.0f; ///< added to every position after the matrix
    ///@}
    ///@{
    float handle_x = 0.0f, handle_y = 0.0f; ///< the handle, negated: applied in local space
    TImageFontRef image_font;               ///< font of DrawText; the built-in one
    ///@}
    /// Blend mode number.
    int blend_mode = MASKBLEND;
    TGraphicsRef _graphics; ///< the surface
    TDriver2DRef _driver;   ///< the renderer
    int _setup = 0;         ///< 1 once the surface has been cleared on first use
};

/// The current drawing state. While no graphics are open it is a detached state that setters still
/// fill and getters read, but nothing is drawn; OpenGraphics replaces it with the start values, so
/// settings made before opening are lost.
TGraphics2D& CurrentGraphics2D();

// Graphics.

/// Makes the driver the active renderer and the flags the defaults added to every later OpenGraphics;
/// closes any open graphics.
int SetGraphicsDriver(const TDriver2DRef& driver, int flags = GRAPHICS_BACKBUFFER);
/// The active driver (null before SetGraphicsDriver).
TDriver2DRef GetGraphicsDriver();
/// Opens a window (depth 0) or the full screen (depth: colour bits) of width x height pixels with the
/// given flags or-ed with the default flags, after closing any graphics open before; with no driver
/// chosen, the OpenGL driver is used. hz > 0 paces Flip(-1) to that rate. The drawing state starts
/// afresh and keyboard and pointer tracking start. Null when the surface cannot be created
/// (GraphicsError says why).
TGraphicsRef OpenGraphics(int width, int height, int depth = 0, int hz = 60, int flags = 0);
/// Why the last OpenGraphics returned null, for example "GL graphics driver failed to set display
/// mode"; empty after a success.
std::string GraphicsError();
/// Closes the open graphics, if any: stops input tracking, clears the keys and resets the drawing
/// state. Returns 0.
int CloseGraphics();
///@{
/// Size of the current graphics in pixels; 0 when none is open.
int GraphicsWidth();
int GraphicsHeight();
///@}
/// Clears the whole surface, whatever the viewport, to the cls colour. Returns 0.
int Cls();
/// Presents the back buffer: sync 0 at once, 1 at the vertical blank, -1 paced to the opening rate;
/// also processes window events. Nothing without graphics. Returns 0.
int Flip(int sync = -1);

// Drawing state. Setters store the value and pass it to the driver; getters return the stored value.

///@{
/// Drawing colour, 0..255 per channel, stored as given (the driver clamps); it also tints images and
/// text. White at opening. Setter and out-parameter getter return 0.
int SetColor(int red, int green, int blue);
int GetColor(int& red, int& green, int& blue);
///@}
///@{
/// Opacity 0.0..1.0, stored as given (the driver clamps); 1 at opening. SetAlpha returns 0.
int SetAlpha(float alpha);
float GetAlpha();
///@}
///@{
/// Blend mode: MASKBLEND (at opening), SOLIDBLEND, ALPHABLEND, LIGHTBLEND or SHADEBLEND; any other
/// number draws as solid. SetBlend returns 0.
int SetBlend(int mode);
int GetBlend();
///@}
///@{
/// Rotation of later drawing in degrees, about each shape's own position: positive turns +x toward
/// +y, clockwise on the screen. 0 at opening. SetRotation returns 0.
int SetRotation(float degrees);
float GetRotation();
///@}
///@{
/// Scale of later drawing, applied before the rotation; (1, 1) at opening. Both return 0.
int SetScale(float sx, float sy);
int GetScale(float& sx, float& sy);
///@}
///@{
/// Pixel offset added to every later drawing position, after rotation and scale; (0, 0) at opening.
/// Both return 0.
int SetOrigin(float x, float y);
int GetOrigin(float& x, float& y);
///@}
///@{
/// The point of each shape and of text, in its own unrotated pixels, that lands on the drawing
/// position; images use their own handle instead (SetImageHandle). (0, 0) at opening. Both return 0.
int SetHandle(float x, float y);
int GetHandle(float& x, float& y);
///@}
///@{
/// The colour Cls clears to, 0..255 per channel; black at opening. Both return 0.
int SetClsColor(int red, int green, int blue);
int GetClsColor(int& red, int& green, int& blue);
///@}
///@{
/// Clipping rectangle in pixels; the whole surface at opening. Both return 0.
int SetViewport(int x, int y, int width, int height);
int GetViewport(int& x, int& y, int& width, int& height);
///@}
///@{
/// Width of lines in pixels; 1 at opening. SetLineWidth returns 0.
int SetLineWidth(float width);
float GetLineWidth();
///@}
/// Sets rotation (degrees) and scale together. Returns 0.
int SetTransform(float rotation, float sx, float sy);

// Primitives, in pixels; rotation, scale, origin and handle apply.

/// One pixel at (x, y) plus the origin; neither matrix nor handle apply. Like every primitive below
/// it draws nothing while no graphics are open, and returns 0.
int Plot(float x, float y);
/// A line from (x1, y1) to (x2, y2); with lastPixel != 0 the end pixel is drawn too.
int DrawLine(float x1, float y1, float x2, float y2, int lastPixel = 1);
/// A filled rectangle with its corner at (x, y), width x height, turned and scaled about that corner.
int DrawRect(float x, float y, float width, float height);
/// A filled ellipse inscribed in the rectangle DrawRect would draw.
int DrawOval(float x, float y, float width, float height);
/// A filled polygon (concave too) of interleaved vertices x0, y0, x1, y1, ... relative to the
/// origin; fewer than 3 vertices or an odd count draws nothing.
int DrawPoly(const std::vector<float>& xy);
/// Frame `frame` of the image with its handle at (x, y), tinted by the colour and alpha; nothing for
/// a null image or a frame it lacks.
int DrawImage(const TImageRef& image, float x, float y, int frame = 0);
/// The text in the current font, the first glyph's top-left at (x, y); characters without a glyph
/// (outside 32..127 in the built-in font) are skipped and take no room.
int DrawText(const std::string& text, float x, float y);
/// Width of the text in the current font, in pixels before the matrix: characters without a glyph
/// take no room.
int TextWidth(const std::string& text);
/// Height of a line of text in the current font (16 for the built-in one).
int TextHeight(const std::string& text);
/// Reads back a rectangle of the surface as an RGBA pixmap; null when no graphics are open or the
/// size is not positive.
TPixmapRef GrabPixmap(int x, int y, int width, int height);

} // namespace ravel
