#include "bytechannel.h"

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

namespace vellum {

bool DeviceModemLines::Set(Line line, bool on, std::string &error)
{
    int bits = line == Line::Dtr ? TIOCM_DTR : TIOCM_RTS;
    if (m_fd >= 0 && ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0)
        return true;
    error = std::string(line == Line::Dtr ? "DTR" : "RTS") + " cannot be set on this port: " +
            (m_fd < 0 ? std::string("it is not open") : std::string(std::strerror(errno)));
    return false;
}

} // namespace vellum
