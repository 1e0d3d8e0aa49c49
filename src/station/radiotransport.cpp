#include "radiotransport.h"

#include "logstore/fileio.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace vellum {

namespace {

using Clock = std::chrono::steady_clock;

int msSince(Clock::time_point start)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

/// Runs step until it succeeds or limitMs passed, pausing briefly between tries.
template <typename Step>
bool retryFor(int limitMs, Step step)
{
    Clock::time_point start = Clock::now();
    while (true) {
        if (step())
            return true;
        if (msSince(start) >= limitMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string mhz(double kHz)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.5f", kHz / 1000.0);
    return text;
}

std::string modeText(int mode, double kHz)
{
    if (mode == ModeOfName("SSB"))
        return kHz >= 10000 ? "USB" : "LSB";
    return ModeName(mode);
}

int modeOfText(std::string_view text)
{
    if (text == "USB" || text == "LSB")
        return ModeOfName("SSB");
    int mode = ModeOfName(text);
    return mode != 0 ? mode : ModeOfName("SSB");
}

} // namespace

// --- received bytes ------------------------------------------------------------------

void RadioRxBuffer::Append(std::uint8_t byte)
{
    if (m_bytes.size() >= Capacity) {
        ++m_dropped;
        return;
    }
    m_bytes.push_back(byte);
}

std::vector<std::uint8_t> RadioRxBuffer::Take(std::size_t count)
{
    count = std::min(count, m_bytes.size());
    std::vector<std::uint8_t> front(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(count));
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(count));
    return front;
}

// --- serial link ---------------------------------------------------------------------

SerialRadioPort::SerialRadioPort(std::unique_ptr<ByteChannel> channel) : m_channel(std::move(channel))
{
    m_channel->OnTriggerAvail([this](std::size_t) { drain(); });
}

SerialRadioPort::~SerialRadioPort()
{
    m_channel->OnTriggerAvail(nullptr);
    m_channel->Close();
}

void SerialRadioPort::drain()
{
    while (std::optional<std::uint8_t> byte = m_channel->GetChar())
        m_rx.Append(*byte);
}

SerialExchange SerialRadioPort::Exchange(std::span<const std::uint8_t> command, std::size_t count, int tries,
                                         const RadioTiming &timing)
{
    SerialExchange result;
    drain();
    while (m_channel->WaitForData(0)) // bytes still in the device's queue
        drain();
    result.garbage = m_rx.Bytes();
    int attempts = command.empty() ? 1 : std::max(tries, 1);
    for (int attempt = 0; attempt < attempts && !result.complete; ++attempt) {
        ++result.attempts;
        m_busy = true;
        m_rx.Clear();
        bool sent = command.empty();
        Clock::time_point start = Clock::now();
        while (true) {
            drain();
            if (!sent && command.size() + 100 < m_channel->OutBuffFree()) {
                sent = m_channel->PutBlock(command);
                m_channel->Flush(timing.attemptMs);
            }
            if (m_rx.Size() >= count)
                break;
            int left = timing.attemptMs - msSince(start);
            if (left <= 0)
                break;
            if (!m_channel->WaitForData(left) && !m_channel->IsOpen())
                break;
        }
        result.reply = m_rx.Take(count);
        result.complete = result.reply.size() >= count;
        m_busy = false;
    }
    return result;
}

// --- shared file ---------------------------------------------------------------------

std::unique_ptr<SharedRadioFile> SharedRadioFile::Open(const std::string &path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;
    std::unique_ptr<SharedRadioFile> file(new SharedRadioFile(path));
    file->m_file.open(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file->m_file.is_open())
        return nullptr;
    return file;
}

bool SharedRadioFile::lock(const RadioTiming &timing)
{
    return retryFor(timing.lockMs, [this] {
        std::uint8_t word[2] = {0, 0};
        m_file.clear();
        m_file.seekg(0);
        if (!m_file.read(reinterpret_cast<char *>(word), 2) || word[0] != 0 || word[1] != 0)
            return false;
        const char taken[2] = {1, 0};
        m_file.seekp(0);
        m_file.write(taken, 2);
        m_file.flush();
        return m_file.good();
    });
}

void SharedRadioFile::unlock()
{
    const char free[2] = {0, 0};
    m_file.clear();
    m_file.seekp(0);
    m_file.write(free, 2);
    m_file.flush();
}

std::optional<std::vector<std::uint8_t>> SharedRadioFile::Read(std::uint32_t offset, std::size_t count,
                                                               const RadioTiming &timing,
                                                               const std::function<void(const std::string &)> &log)
{
    m_busy = true;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (!lock(timing)) {
        if (log)
            log("Unable to lock file");
    } else {
        std::vector<std::uint8_t> block(count);
        m_file.clear();
        m_file.seekg(offset);
        if (m_file.read(reinterpret_cast<char *>(block.data()), static_cast<std::streamsize>(count)))
            bytes = std::move(block);
        unlock();
        if (log)
            log("Read File, Offs = " + std::to_string(offset) + " L = " + std::to_string(count));
    }
    m_busy = false;
    return bytes;
}

bool SharedRadioFile::Write(std::uint32_t offset, std::span<const std::uint8_t> bytes, const RadioTiming &timing,
                            const std::function<void(const std::string &)> &log)
{
    m_busy = true;
    bool written = false;
    if (!lock(timing)) {
        if (log)
            log("Unable to lock file");
    } else {
        m_file.clear();
        m_file.seekp(offset);
        m_file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        m_file.flush();
        written = m_file.good();
        unlock();
        if (log) {
            std::string text = "Write File, Offs = " + std::to_string(offset);
            for (std::uint8_t byte : bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, " %02X", byte);
                text += hex;
            }
            log(text);
        }
    }
    m_busy = false;
    return written;
}

// --- directory of text files ---------------------------------------------------------

RadioDirectory::RadioDirectory(std::string directory, std::string writeName, std::string readName)
    : m_directory(std::move(directory)), m_writeName(std::move(writeName)), m_readName(std::move(readName))
{
}

std::string DirectoryStatusText(const DirectoryStatus &status, bool split)
{
    bool differs = split && status.txKHz != status.rxKHz;
    std::string mode = modeText(status.mode, differs ? status.txKHz : status.rxKHz);
    std::string text = mhz(status.rxKHz) + "\n" + mode + "\n";
    if (differs)
        text += mhz(status.txKHz) + "\n" + mode + "\n";
    return text;
}

std::optional<DirectoryStatus> ParseDirectoryStatus(const std::string &text)
{
    std::istringstream lines(text);
    std::vector<std::string> parts;
    for (std::string line; parts.size() < 4 && std::getline(lines, line);)
        parts.emplace_back(Trim(line));
    if (parts.size() < 2)
        return std::nullopt;
    auto frequency = [](const std::string &line) -> std::optional<double> {
        char *end = nullptr;
        double value = std::strtod(line.c_str(), &end);
        if (end == line.c_str() || *end != '\0' || !std::isfinite(value) || value < 0 || value > 1e6)
            return std::nullopt;
        return std::round(value * 1e6) / 1000.0; // whole Hz, in kHz
    };
    std::optional<double> rx = frequency(parts[0]);
    if (!rx)
        return std::nullopt;
    DirectoryStatus status{*rx, *rx, modeOfText(parts[1])};
    if (parts.size() >= 4) {
        std::optional<double> tx = frequency(parts[2]);
        if (!tx)
            return std::nullopt;
        status.txKHz = *tx;
        status.mode = modeOfText(parts[3]);
    }
    return status;
}

bool RadioDirectory::Write(const DirectoryStatus &status, bool split, const RadioTiming &timing)
{
    std::string text = DirectoryStatusText(status, split);
    return retryFor(timing.fileRetryMs, [&] {
        try {
            WriteWholeFile(WritePath(), std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), false);
            return true;
        } catch (const std::exception &) {
            return false;
        }
    });
}

std::optional<DirectoryStatus> RadioDirectory::Read(const RadioTiming &timing)
{
    std::optional<DirectoryStatus> status;
    retryFor(timing.fileRetryMs, [&] {
        std::ifstream file(ReadPath(), std::ios::binary);
        if (!file)
            return false;
        std::string text(4096, '\0');
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
        status = ParseDirectoryStatus(text);
        return status.has_value();
    });
    return status;
}

} // namespace vellum
