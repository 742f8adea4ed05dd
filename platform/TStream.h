// platform/TStream.h: byte streams with little-endian numbers, fixed text and CR LF lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace ravel
{

/// A byte stream with a read/write position. Numbers are little-endian whatever the host. Reading past
/// the end never fails: numbers read there are 0 and a line is what was read before the end. A write
/// that cannot be carried out marks the stream as failed (`Failed`), which savers check before they
/// commit a file.
class TStream
{
  public:
    /// Releases the stream; a file stream is closed first.
    virtual ~TStream() = default;

    /// Reads up to n bytes into dst; returns how many were read.
    virtual std::size_t Read(void* dst, std::size_t n) = 0;
    /// Writes n bytes; returns how many were written (fewer marks the stream failed).
    virtual std::size_t Write(const void* src, std::size_t n) = 0;
    /// Current position in bytes from the start.
    virtual std::int64_t Pos() const = 0;
    /// Size of the stream in bytes.
    virtual std::int64_t Size() const = 0;
    /// Moves the position; returns the new position, or -1 when it cannot be moved there.
    virtual std::int64_t Seek(std::int64_t pos) = 0;
    /// Pushes buffered bytes to the device; returns 1 on success.
    virtual int Flush() { return 1; }
    /// Flushes and releases the device; returns 1 when everything written reached it.
    virtual int Close() { return Flush(); }

    /// 1 when the position is at the end of the stream.
    int Eof() const { return Pos() >= Size() ? 1 : 0; }
    /// Bytes between the position and the end.
    std::int64_t Remaining() const { return Pos() < Size() ? Size() - Pos() : 0; }
    /// 1 once any write has fallen short.
    int Failed() const { return failed_ ? 1 : 0; }

    /// A little-endian 32-bit integer; 0 when fewer than 4 bytes are left (those are consumed).
    int ReadInt();
    /// A little-endian 32-bit IEEE float; 0 when fewer than 4 bytes are left.
    float ReadFloat();
    /// One byte, 0..255; 0 at the end.
    int ReadByte();
    /// Up to n bytes as text, fewer at the end; "" for n <= 0.
    std::string ReadString(int n);
    /// Bytes up to the next LF or NUL (not included) or the end, CR bytes dropped.
    std::string ReadLine();

    /// Writes a little-endian 32-bit integer. Returns 0; a short write marks the stream failed.
    int WriteInt(int value);
    /// Writes a little-endian 32-bit IEEE float. Returns 0.
    int WriteFloat(float value);
    /// Writes the low 8 bits of the value. Returns 0.
    int WriteByte(int value);
    /// Writes the text's bytes, no terminator. Returns 0.
    int WriteString(const std::string& text);
    /// Writes the text's bytes, then CR LF. Returns 0.
    int WriteLine(const std::string& text);

  protected:
    /// Write, marking the stream failed on a short write; once failed it writes nothing more.
    std::size_t WriteChecked(const void* src, std::size_t n);
    /// Set once a write fell short.
    bool failed_ = false;
};

/// A shared handle on a stream.
using TStreamRef = std::shared_ptr<TStream>;

/// A stream over a file of the file system.
class TFileStream : public TStream
{
  public:
    /// Opens the file for reading (write = false) or for writing from its first byte; null on failure.
    static std::shared_ptr<TFileStream> Open(const std::string& path, bool write);
    /// Closes the file if Close has not.
    ~TFileStream() override;

    /// Reads from the file; 0 bytes from a stream opened for writing.
    std::size_t Read(void* dst, std::size_t n) override;
    /// Writes to the file; 0 bytes to a stream opened for reading.
    std::size_t Write(const void* src, std::size_t n) override;
    /// Bytes from the start of the file.
    std::int64_t Pos() const override;
    /// The file's size: as opened for reading, as written so far for writing.
    std::int64_t Size() const override;
    /// Moves to pos; -1 for a negative pos or, when reading, one beyond the end.
    std::int64_t Seek(std::int64_t pos) override;
    /// Pushes buffered bytes to the file; 1 when nothing written was lost.
    int Flush() override;
    /// Flushes and closes the file (again: nothing more); 1 when everything written reached it.
    int Close() override;

  private:
    explicit TFileStream(std::FILE* file, bool write);
    std::FILE* file_;
    bool write_;
    std::int64_t pos_ = 0;
    std::int64_t size_ = 0;
};

/// A stream over bytes held in memory; writing past the end grows it.
class TMemoryStream : public TStream
{
  public:
    /// An empty stream.
    TMemoryStream() = default;
    /// A stream over these bytes, positioned at the start.
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    /// A stream over a copy of n bytes at data, positioned at the start.
    TMemoryStream(const void* data, std::size_t n)
        : bytes_(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + n)
    {
    }

    /// Copies up to n bytes from the position.
    std::size_t Read(void* dst, std::size_t n) override;
    /// Writes n bytes at the position, growing the bytes as needed; never falls short.
    std::size_t Write(const void* src, std::size_t n) override;
    /// Bytes from the start.
    std::int64_t Pos() const override { return pos_; }
    /// Number of bytes held.
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    /// Moves to pos, 0..Size(); -1 otherwise.
    std::int64_t Seek(std::int64_t pos) override;

    /// Everything written or given so far.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

/// Opens an existing file for reading from its first byte; null when it cannot be opened.
TStreamRef ReadStream(const std::string& path);
/// Opens a file for writing from its first byte, creating it or cutting it to nothing; null on failure.
TStreamRef WriteStream(const std::string& path);
/// Flushes and closes the stream; returns 1 when everything written reached the device, else 0.
int CloseStream(const TStreamRef& stream);

} // namespace ravel
