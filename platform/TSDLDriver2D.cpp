// platform/TSDLDriver2D.cpp: the SDL-renderer driver: every shape, line and point as textured
// triangles (a 1 x 1 white texture for solid colour), image frames as textures, and the mask blend as
// textures whose alpha is already thresholded.
#include "platform/TSDLDriver2D.h"

#include "platform/Graphics2D.h"
#include "platform/detail/DisplayModes.h"
#include "platform/detail/ShapeDriver2D.h"

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
    SDL_Texture* white = nullptr;   ///< 1 x 1 white: SDL ignores the blend mode of untextured rectangles
    int vsync = -1;
    bool videoStarted = false;

    ~TSDLGraphics() override { Close(); }

    void Close() override
    {
        if (renderer)
        {
            SDL_DestroyRenderer(renderer); // and with it every texture made on it
            renderer = nullptr;
            white = nullptr;
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
            g->window =
                SDL_CreateWindow("Ravel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
            if (!g->window)
            {
                error = std::string("SDL graphics driver: no window: ") + SDL_GetError();
                return nullptr;
            }
            if (depth != 0)
            {
                if (!detail::SetFullScreenMode(g->window, width, height, depth, hz))
                {
                    error = "SDL graphics driver failed to set display mode";
                    return nullptr;
                }
                g->fullScreen = true;
            }
            g->renderer = SDL_CreateRenderer(g->window, -1, 0);
            if (!g->renderer)
                g->renderer = SDL_CreateRenderer(g->window, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!g->renderer)
        {
            error = std::string("SDL graphics driver: no renderer: ") + SDL_GetError();
            return nullptr;
        }
        std::vector<std::uint8_t> white(4, 255);
        g->white = MakeTexture(g->renderer, white, 1, 1, false);
        if (!g->white)
        {
            error = std::string("SDL graphics driver: no texture: ") + SDL_GetError();
            return nullptr;
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
        emptyClip = false;
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
        SDL_RenderPresent(current->renderer);
        return 0;
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
        if (x <= 0 && y <= 0 && x + w >= current->width && y + h >= current->height)
            SDL_RenderSetClipRect(current->renderer, nullptr);
        else if (!emptyClip)
        {
            SDL_Rect r{x, y, w, h};
            SDL_RenderSetClipRect(current->renderer, &r);
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
        // The pixel whose centre is nearest, as an OpenGL point at (x + 0.5, y + 0.5) covers.
        float px = std::floor(x + 0.5f), py = std::floor(y + 0.5f);
        detail::TScreenVertex q[4] = {{px, py}, {px + 1.0f, py}, {px + 1.0f, py + 1.0f}, {px, py + 1.0f}};
        FillQuad(q);
        return 0;
    }

    int DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        if (!current)
            return 0;
        detail::TScreenVertex a = Map(x0, y0, tx, ty), b = Map(x1, y1, tx, ty);
        detail::TScreenVertex ends[2] = {a, b};
        if (!detail::AllFinite(ends, 2))
            return 0;
        a.x += 0.5f;
        a.y += 0.5f;
        b.x += 0.5f;
        b.y += 0.5f;
        float dx = b.x - a.x, dy = b.y - a.y;
        if (dx == 0.0f && dy == 0.0f)
            return 0;
        // OpenGL's line: a parallelogram one line width across in the minor direction, its ends
        // square to the major axis, so that the end pixel is left out.
        float half = std::max(lineWidth, 1.0f) * 0.5f;
        float ox = 0.0f, oy = 0.0f;
        if (std::fabs(dx) >= std::fabs(dy))
            oy = half;
        else
            ox = half;
        detail::TScreenVertex q[4] = {
            {a.x - ox, a.y - oy}, {b.x - ox, b.y - oy}, {b.x + ox, b.y + oy}, {a.x + ox, a.y + oy}};
        FillQuad(q);
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
        if (!current || w <= 0 || h <= 0)
            return nullptr;
        auto out = std::make_shared<TPixmap>();
        out->width = w;
        out->height = h;
        out->format = PF_RGBA8888;
        out->pixels.assign(static_cast<std::size_t>(w) * h * 4, 0);
        int cx0 = std::max(x, 0), cy0 = std::max(y, 0);
        int cx1 = std::min(x + w, current->width), cy1 = std::min(y + h, current->height);
        if (cx0 >= cx1 || cy0 >= cy1)
            return out;
        SDL_Rect r{cx0, cy0, cx1 - cx0, cy1 - cy0};
        std::vector<std::uint8_t> block(static_cast<std::size_t>(r.w) * r.h * 4);
        if (SDL_RenderReadPixels(current->renderer, &r, SDL_PIXELFORMAT_RGBA32, block.data(), r.w * 4) != 0)
            return nullptr;
        bool keepAlpha = current->flags & GRAPHICS_ALPHABUFFER;
        for (int row = 0; row < r.h; ++row)
        {
            std::uint8_t* d = out->At(cx0 - x, cy0 - y + row);
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
            Submit(t, q, 4, c);
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
        vertices.clear();
        for (const detail::TScreenVertex& v : triangles)
            vertices.push_back(SDL_Vertex{{v.x, v.y}, c, {0.5f, 0.5f}});
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

    void FillQuad(const detail::TScreenVertex q[4])
    {
        if (emptyClip)
            return;
        SDL_Color c = Color();
        if (PrepareWhite(c))
            Submit(current->white, q, 4, c);
    }

    void Submit(SDL_Texture* texture, const detail::TScreenVertex q[4], int, SDL_Color c)
    {
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i)
            v[i] = SDL_Vertex{{q[i].x, q[i].y}, c, {q[i].u, q[i].v}};
        if (texture == current->white)
            for (SDL_Vertex& w : v)
                w.tex_coord = {0.5f, 0.5f};
        static const int quadIndices[6] = {0, 1, 2, 0, 2, 3};
        SDL_RenderGeometry(current->renderer, texture, v, 4, quadIndices, 6);
    }

    std::vector<SDL_Vertex> vertices;
    bool emptyClip = false;
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
