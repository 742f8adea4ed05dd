// platform/Graphics2D.cpp: the current drawing state. Drivers are attached by the graphics layer.
#include "platform/Graphics2D.h"

#include "platform/DegMath.h"

namespace ravel
{

namespace
{
struct DrawState
{
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0.0f, tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    float tform_ix = 1.0f, tform_iy = 0.0f, tform_jx = 0.0f, tform_jy = 1.0f;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0.0f, origin_y = 0.0f;
    float handle_x = 0.0f, handle_y = 0.0f;
    int blend_mode = 1;
};
DrawState state;

void UpdateMatrix()
{
    float c = CosDeg(state.tform_rot), s = SinDeg(state.tform_rot);
    state.tform_ix = c * state.tform_scale_x;
    state.tform_iy = -s * state.tform_scale_y;
    state.tform_jx = s * state.tform_scale_x;
    state.tform_jy = c * state.tform_scale_y;
}
} // namespace

int SetGraphicsDriver(const TDriver2DRef&, int)
{
    return 0;
}
TDriver2DRef GetGraphicsDriver()
{
    return nullptr;
}
TGraphicsRef OpenGraphics(int, int, int, int, int)
{
    return nullptr;
}
int CloseGraphics()
{
    return 0;
}
int GraphicsWidth()
{
    return 0;
}
int GraphicsHeight()
{
    return 0;
}
int Cls()
{
    return 0;
}
int Flip(int)
{
    return 0;
}

int SetColor(int r, int g, int b)
{
    state.color_red = r;
    state.color_green = g;
    state.color_blue = b;
    return 0;
}
int GetColor(int& r, int& g, int& b)
{
    r = state.color_red;
    g = state.color_green;
    b = state.color_blue;
    return 0;
}
int SetAlpha(float a)
{
    state.color_alpha = a;
    return 0;
}
float GetAlpha()
{
    return state.color_alpha;
}
int SetBlend(int mode)
{
    state.blend_mode = mode;
    return 0;
}
int GetBlend()
{
    return state.blend_mode;
}
int SetRotation(float d)
{
    state.tform_rot = d;
    UpdateMatrix();
    return 0;
}
float GetRotation()
{
    return state.tform_rot;
}
int SetScale(float sx, float sy)
{
    state.tform_scale_x = sx;
    state.tform_scale_y = sy;
    UpdateMatrix();
    return 0;
}
int GetScale(float& sx, float& sy)
{
    sx = state.tform_scale_x;
    sy = state.tform_scale_y;
    return 0;
}
int SetOrigin(float x, float y)
{
    state.origin_x = x;
    state.origin_y = y;
    return 0;
}
int GetOrigin(float& x, float& y)
{
    x = state.origin_x;
    y = state.origin_y;
    return 0;
}
int SetHandle(float x, float y)
{
    state.handle_x = -x;
    state.handle_y = -y;
    return 0;
}
int GetHandle(float& x, float& y)
{
    x = -state.handle_x;
    y = -state.handle_y;
    return 0;
}
int SetClsColor(int r, int g, int b)
{
    state.clscolor_red = r;
    state.clscolor_green = g;
    state.clscolor_blue = b;
    return 0;
}
int GetClsColor(int& r, int& g, int& b)
{
    r = state.clscolor_red;
    g = state.clscolor_green;
    b = state.clscolor_blue;
    return 0;
}
int SetViewport(int x, int y, int w, int h)
{
    state.viewport_x = x;
    state.viewport_y = y;
    state.viewport_w = w;
    state.viewport_h = h;
    return 0;
}
int GetViewport(int& x, int& y, int& w, int& h)
{
    x = state.viewport_x;
    y = state.viewport_y;
    w = state.viewport_w;
    h = state.viewport_h;
    return 0;
}
int SetLineWidth(float w)
{
    state.line_width = w;
    return 0;
}
float GetLineWidth()
{
    return state.line_width;
}
int SetTransform(float rot, float sx, float sy)
{
    state.tform_rot = rot;
    state.tform_scale_x = sx;
    state.tform_scale_y = sy;
    UpdateMatrix();
    return 0;
}

int Plot(float, float)
{
    return 0;
}
int DrawLine(float, float, float, float, int)
{
    return 0;
}
int DrawRect(float, float, float, float)
{
    return 0;
}
int DrawOval(float, float, float, float)
{
    return 0;
}
int DrawPoly(const std::vector<float>&)
{
    return 0;
}
int DrawImage(const TImageRef&, float, float, int)
{
    return 0;
}
int DrawText(const std::string&, float, float)
{
    return 0;
}
int TextWidth(const std::string& text)
{
    return static_cast<int>(text.size()) * 8;
}
int TextHeight(const std::string&)
{
    return 16;
}
TPixmapRef GrabPixmap(int, int, int, int)
{
    return nullptr;
}

} // namespace ravel
