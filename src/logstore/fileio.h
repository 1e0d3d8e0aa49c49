#pragma once
// Streams over files and memory, the buffered file stream of the log and the
// country file, and safe whole-file rewriting.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// A file could not be opened, created, written or renamed; the message names the file.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A stream ended before the bytes a reader asked for.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SeekOrigin { Begin, Current, End };

/// A byte stream with the read, write, seek, size and end-of-file operations.
class TStream {
public:
    virtual ~TStream() = default;
    /// Reads exactly count bytes or throws EReadError.
    void Read(void *out, std::size_t count);
    /// Reads up to count bytes and returns how many were read.
    virtual std::size_t ReadSome(void *out, std::size_t count) = 0;
    virtual void Write(const void *data, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    bool Eof() const { return Position() >= Size(); }
    std::int64_t Remaining() const { return Size() - Position(); }

    /// Checks a count read from the stream before anything is reserved for it:
    /// throws EReadError (RecordsOverrunText of bytes.h) unless `count` records
    /// of at least `recordSize` bytes fit in what is left. `what` names the records.
    void ExpectRecords(std::uint64_t count, std::uint64_t recordSize, std::string_view what) const;

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    void WriteU8(std::uint8_t v) { Write(&v, 1); }
    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
};

/// A stream over bytes in memory (reading a copy, or collecting written bytes).
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::span<const std::uint8_t> bytes) : m_bytes(bytes.begin(), bytes.end()) {}
    std::size_t ReadSome(void *out, std::size_t count) override;
    void Write(const void *data, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(m_position); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    const std::vector<std::uint8_t> &Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

enum class FileMode { Read, Create };

/// A file stream with an 8192-byte buffer. Reads fill the buffer as needed;
/// writes collect in it and go to the file when it is full, on a seek and on Close.
/// Opening a missing or unreadable file throws EFileError. Close() reports a
/// failed final flush as EFileError; the destructor only closes quietly.
class TBufferedFileStream : public TStream {
public:
    static constexpr std::size_t BufferSize = 8192;

    TBufferedFileStream(const std::string &fileName, FileMode mode);
    ~TBufferedFileStream() override;

    std::size_t ReadSome(void *out, std::size_t count) override;
    void Write(const void *data, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Position() const override;
    std::int64_t Size() const override;
    /// Flushes the buffer, optionally fsyncs, and closes; throws EFileError on any failure.
    void Close(bool sync = false);
    const std::string &FileName() const { return m_fileName; }

private:
    void flushWrites();
    std::string m_fileName;
    FileMode m_mode;
    int m_fd = -1;
    std::int64_t m_filePos = 0;   // file offset of the buffer start
    std::int64_t m_fileSize = 0;  // size on disk
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_bufPos = 0;     // position inside the buffer
    std::size_t m_bufLen = 0;     // valid bytes in the buffer (reading) / bytes to write (writing)
};

/// The name under which the previous generation of a file is kept: the first
/// character of a three-character extension replaced by "~" (LOG.VLL -> LOG.~LL).
/// Empty when the name has no such extension.
std::string GenerationName(const std::string &fileName);

/// Keeps the previous generation of fileName (when cycleFiles is on and the name
/// has a three-character extension) and deletes the file itself.
void PrepareForWrite(const std::string &fileName, bool cycleFiles);

/// Writes a whole file safely: bytes go to a temporary file in the same
/// directory; Commit() flushes and fsyncs it, keeps the previous generation when
/// asked, and renames it over the target. A failure at any step throws EFileError
/// and leaves the old file untouched; an uncommitted writer removes its temporary file.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    TStream &Stream() { return *m_stream; }
    void Commit(bool cycleFiles);

private:
    std::string m_target;
    std::string m_tempName;
    std::unique_ptr<TBufferedFileStream> m_stream;
    bool m_committed = false;
};

/// Writes bytes as a whole file through SafeFileWriter.
void WriteWholeFile(const std::string &target, std::span<const std::uint8_t> bytes, bool cycleFiles);

/// Reads a whole file; throws EFileError naming the file when it cannot.
std::vector<std::uint8_t> ReadWholeFile(const std::string &fileName);

} // namespace vellum
