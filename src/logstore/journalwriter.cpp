#include "journal.h"

#include "fileio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vellum {

namespace {

/// Syncs the directory holding fileName, so that a newly made file is found after a power loss.
int syncDirectory(const std::string &fileName)
{
    std::string dir = std::filesystem::path(fileName).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

JournalWriter::~JournalWriter() { close(); }

void JournalWriter::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void JournalWriter::fail(const char *what, int error)
{
    throw EFileError("Cannot " + std::string(what) + " the journal " + m_fileName + ": " + std::strerror(error));
}

void JournalWriter::writeAll(std::span<const std::uint8_t> bytes, const char *what)
{
    std::uint64_t offset = m_length;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(m_fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(what, n < 0 ? errno : ENOSPC);
        bytes = bytes.subspan(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
}

void JournalWriter::sync(const char *what)
{
    if (::fdatasync(m_fd) != 0)
        fail(what, errno);
}

void JournalWriter::Open(const std::string &journalFile, const JournalIdentity &logIdentity)
{
    close();
    m_fileName = journalFile;
    m_length = 0;
    m_sequence = 1;
    m_fd = ::open(journalFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0)
        fail("create", errno);
    try {
        std::vector<std::uint8_t> header = EncodeJournalHeader(logIdentity);
        writeAll(header, "write the header of");
        sync("sync");
        if (int error = syncDirectory(journalFile))
            fail("sync the folder of", error);
        m_length = header.size();
    } catch (...) {
        close();
        throw;
    }
}

void JournalWriter::Append(const JournalEntry &entry)
{
    if (m_fd < 0)
        throw EFileError("The journal " + m_fileName + " is not open");
    std::vector<std::uint8_t> bytes = EncodeJournalEntry(m_sequence, entry);
    try {
        writeAll(bytes, "append to");
        sync("sync");
    } catch (const EFileError &) {
        // Cut off what part of the entry reached the file, so the next entry
        // follows the last whole one; when even that fails, stop appending.
        if (::ftruncate(m_fd, static_cast<off_t>(m_length)) != 0)
            close();
        throw;
    }
    m_length += bytes.size();
    ++m_sequence;
}

void JournalWriter::Reset(const JournalIdentity &logIdentity) { Open(m_fileName, logIdentity); }

void JournalWriter::Remove()
{
    close();
    if (!m_fileName.empty() && ::unlink(m_fileName.c_str()) != 0 && errno != ENOENT)
        fail("delete", errno);
}

} // namespace vellum
