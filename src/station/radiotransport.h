#pragma once
// The three ways the CAT engine reaches a radio: a serial link (command out,
// reply collected within a time limit, with tries), a shared binary file that
// another program mirrors to the radio (guarded by a lock word), and a
// directory of two small text files.

#include "bytechannel.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellum {

/// How long the waiting loops wait (tests shorten them).
struct RadioTiming {
    int attemptMs = 3000;   ///< one serial attempt
    int lockMs = 3000;      ///< the shared file's lock
    int fileRetryMs = 3000; ///< a directory file that cannot be read or written
};

/// Bytes received from the radio and not yet taken: capped, the bytes that did
/// not fit are counted and dropped.
class RadioRxBuffer {
public:
    static constexpr std::size_t Capacity = 4096;
    void Append(std::uint8_t byte);
    std::vector<std::uint8_t> Take(std::size_t count);
    void Clear() { m_bytes.clear(); }
    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t> &Bytes() const { return m_bytes; }
    std::uint64_t Dropped() const { return m_dropped; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_dropped = 0;
};

/// One command and its reply over a serial link.
struct SerialExchange {
    std::vector<std::uint8_t> garbage; ///< bytes waiting before it began
    std::vector<std::uint8_t> reply;   ///< complete, or empty when every attempt timed out
    bool complete = false;
    int attempts = 0;
};

class SerialRadioPort {
public:
    explicit SerialRadioPort(std::unique_ptr<ByteChannel> channel);
    ~SerialRadioPort();
    /// Sends command (when not empty) and collects count bytes; up to tries
    /// attempts (an empty command only one), each within timing.attemptMs.
    SerialExchange Exchange(std::span<const std::uint8_t> command, std::size_t count, int tries,
                            const RadioTiming &timing);
    bool Busy() const { return m_busy; }
    const RadioRxBuffer &Received() const { return m_rx; }
    ByteChannel &Channel() { return *m_channel; }

private:
    void drain();

    std::unique_ptr<ByteChannel> m_channel;
    RadioRxBuffer m_rx;
    bool m_busy = false;
};

/// The block of bytes another program mirrors to the radio; its first two bytes
/// are a little-endian lock word (0 free, 1 taken).
class SharedRadioFile {
public:
    /// Opens the file for reading and writing; nothing when it does not exist.
    static std::unique_ptr<SharedRadioFile> Open(const std::string &path);
    /// Reads count bytes at offset under the lock; nothing on a timeout or short file.
    std::optional<std::vector<std::uint8_t>> Read(std::uint32_t offset, std::size_t count, const RadioTiming &timing,
                                                  const std::function<void(const std::string &)> &log);
    bool Write(std::uint32_t offset, std::span<const std::uint8_t> bytes, const RadioTiming &timing,
               const std::function<void(const std::string &)> &log);
    bool Busy() const { return m_busy; }

private:
    explicit SharedRadioFile(std::string path) : m_path(std::move(path)) {}
    bool lock(const RadioTiming &timing);
    void unlock();

    std::string m_path;
    std::fstream m_file;
    bool m_busy = false;
};

/// What the directory transport reads or writes: MHz lines and mode texts.
struct DirectoryStatus {
    double rxKHz = 0;
    double txKHz = 0;
    int mode = 0;
};

class RadioDirectory {
public:
    RadioDirectory(std::string directory, std::string writeName, std::string readName);
    /// Writes the status file (rewritten whole, retried for timing.fileRetryMs).
    bool Write(const DirectoryStatus &status, bool split, const RadioTiming &timing);
    /// Reads the radio's file; nothing when it could not be read in time.
    std::optional<DirectoryStatus> Read(const RadioTiming &timing);
    std::string ReadPath() const { return m_directory + "/" + m_readName; }
    std::string WritePath() const { return m_directory + "/" + m_writeName; }

private:
    std::string m_directory, m_writeName, m_readName;
};

/// The text lines of the directory transport's status file.
std::string DirectoryStatusText(const DirectoryStatus &status, bool split);
/// The status in a radio's file text; nothing when its lines are not numbers and modes.
std::optional<DirectoryStatus> ParseDirectoryStatus(const std::string &text);

} // namespace vellum
