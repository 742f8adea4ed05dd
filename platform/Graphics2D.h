// platform/Graphics2D.h: the immediate-mode 2D drawing layer over one current drawing state.
#pragma once
#include "platform/TImage.h"

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

/// Blend modes.
inline constexpr int MASKBLEND = 1;
inline constexpr int SOLIDBLEND = 2;
inline constexpr int ALPHABLEND = 3;
inline constexpr int LIGHTBLEND = 4;
inline constexpr int SHADEBLEND = 5;

// Graphics.

/// Makes the driver the active renderer and the flags the defaults added to every later OpenGraphics;
/// closes any open graphics.
int SetGraphicsDriver(const TDriver2DRef& driver, int flags = GRAPHICS_BACKBUFFER);
/// The active driver (null before SetGraphicsDriver).
TDriver2DRef GetGraphicsDriver();
/// Opens a window (depth 0) or the full screen; null when the surface cannot be created.
TGraphicsRef OpenGraphics(int width, int height, int depth = 0, int hz = 60, int flags = 0);
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

int Plot(float x, float y);
int DrawLine(float x1, float y1, float x2, float y2, int lastPixel = 1);
int DrawRect(float x, float y, float width, float height);
int DrawOval(float x, float y, float width, float height);
int DrawPoly(const std::vector<float>& xy);
int DrawImage(const TImageRef& image, float x, float y, int frame = 0);
int DrawText(const std::string& text, float x, float y);
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);
/// Reads back a rectangle of the surface; null when no graphics are open.
TPixmapRef GrabPixmap(int x, int y, int width, int height);

} // namespace ravel
