// platform/TDriver2D.h: the renderer contract every drawing driver fills, and the surface it draws on.
#pragma once
#include "platform/TImage.h"

#include <memory>
#include <string>
#include <vector>

namespace ravel
{

/// One display mode a driver can open full screen.
struct TGraphicsMode
{
    ///@{
    /// Size in pixels, colour depth in bits, refresh rate in hertz.
    int width = 0, height = 0, depth = 0, hz = 0;
    ///@}
};

/// A surface opened by a driver: a window or the full screen.
class TGraphics
{
  public:
    /// Releases the surface object; Close is what gives the window back.
    virtual ~TGraphics() = default;
    int width = 0;  ///< pixels
    int height = 0; ///< pixels
    int depth = 0;  ///< 0 for a window, else the full-screen colour depth
    int hz = 0;     ///< refresh rate asked for at opening
    int flags = 0;  ///< graphics flags in force
    /// Releases the surface; drawing on it afterwards does nothing. Closing twice is harmless.
    virtual void Close() {}
    /// The window gained (1) or lost (0) the input focus: full-screen surfaces give the display back
    /// to the desktop and minimise on loss, and take it again on gain.
    virtual void FocusChanged(int /*gained*/) {}
    /// Moves the pointer to the middle of the surface, where it has a pointer.
    virtual void CentrePointer() {}
    /// Turns a pointer position in window pixels into surface pixels, where the two differ.
    virtual void MapPointer(int& /*x*/, int& /*y*/) const {}
};
/// A shared handle on an open surface.
using TGraphicsRef = std::shared_ptr<TGraphics>;

/// The part of a driver that makes and presents surfaces.
class TGraphicsDriver
{
  public:
    /// Releases the driver.
    virtual ~TGraphicsDriver() = default;
    /// Full-screen modes the display offers.
    virtual std::vector<TGraphicsMode> GraphicsModes() = 0;
    /// Wraps an existing native window; null when not supported.
    virtual TGraphicsRef AttachGraphics(void* handle, int flags) = 0;
    /// Opens a window (depth 0) or the full screen; null on failure (LastError then says why).
    virtual TGraphicsRef CreateGraphics(int width, int height, int depth, int hz, int flags) = 0;
    /// Makes the surface the one drawn on (null: none).
    virtual int SetGraphics(const TGraphicsRef& graphics) = 0;
    /// Presents the back buffer: sync 0 at once, 1 at the vertical blank.
    virtual int Flip(int sync) = 0;
    /// Why the last CreateGraphics failed; empty after a success.
    virtual std::string LastError() const { return {}; }
};

/// A 2D renderer. Drawing calls take local coordinates and a translation; a local point (px, py) lands
/// on the screen at (px * ix + py * iy + tx, px * jx + py * jy + ty) with the last SetTransform matrix.
class TDriver2D : public TGraphicsDriver
{
  public:
    /// Makes the renderer's drawable form of the pixmap (image flags: filtered, mipmapped) for the
    /// current surface; null on failure or when no surface is current.
    virtual std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmapRef& pixmap, int flags) = 0;
    /// Blend mode 1-5; other values draw as solid. Setting the active mode again does nothing.
    virtual int SetBlend(int mode) = 0;
    /// Opacity, clamped to 0-1; the integer part of alpha * 255 is used.
    virtual int SetAlpha(float alpha) = 0;
    /// Drawing colour and tint, each channel clamped to 0-255.
    virtual int SetColor(int red, int green, int blue) = 0;
    /// Colour of Cls, each channel clamped to 0-255.
    virtual int SetClsColor(int red, int green, int blue) = 0;
    /// Clipping rectangle in pixels.
    virtual int SetViewport(int x, int y, int width, int height) = 0;
    /// The 2 x 2 matrix that maps local points of later drawing calls (see the class notes).
    virtual int SetTransform(float ix, float iy, float jx, float jy) = 0;
    /// Width of lines in pixels.
    virtual int SetLineWidth(float width) = 0;
    /// Clears the whole surface, whatever the viewport, to the cls colour.
    virtual int Cls() = 0;
    /// Plots one pixel at a screen position.
    virtual int Plot(float x, float y) = 0;
    /// A line from local (x0, y0) to (x1, y1), its end pixel left out.
    virtual int DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// The filled local rectangle (x0, y0)-(x1, y1).
    virtual int DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// The filled ellipse inscribed in the local rectangle (x0, y0)-(x1, y1), as a polygon of
    /// OvalVertexCount vertices.
    virtual int DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// Fills the polygon of vertices (x + hx, y + hy), translated by (tx, ty); concave ones too.
    virtual int DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) = 0;
    /// Copies the pixmap unscaled with its top-left corner at a screen position.
    virtual int DrawPixmap(const TPixmap& pixmap, int x, int y) = 0;
    /// Reads a rectangle of the surface back as an RGBA pixmap (alpha 255 unless the surface has an
    /// alpha buffer); null when nothing can be read.
    virtual TPixmapRef GrabPixmap(int x, int y, int width, int height) = 0;
};
/// A shared handle on a renderer.
using TDriver2DRef = std::shared_ptr<TDriver2D>;

/// Vertex count of an ellipse with half-sizes rx, ry: |rx| + |ry|, at least 12, down to a multiple of 4.
int OvalVertexCount(float rx, float ry);

/// Triangulates a simple polygon of n = xy.size() / 2 points by ear clipping, either winding; returns
/// vertex indices, three per triangle (empty for fewer than 3 points). A convex polygon comes out as
/// the fan (0, 1, 2), (0, 2, 3), ... Self-crossing input still gives n - 2 triangles, just not a
/// meaningful fill.
std::vector<int> TriangulatePolygon(const std::vector<float>& xy);

} // namespace ravel
