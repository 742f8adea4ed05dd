// platform/TStream.cpp: little-endian encodings over any byte stream, and the file and memory streams.
#include "platform/TStream.h"

#include "platform/FileSystem.h"

#include <bit>
#include <cstring>

namespace ravel
{

namespace
{
std::uint32_t FromLittle(const unsigned char b[4])
{
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

void ToLittle(std::uint32_t v, unsigned char b[4])
{
    b[0] = static_cast<unsigned char>(v);
    b[1] = static_cast<unsigned char>(v >> 8);
    b[2] = static_cast<unsigned char>(v >> 16);
    b[3] = static_cast<unsigned char>(v >> 24);
}
} // namespace

std::size_t TStream::WriteChecked(const void* src, std::size_t n)
{
    if (failed_)
        return 0; // a stream that lost bytes once must not produce a file with a gap in it
    std::size_t done = Write(src, n);
    if (done != n)
        failed_ = true;
    return done;
}

int TStream::ReadInt()
{
    unsigned char b[4] = {0, 0, 0, 0};
    if (Read(b, 4) != 4)
        return 0;
    return static_cast<int>(FromLittle(b));
}

float TStream::ReadFloat()
{
    unsigned char b[4] = {0, 0, 0, 0};
    if (Read(b, 4) != 4)
        return 0.0f;
    return std::bit_cast<float>(FromLittle(b));
}

int TStream::ReadByte()
{
    unsigned char b = 0;
    if (Read(&b, 1) != 1)
        return 0;
    return b;
}

std::string TStream::ReadString(int n)
{
    if (n <= 0)
        return std::string();
    // Never allocate more than the stream can deliver.
    std::int64_t want = n;
    if (want > Remaining())
        want = Remaining();
    std::string text(static_cast<std::size_t>(want), '\0');
    std::size_t got = Read(text.data(), text.size());
    text.resize(got);
    return text;
}

std::string TStream::ReadLine()
{
    std::string line;
    unsigned char c = 0;
    while (Read(&c, 1) == 1)
    {
        if (c == 10 || c == 0)
            break;
        if (c != 13)
            line.push_back(static_cast<char>(c));
    }
    return line;
}

int TStream::WriteInt(int value)
{
    unsigned char b[4];
    ToLittle(static_cast<std::uint32_t>(value), b);
    WriteChecked(b, 4);
    return 0;
}

int TStream::WriteFloat(float value)
{
    unsigned char b[4];
    ToLittle(std::bit_cast<std::uint32_t>(value), b);
    WriteChecked(b, 4);
    return 0;
}

int TStream::WriteByte(int value)
{
    unsigned char b = static_cast<unsigned char>(value);
    WriteChecked(&b, 1);
    return 0;
}

int TStream::WriteString(const std::string& text)
{
    if (!text.empty())
        WriteChecked(text.data(), text.size());
    return 0;
}

int TStream::WriteLine(const std::string& text)
{
    WriteString(text);
    static const unsigned char crlf[2] = {13, 10};
    WriteChecked(crlf, 2);
    return 0;
}

// File stream: a stdio file with the position and size tracked here, so Pos and Eof cost nothing.

std::shared_ptr<TFileStream> TFileStream::Open(const std::string& path, bool write)
{
    std::FILE* file = std::fopen(NormalisePath(path).c_str(), write ? "wb" : "rb");
    if (!file)
        return nullptr;
    return std::shared_ptr<TFileStream>(new TFileStream(file, write));
}

TFileStream::TFileStream(std::FILE* file, bool write) : file_(file), write_(write)
{
    if (!write_ && std::fseek(file_, 0, SEEK_END) == 0)
    {
        long end = std::ftell(file_);
        size_ = end > 0 ? end : 0;
        std::fseek(file_, 0, SEEK_SET);
    }
}

TFileStream::~TFileStream()
{
    Close();
}

std::size_t TFileStream::Read(void* dst, std::size_t n)
{
    if (!file_ || write_ || n == 0)
        return 0;
    std::size_t got = std::fread(dst, 1, n, file_);
    pos_ += static_cast<std::int64_t>(got);
    return got;
}

std::size_t TFileStream::Write(const void* src, std::size_t n)
{
    if (!file_ || !write_ || n == 0)
        return 0;
    std::size_t done = std::fwrite(src, 1, n, file_);
    // stdio may have dropped its buffer with the failed write, so a later flush would not see the
    // loss: the stream remembers it, whoever called Write.
    if (done != n)
        failed_ = true;
    pos_ += static_cast<std::int64_t>(done);
    if (pos_ > size_)
        size_ = pos_;
    return done;
}

std::int64_t TFileStream::Pos() const
{
    return pos_;
}

std::int64_t TFileStream::Size() const
{
    return size_;
}

std::int64_t TFileStream::Seek(std::int64_t pos)
{
    if (!file_ || pos < 0 || (!write_ && pos > size_))
        return -1;
    if (std::fseek(file_, static_cast<long>(pos), SEEK_SET) != 0)
        return -1;
    pos_ = pos;
    return pos_;
}

int TFileStream::Flush()
{
    if (!file_)
        return failed_ ? 0 : 1;
    if (write_ && std::fflush(file_) != 0)
        failed_ = true;
    return failed_ ? 0 : 1;
}

int TFileStream::Close()
{
    if (!file_)
        return failed_ ? 0 : 1;
    Flush();
    if (std::fclose(file_) != 0 && write_)
        failed_ = true;
    file_ = nullptr;
    return failed_ ? 0 : 1;
}

// Memory stream.

std::size_t TMemoryStream::Read(void* dst, std::size_t n)
{
    if (pos_ >= bytes_.size())
        return 0;
    std::size_t got = std::min(n, bytes_.size() - pos_);
    std::memcpy(dst, bytes_.data() + pos_, got);
    pos_ += got;
    return got;
}

std::size_t TMemoryStream::Write(const void* src, std::size_t n)
{
    if (n == 0)
        return 0;
    if (pos_ + n > bytes_.size())
        bytes_.resize(pos_ + n);
    std::memcpy(bytes_.data() + pos_, src, n);
    pos_ += n;
    return n;
}

std::int64_t TMemoryStream::Seek(std::int64_t pos)
{
    if (pos < 0 || pos > Size())
        return -1;
    pos_ = static_cast<std::size_t>(pos);
    return pos;
}

TStreamRef ReadStream(const std::string& path)
{
    return TFileStream::Open(path, false);
}

TStreamRef WriteStream(const std::string& path)
{
    return TFileStream::Open(path, true);
}

int CloseStream(const TStreamRef& stream)
{
    if (!stream)
        return 0;
    return stream->Close();
}

} // namespace ravel
