// platform/sdl/TSDLDriver2D.cpp: the SDL-renderer driver: every shape, line and point as textured
// triangles (a 1 x 1 white texture for solid colour), image frames as textures, and the mask blend as
// textures whose alpha is already thresholded.
#include "platform/TSDLDriver2D.h"

#include "platform/Graphics2D.h"
#include "platform/detail/ShapeDriver2D.h"
#include "platform/sdl/DisplayModes.h"
#include "platform/sdl/PixelSpans.h"
#include "platform/sdl/QuadCut.h"

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
        detail::LineSpans(ends[0].x + 0.5, ends[0].y + 0.5, ends[1].x + 0.5, ends[1].y + 0.5, lineWidth,
                          current->width, current->height, spans);
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
                detail::TriangleSpans(triangles[i], triangles[i + 1], triangles[i + 2], current->width,
                                      current->height, spans);
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

    void FillSpans()
    {
        if (emptyClip || spans.empty())
            return;
        SDL_Color c = Color();
        if (!PrepareWhite(c))
            return;
        vertices.clear();
        for (const detail::TSpan& s : spans)
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

    // SDL's software renderer gets a quad it cannot sample safely cut into pieces (QuadCut.h); other
    // renderers take every quad whole.
    void Submit(SDL_Texture* texture, int textureSide, const detail::TScreenVertex q[4], SDL_Color c)
    {
        static const int quadIndices[6] = {0, 1, 2, 0, 2, 3};
        detail::TClip clip{clipX0, clipY0, clipX1, clipY1};
        if (!current->snapsVertices || detail::IsUpright(q) || detail::FitsWhole(q, textureSide, clip))
        {
            SDL_Vertex v[4];
            for (int i = 0; i < 4; ++i)
                v[i] = SDL_Vertex{{q[i].x, q[i].y}, c, {q[i].u, q[i].v}};
            SDL_RenderGeometry(current->renderer, texture, v, 4, quadIndices, 6);
            return;
        }
        int tile = detail::TileSide(textureSide);
        pieces.clear();
        for (int t = 0; t < 6; t += 3)
            detail::CutTriangle(q[quadIndices[t]], q[quadIndices[t + 1]], q[quadIndices[t + 2]], tile, clip,
                                pieces);
        vertices.clear();
        for (const detail::TScreenVertex& p : pieces)
            vertices.push_back(SDL_Vertex{{p.x, p.y}, c, {p.u, p.v}});
        if (!vertices.empty())
            SDL_RenderGeometry(current->renderer, texture, vertices.data(), static_cast<int>(vertices.size()),
                               nullptr, 0);
    }

    std::vector<SDL_Vertex> vertices;
    std::vector<detail::TScreenVertex> pieces; ///< a quad cut for the software renderer
    std::vector<detail::TSpan> spans;
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
