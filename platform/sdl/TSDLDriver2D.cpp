// platform/sdl/TSDLDriver2D.cpp: the SDL-renderer driver: every shape, line and point as textured
// triangles (a 1 x 1 white texture for solid colour), image frames as textures, and the mask blend as
// textures whose alpha is already thresholded.
#include "platform/TSDLDriver2D.h"

#include "platform/Graphics2D.h"
#include "platform/detail/ShapeDriver2D.h"
#include "platform/sdl/DisplayModes.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace ravel
{

namespace
{
// A fragment of texel alpha t and colour alpha a passes the mask test when t / 255 * a / 255 >= 0.5.
bool PassesMask(int texelAlpha, int colorAlpha)
{
    return texelAlpha * colorAlpha * 2 >= 255 * 255;
}

class TSDLGraphics : public detail::TWindowGraphics
{
  public:
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr; ///< the target of an in-memory surface
    SDL_Texture* white = nullptr;   ///< 2 x 2 white: SDL ignores the blend mode of untextured rectangles
    SDL_Texture* picture = nullptr; ///< the surface of a picture fitted to the desktop, drawn on by all
    bool snapsVertices = false;     ///< the software renderer, which rounds vertices to whole pixels
    int vsync = -1;
    bool videoStarted = false;

    ~TSDLGraphics() override { Close(); }

    void Close() override
    {
        if (detail::DisplayLost())
        {
            // The program is ending without its display: every call on the window would wait on
            // the dead connection.
            Forget();
            return;
        }
        if (renderer && picture)
        {
            // Drawing goes back to the window before the target goes: SDL would otherwise queue that
            // switch while it takes the renderer apart, and lose what it queued.
            SDL_SetRenderTarget(renderer, nullptr);
            SDL_DestroyTexture(picture);
            picture = nullptr;
        }
        if (renderer)
        {
            SDL_DestroyRenderer(renderer); // and with it every texture made on it
            renderer = nullptr;
            white = nullptr;
            picture = nullptr;
        }
        if (surface)
        {
            SDL_FreeSurface(surface);
            surface = nullptr;
        }
        if (window)
        {
            SDL_DestroyWindow(window);
            window = nullptr;
        }
        if (videoStarted)
        {
            detail::StopVideo();
            videoStarted = false;
        }
    }

    void Forget()
    {
        renderer = nullptr;
        white = nullptr;
        picture = nullptr;
        surface = nullptr;
        window = nullptr;
        videoStarted = false;
    }
};

SDL_BlendMode SDLBlend(int mode)
{
    switch (mode)
    {
    case ALPHABLEND:
        return SDL_BLENDMODE_BLEND;
    case LIGHTBLEND:
        return SDL_BLENDMODE_ADD;
    case SHADEBLEND:
        return SDL_BLENDMODE_MOD;
    default:
        return SDL_BLENDMODE_NONE;
    }
}

SDL_Texture* MakeTexture(SDL_Renderer* renderer, const std::vector<std::uint8_t>& rgba, int w, int h,
                         bool linear)
{
    SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, w, h);
    if (!t)
        return nullptr;
    if (SDL_UpdateTexture(t, nullptr, rgba.data(), w * 4) != 0)
    {
        SDL_DestroyTexture(t);
        return nullptr;
    }
    SDL_SetTextureScaleMode(t, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return t;
}

class TSDLDriver2D;

class TSDLImageFrame : public TImageFrame
{
  public:
    TSDLImageFrame(const std::weak_ptr<TSDLDriver2D>& owner, const std::shared_ptr<TSDLGraphics>& surface)
        : driver(owner), graphics(surface)
    {
    }
    ~TSDLImageFrame() override
    {
        auto g = graphics.lock();
        if (g && g->renderer)
        {
            if (texture)
                SDL_DestroyTexture(texture);
            if (maskTexture)
                SDL_DestroyTexture(maskTexture);
        }
    }
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    /// The frame with alpha 255 where the mask test passes at this colour alpha and 0 elsewhere.
    SDL_Texture* MaskTexture(SDL_Renderer* renderer, int colorAlpha)
    {
        if (maskTexture && maskAlpha == colorAlpha)
            return maskTexture;
        if (maskTexture)
            SDL_DestroyTexture(maskTexture);
        std::vector<std::uint8_t> bytes = rgba;
        for (std::size_t i = 3; i < bytes.size(); i += 4)
            bytes[i] = PassesMask(bytes[i], colorAlpha) ? 255 : 0;
        maskTexture = MakeTexture(renderer, bytes, width, height, linear);
        maskAlpha = colorAlpha;
        if (maskTexture)
            SDL_SetTextureBlendMode(maskTexture, SDL_BLENDMODE_BLEND);
        return maskTexture;
    }

    std::weak_ptr<TSDLDriver2D> driver;
    std::weak_ptr<TSDLGraphics> graphics;
    SDL_Texture* texture = nullptr;
    SDL_Texture* maskTexture = nullptr;
    int maskAlpha = -1;
    std::vector<std::uint8_t> rgba; ///< kept to make the mask form
    int width = 0, height = 0;
    bool linear = false;
};

class TSDLDriver2D : public detail::TShapeDriver2D
{
  public:
    explicit TSDLDriver2D(bool memory) : inMemory(memory) {}

    std::shared_ptr<TSDLGraphics> current;
    std::weak_ptr<TSDLDriver2D> self;
    std::string error;
    const bool inMemory;

    std::vector<TGraphicsMode> GraphicsModes() override
    {
        if (inMemory || !detail::StartVideo())
            return {};
        std::vector<TGraphicsMode> modes = detail::DisplayModeCalls().ListModes();
        detail::StopVideo();
        return modes;
    }

    TGraphicsRef AttachGraphics(void*, int) override { return nullptr; }

    TGraphicsRef CreateGraphics(int width, int height, int depth, int hz, int flags) override
    {
        error.clear();
        if (width <= 0 || height <= 0)
        {
            error = "SDL graphics driver: width and height must be positive";
            return nullptr;
        }
        auto g = std::make_shared<TSDLGraphics>();
        g->width = width;
        g->height = height;
        g->depth = depth;
        g->hz = hz;
        g->flags = flags;
        if (inMemory)
        {
            Uint32 format = flags & GRAPHICS_ALPHABUFFER ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888;
            g->surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format);
            if (g->surface)
                g->renderer = SDL_CreateSoftwareRenderer(g->surface);
        }
        else
        {
            if (!detail::StartVideo())
            {
                error = std::string("SDL graphics driver: no video: ") + SDL_GetError();
                return nullptr;
            }
            g->videoStarted = true;
            g->OpenWindow(0, "SDL", error);
            if (!error.empty())
                return nullptr;
            g->renderer = SDL_CreateRenderer(g->window, -1, 0);
            if (!g->renderer)
                g->renderer = SDL_CreateRenderer(g->window, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!g->renderer)
        {
            error = std::string("SDL graphics driver: no renderer: ") + SDL_GetError();
            return nullptr;
        }
        SDL_RendererInfo info;
        g->snapsVertices = SDL_GetRendererInfo(g->renderer, &info) != 0 ||
                           (info.flags & SDL_RENDERER_SOFTWARE) || std::strcmp(info.name, "software") == 0;
        std::vector<std::uint8_t> white(2 * 2 * 4, 255);
        g->white = MakeTexture(g->renderer, white, 2, 2, false);
        if (!g->white)
        {
            error = std::string("SDL graphics driver: no texture: ") + SDL_GetError();
            return nullptr;
        }
        if (g->desktopFit)
        {
            // Everything is drawn at the surface's size into this texture, which Flip shows scaled.
            g->picture = SDL_RenderTargetSupported(g->renderer)
                             ? SDL_CreateTexture(g->renderer, SDL_PIXELFORMAT_RGBA32,
                                                 SDL_TEXTUREACCESS_TARGET, width, height)
                             : nullptr;
            if (!g->picture || SDL_SetRenderTarget(g->renderer, g->picture) != 0)
            {
                error = std::string("SDL graphics driver: no target texture for a picture scaled to the "
                                    "desktop: ") +
                        SDL_GetError();
                return nullptr;
            }
            SDL_SetTextureScaleMode(g->picture, SDL_ScaleModeLinear);
            SDL_SetTextureBlendMode(g->picture, SDL_BLENDMODE_NONE);
        }
        return g;
    }

    int SetGraphics(const TGraphicsRef& graphics) override
    {
        current = std::dynamic_pointer_cast<TSDLGraphics>(graphics);
        if (!current || !current->renderer)
        {
            current.reset();
            return graphics ? -1 : 0;
        }
        SDL_RenderSetClipRect(current->renderer, nullptr);
        clipSet = false;
        emptyClip = false;
        clipX0 = clipY0 = 0;
        clipX1 = current->width;
        clipY1 = current->height;
        ResetState();
        return 0;
    }

    int Flip(int sync) override
    {
        if (!current || current->surface)
            return 0;
        int want = sync ? 1 : 0;
        if (want != current->vsync)
        {
            SDL_RenderSetVSync(current->renderer, want); // may be refused; pacing then keeps the rate
            current->vsync = want;
        }
        if (current->picture)
            ShowFittedPicture(*current);
        else
            SDL_RenderPresent(current->renderer);
        return 0;
    }

    // Shows the target texture scaled into the window's letterbox on black, then draws on it again.
    void ShowFittedPicture(TSDLGraphics& g)
    {
        int ow = 0, oh = 0;
        SDL_SetRenderTarget(g.renderer, nullptr);
        SDL_GetRendererOutputSize(g.renderer, &ow, &oh);
        g.box = detail::FitPicture(g.width, g.height, ow, oh);
        SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
        SDL_RenderClear(g.renderer);
        SDL_Rect to{g.box.x, g.box.y, g.box.w, g.box.h};
        SDL_RenderCopy(g.renderer, g.picture, nullptr, &to);
        SDL_RenderPresent(g.renderer);
        // Back on the texture, whose clip rectangle SDL has forgotten.
        SDL_SetRenderTarget(g.renderer, g.picture);
        if (clipSet)
            SDL_RenderSetClipRect(g.renderer, &clipRect);
    }

    std::string LastError() const override { return error; }

    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmapRef& pixmap, int flags) override
    {
        if (!current || !pixmap || pixmap->width <= 0 || pixmap->height <= 0 ||
            (pixmap->format != PF_RGB888 && pixmap->format != PF_RGBA8888) ||
            pixmap->pixels.size() < static_cast<std::size_t>(pixmap->width) * pixmap->height * pixmap->format)
            return nullptr;
        auto frame = std::make_shared<TSDLImageFrame>(self, current);
        frame->width = pixmap->width;
        frame->height = pixmap->height;
        frame->linear = flags & FILTEREDIMAGE;
        std::size_t count = static_cast<std::size_t>(pixmap->width) * pixmap->height;
        frame->rgba.resize(count * 4);
        for (std::size_t i = 0; i < count; ++i)
        {
            const std::uint8_t* s = pixmap->pixels.data() + i * pixmap->format;
            std::uint8_t* d = frame->rgba.data() + i * 4;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = pixmap->format == PF_RGBA8888 ? s[3] : 255;
        }
        frame->texture =
            MakeTexture(current->renderer, frame->rgba, frame->width, frame->height, frame->linear);
        if (!frame->texture)
            return nullptr;
        return frame;
    }

    int SetViewport(int x, int y, int w, int h) override
    {
        if (!current)
            return 0;
        emptyClip = w <= 0 || h <= 0;
        clipX0 = std::max(x, 0);
        clipY0 = std::max(y, 0);
        clipX1 = std::min(x + std::max(w, 0), current->width);
        clipY1 = std::min(y + std::max(h, 0), current->height);
        clipSet = false;
        if (x <= 0 && y <= 0 && x + w >= current->width && y + h >= current->height)
            SDL_RenderSetClipRect(current->renderer, nullptr);
        else if (!emptyClip)
        {
            clipRect = {x, y, w, h};
            clipSet = true;
            SDL_RenderSetClipRect(current->renderer, &clipRect);
        }
        return 0;
    }

    int Cls() override
    {
        if (!current)
            return 0;
        SDL_SetRenderDrawColor(current->renderer, static_cast<Uint8>(clsRed), static_cast<Uint8>(clsGreen),
                               static_cast<Uint8>(clsBlue), 255);
        SDL_RenderClear(current->renderer);
        return 0;
    }

    int Plot(float x, float y) override
    {
        if (!current || !std::isfinite(x) || !std::isfinite(y))
            return 0;
        // The pixel an OpenGL point at (x + 0.5, y + 0.5) covers.
        double px = std::floor(static_cast<double>(x) + 0.5), py = std::floor(static_cast<double>(y) + 0.5);
        if (px < 0.0 || py < 0.0 || px >= current->width || py >= current->height)
            return 0;
        spans.clear();
        spans.push_back({static_cast<int>(px), static_cast<int>(py), 1, 1});
        FillSpans();
        return 0;
    }

    int DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        if (!current)
            return 0;
        detail::TScreenVertex ends[2] = {Map(x0, y0, tx, ty), Map(x1, y1, tx, ty)};
        if (!detail::AllFinite(ends, 2))
            return 0;
        spans.clear();
        LineSpans(ends[0].x + 0.5, ends[0].y + 0.5, ends[1].x + 0.5, ends[1].y + 0.5);
        FillSpans();
        return 0;
    }

    int DrawPixmap(const TPixmap& pixmap, int x, int y) override
    {
        if (!current || emptyClip || pixmap.width <= 0 || pixmap.height <= 0 ||
            (pixmap.format != PF_RGB888 && pixmap.format != PF_RGBA8888) ||
            pixmap.pixels.size() < static_cast<std::size_t>(pixmap.width) * pixmap.height * pixmap.format)
            return 0;
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(pixmap.width) * pixmap.height * 4);
        for (std::size_t i = 0; i < rgba.size() / 4; ++i)
        {
            const std::uint8_t* s = pixmap.pixels.data() + i * pixmap.format;
            rgba[i * 4] = s[0];
            rgba[i * 4 + 1] = s[1];
            rgba[i * 4 + 2] = s[2];
            rgba[i * 4 + 3] = pixmap.format == PF_RGBA8888 ? s[3] : 255;
        }
        SDL_Texture* t = MakeTexture(current->renderer, rgba, pixmap.width, pixmap.height, false);
        if (!t)
            return 0;
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
        SDL_Rect r{x, y, pixmap.width, pixmap.height};
        SDL_RenderCopy(current->renderer, t, nullptr, &r);
        SDL_DestroyTexture(t);
        return 0;
    }

    TPixmapRef GrabPixmap(int x, int y, int w, int h) override
    {
        if (!current)
            return nullptr;
        detail::TGrabArea visible;
        TPixmapRef out = StartGrab(x, y, w, h, current->width, current->height, visible);
        if (!out || visible.IsEmpty())
            return out;
        SDL_Rect r{visible.x0, visible.y0, visible.x1 - visible.x0, visible.y1 - visible.y0};
        std::vector<std::uint8_t> block(static_cast<std::size_t>(r.w) * r.h * 4);
        if (SDL_RenderReadPixels(current->renderer, &r, SDL_PIXELFORMAT_RGBA32, block.data(), r.w * 4) != 0)
            return nullptr;
        bool keepAlpha = current->flags & GRAPHICS_ALPHABUFFER;
        for (int row = 0; row < r.h; ++row)
        {
            std::uint8_t* d = out->At(visible.x0 - x, visible.y0 - y + row);
            std::memcpy(d, block.data() + static_cast<std::size_t>(row) * r.w * 4,
                        static_cast<std::size_t>(r.w) * 4);
            if (!keepAlpha)
                for (int i = 0; i < r.w; ++i)
                    d[i * 4 + 3] = 255;
        }
        return out;
    }

    /// Draws a textured quad of the frame in the active blend mode, tinted by the colour.
    void DrawFrame(TSDLImageFrame& frame, const detail::TScreenVertex q[4])
    {
        if (emptyClip)
            return;
        SDL_Texture* t = frame.texture;
        SDL_Color c = Color();
        if (blend == MASKBLEND)
        {
            t = frame.MaskTexture(current->renderer, alpha);
            c.a = 255;
        }
        else
            SDL_SetTextureBlendMode(t, SDLBlend(blend));
        if (t)
            Submit(t, std::max(frame.width, frame.height), q, c);
    }

  protected:
    void ApplyBlend(int) override {}

    void FillTriangles(const std::vector<detail::TScreenVertex>& triangles) override
    {
        if (!current || triangles.empty() || emptyClip)
            return;
        SDL_Color c = Color();
        if (!PrepareWhite(c))
            return;
        if (current->snapsVertices)
        {
            spans.clear();
            for (std::size_t i = 0; i + 2 < triangles.size(); i += 3)
                TriangleSpans(triangles[i], triangles[i + 1], triangles[i + 2]);
            FillSpans();
            return;
        }
        // Texture coordinates that differ at the corners of every triangle: SDL's software renderer
        // takes a rectangle of one texture coordinate for a fill and then ignores light and shade.
        static const SDL_FPoint corners[3] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
        vertices.clear();
        for (std::size_t i = 0; i < triangles.size(); ++i)
            vertices.push_back(SDL_Vertex{{triangles[i].x, triangles[i].y}, c, corners[i % 3]});
        SDL_RenderGeometry(current->renderer, current->white, vertices.data(),
                           static_cast<int>(vertices.size()), nullptr, 0);
    }

  private:
    SDL_Color Color() const
    {
        return SDL_Color{static_cast<Uint8>(red), static_cast<Uint8>(green), static_cast<Uint8>(blue),
                         static_cast<Uint8>(alpha)};
    }

    // The white texture in the active mode; false when the mask test fails for every pixel.
    bool PrepareWhite(SDL_Color& c)
    {
        if (blend == MASKBLEND)
        {
            if (!PassesMask(255, alpha))
                return false;
            c.a = 255;
            SDL_SetTextureBlendMode(current->white, SDL_BLENDMODE_NONE);
        }
        else
            SDL_SetTextureBlendMode(current->white, SDLBlend(blend));
        return true;
    }

    struct Span
    {
        int x, y, w, h;
    };

    // The pixels OpenGL lights for a line from a to b (pixel-centre coordinates): along the major
    // axis every pixel whose centre lies in [a, b), across it those whose centre lies within half the
    // line width of the line. Collected as whole-pixel rectangles, so that no rasteriser rounding
    // can move them.
    void LineSpans(double ax, double ay, double bx, double by)
    {
        double dx = bx - ax, dy = by - ay;
        if (dx == 0.0 && dy == 0.0)
            return;
        bool xMajor = std::fabs(dx) >= std::fabs(dy);
        if (!xMajor)
        {
            std::swap(ax, ay);
            std::swap(bx, by);
            std::swap(dx, dy);
        }
        double half = std::max(static_cast<double>(lineWidth), 1.0) * 0.5;
        double first, last;
        if (dx > 0.0)
        {
            first = std::ceil(ax - 0.5);
            last = std::ceil(bx - 0.5) - 1.0;
        }
        else
        {
            first = std::floor(bx - 0.5) + 1.0;
            last = std::floor(ax - 0.5);
        }
        double limitMajor = xMajor ? current->width : current->height;
        double limitMinor = xMajor ? current->height : current->width;
        first = std::max(first, 0.0);
        last = std::min(last, limitMajor - 1.0);
        double slope = dy / dx;
        for (double m = first; m <= last; m += 1.0)
        {
            double centre = ay + (m + 0.5 - ax) * slope;
            double lo = std::max(std::ceil(centre - half - 0.5), 0.0);
            double hi = std::min(std::ceil(centre + half - 0.5) - 1.0, limitMinor - 1.0);
            if (hi < lo)
                continue;
            int major = static_cast<int>(m), minor = static_cast<int>(lo),
                across = static_cast<int>(hi - lo) + 1;
            Span s = xMajor ? Span{major, minor, 1, across} : Span{minor, major, across, 1};
            // Runs of equal columns (or rows) become one rectangle.
            if (!spans.empty())
            {
                Span& p = spans.back();
                if (xMajor && p.y == s.y && p.h == s.h && p.x + p.w == s.x)
                {
                    ++p.w;
                    continue;
                }
                if (!xMajor && p.x == s.x && p.w == s.w && p.y + p.h == s.y)
                {
                    ++p.h;
                    continue;
                }
            }
            spans.push_back(s);
        }
    }

    // The pixels OpenGL fills for a triangle: those whose centre is inside, a centre on an edge
    // belonging to the triangle left or above it. Used where SDL rounds vertices to whole pixels
    // (its software renderer), which would move every slanted edge.
    void TriangleSpans(const detail::TScreenVertex& p0, const detail::TScreenVertex& p1,
                       const detail::TScreenVertex& p2)
    {
        double x[3] = {p0.x, p1.x, p2.x}, y[3] = {p0.y, p1.y, p2.y};
        double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
        if (area == 0.0)
            return;
        if (area < 0.0)
        {
            std::swap(x[1], x[2]);
            std::swap(y[1], y[2]);
        }
        // Edge i from vertex i to i + 1: inside where a * px + b * py + c >= 0.
        double a[3], b[3], c[3];
        for (int i = 0; i < 3; ++i)
        {
            int j = (i + 1) % 3;
            a[i] = -(y[j] - y[i]);
            b[i] = x[j] - x[i];
            c[i] = -(a[i] * x[i] + b[i] * y[i]);
        }
        double top = std::min({y[0], y[1], y[2]}), bottom = std::max({y[0], y[1], y[2]});
        double firstRow = std::max(std::ceil(top - 0.5), 0.0);
        double lastRow = std::min(std::ceil(bottom - 0.5), static_cast<double>(current->height) - 1.0);
        for (double row = firstRow; row <= lastRow; row += 1.0)
        {
            double cy = row + 0.5;
            double lo = -1e300, hi = 1e300;
            bool empty = false;
            for (int i = 0; i < 3 && !empty; ++i)
            {
                double rest = b[i] * cy + c[i];
                if (a[i] > 0.0)
                    lo = std::max(lo, -rest / a[i]); // left edge: a centre on it belongs
                else if (a[i] < 0.0)
                    hi = std::min(hi, -rest / a[i]); // right edge: it does not
                else if (rest < 0.0 || (rest == 0.0 && b[i] < 0.0))
                    empty = true; // outside a horizontal edge, or on a bottom one
            }
            if (empty)
                continue;
            double first = std::max(std::ceil(lo - 0.5), 0.0);
            double last = std::min(std::ceil(hi - 0.5) - 1.0, static_cast<double>(current->width) - 1.0);
            if (last < first)
                continue;
            spans.push_back(
                {static_cast<int>(first), static_cast<int>(row), static_cast<int>(last - first) + 1, 1});
        }
    }

    void FillSpans()
    {
        if (emptyClip || spans.empty())
            return;
        SDL_Color c = Color();
        if (!PrepareWhite(c))
            return;
        vertices.clear();
        for (const Span& s : spans)
        {
            // Cut to the viewport here: SDL's software renderer loses pixels where it cuts triangles.
            int sx0 = std::max(s.x, clipX0), sy0 = std::max(s.y, clipY0);
            int sx1 = std::min(s.x + s.w, clipX1), sy1 = std::min(s.y + s.h, clipY1);
            if (sx0 >= sx1 || sy0 >= sy1)
                continue;
            float x0 = static_cast<float>(sx0), y0 = static_cast<float>(sy0);
            float x1 = static_cast<float>(sx1), y1 = static_cast<float>(sy1);
            vertices.insert(vertices.end(),
                            {SDL_Vertex{{x0, y0}, c, {0.0f, 0.0f}}, SDL_Vertex{{x1, y0}, c, {1.0f, 0.0f}},
                             SDL_Vertex{{x1, y1}, c, {1.0f, 1.0f}}, SDL_Vertex{{x0, y0}, c, {0.0f, 0.0f}},
                             SDL_Vertex{{x1, y1}, c, {1.0f, 1.0f}}, SDL_Vertex{{x0, y1}, c, {0.0f, 1.0f}}});
        }
        SDL_RenderGeometry(current->renderer, current->white, vertices.data(),
                           static_cast<int>(vertices.size()), nullptr, 0);
    }

    // SDL's software renderer samples a textured triangle through 32-bit products of edge values,
    // which grow with the triangle's size, and texture coordinates, which grow with the texture's: for
    // a triangle of a few hundred pixels across and a texture of a thousand texels they overflow and
    // it reads far outside the texture. Upright quads it copies as rectangles, safe at any size. Any
    // other quad that leaves the viewport or is too large is cut to the viewport and into tiles small
    // enough, each piece keeping the texture mapping of the triangle it came from. Other renderers
    // take every quad whole.
    void Submit(SDL_Texture* texture, int textureSide, const detail::TScreenVertex q[4], SDL_Color c)
    {
        static const int quadIndices[6] = {0, 1, 2, 0, 2, 3};
        if (!current->snapsVertices || IsUpright(q) || FitsWhole(q, textureSide))
        {
            SDL_Vertex v[4];
            for (int i = 0; i < 4; ++i)
                v[i] = SDL_Vertex{{q[i].x, q[i].y}, c, {q[i].u, q[i].v}};
            SDL_RenderGeometry(current->renderer, texture, v, 4, quadIndices, 6);
            return;
        }
        int tile = TileSide(textureSide);
        vertices.clear();
        for (int t = 0; t < 6; t += 3)
            CutTriangle(q[quadIndices[t]], q[quadIndices[t + 1]], q[quadIndices[t + 2]], tile, c);
        if (!vertices.empty())
            SDL_RenderGeometry(current->renderer, texture, vertices.data(), static_cast<int>(vertices.size()),
                               nullptr, 0);
    }

    /// Pixels of bounding box times texels of texture side a piece may have; an eighth of the
    /// smallest product seen to fail.
    static constexpr double safeProduct = 67108864.0; // 2^26

    static bool IsUpright(const detail::TScreenVertex q[4])
    {
        return q[0].y == q[1].y && q[1].x == q[2].x && q[2].y == q[3].y && q[3].x == q[0].x &&
               q[0].x < q[1].x && q[0].y < q[3].y && q[0].u == q[3].u && q[1].u == q[2].u &&
               q[0].v == q[1].v && q[2].v == q[3].v;
    }

    bool FitsWhole(const detail::TScreenVertex q[4], int textureSide) const
    {
        double x0 = q[0].x, y0 = q[0].y, x1 = x0, y1 = y0;
        for (int i = 1; i < 4; ++i)
        {
            x0 = std::min(x0, static_cast<double>(q[i].x));
            x1 = std::max(x1, static_cast<double>(q[i].x));
            y0 = std::min(y0, static_cast<double>(q[i].y));
            y1 = std::max(y1, static_cast<double>(q[i].y));
        }
        return x0 >= clipX0 && y0 >= clipY0 && x1 <= clipX1 && y1 <= clipY1 &&
               (x1 - x0) * (y1 - y0) * textureSide <= safeProduct;
    }

    /// Side of the square tiles, whole pixels so that no pixel centre lies on a cut.
    static int TileSide(int textureSide)
    {
        double side = std::floor(std::sqrt(safeProduct / std::max(textureSide, 1)));
        return static_cast<int>(std::max(side, 8.0));
    }

    /// Where the software renderer puts a vertex at x >= 0: it drops the fraction.
    static double SnapToPixel(double x) { return std::floor(x); }

    struct TPoint
    {
        double x, y;
    };

    /// The point where the segment a-b crosses the line (x or y) = at; the same whichever way round the
    /// segment is given, so that the two triangles of a quad meet without a gap along their diagonal.
    static TPoint Cross(TPoint a, TPoint b, bool vertical, double at)
    {
        if (b.x < a.x || (b.x == a.x && b.y < a.y))
            std::swap(a, b);
        double t = vertical ? (at - a.x) / (b.x - a.x) : (at - a.y) / (b.y - a.y);
        TPoint p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
        (vertical ? p.x : p.y) = at; // exact on the cut
        return p;
    }

    /// Keeps the part of the convex polygon on one side of a line (Sutherland-Hodgman, one edge).
    static int ClipPolygon(const TPoint* in, int n, TPoint* out, bool vertical, double at, bool keepBelow)
    {
        auto inside = [&](TPoint p) {
            double v = vertical ? p.x : p.y;
            return keepBelow ? v <= at : v >= at;
        };
        int m = 0;
        for (int i = 0; i < n; ++i)
        {
            TPoint a = in[i], b = in[(i + 1) % n];
            bool ia = inside(a), ib = inside(b);
            if (ia)
                out[m++] = a;
            if (ia != ib)
                out[m++] = Cross(a, b, vertical, at);
        }
        return m;
    }

    void CutTriangle(const detail::TScreenVertex& a, const detail::TScreenVertex& b,
                     const detail::TScreenVertex& c, int tile, SDL_Color colour)
    {
        double ax = a.x, ay = a.y;
        double bx = static_cast<double>(b.x) - ax, by = static_cast<double>(b.y) - ay;
        double cx = static_cast<double>(c.x) - ax, cy = static_cast<double>(c.y) - ay;
        double area = bx * cy - by * cx;
        if (area == 0.0)
            return;
        double x0 = std::max(std::min({ax, ax + bx, ax + cx}), static_cast<double>(clipX0));
        double x1 = std::min(std::max({ax, ax + bx, ax + cx}), static_cast<double>(clipX1));
        double y0 = std::max(std::min({ay, ay + by, ay + cy}), static_cast<double>(clipY0));
        double y1 = std::min(std::max({ay, ay + by, ay + cy}), static_cast<double>(clipY1));
        if (x0 >= x1 || y0 >= y1)
            return;
        // Tiles are laid from the viewport's corner, so the same screen gets the same cuts every frame.
        int firstCol = static_cast<int>(std::floor((x0 - clipX0) / tile));
        int firstRow = static_cast<int>(std::floor((y0 - clipY0) / tile));
        for (int row = firstRow; clipY0 + static_cast<double>(row) * tile < y1; ++row)
            for (int col = firstCol; clipX0 + static_cast<double>(col) * tile < x1; ++col)
            {
                double tx0 = std::max(x0, static_cast<double>(clipX0) + static_cast<double>(col) * tile);
                double ty0 = std::max(y0, static_cast<double>(clipY0) + static_cast<double>(row) * tile);
                double tx1 = std::min(x1, static_cast<double>(clipX0) + static_cast<double>(col + 1) * tile);
                double ty1 = std::min(y1, static_cast<double>(clipY0) + static_cast<double>(row + 1) * tile);
                TPoint p[8] = {{ax, ay}, {ax + bx, ay + by}, {ax + cx, ay + cy}}, r[8];
                int n = ClipPolygon(p, 3, r, true, tx0, false);
                n = ClipPolygon(r, n, p, true, tx1, true);
                n = ClipPolygon(p, n, r, false, ty0, false);
                n = ClipPolygon(r, n, p, false, ty1, true);
                for (int i = 1; i + 1 < n; ++i)
                    for (int k : {0, i, i + 1})
                    {
                        // The software renderer moves every vertex to a whole pixel; the texel is
                        // taken where the vertex will be, so that the image does not shift with the
                        // cuts. Barycentric weights in the whole triangle give it.
                        double x = SnapToPixel(p[k].x);
                        double y = SnapToPixel(p[k].y);
                        double px = x - ax, py = y - ay;
                        double wb = (px * cy - py * cx) / area, wc = (bx * py - by * px) / area;
                        double u = a.u + (static_cast<double>(b.u) - a.u) * wb +
                                   (static_cast<double>(c.u) - a.u) * wc;
                        double v = a.v + (static_cast<double>(b.v) - a.v) * wb +
                                   (static_cast<double>(c.v) - a.v) * wc;
                        // A moved vertex may fall just outside the triangle: keep to its texels.
                        u = std::clamp(u, static_cast<double>(std::min({a.u, b.u, c.u})),
                                       static_cast<double>(std::max({a.u, b.u, c.u})));
                        v = std::clamp(v, static_cast<double>(std::min({a.v, b.v, c.v})),
                                       static_cast<double>(std::max({a.v, b.v, c.v})));
                        vertices.push_back(SDL_Vertex{{static_cast<float>(x), static_cast<float>(y)},
                                                      colour,
                                                      {static_cast<float>(u), static_cast<float>(v)}});
                    }
            }
    }

    std::vector<SDL_Vertex> vertices;
    std::vector<Span> spans;
    bool emptyClip = false;
    int clipX0 = 0, clipY0 = 0, clipX1 = 0, clipY1 = 0; ///< the viewport, cut to the surface
    SDL_Rect clipRect{};                                ///< SDL's clip rectangle, when `clipSet`
    bool clipSet = false;
};

void TSDLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    auto d = driver.lock();
    auto g = graphics.lock();
    if (!d || !g || !g->renderer || d->current != g)
        return;
    detail::TScreenVertex q[4];
    d->MapQuad(x0, y0, x1, y1, tx, ty, 1.0f, 1.0f, q);
    if (detail::AllFinite(q, 4))
        d->DrawFrame(*this, q);
}
} // namespace

TDriver2DRef SDLDriver2D()
{
    auto driver = std::make_shared<TSDLDriver2D>(false);
    driver->self = driver;
    return driver;
}

TDriver2DRef SDLSurfaceDriver2D()
{
    auto driver = std::make_shared<TSDLDriver2D>(true);
    driver->self = driver;
    return driver;
}

} // namespace ravel
