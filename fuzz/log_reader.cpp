// Fuzzes the log file reader: loading the bytes as a log, and merging them into
// a small log under every duplicate mode.

#include "logstore/qsodata.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

/// An in-memory file with a path the reader can open.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t *data, std::size_t size) : m_fd(memfd_create("log", 0))
    {
        if (m_fd >= 0 && size > 0 && write(m_fd, data, size) != static_cast<ssize_t>(size)) {
            close(m_fd);
            m_fd = -1;
        }
    }
    ~MemoryFile()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

void mergeInto(const std::string &path, vellum::DuplicateMode mode)
{
    vellum::TQsoData log;
    for (int i = 0; i < 3; ++i) {
        auto rec = std::make_unique<vellum::TQsoRec>();
        rec->Call = "K" + std::to_string(i);
        rec->Date = static_cast<std::uint16_t>(40000 + i);
        log.AddQso(std::move(rec));
    }
    log.Notes.SetNote("K1", "op");
    log.ReadLog(path, vellum::LoadMode::Merge, mode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    MemoryFile file(data, size);
    if (!file.ok())
        return 0;
    {
        vellum::TQsoData log;
        log.ReadLog(file.path(), vellum::LoadMode::Load, vellum::DuplicateMode::EmptyLog);
    }
    for (auto mode : {vellum::DuplicateMode::Stop, vellum::DuplicateMode::Replace, vellum::DuplicateMode::Ignore})
        mergeInto(file.path(), mode);
    return 0;
}
