#pragma once
// Simulated radios for the CAT tests, each on one end of a pseudo-terminal
// pair in a thread of its own: one speaks the ASCII ";"-terminated command set,
// the other binary addressed frames with the bus echo. Their state changes with
// the set commands; they can be told to stay silent, to send garbage first or
// to cut their replies short.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vellum::test {

struct SimulatedState {
    std::int64_t vfoA = 14250000, vfoB = 14255000; ///< Hz
    int mode = 2;            ///< the radio's own mode code
    bool rxOnB = false, txOnB = false;
    bool rit = false, xit = false;
    int clarifier = 0;       ///< Hz
    int sMeter = 15;         ///< the radio's raw reading
};

class SimulatedRadio {
public:
    explicit SimulatedRadio(std::string device) : m_device(std::move(device)) {}
    virtual ~SimulatedRadio() { Stop(); }
    bool Start()
    {
        m_fd = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios tio{};
        if (::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
        m_thread = std::thread([this] { run(); });
        return true;
    }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    SimulatedState State()
    {
        std::lock_guard lock(m_mutex);
        return m_state;
    }
    void SetState(const SimulatedState &state)
    {
        std::lock_guard lock(m_mutex);
        m_state = state;
    }
    /// Every command frame received, as text (ASCII) or hex.
    std::vector<std::string> Commands()
    {
        std::lock_guard lock(m_mutex);
        return m_commands;
    }
    std::atomic<bool> silent{false};
    std::atomic<int> shortBy{0}; ///< bytes left off each reply
    std::string garbage;         ///< sent once, after the next frame's answer (set before use)

protected:
    /// The reply to one frame (empty: none).
    virtual std::string handle(const std::string &frame, SimulatedState &state) = 0;
    virtual bool frameEnds(char byte) const = 0;
    virtual std::string echo(const std::string &) const { return {}; }
    virtual std::string show(const std::string &frame) const { return frame; }

private:
    void run()
    {
        std::string frame;
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            char buffer[256];
            ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                frame += buffer[i];
                if (frameEnds(buffer[i])) {
                    answer(frame);
                    frame.clear();
                }
            }
        }
    }
    void answer(const std::string &frame)
    {
        std::string reply;
        {
            std::lock_guard lock(m_mutex);
            m_commands.push_back(show(frame));
            reply = handle(frame, m_state);
        }
        std::string out = echo(frame);
        if (silent)
            reply.clear();
        if (shortBy > 0 && !reply.empty())
            reply.resize(reply.size() > static_cast<std::size_t>(shortBy.load()) ? reply.size() - static_cast<std::size_t>(shortBy.load()) : 0);
        out += reply + garbage;
        garbage.clear();
        if (!out.empty() && ::write(m_fd, out.data(), out.size()) < 0)
            std::perror("simulated radio");
    }

    std::string m_device;
    int m_fd = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    SimulatedState m_state;
    std::vector<std::string> m_commands;
};

/// The ASCII command set: "FA;", "FA00014250000;", "IF;", "MD2;", "FR0;", "FT1;", "SM0;", "RC;".
class AsciiRadio : public SimulatedRadio {
public:
    using SimulatedRadio::SimulatedRadio;

protected:
    bool frameEnds(char byte) const override { return byte == ';'; }
    std::string handle(const std::string &frame, SimulatedState &s) override
    {
        std::string cmd = frame.substr(0, 2), arg = frame.substr(2, frame.size() - 3);
        char text[64];
        auto freq = [&](std::int64_t hz) {
            std::snprintf(text, sizeof text, "%s%011lld;", cmd.c_str(), static_cast<long long>(hz));
            return std::string(text);
        };
        if (cmd == "FA" || cmd == "FB") {
            std::int64_t &vfo = cmd == "FA" ? s.vfoA : s.vfoB;
            if (arg.empty())
                return freq(vfo);
            vfo = std::stoll(arg);
        } else if (cmd == "MD") {
            if (arg.empty())
                return "MD" + std::to_string(s.mode) + ";";
            s.mode = std::stoi(arg);
        } else if (cmd == "FR") {
            s.rxOnB = s.txOnB = arg == "1";
        } else if (cmd == "FT") {
            s.txOnB = arg == "1";
        } else if (cmd == "RC") {
            s.clarifier = 0;
        } else if (cmd == "SM") {
            std::snprintf(text, sizeof text, "SM0%04d;", s.sMeter);
            return text;
        } else if (cmd == "ID") {
            return "ID019;";
        } else if (cmd == "IF") {
            std::snprintf(text, sizeof text, "IF%011lld     %+05d%d%d000%d%d%d0%d0000;",
                          static_cast<long long>(s.rxOnB ? s.vfoB : s.vfoA), s.clarifier, s.rit, s.xit,
                          0, s.mode, s.rxOnB, s.rxOnB != s.txOnB);
            return text;
        }
        return {};
    }
};

/// Binary addressed frames: FE FE <to> <from> <command> [<sub>] <data> FD; every
/// frame sent comes back first (the bus echo); frames to another address get no reply.
class FrameRadio : public SimulatedRadio {
public:
    FrameRadio(std::string device, std::uint8_t address) : SimulatedRadio(std::move(device)), m_address(address) {}

protected:
    bool frameEnds(char byte) const override { return static_cast<std::uint8_t>(byte) == 0xFD; }
    std::string echo(const std::string &frame) const override { return frame; }
    std::string show(const std::string &frame) const override
    {
        std::string hex;
        for (char c : frame) {
            char two[4];
            std::snprintf(two, sizeof two, "%02X", static_cast<std::uint8_t>(c));
            hex += two;
        }
        return hex;
    }
    std::string handle(const std::string &frame, SimulatedState &s) override
    {
        auto b = [&](std::size_t i) { return i < frame.size() ? static_cast<std::uint8_t>(frame[i]) : 0; };
        if (frame.size() < 6 || b(0) != 0xFE || b(1) != 0xFE || b(2) != m_address)
            return {};
        std::string head = {'\xFE', '\xFE', static_cast<char>(b(3)), static_cast<char>(m_address)};
        const std::string ok = head + "\xFB\xFD";
        std::uint8_t cmd = b(4);
        std::int64_t &current = s.rxOnB ? s.vfoB : s.vfoA;
        std::int64_t &other = s.rxOnB ? s.vfoA : s.vfoB;
        switch (cmd) {
        case 0x03: return head + "\x03" + bcd(current) + "\xFD";
        case 0x04: return head + "\x04" + std::string(1, static_cast<char>(s.mode)) + "\x01\xFD";
        case 0x05: current = unbcd(frame.substr(5, 5)); return ok;
        case 0x06: s.mode = b(5); return ok;
        case 0x07:
            if (b(5) == 0xA0)
                s.vfoB = s.vfoA;
            else
                s.rxOnB = s.txOnB = b(5) == 1;
            return ok;
        case 0x0F:
            if (b(5) == 0xFD)
                return head + "\x0F" + std::string(1, static_cast<char>(s.rxOnB != s.txOnB)) + "\xFD";
            s.txOnB = b(5) == 1 ? !s.rxOnB : s.rxOnB;
            return ok;
        case 0x15: {
            std::string level = {static_cast<char>((s.sMeter / 100) % 10), static_cast<char>(((s.sMeter / 10) % 10) * 16 + s.sMeter % 10)};
            return head + "\x15\x02" + level + "\xFD";
        }
        case 0x25:
            if (frame.size() > 7) {
                other = unbcd(frame.substr(6, 5));
                return ok;
            }
            return head + "\x25\x01" + bcd(other) + "\xFD";
        default: return head + "\xFA\xFD";
        }
    }

private:
    static std::string bcd(std::int64_t hz)
    {
        std::string bytes;
        for (int i = 0; i < 5; ++i, hz /= 100)
            bytes += static_cast<char>((hz / 10 % 10) * 16 + hz % 10);
        return bytes;
    }
    static std::int64_t unbcd(const std::string &bytes)
    {
        std::int64_t hz = 0;
        for (std::size_t i = bytes.size(); i-- > 0;) {
            auto byte = static_cast<std::uint8_t>(bytes[i]);
            hz = hz * 100 + (byte >> 4) * 10 + (byte & 0x0F);
        }
        return hz;
    }
    std::uint8_t m_address;
};

} // namespace vellum::test
