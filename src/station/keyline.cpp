#include "keyline.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace vellum {

bool ModemKeyLine::Write(bool keyDown, bool ptt, std::string &error)
{
    (void)ptt; // a modem line has no PTT of its own
    return m_lines->Set(m_line, keyDown, error);
}

std::unique_ptr<SerialDeviceLines> SerialDeviceLines::Open(const std::string &device, std::string &error)
{
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "Cannot open " + device + " for CW keying: " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<SerialDeviceLines>(new SerialDeviceLines(fd));
}

SerialDeviceLines::~SerialDeviceLines() { close(m_fd); }

std::unique_ptr<ParallelKeyLine> ParallelKeyLine::Open(const std::string &device)
{
    int fd = open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (ioctl(fd, PPCLAIM) != 0) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<ParallelKeyLine>(new ParallelKeyLine(fd));
}

ParallelKeyLine::~ParallelKeyLine()
{
    ioctl(m_fd, PPRELEASE);
    close(m_fd);
}

bool ParallelKeyLine::Write(bool keyDown, bool ptt, std::string &error)
{
    // Control register: STROBE (bit 0) keys, INIT (bit 2) is the PTT.
    unsigned char control = static_cast<unsigned char>((keyDown ? 1 : 0) | (ptt ? 4 : 0));
    if (ioctl(m_fd, PPWCONTROL, &control) == 0)
        return true;
    error = std::string("The parallel port refused the CW key: ") + std::strerror(errno);
    return false;
}

KeyPort::~KeyPort() { Replace(nullptr); }

void KeyPort::Replace(std::unique_ptr<KeyLine> line)
{
    std::lock_guard lock(m_mutex);
    m_key = m_ptt = false;
    if (m_line)
        write();
    m_line = std::move(line);
    if (m_line)
        write();
}

std::unique_ptr<KeyLine> KeyPort::Take()
{
    std::lock_guard lock(m_mutex);
    m_key = m_ptt = false;
    if (m_line)
        write();
    return std::move(m_line);
}

bool KeyPort::HasLine() const
{
    std::lock_guard lock(m_mutex);
    return m_line != nullptr;
}

bool KeyPort::HasPtt() const
{
    std::lock_guard lock(m_mutex);
    return m_line && m_line->HasPtt();
}

void KeyPort::SetKey(bool down)
{
    std::lock_guard lock(m_mutex);
    m_key = down;
    if (m_line)
        write();
}

void KeyPort::SetPtt(bool on)
{
    std::lock_guard lock(m_mutex);
    m_ptt = on;
    if (m_line)
        write();
}

bool KeyPort::PttRaised() const
{
    std::lock_guard lock(m_mutex);
    return m_ptt;
}

std::string KeyPort::TakeError()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_error, {});
}

void KeyPort::write()
{
    std::string error;
    if (!m_line->Write(m_key, m_ptt, error) && m_error.empty())
        m_error = error;
}

std::string ParallelPortDevice(int lptNumber) { return "/dev/parport" + std::to_string(lptNumber - 1); }

std::unique_ptr<KeyLine> OpenKeyLine(const KeyerSettings &settings, std::shared_ptr<ModemLines> radioLines,
                                     const std::string &comDevice, std::string &error)
{
    using Interface = KeyerSettings::Interface;
    error.clear();
    switch (settings.keyInterface) {
    case Interface::None:
        return nullptr;
    case Interface::Lpt1:
    case Interface::Lpt2:
    case Interface::Lpt3: {
        auto line = ParallelKeyLine::Open(ParallelPortDevice(static_cast<int>(settings.keyInterface) - 1));
        if (!line)
            error = "Could not open CW driver";
        return line;
    }
    case Interface::RadioDtr:
    case Interface::RadioRts:
        break;
    }
    if (!radioLines) {
        std::unique_ptr<SerialDeviceLines> own = SerialDeviceLines::Open(comDevice, error);
        if (!own)
            return nullptr;
        radioLines = std::move(own);
    }
    auto which = settings.keyInterface == Interface::RadioDtr ? ModemLines::Line::Dtr : ModemLines::Line::Rts;
    return std::make_unique<ModemKeyLine>(std::move(radioLines), which);
}

} // namespace vellum
