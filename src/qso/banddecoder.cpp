#include "banddecoder.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vellum {

std::optional<std::uint8_t> BandDecoderByte(int band, int rangeSelection)
{
    static const std::uint8_t bytes[15] = {0, 1, 32, 33, 64, 65, 96, 97, 128, 129, 0, 1, 32, 33, 65};
    int low = rangeSelection == 3 ? 10 : 1;
    int high = rangeSelection == 1 ? 9 : rangeSelection == 2 ? 10 : rangeSelection == 3 ? 14 : 0;
    if (band < low || band > high)
        return std::nullopt;
    return bytes[band];
}

ParallelPortOutput::~ParallelPortOutput()
{
    if (m_fd >= 0) {
        ioctl(m_fd, PPRELEASE);
        close(m_fd);
    }
}

bool ParallelPortOutput::Write(std::uint8_t byte)
{
    if (m_fd < 0 && !m_failed) {
        m_fd = open(m_device.c_str(), O_RDWR | O_CLOEXEC);
        if (m_fd >= 0 && ioctl(m_fd, PPCLAIM) != 0) {
            close(m_fd);
            m_fd = -1;
        }
        m_failed = m_fd < 0;
    }
    return m_fd >= 0 && ioctl(m_fd, PPWDATA, &byte) == 0;
}

} // namespace vellum
