#pragma once
// The band decoder output: one byte per band written to a printer port's data
// register, for antenna switches and amplifiers that follow the band.

#include <cstdint>
#include <optional>
#include <string>

namespace vellum {

/// The byte for a band, when the band lies in the range chosen by the wheel
/// index of F_Band_sel (1 "160m-10m", 2 "160m-6m", 3 "6m-23cm"); nothing otherwise.
std::optional<std::uint8_t> BandDecoderByte(int band, int rangeSelection);

/// A parallel port's data register (Linux ppdev). Opened on first use.
class ParallelPortOutput {
public:
    explicit ParallelPortOutput(std::string device) : m_device(std::move(device)) {}
    ~ParallelPortOutput();
    ParallelPortOutput(const ParallelPortOutput &) = delete;
    ParallelPortOutput &operator=(const ParallelPortOutput &) = delete;
    /// Writes the byte; false when the port cannot be opened or written.
    bool Write(std::uint8_t byte);

private:
    std::string m_device;
    int m_fd = -1;
    bool m_failed = false;
};

} // namespace vellum
