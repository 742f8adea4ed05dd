// tests/fuzz/ImageFuzz.cpp: PNG streams from arbitrary bytes through LoadImage and the pixmap decoder;
// a decoded pixmap must encode and decode back to the same pixels.
#include "tests/fuzz/FuzzCommon.h"

#include "platform/TImage.h"
#include "platform/TStream.h"

using namespace ravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        TMemoryStream in(data, size);
        TImageRef image = LoadImage(in, -1);
        if (image)
        {
            fuzz::Check(image->width > 0 && image->height > 0, "a loaded image has pixels");
            fuzz::Check(in.Pos() <= in.Size(), "the position stays inside the stream");
        }
    }
    TMemoryStream in(data, size);
    TPixmapRef pixmap = LoadPixmapPNG(in);
    if (!pixmap)
        return 0;
    fuzz::Check(pixmap->pixels.size() ==
                    static_cast<std::size_t>(pixmap->width) * pixmap->height * pixmap->format,
                "pixel buffer matches its size");
    TMemoryStream out;
    fuzz::Check(SavePixmapPNG(*pixmap, out, 1) == 1, "a decoded pixmap encodes");
    out.Seek(0);
    TPixmapRef again = LoadPixmapPNG(out);
    fuzz::Check(again != nullptr, "an encoded pixmap decodes");
    fuzz::Check(again->width == pixmap->width && again->height == pixmap->height &&
                    again->format == pixmap->format && again->pixels == pixmap->pixels,
                "pixels survive the round trip");
    return 0;
}
