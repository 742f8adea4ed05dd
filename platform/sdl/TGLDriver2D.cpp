// platform/sdl/TGLDriver2D.cpp: the OpenGL renderer: immediate-mode triangles, lines and points in a
// pixel projection, textures for image frames, swap interval, full-screen modes.
#include "platform/TGLDriver2D.h"

#include "platform/Graphics2D.h"
#include "platform/detail/ShapeDriver2D.h"
#include "platform/sdl/DisplayModes.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace ravel
{

namespace
{
// Framebuffer objects, for the picture fitted to the desktop: OpenGL 3.0's own calls where the context
// has them, else the extension's, which take the same numbers.
struct TFramebufferCalls
{
    PFNGLGENFRAMEBUFFERSEXTPROC gen = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bind = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC attachTexture = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC status = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC remove = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genBuffer = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bindBuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC attachBuffer = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC removeBuffer = nullptr;

    bool Load(bool core)
    {
        const char* suffix = core ? "" : "EXT";
        auto get = [suffix](const char* name) {
            return SDL_GL_GetProcAddress((std::string(name) + suffix).c_str());
        };
        gen = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(get("glGenFramebuffers"));
        bind = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(get("glBindFramebuffer"));
        attachTexture = reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC>(get("glFramebufferTexture2D"));
        status = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(get("glCheckFramebufferStatus"));
        remove = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(get("glDeleteFramebuffers"));
        genBuffer = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(get("glGenRenderbuffers"));
        bindBuffer = reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(get("glBindRenderbuffer"));
        storage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(get("glRenderbufferStorage"));
        attachBuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(get("glFramebufferRenderbuffer"));
        removeBuffer = reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(get("glDeleteRenderbuffers"));
        return gen && bind && attachTexture && status && remove && genBuffer && bindBuffer && storage &&
               attachBuffer && removeBuffer;
    }
};

class TGLGraphics : public detail::TWindowGraphics
{
  public:
    SDL_GLContext context = nullptr;
    // The picture fitted to the desktop is drawn into `picture`, a texture of texW x texH holding the
    // surface in its lower-left corner, then shown scaled in the window by Flip.
    TFramebufferCalls fbo;
    GLuint framebuffer = 0, picture = 0, depthStencil = 0;
    int texW = 0, texH = 0;
    bool nonPowerOfTwo = false; ///< textures of any size
    int swapInterval = -1;      ///< last interval asked for, -1 for none yet
    bool videoStarted = false;

    ~TGLGraphics() override { Close(); }

    void Close() override
    {
        if (detail::DisplayLost())
        {
            // The program is ending without its display: every call on the window would wait on
            // the dead connection.
            Forget();
            return;
        }
        if (context && framebuffer && SDL_GL_MakeCurrent(window, context) == 0)
        {
            fbo.bind(GL_FRAMEBUFFER_EXT, 0);
            fbo.remove(1, &framebuffer);
            if (depthStencil)
                fbo.removeBuffer(1, &depthStencil);
            glDeleteTextures(1, &picture);
            framebuffer = picture = depthStencil = 0;
        }
        if (context)
        {
            if (SDL_GL_GetCurrentContext() == context)
                SDL_GL_MakeCurrent(window, nullptr);
            SDL_GL_DeleteContext(context);
            context = nullptr;
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

    bool Live() const { return context && !detail::DisplayLost() && SDL_GL_GetCurrentContext() == context; }

    void Forget()
    {
        framebuffer = picture = depthStencil = 0;
        context = nullptr;
        window = nullptr;
        videoStarted = false;
    }
};

bool HasExtension(const char* name)
{
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all)
        return false;
    std::size_t len = std::strlen(name);
    for (const char* p = std::strstr(all, name); p; p = std::strstr(p + len, name))
        if ((p == all || p[-1] == ' ') && (p[len] == ' ' || p[len] == '\0'))
            return true;
    return false;
}

int NextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v && p < (1 << 30))
        p <<= 1;
    return p;
}

// RGBA copy of the pixmap in a buffer of texW x texH, the edge pixels repeated into the padding so
// that linear sampling at the image's border sees no foreign colour.
std::vector<std::uint8_t> TextureBytes(const TPixmap& pixmap, int texW, int texH)
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(texW) * texH * 4);
    for (int y = 0; y < texH; ++y)
        for (int x = 0; x < texW; ++x)
        {
            const std::uint8_t* s = pixmap.At(std::min(x, pixmap.width - 1), std::min(y, pixmap.height - 1));
            std::uint8_t* d = out.data() + (static_cast<std::size_t>(y) * texW + x) * 4;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = pixmap.format == PF_RGBA8888 ? s[3] : 255;
        }
    return out;
}

// The next mipmap level: each texel the rounded mean of the up to four it covers.
std::vector<std::uint8_t> HalfLevel(const std::vector<std::uint8_t>& src, int w, int h, int& nw, int& nh)
{
    nw = std::max(1, w / 2);
    nh = std::max(1, h / 2);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(nw) * nh * 4);
    for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw; ++x)
        {
            int x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
            int y0 = std::min(2 * y, h - 1), y1 = std::min(2 * y + 1, h - 1);
            for (int c = 0; c < 4; ++c)
            {
                auto at = [&](int px, int py) {
                    return src[(static_cast<std::size_t>(py) * w + px) * 4 + c];
                };
                int sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
                out[(static_cast<std::size_t>(y) * nw + x) * 4 + c] =
                    static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    return out;
}

class TGLDriver2D;

class TGLImageFrame : public TImageFrame
{
  public:
    TGLImageFrame(const std::weak_ptr<TGLDriver2D>& owner, const std::shared_ptr<TGLGraphics>& surface,
                  GLuint name, float uMax, float vMax)
        : driver(owner), graphics(surface), texture(name), u1(uMax), v1(vMax)
    {
    }
    ~TGLImageFrame() override
    {
        // The texture went with its context when the graphics closed.
        auto g = graphics.lock();
        if (g && g->Live())
            glDeleteTextures(1, &texture);
    }
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

  private:
    std::weak_ptr<TGLDriver2D> driver;
    std::weak_ptr<TGLGraphics> graphics;
    GLuint texture;
    float u1, v1;
};

class TGLDriver2D : public detail::TShapeDriver2D
{
  public:
    std::shared_ptr<TGLGraphics> current;
    std::string error;
    std::weak_ptr<TGLDriver2D> self; ///< for the frames, which may outlive the driver

    std::vector<TGraphicsMode> GraphicsModes() override
    {
        if (!detail::StartVideo())
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
            error = "GL graphics driver: width and height must be positive";
            return nullptr;
        }
        if (!detail::StartVideo())
        {
            error = std::string("GL graphics driver: no video: ") + SDL_GetError();
            return nullptr;
        }
        auto g = std::make_shared<TGLGraphics>();
        g->videoStarted = true;
        g->width = width;
        g->height = height;
        g->depth = depth;
        g->hz = hz;
        g->flags = flags;

        SDL_GL_ResetAttributes();
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, flags & GRAPHICS_BACKBUFFER ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, flags & GRAPHICS_ALPHABUFFER ? 8 : 0);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, flags & GRAPHICS_DEPTHBUFFER ? 24 : 0);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, flags & GRAPHICS_STENCILBUFFER ? 8 : 0);
        int accum = flags & GRAPHICS_ACCUMBUFFER ? 16 : 0;
        SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accum);

        g->OpenWindow(SDL_WINDOW_OPENGL, "GL", error);
        if (!error.empty())
            return nullptr;
        g->context = SDL_GL_CreateContext(g->window);
        if (!g->context)
        {
            error = std::string("GL graphics driver: no OpenGL context: ") + SDL_GetError();
            return nullptr;
        }
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        g->nonPowerOfTwo =
            (version && std::atoi(version) >= 2) || HasExtension("GL_ARB_texture_non_power_of_two");
        if (g->desktopFit && !MakePictureBuffer(*g, version && std::atoi(version) >= 3))
        {
            error = "GL graphics driver: no framebuffer object for a picture scaled to the desktop";
            return nullptr;
        }
        if (current)
            SDL_GL_MakeCurrent(current->window, current->context);
        return g;
    }

    int SetGraphics(const TGraphicsRef& graphics) override
    {
        current = std::dynamic_pointer_cast<TGLGraphics>(graphics);
        if (!current || !current->context)
        {
            current.reset();
            return graphics ? -1 : 0;
        }
        SDL_GL_MakeCurrent(current->window, current->context);
        if (current->framebuffer)
            current->fbo.bind(GL_FRAMEBUFFER_EXT, current->framebuffer);
        glViewport(0, 0, current->width, current->height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, current->width, current->height, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_SCISSOR_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        ResetState();
        scissor = false;
        ApplyColor();
        return 0;
    }

    int Flip(int sync) override
    {
        if (!current)
            return 0;
        int interval = sync ? 1 : 0;
        if (interval != current->swapInterval)
        {
            // Not every system lets the interval be set; the frame pacing then keeps the rate.
            SDL_GL_SetSwapInterval(interval);
            current->swapInterval = interval;
        }
        if (current->framebuffer)
        {
            ShowFittedPicture(*current);
            SDL_GL_SwapWindow(current->window);
            current->fbo.bind(GL_FRAMEBUFFER_EXT, current->framebuffer);
        }
        else
            SDL_GL_SwapWindow(current->window);
        return 0;
    }

    // The surface of a picture fitted to the desktop: a texture of its size (rounded up to powers of
    // two where the context needs them) in a framebuffer object, with depth and stencil when asked.
    static bool MakePictureBuffer(TGLGraphics& g, bool core)
    {
        bool loaded = (core || HasExtension("GL_ARB_framebuffer_object")) && g.fbo.Load(true);
        if (!loaded)
            loaded = HasExtension("GL_EXT_framebuffer_object") && g.fbo.Load(false);
        if (!loaded)
            return false;
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        g.texW = g.nonPowerOfTwo ? g.width : NextPowerOfTwo(g.width);
        g.texH = g.nonPowerOfTwo ? g.height : NextPowerOfTwo(g.height);
        if (g.texW > maxSize || g.texH > maxSize)
            return false;
        glGenTextures(1, &g.picture);
        glBindTexture(GL_TEXTURE_2D, g.picture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, g.texW, g.texH, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        g.fbo.gen(1, &g.framebuffer);
        g.fbo.bind(GL_FRAMEBUFFER_EXT, g.framebuffer);
        g.fbo.attachTexture(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, g.picture, 0);
        if (g.flags & (GRAPHICS_DEPTHBUFFER | GRAPHICS_STENCILBUFFER))
        {
            g.fbo.genBuffer(1, &g.depthStencil);
            g.fbo.bindBuffer(GL_RENDERBUFFER_EXT, g.depthStencil);
            g.fbo.storage(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, g.texW, g.texH);
            g.fbo.attachBuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                               g.depthStencil);
            g.fbo.attachBuffer(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                               g.depthStencil);
        }
        bool complete = g.fbo.status(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
        g.fbo.bind(GL_FRAMEBUFFER_EXT, 0);
        return complete;
    }

    // Draws the surface scaled into the window's letterbox on black, leaving every setting as it was.
    static void ShowFittedPicture(TGLGraphics& g)
    {
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(g.window, &dw, &dh);
        g.box = detail::FitPicture(g.width, g.height, dw, dh);
        g.fbo.bind(GL_FRAMEBUFFER_EXT, 0);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, dw, dh, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glViewport(0, 0, dw, dh);
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, g.picture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        // The surface's top row is the texture's row height - 1.
        float u1 = static_cast<float>(g.width) / static_cast<float>(g.texW);
        float v1 = static_cast<float>(g.height) / static_cast<float>(g.texH);
        float x0 = static_cast<float>(g.box.x), y0 = static_cast<float>(g.box.y);
        float x1 = static_cast<float>(g.box.x + g.box.w), y1 = static_cast<float>(g.box.y + g.box.h);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, v1);
        glVertex2f(x0, y0);
        glTexCoord2f(u1, v1);
        glVertex2f(x1, y0);
        glTexCoord2f(u1, 0.0f);
        glVertex2f(x1, y1);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(x0, y1);
        glEnd();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glPopAttrib();
    }

    std::string LastError() const override { return error; }

    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmapRef& pixmap, int flags) override
    {
        if (!current || !pixmap || pixmap->width <= 0 || pixmap->height <= 0 ||
            (pixmap->format != PF_RGB888 && pixmap->format != PF_RGBA8888) ||
            pixmap->pixels.size() < static_cast<std::size_t>(pixmap->width) * pixmap->height * pixmap->format)
            return nullptr;
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        int texW = current->nonPowerOfTwo ? pixmap->width : NextPowerOfTwo(pixmap->width);
        int texH = current->nonPowerOfTwo ? pixmap->height : NextPowerOfTwo(pixmap->height);
        if (texW > maxSize || texH > maxSize)
            return nullptr;
        std::vector<std::uint8_t> bytes = TextureBytes(*pixmap, texW, texH);

        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        bool filtered = flags & FILTEREDIMAGE, mipmapped = flags & MIPMAPPEDIMAGE;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
        GLint minFilter = filtered ? (mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)
                                   : (mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texW, texH, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        if (mipmapped)
        {
            int w = texW, h = texH;
            for (int level = 1; w > 1 || h > 1; ++level)
            {
                int nw = 0, nh = 0;
                bytes = HalfLevel(bytes, w, h, nw, nh);
                w = nw;
                h = nh;
                glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             bytes.data());
            }
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        float u1 = static_cast<float>(pixmap->width) / static_cast<float>(texW);
        float v1 = static_cast<float>(pixmap->height) / static_cast<float>(texH);
        return std::make_shared<TGLImageFrame>(self, current, texture, u1, v1);
    }

    int SetViewport(int x, int y, int w, int h) override
    {
        if (!current)
            return 0;
        scissor = !(x <= 0 && y <= 0 && x + w >= current->width && y + h >= current->height);
        if (scissor)
        {
            glEnable(GL_SCISSOR_TEST);
            // The scissor box counts rows from the bottom.
            glScissor(x, current->height - y - std::max(h, 0), std::max(w, 0), std::max(h, 0));
        }
        else
            glDisable(GL_SCISSOR_TEST);
        return 0;
    }

    int Cls() override
    {
        if (!current)
            return 0;
        if (scissor)
            glDisable(GL_SCISSOR_TEST);
        glClearColor(static_cast<float>(clsRed) / 255.0f, static_cast<float>(clsGreen) / 255.0f,
                     static_cast<float>(clsBlue) / 255.0f, 1.0f);
        GLbitfield bits = GL_COLOR_BUFFER_BIT;
        if (current->flags & GRAPHICS_DEPTHBUFFER)
            bits |= GL_DEPTH_BUFFER_BIT;
        if (current->flags & GRAPHICS_STENCILBUFFER)
            bits |= GL_STENCIL_BUFFER_BIT;
        glClear(bits);
        if (scissor)
            glEnable(GL_SCISSOR_TEST);
        return 0;
    }

    int Plot(float x, float y) override
    {
        if (!current || !std::isfinite(x) || !std::isfinite(y))
            return 0;
        glBegin(GL_POINTS);
        glVertex2f(x + 0.5f, y + 0.5f);
        glEnd();
        return 0;
    }

    int DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        if (!current)
            return 0;
        detail::TScreenVertex v[2] = {Map(x0, y0, tx, ty), Map(x1, y1, tx, ty)};
        if (!detail::AllFinite(v, 2))
            return 0;
        glBegin(GL_LINES);
        glVertex2f(v[0].x + 0.5f, v[0].y + 0.5f);
        glVertex2f(v[1].x + 0.5f, v[1].y + 0.5f);
        glEnd();
        return 0;
    }

    int DrawPixmap(const TPixmap& pixmap, int x, int y) override
    {
        if (!current || pixmap.width <= 0 || pixmap.height <= 0 ||
            (pixmap.format != PF_RGB888 && pixmap.format != PF_RGBA8888) ||
            pixmap.pixels.size() < static_cast<std::size_t>(pixmap.width) * pixmap.height * pixmap.format)
            return 0;
        // Start at a valid raster position and move from there, so that a pixmap partly off the
        // surface still shows its visible part; rows go downwards from the top.
        glRasterPos2f(0.0f, 0.0f);
        glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(x), static_cast<float>(-y), nullptr);
        glPixelZoom(1.0f, -1.0f);
        glDrawPixels(pixmap.width, pixmap.height, pixmap.format == PF_RGBA8888 ? GL_RGBA : GL_RGB,
                     GL_UNSIGNED_BYTE, pixmap.pixels.data());
        glPixelZoom(1.0f, 1.0f);
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
        int cw = visible.x1 - visible.x0;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(cw) * 4);
        bool keepAlpha = current->flags & GRAPHICS_ALPHABUFFER;
        for (int sy = visible.y0; sy < visible.y1; ++sy)
        {
            glReadPixels(visible.x0, current->height - 1 - sy, cw, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
            std::uint8_t* d = out->At(visible.x0 - x, sy - y);
            std::memcpy(d, row.data(), row.size());
            if (!keepAlpha)
                for (int i = 0; i < cw; ++i)
                    d[i * 4 + 3] = 255;
        }
        return out;
    }

    void DrawTexturedQuad(GLuint texture, const detail::TScreenVertex q[4])
    {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i)
        {
            glTexCoord2f(q[i].u, q[i].v);
            glVertex2f(q[i].x, q[i].y);
        }
        glEnd();
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }

  protected:
    void ApplyBlend(int mode) override
    {
        if (!current)
        {
            blend = 0;
            return;
        }
        switch (mode)
        {
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            break;
        case ALPHABLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_ALPHA_TEST);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glDisable(GL_ALPHA_TEST);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glDisable(GL_ALPHA_TEST);
            break;
        default:
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        }
    }

    void ApplyColor() override
    {
        if (current)
            glColor4ub(static_cast<GLubyte>(red), static_cast<GLubyte>(green), static_cast<GLubyte>(blue),
                       static_cast<GLubyte>(alpha));
    }

    void ApplyLineWidth() override
    {
        if (current && lineWidth > 0.0f)
            glLineWidth(lineWidth);
    }

    void FillTriangles(const std::vector<detail::TScreenVertex>& triangles) override
    {
        if (!current || triangles.empty())
            return;
        glBegin(GL_TRIANGLES);
        for (const detail::TScreenVertex& v : triangles)
            glVertex2f(v.x, v.y);
        glEnd();
    }

  private:
    bool scissor = false;
};

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    auto d = driver.lock();
    auto g = graphics.lock();
    if (!d || !g || !g->Live() || d->current != g)
        return;
    detail::TScreenVertex q[4];
    d->MapQuad(x0, y0, x1, y1, tx, ty, u1, v1, q);
    if (detail::AllFinite(q, 4))
        d->DrawTexturedQuad(texture, q);
}
} // namespace

TDriver2DRef GLDriver2D()
{
    auto driver = std::make_shared<TGLDriver2D>();
    driver->self = driver;
    return driver;
}

} // namespace ravel
