// platform/TImage.cpp: images made from decoded pixmaps, the mask step and the image settings.
#include "platform/TImage.h"

#include <new>

namespace ravel
{

namespace
{
// Settings captured by later loads; they are not part of any drawing state.
int maskRed = 0, maskGreen = 0, maskBlue = 0;
bool autoMidHandle = false;

bool IsMaskColor(const std::uint8_t* p, int r, int g, int b)
{
    return p[0] == r && p[1] == g && p[2] == b;
}

// The RGB pixmap as RGBA: pixels of the mask colour become transparent and take the average colour
// of their neighbours that are not of the mask colour, so filtering does not bleed the mask colour
// into the picture's edges; every other pixel is opaque.
TPixmapRef MaskToRGBA(const TPixmap& src, int r, int g, int b)
{
    TPixmapRef dst = std::make_shared<TPixmap>();
    dst->width = src.width;
    dst->height = src.height;
    dst->format = PF_RGBA8888;
    dst->pixels.resize(std::size_t(src.width) * src.height * 4);
    for (int y = 0; y < src.height; ++y)
    {
        for (int x = 0; x < src.width; ++x)
        {
            const std::uint8_t* s = src.At(x, y);
            std::uint8_t* d = dst->At(x, y);
            if (!IsMaskColor(s, r, g, b))
            {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                d[3] = 255;
                continue;
            }
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny)
            {
                for (int nx = x - 1; nx <= x + 1; ++nx)
                {
                    if (nx < 0 || ny < 0 || nx >= src.width || ny >= src.height || (nx == x && ny == y))
                        continue;
                    const std::uint8_t* n = src.At(nx, ny);
                    if (IsMaskColor(n, r, g, b))
                        continue;
                    sum[0] += n[0];
                    sum[1] += n[1];
                    sum[2] += n[2];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>(count > 0 ? sum[c] / count : 0);
            d[3] = 0;
        }
    }
    return dst;
}
} // namespace

std::shared_ptr<TImage> TImage::FromPixmap(TPixmapRef pixmap, int flags)
{
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 ||
        (pixmap->format != PF_RGB888 && pixmap->format != PF_RGBA8888) ||
        pixmap->pixels.size() < std::size_t(pixmap->width) * pixmap->height * pixmap->format)
        return nullptr;
    try
    {
        auto image = std::make_shared<TImage>();
        image->width = pixmap->width;
        image->height = pixmap->height;
        image->flags = flags == -1 ? DEFAULT_IMAGE_FLAGS : flags;
        image->mask_r = maskRed;
        image->mask_g = maskGreen;
        image->mask_b = maskBlue;
        if ((image->flags & MASKEDIMAGE) != 0 && pixmap->format == PF_RGB888)
            pixmap = MaskToRGBA(*pixmap, maskRed, maskGreen, maskBlue);
        if (autoMidHandle)
        {
            image->handle_x = static_cast<float>(image->width) * 0.5f;
            image->handle_y = static_cast<float>(image->height) * 0.5f;
        }
        image->pixmaps.push_back(std::move(pixmap));
        image->frames.resize(1);
        image->seqs.resize(1, 0);
        return image;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

TImageRef LoadImage(const std::string& path, int flags)
{
    return TImage::FromPixmap(LoadPixmapPNG(path), flags);
}

TImageRef LoadImage(TStream& stream, int flags)
{
    return TImage::FromPixmap(LoadPixmapPNG(stream), flags);
}

int SetMaskColor(int red, int green, int blue)
{
    maskRed = red;
    maskGreen = green;
    maskBlue = blue;
    return 0;
}

int GetMaskColor(int& red, int& green, int& blue)
{
    red = maskRed;
    green = maskGreen;
    blue = maskBlue;
    return 0;
}

int SetImageHandle(const TImageRef& image, float x, float y)
{
    if (!image)
        return 0;
    image->handle_x = x;
    image->handle_y = y;
    return 0;
}

int SetAutoMidHandle(int flag)
{
    autoMidHandle = flag != 0;
    return 0;
}

int ImageWidth(const TImageRef& image)
{
    return image ? image->width : 0;
}

int ImageHeight(const TImageRef& image)
{
    return image ? image->height : 0;
}

} // namespace ravel
