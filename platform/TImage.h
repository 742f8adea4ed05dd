// platform/TImage.h: decoded images with frames, flags, a mask colour and a handle point.
#pragma once
#include "platform/TStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ravel
{

/// Image flags, given to LoadImage.
inline constexpr int MASKEDIMAGE = 1;   ///< pixels of the mask colour become transparent
inline constexpr int FILTEREDIMAGE = 2; ///< linear filtering when drawn scaled or turned
/// Image flag: mipmaps for drawing scaled down.
inline constexpr int MIPMAPPEDIMAGE = 4;
/// The flags LoadImage uses for -1: masked and filtered.
inline constexpr int DEFAULT_IMAGE_FLAGS = MASKEDIMAGE | FILTEREDIMAGE;

///@{
/// Pixel formats of a pixmap, equal to their bytes per pixel: RGB and RGBA, 8 bits per channel.
inline constexpr int PF_RGB888 = 3;
inline constexpr int PF_RGBA8888 = 4;
///@}

/// A buffer of 8-bit pixels, RGB or RGBA, rows top to bottom with no padding.
struct TPixmap
{
    ///@{
    /// Size in pixels.
    int width = 0;
    int height = 0;
    ///@}
    int format = PF_RGBA8888;         ///< PF_RGB888 or PF_RGBA8888: the bytes per pixel
    std::vector<std::uint8_t> pixels; ///< width * height * format bytes

    /// Bytes per pixel: 3 or 4.
    int BytesPerPixel() const { return format; }
    /// Bytes per row.
    int Pitch() const { return width * format; }
    ///@{
    /// The first byte of pixel (x, y); x and y must lie inside the pixmap (unchecked).
    std::uint8_t* At(int x, int y)
    {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * format;
    }
    const std::uint8_t* At(int x, int y) const
    {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * format;
    }
    ///@}
};
/// A shared handle on a pixmap.
using TPixmapRef = std::shared_ptr<TPixmap>;

/// The renderer's drawable form of one image frame, made on first use by the active driver.
class TImageFrame
{
  public:
    /// Releases the renderer's resources of the frame.
    virtual ~TImageFrame() = default;
    /// Draws the frame's pixels over the local rectangle (x0, y0)-(x1, y1), mapped through the current
    /// matrix and then translated by (tx, ty), like the driver's primitives.
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
};

/// A loaded image: its pixels, one buffer per frame, and the renderer frames made from them.
class TImage
{
  public:
    ///@{
    /// Size in pixels.
    int width = 0;
    int height = 0;
    ///@}
    /// Image flags: MASKEDIMAGE, FILTEREDIMAGE, MIPMAPPEDIMAGE or-ed.
    int flags = 0;
    ///@{
    int mask_r = 0, mask_g = 0, mask_b = 0; ///< the mask colour in force when the image was loaded
    ///@}
    ///@{
    float handle_x = 0.0f, handle_y = 0.0f; ///< the point, in pixels from the top-left, drawn at (x, y)
    std::vector<TPixmapRef> pixmaps;        ///< decoded pixels, one per frame
    ///@}
    std::vector<std::shared_ptr<TImageFrame>> frames; ///< renderer frames, made on first draw
    std::vector<int> seqs;                            ///< graphics generation each frame was made for

    /// A one-frame image over the pixmap with the given flags and the current mask colour; the mask
    /// step and the automatic mid handle are applied as LoadImage applies them. flags -1 means the
    /// default flags. The mask step puts a new RGBA pixmap in the image and leaves the given one as it
    /// was; otherwise the image shares the given pixmap. Null for a null or inconsistent pixmap.
    static std::shared_ptr<TImage> FromPixmap(TPixmapRef pixmap, int flags);
};
/// A shared handle on an image; images are shared freely (bodies share them between their copies).
using TImageRef = std::shared_ptr<TImage>;

/// Decodes a PNG file into a one-frame image. flags -1 means the default flags (masked, filtered).
/// Returns null when the file cannot be read or decoded.
TImageRef LoadImage(const std::string& path, int flags = -1);

/// Decodes one PNG data stream starting at the stream's position, leaving the position directly after
/// its IEND chunk. Returns null (the position then unspecified) when the bytes are not a valid PNG.
TImageRef LoadImage(TStream& stream, int flags = -1);

/// Decodes a PNG file into an RGB or RGBA pixmap, without the image loader's mask step; null on failure.
TPixmapRef LoadPixmapPNG(const std::string& path);
/// Decodes one PNG data stream at the stream's position into a pixmap; null on failure.
TPixmapRef LoadPixmapPNG(TStream& stream);

/// Encodes the pixmap as one PNG data stream (8 bits per channel, RGB or RGBA as the pixmap is) at the
/// stream's position; the level is clamped to 0..9 and used as the deflate level. 1 on success.
int SavePixmapPNG(const TPixmap& pixmap, TStream& stream, int level);
/// Encodes the pixmap into a PNG file created (or replaced) at the path. 1 on success.
int SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int level);

/// Sets the mask colour captured by later image loads, 0..255 per channel; starts as (0, 0, 0). Zone
/// and body files with pictures set it while they load. Returns 0.
int SetMaskColor(int red, int green, int blue);
/// Reads the mask colour that later loads will capture.
int GetMaskColor(int& red, int& green, int& blue);

/// Sets the image's handle point, in pixels from its top-left corner: the point drawn at the drawing
/// position. Nothing for a null image. Returns 0.
int SetImageHandle(const TImageRef& image, float x, float y);

/// When non-zero, every image loaded afterwards gets its handle at its centre; off at start. Returns 0.
int SetAutoMidHandle(int flag);

///@{
/// Image width and height in pixels (0 for null).
int ImageWidth(const TImageRef& image);
int ImageHeight(const TImageRef& image);
///@}

} // namespace ravel
