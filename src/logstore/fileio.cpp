#include "fileio.h"

#include "bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vellum {

namespace {
std::string errnoText() { return std::strerror(errno); }
} // namespace

void TStream::Read(void *out, std::size_t count)
{
    std::size_t got = ReadSome(out, count);
    if (got != count)
        throw EReadError("Stream read error: " + std::to_string(count) + " bytes wanted at offset " +
                         std::to_string(Position() - static_cast<std::int64_t>(got)) + ", " +
                         std::to_string(got) + " available");
}

void TStream::ExpectRecords(std::uint64_t count, std::uint64_t recordSize, std::string_view what) const
{
    auto left = static_cast<std::uint64_t>(std::max<std::int64_t>(0, Remaining()));
    if (!RecordsFit(count, recordSize, left))
        throw EReadError(RecordsOverrunText(what, count, recordSize, static_cast<std::uint64_t>(Position()), left));
}

std::uint8_t TStream::ReadU8()
{
    std::uint8_t v;
    Read(&v, 1);
    return v;
}

std::uint16_t TStream::ReadU16()
{
    std::uint8_t b[2];
    Read(b, 2);
    return loadU16(b);
}

std::uint32_t TStream::ReadU32()
{
    std::uint8_t b[4];
    Read(b, 4);
    return loadU32(b);
}

void TStream::WriteU16(std::uint16_t v)
{
    std::uint8_t b[2];
    storeU16(b, v);
    Write(b, 2);
}

void TStream::WriteU32(std::uint32_t v)
{
    std::uint8_t b[4];
    storeU32(b, v);
    Write(b, 4);
}

// --- memory stream ---------------------------------------------------------

std::size_t TMemoryStream::ReadSome(void *out, std::size_t count)
{
    std::size_t n = std::min(count, m_bytes.size() - std::min(m_position, m_bytes.size()));
    if (n)
        std::memcpy(out, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

void TMemoryStream::Write(const void *data, std::size_t count)
{
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    if (count)
        std::memcpy(m_bytes.data() + m_position, data, count);
    m_position += count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin)
{
    std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? Position() : Size();
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
    return Position();
}

// --- buffered file stream --------------------------------------------------

TBufferedFileStream::TBufferedFileStream(const std::string &fileName, FileMode mode)
    : m_fileName(fileName), m_mode(mode), m_buffer(BufferSize)
{
    if (mode == FileMode::Read)
        m_fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    else
        m_fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throw EFileError("Cannot open file " + fileName + ": " + errnoText());
    if (mode == FileMode::Read) {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(m_fd);
            m_fd = -1;
            throw EFileError("Cannot open file " + fileName + ": not a regular file");
        }
        m_fileSize = st.st_size;
    }
}

TBufferedFileStream::~TBufferedFileStream()
{
    if (m_fd >= 0) {
        try {
            flushWrites();
        } catch (...) {
            // A failure here has no one to tell; writers call Close() to hear of it.
        }
        ::close(m_fd);
    }
}

std::size_t TBufferedFileStream::ReadSome(void *out, std::size_t count)
{
    if (m_mode != FileMode::Read)
        throw EFileError("Stream read error: " + m_fileName + " is open for writing");
    auto *dest = static_cast<std::uint8_t *>(out);
    std::size_t done = 0;
    while (done < count) {
        if (m_bufPos == m_bufLen) {
            m_filePos += static_cast<std::int64_t>(m_bufLen);
            m_bufPos = m_bufLen = 0;
            std::size_t want = count - done;
            if (want >= BufferSize) { // large reads bypass the buffer
                ssize_t n = ::pread(m_fd, dest + done, want, m_filePos);
                if (n < 0)
                    throw EFileError("Stream read error in " + m_fileName + ": " + errnoText());
                if (n == 0)
                    break;
                m_filePos += n;
                done += static_cast<std::size_t>(n);
                continue;
            }
            ssize_t n = ::pread(m_fd, m_buffer.data(), BufferSize, m_filePos);
            if (n < 0)
                throw EFileError("Stream read error in " + m_fileName + ": " + errnoText());
            if (n == 0)
                break;
            m_bufLen = static_cast<std::size_t>(n);
        }
        std::size_t n = std::min(count - done, m_bufLen - m_bufPos);
        std::memcpy(dest + done, m_buffer.data() + m_bufPos, n);
        m_bufPos += n;
        done += n;
    }
    return done;
}

void TBufferedFileStream::Write(const void *data, std::size_t count)
{
    if (m_mode != FileMode::Create)
        throw EFileError("Stream write error: " + m_fileName + " is open for reading");
    const auto *src = static_cast<const std::uint8_t *>(data);
    while (count > 0) {
        if (m_bufLen == BufferSize)
            flushWrites();
        std::size_t n = std::min(count, BufferSize - m_bufLen);
        std::memcpy(m_buffer.data() + m_bufLen, src, n);
        m_bufLen += n;
        src += n;
        count -= n;
    }
}

void TBufferedFileStream::flushWrites()
{
    if (m_mode != FileMode::Create || m_bufLen == 0)
        return;
    std::size_t done = 0;
    while (done < m_bufLen) {
        ssize_t n = ::pwrite(m_fd, m_buffer.data() + done, m_bufLen - done, m_filePos + static_cast<std::int64_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError("Cannot write " + m_fileName + ": " + errnoText());
        }
        done += static_cast<std::size_t>(n);
    }
    m_filePos += static_cast<std::int64_t>(m_bufLen);
    m_fileSize = std::max(m_fileSize, m_filePos);
    m_bufLen = 0;
}

std::int64_t TBufferedFileStream::Position() const
{
    if (m_mode == FileMode::Read)
        return m_filePos + static_cast<std::int64_t>(m_bufPos);
    return m_filePos + static_cast<std::int64_t>(m_bufLen);
}

std::int64_t TBufferedFileStream::Size() const
{
    if (m_mode == FileMode::Read)
        return m_fileSize;
    return std::max(m_fileSize, m_filePos + static_cast<std::int64_t>(m_bufLen));
}

std::int64_t TBufferedFileStream::Seek(std::int64_t offset, SeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case SeekOrigin::Begin: base = 0; break;
    case SeekOrigin::Current: base = Position(); break;
    case SeekOrigin::End: base = Size(); break;
    default: throw EFileError("Seek error: unknown origin");
    }
    std::int64_t target = std::max<std::int64_t>(0, base + offset);
    if (m_mode == FileMode::Create) {
        try {
            flushWrites();
        } catch (const EFileError &) {
            throw EFileError("Seek error");
        }
        m_filePos = target;
    } else {
        m_filePos = target;
        m_bufPos = m_bufLen = 0;
    }
    return target;
}

void TBufferedFileStream::Close(bool sync)
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    try {
        flushWrites();
    } catch (...) {
        ::close(fd);
        m_fd = -1;
        throw;
    }
    m_fd = -1;
    if (sync && m_mode == FileMode::Create && ::fsync(fd) != 0) {
        std::string why = errnoText();
        ::close(fd);
        throw EFileError("Cannot write " + m_fileName + ": " + why);
    }
    if (::close(fd) != 0 && m_mode == FileMode::Create)
        throw EFileError("Cannot write " + m_fileName + ": " + errnoText());
}

// --- generations and safe rewriting ----------------------------------------

std::string GenerationName(const std::string &fileName)
{
    std::size_t slash = fileName.find_last_of('/');
    std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    if (fileName.size() - dot - 1 != 3)
        return {};
    std::string generation = fileName;
    generation[dot + 1] = '~';
    return generation;
}

void PrepareForWrite(const std::string &fileName, bool cycleFiles)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string generation = cycleFiles ? GenerationName(fileName) : std::string();
    if (!generation.empty() && fs::exists(fileName, ec)) {
        fs::remove(generation, ec);
        fs::rename(fileName, generation, ec);
        if (ec)
            throw EFileError("Cannot keep " + fileName + " as " + generation + ": " + ec.message());
    }
    fs::remove(fileName, ec);
}

namespace {
void syncDirectoryOf(const std::string &path)
{
    std::string dir = std::filesystem::path(path).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void keepGeneration(const std::string &target)
{
    namespace fs = std::filesystem;
    std::string generation = GenerationName(target);
    std::error_code ec;
    if (generation.empty() || !fs::exists(target, ec))
        return;
    fs::remove(generation, ec);
    // A hard link keeps the old file under its generation name while the target
    // itself stays in place until the rename replaces it.
    if (::link(target.c_str(), generation.c_str()) != 0) {
        fs::copy_file(target, generation, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw EFileError("Cannot keep " + target + " as " + generation + ": " + ec.message());
    }
}
} // namespace

SafeFileWriter::SafeFileWriter(std::string target) : m_target(std::move(target))
{
    std::random_device random;
    m_tempName = m_target + ".tmp" + std::to_string(random() % 1000000);
    try {
        m_stream = std::make_unique<TBufferedFileStream>(m_tempName, FileMode::Create);
    } catch (const EFileError &e) {
        std::string why = e.what();
        throw EFileError("Cannot write " + m_target + ": " + why.substr(why.rfind(": ") + 2));
    }
}

SafeFileWriter::~SafeFileWriter()
{
    if (!m_committed) {
        m_stream.reset();
        std::error_code ec;
        std::filesystem::remove(m_tempName, ec);
    }
}

void SafeFileWriter::Commit(bool cycleFiles)
{
    m_stream->Close(true);
    if (cycleFiles)
        keepGeneration(m_target);
    if (::rename(m_tempName.c_str(), m_target.c_str()) != 0)
        throw EFileError("Cannot write " + m_target + ": " + errnoText());
    m_committed = true;
    syncDirectoryOf(m_target);
}

void WriteWholeFile(const std::string &target, std::span<const std::uint8_t> bytes, bool cycleFiles)
{
    SafeFileWriter writer(target);
    writer.Stream().Write(bytes.data(), bytes.size());
    writer.Commit(cycleFiles);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string &fileName)
{
    TBufferedFileStream stream(fileName, FileMode::Read);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    std::size_t got = stream.ReadSome(bytes.data(), bytes.size());
    bytes.resize(got);
    return bytes;
}

} // namespace vellum
