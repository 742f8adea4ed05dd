// platform/PngCodec.cpp: PNG decoding and encoding over streams through libpng.
#include "platform/Clamp.h"
#include "platform/FileSystem.h"
#include "platform/TImage.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <new>

namespace ravel
{

namespace
{
// A hostile header must not make the decoder allocate gigabytes: no side above 65535 pixels and at
// most 2^28 pixels (1 GiB of RGBA) in all.
constexpr png_uint_32 MAX_SIDE = 65535;
constexpr std::uint64_t MAX_PIXELS = std::uint64_t(1) << 28;
// Deflate cannot shrink data by more than about 1032 to 1, so an image whose filtered rows would be
// more than this many times the bytes left in the stream cannot be complete there.
constexpr std::uint64_t MAX_DEFLATE_RATIO = 1100;
constexpr std::uint64_t DEFLATE_SLACK = 65536;

// libpng reports errors through these; they never print. The error function must not return: libpng
// would then call its own default handler, which prints and aborts.
void SilentError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void SilentWarning(png_structp, png_const_charp)
{
}

// The fifth bit of a chunk type's first letter: lower case marks a chunk a decoder may do without.
bool Ancillary(png_uint_32 chunkType)
{
    return (chunkType & 0x20000000u) != 0;
}

// The read callback hands libpng exactly the bytes it asks for, so the stream stops directly after
// the last byte libpng consumed: the CRC of IEND once png_read_end has run.
//
// libpng allocates a chunk's buffer from the length in its header before reading the data, and drops
// a damaged ancillary chunk only after that. So a chunk that declares more data (and CRC) than the
// stream still holds is refused at its header: it cannot be complete, and the buffer would be as
// large as a hostile length makes it.
void ReadFromStream(png_structp png, png_bytep dst, size_t n)
{
    TStream* stream = static_cast<TStream*>(png_get_io_ptr(png));
    if (stream->Read(dst, n) != n)
        png_error(png, "truncated");
    if (n == 8 && (png_get_io_state(png) & PNG_IO_CHUNK_HDR) != 0)
    {
        std::uint64_t length =
            std::uint64_t(dst[0]) << 24 | std::uint64_t(dst[1]) << 16 | std::uint64_t(dst[2]) << 8 | dst[3];
        if (length + 4 > static_cast<std::uint64_t>(stream->Remaining()))
            png_error(png, "truncated");
    }
}

void WriteToStream(png_structp png, png_bytep src, size_t n)
{
    TStream* stream = static_cast<TStream*>(png_get_io_ptr(png));
    if (stream->Failed() || stream->Write(src, n) != n)
        png_error(png, "write failed");
}

void FlushStream(png_structp)
{
}

// Everything the setjmp-protected steps touch. It is trivially destructible and lives in the caller's
// frame, so a longjmp out of libpng skips no destructor; the buffers it points at belong to the caller.
struct DecodeJob
{
    png_structp png;
    png_infop info;
    bool damaged;              // libpng stepped over an error outside an ancillary chunk
    std::uint64_t streamBytes; // bytes left in the stream when decoding began
    png_uint_32 width;
    png_uint_32 height;
    int channels; // 3 or 4 after the transforms
    png_bytepp rows;
};

// Decoding warnings. libpng steps over the errors it calls benign, and reports them here, as it does
// a bad CRC of an ancillary chunk. Inside an ancillary chunk (a damaged colour profile, gamma or
// text) that is the format's own rule: the chunk is dropped and the picture is still good. Anywhere
// else (the header, the palette, the image data: a bad Adler-32, surplus data, a palette index out of
// range) the picture is damaged and is refused once libpng is done with it.
void DecodeWarning(png_structp png, png_const_charp)
{
    if (!Ancillary(png_get_io_chunk_type(png)))
        static_cast<DecodeJob*>(png_get_error_ptr(png))->damaged = true;
}

// Reads the header chunks and sets up the transforms to 8-bit RGB or RGBA. false on any error, or when
// the image is too large to be accepted.
bool ReadHeader(DecodeJob* job)
{
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_read_info(job->png, job->info);
    if (job->damaged)
        return false;
    png_uint_32 width = png_get_image_width(job->png, job->info);
    png_uint_32 height = png_get_image_height(job->png, job->info);
    int depth = png_get_bit_depth(job->png, job->info);
    int type = png_get_color_type(job->png, job->info);
    int sourceChannels = png_get_channels(job->png, job->info);
    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE ||
        std::uint64_t(width) * height > MAX_PIXELS)
        return false;
    std::uint64_t filteredBytes = ((std::uint64_t(width) * depth * sourceChannels + 7) / 8 + 1) * height;
    if (filteredBytes > job->streamBytes * MAX_DEFLATE_RATIO + DEFLATE_SLACK)
        return false;

    bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(job->png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(job->png);
    if (png_get_valid(job->png, job->info, PNG_INFO_tRNS))
    {
        png_set_tRNS_to_alpha(job->png);
        alpha = true;
    }
    if (depth == 16)
        png_set_strip_16(job->png); // keeps the high byte of each sample
    if ((type & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(job->png);
    png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);

    job->width = width;
    job->height = height;
    job->channels = alpha ? 4 : 3;
    return png_get_channels(job->png, job->info) == job->channels &&
           png_get_bit_depth(job->png, job->info) == 8 &&
           png_get_rowbytes(job->png, job->info) == std::size_t(width) * job->channels;
}

// Decodes every pass into the rows and reads on through IEND, checking every CRC on the way.
bool ReadPixels(DecodeJob* job)
{
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_read_image(job->png, job->rows);
    png_read_end(job->png, job->info);
    return !job->damaged;
}

struct EncodeJob
{
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
    int colorType;
    int level;
    png_bytepp rows;
};

bool WriteAll(EncodeJob* job)
{
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_set_compression_level(job->png, job->level);
    png_set_IHDR(job->png, job->info, job->width, job->height, 8, job->colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job->png, job->info);
    png_write_image(job->png, job->rows);
    png_write_end(job->png, job->info);
    return true;
}

// One PNG data stream from the stream's position into a new pixmap; null on any failure.
TPixmapRef Decode(TStream& stream)
{
    DecodeJob job{};
    job.streamBytes = static_cast<std::uint64_t>(stream.Remaining());
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, SilentError, DecodeWarning);
    if (!job.png)
        return nullptr;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
    {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return nullptr;
    }
    png_set_read_fn(job.png, &stream, ReadFromStream);
    png_set_user_limits(job.png, MAX_SIDE, MAX_SIDE);
    // libpng's own rules for damage: a critical chunk with a bad CRC is an error, an ancillary one is
    // dropped with a warning, and so are the other errors it can step over (see DecodeWarning).
    png_set_crc_action(job.png, PNG_CRC_DEFAULT, PNG_CRC_DEFAULT);
    png_set_benign_errors(job.png, 1);

    TPixmapRef pixmap;
    if (ReadHeader(&job))
    {
        try
        {
            pixmap = std::make_shared<TPixmap>();
            pixmap->width = static_cast<int>(job.width);
            pixmap->height = static_cast<int>(job.height);
            pixmap->format = job.channels == 4 ? PF_RGBA8888 : PF_RGB888;
            pixmap->pixels.resize(std::size_t(job.width) * job.height * job.channels);
            std::vector<png_bytep> rows(job.height);
            for (png_uint_32 y = 0; y < job.height; ++y)
                rows[y] = pixmap->At(0, static_cast<int>(y));
            job.rows = rows.data();
            if (!ReadPixels(&job))
                pixmap.reset();
        }
        catch (const std::bad_alloc&)
        {
            pixmap.reset();
        }
    }
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    return pixmap;
}
} // namespace

TPixmapRef LoadPixmapPNG(TStream& stream)
{
    return Decode(stream);
}

TPixmapRef LoadPixmapPNG(const std::string& path)
{
    TStreamRef stream = ReadStream(path);
    if (!stream)
        return nullptr;
    TPixmapRef pixmap = Decode(*stream);
    CloseStream(stream);
    return pixmap;
}

int SavePixmapPNG(const TPixmap& pixmap, TStream& stream, int level)
{
    if (pixmap.width <= 0 || pixmap.height <= 0 || std::uint32_t(pixmap.width) > PNG_UINT_31_MAX ||
        std::uint32_t(pixmap.height) > PNG_UINT_31_MAX ||
        (pixmap.format != PF_RGB888 && pixmap.format != PF_RGBA8888) ||
        pixmap.pixels.size() < std::size_t(pixmap.width) * pixmap.height * pixmap.format)
        return 0;
    if (stream.Failed())
        return 0;

    EncodeJob job{};
    job.width = static_cast<png_uint_32>(pixmap.width);
    job.height = static_cast<png_uint_32>(pixmap.height);
    job.colorType = pixmap.format == PF_RGBA8888 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    job.level = ClampRange(level, 0, 9);
    std::vector<png_bytep> rows;
    try
    {
        rows.resize(job.height);
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
    // libpng only reads through the row pointers; it takes them as non-const.
    for (png_uint_32 y = 0; y < job.height; ++y)
        rows[y] = const_cast<png_bytep>(pixmap.At(0, static_cast<int>(y)));
    job.rows = rows.data();

    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!job.png)
        return 0;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
    {
        png_destroy_write_struct(&job.png, nullptr);
        return 0;
    }
    png_set_write_fn(job.png, &stream, WriteToStream, FlushStream);
    bool ok = WriteAll(&job);
    png_destroy_write_struct(&job.png, &job.info);
    return ok && !stream.Failed() ? 1 : 0;
}

int SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int level)
{
    TStreamRef stream = WriteStream(path);
    if (!stream)
        return 0;
    int ok = SavePixmapPNG(pixmap, *stream, level);
    if (CloseStream(stream) != 1)
        ok = 0;
    // a half-written file must not pass for an image
    if (!ok)
        DeleteFile(path);
    return ok;
}

} // namespace ravel
