// platform/TImageFont.cpp: the built-in 8 x 16 font, unpacked from its glyph table into 96 frames.
#include "platform/TImageFont.h"

namespace ravel
{

// Glyphs of Spleen 8x16 by Frederic Cambus (BSD 2-clause licence, see DefaultFont8x16.LICENSE beside
// this file), converted once by tools/make-font-table.py.
const unsigned char DEFAULT_FONT_BITS[16 * 96] = {
#include "platform/DefaultFont8x16.inc"
};

std::shared_ptr<TImageFont> TImageFont::CreateDefault()
{
    static std::shared_ptr<TImageFont> font = [] {
        auto f = std::make_shared<TImageFont>();
        f->image = std::make_shared<TImage>();
        f->image->width = f->charWidth;
        f->image->height = f->charHeight;
        f->image->flags = 0; // nearest sampling keeps the glyphs sharp when scaled
        for (int g = 0; g < f->charCount; ++g)
        {
            auto pixmap = std::make_shared<TPixmap>();
            pixmap->width = f->charWidth;
            pixmap->height = f->charHeight;
            pixmap->format = PF_RGBA8888;
            pixmap->pixels.assign(static_cast<std::size_t>(f->charWidth * f->charHeight * 4), 0);
            for (int y = 0; y < f->charHeight; ++y)
            {
                unsigned bits = DEFAULT_FONT_BITS[y * 96 + g];
                for (int x = 0; x < f->charWidth; ++x)
                    if (bits >> x & 1u)
                    {
                        std::uint8_t* p = pixmap->At(x, y);
                        p[0] = p[1] = p[2] = p[3] = 255;
                    }
            }
            f->image->pixmaps.push_back(pixmap);
        }
        f->image->frames.resize(f->image->pixmaps.size());
        f->image->seqs.resize(f->image->pixmaps.size(), 0);
        return f;
    }();
    return font;
}

int TImageFont::CharToFrame(int code) const
{
    int frame = code - firstChar;
    return frame >= 0 && frame < charCount ? frame : -1;
}

} // namespace ravel
