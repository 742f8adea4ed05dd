// platform/TImageFont.h: a fixed-width bitmap font whose glyphs are the frames of one image.
#pragma once
#include "platform/TImage.h"

#include <memory>

namespace ravel
{

/// A fixed-width bitmap font whose glyphs are the frames of one image: what DrawText draws with.
class TImageFont
{
  public:
    /// The built-in font: 96 glyphs for codes 32-127, 8 x 16 pixels, advance 8. Glyph pixels are
    /// opaque white and the rest transparent black, so text takes the drawing colour. One shared
    /// instance, so its renderer frames are made once per graphics.
    static std::shared_ptr<TImageFont> CreateDefault();

    TImageRef image;     ///< one frame per glyph
    int firstChar = 32;  ///< code of frame 0
    int charCount = 96;  ///< number of glyphs
    int charWidth = 8;   ///< pixels
    int charHeight = 16; ///< pixels
    int advance = 8;     ///< pen movement per glyph, in pixels before the matrix

    /// Frame of the character code, or -1 when the font has no glyph for it.
    int CharToFrame(int code) const;
};
/// A shared handle on a font.
using TImageFontRef = std::shared_ptr<TImageFont>;

/// The built-in glyph table: a 768 x 16 one-bit image, 96 bytes per row; glyph g is byte g of every
/// row and bit k of a byte is the pixel k places from the left.
extern const unsigned char DEFAULT_FONT_BITS[16 * 96];

} // namespace ravel
