// platform/detail/ShapeDriver2D.h: the state and shape geometry both drawing drivers share.
#pragma once
#include "platform/TDriver2D.h"

#include <vector>

namespace ravel::detail
{

/// A screen-space vertex with texture coordinates.
struct TScreenVertex
{
    float x = 0.0f, y = 0.0f, u = 0.0f, v = 0.0f;
};

/// The part of a read-back rectangle that lies on the surface: pixels [x0, x1) x [y0, y1).
struct TGrabArea
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool IsEmpty() const { return x0 >= x1 || y0 >= y1; }
};

/// Keeps the clamped colour, alpha, blend mode, matrix and line width, and turns rectangles, ellipses
/// and polygons into screen-space triangles, so that every driver fills exactly the same triangles.
class TShapeDriver2D : public TDriver2D
{
  public:
    int SetBlend(int mode) override;
    int SetAlpha(float alpha) override;
    int SetColor(int red, int green, int blue) override;
    int SetClsColor(int red, int green, int blue) override;
    int SetTransform(float ix, float iy, float jx, float jy) override;
    int SetLineWidth(float width) override;
    int DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    int DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    int DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) override;

    /// Maps a local point through the matrix and the translation.
    TScreenVertex Map(float px, float py, float tx, float ty) const
    {
        return {px * ix + py * iy + tx, px * jx + py * jy + ty, 0.0f, 0.0f};
    }
    /// The four corners of a local rectangle, clockwise on screen from (x0, y0), with texture
    /// coordinates (0, 0)-(u1, v1).
    void MapQuad(float x0, float y0, float x1, float y1, float tx, float ty, float u1, float v1,
                 TScreenVertex out[4]) const;

    int red = 255, green = 255, blue = 255; ///< clamped drawing colour
    int alpha = 255;                        ///< integer part of the clamped alpha * 255
    int clsRed = 0, clsGreen = 0, clsBlue = 0;
    int blend = 0; ///< active mode 1-5, 0 until the first SetBlend
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
    float lineWidth = 1.0f;

  protected:
    /// Starts reading back the w x h rectangle at (x, y) of a surfaceWidth x surfaceHeight surface: a
    /// transparent black RGBA pixmap of w x h, or null when w or h is not positive. `visible` receives the
    /// part of the rectangle that lies on the surface, empty when none does.
    static TPixmapRef StartGrab(int x, int y, int w, int h, int surfaceWidth, int surfaceHeight,
                                TGrabArea& visible);
    /// Forgets the cached state so that the next setters reach a freshly made surface.
    void ResetState();
    /// Gives the effective blend mode (1-5) to the renderer; called only when it changes.
    virtual void ApplyBlend(int mode) = 0;
    /// Called after the colour or the alpha changed.
    virtual void ApplyColor() {}
    virtual void ApplyLineWidth() {}
    /// Fills screen-space triangles, three vertices each, with the colour in the active blend mode.
    virtual void FillTriangles(const std::vector<TScreenVertex>& triangles) = 0;

  private:
    std::vector<TScreenVertex> scratch;
    std::vector<TScreenVertex> points;
};

/// Whether every coordinate is finite: shapes with NaN or infinite corners are not drawn.
bool AllFinite(const TScreenVertex* v, int count);

} // namespace ravel::detail
