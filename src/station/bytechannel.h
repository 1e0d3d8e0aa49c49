#pragma once
// The byte channels the station parts reach their hardware through: a serial
// port or a TCP client. Both write, read and tell their owner how many bytes
// arrived; notifications come on the thread that owns the channel.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vellum {

class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    /// Opens the channel; false with LastError() set (a readable message) when it cannot.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual std::string LastError() const = 0;

    /// Queues bytes for sending; false when the channel is closed or refused them.
    virtual bool PutBlock(std::span<const std::uint8_t> bytes) = 0;
    bool PutString(std::string_view text)
    {
        return PutBlock(std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
    }
    bool PutChar(std::uint8_t byte) { return PutBlock(std::span(&byte, 1)); }
    /// Free room in the output buffer.
    virtual std::size_t OutBuffFree() const = 0;

    /// The next received byte; nothing when none is waiting.
    virtual std::optional<std::uint8_t> GetChar() = 0;
    virtual std::size_t Available() const = 0;
    /// Waits for received bytes (or until the bytes queued are sent) without running
    /// any other event: a caller waiting for a reply lets no user action in between.
    virtual bool WaitForData(int milliseconds) = 0;
    virtual bool Flush(int milliseconds) = 0;

    /// Told the number of bytes that arrived; it reads exactly that many with GetChar.
    void OnTriggerAvail(std::function<void(std::size_t)> handler) { m_triggerAvail = std::move(handler); }
    /// Told (with a readable message) when an open channel broke: a device unplugged,
    /// the peer gone. The channel is closed by then; the owner may drop it later, not inside the call.
    void OnBroken(std::function<void(const std::string &)> handler) { m_broken = std::move(handler); }

protected:
    void triggerAvail(std::size_t count)
    {
        if (m_triggerAvail && count > 0)
            m_triggerAvail(count);
    }
    void broken(const std::string &message)
    {
        if (m_broken)
            m_broken(message);
    }

private:
    std::function<void(std::size_t)> m_triggerAvail;
    std::function<void(const std::string &)> m_broken;
};

/// The modem lines of a serial device (DTR and RTS), set by the program: for
/// keying CW or PTT and for the levels a controller needs.
class ModemLines {
public:
    enum class Line { Dtr, Rts };
    virtual ~ModemLines() = default;
    /// Sets a line; false with a readable message when the device cannot (a pseudo-terminal has no lines).
    virtual bool Set(Line line, bool on, std::string &error) = 0;
};

/// The lines of an open serial device by its file descriptor (TIOCMBIS / TIOCMBIC).
class DeviceModemLines : public ModemLines {
public:
    explicit DeviceModemLines(int fd) : m_fd(fd) {}
    bool Set(Line line, bool on, std::string &error) override;

private:
    int m_fd;
};

} // namespace vellum
